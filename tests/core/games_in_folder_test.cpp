// The games whose executables a folder holds, found as the transfers find them.
#include "transfer_fixture.h"
#include "zarn/games_in_folder.h"

#include <gtest/gtest.h>

namespace zarn::testing {
namespace {

using GamesInFolderTest = TransferTest;

TEST_F(GamesInFolderTest, FindsEachGameByItsExecutableInAnyCase)
{
    struct Case
    {
        std::vector<std::string> files;
        std::vector<Game> games;
    };
    const Case cases[] = {
        {{}, {}},
        {{"p_slots.txt", "ag.exe.orig", "ag.exe.zarn-tmp"}, {}},
        {{"ag.exe"}, {Game::AlliedGeneral}},
        {{"PG.EXE"}, {Game::PanzerGeneral}},
        {{"Ag.Exe", "pg.exe"}, {Game::PanzerGeneral, Game::AlliedGeneral}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files.empty() ? "an empty folder" : c.files.front());
        useNewFolder();
        for (const std::string& name : c.files) {
            writeFile(name, "MZ");
        }
        EXPECT_EQ(gamesIn(folder), c.games);
    }
}

TEST_F(GamesInFolderTest, CountsNamesThatSeveralFilesAnswerToButNoFolder)
{
    std::filesystem::create_directory(folder / "pg.exe");
    writeFile("AG.EXE", "MZ");
    writeFile("ag.EXE", "MZ");
    if (fileNames().size() < 3) {
        GTEST_SKIP() << "this file system ignores case";
    }
    EXPECT_EQ(gamesIn(folder), std::vector<Game>{Game::AlliedGeneral});
}

} // namespace
} // namespace zarn::testing
