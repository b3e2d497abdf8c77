#pragma once

#include <filesystem>
#include <optional>

namespace zarn {

class MessagePresenter;
struct EditorState;

// The first checks of both transfers: a game must be chosen, and its executable must lie in the
// program folder. Returns the executable's path, or tells the user what is missing and returns
// nothing.
std::optional<std::filesystem::path> chosenExecutable(const EditorState& state,
                                                      const std::filesystem::path& programFolder,
                                                      MessagePresenter& messages);

} // namespace zarn
