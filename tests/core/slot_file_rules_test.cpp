// The slot file's rules as the import reads them, one row a text: the table it makes, or why it
// is refused. The import, check, diff and the window each have a test of their own that they
// apply these rules, and of what they do with the files.
#include "recording_presenter.h"
#include "synthetic_game.h"
#include "zarn/runtime_error.h"
#include "zarn/slot_file_check.h"

#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>
#include <variant>

namespace zarn::testing {
namespace {

using Lines = std::vector<std::string>;

// The standard slot file, its lines (0-based, without their line ends) edited by `edit`.
std::string standardWith(const std::function<void(Lines&)>& edit)
{
    Lines lines;
    std::istringstream in(slotFileOf(standardLists()));
    for (std::string line; std::getline(in, line);) {
        line.pop_back(); // the CR of CR LF
        lines.push_back(line);
    }
    edit(lines);
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// The standard slot file with line `line` (1-based) replaced by `text`.
std::string withLine(std::size_t line, const std::string& text)
{
    return standardWith([&](Lines& lines) { lines[line - 1] = text; });
}

// In the standard slot file, line 3 is the -1 of Norway's empty Infantry list, line 5 the first
// unit of its Tank list; Germany's Tank list holds lines 250 to 252 and its -1 on line 253;
// France's Recon list holds lines 377 to 379; Finland's Land Transport list, the last, holds lines
// 838 to 840 and its -1 on line 841.
constexpr std::size_t firstUnitLine = 5;

std::string standardRegion()
{
    return regionOf(standardLists());
}

// The table of the standard lists with the first unit changed to `unit`.
std::string withFirstUnit(std::int16_t unit)
{
    SlotLists lists = standardLists();
    lists[1][0] = unit;
    return regionOf(lists);
}

std::string repeated(const std::string& piece, std::size_t times)
{
    std::string text;
    for (std::size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

// A slot file that the import refuses, going into pg.exe whose table is the standard one.
SlotFileRefused refused(TableFault fault, std::optional<WhereToLook> where = std::nullopt)
{
    return {fault, "pg.exe", where};
}

SlotFileTooShort tooShort(std::size_t items, std::size_t entries)
{
    return {"p_slots.txt", items, entries};
}

const WhereToLook germanyTank{49, 250};

// What the import makes of a slot file: the table it writes, its refusal, or its run-time error.
using Found = std::variant<std::string, SlotFileRefused, SlotFileTooShort>;

struct Row
{
    const char* what;
    std::string text;
    Found found;
};

std::vector<Row> rows()
{
    const std::string standard = slotFileOf(standardLists());
    const std::string names = "\"Norway\"\r\n\"Infantry\"\r\n";
    SlotLists moved = standardLists();
    // Germany's first tank to France's recon list, and Norway's empty list filled.
    moved[74].push_back(moved[49].front());
    moved[49].erase(moved[49].begin());
    moved[0].push_back(5);
    moved[179].pop_back();
    std::string withoutLineEnds = standard;
    std::erase(withoutLineEnds, '\r');
    std::erase(withoutLineEnds, '\n');
    const std::string largest = "1" + std::string(400, '0');

    return {
        // How entries are read, and rounded down.
        {"the standard table", standard, standardRegion()},
        {"7.9", withLine(firstUnitLine, "7.9"), withFirstUnit(7)},
        {"-0.5 for a -1", withLine(3, "-0.5"), standardRegion()},
        {"32767.9", withLine(firstUnitLine, "32767.9"), withFirstUnit(32767)},
        {"-32768", withLine(firstUnitLine, "-32768"), withFirstUnit(-32768)},
        {"&HFFFF for a -1", withLine(3, "&HFFFF"), standardRegion()},
        {"&HFFFE", withLine(firstUnitLine, "&HFFFE"), withFirstUnit(-2)},
        {"blanks inside a number", withLine(firstUnitLine, " 1 2 "), withFirstUnit(12)},
        {"a number in quotes", withLine(firstUnitLine, "\"300\""), withFirstUnit(300)},
        {"a note after a number", withLine(firstUnitLine, "5abc"), withFirstUnit(5)},
        {"names and blank lines after the 841st item",
         withLine(firstUnitLine, "9") + "\r\n\"notes\"\r\n0\r\n\r\n", withFirstUnit(9)},
        {"units moved between lists", slotFileOf(moved), regionOf(moved)},
        // How a text splits into items is slot_file_test.cpp's; the UTF-16 text that Notepad
        // saves reads as a whole table.
        {"UTF-16", utf16File(std::u16string(standard.begin(), standard.end()), true),
         standardRegion()},

        // The count of entries among the first 841 items.
        {"an empty line pushes the last -1 out", "\r\n" + standard, refused(WrongCount{645})},
        {"an empty line for a unit", withLine(firstUnitLine, ""), refused(WrongCount{645})},
        {"0 for a unit", withLine(firstUnitLine, "0"), refused(WrongCount{645})},
        {"a name for a unit", withLine(firstUnitLine, "Tiger"), refused(WrongCount{645})},
        {"a number for a name", withLine(1, "12"), refused(WrongCount{647})},
        {"two numbers on a line", withLine(2, "5,6"), refused(WrongCount{647})},
        {"841 empty lines", std::string(841, '\n'), refused(WrongCount{0})},
        {"a million commas before the first entry",
         withLine(2, "\"Infantry\"" + std::string(1000000, ',')), refused(WrongCount{0})},
        {"only names", repeated("\"Norway\"\r\n", 841), refused(WrongCount{0})},
        {"only names, on one line", repeated("\"Norway\",", 2000), refused(WrongCount{0})},

        // Entries after the 841st item.
        {"a unit added without one deleted",
         standardWith([](Lines& lines) { lines.insert(lines.begin() + 4, "77"); }),
         refused(ExtraEntries{1}, WhereToLook{1, firstUnitLine})},
        {"entries after the table", standard + "\r\n\"extra\"\r\n3\r\n4,5\r\n",
         refused(ExtraEntries{3}, WhereToLook{std::nullopt, 844})},

        // Entries outside 16 bits.
        {"32768", withLine(firstUnitLine, "32768"), refused(EntryOutOfRange{32768, 5})},
        {"-32768.5", withLine(firstUnitLine, "-32768.5"), refused(EntryOutOfRange{-32769, 5})},
        {"40000.7", withLine(firstUnitLine, "40000.7"), refused(EntryOutOfRange{40000, 5})},
        {"1e300", withLine(firstUnitLine, "1e300"), refused(EntryOutOfRange{1e300, 5})},
        {"&H10000", withLine(firstUnitLine, "&H10000"), refused(EntryOutOfRange{65536, 5})},
        {"beyond any double", withLine(firstUnitLine, largest),
         refused(EntryOutOfRange{std::numeric_limits<double>::max(), 5})},

        // Entries that do not form the 180 lists.
        {"a unit added, and the last -1 deleted to make room", standardWith([](Lines& lines) {
             lines.insert(lines.begin() + 250, "77");
             lines.pop_back();
         }),
         refused(LastListOpen{841, 179}, germanyTank)},
        {"a -1 deleted in one list and a unit added in a later one", standardWith([](Lines& lines) {
             lines.erase(lines.begin() + 252);
             lines.insert(lines.begin() + 376, "77");
         }),
         refused(TerminatorMissing{179, 841}, germanyTank)},
        {"a -1 added in one list and a unit deleted in a later one", standardWith([](Lines& lines) {
             lines.insert(lines.begin() + 250, "-1");
             lines.erase(lines.begin() + 377);
         }),
         refused(EntryAfterLastList{838}, germanyTank)},
        {"the last -1 replaced by a unit", withLine(841, "77"),
         refused(LastListOpen{841, 179}, WhereToLook{179, 838})},
        {"the last -1 moved up one line",
         standardWith([](Lines& lines) { std::swap(lines[839], lines[840]); }),
         refused(EntryAfterLastList{841}, WhereToLook{179, 838})},

        // Fewer than 841 items: a run-time error, which says what the file lacks.
        {"the last line deleted", standard.substr(0, standard.rfind("-1\r\n")), tooShort(840, 645)},
        {"the first names deleted", standard.substr(names.size()), tooShort(839, 646)},
        {"names deleted and units added",
         "7\r\n-1\r\n" + standard.substr(names.size() + std::string("-1\r\n\"Tank\"\r\n").size()),
         tooShort(839, 647)},
        {"two lines", "\"Norway\"\r\n-1\r\n", tooShort(2, 1)},
        {"an empty file", "", tooShort(0, 0)},
        {"one name without a line end", "\"only one name\"", tooShort(1, 0)},
        {"only blank lines", std::string(100, '\n'), tooShort(100, 0)},
        {"only blanks and tabs", std::string(5000, ' ') + "\t\t", tooShort(0, 0)},
        {"an unclosed quote that swallows the file", "\"" + withoutLineEnds, tooShort(1, 0)},
    };
}

Found foundIn(const std::string& text)
{
    std::istringstream in(text);
    const std::string region = standardRegion();
    try {
        const SlotFileReading reading =
            readSlotFile(in, "p_slots.txt", TargetTable{"pg.exe", region});
        if (!reading.refusal) {
            return reading.region;
        }
        return std::get<SlotFileRefused>(*reading.refusal);
    } catch (const RuntimeError& error) {
        return std::get<SlotFileTooShort>(error.failure());
    }
}

TEST(SlotFileRules, EachTextMakesItsTableOrIsRefusedForWhatItLacks)
{
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.what);
        const Found found = foundIn(row.text);
        if (const auto* region = std::get_if<std::string>(&row.found)) {
            // Compared as a truth, as GoogleTest would print 1292 bytes twice.
            EXPECT_TRUE(std::get_if<std::string>(&found) != nullptr &&
                        std::get<std::string>(found) == *region)
                << "not the expected table";
        } else {
            EXPECT_EQ(found, row.found);
        }
    }
}

TEST(SlotFileRules, ListsTheEntriesWhoseLinesHoldMoreThanAWholeNumber)
{
    // Lines 5 and 6 hold Norway's first tanks; line 841 holds the last -1.
    const std::int16_t tank = standardLists()[1][1];
    std::istringstream in(standardWith([&](Lines& lines) {
        lines[4] = "1e2";
        lines[5] += " Tiger";
        lines[840] = "-0.5";
    }));
    const SlotFileReading reading = readSlotFile(in, "p_slots.txt", std::nullopt);
    EXPECT_EQ(reading.refusal, std::nullopt);
    EXPECT_EQ(reading.unclearEntries,
              (std::vector<UnclearEntry>{
                  {5, "1e2", 100}, {6, std::to_string(tank) + " Tiger", tank}, {841, "-0.5", -1}}));
}

} // namespace
} // namespace zarn::testing
