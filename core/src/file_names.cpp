#include "file_names.h"

#include "file.h"
#include "zarn/utf8_path.h"

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

std::filesystem::path nameAnsweringTo(const Folder& folder, std::string_view name)
{
    std::vector<std::filesystem::path> matches;
    for (const std::filesystem::path& entry : folder.names()) {
        if (sameIgnoringCase(utf8FromPath(entry), name)) {
            matches.push_back(entry);
        }
    }
    if (matches.size() > 1) {
        std::vector<std::string> shown;
        for (const std::filesystem::path& match : matches) {
            shown.push_back(shownPath(match));
        }
        std::ranges::sort(shown);
        throw InTheWay(NamesDifferOnlyInCase{shownPath(folder.path()), shownText(name), shown});
    }
    return matches.empty() ? pathFromUtf8(name) : matches.front();
}

} // namespace zarn
