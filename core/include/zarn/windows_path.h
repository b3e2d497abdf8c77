#pragma once

#include <string>
#include <string_view>

// Windows paths in their two forms: as users write them ("C:\game", "\\server\share\game"), and
// with the prefix "\\?\" that lets Win32 calls take them at any length.
namespace zarn {

// The path with the prefix: "C:\game" as "\\?\C:\game", "\\server\share" as
// "\\?\UNC\server\share", each slash as a backslash. A path that has the prefix, and one that
// names no drive or network folder, stay as they are.
std::wstring withLongPathPrefix(std::wstring_view path);

// The path as users write it: "\\?\C:\game" as "C:\game", "\\?\UNC\server\share" as
// "\\server\share", and Wine's "UNC\server\share" likewise. Any other path stays as it is, among
// them a volume without a drive letter ("\\?\Volume{...}\game"), which has no other form.
std::wstring withoutLongPathPrefix(std::wstring_view path);

} // namespace zarn
