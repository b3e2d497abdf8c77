#include "chosen_executable.h"

#include "file.h"
#include "messages.h"
#include "zarn/editor_state.h"
#include "zarn/message_presenter.h"

namespace zarn {

std::optional<std::filesystem::path> chosenExecutable(const EditorState& state,
                                                      const std::filesystem::path& programFolder,
                                                      MessagePresenter& messages)
{
    if (!passesSelectionGate(state, messages)) {
        return std::nullopt;
    }
    std::filesystem::path path = targetPath(programFolder, state);
    if (!isPlainFile(path)) {
        messages.showMessage(messages::executableMissing(displayPath(path)));
        return std::nullopt;
    }
    return path;
}

} // namespace zarn
