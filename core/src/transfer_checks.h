#pragma once

#include "file.h"
#include "zarn/editor_state.h"
#include "zarn/message_presenter.h"
#include "zarn/runtime_error.h"
#include "zarn/transfer.h"
#include "zarn/utf8_path.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zarn {

// A file of a transfer, found by the name the user knows it by in the game folder: that name, which
// messages give, and the file itself, where the user's own links there lead. Copies of it are made
// beside the file itself, where its privacy is.
struct FoundFile
{
    // The name in the game folder: its whole path and the name alone, as messages show them.
    std::string shown;
    std::string shownName;
    // The file itself: the folder it lies in and its name there.
    std::shared_ptr<const Folder> folder;
    std::filesystem::path name;
    // What stands there, links followed.
    FileStatus status;

    // The file itself, as messages show it.
    std::string shownFile() const { return folder->shown(name); }
    // A name beside the file, as messages show it.
    std::string shownBeside(const std::filesystem::path& besideName) const
    {
        return folder->shown(besideName);
    }
    // The file's name with `suffix` added, for its copies and temporary files.
    std::filesystem::path nameWith(const char* suffix) const;
};

// The file in `gameFolder` that the user means by `name` (see nameAnsweringTo), followed through
// the user's own links to the file itself.
// @throw InTheWay where several files differ from `name` only in case, or where a link there, or
// one it leads to, is another user's.
FoundFile findFile(const std::shared_ptr<const Folder>& gameFolder, std::string_view name);

// @throw InTheWay saying what stands there, where anything but a regular file stands at `file`.
void refuseAnyButAFile(const FoundFile& file);

// The first checks of both transfers, once the selection gate has passed: the game folder must
// open, and the chosen executable must lie in it, under its name in any case, and be a file.
// Returns the executable, or tells the user it is missing and returns nothing.
// @throw InTheWay where something else stands in its place.
std::optional<FoundFile> chosenExecutable(const EditorState& state,
                                          const std::shared_ptr<const Folder>& gameFolder,
                                          MessagePresenter& presenter);

// The checks of both transfers once the executable is open: whether zarn trusts its slot region
// (trustsSlotRegion), then a slot address at or after the first byte. Returns the zero-based
// offset of the slot region, or nothing when zarn does not trust it and has told the user why.
// @throw RuntimeError naming `executable` when the slot address lies before the first byte.
std::optional<std::uint64_t> slotRegionOffset(const EditorState& state,
                                              std::uint64_t executableLength,
                                              std::string_view executable,
                                              MessagePresenter& presenter);

// @throw RuntimeError saying how to make it writable, when the file is read-only.
void refuseReadOnlyFile(const FoundFile& file);

// Runs `step`, which creates or changes a file in `folder`. Where it fails because the folder
// takes no new files, the failure is told as the folder's, not as the file's.
template <typename Step>
decltype(auto) inFolder(const Folder& folder, Step step)
{
    try {
        return step();
    } catch (const RuntimeError&) {
        if (const std::optional<std::string> reason = folder.whyRefusesFiles()) {
            throw RuntimeError(FolderNotWritable{shownPath(folder.path()), *reason});
        }
        throw;
    }
}

// Runs `transfer` once a game has been chosen (the selection gate), telling the user what stands
// in the way where it refuses: the transfer has then written nothing, and the program keeps
// running.
template <typename Transfer>
TransferOutcome afterTheSelectionGate(const EditorState& state, MessagePresenter& presenter,
                                      Transfer transfer)
{
    if (!passesSelectionGate(state, presenter)) {
        return {TransferEnd::StoppedEarly, {}, {}};
    }
    try {
        return transfer();
    } catch (const InTheWay& inTheWay) {
        presenter.showRefusal(inTheWay.refusal());
        return {TransferEnd::StoppedEarly, {}, {}};
    }
}

} // namespace zarn
