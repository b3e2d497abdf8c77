#include "file_names.h"

#include "file.h"
#include "refusals.h"

#include <algorithm>
#include <string>
#include <vector>

namespace zarn {
namespace {

char lowerCase(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return lowerCase(x) == lowerCase(y); });
}

// The file `name`, given in UTF-8, in `folder`. A plain string would be read in the system's code
// page on Windows.
std::filesystem::path fileIn(const std::filesystem::path& folder, std::string_view name)
{
    return folder / std::u8string(name.begin(), name.end());
}

} // namespace

std::filesystem::path fileAnsweringTo(const std::filesystem::path& folder, std::string_view name)
{
    const std::filesystem::path exact = fileIn(folder, name);
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(exact, error))) {
        return exact;
    }
    // A folder that cannot be listed has no other spelling to offer.
    std::vector<std::string> matches;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string entryName = fileNameOf(entry->path());
        if (sameIgnoringCase(entryName, name)) {
            matches.push_back(entryName);
        }
    }
    if (matches.size() > 1) {
        std::ranges::sort(matches);
        throw NameClash(refusals::namesDifferOnlyInCase(displayPath(folder), name, matches));
    }
    return matches.empty() ? exact : fileIn(folder, matches.front());
}

std::string fileNameOf(const std::filesystem::path& path)
{
    return displayPath(path.filename());
}

} // namespace zarn
