#include "transfer_fixture.h"
#include "zarn/form/game_folder.h"

#include <gtest/gtest.h>
#include <optional>

namespace zarn::testing {
namespace {

// Each case names paths inside a fresh folder, written here as "{}", which holds the game folder
// "Spiel stände ä" with the game's AG.EXE and is the current folder.
struct Case
{
    const char* what;
    std::vector<std::string> arguments;
    std::optional<std::string> folder;
    std::string refusal;
};

const std::string startOnTheGame =
    "\rStart zarn on the folder that holds the game's ag.exe or pg.exe.";
const std::string longName(300, 'x');

const Case cases[] = {
    {"the game folder", {"{}/Spiel stände ä"}, "{}/Spiel stände ä", ""},
    {"a closing separator", {"{}/Spiel stände ä/"}, "{}/Spiel stände ä", ""},
    {"dot steps", {"{}/Spiel stände ä/../Spiel stände ä/."}, "{}/Spiel stände ä", ""},
    {"a folder of the current one", {"Spiel stände ä"}, "{}/Spiel stände ä", ""},
    {"the current folder", {"."}, "{}", ""},
    {"the game's executable", {"{}/Spiel stände ä/AG.EXE"}, "{}/Spiel stände ä", ""},
    {"a folder that does not exist",
     {"{}/Spiel stände ü"},
     std::nullopt,
     "The folder {}/Spiel stände ü does not exist." + startOnTheGame},
    {"a name longer than the file system allows",
     {"{}/" + longName},
     std::nullopt,
     "The folder {}/" + longName + " cannot be opened: File name too long" + startOnTheGame},
    {"a name that would steer a terminal",
     {"{}/Spiel\x1b[2J\xff"},
     std::nullopt,
     "The folder {}/Spiel\\x1b[2J\\xff does not exist." + startOnTheGame},
    {"two folders",
     {"{}/Spiel stände ä", "{}"},
     std::nullopt,
     "zarn was started on 2 files or folders." + startOnTheGame},
};

std::string replaced(std::string text, const std::string& base)
{
    for (std::size_t at = text.find("{}"); at != std::string::npos; at = text.find("{}", at)) {
        text.replace(at, 2, base);
        at += base.size();
    }
    return text;
}

class GameFolderTest : public TransferTest
{
protected:
    GameFolderTest() : m_previous(std::filesystem::current_path())
    {
        std::filesystem::create_directory(folder / "Spiel stände ä");
        writeFile("Spiel stände ä/AG.EXE", "MZ");
        std::filesystem::current_path(folder);
    }
    ~GameFolderTest() override { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};

TEST_F(GameFolderTest, WithoutArgumentsIsTheProgramFolderAsItIs)
{
    const form::GameFolder chosen = form::gameFolderFor({}, "program folder/");
    EXPECT_EQ(chosen.folder, std::filesystem::path("program folder/"));
    EXPECT_EQ(chosen.refusal, "");
}

TEST_F(GameFolderTest, IsTheFolderTheArgumentNamesOrSaysWhyNot)
{
    const std::string base = folder.string();
    for (const Case& tried : cases) {
        SCOPED_TRACE(tried.what);
        std::vector<std::filesystem::path> arguments;
        for (const std::string& argument : tried.arguments) {
            arguments.emplace_back(replaced(argument, base));
        }
        const form::GameFolder chosen = form::gameFolderFor(arguments, "program");
        if (tried.folder) {
            EXPECT_EQ(chosen.folder, std::filesystem::path(replaced(*tried.folder, base)));
        } else {
            EXPECT_EQ(chosen.folder, std::nullopt);
        }
        EXPECT_EQ(chosen.refusal, replaced(tried.refusal, base));
    }
}

} // namespace
} // namespace zarn::testing
