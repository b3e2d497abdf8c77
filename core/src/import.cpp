#include "file.h"
#include "file_names.h"
#include "file_read_buffer.h"
#include "refusals.h"
#include "replacement_file.h"
#include "slot_lists.h"
#include "transfer_checks.h"
#include "zarn/editor_state.h"
#include "zarn/message_presenter.h"
#include "zarn/runtime_error.h"
#include "zarn/slot_file.h"
#include "zarn/slot_table.h"
#include "zarn/transfer.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <limits>
#include <optional>
#include <vector>

namespace zarn {
namespace {

// What the slot file holds, as far as the import is concerned.
struct SlotFileContents
{
    // Items with a non-zero value among the first itemsPerPass.
    int entryCount = 0;
    // The first requiredEntryCount of them, two little-endian bytes each.
    std::string region;
    // The first of those whose value does not fit 16 bits, rounded down.
    std::optional<SlotItem> outOfRange;
    // Items with a non-zero value after the first itemsPerPass.
    std::size_t extraCount = 0;
    // The lists that all entries form, those after the first itemsPerPass items included.
    SlotListTracker lists;
};

void addEntry(SlotFileContents& contents, const SlotItem& item)
{
    const double entry = std::floor(item.value);
    contents.lists.add(entry == listTerminator, item.line);
    ++contents.entryCount;
    if (contents.entryCount > requiredEntryCount) {
        return;
    }
    if (entry < std::numeric_limits<std::int16_t>::min() ||
        entry > std::numeric_limits<std::int16_t>::max()) {
        if (!contents.outOfRange) {
            contents.outOfRange = SlotItem{entry, item.line};
        }
        return;
    }
    const auto bits = static_cast<std::uint16_t>(static_cast<std::int16_t>(entry));
    contents.region += static_cast<char>(bits & 0xFF);
    contents.region += static_cast<char>(bits >> 8);
}

// Reads the whole slot file: the entries of its first itemsPerPass items, and whatever
// non-zero items follow them.
SlotFileContents readSlotFile(const File& file, const std::string& shown)
{
    FileReadBuffer buffer(file);
    std::istream in(&buffer);
    SlotItemReader reader(in);
    SlotFileContents contents;
    for (int read = 0; read < itemsPerPass; ++read) {
        const std::optional<SlotItem> item = reader.next();
        if (!item) {
            throw RuntimeError(
                refusals::slotFileTooShort(shown, static_cast<std::size_t>(read),
                                           static_cast<std::size_t>(contents.entryCount)));
        }
        if (item->value != 0) {
            addEntry(contents, *item);
        }
    }
    while (const std::optional<SlotItem> item = reader.next()) {
        if (item->value != 0) {
            ++contents.extraCount;
            contents.lists.add(std::floor(item->value) == listTerminator, item->line);
        }
    }
    return contents;
}

// The lists of the slot region as the executable holds it now.
SlotListTracker listsOf(std::string_view region)
{
    SlotListTracker lists;
    for (std::size_t at = 0; at + 1 < region.size(); at += 2) {
        lists.add(region[at] == '\xFF' && region[at + 1] == '\xFF', 0);
    }
    return lists;
}

// Where the user most likely changed the table: the first list whose length differs from the
// executable's, or the entries that follow lists that all agree.
std::optional<std::string> whereToLook(const SlotListTracker& edited,
                                       const SlotListTracker& current,
                                       const std::string& executableName)
{
    const std::optional<int> list = firstDifferingList(edited, current);
    if (!list) {
        return std::nullopt;
    }
    if (*list < countryCount * unitClassCount) {
        const auto index = static_cast<std::size_t>(*list);
        return refusals::firstDifferingList(index, edited.lists()[index].firstLine, executableName);
    }
    if (const std::optional<std::size_t> line = edited.lineAfterTable()) {
        return refusals::entriesAfterAgreeingLists(*line, executableName);
    }
    return std::nullopt;
}

std::string shapeRefusal(const ShapeFault& fault, const std::optional<std::string>& hint,
                         const std::string& executableName)
{
    switch (fault.kind) {
    case ShapeFault::Kind::EntryAfterLastList:
        return refusals::entryAfterLastList(fault.line, hint, executableName);
    case ShapeFault::Kind::LastListOpen:
        return refusals::lastListOpen(fault.line, fault.terminators, hint, executableName);
    case ShapeFault::Kind::TerminatorMissing:
        break;
    }
    return refusals::terminatorMissing(fault.terminators, fault.line, hint, executableName);
}

// Why the slot file may not be written into the executable, if it may not. `oldRegion` is the
// table as the executable holds it now.
std::optional<std::string> refusal(const SlotFileContents& contents, std::string_view oldRegion,
                                   const std::string& executableName)
{
    if (contents.entryCount != requiredEntryCount) {
        return refusals::wrongCount(contents.entryCount);
    }
    const auto hint = [&] {
        return whereToLook(contents.lists, listsOf(oldRegion), executableName);
    };
    if (contents.extraCount > 0) {
        return refusals::extraEntries(contents.extraCount, hint(), executableName);
    }
    if (contents.outOfRange) {
        return refusals::entryOutOfRange(contents.outOfRange->value, contents.outOfRange->line,
                                         executableName);
    }
    if (const std::optional<ShapeFault> fault = shapeFault(contents.lists)) {
        return shapeRefusal(*fault, hint(), executableName);
    }
    return std::nullopt;
}

// Copies `source` into `destination` with `patch` laid over its bytes from `patchOffset` on.
void copyWithPatch(const File& source, File& destination, std::uint64_t patchOffset,
                   std::string_view patch)
{
    std::vector<char> block(1024 * 1024);
    std::uint64_t offset = 0;
    while (const std::size_t got = source.readAt(offset, block.data(), block.size())) {
        const std::uint64_t from = std::max(offset, patchOffset);
        const std::uint64_t to = std::min(offset + got, patchOffset + patch.size());
        if (from < to) {
            std::copy(patch.begin() + static_cast<std::ptrdiff_t>(from - patchOffset),
                      patch.begin() + static_cast<std::ptrdiff_t>(to - patchOffset),
                      block.begin() + static_cast<std::ptrdiff_t>(from - offset));
        }
        destination.write({block.data(), got});
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

} // namespace

TransferEnd importSlots(const EditorState& state, const std::filesystem::path& programFolder,
                        MessagePresenter& presenter)
{
    const std::optional<TransferFile> executableFile =
        chosenExecutable(state, programFolder, presenter);
    if (!executableFile) {
        return TransferEnd::StoppedEarly;
    }
    const std::string executableName = fileNameOf(executableFile->path);
    const std::string executableShown = executableFile->shown();
    const std::filesystem::path folder = executableFile->file.parent_path();
    const TransferFile slotFile = transferFile(programFolder, slotFileName);
    const File slotText = File::openForReading(slotFile.file, slotFile.shown());
    refuseReadOnlyFile(executableFile->file);
    File executable = inFolder(
        folder, [&] { return File::openForUpdate(executableFile->file, executableShown); });
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
    const SlotFileContents contents = readSlotFile(slotText, slotFile.shown());
    std::string oldRegion(regionBytes, '\0');
    executable.readAt(*offset, oldRegion.data(), oldRegion.size());
    if (const std::optional<std::string> reason = refusal(contents, oldRegion, executableName)) {
        presenter.showMessage(*reason);
        return TransferEnd::Failed;
    }
    if (oldRegion == contents.region) {
        return TransferEnd::Succeeded;
    }
    keepSafetyCopy(executable, *executableFile);
    ReplacementFile replacement = inFolder(folder, [&] {
        return ReplacementFile(executableFile->file, executableShown, &executable);
    });
    copyWithPatch(executable, replacement.contents(), *offset, contents.region);
    executable.close();
    replacement.replaceTarget();
    return TransferEnd::Succeeded;
}

} // namespace zarn
