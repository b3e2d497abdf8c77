#pragma once

#include "dpi_scale.h"
#include "zarn/form/layout.h"

#include <map>
#include <utility>
#include <windows.h>

namespace zarn::win32 {

// The window's fonts, "MS Sans Serif" regular and bold: at its two sizes, their pixel sizes at
// 96 dots per inch scaled to the screen's, as the layout is, and at any smaller size a label
// needs to fit its text. Each is made once, when first asked for.
class FormFonts
{
public:
    explicit FormFonts(const DpiScale& scale) : m_scale(scale) {}
    ~FormFonts();
    FormFonts(const FormFonts&) = delete;
    FormFonts& operator=(const FormFonts&) = delete;

    HFONT font(form::FontSize size, bool bold) const;
    // The font with a character height of `pixels` screen pixels.
    HFONT font(int pixels, bool bold) const;

private:
    DpiScale m_scale;
    mutable std::map<std::pair<int, bool>, HFONT> m_fonts;
};

} // namespace zarn::win32
