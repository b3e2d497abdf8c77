#pragma once

#include "file.h"
#include "slot_lists.h"
#include "zarn/slot_file.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// No slot file is read past this many bytes: a whole table is about 6.5 KB, and a file that long
// is no slot file (a sparse file, a file of the system that never ends).
inline constexpr std::uint64_t slotFileLimit = 64 * 1024 * 1024;

// What a slot file holds, as far as the import is concerned.
struct SlotFileContents
{
    // Items with a non-zero value among the first tableItemCount.
    int entryCount = 0;
    // The first requiredEntryCount of them, two little-endian bytes each.
    std::string region;
    // The first of those whose value does not fit 16 bits, rounded down.
    std::optional<SlotItem> outOfRange;
    // Those of them within 16 bits whose items hold more than a whole number.
    std::vector<UnclearEntry> unclearEntries;
    // Items with a non-zero value after the first tableItemCount.
    std::size_t extraCount = 0;
    // The lists that all entries form, those after the first tableItemCount items included.
    SlotListTracker lists;
};

// Reads the whole slot file: the entries of its first tableItemCount items, and whatever non-zero
// items follow them.
// @throw InTheWay when the file is longer than slotFileLimit.
// @throw RuntimeError when the file cannot be read or ends before its tableItemCount-th item.
SlotFileContents readSlotFile(const File& file);

// The executable that a slot file is to go into: its name as messages give it, and its slot
// region as it holds it now.
struct TargetTable
{
    std::string_view name;
    std::string_view region;
};

// Why the import refuses the slot file, if it does: a count other than requiredEntryCount, entries
// after the tableItemCount-th item, an entry outside 16 bits, or entries that do not form the 180
// lists. With a target, the text says where the edit most likely is, by the target's lists, and
// that the target was not modified.
std::optional<std::string> refusalOf(const SlotFileContents& contents,
                                     const std::optional<TargetTable>& target);

} // namespace zarn
