// Makes every file operation of both transfers fail in turn, and checks after each fault that no
// file was lost or half written and that the user was told which file failed and why.
#include "file_faults.h"
#include "transfer_fixture.h"
#include "zarn/runtime_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <optional>

namespace zarn::testing {
namespace {

// The files of the program folder and what they hold.
using Files = std::map<std::string, std::string>;

enum class Transfer
{
    Export,
    Import,
};

struct TransferRun
{
    std::optional<TransferEnd> end;
    std::optional<Failure> failure;
    std::string error;
    std::vector<FileCall> calls;
    Files files;
};

std::string describe(const Fault& fault)
{
    std::string text = nameOf(fault.operation);
    if (fault.kind == FaultKind::ShortWriteThenError) {
        text = "short write, then full disk, at write";
    } else if (fault.kind == FaultKind::ShortWrite) {
        text = "short write, then the rest, at write";
    }
    return text + " " + std::to_string(fault.callNumber);
}

class FaultInjectionTest : public TransferTest
{
protected:
    Files files() const
    {
        Files files;
        for (const std::string& name : fileNames()) {
            files[name] = readFile(name);
        }
        return files;
    }

    void restore(const Files& files) const
    {
        for (const std::string& name : fileNames()) {
            std::filesystem::remove(folder / name);
        }
        for (const auto& [name, bytes] : files) {
            writeFile(name, bytes);
        }
    }

    TransferRun runTransfer(Transfer transfer, const std::optional<Fault>& fault)
    {
        TransferRun result;
        fault ? startRecording(*fault) : startRecording();
        try {
            result.end = transfer == Transfer::Export ? runExport() : runImport();
        } catch (const RuntimeError& error) {
            result.failure = error.failure();
            result.error = error.what();
        }
        result.calls = stopRecording();
        result.files = files();
        return result;
    }

    // Whether a call is on the program folder or a folder on the way to it.
    bool isFolderOnTheWay(const std::string& path) const
    {
        return path == "." || path == "/" || path == folder.string() ||
               folder.string().starts_with(path + "/");
    }

    // The name by which the user knows the file of a call: a temporary file goes by the name of
    // the file it replaces. A folder is named by itself or by the file whose move it makes
    // durable.
    std::string userNameOf(const std::string& path) const
    {
        if (isFolderOnTheWay(path)) {
            return "the folder";
        }
        std::string name = std::filesystem::path(path).filename().string();
        for (const std::string temporary : {".zarn-tmp", ".zarn-old"}) {
            if (name.ends_with(temporary)) {
                name.erase(name.size() - temporary.size());
            }
        }
        return name;
    }

    // Whether the error names the file of the call, or for a folder on the way, that folder or a
    // file in it whose move it makes durable.
    bool namesTheFile(const std::string& error, const FileCall& call) const
    {
        const std::string name = userNameOf(call.path);
        if (name != "the folder") {
            return error.find(name) != std::string::npos;
        }
        return isFolderOnTheWay(error.substr(0, error.find(" could not be "))) ||
               error.starts_with(folder.string() + "/");
    }

    // Fails every call of every file operation of the transfer in turn, checking each outcome
    // against the files before and after a run without faults. Prints one line per fault.
    void failEveryCallInTurn(Transfer transfer, const std::string& scenario)
    {
        const Files before = files();
        const TransferRun clean = runTransfer(transfer, std::nullopt);
        ASSERT_TRUE(clean.end) << clean.error;
        restore(before);

        std::map<FileOperation, int> callCount;
        for (const FileCall& call : clean.calls) {
            ++callCount[call.operation];
        }
        for (const FileOperation operation : allFileOperations) {
            for (int number = 1; number <= callCount[operation]; ++number) {
                std::vector<Fault> faults = {{operation, number, FaultKind::Error, EIO}};
                if (operation == FileOperation::Read || operation == FileOperation::Write) {
                    faults.push_back({operation, number, FaultKind::Error, EINTR});
                }
                if (operation == FileOperation::Write) {
                    faults.push_back({operation, number, FaultKind::ShortWriteThenError, ENOSPC});
                    faults.push_back({operation, number, FaultKind::ShortWrite, 0});
                }
                // What FAT, exFAT and network file systems answer.
                if (operation == FileOperation::FlushToDisk) {
                    faults.push_back({operation, number, FaultKind::Error, EINVAL});
                    faults.push_back({operation, number, FaultKind::Error, ENOTSUP});
                }
                if (operation == FileOperation::SetPermissions) {
                    faults.push_back({operation, number, FaultKind::Error, EPERM});
                }
                for (const Fault& fault : faults) {
                    checkOneFault(transfer, scenario, fault, before, clean);
                    restore(before);
                }
            }
        }
    }

    void checkOneFault(Transfer transfer, const std::string& scenario, const Fault& fault,
                       const Files& before, const TransferRun& clean)
    {
        const TransferRun faulty = runTransfer(transfer, fault);
        const FileCall* failed = nullptr;
        int seen = 0;
        for (const FileCall& call : faulty.calls) {
            if (call.operation == fault.operation && ++seen == fault.callNumber) {
                failed = &call;
            }
        }
        ASSERT_NE(failed, nullptr) << "the run took another path";
        const std::string where =
            scenario + ", " + describe(fault) + " (" + userNameOf(failed->path) + ")";
        SCOPED_TRACE(where);

        // Every file is either as it was or as a run without faults leaves it; none is lost (a
        // temporary file that a killed run left behind is no file of the user's), none is left
        // half written, and no temporary file stays behind. An old copy that could not be
        // removed once its replacement was in place holds the old copy.
        for (const auto& [name, bytes] : before) {
            EXPECT_TRUE(faulty.files.contains(name) || name.ends_with(".zarn-tmp"))
                << name << " was lost";
        }
        std::string changed;
        Files kept;
        for (const auto& [name, bytes] : faulty.files) {
            const std::string keptOf = name.substr(0, name.size() - std::strlen(".zarn-old"));
            if (name.ends_with(".zarn-old") && before.contains(keptOf) &&
                before.at(keptOf) == bytes) {
                kept[name] = bytes;
                continue;
            }
            const bool old = before.contains(name) && before.at(name) == bytes;
            const bool renewed = clean.files.contains(name) && clean.files.at(name) == bytes;
            EXPECT_TRUE(old || renewed) << name << " is neither its old nor its new self";
            if (!old) {
                changed += " " + name + " new;";
            }
        }
        // An export that does not put its slot file in place leaves the backup as it was.
        if (before.contains("p_slots.txt.bak") && faulty.files.contains("p_slots.txt") &&
            faulty.files.at("p_slots.txt") == before.at("p_slots.txt")) {
            EXPECT_EQ(faulty.files.at("p_slots.txt.bak"), before.at("p_slots.txt.bak"));
        }

        // An interrupted call is made again, and the answers of file systems that keep no
        // permissions or cannot flush a folder are no failure; nor is an old copy that stays.
        const bool tolerated =
            fault.kind == FaultKind::ShortWrite || fault.error == EINTR ||
            (fault.operation == FileOperation::FlushToDisk &&
             userNameOf(failed->path) == "the folder" &&
             (fault.error == EINVAL || fault.error == ENOTSUP)) ||
            (fault.operation == FileOperation::SetPermissions && fault.error == EPERM) ||
            (fault.operation == FileOperation::Remove && failed->path.ends_with(".zarn-old"));
        // Closing a file that nothing was written to cannot lose data.
        const bool harmless =
            tolerated || (fault.operation == FileOperation::Close && !failed->written);
        if (faulty.end) {
            EXPECT_TRUE(harmless) << "a fault that matters went unreported";
            EXPECT_EQ(faulty.end, clean.end);
            Files left = faulty.files;
            std::erase_if(left, [&](const auto& file) { return kept.contains(file.first); });
            EXPECT_EQ(left, clean.files);
        } else {
            EXPECT_FALSE(tolerated) << faulty.error;
            EXPECT_TRUE(kept.empty()) << "an old copy stays";
            EXPECT_TRUE(namesTheFile(faulty.error, *failed)) << faulty.error;
            EXPECT_NE(faulty.error.find(std::strerror(fault.error)), std::string::npos)
                << faulty.error;
            // A failing disk is the system's fault, never what the folder holds.
            const FileFailed* failed =
                faulty.failure ? std::get_if<FileFailed>(&*faulty.failure) : nullptr;
            EXPECT_TRUE(failed == nullptr || failed->faultOf == FaultOf::System) << faulty.error;
        }
        std::cout << "  " << where << " -> "
                  << (faulty.end ? "went on as without the fault" : "\"" + faulty.error + "\"")
                  << ";" << (changed.empty() ? " nothing changed" : changed) << "\n";
    }
};

// Each rename puts in place a file that was flushed to disk after it was last written, and the
// folder is flushed after the rename, so that a power cut leaves either the old file or the new.
void expectDurableMoves(const std::vector<FileCall>& calls, const std::filesystem::path& folder)
{
    const auto isCall = [](const FileCall& call, FileOperation operation, const std::string& path) {
        return call.operation == operation && call.path == path;
    };
    std::size_t renames = 0;
    for (auto rename = calls.begin(); rename != calls.end(); ++rename) {
        if (rename->operation != FileOperation::Rename) {
            continue;
        }
        ++renames;
        SCOPED_TRACE(rename->path);
        const std::string moved = rename->path + ".zarn-tmp";
        const auto lastWrite = std::find_if(std::make_reverse_iterator(rename), calls.rend(),
                                            [&](const FileCall& call) {
                                                return isCall(call, FileOperation::Write, moved);
                                            })
                                   .base();
        EXPECT_TRUE(std::any_of(lastWrite, rename, [&](const FileCall& call) {
            return isCall(call, FileOperation::FlushToDisk, moved);
        })) << "not flushed before it is moved";
        const auto nextRename = std::find_if(rename + 1, calls.end(), [](const FileCall& call) {
            return call.operation == FileOperation::Rename;
        });
        EXPECT_TRUE(std::any_of(rename + 1, nextRename, [&](const FileCall& call) {
            return isCall(call, FileOperation::FlushToDisk, folder.string());
        })) << "the folder is not flushed after the move";
    }
    EXPECT_GT(renames, 0u);
}

TEST_F(FaultInjectionTest, EveryMoveIsFlushedToDiskBeforeAndAfter)
{
    writeAlliedGeneral();
    writeFile("p_slots.txt", "\"my own edits\"\r\n1\r\n");
    choose(Game::AlliedGeneral);
    startRecording();
    EXPECT_EQ(runExport(), TransferEnd::Succeeded);
    expectDurableMoves(stopRecording(), folder);

    writeFile("p_slots.txt", slotFileOf(editedLists()));
    startRecording();
    EXPECT_EQ(runImport(), TransferEnd::Succeeded);
    expectDurableMoves(stopRecording(), folder);
}

TEST_F(FaultInjectionTest, ExportOverAnOldSlotFile)
{
    writeAlliedGeneral();
    writeFile("p_slots.txt", "\"my own edits\"\r\n1\r\n");
    choose(Game::AlliedGeneral);
    failEveryCallInTurn(Transfer::Export, "export over an old p_slots.txt");
}

TEST_F(FaultInjectionTest, ExportWithoutASlotFile)
{
    writeAlliedGeneral();
    choose(Game::AlliedGeneral);
    failEveryCallInTurn(Transfer::Export, "export, no p_slots.txt yet");
}

TEST_F(FaultInjectionTest, FirstImportThatKeepsASafetyCopy)
{
    writeAlliedGeneral();
    writeFile("p_slots.txt", slotFileOf(editedLists()));
    choose(Game::AlliedGeneral);
    failEveryCallInTurn(Transfer::Import, "import, first change");
}

TEST_F(FaultInjectionTest, ExportOverAnOldSlotFileAndItsBackup)
{
    writeAlliedGeneral();
    writeFile("p_slots.txt", "\"my own edits\"\r\n1\r\n");
    writeFile("p_slots.txt.bak", "\"my earlier edits\"\r\n2\r\n");
    choose(Game::AlliedGeneral);
    failEveryCallInTurn(Transfer::Export, "export over an old p_slots.txt and p_slots.txt.bak");
}

TEST_F(FaultInjectionTest, ImportBesideAnOlderSafetyCopy)
{
    writeAlliedGeneral(editedLists());
    writeFile("ag.exe.orig", readFile("ag.exe"));
    writeAlliedGeneral();
    writeFile("p_slots.txt", slotFileOf(editedLists()));
    choose(Game::AlliedGeneral);
    failEveryCallInTurn(Transfer::Import, "import, safety copy present");
}

TEST_F(FaultInjectionTest, ExportAfterAnInterruptedOne)
{
    writeAlliedGeneral();
    writeFile("p_slots.txt", "\"my own edits\"\r\n1\r\n");
    writeFile("p_slots.txt.zarn-tmp", "\"Norway\"\r\n\"Inf");
    choose(Game::AlliedGeneral);
    failEveryCallInTurn(Transfer::Export, "export, temporary file of a killed run");
}

TEST_F(FaultInjectionTest, ImportAfterAnInterruptedOne)
{
    writeAlliedGeneral();
    writeFile("ag.exe.orig.zarn-tmp", "half a copy");
    writeFile("ag.exe.zarn-tmp", "half an executable");
    writeFile("p_slots.txt", slotFileOf(editedLists()));
    choose(Game::AlliedGeneral);
    failEveryCallInTurn(Transfer::Import, "import, temporary files of a killed run");
}

TEST_F(FaultInjectionTest, ImportOfAnUnchangedTable)
{
    writeAlliedGeneral();
    writeFile("p_slots.txt", slotFileOf(standardLists()));
    choose(Game::AlliedGeneral);
    failEveryCallInTurn(Transfer::Import, "import, unchanged table");
}

// A file system that cannot refuse to replace in a rename answers EINVAL: the safety copy is then
// moved into place only where nothing has taken its name, looked at just before.
TEST_F(FaultInjectionTest, SafetyCopyWhereRenamesCannotRefuseToReplace)
{
    struct Case
    {
        const char* what;
        bool nameTakenMeanwhile;
    };
    for (const Case& c : {Case{"the name is free", false}, Case{"the name was taken", true}}) {
        SCOPED_TRACE(c.what);
        useNewFolder();
        writeAlliedGeneral();
        const std::string original = readFile("ag.exe");
        writeFile("p_slots.txt", slotFileOf(editedLists()));
        choose(Game::AlliedGeneral);
        const Files before = files();
        const TransferRun clean = runTransfer(Transfer::Import, std::nullopt);
        restore(before);
        int renames = 0;
        int copyRename = 0;
        for (const FileCall& call : clean.calls) {
            if (call.operation == FileOperation::Rename && ++renames &&
                call.path == (folder / "ag.exe.orig").string()) {
                copyRename = renames;
            }
        }
        ASSERT_GT(copyRename, 0);

        messages.refusals.clear();
        const TransferRun run =
            runTransfer(Transfer::Import,
                        Fault{FileOperation::Rename, copyRename, FaultKind::Error, EINVAL, [&] {
                                  if (c.nameTakenMeanwhile) {
                                      writeFile("ag.exe.orig", "taken meanwhile");
                                  }
                              }});
        if (c.nameTakenMeanwhile) {
            EXPECT_EQ(run.end, TransferEnd::StoppedEarly) << run.error;
            EXPECT_EQ(messages.refusals, (std::vector<Refusal>{SafetyCopyInTheWay{
                                             shown("ag.exe.orig"), FileKind::Regular}}));
            EXPECT_EQ(run.files.at("ag.exe.orig"), "taken meanwhile");
            EXPECT_TRUE(run.files.at("ag.exe") == original) << "ag.exe was changed";
        } else {
            EXPECT_EQ(run.end, TransferEnd::Succeeded) << run.error;
            EXPECT_EQ(run.files, clean.files);
        }
    }
}

} // namespace
} // namespace zarn::testing
