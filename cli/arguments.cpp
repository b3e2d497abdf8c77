#include "arguments.h"

#include "texts.h"
#include "zarn/number_text.h"
#include "zarn/utf8_path.h"

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

std::int32_t slotAddressNamed(std::string_view value)
{
    // The same numbers as the window's address box, which refuses only those that overflow.
    const std::optional<std::int32_t> address = slotAddressFromText(value);
    if (!address) {
        throw UsageError(texts::addressOverflow(value));
    }
    return *address;
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
            if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
                takeOperand(argument);
            } else if (argument == "--help") {
                m_invocation.command = Command::Help;
                return;
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
        const bool takesGame = m_invocation.command != Command::Check;
        if (takesGame && name == "--game") {
            m_invocation.game = gameNamed(valueOf(argument, equals));
        } else if (takesGame && name == "--address") {
            m_invocation.slotAddress = slotAddressNamed(valueOf(argument, equals));
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
    if (first == "--help") {
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
