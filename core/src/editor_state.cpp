#include "zarn/editor_state.h"

#include "messages.h"
#include "zarn/message_presenter.h"
#include "zarn/number_text.h"

namespace zarn {

void initialise(EditorState& state)
{
    state.SlotAddress = defaultSlotAddress;
    state.TargetFile = noTargetChosen;
}

void chooseTarget(EditorState& state, Game game)
{
    state.TargetFile = game == Game::PanzerGeneral ? panzerGeneralFile : alliedGeneralFile;
}

bool setSlotAddressFromText(EditorState& state, std::string_view text)
{
    const std::optional<std::int32_t> address = slotAddressFromText(text);
    if (address) {
        state.SlotAddress = *address;
    }
    return address.has_value();
}

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
