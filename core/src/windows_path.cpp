#include "zarn/windows_path.h"

#include <algorithm>

namespace zarn {
namespace {

constexpr std::wstring_view prefix = L"\\\\?\\";
constexpr std::wstring_view networkPrefix = L"UNC\\";

bool startsWithDrive(std::wstring_view path)
{
    return path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
}

} // namespace

std::wstring withLongPathPrefix(std::wstring_view path)
{
    // Not lexically_normal(): it folds the two leading backslashes of a network path into one.
    std::wstring text(path);
    std::replace(text.begin(), text.end(), L'/', L'\\');
    if (text.starts_with(prefix)) {
        return text;
    }
    if (text.starts_with(L"\\\\")) {
        return std::wstring(prefix) + std::wstring(networkPrefix) + text.substr(2);
    }
    if (startsWithDrive(text)) {
        return std::wstring(prefix) + text;
    }
    return text;
}

std::wstring withoutLongPathPrefix(std::wstring_view path)
{
    std::wstring_view rest = path;
    if (rest.starts_with(prefix)) {
        rest.remove_prefix(prefix.size());
    }
    if (rest.starts_with(networkPrefix)) {
        return L"\\\\" + std::wstring(rest.substr(networkPrefix.size()));
    }
    return std::wstring(startsWithDrive(rest) ? rest : path);
}

} // namespace zarn
