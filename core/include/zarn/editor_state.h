#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zarn {

class MessagePresenter;

inline constexpr char noTargetChosen[] = "None Specified";
inline constexpr char panzerGeneralFile[] = "pg.exe";
inline constexpr char alliedGeneralFile[] = "ag.exe";
inline constexpr char slotFileName[] = "p_slots.txt";

// The slot address of the one Allied General build whose table the editor trusts, and its length.
inline constexpr std::int32_t defaultSlotAddress = 1883345;
inline constexpr std::uint64_t alliedGeneralLength = 2167611;

// What the editor remembers while the window is open. Nothing of it is saved between runs.
struct EditorState
{
    // 1-based byte position of the slot region inside the game executable.
    std::int32_t SlotAddress = defaultSlotAddress;
    // noTargetChosen, panzerGeneralFile or alliedGeneralFile.
    std::string TargetFile = noTargetChosen;
    // -1 when the executable passed the length gate of the running transfer, 0 otherwise.
    std::int16_t TargetValid = 0;
};

// The two games whose executables the editor edits.
enum class Game
{
    PanzerGeneral,
    AlliedGeneral,
};

// Puts SlotAddress and TargetFile back to their initial values, as the window does when it loads.
// TargetValid is left alone.
void initialise(EditorState& state);

// Makes the game's executable, "pg.exe" or "ag.exe", the TargetFile. Nothing else changes.
void chooseTarget(EditorState& state, Game game);

// Sets SlotAddress from the number a text stands for (see slotAddressFromText). A text whose
// value lies outside the 32-bit signed range is an overflow: it is refused, SlotAddress keeps its
// value and the result is false.
bool setSlotAddressFromText(EditorState& state, std::string_view text);

// The chosen executable inside the program folder.
std::filesystem::path targetPath(const std::filesystem::path& programFolder,
                                 const EditorState& state);

// "p_slots.txt" inside the program folder.
std::filesystem::path slotFilePath(const std::filesystem::path& programFolder);

// True when a game has been chosen; otherwise shows the selection message and returns false.
bool passesSelectionGate(const EditorState& state, MessagePresenter& messages);

// Sets TargetValid from the chosen game, the slot address and the length of the opened
// executable, telling the user why Allied General is refused. Returns true when it passes.
bool passesLengthGate(EditorState& state, std::uint64_t executableLength,
                      MessagePresenter& messages);

} // namespace zarn
