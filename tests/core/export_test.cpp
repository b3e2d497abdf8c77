#include "folder_files.h"
#include "transfer_fixture.h"

#include <gtest/gtest.h>
#include <optional>

namespace zarn::testing {
namespace {

using ExportTest = TransferTest;

const std::string oldSlotFile = "\"my own edits\"\r\n1\r\n2\r\n";

std::size_t lineCount(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(ExportTest, WritesTheAlliedGeneralTableByteForByte)
{
    writeAlliedGeneral();
    writeFile("p_slots.txt", oldSlotFile);
    choose(Game::AlliedGeneral);

    EXPECT_EQ(runExport(), TransferEnd::Succeeded);

    const std::string written = readFile("p_slots.txt");
    EXPECT_EQ(written, slotFileOf(standardLists()));
    EXPECT_EQ(lineCount(written), 841u);
    const std::string head = "\"Norway\"\r\n\"Infantry\"\r\n-1\r\n\"Tank\"\r\n";
    EXPECT_EQ(written.substr(0, head.size()), head);
    EXPECT_TRUE(messages.refusals.empty());
    EXPECT_EQ(readFile("p_slots.txt.bak"), oldSlotFile);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt", "p_slots.txt.bak"}));
}

TEST_F(ExportTest, KeepsAReplacedSlotFileThatDiffersAsBak)
{
    struct Case
    {
        const char* what;
        std::optional<std::string> oldSlotFile;
        std::optional<std::string> oldBackup;
        std::optional<std::string> backup; // after the export
    };
    const std::string exported = slotFileOf(standardLists());
    const Case cases[] = {
        {"no slot file", std::nullopt, std::nullopt, std::nullopt},
        {"an edited slot file", oldSlotFile, std::nullopt, oldSlotFile},
        {"an edited slot file and an older backup", oldSlotFile, "older", oldSlotFile},
        {"the same slot file", exported, std::nullopt, std::nullopt},
        {"the same slot file and an older backup", exported, "older", "older"},
        {"the same slot file and more", exported + "\r\n", "older", exported + "\r\n"},
        {"the slot file cut short", exported.substr(0, 100), std::nullopt, exported.substr(0, 100)},
        {"a large slot file", std::string(3 * 64 * 1024 + 7, 'x'), "older",
         std::string(3 * 64 * 1024 + 7, 'x')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        useNewFolder();
        writeAlliedGeneral();
        if (c.oldSlotFile) {
            writeFile("p_slots.txt", *c.oldSlotFile);
        }
        if (c.oldBackup) {
            writeFile("p_slots.txt.bak", *c.oldBackup);
        }
        choose(Game::AlliedGeneral);

        EXPECT_EQ(runExport(), TransferEnd::Succeeded);
        EXPECT_EQ(readFile("p_slots.txt"), exported);
        std::vector<std::string> names = {"ag.exe", "p_slots.txt"};
        if (c.backup) {
            EXPECT_EQ(readFile("p_slots.txt.bak"), *c.backup);
            names.push_back("p_slots.txt.bak");
        }
        EXPECT_EQ(fileNames(), names);
    }
}

TEST_F(ExportTest, ComparesASlotFileLongerThanOneWriteBlockWhole)
{
    // Panzer General takes lists of any length: these make about 140 KB of text.
    SlotLists lists = standardLists();
    lists.front().assign(20000, 30000);
    const std::string region = regionOf(lists);
    const std::string exported = slotFileOf(lists);
    std::string changedAtTheEnd = exported;
    changedAtTheEnd[changedAtTheEnd.size() - 3] = '9';
    struct Case
    {
        const char* what;
        std::string oldSlotFile;
        bool keepsBackup;
    };
    const Case cases[] = {
        {"the same file", exported, false},
        {"a file that differs in its last block", changedAtTheEnd, true},
        {"the same file without its last line", exported.substr(0, exported.size() - 4), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        useNewFolder();
        writeFile("pg.exe", executableWith(region.size() + 100, 100, region));
        writeFile("p_slots.txt", c.oldSlotFile);
        choose(Game::PanzerGeneral, 101);

        EXPECT_EQ(runExport(), TransferEnd::Succeeded);
        EXPECT_EQ(readFile("p_slots.txt"), exported);
        EXPECT_EQ(exists("p_slots.txt.bak"), c.keepsBackup);
    }
}

TEST_F(ExportTest, TheNewSlotFileAndItsBackupAreAsPrivateAsTheOldOne)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows files have no POSIX permission bits";
#endif
    using std::filesystem::perms;
    for (const perms mode : {perms::owner_read | perms::owner_write,
                             perms::owner_read | perms::owner_write | perms::group_read}) {
        SCOPED_TRACE(static_cast<int>(mode));
        useNewFolder();
        writeAlliedGeneral();
        writeFile("p_slots.txt", oldSlotFile);
        std::filesystem::permissions(folder / "p_slots.txt", mode);
        choose(Game::AlliedGeneral);

        EXPECT_EQ(runExport(), TransferEnd::Succeeded);
        EXPECT_EQ(std::filesystem::status(folder / "p_slots.txt").permissions(), mode);
        EXPECT_EQ(std::filesystem::status(folder / "p_slots.txt.bak").permissions(), mode);
    }
}

TEST_F(ExportTest, ChangesNothingWhenTheBackupCannotBeMade)
{
    writeAlliedGeneral();
    writeFile("p_slots.txt", oldSlotFile);
    std::filesystem::create_directory(folder / "p_slots.txt.bak");
    choose(Game::AlliedGeneral);

    EXPECT_EQ(runExport(), TransferEnd::StoppedEarly);
    EXPECT_EQ(messages.refusals, (std::vector<Refusal>{BackupInTheWay{
                                     shown("p_slots.txt.bak"), FileKind::Folder, "p_slots.txt"}}));
    EXPECT_EQ(readFile("p_slots.txt"), oldSlotFile);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "p_slots.txt.bak"));
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt", "p_slots.txt.bak"}));
}

TEST_F(ExportTest, ReadsPanzerGeneralAtAnyAddress)
{
    for (const std::int32_t address : {1, 2, 101, 4000}) {
        SCOPED_TRACE(address);
        const std::string region = regionOf(standardLists());
        writeFile("pg.exe", executableWith(address - 1 + region.size() + 7, address - 1, region));
        choose(Game::PanzerGeneral, address);

        EXPECT_EQ(runExport(), TransferEnd::Succeeded);
        EXPECT_EQ(readFile("p_slots.txt"), slotFileOf(standardLists()));
    }
}

TEST_F(ExportTest, CopiesListsWhateverTheirTotal)
{
    SlotLists lists(180);
    lists[0] = {5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    lists[179] = {-7, 0};
    const std::string region = regionOf(lists);
    writeFile("pg.exe", executableWith(region.size() + 100, 50, region));
    choose(Game::PanzerGeneral, 51);

    EXPECT_EQ(runExport(), TransferEnd::Succeeded);
    EXPECT_EQ(readFile("p_slots.txt"), slotFileOf(lists));
    EXPECT_EQ(lineCount(readFile("p_slots.txt")), 195u + 180u + 18u);
}

TEST_F(ExportTest, StopsEarlyWhenTheExecutableIsMissingOrNoFile)
{
    writeFile("p_slots.txt", oldSlotFile);
    std::filesystem::create_directory(folder / "pg.exe");
    for (const char* target : {"ag.exe", "pg.exe"}) {
        SCOPED_TRACE(target);
        messages.refusals.clear();
        const bool isAlliedGeneral = target == std::string("ag.exe");
        choose(isAlliedGeneral ? Game::AlliedGeneral : Game::PanzerGeneral);

        EXPECT_EQ(runExport(), TransferEnd::StoppedEarly);
        EXPECT_EQ(messages.refusals,
                  (std::vector<Refusal>{
                      isAlliedGeneral ? Refusal(ExecutableMissing{shown(target)})
                                      : NotAFile{shown(target), shown(target), FileKind::Folder}}));
        EXPECT_EQ(readFile("p_slots.txt"), oldSlotFile);
    }
}

TEST_F(ExportTest, RefusesAlliedGeneralOfAnotherBuildAndKeepsTheOldSlotFile)
{
    struct Case
    {
        std::size_t length;
        std::int32_t address;
        Refusal refusal;
    };
    // Which builds zarn trusts is editor_state_test.cpp's.
    const Case cases[] = {
        {alliedGeneralLength - 1, defaultSlotAddress, WrongLength{}},
        {alliedGeneralLength, defaultSlotAddress + 1, WrongAddress{}},
    };
    for (const bool hadSlotFile : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(c.length) + " bytes at " + std::to_string(c.address));
            std::filesystem::remove(folder / "p_slots.txt");
            if (hadSlotFile) {
                writeFile("p_slots.txt", oldSlotFile);
            }
            writeFile("ag.exe", executableWith(c.length, 0, regionOf(standardLists())));
            messages.refusals.clear();
            choose(Game::AlliedGeneral, c.address);

            EXPECT_EQ(runExport(), TransferEnd::Failed);
            EXPECT_EQ(messages.refusals, (std::vector<Refusal>{c.refusal}));
            EXPECT_EQ(exists("p_slots.txt"), hadSlotFile);
            if (hadSlotFile) {
                EXPECT_EQ(readFile("p_slots.txt"), oldSlotFile);
            }
            EXPECT_EQ(fileNames().size(), hadSlotFile ? 2u : 1u);
        }
    }
}

// The way to the game folder may lead through links, as many in a row as the system itself
// follows (40) and no more: a longer chain, as a loop of links is, ends the export unwritten.
TEST_F(ExportTest, FollowsAsManyLinksOnTheWayAsTheSystemDoes)
{
#ifdef _WIN32
    GTEST_SKIP() << windowsHasNoSymlinks;
#endif
    useNewFolder();
    writeAlliedGeneral();
    choose(Game::AlliedGeneral);
    const std::filesystem::path game = folder;
    const std::filesystem::path links = game.parent_path() / "links";
    std::filesystem::create_directory(links);
    std::filesystem::create_directory_symlink(game, links / "1");
    for (int link = 2; link <= 41; ++link) {
        std::filesystem::create_directory_symlink(links / std::to_string(link - 1),
                                                  links / std::to_string(link));
    }

    folder = links / "41";
    const Failure tooMany = failureOf([this] { return runExport(); });
    ASSERT_TRUE(std::holds_alternative<FileFailed>(tooMany));
    EXPECT_EQ(std::get<FileFailed>(tooMany).action, FileAction::Opened);
    EXPECT_FALSE(std::filesystem::exists(game / "p_slots.txt"));

    folder = links / "40";
    EXPECT_EQ(runExport(), TransferEnd::Succeeded);
    EXPECT_TRUE(std::filesystem::exists(game / "p_slots.txt"));
}

// A file on the way to the game folder is named as the folder that is not one, where zarn walks
// the way name by name; Windows opens the whole path at once and names it.
TEST_F(ExportTest, NamesAFileOnTheWayAsTheFolderThatIsNotOne)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows opens the game folder by its whole path";
#endif
    writeAlliedGeneral();
    choose(Game::AlliedGeneral);
    const std::filesystem::path file = folder / "ag.exe";
    folder = file / "sub";
    const Failure failure = failureOf([this] { return runExport(); });
    ASSERT_TRUE(std::holds_alternative<FileFailed>(failure));
    EXPECT_EQ(std::get<FileFailed>(failure).file, file.string());
    EXPECT_EQ(std::get<FileFailed>(failure).action, FileAction::Opened);
}

TEST_F(ExportTest, ReportsAddressesBeforeTheFileAsRuntimeErrors)
{
    writeFile("pg.exe", executableWith(2000, 0, regionOf(standardLists())));
    writeFile("p_slots.txt", oldSlotFile);
    for (const std::int32_t address : {0, -1, -2147483647 - 1}) {
        choose(Game::PanzerGeneral, address);
        EXPECT_EQ(failureOf([this] { return runExport(); }),
                  Failure(AddressBeforeStart{address, shown("pg.exe")}));
        EXPECT_EQ(readFile("p_slots.txt"), oldSlotFile);
    }
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"p_slots.txt", "pg.exe"}));
}

TEST_F(ExportTest, RefusesAListThatRunsOffTheEndAndKeepsTheOldSlotFile)
{
    struct Case
    {
        const char* what;
        std::string executable;
        std::int32_t address;
        // Where the executable ends, and in which list, by country and class from 1.
        std::uint64_t length;
        int country;
        int unitClass;
    };
    const std::string region = regionOf(standardLists());
    const Case cases[] = {
        {"two bytes short of the last -1", region.substr(0, region.size() - 2), 1, 1290, 15, 12},
        {"an odd last byte", region.substr(0, region.size() - 1), 1, 1291, 15, 12},
        {"no -1 anywhere", std::string(5000, '\x01'), 1, 5000, 1, 1},
        {"an address past the end", region, 5000, 1292, 1, 1},
        {"an empty file", "", 1, 0, 1, 1},
    };
    writeFile("p_slots.txt", oldSlotFile);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile("pg.exe", c.executable);
        choose(Game::PanzerGeneral, c.address);

        messages.refusals.clear();
        EXPECT_EQ(runExport(), TransferEnd::Failed);
        EXPECT_EQ(messages.refusals, (std::vector<Refusal>{ListRunsOffEnd{
                                         shown("pg.exe"), c.length, c.country, c.unitClass}}));
        EXPECT_EQ(readFile("p_slots.txt"), oldSlotFile);
        EXPECT_EQ(fileNames(), (std::vector<std::string>{"p_slots.txt", "pg.exe"}));
    }
}

TEST_F(ExportTest, WritesThroughALinkedSlotFile)
{
#ifdef _WIN32
    GTEST_SKIP() << windowsHasNoSymlinks;
#endif
    // A link that leads elsewhere in full, and one that leads on from its own folder while zarn
    // runs in another folder that holds a file of that name too.
    const std::filesystem::path startedIn = std::filesystem::current_path();
    for (const bool relative : {false, true}) {
        SCOPED_TRACE(relative ? "relative link" : "full link");
        useNewFolder();
        const std::filesystem::path elsewhere = folder / "elsewhere";
        std::filesystem::create_directories(elsewhere / "lists");
        writeFile("elsewhere/lists/mine.txt", oldSlotFile);
        std::filesystem::current_path(elsewhere);
        folder /= "game";
        std::filesystem::create_directories(folder / "lists");
        writeAlliedGeneral();
        writeFile("lists/mine.txt", oldSlotFile);
        std::filesystem::create_symlink(relative ? "lists/mine.txt" : folder / "lists" / "mine.txt",
                                        folder / "p_slots.txt");
        choose(Game::AlliedGeneral);

        EXPECT_EQ(runExport(), TransferEnd::Succeeded);
        std::filesystem::current_path(startedIn);
        EXPECT_TRUE(std::filesystem::is_symlink(folder / "p_slots.txt"));
        EXPECT_EQ(readFile("lists/mine.txt"), slotFileOf(standardLists()));
        // The copy stays where its privacy is, beside the file itself.
        EXPECT_EQ(readFile("lists/mine.txt.bak"), oldSlotFile);
        EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "lists", "p_slots.txt"}));
        EXPECT_EQ(sortedNames(elsewhere / "lists"), std::vector<std::string>{"mine.txt"});
        EXPECT_EQ(readWholeFile(elsewhere / "lists" / "mine.txt"), oldSlotFile);
    }
}

TEST_F(ExportTest, ReportsAReadOnlyFolderAndChangesNothing)
{
    ScratchMount mount(folder / "game", "8m");
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.whyNot();
    }
    folder /= "game";
    writeAlliedGeneral();
    writeFile("p_slots.txt", oldSlotFile);
    mount.makeReadOnly();
    choose(Game::AlliedGeneral);

    EXPECT_EQ(failureOf([this] { return runExport(); }),
              Failure(FolderNotWritable{folder.string(), "Read-only file system"}));
    EXPECT_EQ(readFile("p_slots.txt"), oldSlotFile);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt"}));
}

TEST_F(ExportTest, ReportsAFullDiskAndKeepsTheOldSlotFile)
{
    ScratchMount mount(folder / "game", "2200k");
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.whyNot();
    }
    folder /= "game";
    writeAlliedGeneral();
    writeFile("p_slots.txt", oldSlotFile);
    // Fill what is left of the disk.
    writeFile("filler", std::string(200 * 1024, 'x'));
    choose(Game::AlliedGeneral);

    EXPECT_EQ(failureOf([this] { return runExport(); }),
              Failure(FileFailed{shown("p_slots.txt"), FileAction::Written,
                                 "No space left on device", FaultOf::System, std::nullopt}));
    EXPECT_EQ(readFile("p_slots.txt"), oldSlotFile);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "filler", "p_slots.txt"}));
}

} // namespace
} // namespace zarn::testing
