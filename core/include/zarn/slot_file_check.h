#pragma once

#include "zarn/outcomes.h"
#include "zarn/slot_file.h"

#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// The executable that a slot file is to go into: its name as messages give it, and its slot
// region as it holds it now.
struct TargetTable
{
    std::string_view name;
    std::string_view region;
};

// A slot file as the import reads it: why the import refuses it, if it does; the entries that it
// takes although their lines hold more than a whole number, in the order of the file; and, where
// it does not refuse, the slot region that its 646 entries make, two little-endian bytes each.
struct SlotFileReading
{
    std::optional<Refusal> refusal;
    std::vector<UnclearEntry> unclearEntries;
    std::string region;
};

// Reads a slot file, named `name` in messages, from `text` and checks it as the import does
// before it writes anything: 646 entries among its first 841 items, each within 16 bits, none
// after them, forming the 180 lists that each end in -1. Each entry is its item's value rounded
// down. A refusal is SlotFileRefused; with a target, it says where the edit most likely is, by the
// target's lists, and that the target was not modified.
// @throw RuntimeError (SlotFileTooShort) when the text ends before its 841st item. Read failures of
// the stream propagate.
SlotFileReading readSlotFile(std::istream& text, std::string_view name,
                             const std::optional<TargetTable>& target);

// Reads the slot file at `path` and checks it so, without a target. The file is found as the
// transfers find theirs: under its name in any case, behind the user's own links. What stands in
// its way (several files that differ only in case, another user's link, a folder, a file past
// 64 MiB) is the refusal. Writes nothing.
// @throw RuntimeError when the file cannot be read or ends before its 841st item.
SlotFileReading checkSlotFile(const std::filesystem::path& path);

} // namespace zarn
