#pragma once

#include "zarn/form/accessibility.h"
#include "zarn/form/layout.h"

#include <string>
#include <windows.h>

namespace zarn::win32 {

class DpiScale;

// The slot address box: a single-line edit control that reports every change of its text to its
// window (EN_CHANGE). The window accepts each change or refuses it, which puts back the text it
// last accepted. Screen readers announce it with its accessible name and description.
class AddressBox
{
public:
    AddressBox(HWND parent, int id, const form::Control& control,
               const form::AccessibleText& accessible, HFONT font, const DpiScale& scale);
    AddressBox(const AddressBox&) = delete;
    AddressBox& operator=(const AddressBox&) = delete;

    HWND handle() const { return m_handle; }

    std::wstring text() const;
    void setText(const std::wstring& text);

    // Keeps the present text as the one to go back to.
    void accept();
    // Goes back to the text last accepted, leaves the caret where the refused change began and
    // beeps. Setting the text is itself a change that the window hears of.
    void refuse();

private:
    HWND m_handle;
    std::wstring m_accepted;
};

} // namespace zarn::win32
