#include "file.h"
#include "replacement_file.h"
#include "slot_file_contents.h"
#include "transfer_checks.h"
#include "zarn/editor_state.h"
#include "zarn/list_changes.h"
#include "zarn/message_presenter.h"
#include "zarn/runtime_error.h"
#include "zarn/slot_table.h"
#include "zarn/transfer.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace zarn {
namespace {

// Copies `source` into `destination` with `patch` laid over its bytes from `patchOffset` on.
void copyWithPatch(const File& source, File& destination, std::uint64_t patchOffset,
                   std::string_view patch)
{
    // Left uninitialised: each block is read before it is used.
    constexpr std::size_t blockSize = 1024 * 1024;
    const std::unique_ptr<char[]> block = std::make_unique_for_overwrite<char[]>(blockSize);
    std::uint64_t offset = 0;
    while (const std::size_t got = source.readAt(offset, block.get(), blockSize)) {
        const std::uint64_t from = std::max(offset, patchOffset);
        const std::uint64_t to = std::min(offset + got, patchOffset + patch.size());
        if (from < to) {
            std::copy(patch.begin() + static_cast<std::ptrdiff_t>(from - patchOffset),
                      patch.begin() + static_cast<std::ptrdiff_t>(to - patchOffset),
                      block.get() + (from - offset));
        }
        destination.write({block.get(), got});
        offset += got;
    }
}

// Whether the executable needs its safety copy "<name>.orig" made, which it does where none is
// there yet. What stands there is the safety copy only where it is a plain file of the
// executable's length that the user or the system made; anything else is in the way, never
// followed and never taken for the original.
bool needsSafetyCopy(const FoundFile& executableFile, std::uint64_t length)
{
    const std::filesystem::path copyName = executableFile.nameWith(".orig");
    const FileStatus copy = executableFile.folder->status(copyName);
    const std::string shown = executableFile.shownBeside(copyName);
    if (copy.kind == FileKind::Missing) {
        return true;
    }
    if (copy.kind != FileKind::Regular) {
        throw InTheWay(SafetyCopyInTheWay{shown, copy.kind});
    }
    if (copy.stranger) {
        throw InTheWay(SafetyCopyNotYours{shown, *copy.stranger});
    }
    if (copy.size != length) {
        throw InTheWay(SafetyCopyWrongLength{shown, copy.size, executableFile.shownName, length});
    }
    return false;
}

// How the import opens the executable: to change it, or only to read it for a preview.
enum class ExecutableAccess
{
    Update,
    Read,
};

File openExecutable(const FoundFile& executableFile, ExecutableAccess access)
{
    const Folder& folder = *executableFile.folder;
    if (access == ExecutableAccess::Read) {
        return folder.openForReading(executableFile.name, executableFile.shown);
    }
    refuseReadOnlyFile(executableFile);
    return inFolder(
        folder, [&] { return folder.openForUpdate(executableFile.name, executableFile.shown); });
}

// An import that has passed every check and read both tables, before its first write.
struct CheckedImport
{
    FoundFile executableFile;
    std::string slotFileName;
    File executable;
    std::uint64_t offset = 0;
    // The slot region as the executable holds it now, and as the slot file has it.
    std::string oldRegion;
    std::string newRegion;
    std::vector<UnclearEntry> unclearEntries;
};

// The checks and reads of the import, up to its first write, once a game has been chosen.
// Returns how the import ends instead where a check refuses, once the user has been told why.
std::variant<CheckedImport, TransferEnd> checkImport(const EditorState& state,
                                                     const std::filesystem::path& gameFolder,
                                                     MessagePresenter& presenter,
                                                     ExecutableAccess access)
{
    const auto folder = std::make_shared<const Folder>(Folder::open(gameFolder));
    const std::optional<FoundFile> executableFile = chosenExecutable(state, folder, presenter);
    if (!executableFile) {
        return TransferEnd::StoppedEarly;
    }
    const std::string& executableName = executableFile->shownName;
    const FoundFile slotFile = findFile(folder, slotFileName);
    refuseAnyButAFile(slotFile);
    const File slotText = slotFile.folder->openForReading(slotFile.name, slotFile.shown);
    File executable = openExecutable(*executableFile, access);
    const std::uint64_t length = executable.size();
    const std::optional<std::uint64_t> offset =
        slotRegionOffset(state, length, executableFile->shown, presenter);
    if (!offset) {
        return TransferEnd::Failed;
    }
    if (*offset + regionBytes > length) {
        presenter.showRefusal(RegionPastEnd{state.slotAddress, length, executableName});
        return TransferEnd::Failed;
    }
    std::string oldRegion(regionBytes, '\0');
    executable.readAt(*offset, oldRegion.data(), oldRegion.size());
    SlotFileReading edited = readSlotFile(slotText, TargetTable{executableName, oldRegion});
    if (edited.refusal) {
        presenter.showRefusal(*edited.refusal);
        return TransferEnd::Failed;
    }
    return CheckedImport{
        *executableFile,
        slotFile.shownName,
        std::move(executable),
        *offset,
        std::move(oldRegion),
        std::move(edited.region),
        std::move(edited.unclearEntries),
    };
}

// Runs a step of making the safety copy: a failure of it is told as the reason why the executable
// was not changed.
template <typename Step>
void makingTheSafetyCopy(const FoundFile& executableFile, Step step)
{
    try {
        step();
    } catch (const RuntimeError& error) {
        const Failure& failure = error.failure();
        if (const auto* failed = std::get_if<FileFailed>(&failure)) {
            throw RuntimeError(SafetyCopyFailed{executableFile.shown, *failed});
        }
        if (const auto* notWritable = std::get_if<FolderNotWritable>(&failure)) {
            throw RuntimeError(SafetyCopyFailed{executableFile.shown, *notWritable});
        }
        throw;
    }
}

// Writes the new executable and puts it in place. Before, where none is there yet, a copy of the
// executable as it is now is put beside it as "<name>.orig"; every temporary file is made before
// either moves into place.
void writeExecutable(CheckedImport& import)
{
    const FoundFile& executableFile = import.executableFile;
    const Folder& folder = *executableFile.folder;
    const std::filesystem::path copyName = executableFile.nameWith(".orig");
    const std::string copyShown = executableFile.shownBeside(copyName);
    std::optional<ReplacementFile> copy;
    makingTheSafetyCopy(executableFile, [&] {
        if (needsSafetyCopy(executableFile, import.executable.size())) {
            inFolder(folder,
                     [&] { copy.emplace(folder, copyName, copyShown, &import.executable); });
            copyWithPatch(import.executable, copy->contents(), 0, {});
        }
    });
    ReplacementFile replacement = inFolder(folder, [&] {
        return ReplacementFile(folder, executableFile.name, executableFile.shown,
                               &import.executable);
    });
    copyWithPatch(import.executable, replacement.contents(), import.offset, import.newRegion);
    import.executable.close();
    makingTheSafetyCopy(executableFile, [&] {
        if (copy && !copy->createTarget()) {
            throw InTheWay(SafetyCopyInTheWay{copyShown, folder.status(copyName).kind});
        }
    });
    replacement.replaceTarget();
}

TransferOutcome importFrom(const EditorState& state, const std::filesystem::path& gameFolder,
                           MessagePresenter& presenter)
{
    std::variant<CheckedImport, TransferEnd> checked =
        checkImport(state, gameFolder, presenter, ExecutableAccess::Update);
    if (const TransferEnd* end = std::get_if<TransferEnd>(&checked)) {
        return {*end, {}, {}};
    }
    CheckedImport& import = std::get<CheckedImport>(checked);
    if (import.oldRegion != import.newRegion) {
        writeExecutable(import);
    }
    return {TransferEnd::Succeeded, import.executableFile.shownName, import.slotFileName};
}

} // namespace

TransferOutcome importSlots(const EditorState& state, const std::filesystem::path& gameFolder,
                            MessagePresenter& presenter)
{
    return afterTheSelectionGate(state, presenter,
                                 [&] { return importFrom(state, gameFolder, presenter); });
}

std::optional<ImportPreview> previewImport(const EditorState& state,
                                           const std::filesystem::path& gameFolder,
                                           MessagePresenter& presenter)
{
    if (!passesSelectionGate(state, presenter)) {
        return std::nullopt;
    }
    try {
        const std::variant<CheckedImport, TransferEnd> checked =
            checkImport(state, gameFolder, presenter, ExecutableAccess::Read);
        if (std::holds_alternative<TransferEnd>(checked)) {
            return std::nullopt;
        }
        const CheckedImport& import = std::get<CheckedImport>(checked);
        return ImportPreview{changedLists(import.oldRegion, import.newRegion),
                             import.unclearEntries};
    } catch (const InTheWay& inTheWay) {
        presenter.showRefusal(inTheWay.refusal());
        return std::nullopt;
    }
}

} // namespace zarn
