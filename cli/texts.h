#pragma once

#include "zarn/editor_state.h"
#include "zarn/list_changes.h"
#include "zarn/outcomes.h"
#include "zarn/slot_file.h"

#include <string>
#include <string_view>
#include <vector>

// The console program's own texts; the core's messages it prints as they are. Lines end in "\n".
// Names and other texts that the command line or the file system gives are shown escaped, as the
// core's messages show them (see shownText).
namespace zarn::cli::texts {

inline constexpr char usage[] = "usage: zarn-cli export [--game ag|pg] [--address N] [FOLDER]\n"
                                "       zarn-cli import [--game ag|pg] [--address N] [FOLDER]\n"
                                "       zarn-cli diff   [--game ag|pg] [--address N] [FOLDER]\n"
                                "       zarn-cli check  [--strict] [FILE]\n"
                                "       zarn-cli --help | --version\n";

inline constexpr char help[] =
    "zarn-cli copies the purchase-slot table of Panzer General (pg.exe) or Allied General\n"
    "(ag.exe) out of the game's executable into p_slots.txt and back, as zarn's window does.\n"
    "\n"
    "  export  writes the table of the game's executable in FOLDER into FOLDER/p_slots.txt\n"
    "  import  checks FOLDER/p_slots.txt and writes it into the game's executable\n"
    "  diff    shows the lists that import would change, and writes nothing\n"
    "  check   says whether FILE, p_slots.txt in the current folder unless given, holds a\n"
    "          whole table; it needs no executable\n"
    "\n"
    "check and diff first list each entry line that holds more than a whole number, which\n"
    "import reads all the same (line 8: \"28S\" is read as 28); check --strict then refuses\n"
    "the file.\n"
    "\n"
    "FOLDER is the current folder unless given; a path to the game's executable names its\n"
    "folder. Without --game, the one game executable in FOLDER is used. --address N is the\n"
    "table's position in the executable, 1883345 unless given: a whole number from 1, in\n"
    "decimal or in hexadecimal after &H or 0x. Allied General is edited only at 1883345.\n"
    "\n"
    "Results go to standard output, messages to standard error (\"Exported ...\" and\n"
    "\"Imported ...\" among them). -h and help show this help too"
#ifdef _WIN32
    ", and so does /?"
#endif
    ".\n"
    "Exit status: 0 done, 1 refused for what the folder holds (standard error says why), 2 the\n"
    "system failed (a read or write error, a permission denied, a full disk), 64 usage error.\n";

// What --version prints.
std::string version();

// The usage errors, each printed before the usage.
std::string usageError(std::string_view problem);
std::string noCommand();
std::string unknownCommand(std::string_view command);
std::string unknownOption(std::string_view option, std::string_view command);
std::string missingValue(std::string_view option);
std::string unknownGame(std::string_view value);
std::string addressNotWhole(std::string_view value);
std::string extraArgument(std::string_view argument);
std::string bothGames(std::string_view folder);

// Why a folder that holds no game cannot be the game's folder.
std::string noGameIn(std::string_view folder);

// A text of the core, whose lines end in a carriage return, as lines.
std::string asLines(std::string_view text);
// A refusal of the core: in the window's words, as lines, but for a missing executable, where
// the window's advice does not fit.
std::string refusal(const Refusal& refusal);
// A run-time error of the core that the system's failing caused, as the window reports it.
std::string runTimeError(std::string_view error);
// What is said when standard output did not take all that was printed to it.
std::string outputLost();

// What a transfer that succeeded, or a check that found a whole table, prints.
// The names are the files' names in the game folder, as messages show them.
std::string exported(std::string_view executable, std::string_view slotFile);
std::string imported(std::string_view slotFile, std::string_view executable);
std::string wholeTable(std::string_view file);

// What check and diff print for an entry whose line holds more than a whole number.
std::string unclearEntry(const UnclearEntry& entry);
// Why check --strict refuses a file that holds `count` such entries.
std::string unclearEntriesRefused(std::string_view file, std::size_t count);

// What diff prints: a line for each list that changes, then one that sums them up.
std::string changeLine(const ListChange& change);
std::string changeSummary(const std::vector<ListChange>& changes);

} // namespace zarn::cli::texts
