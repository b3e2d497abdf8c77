#pragma once

#include <functional>
#include <memory>

class QWidget;

namespace zarn {
class MessagePresenter;
}

namespace zarn::qt {

class MainWindow;

// Names the application "zarn" with its version and icon, and makes the form's default font the
// application's.
void setUpApplication();

// The window on the game folder that the command line gives (form::startFolder), `argc` and
// `argv` being the command line as QApplication leaves it, the program first. Its arguments are
// paths as the bytes they are, in whatever encoding the folder's name was made. With
// form::chooseFolderOption, Qt's folder dialog asks for the folder first. Nothing when the command
// line gives no folder zarn can use, `messages` having shown why, or when the dialog was
// cancelled.
std::unique_ptr<MainWindow> windowForCommandLine(int argc, char* argv[],
                                                 MessagePresenter& messages);

// Runs zarn on the game folder that its command line gives (windowForCommandLine) until its window
// ends the program, and returns the exit status: 1 where no window opens. `beforeShow`, when
// given, sees the window just before it is shown.
int runZarn(int& argc, char* argv[], const std::function<void(QWidget&)>& beforeShow = {});

} // namespace zarn::qt
