#pragma once

#include <QString>
#include <filesystem>

namespace zarn::qt {

// The folder that holds the running program, where the game executable and p_slots.txt are.
std::filesystem::path programFolder();

// A file system path from Qt's form of it, keeping every character.
std::filesystem::path toFilesystemPath(const QString& path);

} // namespace zarn::qt
