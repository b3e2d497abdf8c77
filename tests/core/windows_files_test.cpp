// How the transfers meet files that Windows itself protects: hidden and system files, read-only
// files and files that another program holds open.

#include "transfer_fixture.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace zarn::testing {
namespace {

class WindowsFilesTest : public TransferTest
{
protected:
    ~WindowsFilesTest() override
    {
        // Read-only and system files would stay behind when the folder is removed.
        for (const std::string& name : fileNames()) {
            SetFileAttributesW((folder / name).c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }

    void setAttributes(const char* name, DWORD attributes)
    {
        ASSERT_TRUE(SetFileAttributesW((folder / name).c_str(), attributes));
    }

    static bool startsWith(const std::string& text, const std::string& start)
    {
        return text.rfind(start, 0) == 0;
    }
};

const std::string oldSlotFile = "\"my own edits\"\r\n1\r\n";

TEST_F(WindowsFilesTest, HiddenAndSystemExecutablesCountAsMissing)
{
    for (const DWORD attributes : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM}}) {
        SCOPED_TRACE(attributes);
        writeAlliedGeneral();
        setAttributes("ag.exe", attributes);
        choose("ag.exe");
        messages.shown.clear();

        EXPECT_EQ(runExport(), TransferEnd::StoppedEarly);
        EXPECT_EQ(messages.shown,
                  std::vector<std::string>{"Could not find " + (folder / "ag.exe").string() +
                                           "\rMake sure it is in the zarn folder."});
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
        choose("ag.exe");

        EXPECT_EQ(runtimeErrorOf([this, &c] { return c.isImport ? runImport() : runExport(); }),
                  (folder / c.readOnly).string() +
                      " is read-only, so zarn cannot change it.\rClear its read-only attribute "
                      "(right-click it, choose Properties, untick Read-only) and try again.");
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
        choose("ag.exe");

        const std::string error = runtimeErrorOf([this] { return runExport(); });
        CloseHandle(holder);
        EXPECT_TRUE(startsWith(error, (folder / held).string() + " could not be ")) << error;
        EXPECT_EQ(readFile("p_slots.txt"), oldSlotFile);
        EXPECT_TRUE(readFile("ag.exe") == executable) << "ag.exe was changed";
        EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt"}));
    }
}

} // namespace
} // namespace zarn::testing
