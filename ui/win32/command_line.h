#pragma once

#include <filesystem>
#include <vector>

namespace zarn::win32 {

// The arguments after the program's name on the command line, as paths: what Explorer passes
// when a folder or file is dropped onto zarn.exe, in quotes where the path holds blanks, or what
// a shortcut or cmd passes, split as windowsArguments does.
std::vector<std::filesystem::path> commandLineArguments();

} // namespace zarn::win32
