#pragma once

#include "zarn/editor_state.h"

#include <filesystem>
#include <vector>

namespace zarn {

// The games whose executables lie in `folder`, in the order of Game, looked for as the transfers
// look for them: anything but a folder named "pg.exe" or "ag.exe" in any case. A name that
// several files answer to, or a link or a pipe there, counts too, so that the transfer names it.
// @throw InTheWay, RuntimeError where the folder cannot be opened as the transfers open it.
std::vector<Game> gamesIn(const std::filesystem::path& folder);

} // namespace zarn
