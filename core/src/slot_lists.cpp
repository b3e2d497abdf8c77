#include "slot_lists.h"

#include "zarn/slot_table.h"

namespace zarn {
namespace {

bool sameList(const ListExtent& edited, const SlotList& current)
{
    return edited.length == current.units.size() + (current.ended ? 1 : 0) &&
           edited.ended == current.ended;
}

} // namespace

void SlotListTracker::add(bool isTerminator, std::size_t line)
{
    m_lastLine = line;
    m_lastIsTerminator = isTerminator;
    if (m_terminators >= listCount) {
        if (!m_lineAfterTable) {
            m_lineAfterTable = line;
        }
        return;
    }
    if (m_lists.empty() || m_lists.back().ended) {
        m_lists.push_back({line, 0, false});
    }
    ++m_lists.back().length;
    if (isTerminator) {
        m_lists.back().ended = true;
        ++m_terminators;
    }
}

std::optional<ShapeFault> shapeFault(const SlotListTracker& entries)
{
    if (const std::optional<std::size_t> line = entries.lineAfterTable()) {
        return ShapeFault{ShapeFault::Kind::EntryAfterLastList, *line, listCount};
    }
    if (entries.terminatorCount() == listCount) {
        return std::nullopt;
    }
    const ShapeFault::Kind kind = entries.endsWithTerminator() ? ShapeFault::Kind::TerminatorMissing
                                                               : ShapeFault::Kind::LastListOpen;
    return ShapeFault{kind, entries.lastLine(), entries.terminatorCount()};
}

std::optional<int> firstDifferingList(const SlotListTracker& edited,
                                      const std::vector<SlotList>& current)
{
    const std::vector<ListExtent>& mine = edited.lists();
    for (std::size_t list = 0; list < listCount; ++list) {
        if (list >= mine.size()) {
            return std::nullopt;
        }
        if (!sameList(mine[list], current[list])) {
            return static_cast<int>(list);
        }
    }
    return listCount;
}

} // namespace zarn
