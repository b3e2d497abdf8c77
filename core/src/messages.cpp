#include "messages.h"

#include "zarn/editor_state.h"
#include "zarn/slot_table.h"

#include <cstdio>

namespace zarn::messages {
namespace {

// A number as the editor writes counts in messages: a blank in place of the sign when it is not
// negative.
std::string withSignPlace(std::int64_t number)
{
    std::string text = std::to_string(number);
    if (number >= 0) {
        text.insert(text.begin(), ' ');
    }
    return text;
}

std::string notModified(std::string_view targetFile)
{
    return std::string(targetFile) + " file NOT modified.";
}

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

std::string wrongCount(int count)
{
    return "Error  !\rInput file contains " + withSignPlace(count) +
           " entries.\rThere must be exactly 646 unit entries !\r" + notModified("ag.exe");
}

std::string extraEntries(std::size_t count, std::size_t firstLine, std::string_view targetFile)
{
    return "Error  !\rInput file contains " + withSignPlace(static_cast<std::int64_t>(count)) +
           (count == 1 ? " entry" : " entries") + " after its first 841 items, from line " +
           std::to_string(firstLine) + " on.\rTo add a unit you must delete a unit.\r" +
           notModified(targetFile);
}

std::string entryOutOfRange(double entry, std::size_t line, std::string_view targetFile)
{
    char number[32];
    std::snprintf(number, sizeof number, "%.15g", entry);
    return "Error  !\rThe entry " + std::string(number) + " on line " + std::to_string(line) +
           " is out of range.\rUnit entries must lie between -32768 and 32767 !\r" +
           notModified(targetFile);
}

std::string regionPastEnd(std::int32_t slotAddress, std::uint64_t length,
                          std::string_view targetFile)
{
    return "Error  !\rThe 646 entries from address " + std::to_string(slotAddress) +
           " on would run past the end of " + std::string(targetFile) + " (" +
           std::to_string(length) + " bytes).\r" + notModified(targetFile);
}

std::string fileFailed(std::string_view file, std::string_view action, std::string_view reason)
{
    return std::string(file) + " could not be " + std::string(action) + ": " + std::string(reason);
}

std::string slotFileTooShort(std::string_view slotFile, std::size_t items)
{
    return std::string(slotFile) + " ends after " + std::to_string(items) + " items; " +
           std::to_string(itemsPerPass) + " are needed.";
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
           " bytes, inside the slot list for " + std::string(countryNames[country]) + ", " +
           std::string(unitClassNames[unitClass]) + ", before a -1 closes it.";
}

std::string safetyCopyFailed(std::string_view targetFile, std::string_view reason)
{
    return std::string(targetFile) + " was not changed: its safety copy " +
           std::string(targetFile) + ".orig could not be made. " + std::string(reason);
}

std::string safetyCopyInTheWay(std::string_view targetFile)
{
    return "something that is not a file is in the way of " + std::string(targetFile) + ".orig";
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

} // namespace zarn::messages
