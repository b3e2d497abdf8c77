#pragma once

#include <filesystem>

namespace zarn::win32 {

// The folder that holds the running program's own file.
// @throw std::system_error when Windows cannot tell the program's path.
std::filesystem::path programFolder();

} // namespace zarn::win32
