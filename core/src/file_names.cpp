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

} // namespace

std::filesystem::path fileAnsweringTo(const std::filesystem::path& folder, std::string_view name)
{
    const std::filesystem::path exact = folder / pathFromUtf8(name);
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
    return matches.empty() ? exact : folder / pathFromUtf8(matches.front());
}

std::string fileNameOf(const std::filesystem::path& path)
{
    return displayPath(path.filename());
}

} // namespace zarn
