#pragma once

#include "zarn/runtime_error.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zarn {

class MessagePresenter;
struct EditorState;

// A file of a transfer: the path the user knows it by, which messages name and beside which the
// copies are kept, and the file itself, where the user's own link at that path leads.
struct TransferFile
{
    std::filesystem::path path;
    std::filesystem::path file;

    std::string shown() const;
};

// The file in `folder` that the user means by `name` (see fileAnsweringTo).
// @throw NameClash where several files differ from `name` only in case.
// @throw StrangersLink where a link there, or one it leads to, is another user's.
TransferFile transferFile(const std::filesystem::path& folder, std::string_view name);

// The first checks of both transfers: a game must be chosen, and its executable must lie in the
// program folder, under its name in any case where no file has it exactly, and be no link that
// another user made. Returns the executable, or tells the user what is missing or in the way and
// returns nothing.
std::optional<TransferFile> chosenExecutable(const EditorState& state,
                                             const std::filesystem::path& programFolder,
                                             MessagePresenter& presenter);

// The checks of both transfers once the executable is open: the length gate, then a slot address
// at or after the first byte. Returns the zero-based offset of the slot region, or nothing when
// the gate refused the executable and told the user why.
// @throw RuntimeError naming `executablePath` when the slot address lies before the first byte.
std::optional<std::uint64_t> slotRegionOffset(const EditorState& state,
                                              std::uint64_t executableLength,
                                              const std::filesystem::path& executablePath,
                                              MessagePresenter& presenter);

// @throw RuntimeError saying how to make it writable, when the file at `path` is read-only.
void refuseReadOnlyFile(const std::filesystem::path& path);

// @throw RuntimeError naming the folder, when no file can be created in it.
void refuseUnwritableFolder(const std::filesystem::path& folder);

// Runs `step`, which creates or changes a file in `folder`. Where it fails because the folder
// takes no new files, the failure is told as the folder's, not as the file's.
template <typename Step>
decltype(auto) inFolder(const std::filesystem::path& folder, Step step)
{
    try {
        return step();
    } catch (const RuntimeError&) {
        refuseUnwritableFolder(folder);
        throw;
    }
}

} // namespace zarn
