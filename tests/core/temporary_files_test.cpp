// The temporary files that the transfers write before moving them into place: whatever stands at
// their names beforehand (a link planted by someone else, a file left by an interrupted run) is
// never written through, and the transfer completes or refuses without harm.
#include "transfer_fixture.h"

#include <gtest/gtest.h>

namespace zarn::testing {
namespace {

const std::string precious = "a file that zarn must never write\n";

enum class Planted
{
    LinkToAFile,
    LinkToNothing,
    LeftoverFile,
    Folder,
};

struct Case
{
    const char* what;
    bool isImport;
    const char* temporaryName;
    Planted planted;
    // Empty where the transfer must succeed; else the file that the planted name is in the way of.
    std::string inTheWayOf;
};

class TemporaryFilesTest : public TransferTest
{
protected:
    void runCases(const std::vector<Case>& cases);
};

TEST_F(TemporaryFilesTest, ALinkAtATemporaryNameIsRemovedAndNeverWrittenThrough)
{
#ifdef _WIN32
    GTEST_SKIP() << windowsHasNoSymlinks;
#endif
    runCases({
        {"export", false, "p_slots.txt.zarn-tmp", Planted::LinkToAFile, ""},
        {"export, dangling link", false, "p_slots.txt.zarn-tmp", Planted::LinkToNothing, ""},
        {"import, executable", true, "ag.exe.zarn-tmp", Planted::LinkToAFile, ""},
        {"import, executable, dangling link", true, "ag.exe.zarn-tmp", Planted::LinkToNothing, ""},
        {"import, safety copy", true, "ag.exe.orig.zarn-tmp", Planted::LinkToAFile, ""},
    });
}

TEST_F(TemporaryFilesTest, WhatAnInterruptedRunLeftIsReplacedOrReported)
{
    runCases({
        {"export, leftover", false, "p_slots.txt.zarn-tmp", Planted::LeftoverFile, ""},
        {"import, leftover executable", true, "ag.exe.zarn-tmp", Planted::LeftoverFile, ""},
        {"import, leftover safety copy", true, "ag.exe.orig.zarn-tmp", Planted::LeftoverFile, ""},
        {"export, folder in the way", false, "p_slots.txt.zarn-tmp", Planted::Folder,
         "p_slots.txt"},
        {"import, folder in the way", true, "ag.exe.zarn-tmp", Planted::Folder, "ag.exe"},
    });
}

void TemporaryFilesTest::runCases(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        useNewFolder();
        writeAlliedGeneral();
        const std::string executable = readFile("ag.exe");
        const std::string oldSlotFile = c.isImport ? slotFileOf(editedLists()) : "\"mine\"\r\n";
        writeFile("p_slots.txt", oldSlotFile);
        writeFile("victim", precious);
        const std::filesystem::path planted = folder / c.temporaryName;
        switch (c.planted) {
        case Planted::LinkToAFile:
            std::filesystem::create_symlink(folder / "victim", planted);
            break;
        case Planted::LinkToNothing:
            std::filesystem::create_symlink(folder / "absent", planted);
            break;
        case Planted::LeftoverFile:
            writeFile(c.temporaryName, "half of an interrupted run");
            break;
        case Planted::Folder:
            std::filesystem::create_directory(planted);
            break;
        }
        choose(Game::AlliedGeneral);

        if (c.inTheWayOf.empty()) {
            EXPECT_EQ(c.isImport ? runImport() : runExport(), TransferEnd::Succeeded);
            EXPECT_EQ(fileNames(), c.isImport
                                       ? (std::vector<std::string>{"ag.exe", "ag.exe.orig",
                                                                   "p_slots.txt", "victim"})
                                       : (std::vector<std::string>{"ag.exe", "p_slots.txt",
                                                                   "p_slots.txt.bak", "victim"}));
            EXPECT_TRUE(readFile("ag.exe") ==
                        (c.isImport ? executableWith(alliedGeneralLength, alliedGeneralOffset,
                                                     regionOf(editedLists()))
                                    : executable))
                << "ag.exe is not what the transfer should leave";
            EXPECT_EQ(readFile("p_slots.txt"),
                      c.isImport ? oldSlotFile : slotFileOf(standardLists()));
            EXPECT_FALSE(std::filesystem::is_symlink(folder / "p_slots.txt"));
            EXPECT_FALSE(std::filesystem::is_symlink(folder / "ag.exe"));
        } else {
            messages.refusals.clear();
            EXPECT_EQ(c.isImport ? runImport() : runExport(), TransferEnd::StoppedEarly);
            EXPECT_EQ(messages.refusals,
                      (std::vector<Refusal>{TemporaryNameInTheWay{
                          shown(c.temporaryName), FileKind::Folder, shown(c.inTheWayOf)}}));
            EXPECT_TRUE(readFile("ag.exe") == executable) << "ag.exe was changed";
            EXPECT_EQ(readFile("p_slots.txt"), oldSlotFile);
        }
        EXPECT_EQ(readFile("victim"), precious);
        EXPECT_FALSE(std::filesystem::exists(folder / "absent"));
    }
}

} // namespace
} // namespace zarn::testing
