#pragma once

#include "zarn/slot_table.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace zarn {

// One slot list as a run of entries forms it: the line of its first entry, how many entries it
// holds, and whether a -1 has ended it (the -1 is counted).
struct ListExtent
{
    std::size_t firstLine = 0;
    std::size_t length = 0;
    bool ended = false;
};

// Follows a run of entries and records the slot lists they form, each ending at its first -1.
// Only the first 180 lists are kept, so that any run takes little memory.
class SlotListTracker
{
public:
    // `line` is where the entry stands in the slot file; entries of an executable pass 0.
    void add(bool isTerminator, std::size_t line);

    // The lists seen so far, the last one possibly not ended yet; at most 180.
    const std::vector<ListExtent>& lists() const { return m_lists; }
    // The -1 entries that end those lists: 180 at most.
    std::size_t terminatorCount() const { return m_terminators; }
    // The line of the first entry after the 180th -1.
    std::optional<std::size_t> lineAfterTable() const { return m_lineAfterTable; }
    std::size_t lastLine() const { return m_lastLine; }
    bool endsWithTerminator() const { return m_lastIsTerminator; }

private:
    std::vector<ListExtent> m_lists;
    std::size_t m_terminators = 0;
    std::optional<std::size_t> m_lineAfterTable;
    std::size_t m_lastLine = 0;
    bool m_lastIsTerminator = false;
};

// How a run of entries fails to form the 180 lists of the table.
struct ShapeFault
{
    enum class Kind
    {
        // An entry follows the -1 that ends the 180th list.
        EntryAfterLastList,
        // The last entry is not -1, so the list it belongs to never ends.
        LastListOpen,
        // The last entry is -1, but fewer than 180 lists end.
        TerminatorMissing,
    };
    Kind kind;
    // The line of the entry at fault: the one after the table, or the last.
    std::size_t line;
    // The -1 entries up to that entry; for a list left open, also the 0-based index of that list.
    std::size_t terminators;
};

// Why the entries do not form exactly 180 lists whose last -1 is the last entry, if they do not.
std::optional<ShapeFault> shapeFault(const SlotListTracker& entries);

// The 0-based index of the first of the 180 lists whose length (or ending) differs between the
// edited run and the table's current lists, or 180 where all 180 lists of `edited` agree with
// `current`. Nothing where `edited` ends before a list that differs.
std::optional<int> firstDifferingList(const SlotListTracker& edited,
                                      const std::vector<SlotList>& current);

} // namespace zarn
