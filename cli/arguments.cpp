#include "arguments.h"

#include "texts.h"
#include "zarn/utf8_path.h"

#include <charconv>
#include <string_view>

namespace zarn::cli {
namespace {

std::optional<Command> commandNamed(std::string_view name)
{
    if (name == "export") {
        return Command::Export;
    }
    if (name == "import") {
        return Command::Import;
    }
    if (name == "diff") {
        return Command::Diff;
    }
    if (name == "check") {
        return Command::Check;
    }
    return std::nullopt;
}

bool asksForHelp(std::string_view argument)
{
#ifdef _WIN32
    if (argument == "/?") {
        return true;
    }
#endif
    return argument == "--help" || argument == "-h";
}

Game gameNamed(std::string_view value)
{
    if (value == "ag") {
        return Game::AlliedGeneral;
    }
    if (value == "pg") {
        return Game::PanzerGeneral;
    }
    throw UsageError(texts::unknownGame(value));
}

// A whole number from 1 up that fits the slot address: decimal digits, or hexadecimal ones after
// "&H" or "0x" in either case. The address box's number rule is the design's; this one is the
// command line's, which takes nothing that could be a typing slip.
std::int32_t slotAddressNamed(std::string_view value)
{
    std::string_view digits = value;
    int base = 10;
    for (const std::string_view prefix : {"0x", "0X", "&H", "&h"}) {
        if (digits.starts_with(prefix)) {
            digits.remove_prefix(prefix.size());
            base = 16;
            break;
        }
    }
    std::int32_t address = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, address, base);
    if (error != std::errc() || stop != end || address < 1) {
        throw UsageError(texts::addressNotWhole(value));
    }
    return address;
}

// Reads the options and the operand of a command that takes them.
class OptionReader
{
public:
    OptionReader(const std::vector<std::string>& arguments, Invocation& invocation)
        : m_arguments(arguments), m_invocation(invocation)
    {}

    void readAll()
    {
        bool optionsEnded = false;
        while (++m_next < m_arguments.size()) {
            const std::string& argument = m_arguments[m_next];
            if (!optionsEnded && asksForHelp(argument)) {
                m_invocation = Invocation{};
                m_invocation.command = Command::Help;
                return;
            }
            if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
                takeOperand(argument);
            } else if (argument == "--") {
                optionsEnded = true;
            } else {
                takeOption(argument);
            }
        }
    }

private:
    void takeOperand(const std::string& argument)
    {
        if (m_invocation.operand) {
            throw UsageError(texts::extraArgument(argument));
        }
        m_invocation.operand = pathFromUtf8(argument);
    }

    void takeOption(const std::string& argument)
    {
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const bool isCheck = m_invocation.command == Command::Check;
        if (!isCheck && name == "--game") {
            m_invocation.game = gameNamed(valueOf(argument, equals));
        } else if (!isCheck && name == "--address") {
            m_invocation.slotAddress = slotAddressNamed(valueOf(argument, equals));
        } else if (isCheck && argument == "--strict") {
            m_invocation.strict = true;
        } else {
            throw UsageError(texts::unknownOption(argument, m_arguments.front()));
        }
    }

    // The value after "=", or else the next argument.
    std::string valueOf(const std::string& argument, std::size_t equals)
    {
        if (equals != std::string::npos) {
            return argument.substr(equals + 1);
        }
        if (m_next + 1 >= m_arguments.size()) {
            throw UsageError(texts::missingValue(argument));
        }
        return m_arguments[++m_next];
    }

    const std::vector<std::string>& m_arguments;
    Invocation& m_invocation;
    std::size_t m_next = 0;
};

} // namespace

Invocation parseArguments(const std::vector<std::string>& arguments)
{
    if (arguments.empty()) {
        throw UsageError(texts::noCommand());
    }
    const std::string& first = arguments.front();
    Invocation invocation;
    if (first == "help" || asksForHelp(first)) {
        invocation.command = Command::Help;
        return invocation;
    }
    if (first == "--version") {
        invocation.command = Command::Version;
        return invocation;
    }
    const std::optional<Command> command = commandNamed(first);
    if (!command) {
        throw UsageError(texts::unknownCommand(first));
    }
    invocation.command = *command;
    OptionReader(arguments, invocation).readAll();
    return invocation;
}

} // namespace zarn::cli
