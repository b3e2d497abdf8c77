#include "picture_button.h"

#include "accessible_control.h"
#include "dpi_scale.h"
#include "texts.h"
#include "zarn/utf8_path.h"

#include <oleacc.h>

namespace zarn::win32 {
namespace {

// The pictures are compiled into the program as bitmap resources named like their XPM sources.
HBITMAP loadPicture(std::string_view name)
{
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), utf16FromUtf8(name).c_str(),
                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

int textHeight(HDC dc)
{
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight;
}

} // namespace

PictureButton::PictureButton(HWND parent, int id, const form::Control& control,
                             const form::AccessibleText& accessible, HFONT font,
                             const DpiScale& scale)
    : m_handle(CreateWindowExW(0, L"BUTTON", utf16FromUtf8(accessible.name).c_str(),
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                               scale.pixels(control.left), scale.pixels(control.top),
                               scale.pixels(control.width), scale.pixels(control.height), parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr)),
      m_caption(utf16FromUtf8(control.text)), m_font(font), m_picture(loadPicture(control.picture)),
      m_pictureFactor(scale.pictureFactor())
{
    SendMessageW(m_handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // The role and the action too: Windows gives them to any push button, but Wine does not.
    makeAccessible(m_handle,
                   {ROLE_SYSTEM_PUSHBUTTON, utf16FromUtf8(accessible.name),
                    utf16FromUtf8(accessible.description), utf16FromUtf8(texts::pressAction)},
                   [button = m_handle] { SendMessageW(button, BM_CLICK, 0, 0); });
}

PictureButton::~PictureButton()
{
    if (m_picture) {
        DeleteObject(m_picture);
    }
}

void PictureButton::draw(const DRAWITEMSTRUCT& item) const
{
    const HDC dc = item.hDC;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    RECT face = item.rcItem;
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

    // Inside the raised edges; a pushed face moves down and right by a pixel.
    RECT inside = item.rcItem;
    InflateRect(&inside, -2, -2);
    if (pushed) {
        OffsetRect(&inside, 1, 1);
    }
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
    SelectObject(dc, m_font);

    RECT pictureArea = inside;
    if (!m_caption.empty()) {
        RECT captionArea = inside;
        captionArea.top = inside.bottom - textHeight(dc) - 1;
        pictureArea.bottom = captionArea.top;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(dc, m_caption.c_str(), static_cast<int>(m_caption.size()), &captionArea,
                  DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (m_picture) {
        BITMAP bitmap{};
        GetObjectW(m_picture, sizeof bitmap, &bitmap);
        const int width = bitmap.bmWidth * m_pictureFactor;
        const int height = bitmap.bmHeight * m_pictureFactor;
        const int left = (pictureArea.left + pictureArea.right - width) / 2;
        const int top = (pictureArea.top + pictureArea.bottom - height) / 2;
        IntersectClipRect(dc, pictureArea.left, pictureArea.top, pictureArea.right,
                          pictureArea.bottom);
        const HDC pictureDc = CreateCompatibleDC(dc);
        const HGDIOBJ old = SelectObject(pictureDc, m_picture);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, left, top, width, height, pictureDc, 0, 0, bitmap.bmWidth, bitmap.bmHeight,
                   SRCCOPY);
        SelectObject(pictureDc, old);
        DeleteDC(pictureDc);
    }
    RestoreDC(dc, saved);

    if ((item.itemState & ODS_FOCUS) != 0) {
        RECT focus = inside;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(dc, &focus);
    }
}

} // namespace zarn::win32
