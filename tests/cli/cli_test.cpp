// zarn-cli through the built program: what it prints to each stream, how it ends, and the files
// it leaves, byte for byte. The transfers themselves are the core's, tested there.
#include "child_process.h"
#include "folder_files.h"
#include "transfer_fixture.h"
#include "zarn/version.h"

#include <gtest/gtest.h>

namespace zarn::testing {
namespace {

const std::string usage = "usage: zarn-cli export [--game ag|pg] [--address N] [FOLDER]\n"
                          "       zarn-cli import [--game ag|pg] [--address N] [FOLDER]\n"
                          "       zarn-cli diff   [--game ag|pg] [--address N] [FOLDER]\n"
                          "       zarn-cli check  [FILE]\n"
                          "       zarn-cli --help | --version\n";

// A path as zarn-cli prints it.
std::string shown(const std::filesystem::path& path)
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

    std::string folderText() const { return shown(folder); }
};

TEST_F(CliTest, ExportWritesTheTableOfTheOneGameInTheFolder)
{
    // A folder name in another language, given on the command line from elsewhere.
    writeAlliedGeneral();
    const std::filesystem::path game = folder;
    useNewFolder();
    const std::filesystem::path named = folder / u8"Spielst\u00e4nde \u00e4";
    std::filesystem::rename(game, named);

    expectRun(run({"export", shown(named)}), 0, "Exported the table of ag.exe into p_slots.txt.\n",
              "");
    EXPECT_EQ(readWholeFile(named / "p_slots.txt"), slotFileOf(standardLists()));
}

TEST_F(CliTest, ImportWritesTheEditedTableIntoTheGameChosen)
{
    writeAlliedGeneral();
    const std::string original = readFile("ag.exe");
    writeFile("pg.exe", "not a game");
    writeFile("p_slots.txt", slotFileOf(editedLists()));

    expectRun(run({"import", "--game=ag", "--address", "1883345"}), 0,
              "Imported p_slots.txt into ag.exe.\n", "");
    EXPECT_EQ(readFile("ag.exe"),
              executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(editedLists())));
    EXPECT_EQ(readFile("ag.exe.orig"), original);
}

TEST_F(CliTest, ImportNamesTheFilesAsTheyAreSpelled)
{
    writeFile("AG.EXE",
              executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(standardLists())));
    writeFile("P_SLOTS.TXT", slotFileOf(editedLists()));

    expectRun(run({"import"}), 0, "Imported P_SLOTS.TXT into AG.EXE.\n", "");
    expectRun(run({"export"}), 0, "Exported the table of AG.EXE into P_SLOTS.TXT.\n", "");
}

TEST_F(CliTest, TakesAFileOrFolderNamedDash)
{
    std::filesystem::create_directory(folder / "-");
    writeFile("-/ag.exe",
              executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(standardLists())));
    expectRun(run({"export", "-"}), 0, "Exported the table of ag.exe into p_slots.txt.\n", "");
    std::filesystem::rename(folder / "-" / "p_slots.txt", folder / "lists");
    std::filesystem::remove_all(folder / "-");
    std::filesystem::rename(folder / "lists", folder / "-");
    expectRun(run({"check", "-"}), 0,
              shown(folder / "-") + " holds a whole table: 646 entries in 180 lists.\n", "");
}

#ifndef _WIN32
TEST_F(CliTest, ShowsNamesWithoutObeyingThem)
{
    // Names that would clear the screen, set the clipboard and print a line of their own.
    const std::string name = "x\x1b[2J\x1b]52;c;ZmFrZQ==\x07\rImported p_slots.txt into ag.exe.";
    const std::string escaped =
        "x\\x1b[2J\\x1b]52;c;ZmFrZQ==\\x07\\x0dImported p_slots.txt into ag.exe.";
    expectRun(run({"export", name}), 1, "",
              "The folder " + folderText() + "/" + escaped + " does not exist.\n");
    std::filesystem::create_directory(folder / name);
    expectRun(run({"import", "--game", "pg", name}), 1, "",
              "Could not find " + folderText() + "/" + escaped +
                  "/pg.exe\nMake sure it is in the zarn folder.\n");
    expectRun(run({"export", ".", name}), 64, "",
              "zarn-cli: one folder or file at most: " + escaped + " is one too many\n" + usage);
}
#endif

TEST_F(CliTest, PrintsEachRefusalAsLinesAndEndsWithOne)
{
    struct Case
    {
        std::vector<std::string> arguments;
        bool alliedGeneralPresent;
        std::string err;
    };
    const Case cases[] = {
        {{"export"}, false, "Please select Panzer General or Allied General to edit.\n"},
        {{"import", "--game", "pg"},
         false,
         "Could not find " + shown(folder / "pg.exe") + "\nMake sure it is in the zarn folder.\n"},
        {{"diff", "--address", "1883346"},
         true,
         "AG.EXE is at the wrong slot address\nSorry this program only works with ag.exe at the "
         "default slot address 1883345\n"},
        {{"import"},
         true,
         "Error  !\nInput file contains  645 entries.\nThere must be exactly 646 unit entries "
         "!\nag.exe file NOT modified.\n"},
        {{"export", "elsewhere"},
         true,
         "The folder " + shown(folder / "elsewhere") + " does not exist.\n"},
        {{"diff", "ag.exe"},
         true,
         shown(folder / "ag.exe") + " is not a folder: give the folder that holds the game.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
        if (c.alliedGeneralPresent && !exists("ag.exe")) {
            writeAlliedGeneral();
            writeFile("p_slots.txt", "\r\n" + slotFileOf(standardLists()));
        }
        const std::vector<std::string> before = fileNames();
        const std::string executable = readFile("ag.exe");
        expectRun(run(c.arguments), 1, "", c.err);
        EXPECT_EQ(fileNames(), before);
        EXPECT_EQ(readFile("ag.exe"), executable);
    }
}

TEST_F(CliTest, ReportsRunTimeErrorsAndEndsWithTwo)
{
    writeAlliedGeneral();
    const ProgramRun missing = run({"diff"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    const std::string notOpened =
        "Run-time error\n" + shown(folder / "p_slots.txt") + " could not be opened: ";
#ifdef _WIN32
    // The system's own text, which differs between Windows and Wine.
    EXPECT_TRUE(missing.err.starts_with(notOpened)) << missing.err;
#else
    EXPECT_EQ(missing.err, notOpened + "No such file or directory\n");
#endif
    writeFile("p_slots.txt", "\"Norway\"\r\n-1\r\n");
    expectRun(run({"check"}), 2, "",
              "Run-time error\n" + shown(folder / "p_slots.txt") +
                  " has only 2 lines where 841 are needed: 15 country names, 180 class names and "
                  "646 entries.\nIt holds 1 entry: a unit or a -1 was deleted without one added "
                  "in its place.\n");
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt"}));
}

TEST_F(CliTest, RefusesCommandLinesItDoesNotTakeWithTheUsage)
{
    struct Case
    {
        std::vector<std::string> arguments;
        std::string problem;
    };
    writeAlliedGeneral();
    writeFile("PG.EXE", "MZ");
    const Case cases[] = {
        {{}, "no command given"},
        {{"frobnicate"}, "unknown command frobnicate"},
        {{"--game", "ag"}, "unknown command --game"},
        {{"export", "--fast"}, "export takes no option --fast"},
        {{"check", "--game", "ag"}, "check takes no option --game"},
        {{"import", "--game", "xx"},
         "--game takes ag (Allied General) or pg (Panzer General), not xx"},
        {{"diff", "--address"}, "--address needs a value"},
        {{"export", "--address=2147483647.5"},
         "--address 2147483647.5 lies outside the addresses that fit 32 bits"},
        {{"export", ".", "--", "-x"}, "one folder or file at most: -x is one too many"},
        {{"import", "."},
         folderText() + " holds both pg.exe and ag.exe: pass --game pg or --game ag"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        expectRun(run(c.arguments), 64, "", "zarn-cli: " + c.problem + "\n" + usage);
    }
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"PG.EXE", "ag.exe"}));
}

TEST_F(CliTest, ShowsItsHelpAndVersion)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--help"}, {"import", "--game", "ag", "--help", "."}}) {
        const ProgramRun help = run(arguments);
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.starts_with(usage + "\n")) << help.out;
        EXPECT_NE(help.out.find("Exit status: 0 done, 1 refused"), std::string::npos);
        EXPECT_EQ(help.err, "");
    }
    expectRun(run({"--version"}), 0, std::string("zarn-cli ") + zarn::version + "\n", "");
}

TEST_F(CliTest, ChecksASlotFileWithoutAGame)
{
    writeFile("p_slots.txt", slotFileOf(standardLists()));
    expectRun(run({"check"}), 0,
              shown(folder / "p_slots.txt") + " holds a whole table: 646 entries in 180 lists.\n",
              "");
    std::filesystem::create_directory(folder / "mods");
    writeFile("mods/tanks.txt", slotFileOf(standardLists()) + "77\r\n");
    expectRun(run({"check", "mods/tanks.txt"}), 1, "",
              "Error  !\nInput file contains  1 entry too many: there must be exactly 646 unit "
              "entries !\nTo add a unit you must delete a unit.\n");
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"mods", "p_slots.txt"}));
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
    writeFile("p_slots.txt", slotFileOf(edited));

    expectRun(run({"diff"}), 0,
              "Norway, Tank: -" + std::to_string(standard[1][0]) + "\nGermany, Tank: -" +
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
TEST_F(CliTest, FailsWhenItsOutputIsLost)
{
    writeAlliedGeneral();
    writeFile("p_slots.txt", slotFileOf(standardLists()));
    const ProgramRun full = runProgram(
        {std::filesystem::absolute(ZARN_CLI_PROGRAM), {"diff"}, folder, {}, "/dev/full"});
    EXPECT_EQ(full.status, 2);
    EXPECT_EQ(full.err, "zarn-cli: standard output could not be written\n");
}
#endif

} // namespace
} // namespace zarn::testing
