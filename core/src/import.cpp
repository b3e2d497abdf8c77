#include "file.h"
#include "file_names.h"
#include "refusals.h"
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

// Keeps the executable as it is now beside it as "<name>.orig", unless that copy exists already.
// Anything else at that name, a link among them, is in the way and never followed.
void keepSafetyCopy(const File& executable, const TransferFile& executableFile)
{
    std::filesystem::path copyPath = executableFile.path;
    copyPath += ".orig";
    try {
        const FileKind present = kindAt(copyPath);
        if (present == FileKind::Regular) {
            return;
        }
        if (present != FileKind::Missing) {
            throw RuntimeError(refusals::safetyCopyInTheWay(displayPath(copyPath), present));
        }
        ReplacementFile copy = inFolder(copyPath.parent_path(), [&] {
            return ReplacementFile(copyPath, displayPath(copyPath), &executable);
        });
        copyWithPatch(executable, copy.contents(), 0, {});
        if (!copy.createTarget()) {
            throw RuntimeError(
                refusals::safetyCopyInTheWay(displayPath(copyPath), kindAt(copyPath)));
        }
    } catch (const RuntimeError& error) {
        throw RuntimeError(refusals::safetyCopyFailed(executableFile.shown(), error.what()));
    }
}

// How the import opens the executable: to change it, or only to read it for a preview.
enum class ExecutableAccess
{
    Update,
    Read,
};

File openExecutable(const TransferFile& executableFile, ExecutableAccess access)
{
    if (access == ExecutableAccess::Read) {
        return File::openForReading(executableFile.file, executableFile.shown());
    }
    refuseReadOnlyFile(executableFile.file);
    return inFolder(executableFile.file.parent_path(), [&] {
        return File::openForUpdate(executableFile.file, executableFile.shown());
    });
}

// An import that has passed every check and read both tables, before its first write.
struct CheckedImport
{
    TransferFile executableFile;
    File executable;
    std::uint64_t offset = 0;
    // The slot region as the executable holds it now, and as the slot file has it.
    std::string oldRegion;
    std::string newRegion;
    std::vector<UnclearEntry> unclearEntries;
};

// The checks and reads of the import, up to its first write. Returns how the import ends instead
// where a check refuses, once the user has been told why.
std::variant<CheckedImport, TransferEnd> checkImport(const EditorState& state,
                                                     const std::filesystem::path& programFolder,
                                                     MessagePresenter& presenter,
                                                     ExecutableAccess access)
{
    const std::optional<TransferFile> executableFile =
        chosenExecutable(state, programFolder, presenter);
    if (!executableFile) {
        return TransferEnd::StoppedEarly;
    }
    const std::string executableName = fileNameOf(executableFile->path);
    const TransferFile slotFile = transferFile(programFolder, slotFileName);
    const File slotText = File::openForReading(slotFile.file, slotFile.shown());
    File executable = openExecutable(*executableFile, access);
    const std::uint64_t length = executable.size();
    const std::optional<std::uint64_t> offset =
        slotRegionOffset(state, length, executableFile->path, presenter);
    if (!offset) {
        return TransferEnd::Failed;
    }
    if (*offset + regionBytes > length) {
        presenter.showMessage(refusals::regionPastEnd(state.slotAddress, length, executableName));
        return TransferEnd::Failed;
    }
    SlotFileContents contents = readSlotFile(slotText, slotFile.shown());
    std::string oldRegion(regionBytes, '\0');
    executable.readAt(*offset, oldRegion.data(), oldRegion.size());
    if (const std::optional<std::string> reason =
            refusalOf(contents, TargetTable{executableName, oldRegion})) {
        presenter.showMessage(*reason);
        return TransferEnd::Failed;
    }
    return CheckedImport{
        *executableFile,      std::move(executable),      *offset,
        std::move(oldRegion), std::move(contents.region), std::move(contents.unclearEntries)};
}

} // namespace

TransferEnd importSlots(const EditorState& state, const std::filesystem::path& programFolder,
                        MessagePresenter& presenter)
{
    std::variant<CheckedImport, TransferEnd> checked =
        checkImport(state, programFolder, presenter, ExecutableAccess::Update);
    if (const TransferEnd* end = std::get_if<TransferEnd>(&checked)) {
        return *end;
    }
    CheckedImport& import = std::get<CheckedImport>(checked);
    if (import.oldRegion == import.newRegion) {
        return TransferEnd::Succeeded;
    }
    keepSafetyCopy(import.executable, import.executableFile);
    ReplacementFile replacement = inFolder(import.executableFile.file.parent_path(), [&] {
        return ReplacementFile(import.executableFile.file, import.executableFile.shown(),
                               &import.executable);
    });
    copyWithPatch(import.executable, replacement.contents(), import.offset, import.newRegion);
    import.executable.close();
    replacement.replaceTarget();
    return TransferEnd::Succeeded;
}

std::optional<ImportPreview> previewImport(const EditorState& state,
                                           const std::filesystem::path& programFolder,
                                           MessagePresenter& presenter)
{
    const std::variant<CheckedImport, TransferEnd> checked =
        checkImport(state, programFolder, presenter, ExecutableAccess::Read);
    if (std::holds_alternative<TransferEnd>(checked)) {
        return std::nullopt;
    }
    const CheckedImport& import = std::get<CheckedImport>(checked);
    return ImportPreview{changedLists(import.oldRegion, import.newRegion), import.unclearEntries};
}

} // namespace zarn
