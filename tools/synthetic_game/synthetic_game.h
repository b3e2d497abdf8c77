#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Game executables and slot files made up for the tests and the demo folder.
namespace zarn::testing {

// The unit numbers of the 180 slot lists, country by country and class by class, without their
// terminators.
using SlotLists = std::vector<std::vector<std::int16_t>>;

// A table of 646 entries whose first list is empty and whose numbers use both bytes.
SlotLists standardLists();
// The lists as a slot region: entries with terminators, two little-endian bytes each.
std::string regionOf(const SlotLists& lists);
// The slot file that the export writes for the lists.
std::string slotFileOf(const SlotLists& lists, const std::string& lineEnd = "\r\n");
// The text as a UTF-16 file saves it: the byte-order mark, then two bytes per character.
std::string utf16File(const std::u16string& text, bool bigEndian);
// Bytes that are the same for the same length and differ from one offset to the next.
std::string filler(std::size_t length);
// An executable of `length` bytes with `region` at the zero-based `offset`.
std::string executableWith(std::size_t length, std::size_t offset, const std::string& region);

inline constexpr std::size_t alliedGeneralOffset = 1883344;

} // namespace zarn::testing
