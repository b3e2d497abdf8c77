#pragma once

#include <filesystem>
#include <string_view>

namespace zarn::win32 {

// The folder that holds the running program's own file.
// @throw std::system_error when Windows cannot tell the program's path.
std::filesystem::path programFolder();

// The folder of the program file at `programPath`, in the plain form that the file layer takes
// ("C:\game", "\\server\share\game"), whatever form the system gave the path in.
std::filesystem::path folderOfProgramPath(std::wstring_view programPath);

} // namespace zarn::win32
