#include "synthetic_game.h"

#include <algorithm>
#include <random>
#include <sstream>

namespace zarn::testing {

SlotLists standardLists()
{
    // 180 lists holding 466 unit numbers: the first empty, the second with four numbers, then
    // 105 lists of three, 72 of two and a last one of three.
    SlotLists lists(180);
    int next = 1;
    for (std::size_t list = 0; list < lists.size(); ++list) {
        const std::size_t count = list == 0     ? 0
                                  : list == 1   ? 4
                                  : list <= 106 ? 3
                                  : list < 179  ? 2
                                                : 3;
        for (std::size_t i = 0; i < count; ++i) {
            lists[list].push_back(static_cast<std::int16_t>(next * 71 % 32000 + 1));
            ++next;
        }
    }
    lists[5][0] = 32767;
    return lists;
}

std::string regionOf(const SlotLists& lists)
{
    std::string region;
    const auto put = [&region](std::int16_t entry) {
        const auto bits = static_cast<std::uint16_t>(entry);
        region += static_cast<char>(bits & 0xFF);
        region += static_cast<char>(bits >> 8);
    };
    for (const auto& list : lists) {
        std::for_each(list.begin(), list.end(), put);
        put(-1);
    }
    return region;
}

std::string slotFileOf(const SlotLists& lists, const std::string& lineEnd)
{
    static const char* const countries[] = {"Norway",   "United Kingdom", "Italy",   "Poland",
                                            "Germany",  "Low Countries",  "France",  "USSR",
                                            "USA",      "Yugoslavia",     "Romania", "Hungary",
                                            "Bulgaria", "Greece",         "Finland"};
    static const char* const classes[] = {"Infantry",        "Tank",           "Recon",
                                          "Anti-Tank",       "Artillery",      "Anti-Aircraft",
                                          "Air Defence",     "Fortifications", "Fighter",
                                          "Tactical Bomber", "Level Bomber",   "Land Transport"};
    std::ostringstream text;
    for (int country = 0; country < 15; ++country) {
        text << '"' << countries[country] << '"' << lineEnd;
        for (int unitClass = 0; unitClass < 12; ++unitClass) {
            text << '"' << classes[unitClass] << '"' << lineEnd;
            for (const std::int16_t entry : lists[country * 12 + unitClass]) {
                text << entry << lineEnd;
            }
            text << -1 << lineEnd;
        }
    }
    return text.str();
}

std::string utf16File(const std::u16string& text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

std::string filler(std::size_t length)
{
    std::string bytes(length, '\0');
    std::minstd_rand random(static_cast<std::uint32_t>(length));
    std::generate(bytes.begin(), bytes.end(), [&random] { return static_cast<char>(random()); });
    return bytes;
}

std::string executableWith(std::size_t length, std::size_t offset, const std::string& region)
{
    std::string bytes = filler(length);
    bytes.replace(offset, region.size(), region);
    bytes.resize(length);
    return bytes;
}

} // namespace zarn::testing
