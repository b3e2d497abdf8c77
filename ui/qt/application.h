#pragma once

#include <functional>

class QWidget;

namespace zarn::qt {

// Names the application "zarn" with its version and icon, and makes the form's default font the
// application's.
void setUpApplication();

// Runs zarn on the files in its program folder until its window ends the program, and returns the
// exit status. `beforeShow`, when given, sees the window just before it is shown.
int runZarn(int& argc, char* argv[], const std::function<void(QWidget&)>& beforeShow = {});

} // namespace zarn::qt
