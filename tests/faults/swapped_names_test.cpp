// Names swapped between two steps of a transfer, as someone who may write a folder on the way can
// swap them: the game folder, or the folder above it, replaced by another user's link to a folder
// of the user's at each file operation in turn, and a file replaced by a link just before it is
// opened. The transfer finishes in what it opened or refuses, and what the links lead to stays as
// it was.
#include "file_faults.h"
#include "folder_files.h"
#include "transfer_fixture.h"
#include "zarn/runtime_error.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

namespace zarn::testing {
namespace {

// What a folder holds, everything in it by its path there: a file's bytes and mode, a folder, or
// where a link leads.
using Tree = std::map<std::string, std::string>;

Tree treeOf(const std::filesystem::path& root)
{
    Tree tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        std::string& what = tree[entry.path().lexically_relative(root).string()];
        if (entry.is_symlink()) {
            what = "a link to " + std::filesystem::read_symlink(entry.path()).string();
        } else if (entry.is_directory()) {
            what = "a folder";
        } else {
            what = readWholeFile(entry.path()) + ", mode " +
                   std::to_string(static_cast<int>(entry.status().permissions()));
        }
    }
    return tree;
}

void restoreTree(const std::filesystem::path& root, const Tree& tree)
{
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    for (const auto& [name, what] : tree) {
        writeWholeFile(root / name, what.substr(0, what.rfind(", mode ")));
    }
}

constexpr uid_t stranger = 4242;

enum class TransferKind
{
    Export,
    Import,
};

enum class Swapped
{
    GameFolder,
    FolderAbove,
};

class FolderSwapTest : public TransferTest
{
protected:
    FolderSwapTest() : m_base(folder)
    {
        folder = m_base / "up" / "game";
        for (const std::filesystem::path& game : {folder, m_base / "mine" / "game"}) {
            std::filesystem::create_directories(game);
        }
        const std::string region = regionOf(standardLists());
        writeFile("pg.exe", executableWith(100 + region.size() + 50, 100, region));
        writeWholeFile(m_base / "mine" / "game" / "pg.exe", "the user's own pg.exe");
        writeWholeFile(m_base / "mine" / "game" / "p_slots.txt", "the user's own p_slots.txt");
        writeWholeFile(m_base / "mine" / "private.txt", "the user's own notes");
        std::filesystem::permissions(m_base / "mine" / "game" / "pg.exe",
                                     std::filesystem::perms::owner_read |
                                         std::filesystem::perms::owner_write);
        choose(Game::PanzerGeneral, 101);
    }

    void SetUp() override
    {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "only root can make a link that belongs to another user";
        }
    }

    // Replaces the swapped folder by another user's link to the user's own folder of that place.
    void swap(Swapped swapped) const
    {
        const std::filesystem::path place = placeOf(swapped);
        std::filesystem::rename(place, movedFrom(place));
        std::filesystem::create_directory_symlink(
            m_base / "mine" / place.lexically_relative(m_base / "up"), place);
        ASSERT_EQ(::lchown(place.c_str(), stranger, stranger), 0);
    }

    void putBack(Swapped swapped) const
    {
        const std::filesystem::path place = placeOf(swapped);
        if (std::filesystem::is_symlink(place)) {
            std::filesystem::remove(place);
            std::filesystem::rename(movedFrom(place), place);
        }
    }

    std::filesystem::path placeOf(Swapped swapped) const
    {
        return swapped == Swapped::GameFolder ? folder : m_base / "up";
    }

    static std::filesystem::path movedFrom(const std::filesystem::path& place)
    {
        std::filesystem::path moved = place;
        moved += "-moved";
        return moved;
    }

    TransferEnd run(TransferKind transfer, std::string& error)
    {
        try {
            return transfer == TransferKind::Export ? runExport() : runImport();
        } catch (const RuntimeError& failure) {
            error = failure.what();
        }
        return TransferEnd::Failed;
    }

    // Swaps the folder at each call of each file operation of the transfer in turn.
    void swapAtEveryCall(TransferKind transfer, Swapped swapped)
    {
        const Tree mine = treeOf(m_base / "mine");
        const Tree before = treeOf(folder);
        startRecording();
        std::string error;
        ASSERT_EQ(run(transfer, error), TransferEnd::Succeeded) << error;
        const std::vector<FileCall> calls = stopRecording();
        const Tree after = treeOf(folder);
        restoreTree(folder, before);

        std::map<FileOperation, int> callCount;
        for (const FileCall& call : calls) {
            ++callCount[call.operation];
        }
        const std::filesystem::path place = placeOf(swapped);
        const std::filesystem::path leadsTo =
            m_base / "mine" / place.lexically_relative(m_base / "up");
        const Refusal refusal = StrangersFolderLink{place.string(), leadsTo.string(), "user 4242"};
        int finished = 0;
        int refused = 0;
        for (const FileOperation operation : allFileOperations) {
            for (int number = 1; number <= callCount[operation]; ++number) {
                SCOPED_TRACE(std::string(nameOf(operation)) + " " + std::to_string(number));
                messages.refusals.clear();
                error.clear();
                startRecording({operation, number, FaultKind::None, 0, [&] {
                                    swap(swapped);
                                }});
                const TransferEnd end = run(transfer, error);
                stopRecording();
                EXPECT_TRUE(std::filesystem::is_symlink(place)) << "the swap did not happen";
                EXPECT_EQ(treeOf(m_base / "mine"), mine);
                putBack(swapped);
                if (end == TransferEnd::Succeeded) {
                    ++finished;
                    EXPECT_EQ(treeOf(folder), after);
                } else {
                    ++refused;
                    EXPECT_EQ(end, TransferEnd::StoppedEarly) << error;
                    EXPECT_EQ(messages.refusals, (std::vector<Refusal>{refusal}));
                    EXPECT_EQ(treeOf(folder), before);
                }
                restoreTree(folder, before);
            }
        }
        EXPECT_GT(finished, 0);
        EXPECT_GT(refused, 0);
    }

private:
    std::filesystem::path m_base;
};

TEST_F(FolderSwapTest, ExportWhileTheGameFolderIsSwapped)
{
    writeFile("p_slots.txt", "\"my own edits\"\r\n1\r\n");
    swapAtEveryCall(TransferKind::Export, Swapped::GameFolder);
}

TEST_F(FolderSwapTest, ExportWhileTheFolderAboveIsSwapped)
{
    writeFile("p_slots.txt", "\"my own edits\"\r\n1\r\n");
    swapAtEveryCall(TransferKind::Export, Swapped::FolderAbove);
}

TEST_F(FolderSwapTest, ImportWhileTheGameFolderIsSwapped)
{
    writeFile("p_slots.txt", slotFileOf(editedLists()));
    swapAtEveryCall(TransferKind::Import, Swapped::GameFolder);
}

TEST_F(FolderSwapTest, ImportWhileTheFolderAboveIsSwapped)
{
    writeFile("p_slots.txt", slotFileOf(editedLists()));
    swapAtEveryCall(TransferKind::Import, Swapped::FolderAbove);
}

// A file that was found to be a file, replaced just before it is opened: by a link of the user's
// own, which the open does not follow; by a folder, which is told as one and never opened for
// writing. The transfer stops, and what the link leads to stays as it was.
using LinkSwapTest = TransferTest;

TEST_F(LinkSwapTest, WhatIsSwappedInJustBeforeAnOpenIsNeitherFollowedNorWritten)
{
    struct Case
    {
        const char* what;
        TransferKind transfer;
        const char* name;
        // The last call of this operation on the file before its first read, or before it is
        // first opened for writing, is where the swap comes.
        FileOperation swapAt;
        bool beforeWriting;
        bool folder;
        // What could not be done to the file, a run-time error, or none: a refusal.
        std::optional<FileAction> failure;
    };
    const Case cases[] = {
        {"import, a link before pg.exe is opened to change it", TransferKind::Import, "pg.exe",
         FileOperation::Open, false, false, FileAction::OpenedForWriting},
        {"import, a link before p_slots.txt is opened to read it", TransferKind::Import,
         "p_slots.txt", FileOperation::Open, false, false, FileAction::Opened},
        {"export, a link before the old p_slots.txt is opened to compare it", TransferKind::Export,
         "p_slots.txt", FileOperation::Open, false, false, FileAction::Opened},
        {"export, a folder before the check that p_slots.txt may be written", TransferKind::Export,
         "p_slots.txt", FileOperation::Status, true, true, std::nullopt},
    };
    SlotLists others = standardLists();
    others[7][0] = 1234;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        useNewFolder();
        const std::string region = regionOf(standardLists());
        const std::string executable = executableWith(100 + region.size() + 50, 100, region);
        writeFile("pg.exe", executable);
        writeFile("p_slots.txt", c.transfer == TransferKind::Import ? slotFileOf(editedLists())
                                                                    : "\"my own edits\"\r\n");
        writeFile("victim", c.name == std::string("pg.exe") ? executable : slotFileOf(others));
        choose(Game::PanzerGeneral, 101);
        const Tree before = treeOf(folder);
        const std::string path = (folder / c.name).string();
        const auto run = [&]() -> std::optional<Failure> {
            try {
                c.transfer == TransferKind::Export ? runExport() : runImport();
            } catch (const RuntimeError& error) {
                return error.failure();
            }
            return std::nullopt;
        };

        startRecording();
        run();
        const std::vector<FileCall> clean = stopRecording();
        restoreTree(folder, before);
        int calls = 0;
        int swapAt = 0;
        for (const FileCall& call : clean) {
            if (call.path == path &&
                (c.beforeWriting ? call.operation == FileOperation::Open && call.writable
                                 : call.operation == FileOperation::Read)) {
                break;
            }
            calls += call.operation == c.swapAt ? 1 : 0;
            swapAt = call.operation == c.swapAt && call.path == path ? calls : swapAt;
        }
        ASSERT_GT(swapAt, 0);

        messages.refusals.clear();
        startRecording({c.swapAt, swapAt, FaultKind::None, 0, [&] {
                            std::filesystem::remove(path);
                            if (c.folder) {
                                std::filesystem::create_directory(path);
                            } else {
                                std::filesystem::create_symlink(folder / "victim", path);
                            }
                        }});
        const std::optional<Failure> failure = run();
        for (const FileCall& call : stopRecording()) {
            EXPECT_FALSE(c.folder && call.operation == FileOperation::Open && call.writable &&
                         call.path == path)
                << "the folder was opened for writing";
        }
        Tree expected = before;
        if (c.failure) {
            EXPECT_EQ(failure, Failure(FileFailed{path, *c.failure, std::strerror(ELOOP),
                                                  FaultOf::Folder, std::nullopt}));
            expected[c.name] = "a link to " + (folder / "victim").string();
        } else {
            EXPECT_EQ(failure, std::nullopt);
            EXPECT_EQ(messages.refusals,
                      (std::vector<Refusal>{NotAFile{path, path, FileKind::Folder}}));
            expected[c.name] = "a folder";
        }
        EXPECT_EQ(treeOf(folder), expected);
    }
}

} // namespace
} // namespace zarn::testing
