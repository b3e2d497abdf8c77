#include "transfer_fixture.h"

#include <gtest/gtest.h>

namespace zarn::testing {
namespace {

class ImportTest : public TransferTest
{
protected:
    // A Panzer General executable with the standard table at `address`, and its slot file.
    std::string writePanzerGeneral(std::int32_t address = 101, std::size_t tail = 300)
    {
        const std::string region = regionOf(standardLists());
        const std::string executable = executableWith(
            address - 1 + region.size() + tail, static_cast<std::size_t>(address) - 1, region);
        writeFile("pg.exe", executable);
        choose(Game::PanzerGeneral, address);
        return executable;
    }

    // The standard slot file with line `line` (1-based) replaced by `text`.
    static std::string withLine(std::size_t line, const std::string& text)
    {
        std::string file = slotFileOf(standardLists());
        std::size_t start = 0;
        for (std::size_t i = 1; i < line; ++i) {
            start = file.find("\r\n", start) + 2;
        }
        const std::size_t end = file.find("\r\n", start);
        return file.replace(start, end - start, text);
    }

    // Expects the import to refuse with `message` and leave the folder as it was.
    void expectRefusal(const std::string& message)
    {
        const std::string executable = readFile("pg.exe");
        const std::vector<std::string> names = fileNames();
        messages.shown.clear();
        EXPECT_EQ(runImport(), TransferEnd::Failed);
        EXPECT_EQ(messages.shown, std::vector<std::string>{message});
        EXPECT_EQ(readFile("pg.exe"), executable);
        EXPECT_EQ(fileNames(), names);
    }
};

// Line 3 of the standard slot file is Norway's empty Infantry list; line 5 the first Tank entry.
constexpr std::size_t firstUnitLine = 5;

std::size_t differingBytes(const std::string& a, const std::string& b)
{
    EXPECT_EQ(a.size(), b.size());
    std::size_t count = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        count += a[i] != b[i];
    }
    return count;
}

TEST_F(ImportTest, WritesAnUnchangedAlliedGeneralTableBackByteForByte)
{
    writeAlliedGeneral();
    const std::string original = readFile("ag.exe");
    choose(Game::AlliedGeneral);
    ASSERT_EQ(runExport(), TransferEnd::Succeeded);

    EXPECT_EQ(runImport(), TransferEnd::Succeeded);
    EXPECT_EQ(readFile("ag.exe"), original);
    EXPECT_TRUE(messages.shown.empty());
    // Nothing changed, so nothing was written and no safety copy was needed.
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt"}));
}

TEST_F(ImportTest, OneEditedNumberChangesExactlyItsTwoBytes)
{
    writeAlliedGeneral();
    const std::string original = readFile("ag.exe");
    writeFile("p_slots.txt", withLine(firstUnitLine, "513"));
    choose(Game::AlliedGeneral);

    EXPECT_EQ(runImport(), TransferEnd::Succeeded);
    const std::string changed = readFile("ag.exe");
    EXPECT_EQ(differingBytes(original, changed), 2u);
    // Norway's Infantry list is the terminator alone, so the first unit is the second entry.
    EXPECT_EQ(changed.substr(alliedGeneralOffset + 2, 2), std::string("\x01\x02", 2));
    EXPECT_EQ(readFile("ag.exe.orig"), original);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "ag.exe.orig", "p_slots.txt"}));
}

TEST_F(ImportTest, StoresEachValueRoundedDown)
{
    struct Case
    {
        std::string text;
        std::size_t line;
        std::string bytes;
    };
    // Values that round down to -1 stand in for the -1 on line 3, the table's first entry; the
    // others for the first unit on line 5, its second entry.
    const Case cases[] = {
        {"7.9", firstUnitLine, std::string("\x07\x00", 2)},
        {"-0.5", 3, "\xFF\xFF"},
        {"32767.9", firstUnitLine, "\xFF\x7F"},
        {"-32768", firstUnitLine, std::string("\x00\x80", 2)},
        {"&HFFFF", 3, "\xFF\xFF"},
        {"&HFFFE", firstUnitLine, "\xFE\xFF"},
        {" 1 2 ", firstUnitLine, std::string("\x0C\x00", 2)},
        {"\"300\"", firstUnitLine, std::string("\x2C\x01", 2)},
        {"5abc", firstUnitLine, std::string("\x05\x00", 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        writePanzerGeneral();
        writeFile("p_slots.txt", withLine(c.line, c.text));

        EXPECT_EQ(runImport(), TransferEnd::Succeeded);
        EXPECT_EQ(readFile("pg.exe").substr(c.line == 3 ? 100 : 102, 2), c.bytes);
    }
}

TEST_F(ImportTest, AcceptsOtherLineEndsAndItemsSharingALine)
{
    const std::string expected =
        executableWith(101 - 1 + 1292 + 300, 100, regionOf(standardLists()));
    std::string commas = slotFileOf(standardLists());
    // Join "Norway", "Infantry" and -1 on one line.
    commas.replace(commas.find("\r\n"), 2, ",");
    commas.replace(commas.find("\r\n"), 2, " , ");
    const std::string standard = slotFileOf(standardLists());
    const std::u16string wide(standard.begin(), standard.end());
    std::u16string accented = wide;
    accented.replace(accented.find(u"Norway"), 6, u"Norw\u00e9gen \u20ac");
    const std::string files[] = {slotFileOf(standardLists(), "\n"),
                                 // Saved as "Unicode" by Notepad, and in the other byte order.
                                 utf16File(wide, false), utf16File(wide, true),
                                 utf16File(accented, false), slotFileOf(standardLists(), "\r"),
                                 commas,
                                 // The last item may end without a line end.
                                 standard.substr(0, standard.size() - 2),
                                 // A quote left open ends at its line end.
                                 withLine(1, "\"Norway, Sweden")};
    for (const std::string& file : files) {
        writePanzerGeneral();
        // Make the executable differ from the file, so that the import has to write.
        writeFile("pg.exe", executableWith(expected.size(), 100, std::string(1292, '\x05')));
        writeFile("p_slots.txt", file);

        EXPECT_EQ(runImport(), TransferEnd::Succeeded);
        EXPECT_EQ(readFile("pg.exe"), expected);
    }
}

TEST_F(ImportTest, RefusesAWrongEntryCountWithTheCountMessage)
{
    struct Case
    {
        std::string file;
        int count;
    };
    const std::string standard = slotFileOf(standardLists());
    const Case cases[] = {
        // An empty line pushes the last -1 out of the 841 items read.
        {"\r\n" + standard, 645},
        {withLine(firstUnitLine, ""), 645},
        {withLine(firstUnitLine, "0"), 645},
        {withLine(firstUnitLine, "Tiger"), 645},
        {withLine(1, "12"), 647},
        {withLine(2, "5,6"), 647},
        {std::string(841, '\n'), 0},
    };
    writePanzerGeneral();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        writeFile("p_slots.txt", c.file);
        expectRefusal("Error  !\rInput file contains  " + std::to_string(c.count) +
                      " entries.\rThere must be exactly 646 unit entries !\rag.exe file NOT "
                      "modified.");
    }
}

TEST_F(ImportTest, RefusesEntriesBeyondThe841stItem)
{
    writePanzerGeneral();
    // A unit added to Norway's Tank list without deleting another pushes the last -1 to line 842.
    std::string added = slotFileOf(standardLists());
    added.insert(added.find("\r\n", added.find("\"Tank\"")) + 2, "77\r\n");
    writeFile("p_slots.txt", added);
    expectRefusal("Error  !\rInput file contains  1 entry too many: there must be exactly 646 unit "
                  "entries !\rThe first list whose length differs from pg.exe is Norway, Tank, "
                  "starting on line 5.\rTo add a unit you must delete a unit.\rpg.exe file NOT "
                  "modified.");

    writeFile("p_slots.txt", slotFileOf(standardLists()) + "\r\n\"extra\"\r\n3\r\n4,5\r\n");
    expectRefusal("Error  !\rInput file contains  3 entries too many: there must be exactly 646 "
                  "unit entries !\rEvery list has the length it has in pg.exe; the entries from "
                  "line 844 on come after the last -1.\rTo add a unit you must delete a "
                  "unit.\rpg.exe file NOT modified.");
}

TEST_F(ImportTest, AcceptsNamesAndBlankLinesAfterThe841stItem)
{
    const std::string executable = writePanzerGeneral();
    writeFile("p_slots.txt", withLine(firstUnitLine, "9") + "\r\n\"notes\"\r\n0\r\n\r\n");

    EXPECT_EQ(runImport(), TransferEnd::Succeeded);
    EXPECT_EQ(differingBytes(readFile("pg.exe"), executable), 1u);
}

TEST_F(ImportTest, RefusesEntriesOutsideSixteenBits)
{
    struct Case
    {
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"32768", "32768"},   {"-32768.5", "-32769"},
        {"40000.7", "40000"}, {"1e300", "1e+300"},
        {"&H10000", "65536"}, {std::string(1, '1').append(400, '0'), "1.79769313486232e+308"},
    };
    writePanzerGeneral();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        writeFile("p_slots.txt", withLine(firstUnitLine, c.text));
        expectRefusal("Error  !\rThe entry " + c.shown +
                      " on line 5 is out of range.\rUnit entries must lie between -32768 and "
                      "32767 !\rpg.exe file NOT modified.");
    }
}

TEST_F(ImportTest, ReportsASlotFileThatEndsTooSoonInLinesAndEntries)
{
    const std::string executable = writePanzerGeneral();
    const std::string standard = slotFileOf(standardLists());
    const std::string names = "\"Norway\"\r\n\"Infantry\"\r\n";
    struct Case
    {
        std::string file;
        std::string error;
    };
    const std::string needed =
        " where 841 are needed: 15 country names, 180 class names and 646 entries.\r";
    const Case cases[] = {
        {standard.substr(0, standard.rfind("-1\r\n")),
         "840 lines" + needed +
             "It holds 645 entries: a unit or a -1 was deleted without one added in its place."},
        {standard.substr(names.size()),
         "839 lines" + needed +
             "Its 646 entries are all there: a country or class name was deleted; put its line "
             "back."},
        {"7\r\n-1\r\n" + standard.substr(names.size() + std::string("-1\r\n\"Tank\"\r\n").size()),
         "839 lines" + needed +
             "It holds 647 entries: names were deleted and units added; to add a unit you must "
             "delete a unit."},
        {"\"Norway\"\r\n-1\r\n",
         "2 lines" + needed +
             "It holds 1 entry: a unit or a -1 was deleted without one added in its place."},
        {"", "0 lines" + needed +
                 "It holds no entries at all: export the table again to start afresh."},
        {"\"only one name\"",
         "1 line" + needed + "It holds no entries at all: export the table again to start afresh."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        writeFile("p_slots.txt", c.file);
        EXPECT_EQ(runtimeErrorOf([this] { return runImport(); }),
                  (folder / "p_slots.txt").string() + " has only " + c.error);
        EXPECT_EQ(readFile("pg.exe"), executable);
    }
}

TEST_F(ImportTest, ReportsAMissingSlotFile)
{
    const std::string executable = writePanzerGeneral();
    const std::string error = runtimeErrorOf([this] { return runImport(); });
#ifdef _WIN32
    // The system's own text, which differs between Windows and Wine.
    EXPECT_TRUE(error.starts_with((folder / "p_slots.txt").string() + " could not be opened: "))
        << error;
#else
    EXPECT_EQ(error, (folder / "p_slots.txt").string() +
                         " could not be opened: No such file or directory");
#endif
    EXPECT_EQ(readFile("pg.exe"), executable);
    EXPECT_EQ(fileNames(), std::vector<std::string>{"pg.exe"});
}

TEST_F(ImportTest, StopsEarlyWithoutAGameOrAnExecutable)
{
    writeFile("p_slots.txt", slotFileOf(standardLists()));
    EXPECT_EQ(runImport(), TransferEnd::StoppedEarly);

    choose(Game::PanzerGeneral);
    EXPECT_EQ(runImport(), TransferEnd::StoppedEarly);
    EXPECT_EQ(messages.shown,
              (std::vector<std::string>{"Please select Panzer General or Allied General to edit.",
                                        "Could not find " + (folder / "pg.exe").string() +
                                            "\rMake sure it is in the zarn folder."}));
    // The missing executable is never created.
    EXPECT_EQ(fileNames(), std::vector<std::string>{"p_slots.txt"});
}

TEST_F(ImportTest, RefusesAlliedGeneralOfAnotherBuild)
{
    writeFile("ag.exe", executableWith(alliedGeneralLength - 1, alliedGeneralOffset,
                                       regionOf(standardLists())));
    writeFile("p_slots.txt", withLine(firstUnitLine, "9"));
    const std::string executable = readFile("ag.exe");
    choose(Game::AlliedGeneral);
    EXPECT_EQ(runImport(), TransferEnd::Failed);

    writeAlliedGeneral();
    choose(Game::AlliedGeneral, defaultSlotAddress - 2);
    EXPECT_EQ(runImport(), TransferEnd::Failed);
    EXPECT_EQ(messages.shown,
              (std::vector<std::string>{
                  "AG.EXE is the wrong file length\rSorry this program only works with ag.exe "
                  "WITH autoscroll",
                  "AG.EXE is at the wrong slot address\rSorry this program only works with ag.exe "
                  "at the default slot address 1883345"}));
    EXPECT_EQ(readFile("ag.exe"),
              executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(standardLists())));
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt"}));
}

TEST_F(ImportTest, WritesATableThatEndsAtTheLastByte)
{
    const std::string executable = writePanzerGeneral(101, 0);
    writeFile("p_slots.txt", withLine(firstUnitLine, "9"));

    EXPECT_EQ(runImport(), TransferEnd::Succeeded);
    EXPECT_EQ(differingBytes(readFile("pg.exe"), executable), 1u);
}

TEST_F(ImportTest, RefusesATableThatWouldRunPastTheEnd)
{
    writePanzerGeneral(101, 0);
    writeFile("p_slots.txt", withLine(firstUnitLine, "9"));
    choose(Game::PanzerGeneral, 102);
    expectRefusal("Error  !\rThe 646 entries from address 102 on would run past the end of pg.exe "
                  "(1392 bytes).\rpg.exe file NOT modified.");
    choose(Game::PanzerGeneral, 2147483647);
    expectRefusal("Error  !\rThe 646 entries from address 2147483647 on would run past the end of "
                  "pg.exe (1392 bytes).\rpg.exe file NOT modified.");
}

TEST_F(ImportTest, ReportsAddressesBeforeTheFileAsRuntimeErrors)
{
    const std::string executable = writePanzerGeneral();
    writeFile("p_slots.txt", withLine(firstUnitLine, "9"));
    for (const std::int32_t address : {0, -5}) {
        choose(Game::PanzerGeneral, address);
        EXPECT_EQ(runtimeErrorOf([this] { return runImport(); }),
                  "The slot address " + std::to_string(address) +
                      " lies before the first byte of " + (folder / "pg.exe").string() +
                      "; addresses start at 1.");
        EXPECT_EQ(readFile("pg.exe"), executable);
    }
}

TEST_F(ImportTest, KeepsTheFirstOriginalAsTheSafetyCopy)
{
    const std::string original = writePanzerGeneral();
    writeFile("p_slots.txt", withLine(firstUnitLine, "9"));
    ASSERT_EQ(runImport(), TransferEnd::Succeeded);
    const std::string firstChange = readFile("pg.exe");
    writeFile("p_slots.txt", withLine(firstUnitLine, "10"));
    ASSERT_EQ(runImport(), TransferEnd::Succeeded);

    EXPECT_NE(readFile("pg.exe"), firstChange);
    EXPECT_EQ(readFile("pg.exe.orig"), original);
}

TEST_F(ImportTest, WritesNothingWhenTheSafetyCopyCannotBeMade)
{
    const std::string executable = writePanzerGeneral();
    writeFile("p_slots.txt", withLine(firstUnitLine, "9"));
    std::filesystem::create_directory(folder / "pg.exe.orig");

    EXPECT_EQ(runImport(), TransferEnd::StoppedEarly);
    EXPECT_EQ(messages.shown,
              std::vector<std::string>{(folder / "pg.exe.orig").string() +
                                       " is a folder, not a copy of the game: move it away and "
                                       "try again, and zarn keeps the copy there."});
    EXPECT_EQ(readFile("pg.exe"), executable);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"p_slots.txt", "pg.exe", "pg.exe.orig"}));
}

TEST_F(ImportTest, KeepsThePermissionsOfTheExecutableAndItsSafetyCopy)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows files have no POSIX permission bits; a new file takes its access "
                    "rights from its folder";
#endif
    writePanzerGeneral();
    writeFile("p_slots.txt", withLine(firstUnitLine, "9"));
    using std::filesystem::perms;
    const perms mode = perms::owner_read | perms::owner_write | perms::owner_exec |
                       perms::group_read | perms::others_exec;
    std::filesystem::permissions(folder / "pg.exe", mode);

    EXPECT_EQ(runImport(), TransferEnd::Succeeded);
    EXPECT_EQ(std::filesystem::status(folder / "pg.exe").permissions(), mode);
    EXPECT_EQ(std::filesystem::status(folder / "pg.exe.orig").permissions(), mode);
}

TEST_F(ImportTest, WritesThroughALinkedExecutable)
{
#ifdef _WIN32
    GTEST_SKIP() << windowsHasNoSymlinks;
#endif
    const std::string executable = writePanzerGeneral();
    std::filesystem::create_directory(folder / "game");
    std::filesystem::rename(folder / "pg.exe", folder / "game" / "pg.exe");
    std::filesystem::create_symlink(folder / "game" / "pg.exe", folder / "pg.exe");
    writeFile("p_slots.txt", withLine(firstUnitLine, "9"));

    EXPECT_EQ(runImport(), TransferEnd::Succeeded);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "pg.exe"));
    EXPECT_EQ(differingBytes(readFile("game/pg.exe"), executable), 1u);
    // The copy stays where its privacy is, beside the file itself.
    EXPECT_EQ(readFile("game/pg.exe.orig"), executable);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"game", "p_slots.txt", "pg.exe"}));
}

TEST_F(ImportTest, ReportsAReadOnlyFolderAndChangesNothing)
{
    ScratchMount mount(folder / "game", "8m");
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.whyNot();
    }
    folder /= "game";
    const std::string executable = writePanzerGeneral();
    writeFile("p_slots.txt", withLine(firstUnitLine, "9"));
    mount.makeReadOnly();

    EXPECT_EQ(runtimeErrorOf([this] { return runImport(); }),
              "The folder " + folder.string() +
                  " cannot be written: Read-only file system\rzarn keeps its files beside the "
                  "game: copy the game and zarn into a folder where you may create files.");
    EXPECT_EQ(readFile("pg.exe"), executable);
}

TEST_F(ImportTest, ReportsAFullDiskAndChangesNothing)
{
    ScratchMount mount(folder / "game", "2200k");
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.whyNot();
    }
    folder /= "game";
    writeAlliedGeneral();
    const std::string executable = readFile("ag.exe");
    writeFile("p_slots.txt", withLine(firstUnitLine, "9"));
    choose(Game::AlliedGeneral);

    const std::string executablePath = (folder / "ag.exe").string();
    EXPECT_EQ(runtimeErrorOf([this] { return runImport(); }),
              executablePath + " was not changed: its safety copy could not be made. " +
                  executablePath + ".orig could not be written: No space left on device");
    EXPECT_EQ(readFile("ag.exe"), executable);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt"}));

    // With a safety copy that takes no room, the new executable itself does not fit.
    writeFile("ag.exe.orig", "");
    std::filesystem::resize_file(folder / "ag.exe.orig", alliedGeneralLength);
    EXPECT_EQ(runtimeErrorOf([this] { return runImport(); }),
              executablePath + " could not be written: No space left on device");
    EXPECT_EQ(readFile("ag.exe"), executable);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "ag.exe.orig", "p_slots.txt"}));
}

} // namespace
} // namespace zarn::testing
