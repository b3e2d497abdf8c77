#pragma once

#include "zarn/message_presenter.h"

namespace zarn::qt {

// Shows each message in a modal box titled "zarn" with a single OK button and no icon, over the
// active window, in the desktop's font size and the form's face. The lines of a message, separated
// by carriage returns, show one below the other, each whole, however wide the screen.
class MessageBoxPresenter : public zarn::MessagePresenter
{
public:
    void showMessage(const std::string& text) override;
};

} // namespace zarn::qt
