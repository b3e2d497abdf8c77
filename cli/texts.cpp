#include "texts.h"

#include "zarn/slot_table.h"
#include "zarn/utf8_path.h"
#include "zarn/version.h"
#include "zarn/wording.h"

#include <algorithm>

namespace zarn::cli::texts {

std::string version()
{
    return "zarn-cli " + std::string(zarn::version) + "\n";
}

std::string usageError(std::string_view problem)
{
    return "zarn-cli: " + std::string(problem) + "\n" + usage;
}

std::string noCommand()
{
    return usageError("no command given");
}

std::string unknownCommand(std::string_view command)
{
    return usageError("unknown command " + shownText(command));
}

std::string unknownOption(std::string_view option, std::string_view command)
{
    return usageError(std::string(command) + " takes no option " + shownText(option));
}

std::string missingValue(std::string_view option)
{
    return usageError(shownText(option) + " needs a value");
}

std::string unknownGame(std::string_view value)
{
    return usageError("--game takes ag (Allied General) or pg (Panzer General), not " +
                      shownText(value));
}

std::string addressNotWhole(std::string_view value)
{
    return usageError("--address takes a whole number from 1 to 2147483647, in decimal or in "
                      "hexadecimal after &H or 0x, not " +
                      shownText(value));
}

std::string extraArgument(std::string_view argument)
{
    return usageError("one folder or file at most: " + shownText(argument) + " is one too many");
}

std::string bothGames(std::string_view folder)
{
    return usageError(shownText(folder) +
                      " holds both pg.exe and ag.exe: pass --game pg or --game ag");
}

std::string noGameIn(std::string_view folder)
{
    return "The folder " + shownText(folder) +
           " holds neither ag.exe nor pg.exe.\nGive the game's folder after the command, or run "
           "zarn-cli in that folder.\n";
}

std::string asLines(std::string_view text)
{
    std::string lines(text);
    std::ranges::replace(lines, '\r', '\n');
    return lines + "\n";
}

std::string refusal(const Refusal& refusal)
{
    if (const auto* missing = std::get_if<ExecutableMissing>(&refusal)) {
        return "Could not find " + missing->executable + "\n";
    }
    return asLines(messageText(refusal));
}

std::string runTimeError(std::string_view error)
{
    return "Run-time error\n" + asLines(error);
}

std::string outputLost()
{
    return "zarn-cli: standard output could not be written\n";
}

std::string exported(std::string_view executable, std::string_view slotFile)
{
    return "Exported the table of " + std::string(executable) + " into " + std::string(slotFile) +
           ".\n";
}

std::string imported(std::string_view slotFile, std::string_view executable)
{
    return "Imported " + std::string(slotFile) + " into " + std::string(executable) + ".\n";
}

std::string wholeTable(std::string_view file)
{
    return shownText(file) + " holds a whole table: 646 entries in 180 lists.\n";
}

std::string unclearEntry(const UnclearEntry& entry)
{
    return "line " + std::to_string(entry.line) + ": \"" + shownText(entry.text) +
           "\" is read as " + std::to_string(entry.entry) + "\n";
}

std::string unclearEntriesRefused(std::string_view file, std::size_t count)
{
    return "--strict: " + counted(count, "entry line of ", "entry lines of ") + shownText(file) +
           (count == 1 ? " holds" : " hold") + " more than a whole number.\n";
}

std::string changeLine(const ListChange& change)
{
    std::string line = listName(change.country, change.unitClass) + ":";
    if (change.removed.empty() && change.added.empty()) {
        return line + " the same units in another order\n";
    }
    for (const std::int16_t unit : change.removed) {
        line += " -" + std::to_string(unit);
    }
    for (const std::int16_t unit : change.added) {
        line += " +" + std::to_string(unit);
    }
    return line + "\n";
}

std::string changeSummary(const std::vector<ListChange>& changes)
{
    if (changes.empty()) {
        return "no change\n";
    }
    std::size_t removed = 0;
    std::size_t added = 0;
    for (const ListChange& change : changes) {
        removed += change.removed.size();
        added += change.added.size();
    }
    return "The import would change " + counted(changes.size(), "list", "lists") + ": " +
           counted(removed, "unit", "units") + " removed, " + counted(added, "unit", "units") +
           " added.\n";
}

} // namespace zarn::cli::texts
