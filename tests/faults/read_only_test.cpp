// Read-only and unreadable files and folders: each transfer refuses with the file and the reason,
// and changes nothing. Root may write whatever the permissions say, so when the tests run as root
// they hand the folder to the user "nobody" and run the transfer as that user in a child process.
#include "../core/child_process.h"
#include "../core/transfer_fixture.h"
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
    // Runs the transfer in a child process as a user bound by permissions, and returns the text
    // of its run-time error, or how it ended.
    std::string outcomeOf(const std::function<TransferEnd()>& transfer)
    {
        const bool root = ::geteuid() == 0;
        if (root) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
                EXPECT_EQ(::lchown(entry.path().c_str(), nobody().user, nobody().group), 0);
            }
            EXPECT_EQ(::chown(folder.c_str(), nobody().user, nobody().group), 0);
        }
        return inChildProcess([root, &transfer]() -> std::string {
            if (root && (::setgid(nobody().group) != 0 || ::setuid(nobody().user) != 0)) {
                return "could not become nobody";
            }
            try {
                return "ended " + std::to_string(static_cast<int>(transfer()));
            } catch (const RuntimeError& error) {
                return error.what();
            }
        });
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

TEST_F(ReadOnlyTest, RefusesAndChangesNothing)
{
    const Case cases[] = {
        {"export, read-only p_slots.txt", false, false, "p_slots.txt", perms::owner_read,
         "p_slots.txt could not be written: Permission denied"},
        {"export, read-only folder", false, false, "", perms::owner_read | perms::owner_exec,
         "p_slots.txt could not be written: Permission denied"},
        {"export, unreadable ag.exe", false, false, "ag.exe", perms::none,
         "ag.exe could not be opened: Permission denied"},
        {"import, read-only ag.exe", true, false, "ag.exe", perms::owner_read,
         "ag.exe could not be opened for writing: Permission denied"},
        {"import, read-only folder", true, false, "", perms::owner_read | perms::owner_exec,
         "ag.exe was not changed: its safety copy ag.exe.orig could not be made. ag.exe.orig "
         "could not be written: Permission denied"},
        {"import, read-only folder, safety copy present", true, true, "",
         perms::owner_read | perms::owner_exec, "ag.exe could not be written: Permission denied"},
        {"import, unreadable p_slots.txt", true, false, "p_slots.txt", perms::none,
         "p_slots.txt could not be opened: Permission denied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        useNewFolder();
        writeAlliedGeneral();
        writeFile("p_slots.txt", slotFileOf(editedLists()));
        if (c.withSafetyCopy) {
            writeFile("ag.exe.orig", "the first original");
        }
        const std::vector<std::string> names = fileNames();
        const std::string executable = readFile("ag.exe");
        const std::string slotFile = readFile("p_slots.txt");
        const std::filesystem::path locked = folder / c.lockedName;
        const perms unlocked = std::filesystem::status(locked).permissions();
        std::filesystem::permissions(locked, c.lockedTo);
        choose("ag.exe");

        EXPECT_EQ(outcomeOf([this, &c] { return c.isImport ? runImport() : runExport(); }),
                  c.error);
        std::filesystem::permissions(locked, unlocked);
        EXPECT_EQ(fileNames(), names);
        EXPECT_EQ(readFile("ag.exe"), executable);
        EXPECT_EQ(readFile("p_slots.txt"), slotFile);
    }
}

} // namespace
} // namespace zarn::testing
