#pragma once

#include "zarn/message_presenter.h"

#include <windows.h>

namespace zarn::win32 {

// Shows the core's and the window's messages as native message boxes: titled "zarn", one OK
// button, no icon; a carriage return starts a new line.
class MessageBoxPresenter final : public MessagePresenter
{
public:
    // The window that each box belongs to and blocks while it is shown.
    void setOwner(HWND owner) { m_owner = owner; }

    void showMessage(const std::string& text) override;

private:
    HWND m_owner = nullptr;
};

} // namespace zarn::win32
