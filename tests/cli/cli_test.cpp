// zarn-cli through the built program: what it prints to each stream, how it ends, and the files
// it leaves, byte for byte. The transfers themselves are the core's, tested there.
#include "child_process.h"
#include "folder_files.h"
#include "transfer_fixture.h"
#include "zarn/version.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace zarn::testing {
namespace {

const std::string usage = "usage: zarn-cli export [--game ag|pg] [--address N] [FOLDER]\n"
                          "       zarn-cli import [--game ag|pg] [--address N] [FOLDER]\n"
                          "       zarn-cli diff   [--game ag|pg] [--address N] [FOLDER]\n"
                          "       zarn-cli check  [--strict] [FILE]\n"
                          "       zarn-cli --help | --version\n";

// A path as zarn-cli prints it.
std::string printed(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

class CliTest : public TransferTest
{
protected:
    CliTest() { useNewFolder(); }

    // Runs zarn-cli in the program folder.
    ProgramRun run(const std::vector<std::string>& arguments)
    {
        return runProgram({std::filesystem::absolute(ZARN_CLI_PROGRAM), arguments, folder});
    }

    // Expects the run to end with `status`, having printed `out` and `err`.
    static void expectRun(const ProgramRun& run, int status, const std::string& out,
                          const std::string& err)
    {
        EXPECT_EQ(run.status, status);
        EXPECT_EQ(run.out, out);
        EXPECT_EQ(run.err, err);
    }

    std::string folderText() const { return printed(folder); }
};

TEST_F(CliTest, ExportWritesTheTableOfTheOneGameInTheFolder)
{
    // A folder name in another language, given on the command line from elsewhere.
    writeAlliedGeneral();
    const std::filesystem::path game = folder;
    useNewFolder();
    const std::filesystem::path named = folder / u8"Spielst\u00e4nde \u00e4";
    std::filesystem::rename(game, named);

    expectRun(run({"export", printed(named)}), 0, "",
              "Exported the table of ag.exe into p_slots.txt.\n");
    EXPECT_EQ(readWholeFile(named / "p_slots.txt"), slotFileOf(standardLists()));
}

TEST_F(CliTest, ImportWritesTheEditedTableIntoTheGameChosen)
{
    writeAlliedGeneral();
    const std::string original = readFile("ag.exe");
    writeFile("pg.exe", "not a game");
    writeFile("p_slots.txt", slotFileOf(editedLists()));

    expectRun(run({"import", "--game=ag", "--address", "0x1CBCD1"}), 0, "",
              "Imported p_slots.txt into ag.exe.\n");
    EXPECT_EQ(readFile("ag.exe"),
              executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(editedLists())));
    EXPECT_EQ(readFile("ag.exe.orig"), original);
}

TEST_F(CliTest, ImportNamesTheFilesAsTheyAreSpelled)
{
    writeFile("AG.EXE",
              executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(standardLists())));
    writeFile("P_SLOTS.TXT", slotFileOf(editedLists()));

    expectRun(run({"import"}), 0, "", "Imported P_SLOTS.TXT into AG.EXE.\n");
    expectRun(run({"export"}), 0, "", "Exported the table of AG.EXE into P_SLOTS.TXT.\n");
}

TEST_F(CliTest, TakesAFileOrFolderNamedDash)
{
    std::filesystem::create_directory(folder / "-");
    writeFile("-/ag.exe",
              executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(standardLists())));
    expectRun(run({"export", "-"}), 0, "", "Exported the table of ag.exe into p_slots.txt.\n");
    std::filesystem::rename(folder / "-" / "p_slots.txt", folder / "lists");
    std::filesystem::remove_all(folder / "-");
    std::filesystem::rename(folder / "lists", folder / "-");
    expectRun(run({"check", "-"}), 0,
              printed(folder / "-") + " holds a whole table: 646 entries in 180 lists.\n", "");
}

#ifndef _WIN32
TEST_F(CliTest, ShowsNamesWithoutObeyingThem)
{
    // Names that would clear the screen, set the clipboard and print a line of their own.
    const std::string name = "x\x1b[2J\x1b]52;c;ZmFrZQ==\x07\rImported p_slots.txt into ag.exe.";
    const std::string escaped =
        "x\\x1b[2J\\x1b]52;c;ZmFrZQ==\\x07\\x0dImported p_slots.txt into ag.exe.";
    expectRun(run({"export", name}), 1, "",
              "The folder " + folderText() + "/" + escaped +
                  " does not exist.\nStart zarn on the folder that holds the game's ag.exe or "
                  "pg.exe.\n");
    std::filesystem::create_directory(folder / name);
    expectRun(run({"import", "--game", "pg", name}), 1, "",
              "Could not find " + folderText() + "/" + escaped + "/pg.exe\n");
    expectRun(run({"export", ".", name}), 64, "",
              "zarn-cli: one folder or file at most: " + escaped + " is one too many\n" + usage);
}
#endif

TEST_F(CliTest, PrintsEachRefusalAsLinesAndEndsWithOne)
{
    // Each case runs in a new folder, which "{}" in its message, where it has one, stands for.
    struct Case
    {
        std::vector<std::string> arguments;
        std::function<void()> prepare;
        std::string err;
    };
    const auto allied = [this] {
        writeAlliedGeneral();
        writeFile("p_slots.txt", "\r\n" + slotFileOf(standardLists()));
    };
    const std::string separator(1, static_cast<char>(std::filesystem::path::preferred_separator));
    const std::string startOnTheGame =
        "\nStart zarn on the folder that holds the game's ag.exe or pg.exe.\n";
    const Case cases[] = {
        {{"export"},
         [] {},
         "The folder {} holds neither ag.exe nor pg.exe.\nGive the game's folder after the "
         "command, or run zarn-cli in that folder.\n"},
        // The window's advice to put the game beside zarn fits no script.
        {{"import", "--game", "pg"}, [] {}, "Could not find {}" + separator + "pg.exe\n"},
        {{"diff", "--address", "1883346"},
         allied,
         "AG.EXE is at the wrong slot address\nSorry this program only works with ag.exe at the "
         "default slot address 1883345\n"},
        {{"export", "elsewhere"},
         allied,
         "The folder {}" + separator + "elsewhere does not exist." + startOnTheGame},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
        useNewFolder();
        c.prepare();
        const std::vector<std::string> before = fileNames();
        const std::string executable = readFile("ag.exe");
        std::string err = c.err;
        if (const std::size_t at = err.find("{}"); at != std::string::npos) {
            err.replace(at, 2, folderText());
        }
        expectRun(run(c.arguments), 1, "", err);
        EXPECT_EQ(fileNames(), before);
        EXPECT_EQ(readFile("ag.exe"), executable);
    }
}

// What the window reports as run-time errors but the folder holds ends with 1, as a refusal;
// exit_status_test.cpp maps each kind.
TEST_F(CliTest, ReportsAShortSlotFileAsARefusal)
{
    writeAlliedGeneral();
    writeFile("p_slots.txt", "\"Norway\"\r\n-1\r\n");
    expectRun(run({"check"}), 1, "",
              printed(folder / "p_slots.txt") +
                  " has only 2 lines where 841 are needed: 15 country names, 180 class names and "
                  "646 entries.\nIt holds 1 entry: a unit or a -1 was deleted without one added "
                  "in its place.\n");
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt"}));
}

TEST_F(CliTest, ReportsTheSystemFailingAsARunTimeErrorAndEndsWithTwo)
{
    ScratchMount mount(folder / "game", "8m");
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.whyNot();
    }
    folder /= "game";
    writeAlliedGeneral();
    writeFile("p_slots.txt", slotFileOf(editedLists()));
    mount.makeReadOnly();

    expectRun(run({"import"}), 2, "",
              "Run-time error\nThe folder " + folderText() +
                  " cannot be written: Read-only file system\nzarn keeps its files beside the "
                  "game: copy the game and zarn into a folder where you may create files.\n");
}

TEST_F(CliTest, RefusesCommandLinesItDoesNotTakeWithTheUsage)
{
    writeAlliedGeneral();
    writeFile("PG.EXE", "MZ");
    expectRun(run({"export", "--address", "1883345abc"}), 64, "",
              "zarn-cli: --address takes a whole number from 1 to 2147483647, in decimal or in "
              "hexadecimal after &H or 0x, not 1883345abc\n" +
                  usage);
    expectRun(run({"import", "."}), 64, "",
              "zarn-cli: " + folderText() +
                  " holds both pg.exe and ag.exe: pass --game pg or --game ag\n" + usage);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"PG.EXE", "ag.exe"}));
}

TEST_F(CliTest, ShowsItsHelpAndVersion)
{
    const ProgramRun help = run({"help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with(usage + "\n")) << help.out;
    EXPECT_NE(help.out.find("Exit status: 0 done, 1 refused for what the folder holds"),
              std::string::npos);
    EXPECT_EQ(help.err, "");
    expectRun(run({"--version"}), 0, std::string("zarn-cli ") + zarn::version + "\n", "");
}

TEST_F(CliTest, ChecksASlotFileWithoutAGame)
{
    writeFile("p_slots.txt", slotFileOf(standardLists()));
    expectRun(run({"check"}), 0,
              printed(folder / "p_slots.txt") + " holds a whole table: 646 entries in 180 lists.\n",
              "");
    std::filesystem::create_directory(folder / "mods");
    writeFile("mods/tanks.txt", slotFileOf(standardLists()) + "77\r\n");
    expectRun(run({"check", "mods/tanks.txt"}), 1, "",
              "Error  !\nInput file contains  1 entry too many: there must be exactly 646 unit "
              "entries !\nTo add a unit you must delete a unit.\n");
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"mods", "p_slots.txt"}));
}

TEST_F(CliTest, ChecksListTheEntriesThatHoldMoreThanANumberAndStrictRefusesThem)
{
    // Line 5 holds Norway's first tank.
    std::string file = slotFileOf(standardLists());
    const std::string tank = std::to_string(standardLists()[1][0]);
    const std::size_t at = file.find("\r\n" + tank + "\r\n") + 2;
    file.replace(at, tank.size(), tank + "S");
    writeFile("p_slots.txt", file);
    const std::string warning = "line 5: \"" + tank + "S\" is read as " + tank + "\n";

    expectRun(run({"check"}), 0,
              warning + printed(folder / "p_slots.txt") +
                  " holds a whole table: 646 entries in 180 lists.\n",
              "");
    expectRun(run({"check", "--strict"}), 1, warning,
              "--strict: 1 entry line of " + printed(folder / "p_slots.txt") +
                  " holds more than a whole number.\n");
}

TEST_F(CliTest, DiffListsWhatTheImportWouldChangeAndWritesNothing)
{
    writeAlliedGeneral();
    const std::string original = readFile("ag.exe");
    const SlotLists standard = standardLists();
    SlotLists edited = standard;
    edited[49][1] = 4660;
    std::swap(edited[50][0], edited[50][1]);
    edited[74].push_back(edited[1][0]);
    edited[1].erase(edited[1].begin());
    // Germany's new tank carries a note.
    std::string file = slotFileOf(edited);
    const std::size_t at = file.find("\r\n4660\r\n") + 2;
    file.insert(at + 4, " Tiger");
    writeFile("p_slots.txt", file);
    const std::size_t line =
        1 + static_cast<std::size_t>(
                std::count(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(at), '\n'));

    expectRun(run({"diff"}), 0,
              "line " + std::to_string(line) +
                  ": \"4660 Tiger\" is read as 4660\n"
                  "Norway, Tank: -" +
                  std::to_string(standard[1][0]) + "\nGermany, Tank: -" +
                  std::to_string(standard[49][1]) +
                  " +4660\nGermany, Recon: the same units in another order\nFrance, Recon: +" +
                  std::to_string(standard[1][0]) +
                  "\nThe import would change 4 lists: 2 units removed, 2 units added.\n",
              "");
    writeFile("p_slots.txt", slotFileOf(standard));
    expectRun(run({"diff"}), 0, "no change\n", "");
    EXPECT_EQ(readFile("ag.exe"), original);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt"}));
}

#ifndef _WIN32
TEST_F(CliTest, FailsWhenItsResultsAreLostButNotWhenItPrintsNone)
{
    writeAlliedGeneral();
    writeFile("p_slots.txt", slotFileOf(editedLists()));
    const auto runToFull = [this](const std::vector<std::string>& arguments) {
        return runProgram(
            {std::filesystem::absolute(ZARN_CLI_PROGRAM), arguments, folder, {}, "/dev/full"});
    };
    const ProgramRun diff = runToFull({"diff"});
    EXPECT_EQ(diff.status, 2);
    EXPECT_EQ(diff.err, "zarn-cli: standard output could not be written\n");

    const ProgramRun import = runToFull({"import"});
    EXPECT_EQ(import.status, 0);
    EXPECT_EQ(import.err, "Imported p_slots.txt into ag.exe.\n");
    EXPECT_TRUE(exists("ag.exe.orig"));
}
#else
TEST_F(CliTest, TakesCmdsQuotedFolderWithItsClosingBackslash)
{
    // An install script beside the game: "%~dp0" is its own folder, with a closing backslash.
    writeAlliedGeneral();
    writeFile("p_slots.txt", slotFileOf(standardLists()));
    writeFile("install.bat", "@\"" + printed(std::filesystem::absolute(ZARN_CLI_PROGRAM)) +
                                 "\" diff \"%~dp0\" --game ag\r\n");
    expectRun(runProgram({folder / "install.bat", {}, folder}), 0, "no change\n", "");
}
#endif

} // namespace
} // namespace zarn::testing
