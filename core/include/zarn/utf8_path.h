#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Paths as UTF-8 text, whatever encoding the system keeps them in (UTF-16 on Windows), so that
// names in any language survive the way into messages and back.
namespace zarn {

// The path's text in UTF-8, as it stands: for turning a path into text and back. Messages show
// paths through shownPath.
std::string displayPath(const std::filesystem::path& path);

// The path that a UTF-8 text names.
std::filesystem::path pathFromUtf8(std::string_view text);

// A name or other text from outside as messages show it: each control character, and each byte
// that is not part of UTF-8, as a visible escape ("\x1b", "\xff"), so that the text can neither
// steer a terminal nor pass itself off as a line of the message.
std::string shownText(std::string_view text);

// A path as messages show it: its text, escaped as shownText does.
std::string shownPath(const std::filesystem::path& path);

} // namespace zarn
