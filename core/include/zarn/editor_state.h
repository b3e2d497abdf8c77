#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zarn {

class MessagePresenter;

inline constexpr char slotFileName[] = "p_slots.txt";

// The slot address of the one Allied General build whose table the editor trusts, and its length.
inline constexpr std::int32_t defaultSlotAddress = 1883345;
inline constexpr std::uint64_t alliedGeneralLength = 2167611;

// The two games whose executables the editor edits.
enum class Game
{
    PanzerGeneral,
    AlliedGeneral,
};

// The file name of the game's executable: "pg.exe" or "ag.exe".
std::string_view executableName(Game game);

// What the editor remembers while the window is open. Nothing of it is saved between runs.
struct EditorState
{
    // 1-based byte position of the slot region inside the game executable.
    std::int32_t slotAddress = defaultSlotAddress;
    // The game whose executable the transfers use; none until the user chooses one.
    std::optional<Game> chosenGame;
};

// Sets slotAddress from the number a text stands for (see slotAddressFromText). A text whose
// value lies outside the 32-bit signed range is an overflow: it is refused, slotAddress keeps its
// value and the result is false.
bool setSlotAddressFromText(EditorState& state, std::string_view text);

// True when a game has been chosen; otherwise shows the selection message and returns false.
bool passesSelectionGate(const EditorState& state, MessagePresenter& presenter);

// Whether the chosen game's executable, of the length given, may be read or written at the slot
// address: Panzer General always; Allied General only at the default address and of its one
// known length, telling the user why not otherwise.
bool trustsSlotRegion(const EditorState& state, std::uint64_t executableLength,
                      MessagePresenter& presenter);

} // namespace zarn
