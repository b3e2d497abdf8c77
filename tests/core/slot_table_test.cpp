// The table's entries as the executable holds them, and its lists as messages name them.
#include "zarn/slot_table.h"

#include <gtest/gtest.h>

namespace zarn {
namespace {

TEST(SlotTable, EntriesAreTwoBytesLowFirstInTwosComplement)
{
    struct Case
    {
        std::string bytes;
        std::int16_t entry;
    };
    const Case cases[] = {
        {{'\x34', '\x12'}, 0x1234},
        {{'\xff', '\x7f'}, 32767},
        {{'\x00', '\x80'}, -32768},
        {{'\xff', '\xff'}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(entryFromBytes(c.bytes.data()), c.entry);
        std::string region;
        appendEntryBytes(region, c.entry);
        EXPECT_EQ(region, c.bytes);
    }
}

TEST(SlotTable, ListsCountCountryByCountryInClassOrder)
{
    struct Case
    {
        std::size_t list;
        int country;
        int unitClass;
        std::string name;
    };
    const Case cases[] = {
        {0, 1, 1, "Norway, Infantry"},
        {11, 1, 12, "Norway, Land Transport"},
        {12, 2, 1, "United Kingdom, Infantry"},
        {49, 5, 2, "Germany, Tank"},
        {179, 15, 12, "Finland, Land Transport"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(countryOfList(c.list), c.country);
        EXPECT_EQ(unitClassOfList(c.list), c.unitClass);
        EXPECT_EQ(listName(c.list), c.name);
        EXPECT_EQ(listName(c.country, c.unitClass), c.name);
    }
}

} // namespace
} // namespace zarn
