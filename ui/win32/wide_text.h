#pragma once

#include <string>
#include <string_view>
#include <windows.h>

namespace zarn::win32 {

// The core speaks UTF-8 and Windows UTF-16; these convert between the two.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

// The text of a window or control.
std::wstring windowText(HWND window);

} // namespace zarn::win32
