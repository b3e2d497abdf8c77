#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Whole files in a test's program folder, byte for byte.
namespace zarn::testing {

// Writes `bytes` as the whole file at `path`; returns false if that failed.
bool writeWholeFile(const std::filesystem::path& path, std::string_view bytes);
// The whole file at `path`, or nothing if it cannot be read.
std::string readWholeFile(const std::filesystem::path& path);
// The names in `folder`, sorted.
std::vector<std::string> sortedNames(const std::filesystem::path& folder);

// Makes `folder` the current folder for as long as it lives.
class CurrentFolder
{
public:
    explicit CurrentFolder(const std::filesystem::path& folder)
        : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolder() { std::filesystem::current_path(m_previous); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::filesystem::path m_previous;
};

} // namespace zarn::testing
