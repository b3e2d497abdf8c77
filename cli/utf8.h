#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The console program speaks UTF-8, whatever the system's own encoding of paths.
namespace zarn::cli {

inline std::filesystem::path pathFromUtf8(std::string_view text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8Of(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace zarn::cli
