#include "zarn/slot_table.h"

namespace zarn {

std::string listName(int country, int unitClass)
{
    return std::string(countryNames[country]) + ", " + std::string(unitClassNames[unitClass]);
}

std::string listName(std::size_t list)
{
    return listName(countryOfList(list), unitClassOfList(list));
}

std::int16_t entryFromBytes(const char* bytes)
{
    const auto low = static_cast<unsigned char>(bytes[0]);
    const auto high = static_cast<unsigned char>(bytes[1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | high << 8));
}

void appendEntryBytes(std::string& region, std::int16_t entry)
{
    const auto bits = static_cast<std::uint16_t>(entry);
    region += static_cast<char>(bits & 0xFF);
    region += static_cast<char>(bits >> 8);
}

std::vector<SlotList> listsOf(std::string_view region)
{
    std::vector<SlotList> lists(listCount);
    std::size_t list = 0;
    for (std::size_t at = 0; at + 1 < region.size() && list < lists.size(); at += 2) {
        const std::int16_t entry = entryFromBytes(region.data() + at);
        if (entry == listTerminator) {
            lists[list].ended = true;
            ++list;
        } else {
            lists[list].units.push_back(entry);
        }
    }
    return lists;
}

} // namespace zarn
