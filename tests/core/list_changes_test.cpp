// The lists that differ between two tables, and the units each gains and loses.
#include "synthetic_game.h"
#include "zarn/list_changes.h"

#include <functional>
#include <gtest/gtest.h>

namespace zarn::testing {
namespace {

// Germany's Tank list, and France's Recon list, by their index in the standard lists.
constexpr std::size_t germanyTank = 49;
constexpr std::size_t franceRecon = 74;

TEST(ChangedLists, NamesEachListThatDiffersWithItsUnitsRemovedAndAdded)
{
    struct Case
    {
        const char* what;
        std::function<void(SlotLists&)> edit;
        std::vector<ListChange> changes;
    };
    const SlotLists standard = standardLists();
    const std::int16_t firstTank = standard[germanyTank][0];
    const std::int16_t secondTank = standard[germanyTank][1];
    const std::int16_t thirdTank = standard[germanyTank][2];
    const Case cases[] = {
        {"nothing", [](SlotLists&) {}, {}},
        {"one unit replaced",
         [](SlotLists& lists) { lists[germanyTank][1] = 4660; },
         {{5, 2, {secondTank}, {4660}}}},
        {"a unit moved to a later list",
         [](SlotLists& lists) {
             lists[franceRecon].push_back(lists[germanyTank][0]);
             lists[germanyTank].erase(lists[germanyTank].begin());
         },
         {{5, 2, {firstTank}, {}}, {7, 3, {}, {firstTank}}}},
        {"a list reordered",
         [](SlotLists& lists) { std::swap(lists[germanyTank][0], lists[germanyTank][2]); },
         {{5, 2, {}, {}}}},
        {"a unit doubled in place of another",
         [](SlotLists& lists) { lists[germanyTank][2] = lists[germanyTank][0]; },
         {{5, 2, {thirdTank}, {firstTank}}}},
        {"the first and the last list",
         [](SlotLists& lists) {
             lists[0].push_back(-7);
             lists[179].pop_back();
         },
         {{1, 1, {}, {-7}}, {15, 12, {standard[179].back()}, {}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SlotLists edited = standard;
        c.edit(edited);
        EXPECT_EQ(changedLists(regionOf(standard), regionOf(edited)), c.changes);
    }
}

// Every list from `first` on that holds units, as added to an empty one.
std::vector<ListChange> allAddedFrom(const SlotLists& lists, std::size_t first)
{
    std::vector<ListChange> changes;
    for (std::size_t list = first; list < lists.size(); ++list) {
        if (!lists[list].empty()) {
            changes.push_back({static_cast<int>(list / 12 + 1),
                               static_cast<int>(list % 12 + 1),
                               {},
                               lists[list]});
        }
    }
    return changes;
}

TEST(ChangedLists, TakesTheListsOfARegionThatDoesNotFormTheTable)
{
    struct Case
    {
        const char* what;
        std::string before;
        std::vector<ListChange> changes;
    };
    const SlotLists standard = standardLists();
    const std::string region = regionOf(standard);
    // Germany's Tank list cut after its second unit, with no -1: the region ends inside it.
    SlotLists upToGermanyTank(standard.begin(), standard.begin() + germanyTank);
    const std::string cut =
        regionOf(upToGermanyTank) + regionOf({standard[germanyTank]}).substr(0, 4);
    std::vector<ListChange> cutChanges = {{5, 2, {}, {standard[germanyTank][2]}}};
    for (const ListChange& change : allAddedFrom(standard, germanyTank + 1)) {
        cutChanges.push_back(change);
    }
    const Case cases[] = {
        // After the 180th -1, entries that belong to no list, then a lone byte.
        {"entries after the last list", region + regionOf({{5}}) + "\x07", {}},
        {"a region that ends inside a list", cut, cutChanges},
        {"no entries at all", "", allAddedFrom(standard, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(changedLists(c.before, region), c.changes);
    }
}

} // namespace
} // namespace zarn::testing
