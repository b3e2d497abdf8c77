#pragma once

#include "dpi_scale.h"
#include "zarn/form/layout.h"
#include "zarn/form/text_fit.h"

#include <functional>
#include <optional>
#include <string>
#include <windows.h>

namespace zarn::win32 {

class FormFonts;

// A label of the window: a static text control that lets the window's background show around its
// text and fits its size to its text, keeping its left and top edges, whenever its text or its
// weight changes. Its text is drawn in the layout's font for it, or a few pixels smaller where the
// face at hand would make it wider than the room the layout leaves it. It takes the mouse, so that
// moves over it never reach the window behind, and reports a click when the left button goes down
// and comes up over it.
class Label
{
public:
    Label(HWND parent, int id, const form::Control& control, const FormFonts& fonts,
          const DpiScale& scale);
    Label(const Label&) = delete;
    Label& operator=(const Label&) = delete;

    HWND handle() const { return m_handle; }

    std::wstring text() const;
    void setText(const std::wstring& text);

    void setBold(bool bold);

    void setTextColour(COLORREF colour);

    // Called on every mouse move over the label.
    void onMouseMove(std::function<void()> handler) { m_mouseMove = std::move(handler); }
    // Called when the left button, pressed over the label, is released over it.
    void onClick(std::function<void()> handler) { m_click = std::move(handler); }

    // Makes screen readers announce the label as a link with this name and description, whose
    // default action clicks it.
    void announceAsLink(std::wstring name, std::wstring description);

    // Sets up `dc` to draw the label's text on `background`, the window's own brush, which it
    // returns (the answer to WM_CTLCOLORSTATIC).
    HBRUSH prepareToPaint(HDC dc, HBRUSH background) const;

private:
    static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR label);
    // Chooses the font size for the text, shows the text in it and fits the label to it.
    void fit();
    // Handles the label's own mouse messages; returns true for those it has dealt with fully.
    bool handleMouse(UINT message, LPARAM lParam);

    HWND m_handle;
    const FormFonts& m_fonts;
    DpiScale m_scale;
    form::FontSize m_size;
    bool m_bold;
    form::TextRoom m_room;
    COLORREF m_textColour;
    std::function<void()> m_mouseMove;
    std::function<void()> m_click;
    bool m_pressed = false;
    std::optional<LPARAM> m_releasedAt;
};

// The Windows colour of a layout colour.
inline COLORREF colourOf(form::Rgb colour)
{
    return RGB(colour.red, colour.green, colour.blue);
}

} // namespace zarn::win32
