#pragma once

#include <string>
#include <string_view>

// The window's own texts, apart from those of its controls in the layout table: its message
// boxes and the failures that end it. Lines are separated by a carriage return.
namespace zarn::form::texts {

inline constexpr char programTitle[] = "zarn";

// What the file name label shows until a game is chosen.
inline constexpr char noGameChosen[] = "None Specified";

inline constexpr char helpMessage[] =
    " 'EXE -> TXT' Button:\r"
    " Reads the ag.exe file and writes the unit's available to purchase\r"
    "to a text file named p_slots.txt.  You can edit this file with notepad, \r"
    "or any text editor.  To add a unit you must delete a unit.\r"
    "There must always be 646 units including the -1 entries.\r"
    " (-1 means the end of the section.) \r"
    "\r"
    " 'TXT->EXE' Button:\r"
    "Copies the 646 unit entries from the p_slots.txt file \r"
    "back into the ag.exe file.";

inline constexpr char creditsMessage[] = "Research, Data Collection,\r"
                                         "& Quality Control: Ilvo Pernak\r"
                                         "Programming: Darvel Quenby";

// The caption of the folder chooser that asks for the game's folder.
inline constexpr char chooseGameFolder[] =
    "Choose the folder that holds the game's ag.exe or pg.exe";

// A picture that the program should hold and does not, by its path in the program.
std::string missingPicture(std::string_view path);

// The run-time error report for an error that ends the program: a first line that says so, then
// the error's own text.
std::string runTimeErrorReport(std::string_view error);

} // namespace zarn::form::texts
