// A game folder that other users can write: a link at a name that zarn makes up is never followed,
// a link at the name of the game or the slot file is followed only where the user made it, and no
// new file is more open than the one it replaces.
#include "child_process.h"
#include "transfer_fixture.h"
#include "zarn/runtime_error.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <iostream>
#include <unistd.h>

namespace zarn::testing {
namespace {

const std::string neverWritten = "a file that zarn must never write\n";
const std::string mine = "\"my own edits\"\r\n";

enum class Link
{
    ToAFile,
    ToNothing,
    ToAFolder,
};

class SharedFolderTest : public TransferTest
{
protected:
    // A fresh program folder with a standard Allied General and, beside it in "elsewhere", the
    // file and the folder that planted links lead to.
    void startCase()
    {
        useNewFolder();
        writeAlliedGeneral();
        std::filesystem::create_directories(folder / "elsewhere" / "folder");
        writeFile("elsewhere/victim", neverWritten);
        choose(Game::AlliedGeneral);
    }

    void plant(Link link, const std::string& name) const
    {
        const std::filesystem::path elsewhere = folder / "elsewhere";
        const std::filesystem::path at = folder / name;
        switch (link) {
        case Link::ToAFile:
            std::filesystem::create_symlink(elsewhere / "victim", at);
            break;
        case Link::ToNothing:
            std::filesystem::create_symlink(elsewhere / "absent", at);
            break;
        case Link::ToAFolder:
            std::filesystem::create_directory_symlink(elsewhere / "folder", at);
            break;
        }
    }

    void expectElsewhereUntouched() const
    {
        EXPECT_EQ(readFile("elsewhere/victim"), neverWritten);
        EXPECT_FALSE(std::filesystem::exists(folder / "elsewhere" / "absent"));
        EXPECT_TRUE(std::filesystem::is_empty(folder / "elsewhere" / "folder"));
    }
};

struct PlantedLink
{
    const char* what;
    Link link;
};
const PlantedLink plantedLinks[] = {
    {"a link to a file", Link::ToAFile},
    {"a link that leads nowhere", Link::ToNothing},
    {"a link to a folder", Link::ToAFolder},
};

TEST_F(SharedFolderTest, ALinkAtTheBackupNameIsReplacedByTheBackup)
{
    for (const PlantedLink& c : plantedLinks) {
        SCOPED_TRACE(c.what);
        startCase();
        writeFile("p_slots.txt", mine);
        plant(c.link, "p_slots.txt.bak");

        EXPECT_EQ(runExport(), TransferEnd::Succeeded);
        EXPECT_FALSE(std::filesystem::is_symlink(folder / "p_slots.txt.bak"));
        EXPECT_EQ(readFile("p_slots.txt.bak"), mine);
        EXPECT_EQ(readFile("p_slots.txt"), slotFileOf(standardLists()));
        expectElsewhereUntouched();
    }
}

TEST_F(SharedFolderTest, ALinkAtTheSafetyCopyNameIsInTheWay)
{
    for (const PlantedLink& c : plantedLinks) {
        SCOPED_TRACE(c.what);
        startCase();
        const std::string executable = readFile("ag.exe");
        writeFile("p_slots.txt", slotFileOf(editedLists()));
        plant(c.link, "ag.exe.orig");

        messages.refusals.clear();
        EXPECT_EQ(runImport(), TransferEnd::StoppedEarly);
        EXPECT_EQ(messages.refusals,
                  (std::vector<Refusal>{SafetyCopyInTheWay{shown("ag.exe.orig"), FileKind::Link}}));
        EXPECT_TRUE(readFile("ag.exe") == executable) << "ag.exe was changed";
        EXPECT_TRUE(std::filesystem::is_symlink(folder / "ag.exe.orig"));
        expectElsewhereUntouched();
    }
}

TEST_F(SharedFolderTest, ALinkThatAnotherUserMadeIsNotFollowed)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can make a link that belongs to another user";
    }
    struct Case
    {
        const char* what;
        bool isImport;
        // The name of the other user's link and the file it leads to, in the program folder.
        const char* link;
        const char* leadsTo;
    };
    const Case cases[] = {
        {"export, p_slots.txt", false, "p_slots.txt", "elsewhere/victim"},
        {"import, p_slots.txt", true, "p_slots.txt", "elsewhere/victim"},
        {"export, ag.exe", false, "ag.exe", "elsewhere/ag.exe"},
        {"import, ag.exe", true, "ag.exe", "elsewhere/ag.exe"},
        {"export, behind the user's own link", false, "elsewhere/link", "elsewhere/victim"},
    };
    constexpr uid_t stranger = 4242;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startCase();
        const std::string executable = readFile("ag.exe");
        writeFile("elsewhere/ag.exe", executable);
        writeFile("p_slots.txt", c.isImport ? slotFileOf(editedLists()) : mine);
        std::filesystem::remove(folder / c.link);
        std::filesystem::create_symlink(folder / c.leadsTo, folder / c.link);
        ASSERT_EQ(::lchown((folder / c.link).c_str(), stranger, stranger), 0);
        if (c.link == std::string("elsewhere/link")) {
            std::filesystem::remove(folder / "p_slots.txt");
            std::filesystem::create_symlink(folder / c.link, folder / "p_slots.txt");
        }
        const std::vector<std::string> names = fileNames();

        messages.refusals.clear();
        EXPECT_EQ(c.isImport ? runImport() : runExport(), TransferEnd::StoppedEarly);
        EXPECT_EQ(
            messages.refusals,
            (std::vector<Refusal>{StrangersLink{shown(c.link), shown(c.leadsTo), "user 4242"}}));
        EXPECT_EQ(fileNames(), names);
        EXPECT_TRUE(readFile("elsewhere/ag.exe") == executable) << "the game was changed";
        expectElsewhereUntouched();
    }
}

TEST_F(SharedFolderTest, AGroupThatCannotBeKeptGetsNoMoreThanEverybodyElse)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a file to a group that the user is not in";
    }
    constexpr uid_t nobody = 65534;
    constexpr gid_t othersGroup = 4242;
    startCase();
    std::filesystem::permissions(folder, std::filesystem::perms::all);
    writeFile("p_slots.txt", mine);
    ASSERT_EQ(::chown((folder / "p_slots.txt").c_str(), nobody, othersGroup), 0);
    ASSERT_EQ(::chmod((folder / "p_slots.txt").c_str(), 0660), 0);

    // The export runs as a user who owns p_slots.txt but is not in its group.
    const std::string modes = inChildProcess([this] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0) {
            return std::string("could not become nobody");
        }
        try {
            runExport();
        } catch (const RuntimeError& error) {
            return std::string(error.what());
        }
        const auto mode = [this](const char* name) {
            return std::to_string(
                static_cast<int>(std::filesystem::status(folder / name).permissions()));
        };
        return mode("p_slots.txt") + " " + mode("p_slots.txt.bak");
    });
    EXPECT_EQ(modes, std::to_string(0600) + " " + std::to_string(0600));
}

TEST_F(SharedFolderTest, ASafetyCopyThatIsNotTheUsersOwnOriginalStopsTheImport)
{
    struct Case
    {
        const char* what;
        std::size_t cut; // bytes the copy lacks
        bool strangers;
    };
    const Case cases[] = {
        {"one byte short", 1, false},
        {"another user's", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.strangers && ::geteuid() != 0) {
            std::cout << "Only root can give a file to another user: " << c.what
                      << " is left out.\n";
            continue;
        }
        startCase();
        const std::string executable = readFile("ag.exe");
        writeFile("ag.exe.orig", executable.substr(c.cut));
        if (c.strangers) {
            ASSERT_EQ(::chown((folder / "ag.exe.orig").c_str(), 4242, 4242), 0);
        }
        writeFile("p_slots.txt", slotFileOf(editedLists()));
        const std::vector<std::string> names = fileNames();
        messages.refusals.clear();
        const std::string copy = shown("ag.exe.orig");

        EXPECT_EQ(runImport(), TransferEnd::StoppedEarly);
        EXPECT_EQ(messages.refusals,
                  (std::vector<Refusal>{
                      c.strangers ? Refusal(SafetyCopyNotYours{copy, "user 4242"})
                                  : SafetyCopyWrongLength{copy, 2167610, "ag.exe", 2167611}}));
        EXPECT_TRUE(readFile("ag.exe") == executable) << "ag.exe was changed";
        EXPECT_EQ(fileNames(), names);
    }
}

// A folder that everyone may write and where only the owner of a file may remove or replace it,
// as /tmp: another user's files there are in the way of the user's transfer.
TEST_F(SharedFolderTest, AnotherUsersFilesInAStickyFolderLeaveTheUsersAsTheyWere)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can make files that belong to another user";
    }
    constexpr uid_t nobody = 65534;
    constexpr uid_t stranger = 4242;
    struct Case
    {
        const char* what;
        const char* strangersFile;
    };
    const Case cases[] = {
        {"another user's p_slots.txt", "p_slots.txt"},
        {"another user's file at the temporary name", "p_slots.txt.zarn-tmp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startCase();
        writeFile("p_slots.txt", mine);
        writeFile("p_slots.txt.bak", "\"my earlier edits\"\r\n");
        writeFile(c.strangersFile, "a file of another user's\n");
        for (const std::string& name : fileNames()) {
            const bool strangers = name == c.strangersFile;
            ASSERT_EQ(::lchown((folder / name).c_str(), strangers ? stranger : nobody,
                               strangers ? stranger : nobody),
                      0);
            // Another user's p_slots.txt that the user may write, though not replace.
            ASSERT_EQ(::chmod((folder / name).c_str(), strangers ? 0666 : 0644), 0);
        }
        std::filesystem::permissions(folder, std::filesystem::perms::all |
                                                 std::filesystem::perms::sticky_bit);
        const std::vector<std::string> names = fileNames();

        const std::string outcome = inChildProcess([this] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0) {
                return std::string("could not become nobody");
            }
            try {
                return runExport() == TransferEnd::StoppedEarly
                           ? "refused: " + messageText(messages.refusals.at(0))
                           : std::string("not refused");
            } catch (const RuntimeError& error) {
                return messageText(error.failure());
            }
        });
        // Handed back from the child in words, which the kinds expected are worded in here.
        const std::string expected =
            c.strangersFile == std::string("p_slots.txt")
                ? messageText(FileFailed{shown("p_slots.txt"), FileAction::Replaced,
                                         "Operation not permitted", FaultOf::System, std::nullopt})
                : "refused: " + messageText(TemporaryNameTaken{shown("p_slots.txt.zarn-tmp"),
                                                               FileKind::Regular, "user 4242",
                                                               shown("p_slots.txt")});
        EXPECT_EQ(outcome, expected);
        EXPECT_EQ(fileNames(), names);
        EXPECT_EQ(readFile("p_slots.txt.bak"), "\"my earlier edits\"\r\n");
    }
}

} // namespace
} // namespace zarn::testing
