#include "zarn/editor_state.h"

#include "messages.h"
#include "zarn/message_presenter.h"

namespace zarn {

std::filesystem::path targetPath(const std::filesystem::path& programFolder,
                                 const EditorState& state)
{
    return programFolder / state.TargetFile;
}

std::filesystem::path slotFilePath(const std::filesystem::path& programFolder)
{
    return programFolder / slotFileName;
}

bool passesSelectionGate(const EditorState& state, MessagePresenter& messages)
{
    if (state.TargetFile == noTargetChosen) {
        messages.showMessage(messages::selectGame());
        return false;
    }
    return true;
}

bool passesLengthGate(EditorState& state, std::uint64_t executableLength,
                      MessagePresenter& messages)
{
    state.TargetValid = 0;
    if (state.TargetFile == panzerGeneralFile) {
        state.TargetValid = -1;
    } else if (state.TargetFile == alliedGeneralFile) {
        if (state.SlotAddress != defaultSlotAddress) {
            messages.showMessage(messages::wrongAddress());
        } else if (executableLength != alliedGeneralLength) {
            messages.showMessage(messages::wrongLength());
        } else {
            state.TargetValid = -1;
        }
    }
    return state.TargetValid == -1;
}

} // namespace zarn
