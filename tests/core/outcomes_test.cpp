// The words of each refusal and run-time error as the window shows them, one row a kind: the
// other tests look at the kinds alone.
#include "recording_presenter.h"
#include "zarn/outcomes.h"

#include <gtest/gtest.h>

namespace zarn {
namespace {

const std::string notFollowed =
    " made, so zarn does not follow it: zarn follows only links that you made.\r";
const std::string startOnTheGame =
    "\rStart zarn on the folder that holds the game's ag.exe or pg.exe.";
const std::string needed =
    " where 841 are needed: 15 country names, 180 class names and 646 entries.\r";
const std::string putBack =
    "Every list ends in -1: put back the -1 that was deleted, and to add a unit delete a unit.";
const std::string germanyTank =
    "The first list whose length differs from pg.exe is Germany, Tank, starting on line 250.\r";

SlotFileRefused intoPanzerGeneral(TableFault fault, std::optional<WhereToLook> where = {})
{
    return {fault, "pg.exe", where};
}

struct RefusalCase
{
    Refusal refusal;
    std::string text;
};

const RefusalCase refusalCases[] = {
    {SelectGame{}, "Please select Panzer General or Allied General to edit."},
    {WrongLength{},
     "AG.EXE is the wrong file length\rSorry this program only works with ag.exe WITH autoscroll"},
    {WrongAddress{}, "AG.EXE is at the wrong slot address\rSorry this program only works with "
                     "ag.exe at the default slot address 1883345"},
    {ExecutableMissing{"/g/ag.exe"},
     "Could not find /g/ag.exe\rMake sure it is in the zarn folder."},
    // The count message names ag.exe whichever game was chosen.
    {intoPanzerGeneral(WrongCount{645}),
     "Error  !\rInput file contains  645 entries.\rThere must be "
     "exactly 646 unit entries !\rag.exe file NOT modified."},
    {SlotFileRefused{WrongCount{0}, std::nullopt, std::nullopt},
     "Error  !\rInput file contains  0 entries.\rThere must be exactly 646 unit entries !"},
    {RegionPastEnd{102, 1392, "pg.exe"}, "Error  !\rThe 646 entries from address 102 on would run "
                                         "past the end of pg.exe (1392 bytes).\rpg.exe file NOT "
                                         "modified."},
    {ListRunsOffEnd{"/g/pg.exe", 1, 5, 2},
     "/g/pg.exe ends after 1 byte, inside the slot list for Germany, Tank, before a -1 closes "
     "it."},
    {ListRunsOffEnd{"/g/pg.exe", 1290, 15, 12},
     "/g/pg.exe ends after 1290 bytes, inside the slot list for Finland, Land Transport, before a "
     "-1 closes it."},
    {intoPanzerGeneral(ExtraEntries{1}, WhereToLook{1, 5}),
     "Error  !\rInput file contains  1 entry too many: there must be exactly 646 unit entries "
     "!\rThe first list whose length differs from pg.exe is Norway, Tank, starting on line "
     "5.\rTo add a unit you must delete a unit.\rpg.exe file NOT modified."},
    {intoPanzerGeneral(ExtraEntries{3}, WhereToLook{std::nullopt, 844}),
     "Error  !\rInput file contains  3 entries too many: there must be exactly 646 unit entries "
     "!\rEvery list has the length it has in pg.exe; the entries from line 844 on come after the "
     "last -1.\rTo add a unit you must delete a unit.\rpg.exe file NOT modified."},
    {SlotFileRefused{ExtraEntries{1}, std::nullopt, std::nullopt},
     "Error  !\rInput file contains  1 entry too many: there must be exactly 646 unit entries "
     "!\rTo add a unit you must delete a unit."},
    {intoPanzerGeneral(EntryOutOfRange{1e300, 5}),
     "Error  !\rThe entry 1e+300 on line 5 is out of range.\rUnit entries must lie between -32768 "
     "and 32767 !\rpg.exe file NOT modified."},
    {intoPanzerGeneral(EntryAfterLastList{838}, WhereToLook{49, 250}),
     "Error  !\rThe entry on line 838 comes after the -1 that ends the last list, Finland, Land "
     "Transport !\r" +
         germanyTank +
         "Every list ends in exactly one -1: remove the -1 that was added, or move the entry into "
         "a list.\rpg.exe file NOT modified."},
    {intoPanzerGeneral(LastListOpen{841, 179}, WhereToLook{179, 838}),
     "Error  !\rThe last entry, on line 841, is not -1: the list for Finland, Land Transport has "
     "no end !\rThe first list whose length differs from pg.exe is Finland, Land Transport, "
     "starting on line 838.\r" +
         putBack + "\rpg.exe file NOT modified."},
    {intoPanzerGeneral(TerminatorMissing{179, 841}, WhereToLook{49, 250}),
     "Error  !\rThe 646 entries, up to line 841, hold only 179 entries of -1: there must be 180, "
     "one at the end of each list !\r" +
         germanyTank + putBack + "\rpg.exe file NOT modified."},
    {SlotFileRefused{TerminatorMissing{1, 9}, std::nullopt, std::nullopt},
     "Error  !\rThe 646 entries, up to line 9, hold only 1 entry of -1: there must be 180, one at "
     "the end of each list !\r" +
         putBack},
    {NotAFile{"/g/pg.exe", "/g/pg.exe", FileKind::Folder},
     "/g/pg.exe is a folder, not a file, so zarn leaves it alone.\rPut the file itself in its "
     "place and try again."},
    {NotAFile{"/g/p_slots.txt", "/g/pipe", FileKind::NamedPipe},
     "/g/p_slots.txt leads to /g/pipe, which is a named pipe, not a file, so zarn leaves it "
     "alone.\rPut the file itself in its place and try again."},
    {NotAFile{"/g/p_slots.txt", "/g/p_slots.txt", FileKind::Socket},
     "/g/p_slots.txt is a socket, not a file, so zarn leaves it alone.\rPut the file itself in "
     "its place and try again."},
    {StrangersLink{"/g/p_slots.txt", "/g/victim", "user 4242"},
     "/g/p_slots.txt is a link to /g/victim that user 4242" + notFollowed +
         "Remove the link, or replace it with the file itself, and try again."},
    {StrangersFolderLink{"/up/game", "/mine/game", "user 4242"},
     "/up/game is a link to /mine/game that user 4242" + notFollowed +
         "Give the folder it leads to, /mine/game, in its place, and try again."},
    {SafetyCopyInTheWay{"/g/ag.exe.orig", FileKind::Link},
     "/g/ag.exe.orig is a link, not a copy of the game: move it away and try again, and zarn "
     "keeps the copy there."},
    {SafetyCopyInTheWay{"/g/ag.exe.orig", FileKind::Regular},
     "/g/ag.exe.orig is a file, not a copy of the game: move it away and try again, and zarn "
     "keeps the copy there."},
    {SafetyCopyNotYours{"/g/ag.exe.orig", "user 4242"},
     "/g/ag.exe.orig belongs to user 4242, not to you, so zarn does not take it for the game's "
     "safety copy: move it away and try again, and zarn keeps a copy of its own there."},
    {SafetyCopyWrongLength{"/g/ag.exe.orig", 2167610, "ag.exe", 2167611},
     "/g/ag.exe.orig holds 2167610 bytes where ag.exe holds 2167611, so it is no copy of the "
     "game: move it away and try again, and zarn keeps the copy there."},
    {BackupInTheWay{"/g/p_slots.txt.bak", FileKind::Folder, "p_slots.txt"},
     "/g/p_slots.txt.bak is a folder, not a copy of p_slots.txt: move it away and try again, and "
     "zarn keeps the copy there before it replaces p_slots.txt."},
    {TemporaryNameTaken{"/g/p_slots.txt.zarn-tmp", FileKind::Regular, "user 4242",
                        "/g/p_slots.txt"},
     "/g/p_slots.txt.zarn-tmp is a file that user 4242 made, and zarn may not remove it: zarn "
     "needs that name to write /g/p_slots.txt.\rAsk user 4242 to remove it, or copy the game "
     "into a folder of your own, and try again."},
    {TemporaryNameInTheWay{"/g/ag.exe.zarn-tmp", FileKind::Folder, "/g/ag.exe"},
     "/g/ag.exe.zarn-tmp is a folder, and zarn needs that name to write /g/ag.exe: move it away "
     "and try again."},
    {SlotFileTooLong{"/g/p_slots.txt", 64 * 1024 * 1024},
     "/g/p_slots.txt is longer than 64 MiB, far longer than a slot file (about 6.5 KB), so zarn "
     "leaves it alone.\rPut the slot file itself in its place, or move this one away, and try "
     "again."},
    {NamesDifferOnlyInCase{"/g", "ag.exe", {"AG.EXE", "Ag.exe"}},
     "The folder /g holds several files named ag.exe in different case: AG.EXE, Ag.exe.\rRename "
     "or remove all but one of them; no file was changed."},
    {FolderMissing{"/g/AG"}, "The folder /g/AG does not exist." + startOnTheGame},
    {FolderUnreachable{"/g/x", "File name too long", FaultOf::Folder},
     "The folder /g/x cannot be opened: File name too long" + startOnTheGame},
    {MoreThanOneNamed{2}, "zarn was started on 2 files or folders." + startOnTheGame},
};

TEST(MessageText, WordsEachRefusalAsTheWindowShowsIt)
{
    for (const RefusalCase& c : refusalCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(messageText(c.refusal), c.text);
    }
}

FileFailed failed(std::string file, FileAction action, std::string reason)
{
    return {std::move(file), action, std::move(reason), FaultOf::System, std::nullopt};
}

struct FailureCase
{
    Failure failure;
    std::string text;
};

const FailureCase failureCases[] = {
    {failed("/g/p_slots.txt", FileAction::Opened, "No such file or directory"),
     "/g/p_slots.txt could not be opened: No such file or directory"},
    {failed("/g/ag.exe", FileAction::OpenedForWriting, "Permission denied"),
     "/g/ag.exe could not be opened for writing: Permission denied"},
    {failed("/g/f", FileAction::Read, "why"), "/g/f could not be read: why"},
    {failed("/g/f", FileAction::Written, "why"), "/g/f could not be written: why"},
    {failed("/g/f", FileAction::FlushedToDisk, "why"), "/g/f could not be flushed to disk: why"},
    {failed("/g/f", FileAction::Closed, "why"), "/g/f could not be closed: why"},
    {failed("/g/f", FileAction::Replaced, "why"), "/g/f could not be replaced: why"},
    // A temporary name, made or cleared, stands for the file that zarn writes under it.
    {failed("/g/f", FileAction::Created, "why"), "/g/f could not be written: why"},
    {failed("/g/f", FileAction::Removed, "why"), "/g/f could not be written: why"},
    {failed("/g/f", FileAction::MovedIntoPlace, "why"), "/g/f could not be created: why"},
    {FileFailed{"C:\\g\\ag.exe", FileAction::Opened, "The system cannot find the path specified",
                FaultOf::Folder, LongPath{"C:\\g\\ag.exe", 300}},
     "C:\\g\\ag.exe could not be opened: The system cannot find the path specified "
     "(C:\\g\\ag.exe is 300 characters long; Windows takes paths that long only where long "
     "paths are turned on)"},
    {FolderNotWritable{"/g", "Read-only file system"},
     "The folder /g cannot be written: Read-only file system\rzarn keeps its files beside the "
     "game: copy the game and zarn into a folder where you may create files."},
#ifdef _WIN32
    {ReadOnlyFile{"C:\\g\\ag.exe"},
     "C:\\g\\ag.exe is read-only, so zarn cannot change it.\rClear its read-only attribute "
     "(right-click it, choose Properties, untick Read-only) and try again."},
#else
    {ReadOnlyFile{"/g/ag.exe"},
     "/g/ag.exe is read-only for you, so zarn cannot change it.\rGive yourself write permission "
     "on it (for example with chmod u+w) and try again."},
#endif
    {SlotFileTooShort{"/g/p_slots.txt", 840, 645},
     "/g/p_slots.txt has only 840 lines" + needed +
         "It holds 645 entries: a unit or a -1 was deleted without one added in its place."},
    {SlotFileTooShort{"/g/p_slots.txt", 2, 1},
     "/g/p_slots.txt has only 2 lines" + needed +
         "It holds 1 entry: a unit or a -1 was deleted without one added in its place."},
    {SlotFileTooShort{"/g/p_slots.txt", 839, 646},
     "/g/p_slots.txt has only 839 lines" + needed +
         "Its 646 entries are all there: a country or class name was deleted; put its line "
         "back."},
    {SlotFileTooShort{"/g/p_slots.txt", 839, 647},
     "/g/p_slots.txt has only 839 lines" + needed +
         "It holds 647 entries: names were deleted and units added; to add a unit you must "
         "delete a unit."},
    {SlotFileTooShort{"/g/p_slots.txt", 1, 0},
     "/g/p_slots.txt has only 1 line" + needed +
         "It holds no entries at all: export the table again to start afresh."},
    {AddressBeforeStart{-5, "/g/pg.exe"},
     "The slot address -5 lies before the first byte of /g/pg.exe; addresses start at 1."},
    {SafetyCopyFailed{"/g/ag.exe",
                      failed("/g/ag.exe.orig", FileAction::Written, "No space left on device")},
     "/g/ag.exe was not changed: its safety copy could not be made. /g/ag.exe.orig could not be "
     "written: No space left on device"},
    {SafetyCopyFailed{"/g/ag.exe", FolderNotWritable{"/g", "Permission denied"}},
     "/g/ag.exe was not changed: its safety copy could not be made. The folder /g cannot be "
     "written: Permission denied\rzarn keeps its files beside the game: copy the game and zarn "
     "into a folder where you may create files."},
    {ReplacementStoppedHalfWay{failed("/g/ag.exe", FileAction::Replaced, "Disk full"), "/g/ag.exe",
                               "/g/ag.exe.zarn-old", "/g/ag.exe.zarn-tmp"},
     "/g/ag.exe could not be replaced: Disk full. Its old contents are in /g/ag.exe.zarn-old and "
     "its new contents in /g/ag.exe.zarn-tmp; rename one of them to /g/ag.exe."},
};

TEST(MessageText, WordsEachRunTimeErrorAsTheWindowReportsIt)
{
    for (const FailureCase& c : failureCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(messageText(c.failure), c.text);
    }
}

} // namespace
} // namespace zarn
