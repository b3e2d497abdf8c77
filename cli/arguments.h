#pragma once

#include "zarn/editor_state.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zarn::cli {

enum class Command
{
    Export,
    Import,
    Diff,
    Check,
    Help,
    Version,
};

// What the command line asks for.
struct Invocation
{
    Command command = Command::Help;
    std::optional<Game> game;
    std::optional<std::int32_t> slotAddress;
    // The folder of export, import and diff, or the file of check, as given.
    std::optional<std::filesystem::path> operand;
    // Whether check refuses entries whose lines hold more than a whole number.
    bool strict = false;

    bool operator==(const Invocation&) const = default;
};

// A command line that asks for nothing zarn-cli does. Its text says why, then shows the usage.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program's name, given in UTF-8. "--help", "-h", "help" and, on
// Windows, "/?" ask for the help wherever an option may stand.
// @throw UsageError for a command or option that zarn-cli does not know, or a value it refuses.
Invocation parseArguments(const std::vector<std::string>& arguments);

} // namespace zarn::cli
