// Every text that the core shows or reports, in one place.
#include "zarn/outcomes.h"

#include "reasons.h"
#include "zarn/editor_state.h"
#include "zarn/slot_table.h"
#include "zarn/wording.h"

#include <cstdio>

namespace zarn {
namespace {

std::string notModified(std::string_view targetFile)
{
    return std::string(targetFile) + " file NOT modified.";
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
    // The user knows a temporary name by the file it is for, which zarn writes.
    case FileAction::Created:
    case FileAction::Removed:
        return "written";
    case FileAction::FlushedToDisk:
        return "flushed to disk";
    case FileAction::Closed:
        return "closed";
    case FileAction::Replaced:
        return "replaced";
    case FileAction::MovedIntoPlace:
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

std::string text(const SelectGame&)
{
    return "Please select Panzer General or Allied General to edit.";
}

std::string text(const WrongLength&)
{
    return "AG.EXE is the wrong file length\r"
           "Sorry this program only works with ag.exe WITH autoscroll";
}

std::string text(const WrongAddress&)
{
    return "AG.EXE is at the wrong slot address\r"
           "Sorry this program only works with ag.exe at the default slot address 1883345";
}

std::string text(const ExecutableMissing& refusal)
{
    return "Could not find " + refusal.executable + "\rMake sure it is in the zarn folder.";
}

std::string text(const RegionPastEnd& refusal)
{
    return "Error  !\rThe 646 entries from address " + std::to_string(refusal.slotAddress) +
           " on would run past the end of " + refusal.executable + " (" +
           counted(refusal.length, "byte", "bytes") + ").\r" + notModified(refusal.executable);
}

std::string text(const ListRunsOffEnd& refusal)
{
    return refusal.executable + " ends after " + counted(refusal.length, "byte", "bytes") +
           ", inside the slot list for " + listName(refusal.country, refusal.unitClass) +
           ", before a -1 closes it.";
}

// The lines of a refusal of the slot file up to those that say where to look and that the
// executable was not modified, and the line that says what to do, where there is one.
struct FaultLines
{
    std::string what;
    std::string toDo;
};

FaultLines lines(const WrongCount& fault)
{
    return {"Input file contains " + withSignPlace(fault.count) +
                " entries.\rThere must be exactly 646 unit entries !",
            {}};
}

FaultLines lines(const ExtraEntries& fault)
{
    return {"Input file contains " + withSignPlace(static_cast<std::int64_t>(fault.count)) +
                (fault.count == 1 ? " entry" : " entries") +
                " too many: there must be exactly 646 unit entries !",
            "To add a unit you must delete a unit."};
}

FaultLines lines(const EntryOutOfRange& fault)
{
    char number[32];
    std::snprintf(number, sizeof number, "%.15g", fault.entry);
    return {"The entry " + std::string(number) + " on line " + std::to_string(fault.line) +
                " is out of range.\rUnit entries must lie between -32768 and 32767 !",
            {}};
}

FaultLines lines(const EntryAfterLastList& fault)
{
    return {"The entry on line " + std::to_string(fault.line) +
                " comes after the -1 that ends the last list, " + listName(listCount - 1) + " !",
            "Every list ends in exactly one -1: remove the -1 that was added, or move the entry "
            "into a list."};
}

FaultLines lines(const LastListOpen& fault)
{
    return {"The last entry, on line " + std::to_string(fault.line) + ", is not -1: the list for " +
                listName(fault.list) + " has no end !",
            restoreTerminator};
}

FaultLines lines(const TerminatorMissing& fault)
{
    return {"The 646 entries, up to line " + std::to_string(fault.lastLine) + ", hold only " +
                counted(fault.terminators, "entry", "entries") +
                " of -1: there must be 180, one at the end of each list !",
            restoreTerminator};
}

std::string whereToLook(const WhereToLook& where, std::string_view target)
{
    if (where.list) {
        return "The first list whose length differs from " + std::string(target) + " is " +
               listName(*where.list) + ", starting on line " + std::to_string(where.line) + ".";
    }
    return "Every list has the length it has in " + std::string(target) +
           "; the entries from line " + std::to_string(where.line) + " on come after the last -1.";
}

// The count message says "ag.exe file NOT modified." whichever game was chosen, as users know it;
// the other refusals name the chosen executable.
std::string text(const SlotFileRefused& refusal)
{
    const FaultLines fault =
        std::visit([](const auto& kind) { return lines(kind); }, refusal.fault);
    std::string text = "Error  !\r" + fault.what;
    const auto addLine = [&text](const std::string& line) {
        text += '\r';
        text += line;
    };
    if (refusal.target && refusal.whereToLook) {
        addLine(whereToLook(*refusal.whereToLook, *refusal.target));
    }
    if (!fault.toDo.empty()) {
        addLine(fault.toDo);
    }
    if (refusal.target) {
        const bool countMessage = std::holds_alternative<WrongCount>(refusal.fault);
        addLine(notModified(countMessage ? "ag.exe" : *refusal.target));
    }
    return text;
}

std::string text(const NotAFile& refusal)
{
    const std::string subject = refusal.file == refusal.leadsTo
                                    ? refusal.file
                                    : refusal.file + " leads to " + refusal.leadsTo + ", which";
    return subject + " is " + whatItIs(refusal.kind) +
           ", not a file, so zarn leaves it alone.\rPut the file itself in its place and try "
           "again.";
}

std::string text(const StrangersLink& refusal)
{
    return refusal.link + " is a link to " + refusal.leadsTo + " that " + refusal.owner +
           " made, so zarn does not follow it: zarn follows only links that you made.\rRemove "
           "the link, or replace it with the file itself, and try again.";
}

std::string text(const StrangersFolderLink& refusal)
{
    return refusal.link + " is a link to " + refusal.leadsTo + " that " + refusal.owner +
           " made, so zarn does not follow it: zarn follows only links that you made.\rGive the "
           "folder it leads to, " +
           refusal.leadsTo + ", in its place, and try again.";
}

std::string text(const SafetyCopyInTheWay& refusal)
{
    return refusal.safetyCopy + " is " + whatItIs(refusal.kind) +
           ", not a copy of the game: move it away and try again, and zarn keeps the copy there.";
}

std::string text(const SafetyCopyNotYours& refusal)
{
    return refusal.safetyCopy + " belongs to " + refusal.owner +
           ", not to you, so zarn does not take it for the game's safety copy: move it away and "
           "try again, and zarn keeps a copy of its own there.";
}

std::string text(const SafetyCopyWrongLength& refusal)
{
    return refusal.safetyCopy + " holds " + std::to_string(refusal.length) + " bytes where " +
           refusal.executable + " holds " + std::to_string(refusal.executableLength) +
           ", so it is no copy of the game: move it away and try again, and zarn keeps the copy "
           "there.";
}

std::string text(const BackupInTheWay& refusal)
{
    return refusal.backup + " is " + whatItIs(refusal.kind) + ", not a copy of " +
           refusal.slotFile +
           ": move it away and try again, and zarn keeps the copy there before it replaces " +
           refusal.slotFile + ".";
}

std::string text(const TemporaryNameTaken& refusal)
{
    return refusal.name + " is " + whatItIs(refusal.kind) + " that " + refusal.owner +
           " made, and zarn may not remove it: zarn needs that name to write " + refusal.forFile +
           ".\rAsk " + refusal.owner +
           " to remove it, or copy the game into a folder of your own, and try again.";
}

std::string text(const TemporaryNameInTheWay& refusal)
{
    return refusal.name + " is " + whatItIs(refusal.kind) + ", and zarn needs that name to write " +
           refusal.forFile + ": move it away and try again.";
}

std::string text(const SlotFileTooLong& refusal)
{
    return refusal.slotFile + " is longer than " + std::to_string(refusal.limit / (1024 * 1024)) +
           " MiB, far longer than a slot file (about 6.5 KB), so zarn leaves it alone.\rPut the "
           "slot file itself in its place, or move this one away, and try again.";
}

std::string text(const NamesDifferOnlyInCase& refusal)
{
    std::string list;
    for (const std::string& match : refusal.matches) {
        list += (list.empty() ? "" : ", ") + match;
    }
    return "The folder " + refusal.folder + " holds several files named " + refusal.name +
           " in different case: " + list +
           ".\rRename or remove all but one of them; no file was changed.";
}

const char startOnTheGameFolder[] =
    "Start zarn on the folder that holds the game's ag.exe or pg.exe.";

std::string text(const FolderMissing& refusal)
{
    return "The folder " + refusal.folder + " does not exist.\r" + startOnTheGameFolder;
}

std::string text(const FolderUnreachable& refusal)
{
    return "The folder " + refusal.folder + " cannot be opened: " + refusal.reason + "\r" +
           startOnTheGameFolder;
}

std::string text(const MoreThanOneNamed& refusal)
{
    return "zarn was started on " + std::to_string(refusal.count) + " files or folders.\r" +
           startOnTheGameFolder;
}

std::string text(const FileFailed& failure)
{
    std::string reason = failure.reason;
    if (failure.longPath) {
        reason += " (" + failure.longPath->path + " is " +
                  std::to_string(failure.longPath->length) +
                  " characters long; Windows takes paths that long only where long paths are "
                  "turned on)";
    }
    return failure.file + " could not be " + std::string(actionText(failure.action)) + ": " +
           reason;
}

std::string text(const FolderNotWritable& failure)
{
    return "The folder " + failure.folder + " cannot be written: " + failure.reason +
           "\rzarn keeps its files beside the game: copy the game and zarn into a folder where "
           "you may create files.";
}

std::string text(const ReadOnlyFile& failure)
{
#ifdef _WIN32
    return failure.file +
           " is read-only, so zarn cannot change it.\rClear its read-only attribute (right-click "
           "it, choose Properties, untick Read-only) and try again.";
#else
    return failure.file +
           " is read-only for you, so zarn cannot change it.\rGive yourself write permission on "
           "it (for example with chmod u+w) and try again.";
#endif
}

std::string text(const SlotFileTooShort& failure)
{
    std::string text = failure.slotFile + " has only " + counted(failure.items, "line", "lines") +
                       " where 841 are needed: 15 country names, 180 class names and 646 "
                       "entries.\r";
    if (failure.entries == 0) {
        return text + "It holds no entries at all: export the table again to start afresh.";
    }
    if (failure.entries < requiredEntryCount) {
        return text + "It holds " + counted(failure.entries, "entry", "entries") +
               ": a unit or a -1 was deleted without one added in its place.";
    }
    if (failure.entries == requiredEntryCount) {
        return text + "Its 646 entries are all there: a country or class name was deleted; put "
                      "its line back.";
    }
    return text + "It holds " + std::to_string(failure.entries) +
           " entries: names were deleted and units added; to add a unit you must delete a unit.";
}

std::string text(const AddressBeforeStart& failure)
{
    return "The slot address " + std::to_string(failure.slotAddress) +
           " lies before the first byte of " + failure.executable + "; addresses start at 1.";
}

std::string text(const SafetyCopyFailed& failure)
{
    return failure.executable + " was not changed: its safety copy could not be made. " +
           std::visit([](const auto& why) { return text(why); }, failure.why);
}

std::string text(const ReplacementStoppedHalfWay& failure)
{
    return text(failure.replacing) + ". Its old contents are in " + failure.oldContents +
           " and its new contents in " + failure.newContents + "; rename one of them to " +
           failure.target + ".";
}

} // namespace

std::string messageText(const Refusal& refusal)
{
    return std::visit([](const auto& kind) { return text(kind); }, refusal);
}

std::string messageText(const Failure& failure)
{
    return std::visit([](const auto& kind) { return text(kind); }, failure);
}

} // namespace zarn

namespace zarn::reasons {

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

} // namespace zarn::reasons
