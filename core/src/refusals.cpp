#include "refusals.h"

#include "zarn/editor_state.h"
#include "zarn/slot_table.h"
#include "zarn/wording.h"

#include <cstdio>

namespace zarn::refusals {
namespace {

std::string notModified(std::string_view targetFile)
{
    return std::string(targetFile) + " file NOT modified.";
}

// The last line of a refusal of the slot file, with its line break: the executable it was to go
// into, left as it was. None where the file was checked on its own.
std::string notModifiedIfAny(std::optional<std::string_view> targetFile)
{
    std::string line;
    if (targetFile) {
        line += '\r';
        line += notModified(*targetFile);
    }
    return line;
}

// The line that says where to look, where there is one, with its line break.
std::string lineIfAny(const std::optional<std::string>& line)
{
    return line ? *line + "\r" : std::string();
}

std::string_view actionText(FileAction action)
{
    switch (action) {
    case FileAction::Opened:
        return "opened";
    case FileAction::OpenedForWriting:
        return "opened for writing";
    case FileAction::Read:
        return "read";
    case FileAction::Written:
        return "written";
    case FileAction::FlushedToDisk:
        return "flushed to disk";
    case FileAction::Closed:
        return "closed";
    case FileAction::Replaced:
        return "replaced";
    case FileAction::Created:
        break;
    }
    return "created";
}

std::string whatItIs(FileKind kind)
{
    switch (kind) {
    case FileKind::Link:
        return "a link";
    case FileKind::Folder:
        return "a folder";
    case FileKind::NamedPipe:
        return "a named pipe";
    case FileKind::Device:
        return "a device";
    case FileKind::Socket:
        return "a socket";
    case FileKind::Missing:
    case FileKind::Regular:
        break;
    }
    return "a file";
}

const char restoreTerminator[] =
    "Every list ends in -1: put back the -1 that was deleted, and to add a unit delete a unit.";

} // namespace

std::string selectGame()
{
    return "Please select Panzer General or Allied General to edit.";
}

std::string wrongLength()
{
    return "AG.EXE is the wrong file length\r"
           "Sorry this program only works with ag.exe WITH autoscroll";
}

std::string wrongAddress()
{
    return "AG.EXE is at the wrong slot address\r"
           "Sorry this program only works with ag.exe at the default slot address 1883345";
}

std::string executableMissing(std::string_view targetPath)
{
    return "Could not find " + std::string(targetPath) + "\rMake sure it is in the zarn folder.";
}

// The count message says "ag.exe file NOT modified." whichever game was chosen, as users know it;
// the other refusals name the chosen executable.
std::string wrongCount(int count, std::optional<std::string_view> targetFile)
{
    return "Error  !\rInput file contains " + withSignPlace(count) +
           " entries.\rThere must be exactly 646 unit entries !" +
           notModifiedIfAny(targetFile ? std::optional<std::string_view>("ag.exe") : std::nullopt);
}

std::string extraEntries(std::size_t count, const std::optional<std::string>& whereToLook,
                         std::optional<std::string_view> targetFile)
{
    return "Error  !\rInput file contains " + withSignPlace(static_cast<std::int64_t>(count)) +
           (count == 1 ? " entry" : " entries") +
           " too many: there must be exactly 646 unit entries !\r" + lineIfAny(whereToLook) +
           "To add a unit you must delete a unit." + notModifiedIfAny(targetFile);
}

std::string entryOutOfRange(double entry, std::size_t line,
                            std::optional<std::string_view> targetFile)
{
    char number[32];
    std::snprintf(number, sizeof number, "%.15g", entry);
    return "Error  !\rThe entry " + std::string(number) + " on line " + std::to_string(line) +
           " is out of range.\rUnit entries must lie between -32768 and 32767 !" +
           notModifiedIfAny(targetFile);
}

std::string regionPastEnd(std::int32_t slotAddress, std::uint64_t length,
                          std::string_view targetFile)
{
    return "Error  !\rThe 646 entries from address " + std::to_string(slotAddress) +
           " on would run past the end of " + std::string(targetFile) + " (" +
           std::to_string(length) + " bytes).\r" + notModified(targetFile);
}

std::string entryAfterLastList(std::size_t line, const std::optional<std::string>& whereToLook,
                               std::optional<std::string_view> targetFile)
{
    return "Error  !\rThe entry on line " + std::to_string(line) +
           " comes after the -1 that ends the last list, " + listName(listCount - 1) + " !\r" +
           lineIfAny(whereToLook) +
           "Every list ends in exactly one -1: remove the -1 that was added, or move the entry "
           "into a list." +
           notModifiedIfAny(targetFile);
}

std::string lastListOpen(std::size_t line, std::size_t list,
                         const std::optional<std::string>& whereToLook,
                         std::optional<std::string_view> targetFile)
{
    return "Error  !\rThe last entry, on line " + std::to_string(line) +
           ", is not -1: the list for " + listName(list) + " has no end !\r" +
           lineIfAny(whereToLook) + restoreTerminator + notModifiedIfAny(targetFile);
}

std::string terminatorMissing(std::size_t terminators, std::size_t lastLine,
                              const std::optional<std::string>& whereToLook,
                              std::optional<std::string_view> targetFile)
{
    return "Error  !\rThe 646 entries, up to line " + std::to_string(lastLine) + ", hold only " +
           counted(terminators, "entry", "entries") +
           " of -1: there must be 180, one at the end of each list !\r" + lineIfAny(whereToLook) +
           restoreTerminator + notModifiedIfAny(targetFile);
}

std::string firstDifferingList(std::size_t list, std::size_t line, std::string_view targetFile)
{
    return "The first list whose length differs from " + std::string(targetFile) + " is " +
           listName(list) + ", starting on line " + std::to_string(line) + ".";
}

std::string entriesAfterAgreeingLists(std::size_t line, std::string_view targetFile)
{
    return "Every list has the length it has in " + std::string(targetFile) +
           "; the entries from line " + std::to_string(line) + " on come after the last -1.";
}

std::string fileFailed(std::string_view file, FileAction action, std::string_view reason)
{
    return std::string(file) + " could not be " + std::string(actionText(action)) + ": " +
           std::string(reason);
}

std::string folderHasThatName()
{
    return "a folder has that name";
}

std::string folderMovedMeanwhile()
{
    return "it was moved or replaced while zarn opened it";
}

std::string unknownSystemError(unsigned long code)
{
    return "error " + std::to_string(code);
}

std::string unknownUser(unsigned long id)
{
    return "user " + std::to_string(id);
}

std::string folderNotWritable(std::string_view folder, std::string_view reason)
{
    return "The folder " + std::string(folder) + " cannot be written: " + std::string(reason) +
           "\rzarn keeps its files beside the game: copy the game and zarn into a folder where "
           "you may create files.";
}

std::string readOnlyFile(std::string_view file)
{
#ifdef _WIN32
    return std::string(file) +
           " is read-only, so zarn cannot change it.\rClear its read-only attribute (right-click "
           "it, choose Properties, untick Read-only) and try again.";
#else
    return std::string(file) +
           " is read-only for you, so zarn cannot change it.\rGive yourself write permission on "
           "it (for example with chmod u+w) and try again.";
#endif
}

std::string slotFileTooShort(std::string_view slotFile, std::size_t items, std::size_t entries)
{
    std::string text = std::string(slotFile) + " has only " + counted(items, "line", "lines") +
                       " where 841 are needed: 15 country names, 180 class names and 646 "
                       "entries.\r";
    if (entries == 0) {
        return text + "It holds no entries at all: export the table again to start afresh.";
    }
    if (entries < requiredEntryCount) {
        return text + "It holds " + counted(entries, "entry", "entries") +
               ": a unit or a -1 was deleted without one added in its place.";
    }
    if (entries == requiredEntryCount) {
        return text + "Its 646 entries are all there: a country or class name was deleted; put "
                      "its line back.";
    }
    return text + "It holds " + std::to_string(entries) +
           " entries: names were deleted and units added; to add a unit you must delete a unit.";
}

std::string addressBeforeStart(std::int32_t slotAddress, std::string_view targetFile)
{
    return "The slot address " + std::to_string(slotAddress) + " lies before the first byte of " +
           std::string(targetFile) + "; addresses start at 1.";
}

std::string listRunsOffEnd(std::string_view targetFile, std::uint64_t length, int country,
                           int unitClass)
{
    return std::string(targetFile) + " ends after " + std::to_string(length) +
           " bytes, inside the slot list for " + listName(country, unitClass) +
           ", before a -1 closes it.";
}

std::string safetyCopyFailed(std::string_view targetFile, std::string_view reason)
{
    return std::string(targetFile) + " was not changed: its safety copy could not be made. " +
           std::string(reason);
}

std::string safetyCopyInTheWay(std::string_view safetyCopy, FileKind kind)
{
    return std::string(safetyCopy) + " is " + whatItIs(kind) +
           ", not a copy of the game: move it away and try again, and zarn keeps the copy there.";
}

std::string backupInTheWay(std::string_view backup, FileKind kind, std::string_view slotFile)
{
    return std::string(backup) + " is " + whatItIs(kind) + ", not a copy of " +
           std::string(slotFile) +
           ": move it away and try again, and zarn keeps the copy there before it replaces " +
           std::string(slotFile) + ".";
}

std::string safetyCopyNotYours(std::string_view safetyCopy, std::string_view owner)
{
    return std::string(safetyCopy) + " belongs to " + std::string(owner) +
           ", not to you, so zarn does not take it for the game's safety copy: move it away and "
           "try again, and zarn keeps a copy of its own there.";
}

std::string safetyCopyWrongLength(std::string_view safetyCopy, std::uint64_t length,
                                  std::string_view targetFile, std::uint64_t targetLength)
{
    return std::string(safetyCopy) + " holds " + std::to_string(length) + " bytes where " +
           std::string(targetFile) + " holds " + std::to_string(targetLength) +
           ", so it is no copy of the game: move it away and try again, and zarn keeps the copy "
           "there.";
}

std::string notAFile(std::string_view file, std::string_view leadsTo, FileKind kind)
{
    const std::string subject =
        file == leadsTo ? std::string(file)
                        : std::string(file) + " leads to " + std::string(leadsTo) + ", which";
    return subject + " is " + whatItIs(kind) +
           ", not a file, so zarn leaves it alone.\rPut the file itself in its place and try "
           "again.";
}

std::string strangersLink(std::string_view link, std::string_view leadsTo, std::string_view owner)
{
    return std::string(link) + " is a link to " + std::string(leadsTo) + " that " +
           std::string(owner) +
           " made, so zarn does not follow it: zarn follows only links that you made.\rRemove "
           "the link, or replace it with the file itself, and try again.";
}

std::string strangersFolderLink(std::string_view link, std::string_view leadsTo,
                                std::string_view owner)
{
    return std::string(link) + " is a link to " + std::string(leadsTo) + " that " +
           std::string(owner) +
           " made, so zarn does not follow it: zarn follows only links that you made.\rGive the "
           "folder it leads to, " +
           std::string(leadsTo) + ", in its place, and try again.";
}

std::string temporaryNameTaken(std::string_view name, FileKind kind, std::string_view owner,
                               std::string_view forFile)
{
    return std::string(name) + " is " + whatItIs(kind) + " that " + std::string(owner) +
           " made, and zarn may not remove it: zarn needs that name to write " +
           std::string(forFile) + ".\rAsk " + std::string(owner) +
           " to remove it, or copy the game into a folder of your own, and try again.";
}

std::string temporaryNameInTheWay(std::string_view name, FileKind kind, std::string_view forFile)
{
    return std::string(name) + " is " + whatItIs(kind) + ", and zarn needs that name to write " +
           std::string(forFile) + ": move it away and try again.";
}

std::string slotFileTooLong(std::string_view slotFile, std::uint64_t limit)
{
    return std::string(slotFile) + " is longer than " + std::to_string(limit / (1024 * 1024)) +
           " MiB, far longer than a slot file (about 6.5 KB), so zarn leaves it alone.\rPut the "
           "slot file itself in its place, or move this one away, and try again.";
}

std::string namesDifferOnlyInCase(std::string_view folder, std::string_view name,
                                  const std::vector<std::string>& matches)
{
    std::string list;
    for (const std::string& match : matches) {
        list += (list.empty() ? "" : ", ") + match;
    }
    return "The folder " + std::string(folder) + " holds several files named " + std::string(name) +
           " in different case: " + list +
           ".\rRename or remove all but one of them; no file was "
           "changed.";
}

std::string pathTooLong(std::string_view reason, std::string_view path, std::size_t length)
{
    return std::string(reason) + " (" + std::string(path) + " is " + std::to_string(length) +
           " characters long; Windows takes paths that long only where long paths are turned on)";
}

std::string replacementStoppedHalfWay(std::string_view file, std::string_view target,
                                      std::string_view oldContents, std::string_view newContents,
                                      std::string_view reason)
{
    return std::string(file) + " could not be replaced: " + std::string(reason) +
           ". Its old contents are in " + std::string(oldContents) + " and its new contents in " +
           std::string(newContents) + "; rename one of them to " + std::string(target) + ".";
}

} // namespace zarn::refusals
