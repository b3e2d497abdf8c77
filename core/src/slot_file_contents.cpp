#include "slot_file_contents.h"

#include "file_read_buffer.h"
#include "refusals.h"
#include "transfer_checks.h"
#include "zarn/runtime_error.h"
#include "zarn/slot_file_check.h"
#include "zarn/slot_table.h"
#include "zarn/utf8_path.h"

#include <cmath>
#include <istream>
#include <limits>
#include <utility>

namespace zarn {
namespace {

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
            contents.outOfRange = SlotItem{entry, item.line, {}};
        }
        return;
    }
    if (!item.unclearText.empty()) {
        contents.unclearEntries.push_back(
            {item.line, item.unclearText, static_cast<std::int16_t>(entry)});
    }
    appendEntryBytes(contents.region, static_cast<std::int16_t>(entry));
}

// Where the user most likely changed the table: the first list whose length differs from the
// target's, or the entries that follow lists that all agree.
std::optional<std::string> whereToLook(const SlotListTracker& edited, const TargetTable& target)
{
    const std::optional<int> list = firstDifferingList(edited, listsOf(target.region));
    if (!list) {
        return std::nullopt;
    }
    if (*list < listCount) {
        const auto index = static_cast<std::size_t>(*list);
        return refusals::firstDifferingList(index, edited.lists()[index].firstLine, target.name);
    }
    if (const std::optional<std::size_t> line = edited.lineAfterTable()) {
        return refusals::entriesAfterAgreeingLists(*line, target.name);
    }
    return std::nullopt;
}

std::string shapeRefusal(const ShapeFault& fault, const std::optional<std::string>& hint,
                         std::optional<std::string_view> targetName)
{
    switch (fault.kind) {
    case ShapeFault::Kind::EntryAfterLastList:
        return refusals::entryAfterLastList(fault.line, hint, targetName);
    case ShapeFault::Kind::LastListOpen:
        return refusals::lastListOpen(fault.line, fault.terminators, hint, targetName);
    case ShapeFault::Kind::TerminatorMissing:
        break;
    }
    return refusals::terminatorMissing(fault.terminators, fault.line, hint, targetName);
}

} // namespace

SlotFileContents readSlotFile(const File& file)
{
    if (file.size() > slotFileLimit) {
        throw InTheWay(refusals::slotFileTooLong(file.name(), slotFileLimit));
    }
    FileReadBuffer buffer(file, slotFileLimit);
    std::istream in(&buffer);
    SlotItemReader reader(in);
    SlotFileContents contents;
    for (int read = 0; read < tableItemCount; ++read) {
        const std::optional<SlotItem> item = reader.next();
        if (!item) {
            throw RuntimeError(
                refusals::slotFileTooShort(file.name(), static_cast<std::size_t>(read),
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

std::optional<std::string> refusalOf(const SlotFileContents& contents,
                                     const std::optional<TargetTable>& target)
{
    const std::optional<std::string_view> targetName =
        target ? std::optional<std::string_view>(target->name) : std::nullopt;
    if (contents.entryCount != requiredEntryCount) {
        return refusals::wrongCount(contents.entryCount, targetName);
    }
    const auto hint = [&]() -> std::optional<std::string> {
        return target ? whereToLook(contents.lists, *target) : std::nullopt;
    };
    if (contents.extraCount > 0) {
        return refusals::extraEntries(contents.extraCount, hint(), targetName);
    }
    if (contents.outOfRange) {
        return refusals::entryOutOfRange(contents.outOfRange->value, contents.outOfRange->line,
                                         targetName);
    }
    if (const std::optional<ShapeFault> fault = shapeFault(contents.lists)) {
        return shapeRefusal(*fault, hint(), targetName);
    }
    return std::nullopt;
}

SlotFileCheck checkSlotFile(const std::filesystem::path& path)
{
    const std::filesystem::path whole = std::filesystem::absolute(path);
    try {
        const auto folder = std::make_shared<const Folder>(Folder::open(whole.parent_path()));
        const TransferFile slotFile = transferFile(folder, utf8FromPath(whole.filename()));
        refuseAnyButAFile(slotFile);
        const File text = slotFile.folder->openForReading(slotFile.name, slotFile.shown);
        SlotFileContents contents = readSlotFile(text);
        return {refusalOf(contents, std::nullopt), std::move(contents.unclearEntries)};
    } catch (const InTheWay& refusal) {
        return {refusal.what(), {}};
    }
}

} // namespace zarn
