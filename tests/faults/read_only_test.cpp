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
    // there, or the text of its run-time error.
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
                return error.what();
            }
        });
    }

    // How the transfer ended, run as a user bound by permissions, or its run-time error.
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
    std::string error;
};

// The case's own program folder stands in place of "{folder}".
std::string inFolder(std::string text, const std::filesystem::path& folder)
{
    const std::string mark = "{folder}";
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at)) {
        text.replace(at, mark.size(), folder.string());
    }
    return text;
}

TEST_F(ReadOnlyTest, RefusesAndChangesNothing)
{
    const std::string makeWritable =
        " is read-only for you, so zarn cannot change it.\rGive yourself write permission on it "
        "(for example with chmod u+w) and try again.";
    const std::string folderNotWritable =
        "The folder {folder} cannot be written: Permission denied\rzarn keeps its files beside "
        "the game: copy the game and zarn into a folder where you may create files.";
    const Case cases[] = {
        {"export, read-only p_slots.txt", false, false, "p_slots.txt", perms::owner_read,
         "{folder}/p_slots.txt" + makeWritable},
        {"export, read-only folder", false, false, "", perms::owner_read | perms::owner_exec,
         folderNotWritable},
        {"export, unreadable ag.exe", false, false, "ag.exe", perms::none,
         "{folder}/ag.exe could not be opened: Permission denied"},
        {"import, read-only ag.exe", true, false, "ag.exe", perms::owner_read,
         "{folder}/ag.exe" + makeWritable},
        {"import, read-only folder", true, false, "", perms::owner_read | perms::owner_exec,
         "{folder}/ag.exe was not changed: its safety copy could not be made. " +
             folderNotWritable},
        {"import, read-only folder, safety copy present", true, true, "",
         perms::owner_read | perms::owner_exec, folderNotWritable},
        {"import, unreadable p_slots.txt", true, false, "p_slots.txt", perms::none,
         "{folder}/p_slots.txt could not be opened: Permission denied"},
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
                  inFolder(c.error, folder));
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
        return runExport() == TransferEnd::StoppedEarly ? messages.shown.at(0) : "not refused";
    });
    EXPECT_EQ(outcome, (folder / "p_slots.txt").string() +
                           " is a folder, not a file, so zarn leaves it alone.\rPut the file "
                           "itself in its place and try again.");
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
              (folder / "pg.exe").string() +
                  " is read-only for you, so zarn cannot change it.\rGive yourself write "
                  "permission on it (for example with chmod u+w) and try again.");
    EXPECT_EQ(readFile("pg.exe"), executable);
}

} // namespace
} // namespace zarn::testing
