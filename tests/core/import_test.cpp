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

    // Expects the import to refuse with `refusal` and leave the folder as it was.
    void expectRefusal(const Refusal& refusal)
    {
        const std::string executable = readFile("pg.exe");
        const std::vector<std::string> names = fileNames();
        messages.refusals.clear();
        EXPECT_EQ(runImport(), TransferEnd::Failed);
        EXPECT_EQ(messages.refusals, (std::vector<Refusal>{refusal}));
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
    EXPECT_TRUE(messages.refusals.empty());
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

TEST_F(ImportTest, WritesEveryEntryOverAnotherTable)
{
    const std::string original = writePanzerGeneral();
    writeFile("pg.exe", executableWith(original.size(), 100, std::string(1292, '\x05')));
    writeFile("p_slots.txt", slotFileOf(standardLists()));

    EXPECT_EQ(runImport(), TransferEnd::Succeeded);
    EXPECT_EQ(readFile("pg.exe"), original);
}

// The slot file's rules are slot_file_rules_test.cpp's; the import applies them, judged by its
// executable's table.
TEST_F(ImportTest, RefusesWhatTheSlotFileRulesRefuseAndWritesNothing)
{
    writePanzerGeneral();
    writeFile("p_slots.txt", "\r\n" + slotFileOf(standardLists()));
    expectRefusal(SlotFileRefused{WrongCount{645}, "pg.exe", std::nullopt});

    SlotLists added = standardLists();
    added[1].push_back(77);
    writeFile("p_slots.txt", slotFileOf(added));
    expectRefusal(SlotFileRefused{ExtraEntries{1}, "pg.exe", WhereToLook{1, firstUnitLine}});

    writeFile("p_slots.txt", "\"Norway\"\r\n-1\r\n");
    EXPECT_EQ(failureOf([this] { return runImport(); }),
              Failure(SlotFileTooShort{shown("p_slots.txt"), 2, 1}));
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"p_slots.txt", "pg.exe"}));
}

TEST_F(ImportTest, ReportsAMissingSlotFileAsTheFoldersFault)
{
    const std::string executable = writePanzerGeneral();
    const Failure failure = failureOf([this] { return runImport(); });
    const auto* failed = std::get_if<FileFailed>(&failure);
    ASSERT_NE(failed, nullptr) << messageText(failure);
    EXPECT_EQ(failed->file, shown("p_slots.txt"));
    EXPECT_EQ(failed->action, FileAction::Opened);
    EXPECT_EQ(failed->faultOf, FaultOf::Folder);
    EXPECT_EQ(readFile("pg.exe"), executable);
    EXPECT_EQ(fileNames(), std::vector<std::string>{"pg.exe"});
}

TEST_F(ImportTest, StopsEarlyWithoutAGameOrAnExecutable)
{
    writeFile("p_slots.txt", slotFileOf(standardLists()));
    EXPECT_EQ(runImport(), TransferEnd::StoppedEarly);

    choose(Game::PanzerGeneral);
    EXPECT_EQ(runImport(), TransferEnd::StoppedEarly);
    EXPECT_EQ(messages.refusals,
              (std::vector<Refusal>{SelectGame{}, ExecutableMissing{shown("pg.exe")}}));
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
    EXPECT_EQ(messages.refusals, (std::vector<Refusal>{WrongLength{}, WrongAddress{}}));
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
    expectRefusal(RegionPastEnd{102, 1392, "pg.exe"});
    choose(Game::PanzerGeneral, 2147483647);
    expectRefusal(RegionPastEnd{2147483647, 1392, "pg.exe"});
}

TEST_F(ImportTest, ReportsAddressesBeforeTheFileAsRuntimeErrors)
{
    const std::string executable = writePanzerGeneral();
    writeFile("p_slots.txt", withLine(firstUnitLine, "9"));
    for (const std::int32_t address : {0, -5}) {
        choose(Game::PanzerGeneral, address);
        EXPECT_EQ(failureOf([this] { return runImport(); }),
                  Failure(AddressBeforeStart{address, shown("pg.exe")}));
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
    EXPECT_EQ(messages.refusals,
              (std::vector<Refusal>{SafetyCopyInTheWay{shown("pg.exe.orig"), FileKind::Folder}}));
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

    EXPECT_EQ(failureOf([this] { return runImport(); }),
              Failure(FolderNotWritable{folder.string(), "Read-only file system"}));
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

    const auto full = [this](const char* name) {
        return FileFailed{shown(name), FileAction::Written, "No space left on device",
                          FaultOf::System, std::nullopt};
    };
    EXPECT_EQ(failureOf([this] { return runImport(); }),
              Failure(SafetyCopyFailed{shown("ag.exe"), full("ag.exe.orig")}));
    EXPECT_EQ(readFile("ag.exe"), executable);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt"}));

    // With a safety copy that takes no room, the new executable itself does not fit.
    writeFile("ag.exe.orig", "");
    std::filesystem::resize_file(folder / "ag.exe.orig", alliedGeneralLength);
    EXPECT_EQ(failureOf([this] { return runImport(); }), Failure(full("ag.exe")));
    EXPECT_EQ(readFile("ag.exe"), executable);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "ag.exe.orig", "p_slots.txt"}));
}

} // namespace
} // namespace zarn::testing
