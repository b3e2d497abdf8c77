#pragma once

#include "zarn/form/layout.h"

#include <windows.h>

namespace zarn::win32 {

// The window is laid out in pixels at 96 dots per inch; this scales them to the screen's setting.
class DpiScale
{
public:
    explicit DpiScale(int dpi) : m_dpi(dpi) {}

    int dpi() const { return m_dpi; }
    int pixels(int at96Dpi) const { return MulDiv(at96Dpi, m_dpi, 96); }
    int pictureFactor() const { return form::pictureFactor(m_dpi / 96.0); }

private:
    int m_dpi;
};

} // namespace zarn::win32
