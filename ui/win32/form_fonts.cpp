#include "form_fonts.h"

#include "zarn/utf8_path.h"

namespace zarn::win32 {

FormFonts::~FormFonts()
{
    for (const auto& [sizeAndWeight, font] : m_fonts) {
        DeleteObject(font);
    }
}

HFONT FormFonts::font(form::FontSize size, bool bold) const
{
    return font(m_scale.pixels(form::fontPixels(size)), bold);
}

HFONT FormFonts::font(int pixels, bool bold) const
{
    HFONT& made = m_fonts[{pixels, bold}];
    if (made == nullptr) {
        // A negative height asks for the character height without the internal leading, which
        // is how a point size is meant.
        made = CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, utf16FromUtf8(form::fontFamily).c_str());
    }
    return made;
}

} // namespace zarn::win32
