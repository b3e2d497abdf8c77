#include "window_text.h"

namespace zarn::win32 {

std::wstring windowText(HWND window)
{
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
    return text;
}

} // namespace zarn::win32
