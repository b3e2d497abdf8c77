#pragma once

// zarn-cli, the console front end on zarn's core: arguments.h reads the command line, run.h runs
// the command it names through the core, texts.h holds what the program prints of its own, and
// console.h prints it and the core's messages.

#include "zarn/outcomes.h"

#include <string>
#include <vector>

namespace zarn::cli {

// How zarn-cli ends.
enum class ExitStatus
{
    Done = 0,
    // A fault in what the user's folder holds or in the folder named: a slot file that is
    // missing, short or broken, another user's link, something that is not a plain file, an
    // address outside the executable, a game of another build.
    Refused = 1,
    // The system failed: a read or write error, a permission it denies, a full disk.
    SystemFailed = 2,
    // A command line that zarn-cli does not take (the value of EX_USAGE).
    Usage = 64,
};

// Runs the command that the arguments after the program's name give, in UTF-8, and returns the
// program's exit status.
ExitStatus run(const std::vector<std::string>& arguments);

// How zarn-cli ends after each of the core's refusals and run-time errors, by whose fault it is.
ExitStatus exitStatusOf(const Refusal& refusal);
ExitStatus exitStatusOf(const Failure& failure);

} // namespace zarn::cli
