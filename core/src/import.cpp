#include "file.h"
#include "file_names.h"
#include "messages.h"
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
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
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

std::ifstream openSlotFile(const std::filesystem::path& path)
{
    std::ifstream in(hostPath(path), std::ios::binary);
    if (!in) {
        throw RuntimeError(messages::fileFailed(displayPath(path), "opened", std::strerror(errno)));
    }
    return in;
}

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
SlotFileContents readSlotFile(std::istream& in, const std::filesystem::path& path)
{
    SlotItemReader reader(in);
    SlotFileContents contents;
    for (int read = 0; read < itemsPerPass; ++read) {
        const std::optional<SlotItem> item = reader.next();
        if (!item) {
            throw RuntimeError(
                messages::slotFileTooShort(displayPath(path), static_cast<std::size_t>(read),
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

SlotFileContents readSlotFileOrFail(std::istream& in, const std::filesystem::path& path)
{
    try {
        return readSlotFile(in, path);
    } catch (const std::ios_base::failure& error) {
        throw RuntimeError(messages::fileFailed(displayPath(path), "read", error.code().message()));
    }
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
        return messages::firstDifferingList(index, edited.lists()[index].firstLine, executableName);
    }
    if (const std::optional<std::size_t> line = edited.lineAfterTable()) {
        return messages::entriesAfterAgreeingLists(*line, executableName);
    }
    return std::nullopt;
}

std::string shapeRefusal(const ShapeFault& fault, const std::optional<std::string>& hint,
                         const std::string& executableName)
{
    switch (fault.kind) {
    case ShapeFault::Kind::EntryAfterLastList:
        return messages::entryAfterLastList(fault.line, hint, executableName);
    case ShapeFault::Kind::LastListOpen:
        return messages::lastListOpen(fault.line, fault.terminators, hint, executableName);
    case ShapeFault::Kind::TerminatorMissing:
        break;
    }
    return messages::terminatorMissing(fault.terminators, fault.line, hint, executableName);
}

// Why the slot file may not be written into the executable, if it may not. `oldRegion` is the
// table as the executable holds it now.
std::optional<std::string> refusal(const SlotFileContents& contents, std::string_view oldRegion,
                                   const std::string& executableName)
{
    if (contents.entryCount != requiredEntryCount) {
        return messages::wrongCount(contents.entryCount);
    }
    const auto hint = [&] {
        return whereToLook(contents.lists, listsOf(oldRegion), executableName);
    };
    if (contents.extraCount > 0) {
        return messages::extraEntries(contents.extraCount, hint(), executableName);
    }
    if (contents.outOfRange) {
        return messages::entryOutOfRange(contents.outOfRange->value, contents.outOfRange->line,
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
void keepSafetyCopy(const File& executable, const std::filesystem::path& executablePath)
{
    std::filesystem::path copyPath = executablePath;
    copyPath += ".orig";
    // A hidden or system copy is still the copy: only the executable is looked for as listed.
    if (isFile(copyPath)) {
        return;
    }
    try {
        ReplacementFile copy = inFolder(copyPath.parent_path(), [&] {
            return ReplacementFile(copyPath, displayPath(copyPath));
        });
        copyWithPatch(executable, copy.contents(), 0, {});
        if (!copy.createTarget()) {
            throw RuntimeError(messages::safetyCopyInTheWay(displayPath(copyPath)));
        }
    } catch (const RuntimeError& error) {
        throw RuntimeError(messages::safetyCopyFailed(displayPath(executablePath), error.what()));
    }
}

} // namespace

TransferEnd importSlots(EditorState& state, const std::filesystem::path& programFolder,
                        MessagePresenter& messages)
{
    const std::optional<std::filesystem::path> executablePath =
        chosenExecutable(state, programFolder, messages);
    if (!executablePath) {
        return TransferEnd::StoppedEarly;
    }
    const std::string executableName = fileNameOf(*executablePath);
    const std::string executableShown = displayPath(*executablePath);
    const std::filesystem::path folder = executablePath->parent_path();
    const std::filesystem::path slotPath = fileAnsweringTo(programFolder, slotFileName);
    std::ifstream slotFile = openSlotFile(slotPath);
    refuseReadOnlyFile(*executablePath);
    File executable =
        inFolder(folder, [&] { return File::openForUpdate(*executablePath, executableShown); });
    const std::uint64_t length = executable.size();
    const std::optional<std::uint64_t> offset =
        slotRegionOffset(state, length, *executablePath, messages);
    if (!offset) {
        return TransferEnd::Failed;
    }
    if (*offset + regionBytes > length) {
        messages.showMessage(messages::regionPastEnd(state.SlotAddress, length, executableName));
        return TransferEnd::Failed;
    }
    const SlotFileContents contents = readSlotFileOrFail(slotFile, slotPath);
    std::string oldRegion(regionBytes, '\0');
    executable.readAt(*offset, oldRegion.data(), oldRegion.size());
    if (const std::optional<std::string> reason = refusal(contents, oldRegion, executableName)) {
        messages.showMessage(*reason);
        return TransferEnd::Failed;
    }
    if (oldRegion == contents.region) {
        return TransferEnd::Succeeded;
    }
    keepSafetyCopy(executable, *executablePath);
    ReplacementFile replacement =
        inFolder(folder, [&] { return ReplacementFile(*executablePath, executableShown); });
    copyWithPatch(executable, replacement.contents(), *offset, contents.region);
    replacement.contents().copyPermissionsFrom(executable);
    executable.close();
    replacement.replaceTarget();
    return TransferEnd::Succeeded;
}

} // namespace zarn
