#pragma once

#include "zarn/slot_file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zarn {

// What checkSlotFile finds: why the import would refuse the file, in the import's words but for
// those about an executable (where the edit is by its lists, and that it was not modified), or
// nothing when the file holds a whole table; and the entries the import takes although their
// lines hold more than a whole number, in the order of the file.
struct SlotFileCheck
{
    std::optional<std::string> refusal;
    std::vector<UnclearEntry> unclearEntries;
};

// Reads the slot file at `path` and checks it as the import does before it writes anything: 646
// entries among its first 841 items, each within 16 bits, none after them, forming the 180 lists
// that each end in -1. The file is found as the transfers find theirs: under its name in any case,
// behind the user's own links. What stands in its way (several files that differ only in case,
// another user's link, a folder, a file past 64 MiB) is told as the refusal. Writes nothing.
// @throw RuntimeError when the file cannot be read or ends before its 841st item.
SlotFileCheck checkSlotFile(const std::filesystem::path& path);

} // namespace zarn
