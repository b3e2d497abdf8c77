#pragma once

#include <QStringList>
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

// The window on the game folder that the command line names, `arguments` being the command line
// with the program first: the program's own folder when nothing follows. Nothing when it names no
// folder zarn can use; `messages` has then shown why.
std::unique_ptr<MainWindow> windowForCommandLine(const QStringList& arguments,
                                                 MessagePresenter& messages);

// Runs zarn on the files in the folder its command line names, or else in its program folder,
// until its window ends the program, and returns the exit status. `beforeShow`, when given, sees
// the window just before it is shown.
int runZarn(int& argc, char* argv[], const std::function<void(QWidget&)>& beforeShow = {});

} // namespace zarn::qt
