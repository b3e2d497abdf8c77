#include "zarn/list_changes.h"

#include "zarn/slot_table.h"

#include <map>

namespace zarn {
namespace {

using Entries = std::vector<std::int16_t>;

// The unit numbers of each list that the region forms, without their -1.
std::vector<Entries> listsOf(std::string_view region)
{
    std::vector<Entries> lists(countryCount * unitClassCount);
    std::size_t list = 0;
    for (std::size_t at = 0; at + 1 < region.size() && list < lists.size(); at += 2) {
        const auto low = static_cast<unsigned char>(region[at]);
        const auto high = static_cast<unsigned char>(region[at + 1]);
        const auto entry = static_cast<std::int16_t>(static_cast<std::uint16_t>(low | high << 8));
        if (entry == listTerminator) {
            ++list;
        } else {
            lists[list].push_back(entry);
        }
    }
    return lists;
}

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
    const std::vector<Entries> old = listsOf(before);
    const std::vector<Entries> now = listsOf(after);
    std::vector<ListChange> changes;
    for (std::size_t list = 0; list < old.size(); ++list) {
        if (old[list] != now[list]) {
            changes.push_back({static_cast<int>(list) / unitClassCount + 1,
                               static_cast<int>(list) % unitClassCount + 1,
                               unmatched(old[list], now[list]), unmatched(now[list], old[list])});
        }
    }
    return changes;
}

} // namespace zarn
