// The import writes only a table that forms the 180 slot lists, each ending in -1, and points
// to the list that most likely holds the edit when it refuses one.
#include "transfer_fixture.h"

#include <gtest/gtest.h>
#include <sstream>

namespace zarn::testing {
namespace {

using Lines = std::vector<std::string>;

Lines linesOf(const std::string& text)
{
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        line.pop_back(); // the CR of CR LF
        lines.push_back(line);
    }
    return lines;
}

std::string textOf(const Lines& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// Edits of the standard slot file, on 1-based line numbers of the file as it stands.
void insertAfter(Lines& lines, std::size_t line, const std::string& text)
{
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(line), text);
}

void remove(Lines& lines, std::size_t line)
{
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(line) - 1);
}

// In the standard slot file, Germany's Tank list holds lines 250 to 252 and its -1 on line 253;
// France's Recon list holds lines 377 to 379; Finland's Land Transport list, the last, holds lines
// 838 to 840 and its -1 on line 841.
class TableShapeTest : public TransferTest
{
protected:
    static constexpr std::int32_t address = 101;

    TableShapeTest()
    {
        original = executableWith(address - 1 + 1292 + 300, address - 1, regionOf(standardLists()));
        writeFile("pg.exe", original);
        choose(Game::PanzerGeneral, address);
    }

    std::string original;
};

TEST_F(TableShapeTest, RefusesEntriesThatDoNotFormTheLists)
{
    struct Case
    {
        const char* what;
        std::function<void(Lines&)> edit;
        std::string message;
    };
    const std::string germanyTank =
        "The first list whose length differs from pg.exe is Germany, Tank, starting on line 250.\r";
    const std::string putBack = "Every list ends in -1: put back the -1 that was deleted, and to "
                                "add a unit delete a unit.\r";
    const std::string removeExtra = "Every list ends in exactly one -1: remove the -1 that was "
                                    "added, or move the entry into a list.\r";
    const Case cases[] = {
        {"a unit added, and the last -1 deleted to make room",
         [](Lines& lines) {
             insertAfter(lines, 250, "77");
             remove(lines, 842);
         },
         "The last entry, on line 841, is not -1: the list for Finland, Land Transport has no "
         "end !\r" +
             germanyTank + putBack},
        {"a -1 deleted in one list and a unit added in a later one",
         [](Lines& lines) {
             remove(lines, 253);
             insertAfter(lines, 376, "77");
         },
         "The 646 entries, up to line 841, hold only 179 entries of -1: there must be 180, one at "
         "the end of each list !\r" +
             germanyTank + putBack},
        {"a -1 added in one list and a unit deleted in a later one",
         [](Lines& lines) {
             insertAfter(lines, 250, "-1");
             remove(lines, 378);
         },
         "The entry on line 838 comes after the -1 that ends the last list, Finland, Land "
         "Transport !\r" +
             germanyTank + removeExtra},
        {"the last -1 replaced by a unit", [](Lines& lines) { lines[840] = "77"; },
         "The last entry, on line 841, is not -1: the list for Finland, Land Transport has no "
         "end !\rThe first list whose length differs from pg.exe is Finland, Land Transport, "
         "starting on line 838.\r" +
             putBack},
        {"the last -1 moved up one line", [](Lines& lines) { std::swap(lines[839], lines[840]); },
         "The entry on line 841 comes after the -1 that ends the last list, Finland, Land "
         "Transport !\rThe first list whose length differs from pg.exe is Finland, Land "
         "Transport, starting on line 838.\r" +
             removeExtra},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Lines lines = linesOf(slotFileOf(standardLists()));
        c.edit(lines);
        ASSERT_EQ(lines.size(), 841u);
        writeFile("p_slots.txt", textOf(lines));
        messages.shown.clear();

        EXPECT_EQ(runImport(), TransferEnd::Failed);
        EXPECT_EQ(messages.shown,
                  std::vector<std::string>{"Error  !\r" + c.message + "pg.exe file NOT modified."});
        EXPECT_EQ(readFile("pg.exe"), original);
        EXPECT_EQ(fileNames(), (std::vector<std::string>{"p_slots.txt", "pg.exe"}));
    }
}

TEST_F(TableShapeTest, WritesUnitsMovedBetweenLists)
{
    SlotLists moved = standardLists();
    // Germany's first tank to France's recon list, and Norway's only empty list filled.
    moved[74].push_back(moved[49].front());
    moved[49].erase(moved[49].begin());
    moved[0].push_back(5);
    moved[179].pop_back();
    writeFile("p_slots.txt", slotFileOf(moved));

    EXPECT_EQ(runImport(), TransferEnd::Succeeded);
    EXPECT_EQ(readFile("pg.exe"), executableWith(original.size(), address - 1, regionOf(moved)));
}

TEST_F(TableShapeTest, AnExportedTableImportsWhateverItsValues)
{
    // Negative numbers other than -1 and the extremes of 16 bits, in lists of the standard
    // lengths.
    SlotLists odd = standardLists();
    int next = 2;
    for (auto& list : odd) {
        for (std::int16_t& entry : list) {
            entry = static_cast<std::int16_t>(-next++);
        }
    }
    odd[1][0] = -32768;
    odd[1][1] = 32767;
    const std::string region = regionOf(odd);
    ASSERT_EQ(region.size(), 1292u);
    writeFile("pg.exe", executableWith(original.size(), address - 1, region));
    ASSERT_EQ(runExport(), TransferEnd::Succeeded);
    // The exported file goes into an executable that holds another table.
    writeFile("pg.exe", original);

    EXPECT_EQ(runImport(), TransferEnd::Succeeded);
    EXPECT_EQ(readFile("pg.exe"), executableWith(original.size(), address - 1, region));
}

} // namespace
} // namespace zarn::testing
