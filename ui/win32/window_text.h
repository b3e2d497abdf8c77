#pragma once

#include <string>
#include <windows.h>

namespace zarn::win32 {

// The text of a window or control.
std::wstring windowText(HWND window);

} // namespace zarn::win32
