// Read-only and unreadable files and folders: each transfer refuses with the file and the reason,
// and changes nothing. Root may write whatever the permissions say, so when the tests run as root
// they hand the folder to the user "nobody" and run the transfer as that user in a child process.
#include "child_process.h"
#include "transfer_fixture.h"
#include "zarn/runtime_error.h"

#include <functional>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace zarn::testing {
namespace {

using std::filesystem::perms;

struct Owner
{
    uid_t user;
    gid_t group;
};

Owner nobody()
{
    const passwd* entry = ::getpwnam("nobody");
    return entry != nullptr ? Owner{entry->pw_uid, entry->pw_gid} : Owner{65534, 65534};
}

class ReadOnlyTest : public TransferTest
{
protected:
    // Runs `body` in a child process as a user bound by permissions, and returns what it returns
    // there, or the words of its run-time error.
    std::string asUser(const std::function<std::string()>& body)
    {
        const bool root = ::geteuid() == 0;
        if (root) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
                EXPECT_EQ(::lchown(entry.path().c_str(), nobody().user, nobody().group), 0);
            }
            EXPECT_EQ(::chown(folder.c_str(), nobody().user, nobody().group), 0);
        }
        return inChildProcess([root, &body]() -> std::string {
            if (root && (::setgid(nobody().group) != 0 || ::setuid(nobody().user) != 0)) {
                return "could not become nobody";
            }
            try {
                return body();
            } catch (const RuntimeError& error) {
                return messageText(error.failure());
            }
        });
    }

    // How the transfer ended, run as a user bound by permissions, or the words of its run-time
    // error: a child process hands back words, and the tests word the kinds they expect.
    std::string outcomeOf(const std::function<TransferEnd()>& transfer)
    {
        return asUser([&] { return "ended " + std::to_string(static_cast<int>(transfer())); });
    }
};

struct Case
{
    const char* what;
    bool isImport;
    bool withSafetyCopy;
    const char* lockedName; // empty: the folder itself
    perms lockedTo;
    // The run-time error, in the case's own program folder.
    std::function<Failure()> failure;
};

TEST_F(ReadOnlyTest, RefusesAndChangesNothing)
{
    const auto readOnly = [this](const char* name) {
        return [=, this] {
            return Failure(ReadOnlyFile{shown(name)});
        };
    };
    const auto folderNotWritable = [this] {
        return FolderNotWritable{folder.string(), "Permission denied"};
    };
    const auto unreadable = [this](const char* name) {
        return [=, this] {
            return Failure(FileFailed{shown(name), FileAction::Opened, "Permission denied",
                                      FaultOf::System, std::nullopt});
        };
    };
    const perms readOnlyFolder = perms::owner_read | perms::owner_exec;
    const Case cases[] = {
        {"export, read-only p_slots.txt", false, false, "p_slots.txt", perms::owner_read,
         readOnly("p_slots.txt")},
        {"export, read-only folder", false, false, "", readOnlyFolder, folderNotWritable},
        {"export, unreadable ag.exe", false, false, "ag.exe", perms::none, unreadable("ag.exe")},
        {"import, read-only ag.exe", true, false, "ag.exe", perms::owner_read, readOnly("ag.exe")},
        {"import, read-only folder", true, false, "", readOnlyFolder,
         [&] {
             return Failure(SafetyCopyFailed{shown("ag.exe"), folderNotWritable()});
         }},
        {"import, read-only folder, safety copy present", true, true, "", readOnlyFolder,
         folderNotWritable},
        {"import, unreadable p_slots.txt", true, false, "p_slots.txt", perms::none,
         unreadable("p_slots.txt")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        useNewFolder();
        writeAlliedGeneral();
        writeFile("p_slots.txt", slotFileOf(editedLists()));
        if (c.withSafetyCopy) {
            writeFile("ag.exe.orig", readFile("ag.exe"));
        }
        const std::vector<std::string> names = fileNames();
        const std::string executable = readFile("ag.exe");
        const std::string slotFile = readFile("p_slots.txt");
        const std::filesystem::path locked = folder / c.lockedName;
        const perms unlocked = std::filesystem::status(locked).permissions();
        std::filesystem::permissions(locked, c.lockedTo);
        choose(Game::AlliedGeneral);

        EXPECT_EQ(outcomeOf([this, &c] { return c.isImport ? runImport() : runExport(); }),
                  messageText(c.failure()));
        std::filesystem::permissions(locked, unlocked);
        EXPECT_EQ(fileNames(), names);
        EXPECT_EQ(readFile("ag.exe"), executable);
        EXPECT_EQ(readFile("p_slots.txt"), slotFile);
    }
}

// A folder that the user may not write is still a folder, not a file that is read-only.
TEST_F(ReadOnlyTest, AFolderAtTheSlotFileIsToldAsOne)
{
    writeAlliedGeneral();
    std::filesystem::create_directory(folder / "p_slots.txt");
    std::filesystem::permissions(folder / "p_slots.txt", perms::owner_read | perms::owner_exec);
    choose(Game::AlliedGeneral);

    const std::string outcome = asUser([this] {
        return runExport() == TransferEnd::StoppedEarly ? messageText(messages.refusals.at(0))
                                                        : "not refused";
    });
    EXPECT_EQ(outcome,
              messageText(NotAFile{shown("p_slots.txt"), shown("p_slots.txt"), FileKind::Folder}));
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt"}));
}

TEST_F(ReadOnlyTest, DiffReadsAnExecutableThatTheImportCouldNotChange)
{
    const std::string region = regionOf(standardLists());
    const std::string executable = executableWith(100 + region.size() + 300, 100, region);
    writeFile("pg.exe", executable);
    std::filesystem::permissions(folder / "pg.exe", perms::owner_read);
    writeFile("p_slots.txt", slotFileOf(editedLists()));
    choose(Game::PanzerGeneral, 101);

    const std::string changes = asUser([this] {
        const std::optional<ImportPreview> preview = previewImport(state, folder, messages);
        if (!preview || preview->changes.size() != 1) {
            return std::string("not the one change");
        }
        const ListChange& change = preview->changes.front();
        return std::to_string(change.country) + " " + std::to_string(change.unitClass) + ": -" +
               std::to_string(change.removed.at(0)) + " +" + std::to_string(change.added.at(0));
    });
    EXPECT_EQ(changes, "1 2: -" + std::to_string(standardLists()[1][0]) + " +513");
    EXPECT_EQ(outcomeOf([this] { return runImport(); }),
              messageText(ReadOnlyFile{shown("pg.exe")}));
    EXPECT_EQ(readFile("pg.exe"), executable);
}

} // namespace
} // namespace zarn::testing
