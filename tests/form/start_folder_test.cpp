// The folder the window starts on: the one its command line gives, or the one the user chooses
// when the menu entry asks for the chooser.
#include "transfer_fixture.h"
#include "zarn/form/start_folder.h"

#include <gtest/gtest.h>

namespace zarn::testing {
namespace {

// A chooser that answers with a folder given beforehand, or cancels, and writes down how it was
// asked.
class ScriptedChooser : public form::FolderChooser
{
public:
    explicit ScriptedChooser(std::optional<std::filesystem::path> answer)
        : m_answer(std::move(answer))
    {}

    std::optional<std::filesystem::path> chooseFolder(std::string_view title,
                                                      const std::filesystem::path& startIn) override
    {
        asked.push_back(std::string(title) + " in " + startIn.string());
        return m_answer;
    }

    std::vector<std::string> asked;

private:
    std::optional<std::filesystem::path> m_answer;
};

// The program's folder is "program", which holds no game; the current folder is the test's own,
// which holds the game folder "Allied General" with its ag.exe and nothing else.
class StartFolderTest : public TransferTest
{
protected:
    StartFolderTest() : m_previous(std::filesystem::current_path())
    {
        std::filesystem::create_directories(folder / "program");
        std::filesystem::create_directories(folder / "Allied General");
        writeFile("Allied General/ag.exe", "MZ");
        std::filesystem::current_path(folder);
    }
    ~StartFolderTest() override { std::filesystem::current_path(m_previous); }

    std::filesystem::path programFolder() const { return folder / "program"; }

private:
    std::filesystem::path m_previous;
};

TEST_F(StartFolderTest, AsksTheChooserOnlyForTheOptionAloneAndTakesItsFolderAsIfNamed)
{
    const std::filesystem::path here = std::filesystem::current_path();
    const std::string asked =
        "Choose the folder that holds the game's ag.exe or pg.exe in " + here.string();
    const std::string startOnTheGame =
        "\rStart zarn on the folder that holds the game's ag.exe or pg.exe.";
    struct Case
    {
        const char* what;
        std::vector<std::filesystem::path> arguments;
        std::optional<std::filesystem::path> answer;
        std::vector<std::string> asked;
        std::optional<GameFolder> start;
    };
    const Case cases[] = {
        // A bare start never shows the chooser, and stays in the program's folder, where the
        // transfers then say that the game is missing, as long as the current one holds no game.
        {"a bare start", {}, here, {}, GameFolder{programFolder(), ""}},
        {"a folder named", {"Allied General"}, here, {}, GameFolder{here / "Allied General", ""}},
        {"the option and a folder",
         {"--choose-folder", "Allied General"},
         here,
         {},
         GameFolder{std::nullopt, "zarn was started on 2 files or folders." + startOnTheGame}},
        {"a folder chosen",
         {"--choose-folder"},
         here / "Allied General",
         {asked},
         GameFolder{here / "Allied General", ""}},
        {"the game's executable chosen",
         {"--choose-folder"},
         here / "Allied General" / "ag.exe",
         {asked},
         GameFolder{here / "Allied General", ""}},
        {"a folder that is gone once chosen",
         {"--choose-folder"},
         here / "Axis",
         {asked},
         GameFolder{std::nullopt, "The folder " + (here / "Axis").string() + " does not exist." +
                                      startOnTheGame}},
        {"the chooser cancelled", {"--choose-folder"}, std::nullopt, {asked}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedChooser chooser(c.answer);
        const std::optional<GameFolder> start =
            form::startFolder(c.arguments, programFolder(), chooser);
        EXPECT_EQ(chooser.asked, c.asked);
        ASSERT_EQ(start.has_value(), c.start.has_value());
        if (start) {
            EXPECT_EQ(start->folder, c.start->folder);
            EXPECT_EQ(start->refusal, c.start->refusal);
        }
    }
}
} // namespace
} // namespace zarn::testing
