#pragma once

#include "zarn/form/accessibility.h"
#include "zarn/form/layout.h"

#include <string>
#include <windows.h>

namespace zarn::win32 {

class DpiScale;

// A push button that shows its picture centred on the face, clipped to it, and its caption, if
// any, beneath the picture. Screen readers announce it with its accessible name and description;
// the name is its window text too.
class PictureButton
{
public:
    PictureButton(HWND parent, int id, const form::Control& control,
                  const form::AccessibleText& accessible, HFONT font, const DpiScale& scale);
    ~PictureButton();
    PictureButton(const PictureButton&) = delete;
    PictureButton& operator=(const PictureButton&) = delete;

    HWND handle() const { return m_handle; }

    // Paints the button (the answer to its WM_DRAWITEM).
    void draw(const DRAWITEMSTRUCT& item) const;

private:
    HWND m_handle;
    std::wstring m_caption;
    HFONT m_font;
    HBITMAP m_picture;
    int m_pictureFactor;
};

} // namespace zarn::win32
