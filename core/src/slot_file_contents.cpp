#include "slot_file_contents.h"

#include "file_read_buffer.h"
#include "slot_lists.h"
#include "transfer_checks.h"
#include "zarn/runtime_error.h"
#include "zarn/slot_table.h"
#include "zarn/utf8_path.h"

#include <cmath>
#include <limits>
#include <utility>

namespace zarn {
namespace {

// What a slot file holds, as far as the import is concerned.
struct SlotFileContents
{
    // Items with a non-zero value among the first tableItemCount.
    int entryCount = 0;
    // The first requiredEntryCount of them, two little-endian bytes each.
    std::string region;
    // The first of those whose value does not fit 16 bits, rounded down.
    std::optional<SlotItem> outOfRange;
    // Those of them within 16 bits whose items hold more than a whole number.
    std::vector<UnclearEntry> unclearEntries;
    // Items with a non-zero value after the first tableItemCount.
    std::size_t extraCount = 0;
    // The lists that all entries form, those after the first tableItemCount items included.
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

// The entries of the first tableItemCount items of the slot file, and whatever non-zero items
// follow them.
SlotFileContents contentsOf(std::istream& text, std::string_view name)
{
    SlotItemReader reader(text);
    SlotFileContents contents;
    for (int read = 0; read < tableItemCount; ++read) {
        const std::optional<SlotItem> item = reader.next();
        if (!item) {
            throw RuntimeError(SlotFileTooShort{std::string(name), static_cast<std::size_t>(read),
                                                static_cast<std::size_t>(contents.entryCount)});
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

// Where the user most likely changed the table: the first list whose length differs from the
// target's, or the entries that follow lists that all agree.
std::optional<WhereToLook> whereToLook(const SlotListTracker& edited, std::string_view targetRegion)
{
    const std::optional<int> list = firstDifferingList(edited, listsOf(targetRegion));
    if (!list) {
        return std::nullopt;
    }
    if (*list < listCount) {
        const auto index = static_cast<std::size_t>(*list);
        return WhereToLook{index, edited.lists()[index].firstLine};
    }
    if (const std::optional<std::size_t> line = edited.lineAfterTable()) {
        return WhereToLook{std::nullopt, *line};
    }
    return std::nullopt;
}

TableFault tableFaultOf(const ShapeFault& fault)
{
    switch (fault.kind) {
    case ShapeFault::Kind::EntryAfterLastList:
        return EntryAfterLastList{fault.line};
    case ShapeFault::Kind::LastListOpen:
        return LastListOpen{fault.line, fault.terminators};
    case ShapeFault::Kind::TerminatorMissing:
        break;
    }
    return TerminatorMissing{fault.terminators, fault.line};
}

// What is wrong with the entries, if anything: a count other than requiredEntryCount, entries
// after the tableItemCount-th item, an entry outside 16 bits, or entries that do not form the 180
// lists.
std::optional<TableFault> tableFaultOf(const SlotFileContents& contents)
{
    if (contents.entryCount != requiredEntryCount) {
        return WrongCount{contents.entryCount};
    }
    if (contents.extraCount > 0) {
        return ExtraEntries{contents.extraCount};
    }
    if (contents.outOfRange) {
        return EntryOutOfRange{contents.outOfRange->value, contents.outOfRange->line};
    }
    if (const std::optional<ShapeFault> fault = shapeFault(contents.lists)) {
        return tableFaultOf(*fault);
    }
    return std::nullopt;
}

// Why the import refuses the slot file, if it does. Where the entries' lists may be an edit gone
// wrong, the target's lists say where to look.
std::optional<Refusal> refusalOf(const SlotFileContents& contents,
                                 const std::optional<TargetTable>& target)
{
    const std::optional<TableFault> fault = tableFaultOf(contents);
    if (!fault) {
        return std::nullopt;
    }
    if (!target) {
        return SlotFileRefused{*fault, std::nullopt, std::nullopt};
    }
    const bool aboutLists = !std::holds_alternative<WrongCount>(*fault) &&
                            !std::holds_alternative<EntryOutOfRange>(*fault);
    return SlotFileRefused{*fault, std::string(target->name),
                           aboutLists ? whereToLook(contents.lists, target->region) : std::nullopt};
}

} // namespace

SlotFileReading readSlotFile(std::istream& text, std::string_view name,
                             const std::optional<TargetTable>& target)
{
    SlotFileContents contents = contentsOf(text, name);
    return {refusalOf(contents, target), std::move(contents.unclearEntries),
            std::move(contents.region)};
}

SlotFileReading readSlotFile(const File& file, const std::optional<TargetTable>& target)
{
    if (file.size() > slotFileLimit) {
        throw InTheWay(SlotFileTooLong{file.name(), slotFileLimit});
    }
    FileReadBuffer buffer(file, slotFileLimit);
    std::istream text(&buffer);
    return readSlotFile(text, file.name(), target);
}

SlotFileReading checkSlotFile(const std::filesystem::path& path)
{
    const std::filesystem::path whole = std::filesystem::absolute(path);
    try {
        const auto folder = std::make_shared<const Folder>(Folder::open(whole.parent_path()));
        const FoundFile slotFile = findFile(folder, utf8FromPath(whole.filename()));
        refuseAnyButAFile(slotFile);
        const File text = slotFile.folder->openForReading(slotFile.name, slotFile.shown);
        return readSlotFile(text, std::nullopt);
    } catch (const InTheWay& inTheWay) {
        return {inTheWay.refusal(), {}, {}};
    }
}

} // namespace zarn
