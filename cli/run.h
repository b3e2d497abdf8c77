#pragma once

// zarn-cli, the console front end on zarn's core: arguments.h reads the command line, run.h runs
// the command it names through the core, texts.h holds what the program prints of its own, and
// console.h prints it and the core's messages.

#include <string>
#include <vector>

namespace zarn::cli {

// How zarn-cli ends.
enum class ExitStatus
{
    Done = 0,
    // The core refused and said why, as the window does in a message box.
    Refused = 1,
    // A run-time error, which the window reports as one and ends.
    RunTimeError = 2,
    // A command line that zarn-cli does not take (the value of EX_USAGE).
    Usage = 64,
};

// Runs the command that the arguments after the program's name give, in UTF-8, and returns the
// program's exit status.
ExitStatus run(const std::vector<std::string>& arguments);

} // namespace zarn::cli
