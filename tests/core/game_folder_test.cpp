// The game folder that a command line gives, the same for zarn-cli and both windows.
#include "folder_files.h"
#include "transfer_fixture.h"
#include "zarn/game_folder.h"
#include "zarn/utf8_path.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

namespace zarn::testing {
namespace {

// Each case names paths inside a fresh folder, written here as "{}", which holds the game folder
// "Spiel stände ä" with the game's AG.EXE, and "Spiel stände ä/sub" with a link to it beside them
// where the system lets tests make links. The fresh folder is the current one.
struct NamedCase
{
    const char* what;
    std::vector<std::string> named;
    std::optional<std::string> folder;
    std::optional<Refusal> refusal;
};

const std::string longName(300, 'x');

const NamedCase namedCases[] = {
    {"the game folder", {"{}/Spiel stände ä"}, "{}/Spiel stände ä", {}},
    {"a closing separator", {"{}/Spiel stände ä/"}, "{}/Spiel stände ä", {}},
    {"dot steps", {"{}/./Spiel stände ä//."}, "{}/Spiel stände ä", {}},
    {"the current folder", {"."}, "{}", {}},
    {"the game's executable", {"{}/Spiel stände ä/AG.EXE"}, "{}/Spiel stände ä", {}},
#ifndef _WIN32
    // ".." after a link leads to the folder above where the link leads, which only the system
    // knows: it stays for the system to follow.
    {"a step back from a link", {"{}/link/.."}, "{}/link/..", {}},
    {"a name longer than the file system allows",
     {"{}/" + longName},
     std::nullopt,
     FolderUnreachable{"{}/" + longName, "File name too long", FaultOf::Folder}},
    {"a name that would steer a terminal",
     {"{}/Spiel\x1b[2J\xff"},
     std::nullopt,
     FolderMissing{"{}/Spiel\\x1b[2J\\xff"}},
#endif
    {"a folder that does not exist",
     {"{}/Spiel stände ü/"},
     std::nullopt,
     FolderMissing{"{}/Spiel stände ü"}},
    {"an empty name", {""}, std::nullopt, FolderMissing{""}},
    {"two folders", {"{}/Spiel stände ä", "{}"}, std::nullopt, MoreThanOneNamed{2}},
};

// Where neither the game folder nor the program's own is named: which of the program's folder and
// the current one holds a game, and which is the game folder.
struct UnnamedCase
{
    const char* what;
    std::vector<std::string> inProgramFolder;
    std::vector<std::string> inCurrentFolder;
    bool programFolderChosen;
};

const UnnamedCase unnamedCases[] = {
    {"the game beside the program", {"ag.exe"}, {"pg.exe"}, true},
    {"the game in the current folder", {"p_slots.txt", "ag.exe.orig"}, {"AG.EXE"}, false},
    {"no game anywhere", {}, {"p_slots.txt"}, true},
};

std::string replaced(std::string text, std::string_view pattern, const std::string& base)
{
    for (std::size_t at = text.find(pattern); at != std::string::npos;
         at = text.find(pattern, at + base.size())) {
        text.replace(at, pattern.size(), base);
    }
    return text;
}

class GameFolderTest : public TransferTest
{
protected:
    GameFolderTest()
    {
        const std::filesystem::path game = folder / pathFromUtf8("Spiel stände ä");
        std::filesystem::create_directories(game / "sub");
        writeWholeFile(game / "AG.EXE", "MZ");
    }

    CurrentFolder current{folder};
};

TEST_F(GameFolderTest, IsTheFolderThatIsNamedOrSaysWhyNot)
{
#ifndef _WIN32
    std::filesystem::create_directory_symlink(folder / pathFromUtf8("Spiel stände ä/sub"),
                                              folder / "link");
#endif
    const std::string base = utf8FromPath(folder);
    for (const NamedCase& tried : namedCases) {
        SCOPED_TRACE(tried.what);
        std::vector<std::filesystem::path> named;
        for (const std::string& path : tried.named) {
            named.push_back(pathFromUtf8(replaced(path, "{}", base)));
        }
        const GameFolder chosen = gameFolderFor(named, "program");
        if (tried.folder) {
            EXPECT_EQ(chosen.folder, pathFromUtf8(replaced(*tried.folder, "{}", base)));
        } else {
            EXPECT_EQ(chosen.folder, std::nullopt);
        }
        std::optional<Refusal> refusal = tried.refusal;
        if (refusal) {
            std::visit(
                [&](auto& kind) {
                    if constexpr (requires { kind.folder; }) {
                        kind.folder = replaced(kind.folder, "{}", base);
#ifdef _WIN32
                        std::ranges::replace(kind.folder, '/', '\\');
#endif
                    }
                },
                *refusal);
        }
        EXPECT_EQ(chosen.refusal, refusal);
    }
}

TEST_F(GameFolderTest, WithoutOneNamedIsTheProgramsFolderUnlessOnlyTheCurrentHoldsTheGame)
{
    for (const UnnamedCase& tried : unnamedCases) {
        SCOPED_TRACE(tried.what);
        useNewFolder();
        std::filesystem::create_directory(folder / "program");
        for (const std::string& name : tried.inProgramFolder) {
            writeFile("program/" + name, "MZ");
        }
        for (const std::string& name : tried.inCurrentFolder) {
            writeFile(name, "MZ");
        }
        std::filesystem::current_path(folder);

        const GameFolder chosen = gameFolderFor({}, folder / "program");
        EXPECT_EQ(chosen.folder,
                  tried.programFolderChosen ? folder / "program" : std::filesystem::current_path());
        EXPECT_EQ(chosen.refusal, std::nullopt);
    }
}

} // namespace
} // namespace zarn::testing
