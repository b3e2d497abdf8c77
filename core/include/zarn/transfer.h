#pragma once

#include "zarn/list_changes.h"
#include "zarn/slot_file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zarn {

class MessagePresenter;
struct EditorState;

// How a transfer ended, which tells the front end what to do next.
enum class TransferEnd
{
    // Refused before anything was written (no game chosen, executable missing, something in the
    // way that the user has been told about): keep running.
    StoppedEarly,
    // Finished and the table was moved: end the program with success.
    Succeeded,
    // Finished with a refusal that the user has been told about: end the program with failure.
    Failed,
};

// How a transfer ended, and the files it moved the table between, by their names in the game
// folder as messages show them ("AG.EXE" where the game was copied off a CD); the names are
// empty unless it succeeded.
struct TransferOutcome
{
    TransferEnd end;
    std::string executable;
    std::string slotFile;
};

// Each transfer opens the game folder `gameFolder` once, when a game has been chosen, and
// finds, reads and writes every file in that open folder, or where the user's own links there
// lead. A link that another user made, on the way to the folder or at a file's name, is refused.

// Copies the slot table of the chosen executable in the game folder into "p_slots.txt". An
// existing slot file is replaced only by a complete new one and is otherwise left as it was. A
// table that runs off the end of the executable is refused.
// @throw RuntimeError when a file cannot be read or written.
TransferOutcome exportSlots(const EditorState& state, const std::filesystem::path& gameFolder,
                            MessagePresenter& presenter);

// Writes the 646 entries of "p_slots.txt" over the slot table of the chosen executable, after
// checking the whole file. The executable is replaced in one step, so that it holds either its
// old table or the new one; before its first change a copy of it is kept as "<name>.orig".
// @throw RuntimeError when a file cannot be read or written, or the slot file is too short.
TransferOutcome importSlots(const EditorState& state, const std::filesystem::path& gameFolder,
                            MessagePresenter& presenter);

// What importSlots would do: the lists of the executable's table that the slot file changes, and
// the slot file's entries that the import takes although their lines hold more than a whole
// number.
struct ImportPreview
{
    std::vector<ListChange> changes;
    std::vector<UnclearEntry> unclearEntries;
};

// What importSlots would change: the same checks, with the same messages and run-time errors, of
// the same files, but the executable is only read (so it may be read-only) and nothing is written.
// Returns nothing when a check refused and the user has been told why.
// @throw RuntimeError as importSlots does, before it writes.
std::optional<ImportPreview> previewImport(const EditorState& state,
                                           const std::filesystem::path& gameFolder,
                                           MessagePresenter& presenter);

} // namespace zarn
