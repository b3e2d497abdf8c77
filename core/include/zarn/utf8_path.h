#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Text and paths as UTF-8, whatever encoding the system keeps them in (UTF-16 on Windows), so that
// names in any language survive the way into messages and back.
namespace zarn {

// Text between UTF-8 and the UTF-16 that Windows speaks, one code unit a wchar_t. A lone
// surrogate, which Windows allows in file names, becomes the three bytes that UTF-8 gives other
// code points of its range, and back, so that such a name comes through whole; shownText shows
// those bytes escaped. Any other byte that is not part of UTF-8 becomes U+FFFD.
std::wstring utf16FromUtf8(std::string_view text);
std::string utf8FromUtf16(std::wstring_view text);

// The path's text in UTF-8, as it stands: for turning a path into text and back. Messages show
// paths through shownPath.
std::string utf8FromPath(const std::filesystem::path& path);

// The path that a UTF-8 text names.
std::filesystem::path pathFromUtf8(std::string_view text);

// A name or other text from outside as messages show it: each control character, and each byte
// that is not part of UTF-8, as a visible escape ("\x1b", "\xff"), so that the text can neither
// steer a terminal nor pass itself off as a line of the message.
std::string shownText(std::string_view text);

// A path as messages show it: its text, escaped as shownText does.
std::string shownPath(const std::filesystem::path& path);

} // namespace zarn
