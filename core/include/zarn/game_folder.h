#pragma once

#include "zarn/outcomes.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace zarn {

// The folder where a front end looks for the game and p_slots.txt, or the refusal that says why
// there is none (FolderMissing, FolderUnreachable, MoreThanOneNamed); exactly one of the two is
// set.
struct GameFolder
{
    std::optional<std::filesystem::path> folder;
    std::optional<Refusal> refusal;
};

// The game folder that a command line names, from the paths it gives, for all of zarn's front ends.
// None: `defaultFolder` as it is (the program's folder for the windows, the current folder for
// zarn-cli), unless it holds neither game executable and the current folder holds one, which is
// then the game folder. One: the folder it names, or the folder of the file it names (the game's
// executable), in full and without "." steps or a closing separator. More than one, or a path
// where nothing is or that cannot be looked at: a refusal, which says what to start zarn on.
GameFolder gameFolderFor(const std::vector<std::filesystem::path>& named,
                         const std::filesystem::path& defaultFolder);

} // namespace zarn
