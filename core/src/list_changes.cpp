#include "zarn/list_changes.h"

#include "zarn/slot_table.h"

#include <map>

namespace zarn {
namespace {

using Entries = std::vector<std::int16_t>;

// The entries of `from` that `other` does not match one for one, in the order of `from`.
Entries unmatched(const Entries& from, const Entries& other)
{
    std::map<std::int16_t, int> available;
    for (const std::int16_t entry : other) {
        ++available[entry];
    }
    Entries left;
    for (const std::int16_t entry : from) {
        if (available[entry] > 0) {
            --available[entry];
        } else {
            left.push_back(entry);
        }
    }
    return left;
}

} // namespace

std::vector<ListChange> changedLists(std::string_view before, std::string_view after)
{
    const std::vector<SlotList> old = listsOf(before);
    const std::vector<SlotList> now = listsOf(after);
    std::vector<ListChange> changes;
    for (std::size_t list = 0; list < old.size(); ++list) {
        const Entries& was = old[list].units;
        const Entries& is = now[list].units;
        if (was != is) {
            changes.push_back({countryOfList(list), unitClassOfList(list), unmatched(was, is),
                               unmatched(is, was)});
        }
    }
    return changes;
}

} // namespace zarn
