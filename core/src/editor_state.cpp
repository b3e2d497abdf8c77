#include "zarn/editor_state.h"

#include "zarn/message_presenter.h"
#include "zarn/number_text.h"

namespace zarn {

std::string_view executableName(Game game)
{
    return game == Game::PanzerGeneral ? "pg.exe" : "ag.exe";
}

bool setSlotAddressFromText(EditorState& state, std::string_view text)
{
    const std::optional<std::int32_t> address = slotAddressFromText(text);
    if (address) {
        state.slotAddress = *address;
    }
    return address.has_value();
}

bool passesSelectionGate(const EditorState& state, MessagePresenter& presenter)
{
    if (!state.chosenGame) {
        presenter.showRefusal(SelectGame{});
        return false;
    }
    return true;
}

bool trustsSlotRegion(const EditorState& state, std::uint64_t executableLength,
                      MessagePresenter& presenter)
{
    if (state.chosenGame == Game::PanzerGeneral) {
        return true;
    }
    if (state.chosenGame != Game::AlliedGeneral) {
        return false;
    }
    if (state.slotAddress != defaultSlotAddress) {
        presenter.showRefusal(WrongAddress{});
        return false;
    }
    if (executableLength != alliedGeneralLength) {
        presenter.showRefusal(WrongLength{});
        return false;
    }
    return true;
}

} // namespace zarn
