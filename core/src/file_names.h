#pragma once

#include "zarn/runtime_error.h"

#include <filesystem>
#include <string_view>

namespace zarn {

class Folder;

// The name in `folder` of the file that the user means by `name`: the one whose name is `name`
// in any case (games copied off a CD carry "AG.EXE"), under its own spelling; `name` itself where
// none is. `name` is UTF-8.
// @throw InTheWay (NamesDifferOnlyInCase) where several names in the folder differ from `name`
// only in case, one of them spelled exactly or not.
std::filesystem::path nameAnsweringTo(const Folder& folder, std::string_view name);

} // namespace zarn
