#pragma once

#include "zarn/form/layout.h"

#include <array>
#include <windows.h>

namespace zarn::win32 {

class DpiScale;

// The window's fonts, "MS Sans Serif" at its two sizes, regular and bold: their pixel sizes at
// 96 dots per inch scaled to the screen's, as the layout is.
class FormFonts
{
public:
    explicit FormFonts(const DpiScale& scale);
    ~FormFonts();
    FormFonts(const FormFonts&) = delete;
    FormFonts& operator=(const FormFonts&) = delete;

    HFONT font(form::FontSize size, bool bold) const;

private:
    std::array<HFONT, 4> m_fonts{};
};

} // namespace zarn::win32
