// Files that another program holds open for a moment while a transfer runs, as scanners, search
// indexers and sync tools do with files, new ones above all: a short hold is waited out, a long one
// refused, and either way no file is changed but as the transfer means to and nothing is left
// behind.
#include "child_process.h"
#include "transfer_fixture.h"
#include "zarn/runtime_error.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace zarn::testing {
namespace {

std::string utf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// The helper program that holds a file, beside the test program.
std::wstring holderProgram()
{
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"zarn_file_holder.exe";
}

class HeldFilesTest : public TransferTest
{
protected:
    // Starts the helper on a file of the program folder, and waits until it holds the file or,
    // where the file is yet to be made, until it looks out for it.
    void startHolder(const std::string& name, DWORD milliseconds, const wchar_t* sharing)
    {
        const std::wstring event = L"zarn-holder-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(++m_holders);
        m_started = CreateEventW(nullptr, TRUE, FALSE, (event + L"-started").c_str());
        m_held = CreateEventW(nullptr, TRUE, FALSE, (event + L"-held").c_str());
        ASSERT_TRUE(m_started != nullptr && m_held != nullptr);
        m_holder = std::make_unique<ChildProcess>(Command{
            holderProgram(),
            {utf8(folder / name), std::to_string(milliseconds), utf8(sharing), utf8(event)}});
        ASSERT_TRUE(m_holder->started()) << GetLastError();
        ASSERT_EQ(WaitForSingleObject(exists(name) ? m_held : m_started, 20000), WAIT_OBJECT_0);
    }

    // Waits for the helper to end, or ends it where it has not caught the file by now; true
    // where it held the file.
    bool holderHeldTheFile()
    {
        if (WaitForSingleObject(m_held, 0) != WAIT_OBJECT_0) {
            m_holder->kill();
        }
        const bool held = m_holder->wait().status == 0;
        CloseHandle(m_started);
        CloseHandle(m_held);
        return held;
    }

private:
    std::unique_ptr<ChildProcess> m_holder;
    HANDLE m_started = nullptr;
    HANDLE m_held = nullptr;
    int m_holders = 0;
};

struct HoldCase
{
    const char* what;
    bool isImport;
    const char* held;
    DWORD milliseconds;
    const wchar_t* sharing;
    // Where the transfer must fail: the file it names, and what could not be done to it.
    std::optional<std::pair<const char*, FileAction>> failure;
};

TEST_F(HeldFilesTest, AShortHoldIsWaitedOutAndALongOneRefused)
{
    const std::string oldSlotFile = "\"my own edits\"\r\n";
    const std::string original =
        executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(standardLists()));
    const std::string edited =
        executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(editedLists()));
    const HoldCase cases[] = {
        {"export, new slot file held", false, "p_slots.txt.zarn-tmp", 300, L"all", {}},
        {"export, old slot file held", false, "p_slots.txt", 300, L"no-delete", {}},
        {"import, new executable held", true, "ag.exe.zarn-tmp", 300, L"all", {}},
        {"import, old executable held", true, "ag.exe", 300, L"no-delete", {}},
        {"export, executable held without sharing", false, "ag.exe", 300, L"none", {}},
        {"export, old slot file held without sharing", false, "p_slots.txt", 300, L"none", {}},
        {"import, executable held without sharing", true, "ag.exe", 300, L"none", {}},
        {"import, slot file held without sharing", true, "p_slots.txt", 300, L"none", {}},
        {"export, new slot file held long", false, "p_slots.txt.zarn-tmp", 3000, L"all",
         std::pair("p_slots.txt", FileAction::Replaced)},
        {"export, old slot file held long", false, "p_slots.txt", 3000, L"no-delete",
         std::pair("p_slots.txt", FileAction::Replaced)},
        {"import, new executable held long", true, "ag.exe.zarn-tmp", 3000, L"all",
         std::pair("ag.exe", FileAction::Replaced)},
        {"import, old executable held long", true, "ag.exe", 3000, L"no-delete",
         std::pair("ag.exe", FileAction::Replaced)},
        {"import, executable held long without sharing", true, "ag.exe", 3000, L"none",
         std::pair("ag.exe", FileAction::OpenedForWriting)},
    };
    for (const HoldCase& c : cases) {
        SCOPED_TRACE(c.what);
        // The helper may miss a new file that exists only for a moment: then the case runs again.
        std::string slotFile;
        std::optional<Failure> failure;
        bool held = false;
        for (int attempt = 1; attempt <= 5 && !held; ++attempt) {
            useNewFolder();
            writeAlliedGeneral();
            writeFile("ag.exe.orig", original);
            slotFile = c.isImport ? slotFileOf(editedLists()) : oldSlotFile;
            writeFile("p_slots.txt", slotFile);
            choose(Game::AlliedGeneral);
            startHolder(c.held, c.milliseconds, c.sharing);

            failure.reset();
            try {
                c.isImport ? runImport() : runExport();
            } catch (const RuntimeError& error) {
                failure = error.failure();
            }
            held = holderHeldTheFile();
        }
        ASSERT_TRUE(held) << "the helper never caught " << c.held;
        const bool changed = !c.failure;
        if (changed) {
            EXPECT_EQ(failure, std::nullopt);
        } else {
            const FileFailed* failed = failure ? std::get_if<FileFailed>(&*failure) : nullptr;
            ASSERT_NE(failed, nullptr) << (failure ? messageText(*failure) : "no failure");
            EXPECT_EQ(failed->file, shown(c.failure->first));
            EXPECT_EQ(failed->action, c.failure->second);
        }
        EXPECT_TRUE(readFile("ag.exe") == (c.isImport && changed ? edited : original))
            << "ag.exe is not what the transfer should leave";
        EXPECT_EQ(readFile("p_slots.txt"),
                  c.isImport || !changed ? slotFile : slotFileOf(standardLists()));
        EXPECT_TRUE(readFile("ag.exe.orig") == original) << "ag.exe.orig was changed";
        // An export keeps the slot file it replaces, once it has replaced it.
        std::vector<std::string> expected{"ag.exe", "ag.exe.orig", "p_slots.txt"};
        if (!c.isImport && changed) {
            EXPECT_EQ(readFile("p_slots.txt.bak"), oldSlotFile);
            expected.push_back("p_slots.txt.bak");
        }
        EXPECT_EQ(fileNames(), expected);
    }
}

} // namespace
} // namespace zarn::testing
