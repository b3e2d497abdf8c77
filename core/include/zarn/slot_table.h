#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// The table holds, for each country in this order, one slot list per unit class in this order.
// Index 0 of both tables is empty and unused, so that countries count from 1 to 15 and classes
// from 1 to 12.
inline constexpr std::array<std::string_view, 16> countryNames = {
    "",        "Norway",   "United Kingdom", "Italy",
    "Poland",  "Germany",  "Low Countries",  "France",
    "USSR",    "USA",      "Yugoslavia",     "Romania",
    "Hungary", "Bulgaria", "Greece",         "Finland",
};
inline constexpr std::array<std::string_view, 13> unitClassNames = {
    "",
    "Infantry",
    "Tank",
    "Recon",
    "Anti-Tank",
    "Artillery",
    "Anti-Aircraft",
    "Air Defence",
    "Fortifications",
    "Fighter",
    "Tactical Bomber",
    "Level Bomber",
    "Land Transport",
};
inline constexpr int countryCount = 15;
inline constexpr int unitClassCount = 12;
// The slot lists of the table: one per country and unit class, 180.
inline constexpr int listCount = countryCount * unitClassCount;

// A slot list ends with this entry, which belongs to the list.
inline constexpr std::int16_t listTerminator = -1;

// The table is this many entries, terminators included; in the executable they fill regionBytes
// bytes, each entry 16 bits, little-endian.
inline constexpr int requiredEntryCount = 646;
inline constexpr int regionBytes = 2 * requiredEntryCount;

// The slot file gives each country's name, then for each of its unit classes the class's name
// followed by that list's entries, one item a line. A whole table is thus 15 country names, 180
// class names and the 646 entries: 841 items, from which the import takes its entries.
inline constexpr int tableItemCount = countryCount + listCount + requiredEntryCount;

// The country (1 to 15) and unit class (1 to 12) of the list that stands `list`-th in the table,
// counting from 0.
constexpr int countryOfList(std::size_t list)
{
    return static_cast<int>(list / unitClassCount) + 1;
}
constexpr int unitClassOfList(std::size_t list)
{
    return static_cast<int>(list % unitClassCount) + 1;
}

// A slot list as messages name it: "Germany, Tank".
std::string listName(int country, int unitClass);
std::string listName(std::size_t list);

// The entry whose two bytes, the low one first, start at `bytes`.
std::int16_t entryFromBytes(const char* bytes);
// Appends the entry's two bytes, the low one first.
void appendEntryBytes(std::string& region, std::int16_t entry);

// One slot list that a run of entries forms: its unit numbers, and whether a -1 ends it.
struct SlotList
{
    std::vector<std::int16_t> units;
    bool ended = false;
};

// The table's listCount lists as a slot region forms them, in table order: each runs up to its
// -1, the last one possibly to the region's end. Entries after the last list's -1 do not count;
// a list that the region lacks is empty and not ended.
std::vector<SlotList> listsOf(std::string_view region);

} // namespace zarn
