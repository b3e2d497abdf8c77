// How the transfers meet files and folders as Windows has them: hidden and system files, read-only
// files, files that another program holds open, network folders and long paths.

#include "folder_files.h"
#include "transfer_fixture.h"
#include "zarn/runtime_error.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string_view>
#include <utility>
#include <windows.h>

namespace zarn::testing {
namespace {

class WindowsFilesTest : public TransferTest
{
protected:
    ~WindowsFilesTest() override
    {
        // Read-only and system files would stay behind when the folder is removed. The folder
        // may be gone already, and a destructor must not throw.
        std::error_code gone;
        for (const auto& entry : std::filesystem::directory_iterator(folder, gone)) {
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }

    void setAttributes(const char* name, DWORD attributes)
    {
        ASSERT_TRUE(SetFileAttributesW((folder / name).c_str(), attributes));
    }

    // Exports the standard table from a new ag.exe in the program folder, imports an edit of it
    // and checks both files.
    void exportEditAndImport();
};

const std::string oldSlotFile = "\"my own edits\"\r\n1\r\n";

std::string alliedGeneral(const SlotLists& lists)
{
    return executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(lists));
}

void WindowsFilesTest::exportEditAndImport()
{
    writeAlliedGeneral();
    writeFile("p_slots.txt", oldSlotFile);
    choose(Game::AlliedGeneral);

    EXPECT_EQ(runExport(), TransferEnd::Succeeded);
    EXPECT_EQ(readFile("p_slots.txt"), slotFileOf(standardLists()));
    EXPECT_EQ(readFile("p_slots.txt.bak"), oldSlotFile);
    writeFile("p_slots.txt", slotFileOf(editedLists()));
    EXPECT_EQ(runImport(), TransferEnd::Succeeded);
    EXPECT_TRUE(readFile("ag.exe") == alliedGeneral(editedLists())) << "ag.exe not as edited";
    EXPECT_TRUE(readFile("ag.exe.orig") == alliedGeneral(standardLists()))
        << "ag.exe.orig is not the original";
    EXPECT_TRUE(messages.refusals.empty());
}

FILETIME creationTime(const std::filesystem::path& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    EXPECT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    return data.ftCreationTime;
}

bool underWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST_F(WindowsFilesTest, HiddenAndSystemExecutablesCountAsMissing)
{
    for (const DWORD attributes : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM}}) {
        SCOPED_TRACE(attributes);
        writeAlliedGeneral();
        setAttributes("ag.exe", attributes);
        choose(Game::AlliedGeneral);
        messages.refusals.clear();

        EXPECT_EQ(runExport(), TransferEnd::StoppedEarly);
        EXPECT_EQ(messages.refusals, (std::vector<Refusal>{ExecutableMissing{shown("ag.exe")}}));
        EXPECT_FALSE(exists("p_slots.txt"));
        setAttributes("ag.exe", FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(WindowsFilesTest, ReadOnlyFilesAreRefusedWithHowToMakeThemWritable)
{
    struct Case
    {
        const char* readOnly;
        bool isImport;
    };
    const Case cases[] = {{"ag.exe", true}, {"p_slots.txt", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.readOnly);
        useNewFolder();
        writeAlliedGeneral();
        writeFile("p_slots.txt", slotFileOf(editedLists()));
        const std::string executable = readFile("ag.exe");
        const std::string slotFile = readFile("p_slots.txt");
        setAttributes(c.readOnly, FILE_ATTRIBUTE_READONLY);
        choose(Game::AlliedGeneral);

        EXPECT_EQ(failureOf([this, &c] { return c.isImport ? runImport() : runExport(); }),
                  Failure(ReadOnlyFile{shown(c.readOnly)}));
        setAttributes(c.readOnly, FILE_ATTRIBUTE_NORMAL);
        EXPECT_TRUE(readFile("ag.exe") == executable) << "ag.exe was changed";
        EXPECT_EQ(readFile("p_slots.txt"), slotFile);
        EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt"}));
    }
}

TEST_F(WindowsFilesTest, ExportReportsAFileThatAnotherProgramHoldsAndKeepsBoth)
{
    for (const char* held : {"ag.exe", "p_slots.txt"}) {
        SCOPED_TRACE(held);
        writeAlliedGeneral();
        writeFile("p_slots.txt", oldSlotFile);
        const std::string executable = readFile("ag.exe");
        // Opened without sharing, as a program does that keeps a file to itself.
        const HANDLE holder = CreateFileW((folder / held).c_str(), GENERIC_READ, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        choose(Game::AlliedGeneral);

        const Failure failure = failureOf([this] { return runExport(); });
        CloseHandle(holder);
        ASSERT_TRUE(std::holds_alternative<FileFailed>(failure)) << messageText(failure);
        EXPECT_EQ(std::get<FileFailed>(failure).file, shown(held));
        EXPECT_EQ(std::get<FileFailed>(failure).faultOf, FaultOf::System);
        EXPECT_EQ(readFile("p_slots.txt"), oldSlotFile);
        EXPECT_TRUE(readFile("ag.exe") == executable) << "ag.exe was changed";
        EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt"}));
    }
}

// A denied access that no wait can change is refused at once: a folder named as the slot file.
TEST_F(WindowsFilesTest, AFolderInTheWayOfTheSlotFileIsRefusedWithoutWaiting)
{
    writeAlliedGeneral();
    std::filesystem::create_directory(folder / "p_slots.txt");
    choose(Game::AlliedGeneral);
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(runExport(), TransferEnd::StoppedEarly);
    EXPECT_LT(GetTickCount64() - start, 1000u);
    EXPECT_EQ(messages.refusals,
              (std::vector<Refusal>{
                  NotAFile{shown("p_slots.txt"), shown("p_slots.txt"), FileKind::Folder}}));
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt"}));
}

TEST_F(WindowsFilesTest, AHiddenOrSystemSafetyCopyIsTheSafetyCopy)
{
    for (const DWORD attributes : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM}}) {
        SCOPED_TRACE(attributes);
        useNewFolder();
        const std::string firstOriginal = alliedGeneral(editedLists());
        writeFile("ag.exe.orig", firstOriginal);
        setAttributes("ag.exe.orig", attributes);
        writeAlliedGeneral();
        writeFile("p_slots.txt", slotFileOf(editedLists()));
        choose(Game::AlliedGeneral);

        EXPECT_EQ(runImport(), TransferEnd::Succeeded);
        EXPECT_TRUE(readFile("ag.exe") == alliedGeneral(editedLists())) << "ag.exe not as edited";
        EXPECT_TRUE(readFile("ag.exe.orig") == firstOriginal) << "ag.exe.orig was replaced";
        EXPECT_EQ(GetFileAttributesW((folder / "ag.exe.orig").c_str()) & attributes, attributes);
        EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "ag.exe.orig", "p_slots.txt"}));
    }
}

// Whether ReplaceFileW of this system keeps the attributes of the file it replaces, as Windows
// does; Wine's only renames.
bool replaceFileKeepsAttributes(const std::filesystem::path& folder)
{
    const std::filesystem::path old = folder / "probe-old";
    const std::filesystem::path replacement = folder / "probe-new";
    writeWholeFile(old, "old");
    writeWholeFile(replacement, "new");
    SetFileAttributesW(old.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ReplaceFileW(old.c_str(), replacement.c_str(), nullptr, 0, nullptr, nullptr);
    const bool kept = (GetFileAttributesW(old.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0;
    SetFileAttributesW(old.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove(old);
    std::filesystem::remove(replacement);
    return kept;
}

TEST_F(WindowsFilesTest, ReplacedFilesKeepTheirCreationTimeAndAttributes)
{
    if (!replaceFileKeepsAttributes(folder)) {
        GTEST_SKIP() << "ReplaceFileW of this system keeps no attributes of the replaced file "
                        "(Wine's only renames)";
    }
    writeAlliedGeneral();
    writeFile("p_slots.txt", oldSlotFile);
    writeFile("ag.exe.orig", "the first original");
    // 1 January 2001, in 100 ns steps since 1601.
    const FILETIME longAgo{0xD53E8000, 0x01C07385};
    for (const char* name : {"ag.exe", "p_slots.txt"}) {
        const HANDLE file = CreateFileW((folder / name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(SetFileTime(file, &longAgo, nullptr, nullptr));
        CloseHandle(file);
    }
    setAttributes("p_slots.txt", FILE_ATTRIBUTE_HIDDEN);
    setAttributes("ag.exe", FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    choose(Game::AlliedGeneral);

    ASSERT_EQ(runExport(), TransferEnd::Succeeded);
    writeFile("p_slots.txt", slotFileOf(editedLists()));
    ASSERT_EQ(runImport(), TransferEnd::Succeeded);

    EXPECT_TRUE(readFile("ag.exe") == alliedGeneral(editedLists())) << "ag.exe not as edited";
    for (const char* name : {"ag.exe", "p_slots.txt"}) {
        SCOPED_TRACE(name);
        const FILETIME created = creationTime(folder / name);
        EXPECT_EQ(created.dwHighDateTime, longAgo.dwHighDateTime);
        EXPECT_EQ(created.dwLowDateTime, longAgo.dwLowDateTime);
    }
    EXPECT_EQ(GetFileAttributesW((folder / "p_slots.txt").c_str()), DWORD{FILE_ATTRIBUTE_HIDDEN});
    EXPECT_NE(GetFileAttributesW((folder / "ag.exe").c_str()) & FILE_ATTRIBUTE_NOT_CONTENT_INDEXED,
              0u);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "ag.exe.orig", "p_slots.txt",
                                                     "p_slots.txt.bak"}));
}

// Removes a folder made for one test, whatever the outcome.
struct FolderRemover
{
    std::filesystem::path folder;
    ~FolderRemover()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

// Points this program's own import of `function` from the system at `replacement`, as a fault
// would make the system answer, and returns what it pointed at.
void* redirectImport(const char* function, void* replacement)
{
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name != 0; ++library) {
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; name->u1.AddressOfData != 0; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) ||
                std::string_view(reinterpret_cast<const char*>(
                    reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData)
                        ->Name)) != function) {
                continue;
            }
            DWORD protection = 0;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE,
                           &protection);
            void* const previous = reinterpret_cast<void*>(slot->u1.Function);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
            return previous;
        }
    }
    return nullptr;
}

// A ReplaceFileW that stops half way, as it may where the disk fails between its two moves: the
// old file goes to the backup name and the new one keeps its own. The moves after it fail as many
// times as asked, with a full disk.
struct HalfWayReplacement
{
    static BOOL WINAPI replaceFile(LPCWSTR replaced, LPCWSTR, LPCWSTR backup, DWORD, LPVOID, LPVOID)
    {
        realMove(replaced, backup, MOVEFILE_REPLACE_EXISTING);
        stopped = true;
        SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
        return FALSE;
    }

    static BOOL WINAPI moveFile(LPCWSTR from, LPCWSTR to, DWORD flags)
    {
        if (stopped && movesToFail > 0) {
            --movesToFail;
            SetLastError(ERROR_DISK_FULL);
            return FALSE;
        }
        return realMove(from, to, flags);
    }

    explicit HalfWayReplacement(int failingMoves)
    {
        stopped = false;
        movesToFail = failingMoves;
        realReplace = redirectImport("ReplaceFileW", reinterpret_cast<void*>(&replaceFile));
        realMove = reinterpret_cast<decltype(&MoveFileExW)>(
            redirectImport("MoveFileExW", reinterpret_cast<void*>(&moveFile)));
    }
    ~HalfWayReplacement()
    {
        redirectImport("ReplaceFileW", realReplace);
        redirectImport("MoveFileExW", reinterpret_cast<void*>(realMove));
    }

    static inline bool stopped = false;
    static inline int movesToFail = 0;
    static inline void* realReplace = nullptr;
    static inline decltype(&MoveFileExW) realMove = nullptr;
};

TEST_F(WindowsFilesTest, AReplacementThatStopsHalfWayIsFinishedUndoneOrToldWhereEachFileIs)
{
    struct Case
    {
        const char* what;
        int failingMoves;
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {"the move is finished", 0, {"ag.exe", "ag.exe.orig", "p_slots.txt"}},
        {"the old file is put back", 1, {"ag.exe", "ag.exe.orig", "p_slots.txt"}},
        {"neither works", 2, {"ag.exe.orig", "ag.exe.zarn-old", "ag.exe.zarn-tmp", "p_slots.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        useNewFolder();
        writeAlliedGeneral();
        const std::string original = readFile("ag.exe");
        writeFile("ag.exe.orig", original);
        writeFile("p_slots.txt", slotFileOf(editedLists()));
        choose(Game::AlliedGeneral);
        const std::string executable = shown("ag.exe");

        std::optional<Failure> failure;
        {
            const HalfWayReplacement stopping(c.failingMoves);
            try {
                EXPECT_EQ(runImport(), TransferEnd::Succeeded);
            } catch (const RuntimeError& error) {
                failure = error.failure();
            }
        }
        EXPECT_EQ(fileNames(), c.files);
        // The replacement's failure, in the system's words for a full disk.
        const auto replacing = [&](const FileFailed& failed) {
            return FileFailed{executable, FileAction::Replaced, failed.reason, FaultOf::System,
                              std::nullopt};
        };
        if (c.failingMoves == 0) {
            EXPECT_EQ(failure, std::nullopt);
            EXPECT_TRUE(readFile("ag.exe") == alliedGeneral(editedLists())) << "not as edited";
        } else if (c.failingMoves == 1) {
            ASSERT_TRUE(failure && std::holds_alternative<FileFailed>(*failure));
            EXPECT_EQ(*failure, Failure(replacing(std::get<FileFailed>(*failure))));
            EXPECT_TRUE(readFile("ag.exe") == original) << "ag.exe was changed";
        } else {
            ASSERT_TRUE(failure && std::holds_alternative<ReplacementStoppedHalfWay>(*failure));
            const auto& stopped = std::get<ReplacementStoppedHalfWay>(*failure);
            EXPECT_EQ(stopped, (ReplacementStoppedHalfWay{replacing(stopped.replacing), executable,
                                                          executable + ".zarn-old",
                                                          executable + ".zarn-tmp"}));
            EXPECT_TRUE(readFile("ag.exe.zarn-old") == original) << "the old contents are lost";
            EXPECT_TRUE(readFile("ag.exe.zarn-tmp") == alliedGeneral(editedLists()))
                << "the new contents are lost";
        }
    }
}

// Runs an action at the first ReplaceFileW of a transfer, before the call goes on.
struct ActionAtReplacement
{
    static BOOL WINAPI replaceFile(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup,
                                   DWORD flags, LPVOID exclude, LPVOID reserved)
    {
        if (action) {
            std::exchange(action, nullptr)();
        }
        return realReplace(replaced, replacement, backup, flags, exclude, reserved);
    }

    explicit ActionAtReplacement(std::function<void()> once)
    {
        action = std::move(once);
        realReplace = reinterpret_cast<decltype(&ReplaceFileW)>(
            redirectImport("ReplaceFileW", reinterpret_cast<void*>(&replaceFile)));
    }
    ~ActionAtReplacement() { redirectImport("ReplaceFileW", reinterpret_cast<void*>(realReplace)); }

    static inline std::function<void()> action;
    static inline decltype(&ReplaceFileW) realReplace = nullptr;
};

TEST_F(WindowsFilesTest, NoFolderOnTheWayCanBeMovedWhileATransferRuns)
{
    if (underWine()) {
        GTEST_SKIP() << "Wine lets a folder be renamed that another handle holds without "
                        "sharing the right to delete, as Windows does not";
    }
    const std::filesystem::path above = folder / "games";
    folder = above / "ag";
    std::filesystem::create_directories(folder);
    writeAlliedGeneral();
    writeFile("p_slots.txt", "\"my own edits\"\r\n");
    choose(Game::AlliedGeneral);

    std::vector<std::filesystem::path> moved;
    {
        const ActionAtReplacement trying([&] {
            for (const std::filesystem::path& held : {folder, above}) {
                std::filesystem::path elsewhere = held;
                elsewhere += "-moved";
                if (MoveFileExW(held.c_str(), elsewhere.c_str(), 0)) {
                    moved.push_back(held);
                }
            }
        });
        EXPECT_EQ(runExport(), TransferEnd::Succeeded);
    }
    EXPECT_EQ(moved, std::vector<std::filesystem::path>{});
    EXPECT_EQ(readFile("p_slots.txt"), slotFileOf(standardLists()));
    EXPECT_EQ(readFile("p_slots.txt.bak"), "\"my own edits\"\r\n");
}

TEST_F(WindowsFilesTest, TransfersWorkInANetworkFolder)
{
    const char* winePrefix = std::getenv("WINEPREFIX");
    if (!underWine() || winePrefix == nullptr) {
        GTEST_SKIP() << "a network share is made up here only under Wine, through the "
                        "dosdevices\\unc folder of its prefix";
    }
    // Wine serves \\zarn-test\SHARE from the folder dosdevices/unc/zarn-test/SHARE of its prefix.
    const std::string share = "share-" + std::to_string(GetCurrentProcessId());
    const FolderRemover served{std::filesystem::path("Z:" + std::string(winePrefix)) /
                               "dosdevices" / "unc" / "zarn-test" / share};
    std::filesystem::create_directories(served.folder);
    folder = "\\\\zarn-test\\" + share;
    exportEditAndImport();
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "ag.exe.orig", "p_slots.txt",
                                                     "p_slots.txt.bak"}));
}

// The names in a folder, and the removal of a folder tree, through the "\\?\" form of the paths:
// this build's C++ library cannot list folders past 260 characters.
std::vector<std::string> namesInLongFolder(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW((L"\\\\?\\" + folder.wstring() + L"\\*").c_str(), &entry);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &entry)) {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(std::filesystem::path(name).string());
        }
    }
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void removeLongTree(const std::filesystem::path& folder)
{
    for (const std::string& name : namesInLongFolder(folder)) {
        const std::wstring path = L"\\\\?\\" + (folder / name).wstring();
        if (!DeleteFileW(path.c_str())) {
            removeLongTree(folder / name);
        }
    }
    RemoveDirectoryW((L"\\\\?\\" + folder.wstring()).c_str());
}

TEST_F(WindowsFilesTest, TransfersWorkInAFolderPastTheOldPathLimit)
{
    const std::filesystem::path top = folder / std::string(100, 'a');
    folder = top / std::string(100, 'b') / std::string(60, 'c');
    ASSERT_GT((folder / "ag.exe.orig.zarn-tmp").native().size(), std::size_t{MAX_PATH});
    std::filesystem::create_directories(folder);
    exportEditAndImport();
    EXPECT_EQ(
        namesInLongFolder(folder),
        (std::vector<std::string>{"ag.exe", "ag.exe.orig", "p_slots.txt", "p_slots.txt.bak"}));
    removeLongTree(top);
}

} // namespace
} // namespace zarn::testing
