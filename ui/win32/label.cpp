#include "label.h"

#include "accessible_control.h"
#include "dpi_scale.h"
#include "form_fonts.h"
#include "texts.h"
#include "window_text.h"
#include "zarn/utf8_path.h"

#include <commctrl.h>
#include <oleacc.h>
#include <windowsx.h>

namespace zarn::win32 {

Label::Label(HWND parent, int id, const form::Control& control, const FormFonts& fonts,
             const DpiScale& scale)
    : m_handle(CreateWindowExW(0, L"STATIC", utf16FromUtf8(control.text).c_str(),
                               WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY,
                               scale.pixels(control.left), scale.pixels(control.top),
                               scale.pixels(control.width), scale.pixels(control.height), parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr)),
      m_fonts(fonts), m_scale(scale), m_size(control.font), m_bold(control.bold),
      m_room(form::textRoom(control.id)),
      m_textColour(colourOf(control.textColour.value_or(form::white)))
{
    SetWindowSubclass(m_handle, &Label::subclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
    fit();
}

std::wstring Label::text() const
{
    return windowText(m_handle);
}

void Label::setText(const std::wstring& text)
{
    SetWindowTextW(m_handle, text.c_str());
    fit();
}

void Label::setBold(bool bold)
{
    if (bold == m_bold) {
        return;
    }
    m_bold = bold;
    fit();
}

void Label::setTextColour(COLORREF colour)
{
    m_textColour = colour;
    InvalidateRect(m_handle, nullptr, TRUE);
}

void Label::announceAsLink(std::wstring name, std::wstring description)
{
    makeAccessible(m_handle,
                   {ROLE_SYSTEM_LINK, std::move(name), std::move(description),
                    utf16FromUtf8(texts::followLinkAction)},
                   [this] {
                       if (m_click) {
                           m_click();
                       }
                   });
}

HBRUSH Label::prepareToPaint(HDC dc, HBRUSH background) const
{
    SetTextColor(dc, m_textColour);
    SetBkMode(dc, TRANSPARENT);
    return background;
}

void Label::fit()
{
    const std::wstring caption = text();
    const HDC dc = GetDC(m_handle);
    const HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    const auto widthIn = [&](HFONT font) {
        SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        return size.cx;
    };
    const bool measuredBold = m_room.measuredBold || m_bold;
    const int pixels = form::fittedPixels(
        m_scale.pixels(form::fontPixels(m_size)), m_scale.pixels(m_room.width),
        [&](int candidate) { return widthIn(m_fonts.font(candidate, measuredBold)); });
    const HFONT shown = m_fonts.font(pixels, m_bold);
    const LONG width = widthIn(shown);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, oldFont);
    ReleaseDC(m_handle, dc);
    SendMessageW(m_handle, WM_SETFONT, reinterpret_cast<WPARAM>(shown), FALSE);
    // Moving the edges uncovers part of the window, which Windows then repaints.
    SetWindowPos(m_handle, nullptr, 0, 0, width, metrics.tmHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(m_handle, nullptr, TRUE);
}

bool Label::handleMouse(UINT message, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE: {
        // Releasing the mouse makes Windows send a move to where the pointer already is; the
        // pointer has not moved, so it is no move over the label.
        const bool afterRelease = m_releasedAt == lParam;
        m_releasedAt.reset();
        if (!afterRelease && m_mouseMove) {
            m_mouseMove();
        }
        return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // Holding the mouse lets the release come back here wherever it happens.
        m_pressed = true;
        SetCapture(m_handle);
        return true;
    case WM_LBUTTONUP: {
        const bool wasPressed = m_pressed;
        m_pressed = false;
        m_releasedAt = lParam;
        ReleaseCapture();
        RECT client{};
        GetClientRect(m_handle, &client);
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (wasPressed && PtInRect(&client, at) && m_click) {
            m_click();
        }
        return true;
    }
    case WM_CAPTURECHANGED:
        m_pressed = false;
        return false;
    default:
        return false;
    }
}

LRESULT CALLBACK Label::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR label)
{
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, &Label::subclassProc, 0);
    } else if (reinterpret_cast<Label*>(label)->handleMouse(message, lParam)) {
        // The static control would report a click on the press alone.
        return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace zarn::win32
