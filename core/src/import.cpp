#include "file.h"
#include "file_names.h"
#include "messages.h"
#include "replacement_file.h"
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
    std::size_t firstExtraLine = 0;
};

std::ifstream openSlotFile(const std::filesystem::path& path)
{
    std::ifstream in(hostPath(path), std::ios::binary);
    if (!in) {
        throw RuntimeError(messages::fileFailed(fileNameOf(path), "opened", std::strerror(errno)));
    }
    return in;
}

void addEntry(SlotFileContents& contents, const SlotItem& item)
{
    ++contents.entryCount;
    if (contents.entryCount > requiredEntryCount) {
        return;
    }
    const double entry = std::floor(item.value);
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
SlotFileContents readSlotFile(std::istream& in, const std::string& slotName)
{
    SlotItemReader reader(in);
    SlotFileContents contents;
    for (int read = 0; read < itemsPerPass; ++read) {
        const std::optional<SlotItem> item = reader.next();
        if (!item) {
            throw RuntimeError(messages::slotFileTooShort(slotName, read));
        }
        if (item->value != 0) {
            addEntry(contents, *item);
        }
    }
    while (const std::optional<SlotItem> item = reader.next()) {
        if (item->value != 0 && contents.extraCount++ == 0) {
            contents.firstExtraLine = item->line;
        }
    }
    return contents;
}

SlotFileContents readSlotFileOrFail(std::istream& in, const std::string& slotName)
{
    try {
        return readSlotFile(in, slotName);
    } catch (const std::ios_base::failure& error) {
        throw RuntimeError(messages::fileFailed(slotName, "read", error.code().message()));
    }
}

// Why the slot file may not be written into the executable, if it may not.
std::optional<std::string> refusal(const SlotFileContents& contents,
                                   const std::string& executableName)
{
    if (contents.entryCount != requiredEntryCount) {
        return messages::wrongCount(contents.entryCount);
    }
    if (contents.extraCount > 0) {
        return messages::extraEntries(contents.extraCount, contents.firstExtraLine, executableName);
    }
    if (contents.outOfRange) {
        return messages::entryOutOfRange(contents.outOfRange->value, contents.outOfRange->line,
                                         executableName);
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
void keepSafetyCopy(const File& executable, const std::filesystem::path& executablePath,
                    const std::string& executableName)
{
    std::filesystem::path copyPath = executablePath;
    copyPath += ".orig";
    // A hidden or system copy is still the copy: only the executable is looked for as listed.
    if (isFile(copyPath)) {
        return;
    }
    try {
        ReplacementFile copy(copyPath, executableName + ".orig");
        copyWithPatch(executable, copy.contents(), 0, {});
        if (!copy.createTarget()) {
            throw RuntimeError(messages::safetyCopyInTheWay(executableName));
        }
    } catch (const RuntimeError& error) {
        throw RuntimeError(messages::safetyCopyFailed(executableName, error.what()));
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
    const std::filesystem::path slotPath = fileAnsweringTo(programFolder, slotFileName);
    std::ifstream slotFile = openSlotFile(slotPath);
    File executable = File::openForUpdate(*executablePath, executableName);
    const std::uint64_t length = executable.size();
    const std::optional<std::uint64_t> offset = slotRegionOffset(state, length, messages);
    if (!offset) {
        return TransferEnd::Failed;
    }
    if (*offset + regionBytes > length) {
        messages.showMessage(messages::regionPastEnd(state.SlotAddress, length, executableName));
        return TransferEnd::Failed;
    }
    const SlotFileContents contents = readSlotFileOrFail(slotFile, fileNameOf(slotPath));
    if (const std::optional<std::string> reason = refusal(contents, executableName)) {
        messages.showMessage(*reason);
        return TransferEnd::Failed;
    }

    std::string oldRegion(regionBytes, '\0');
    executable.readAt(*offset, oldRegion.data(), oldRegion.size());
    if (oldRegion == contents.region) {
        return TransferEnd::Succeeded;
    }
    keepSafetyCopy(executable, *executablePath, executableName);
    ReplacementFile replacement(*executablePath, executableName);
    copyWithPatch(executable, replacement.contents(), *offset, contents.region);
    replacement.contents().copyPermissionsFrom(executable);
    executable.close();
    replacement.replaceTarget();
    return TransferEnd::Succeeded;
}

} // namespace zarn
