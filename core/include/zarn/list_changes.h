#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace zarn {

// One slot list that differs between two tables.
struct ListChange
{
    // Its country (1 to 15) and unit class (1 to 12), as countryNames and unitClassNames count.
    int country = 0;
    int unitClass = 0;
    // The unit numbers of the list before that it no longer holds after, and those it holds after
    // that it did not before, each in list order; a number held twice counts twice. Both are empty
    // where the list holds the same numbers in another order.
    std::vector<std::int16_t> removed;
    std::vector<std::int16_t> added;

    bool operator==(const ListChange&) const = default;
};

// The lists that differ between two slot regions, in table order. A region is a run of 16-bit
// little-endian entries that forms the lists: each runs up to a -1, the last one possibly to the
// region's end, and only the first 180 count. A list that a region lacks counts as empty there.
std::vector<ListChange> changedLists(std::string_view before, std::string_view after);

} // namespace zarn
