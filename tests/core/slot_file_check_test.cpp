// A slot file checked on its own, as the import checks it, with no executable to compare with.
#include "folder_files.h"
#include "transfer_fixture.h"
#include "zarn/runtime_error.h"
#include "zarn/slot_file_check.h"

#include <gtest/gtest.h>
#include <sstream>

namespace zarn::testing {
namespace {

using SlotFileCheckTest = TransferTest;
using Lines = std::vector<std::string>;

// The lines of the standard slot file, edited by `edit` on 0-based indexes.
std::string standardFileEdited(const std::function<void(Lines&)>& edit)
{
    Lines lines;
    std::istringstream in(slotFileOf(standardLists()));
    for (std::string line; std::getline(in, line, '\n');) {
        lines.push_back(line + "\n");
    }
    edit(lines);
    std::string text;
    for (const std::string& line : lines) {
        text += line;
    }
    return text;
}

// The text of the run-time error that checking the file at `path` ends in.
std::string errorOf(const std::filesystem::path& path)
{
    try {
        checkSlotFile(path);
    } catch (const RuntimeError& error) {
        return error.what();
    }
    return "no run-time error";
}

TEST_F(SlotFileCheckTest, FindsNothingWrongWithAWholeTable)
{
    const std::string standard = slotFileOf(standardLists());
    const std::u16string wide(standard.begin(), standard.end());
    const std::string files[] = {standard, utf16File(wide, false),
                                 // Names and blank lines may follow the 841 items.
                                 standard + "\"notes\"\r\n0\r\n\r\n"};
    for (const std::string& file : files) {
        writeFile("p_slots.txt", file);
        EXPECT_EQ(checkSlotFile(folder / "p_slots.txt").refusal, std::nullopt);
    }
}

TEST_F(SlotFileCheckTest, RefusesAsTheImportDoesWithoutTheLinesAboutAnExecutable)
{
    struct Case
    {
        std::string file;
        std::string message;
    };
    const std::string standard = slotFileOf(standardLists());
    // The import's own tests check each refusal; these show that the check gives its words without
    // the lines about an executable.
    const Case cases[] = {
        {"\r\n" + standard, "Error  !\rInput file contains  645 entries.\rThere must be exactly "
                            "646 unit entries !"},
        // Germany's Tank list (lines 250 to 253) gains a unit, and the last -1 goes to make room.
        {standardFileEdited([](Lines& lines) {
             lines.insert(lines.begin() + 250, "77\r\n");
             lines.pop_back();
         }),
         "Error  !\rThe last entry, on line 841, is not -1: the list for Finland, Land Transport "
         "has no end !\rEvery list ends in -1: put back the -1 that was deleted, and to add a unit "
         "delete a unit."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        writeFile("p_slots.txt", c.file);
        EXPECT_EQ(checkSlotFile(folder / "p_slots.txt").refusal, c.message);
        EXPECT_EQ(fileNames(), std::vector<std::string>{"p_slots.txt"});
    }
}

TEST_F(SlotFileCheckTest, ListsTheEntriesWhoseLinesHoldMoreThanAWholeNumber)
{
    // Lines 5 and 6 hold Norway's first tanks; line 841 holds the last -1.
    writeFile("p_slots.txt", standardFileEdited([](Lines& lines) {
                  lines[4] = "1e2\r\n";
                  lines[5] = lines[5].substr(0, lines[5].size() - 2) + " Tiger\r\n";
                  lines[840] = "-0.5\r\n";
              }));
    const SlotFileCheck check = checkSlotFile(folder / "p_slots.txt");
    const std::int16_t tank = standardLists()[1][1];
    EXPECT_EQ(check.refusal, std::nullopt);
    EXPECT_EQ(check.unclearEntries,
              (std::vector<UnclearEntry>{
                  {5, "1e2", 100}, {6, std::to_string(tank) + " Tiger", tank}, {841, "-0.5", -1}}));
}

TEST_F(SlotFileCheckTest, ReportsAFileThatEndsTooSoonOrIsMissingAsRuntimeErrors)
{
    writeFile("short.txt", "\"Norway\"\r\n-1\r\n");
    EXPECT_EQ(errorOf(folder / "short.txt"),
              (folder / "short.txt").string() +
                  " has only 2 lines where 841 are needed: 15 country names, 180 class names and "
                  "646 entries.\rIt holds 1 entry: a unit or a -1 was deleted without one added "
                  "in its place.");
    EXPECT_TRUE(errorOf(folder / "missing.txt")
                    .starts_with((folder / "missing.txt").string() + " could not be opened: "));
}

TEST_F(SlotFileCheckTest, FindsTheFileInAnyCaseAndNamesItByItsFullPath)
{
    writeFile("P_SLOTS.TXT", "\r\n" + slotFileOf(standardLists()));
    EXPECT_TRUE(checkSlotFile(folder / "p_slots.txt").refusal.has_value());
    const std::filesystem::path accented = folder / u8"Panzerkampfwagen \u00e4.TXT";
    writeWholeFile(accented, slotFileOf(standardLists()));
    EXPECT_EQ(checkSlotFile(accented).refusal, std::nullopt);
    EXPECT_EQ(checkSlotFile(folder / u8"panzerkampfwagen \u00e4.txt").refusal, std::nullopt);

    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    writeFile("short.txt", "");
    const std::string error = errorOf("short.txt");
    std::filesystem::current_path(before);
    EXPECT_TRUE(error.starts_with((folder / "short.txt").string() + " has only 0 lines")) << error;
}

} // namespace
} // namespace zarn::testing
