#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Paths as UTF-8 text, whatever encoding the system keeps them in (UTF-16 on Windows), so that
// names in any language survive the way into messages and back.
namespace zarn {

// The path's text, as messages show it.
std::string displayPath(const std::filesystem::path& path);

// The path that a UTF-8 text names.
std::filesystem::path pathFromUtf8(std::string_view text);

} // namespace zarn
