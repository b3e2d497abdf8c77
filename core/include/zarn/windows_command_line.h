#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// The arguments after the program's name on a Windows command line, split as cmd's users write
// them: blanks and tabs outside double quotes separate arguments, a double quote begins or ends
// a quoted stretch and is no part of any argument, and a backslash is always itself. So
// "C:\Games\AG\" --game ag, as cmd passes "%~dp0" --game ag, is the folder C:\Games\AG\ and two
// more arguments, where the C library would read one argument with a quote in it. No Windows path
// holds a double quote, and no argument of zarn's programs needs one.
std::vector<std::wstring> windowsArguments(std::wstring_view commandLine);

} // namespace zarn
