#pragma once

// The Windows program's own texts, which the Qt window has no use for.
namespace zarn::win32::texts {

// The names screen readers give the default actions of a button and of a link, as Windows
// names them.
inline constexpr char pressAction[] = "Press";
inline constexpr char followLinkAction[] = "Jump";

// What failed when the window could not be made: the start of a run-time error report.
inline constexpr char registeringWindowClass[] = "registering the window class";
inline constexpr char creatingWindow[] = "creating the window";
inline constexpr char makingControlAccessible[] = "making a control accessible";
inline constexpr char findingProgramPath[] = "the program's own path";
inline constexpr char showingFolderPicker[] = "showing the folder picker";

} // namespace zarn::win32::texts
