#pragma once

#include <array>
#include <cstdint>
#include <string_view>

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

// A slot list ends with this entry, which belongs to the list.
inline constexpr std::int16_t listTerminator = -1;

// The import takes exactly this many entries (terminators included) from the first
// itemsPerPass items of the slot file; together they fill regionBytes bytes.
inline constexpr int requiredEntryCount = 646;
inline constexpr int itemsPerPass = 841;
inline constexpr int regionBytes = 2 * requiredEntryCount;

} // namespace zarn
