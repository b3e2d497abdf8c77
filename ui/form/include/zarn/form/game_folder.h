#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zarn::form {

// The folder where zarn looks for the game and p_slots.txt, or the message that says why there is
// none; exactly one of the two is set.
struct GameFolder
{
    std::optional<std::filesystem::path> folder;
    std::string refusal;
};

// The game folder that the command line names, from the arguments after the program's name. None:
// `programFolder`, as it is. One: the folder it names, or the folder of the file it names (the
// game's executable), as an absolute path. More than one, or a path where nothing is: a refusal.
GameFolder gameFolderFor(const std::vector<std::filesystem::path>& arguments,
                         const std::filesystem::path& programFolder);

} // namespace zarn::form
