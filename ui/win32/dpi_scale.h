#pragma once

#include <algorithm>
#include <windows.h>

namespace zarn::win32 {

// The window is laid out in pixels at 96 dots per inch; this scales them to the screen's setting.
class DpiScale
{
public:
    explicit DpiScale(int dpi) : m_dpi(dpi) {}

    int dpi() const { return m_dpi; }
    int pixels(int at96Dpi) const { return MulDiv(at96Dpi, m_dpi, 96); }
    // Pictures grow by whole multiples only, so that every pixel stays sharp.
    int pictureFactor() const { return std::max(1, m_dpi / 96); }

private:
    int m_dpi;
};

} // namespace zarn::win32
