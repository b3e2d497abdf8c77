// Makes every file operation of both transfers fail in turn, and checks after each fault that no
// file was lost or half written and that the user was told which file failed and why.
#include "file_faults.h"
#include "transfer_fixture.h"
#include "zarn/runtime_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
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
    std::string error;
    std::vector<FileCall> calls;
    Files files;
};

const FileOperation allOperations[] = {
    FileOperation::Open,   FileOperation::Read,           FileOperation::Status,
    FileOperation::Write,  FileOperation::SetPermissions, FileOperation::FlushToDisk,
    FileOperation::Rename, FileOperation::Remove,         FileOperation::Close,
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
            result.error = error.what();
        }
        result.calls = stopRecording();
        result.files = files();
        return result;
    }

    // The name by which the user knows the file of a call: a temporary file goes by the name of
    // the file it replaces. A folder is named by the file whose move it makes durable.
    std::string userNameOf(const std::string& path) const
    {
        if (std::filesystem::path(path) == folder) {
            return "the folder";
        }
        std::string name = std::filesystem::path(path).filename().string();
        const std::string temporary = ".zarn-tmp";
        if (name.ends_with(temporary)) {
            name.erase(name.size() - temporary.size());
        }
        return name;
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
        for (const FileOperation operation : allOperations) {
            for (int number = 1; number <= callCount[operation]; ++number) {
                std::vector<Fault> faults = {{operation, number, FaultKind::Error, EIO}};
                if (operation == FileOperation::Read) {
                    faults.push_back({operation, number, FaultKind::Error, EINTR});
                }
                if (operation == FileOperation::Write) {
                    faults.push_back({operation, number, FaultKind::ShortWriteThenError, ENOSPC});
                    faults.push_back({operation, number, FaultKind::ShortWrite, 0});
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
        // half written, and no temporary file stays behind.
        for (const auto& [name, bytes] : before) {
            EXPECT_TRUE(faulty.files.contains(name) || name.ends_with(".zarn-tmp"))
                << name << " was lost";
        }
        std::string changed;
        for (const auto& [name, bytes] : faulty.files) {
            const bool old = before.contains(name) && before.at(name) == bytes;
            const bool renewed = clean.files.contains(name) && clean.files.at(name) == bytes;
            EXPECT_TRUE(old || renewed) << name << " is neither its old nor its new self";
            if (!old) {
                changed += " " + name + " new;";
            }
        }

        // Closing a file that nothing was written to cannot lose data, and an interrupted read is
        // read again.
        const bool harmless = (fault.operation == FileOperation::Close && !failed->written) ||
                              fault.kind == FaultKind::ShortWrite || fault.error == EINTR;
        if (faulty.end) {
            EXPECT_TRUE(harmless) << "a fault that matters went unreported";
            EXPECT_EQ(faulty.end, clean.end);
            EXPECT_EQ(faulty.files, clean.files);
        } else {
            EXPECT_FALSE(fault.kind == FaultKind::ShortWrite || fault.error == EINTR)
                << faulty.error;
            const std::string name = userNameOf(failed->path);
            const auto names = [&faulty](const std::string& file) {
                return faulty.error.find(file) != std::string::npos;
            };
            EXPECT_TRUE(name == "the folder" ? names("p_slots.txt") || names("ag.exe")
                                             : names(name))
                << faulty.error;
            EXPECT_NE(faulty.error.find(std::strerror(fault.error)), std::string::npos)
                << faulty.error;
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

TEST_F(FaultInjectionTest, ImportBesideAnOlderSafetyCopy)
{
    writeAlliedGeneral();
    writeFile("ag.exe.orig", "the first original");
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

} // namespace
} // namespace zarn::testing
