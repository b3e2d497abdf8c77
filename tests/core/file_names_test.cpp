// Games copied off a CD carry upper-case names. On a file system that tells case apart the
// transfers take a file whose name differs only in case, under its own name, and refuse where
// several such files make the choice unclear.
#include "transfer_fixture.h"
#include "zarn/utf8_path.h"

#include <gtest/gtest.h>

namespace zarn::testing {
namespace {

using Names = std::vector<std::string>;

class FileNamesTest : public TransferTest
{
protected:
    void SetUp() override
    {
#ifdef _WIN32
        GTEST_SKIP() << "Windows finds files in any case by itself";
#endif
    }

    void writeExecutable(const std::string& name, const SlotLists& lists = standardLists())
    {
        writeFile(name, executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(lists)));
    }
};

TEST_F(FileNamesTest, TransfersUseAFileWhoseNameDiffersOnlyInCaseUnderItsOwnName)
{
    struct Case
    {
        const char* executable;
        const char* slotFile;
    };
    const Case cases[] = {
        {"AG.EXE", "p_slots.txt"},
        {"Ag.Exe", "P_SLOTS.TXT"},
        {"ag.exe", "P_Slots.Txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.executable) + ", " + c.slotFile);
        useNewFolder();
        writeExecutable(c.executable);
        writeFile(c.slotFile, "\"old\"\r\n");
        choose(Game::AlliedGeneral);

        ASSERT_EQ(runExport(), TransferEnd::Succeeded);
        EXPECT_EQ(readFile(c.slotFile), slotFileOf(standardLists()));
        const std::string backup = std::string(c.slotFile) + ".bak";
        EXPECT_EQ(readFile(backup), "\"old\"\r\n");
        Names expected{c.executable, c.slotFile, backup};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(fileNames(), expected);

        writeFile(c.slotFile, slotFileOf(editedLists()));
        ASSERT_EQ(runImport(), TransferEnd::Succeeded);
        EXPECT_TRUE(readFile(c.executable) == executableWith(alliedGeneralLength,
                                                             alliedGeneralOffset,
                                                             regionOf(editedLists())))
            << c.executable << " does not hold the edited table";
        const std::string safetyCopy = std::string(c.executable) + ".orig";
        EXPECT_TRUE(readFile(safetyCopy) == executableWith(alliedGeneralLength, alliedGeneralOffset,
                                                           regionOf(standardLists())))
            << safetyCopy << " is not the original";
        expected.push_back(safetyCopy);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(fileNames(), expected);
        EXPECT_TRUE(messages.refusals.empty());
    }
}

TEST_F(FileNamesTest, MessagesNameTheFileAsItIs)
{
    const std::string region = regionOf(standardLists());
    writeFile("PG.EXE", executableWith(region.size() + 50, 100, region));
    writeFile("P_SLOTS.TXT", slotFileOf(editedLists()));
    choose(Game::PanzerGeneral, 101);

    EXPECT_EQ(runImport(), TransferEnd::Failed);
    EXPECT_EQ(messages.refusals, (std::vector<Refusal>{RegionPastEnd{101, 1342, "PG.EXE"}}));

    writeFile("P_SLOTS.TXT", "1\r\n2\r\n");
    choose(Game::PanzerGeneral, 50);
    EXPECT_EQ(failureOf([this] { return runImport(); }),
              Failure(SlotFileTooShort{shown("P_SLOTS.TXT"), 2, 2}));
}

bool isSlotFileName(const std::string& name)
{
    return name.starts_with("P") || name.starts_with("p");
}

TEST_F(FileNamesTest, SeveralFilesDifferingOnlyInCaseAreListedAndNothingIsTouched)
{
    struct Case
    {
        bool isImport;
        Names files;
        // The name asked for and the files that answer to it, as the refusal lists them.
        std::string name;
        Names matches;
    };
    const Case cases[] = {
        {false, {"AG.EXE", "Ag.exe", "p_slots.txt"}, "ag.exe", {"AG.EXE", "Ag.exe"}},
        {true,
         {"AG.EXE", "Ag.exe", "aG.eXe", "p_slots.txt"},
         "ag.exe",
         {"AG.EXE", "Ag.exe", "aG.eXe"}},
        {false,
         {"P_SLOTS.TXT", "ag.exe", "p_Slots.txt"},
         "p_slots.txt",
         {"P_SLOTS.TXT", "p_Slots.txt"}},
        {true,
         {"P_SLOTS.TXT", "ag.exe", "p_Slots.txt"},
         "p_slots.txt",
         {"P_SLOTS.TXT", "p_Slots.txt"}},
        // One spelled exactly wins nothing: the other may be anyone's.
        {false, {"AG.EXE", "ag.exe", "p_slots.txt"}, "ag.exe", {"AG.EXE", "ag.exe"}},
        {true,
         {"AG.EXE", "P_SLOTS.TXT", "p_slots.txt"},
         "p_slots.txt",
         {"P_SLOTS.TXT", "p_slots.txt"}},
    };
    const std::string original =
        executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(standardLists()));
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.files));
        useNewFolder();
        for (const std::string& name : c.files) {
            writeFile(name, isSlotFileName(name) ? slotFileOf(editedLists()) : original);
        }
        choose(Game::AlliedGeneral);
        messages.refusals.clear();

        EXPECT_EQ(c.isImport ? runImport() : runExport(), TransferEnd::StoppedEarly);
        EXPECT_EQ(
            messages.refusals,
            (std::vector<Refusal>{NamesDifferOnlyInCase{folder.string(), c.name, c.matches}}));
        EXPECT_EQ(fileNames(), c.files);
        for (const std::string& name : c.files) {
            EXPECT_TRUE(readFile(name) ==
                        (isSlotFileName(name) ? slotFileOf(editedLists()) : original))
                << name << " was changed";
        }
    }
}

TEST_F(FileNamesTest, MessagesShowNamesWithoutObeyingThem)
{
    // A folder name that clears the screen, starts a new line, sets the clipboard and ends in a
    // byte that is no UTF-8.
    const std::string name = "game\x1b[2J\r\x1b]52;c;ZmFrZQ==\x07\xff";
    const std::string escaped = "game\\x1b[2J\\x0d\\x1b]52;c;ZmFrZQ==\\x07\\xff";
    folder /= name;
    std::filesystem::create_directory(folder);
    choose(Game::AlliedGeneral);

    EXPECT_EQ(runImport(), TransferEnd::StoppedEarly);
    EXPECT_EQ(messages.refusals, (std::vector<Refusal>{ExecutableMissing{
                                     folder.parent_path().string() + "/" + escaped + "/ag.exe"}}));
}

TEST(ShownText, EscapesControlCharactersAndBytesThatAreNotUtf8)
{
    struct Case
    {
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"Spielstände ä €𝄞", "Spielstände ä €𝄞"},
        {"tab\tline\nreturn\rdelete\x7f", "tab\\x09line\\x0areturn\\x0ddelete\\x7f"},
        {std::string("nul\0", 4), "nul\\x00"},
        {"\x1b[31mred\x1b[0m", "\\x1b[31mred\\x1b[0m"},
        // C1 controls, which some terminals obey: CSI and the string terminator.
        {"\xc2\x9b"
         "2J \xc2\x9c",
         "\\xc2\\x9b"
         "2J \\xc2\\x9c"},
        // Latin-1, a cut sequence, an overlong slash, a surrogate, past U+10FFFF.
        {"caf\xe9", "caf\\xe9"},
        {"\xe2\x82", "\\xe2\\x82"},
        {"\xc0\xaf", "\\xc0\\xaf"},
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},
        {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        EXPECT_EQ(shownText(c.text), c.shown);
    }
}

} // namespace
} // namespace zarn::testing
