#include "address_box.h"

#include "accessible_control.h"
#include "dpi_scale.h"
#include "window_text.h"
#include "zarn/utf8_path.h"

#include <algorithm>
#include <oleacc.h>

namespace zarn::win32 {

AddressBox::AddressBox(HWND parent, int id, const form::Control& control,
                       const form::AccessibleText& accessible, HFONT font, const DpiScale& scale)
    : m_handle(CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", utf16FromUtf8(control.text).c_str(),
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
                               scale.pixels(control.left), scale.pixels(control.top),
                               scale.pixels(control.width), scale.pixels(control.height), parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr)),
      m_accepted(text())
{
    SendMessageW(m_handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // An edit control has no default action of its own to name.
    makeAccessible(m_handle,
                   {ROLE_SYSTEM_TEXT,
                    utf16FromUtf8(accessible.name),
                    utf16FromUtf8(accessible.description),
                    {}},
                   {});
}

std::wstring AddressBox::text() const
{
    return windowText(m_handle);
}

void AddressBox::setText(const std::wstring& text)
{
    SetWindowTextW(m_handle, text.c_str());
}

void AddressBox::accept()
{
    m_accepted = text();
}

void AddressBox::refuse()
{
    DWORD caret = 0;
    SendMessageW(m_handle, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    // What the refused change inserted ends at the caret.
    const long inserted = static_cast<long>(text().size()) - static_cast<long>(m_accepted.size());
    const long restored = std::clamp(static_cast<long>(caret) - std::max(inserted, 0L), 0L,
                                     static_cast<long>(m_accepted.size()));
    const std::wstring accepted = m_accepted;
    setText(accepted);
    SendMessageW(m_handle, EM_SETSEL, restored, restored);
    MessageBeep(MB_OK);
}

} // namespace zarn::win32
