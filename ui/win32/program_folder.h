#pragma once

#include <filesystem>

namespace zarn::win32 {

// The folder that holds the running program's own file, in the plain form that the file layer
// takes ("C:\game", "\\server\share\game"), whatever form the system gave the path in.
// @throw std::system_error when Windows cannot tell the program's path.
std::filesystem::path programFolder();

} // namespace zarn::win32
