#pragma once

#include "file.h"
#include "zarn/slot_file_check.h"

#include <cstdint>
#include <optional>

namespace zarn {

// No slot file is read past this many bytes: a whole table is about 6.5 KB, and a file that long
// is no slot file (a sparse file, a file of the system that never ends).
inline constexpr std::uint64_t slotFileLimit = 64 * 1024 * 1024;

// Reads the open slot file `file` as readSlotFile reads a text.
// @throw InTheWay (SlotFileTooLong) when the file is longer than slotFileLimit.
// @throw RuntimeError when the file cannot be read or ends before its 841st item.
SlotFileReading readSlotFile(const File& file, const std::optional<TargetTable>& target);

} // namespace zarn
