#pragma once

#include "zarn/game_folder.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace zarn::form {

// The option with which the menu entry starts zarn: it asks for the game's folder first.
inline constexpr char chooseFolderOption[] = "--choose-folder";

// The system's folder chooser, which each window shows in its own way.
class FolderChooser
{
public:
    virtual ~FolderChooser() = default;

    // Asks the user for a folder, with `title` as the chooser's caption, starting in `startIn`.
    // Returns the folder chosen, or nothing when the user cancelled.
    virtual std::optional<std::filesystem::path>
    chooseFolder(std::string_view title, const std::filesystem::path& startIn) = 0;
};

// The game folder the window starts on, from the arguments after the program's name. With
// chooseFolderOption alone, the folder the user chooses with `chooser`, starting in the current
// folder, taken as if it had been named; otherwise the folder the arguments give (gameFolderFor,
// `programFolder` being the default). Nothing when the user cancelled the chooser.
std::optional<GameFolder> startFolder(const std::vector<std::filesystem::path>& arguments,
                                      const std::filesystem::path& programFolder,
                                      FolderChooser& chooser);

} // namespace zarn::form
