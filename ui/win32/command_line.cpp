#include "command_line.h"

// shellapi.h needs what windows.h declares.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

namespace zarn::win32 {

std::vector<std::filesystem::path> commandLineArguments()
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::filesystem::path> paths;
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        std::wstring argument = arguments[i];
        // A quoted folder typed with its closing backslash, "D:\Games\", arrives as D:\Games"
        // since the backslash escapes the quote; no path holds a quote, so it goes.
        if (!argument.empty() && argument.back() == L'"') {
            argument.pop_back();
        }
        paths.emplace_back(argument);
    }
    LocalFree(arguments);
    return paths;
}

} // namespace zarn::win32
