#include "form_fonts.h"

#include "dpi_scale.h"
#include "wide_text.h"

namespace zarn::win32 {
namespace {

std::size_t indexOf(form::FontSize size, bool bold)
{
    return (size == form::FontSize::Large ? 2 : 0) + (bold ? 1 : 0);
}

HFONT createFont(form::FontSize size, bool bold, const DpiScale& scale)
{
    // The size in the layout's pixels, scaled as the layout is. A negative height asks for the
    // character height without the internal leading, which is how a point size is meant.
    const int height = -scale.pixels(form::fontPixels(size));
    return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, toWide(form::fontFamily).c_str());
}

} // namespace

FormFonts::FormFonts(const DpiScale& scale)
{
    for (const form::FontSize size : {form::FontSize::Default, form::FontSize::Large}) {
        for (const bool bold : {false, true}) {
            m_fonts[indexOf(size, bold)] = createFont(size, bold, scale);
        }
    }
}

FormFonts::~FormFonts()
{
    for (const HFONT font : m_fonts) {
        DeleteObject(font);
    }
}

HFONT FormFonts::font(form::FontSize size, bool bold) const
{
    return m_fonts[indexOf(size, bold)];
}

} // namespace zarn::win32
