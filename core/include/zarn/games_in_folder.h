#pragma once

#include "zarn/editor_state.h"

#include <filesystem>
#include <vector>

namespace zarn {

// The games whose executables lie in `folder`, in the order of Game, looked for as the transfers
// look for them: a file named "pg.exe" or "ag.exe", or in another case where none has the name
// exactly. A name that several files answer to counts too, so that the transfer names them.
std::vector<Game> gamesIn(const std::filesystem::path& folder);

} // namespace zarn
