#pragma once

#include <string>
#include <string_view>

namespace zarn::win32 {

// The core speaks UTF-8 and Windows UTF-16; these convert between the two.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

} // namespace zarn::win32
