// The folder the window starts on: the one its command line gives (the core's rule), or the one the
// user chooses when the menu entry asks for the chooser.
#include "folder_files.h"
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

using StartFolderTest = TransferTest;

// The current folder holds the game folder "AG"; the program's folder, "program", holds no game,
// nor does the current one.
TEST_F(StartFolderTest, AsksTheChooserOnlyForTheOptionAloneAndTakesItsFolderAsIfNamed)
{
    const CurrentFolder current(folder);
    std::filesystem::create_directory(folder / "AG");
    const std::string asked = "Choose the folder that holds the game's ag.exe or pg.exe in " +
                              std::filesystem::current_path().string();
    struct Case
    {
        const char* what;
        std::vector<std::filesystem::path> arguments;
        std::optional<std::filesystem::path> answer;
        std::vector<std::string> asked;
        std::optional<std::filesystem::path> folder;
    };
    const Case cases[] = {
        // The design's start: the program's folder, where the transfers say the game is missing.
        {"a bare start", {}, "AG", {}, "program"},
        {"the option and a folder", {"--choose-folder", "AG"}, "AG", {}, std::nullopt},
        {"a folder chosen",
         {"--choose-folder"},
         "AG",
         {asked},
         std::filesystem::current_path() / "AG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedChooser chooser(c.answer);
        const std::optional<GameFolder> start = form::startFolder(c.arguments, "program", chooser);
        EXPECT_EQ(chooser.asked, c.asked);
        ASSERT_TRUE(start.has_value());
        EXPECT_EQ(start->folder, c.folder);
        EXPECT_EQ(start->refusal.has_value(), !c.folder.has_value());
    }

    ScriptedChooser cancelled(std::nullopt);
    EXPECT_EQ(form::startFolder({"--choose-folder"}, "program", cancelled), std::nullopt);
    EXPECT_EQ(cancelled.asked, std::vector<std::string>{asked});
}

} // namespace
} // namespace zarn::testing
