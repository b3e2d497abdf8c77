#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// What the core tells the user, each refusal and each run-time error a value of its own kind with
// the data it is about, and messageText, which words each as the window shows it. Files and
// folders are named as messages show them (see shownPath): by their full path, unless a kind says
// otherwise.
namespace zarn {

// What stands at a name in a folder.
enum class FileKind
{
    Missing,
    Regular,
    Link,
    Folder,
    NamedPipe,
    Device,
    Socket,
};

// What a file operation that failed was to do.
enum class FileAction
{
    Opened,
    OpenedForWriting,
    Read,
    Written,
    FlushedToDisk,
    Closed,
    Replaced,
    // A new file made under a temporary name, or a name removed to make one there, for the file
    // that it is to become.
    Created,
    Removed,
    // A complete new file put at its own name, where nothing may stand.
    MovedIntoPlace,
};

// Whose fault a failure is, as far as the system's answer tells: what the folder holds (nothing at
// a name, a file where a folder should be, a loop of links, a name too long), or the system's own
// (a read or write error, a permission it denies, a full disk, anything else).
enum class FaultOf
{
    Folder,
    System,
};

// Refusals: told before anything is written.

// No game has been chosen.
struct SelectGame
{
    bool operator==(const SelectGame&) const = default;
};

// Allied General of another length than the one build zarn knows.
struct WrongLength
{
    bool operator==(const WrongLength&) const = default;
};

// Allied General at another slot address than its one.
struct WrongAddress
{
    bool operator==(const WrongAddress&) const = default;
};

// The chosen game's executable is not in the game folder.
struct ExecutableMissing
{
    std::string executable;
    bool operator==(const ExecutableMissing&) const = default;
};

// The 646 entries from the slot address on would run past the end of the executable, named by
// its name in the game folder.
struct RegionPastEnd
{
    std::int32_t slotAddress = 0;
    std::uint64_t length = 0;
    std::string executable;
    bool operator==(const RegionPastEnd&) const = default;
};

// The executable ends inside a slot list, before a -1 closes it; the country and class count
// from 1.
struct ListRunsOffEnd
{
    std::string executable;
    std::uint64_t length = 0;
    int country = 0;
    int unitClass = 0;
    bool operator==(const ListRunsOffEnd&) const = default;
};

// What is wrong with a slot file's entries. Lines count from 1, lists from 0, country by country.

// Other than 646 entries among the first 841 items.
struct WrongCount
{
    int count = 0;
    bool operator==(const WrongCount&) const = default;
};

// Entries after the 841st item.
struct ExtraEntries
{
    std::size_t count = 0;
    bool operator==(const ExtraEntries&) const = default;
};

// The first entry outside 16 bits, rounded down.
struct EntryOutOfRange
{
    double entry = 0;
    std::size_t line = 0;
    bool operator==(const EntryOutOfRange&) const = default;
};

// An entry after the -1 that ends the 180th list.
struct EntryAfterLastList
{
    std::size_t line = 0;
    bool operator==(const EntryAfterLastList&) const = default;
};

// The last entry is not -1, so `list` has no end.
struct LastListOpen
{
    std::size_t line = 0;
    std::size_t list = 0;
    bool operator==(const LastListOpen&) const = default;
};

// The last entry, on `lastLine`, is -1, but only `terminators` entries are.
struct TerminatorMissing
{
    std::size_t terminators = 0;
    std::size_t lastLine = 0;
    bool operator==(const TerminatorMissing&) const = default;
};

using TableFault = std::variant<WrongCount, ExtraEntries, EntryOutOfRange, EntryAfterLastList,
                                LastListOpen, TerminatorMissing>;

// Where the user most likely changed the table, judged by the lists of the executable it was to
// go into: the first list whose length differs, which starts on `line`; or, where every list
// agrees (no list), the first entry after the last -1, on `line`.
struct WhereToLook
{
    std::optional<std::size_t> list;
    std::size_t line = 0;
    bool operator==(const WhereToLook&) const = default;
};

// A slot file whose entries do not make the table. The executable it was to go into, by its name
// in the game folder, which was not modified; none where the file was checked on its own.
struct SlotFileRefused
{
    TableFault fault;
    std::optional<std::string> target;
    std::optional<WhereToLook> whereToLook;
    bool operator==(const SlotFileRefused&) const = default;
};

// Something other than a regular file at `file`, or where the user's links there lead.
struct NotAFile
{
    std::string file;
    std::string leadsTo;
    FileKind kind = FileKind::Missing;
    bool operator==(const NotAFile&) const = default;
};

// A link that `owner`, another user, made: at a file's name, or on the way to a folder.
struct StrangersLink
{
    std::string link;
    std::string leadsTo;
    std::string owner;
    bool operator==(const StrangersLink&) const = default;
};
struct StrangersFolderLink
{
    std::string link;
    std::string leadsTo;
    std::string owner;
    bool operator==(const StrangersFolderLink&) const = default;
};

// What stands at the name of the game's safety copy "<name>.orig" is none: no file, another
// user's, or of another length than the executable (named by its name in the game folder).
struct SafetyCopyInTheWay
{
    std::string safetyCopy;
    FileKind kind = FileKind::Missing;
    bool operator==(const SafetyCopyInTheWay&) const = default;
};
struct SafetyCopyNotYours
{
    std::string safetyCopy;
    std::string owner;
    bool operator==(const SafetyCopyNotYours&) const = default;
};
struct SafetyCopyWrongLength
{
    std::string safetyCopy;
    std::uint64_t length = 0;
    std::string executable;
    std::uint64_t executableLength = 0;
    bool operator==(const SafetyCopyWrongLength&) const = default;
};

// No file stands at the name of the slot file's copy "<name>.bak"; the slot file by its name in
// the game folder.
struct BackupInTheWay
{
    std::string backup;
    FileKind kind = FileKind::Missing;
    std::string slotFile;
    bool operator==(const BackupInTheWay&) const = default;
};

// Something at a name that zarn writes a file under before it moves it into place as `forFile`:
// another user's, which zarn may not remove, or a folder.
struct TemporaryNameTaken
{
    std::string name;
    FileKind kind = FileKind::Missing;
    std::string owner;
    std::string forFile;
    bool operator==(const TemporaryNameTaken&) const = default;
};
struct TemporaryNameInTheWay
{
    std::string name;
    FileKind kind = FileKind::Missing;
    std::string forFile;
    bool operator==(const TemporaryNameInTheWay&) const = default;
};

// A slot file longer than any, `limit` bytes.
struct SlotFileTooLong
{
    std::string slotFile;
    std::uint64_t limit = 0;
    bool operator==(const SlotFileTooLong&) const = default;
};

// Several files in `folder` answer to `name` when case is ignored: `matches`, by their names.
struct NamesDifferOnlyInCase
{
    std::string folder;
    std::string name;
    std::vector<std::string> matches;
    bool operator==(const NamesDifferOnlyInCase&) const = default;
};

// The game folder that a command line names: none where it names nothing, one that cannot be
// looked at, or several.
struct FolderMissing
{
    std::string folder;
    bool operator==(const FolderMissing&) const = default;
};
struct FolderUnreachable
{
    std::string folder;
    std::string reason;
    FaultOf faultOf = FaultOf::System;
    bool operator==(const FolderUnreachable&) const = default;
};
struct MoreThanOneNamed
{
    std::size_t count = 0;
    bool operator==(const MoreThanOneNamed&) const = default;
};

using Refusal =
    std::variant<SelectGame, WrongLength, WrongAddress, ExecutableMissing, RegionPastEnd,
                 ListRunsOffEnd, SlotFileRefused, NotAFile, StrangersLink, StrangersFolderLink,
                 SafetyCopyInTheWay, SafetyCopyNotYours, SafetyCopyWrongLength, BackupInTheWay,
                 TemporaryNameTaken, TemporaryNameInTheWay, SlotFileTooLong, NamesDifferOnlyInCase,
                 FolderMissing, FolderUnreachable, MoreThanOneNamed>;

// Run-time errors: a transfer cannot go on, and the window ends once the user has read why.

// A file operation failed, for `reason`, the system's own words. Where the path's length is the
// likely cause (on Windows, where long paths are not turned on), the path and its length.
struct LongPath
{
    std::string path;
    std::size_t length = 0;
    bool operator==(const LongPath&) const = default;
};
struct FileFailed
{
    std::string file;
    FileAction action = FileAction::Opened;
    std::string reason;
    FaultOf faultOf = FaultOf::System;
    std::optional<LongPath> longPath;
    bool operator==(const FileFailed&) const = default;
};

// A file could not be made in `folder`, which takes none, for `reason`.
struct FolderNotWritable
{
    std::string folder;
    std::string reason;
    bool operator==(const FolderNotWritable&) const = default;
};

// A file that zarn would change is read-only.
struct ReadOnlyFile
{
    std::string file;
    bool operator==(const ReadOnlyFile&) const = default;
};

// The slot file ends after `items` items, `entries` of them entries, before its 841st.
struct SlotFileTooShort
{
    std::string slotFile;
    std::size_t items = 0;
    std::size_t entries = 0;
    bool operator==(const SlotFileTooShort&) const = default;
};

// The slot address lies before the executable's first byte.
struct AddressBeforeStart
{
    std::int32_t slotAddress = 0;
    std::string executable;
    bool operator==(const AddressBeforeStart&) const = default;
};

// The executable was not changed, since its safety copy could not be made, for `why`.
struct SafetyCopyFailed
{
    std::string executable;
    std::variant<FileFailed, FolderNotWritable> why;
    bool operator==(const SafetyCopyFailed&) const = default;
};

// A file could not be replaced (`replacing` says which and why) and could not be put back
// either: its old and new contents stand at names of their own, and either renamed to `target`
// makes it whole.
struct ReplacementStoppedHalfWay
{
    FileFailed replacing;
    std::string target;
    std::string oldContents;
    std::string newContents;
    bool operator==(const ReplacementStoppedHalfWay&) const = default;
};

using Failure = std::variant<FileFailed, FolderNotWritable, ReadOnlyFile, SlotFileTooShort,
                             AddressBeforeStart, SafetyCopyFailed, ReplacementStoppedHalfWay>;

// The outcome in the window's words: the lines of a message box, separated by a carriage return.
std::string messageText(const Refusal& refusal);
std::string messageText(const Failure& failure);

} // namespace zarn
