// zarn-cli's command lines read in-process, one row each; cli_test.cpp starts the program.
#include "arguments.h"

#include <gtest/gtest.h>
#include <variant>

namespace zarn::cli {
namespace {

Invocation invocation(Command command, std::optional<Game> game = std::nullopt,
                      std::optional<std::int32_t> slotAddress = std::nullopt,
                      std::optional<std::filesystem::path> operand = std::nullopt,
                      bool strict = false)
{
    return {command, game, slotAddress, std::move(operand), strict};
}

const Invocation help = invocation(Command::Help);

std::string notWhole(const std::string& value)
{
    return "--address takes a whole number from 1 to 2147483647, in decimal or in hexadecimal "
           "after &H or 0x, not " +
           value;
}

// What a command line asks for, or the problem its usage error names.
struct Case
{
    std::vector<std::string> arguments;
    std::variant<Invocation, std::string> read;
};

const Case cases[] = {
    {{"export"}, invocation(Command::Export)},
    {{"import", "--game=ag", "--address", "1883345"},
     invocation(Command::Import, Game::AlliedGeneral, 1883345)},
    {{"diff", "--game", "pg", "--address=&H1CBCD1", "games/pg"},
     invocation(Command::Diff, Game::PanzerGeneral, 1883345, "games/pg")},
    {{"export", "--address", "0x1cbcd1"}, invocation(Command::Export, std::nullopt, 1883345)},
    {{"export", "--address", "&h7FFFFFFF"}, invocation(Command::Export, std::nullopt, 2147483647)},
    {{"export", "--address", "0001"}, invocation(Command::Export, std::nullopt, 1)},
    {{"check", "--strict", "mods/p_slots.txt"},
     invocation(Command::Check, std::nullopt, std::nullopt, "mods/p_slots.txt", true)},
    {{"check", "-"}, invocation(Command::Check, std::nullopt, std::nullopt, "-")},
    {{"export", "--", "-h"}, invocation(Command::Export, std::nullopt, std::nullopt, "-h")},
    {{"--help"}, help},
    {{"-h"}, help},
    {{"help"}, help},
    {{"import", "--game", "ag", "--help", "."}, help},
    {{"check", "--strict", "-h"}, help},
    {{"--version"}, invocation(Command::Version)},
#ifdef _WIN32
    {{"/?"}, help},
    {{"diff", "C:\\Games\\AG\\", "/?"}, help},
#else
    {{"/?"}, "unknown command /?"},
    {{"diff", "/?"}, invocation(Command::Diff, std::nullopt, std::nullopt, "/?")},
#endif
    {{}, "no command given"},
    {{"frobnicate"}, "unknown command frobnicate"},
    {{"--game", "ag"}, "unknown command --game"},
    {{"export", "--fast"}, "export takes no option --fast"},
    {{"export", "--strict"}, "export takes no option --strict"},
    {{"check", "--game", "ag"}, "check takes no option --game"},
    {{"import", "--game", "xx"}, "--game takes ag (Allied General) or pg (Panzer General), not xx"},
    {{"diff", "--address"}, "--address needs a value"},
    {{"export", ".", "--", "-x"}, "one folder or file at most: -x is one too many"},
    // Only whole numbers from 1 that fit 32 bits, with nothing before or after them.
    {{"export", "--address", "1883345abc"}, notWhole("1883345abc")},
    {{"export", "--address", "1883345.4"}, notWhole("1883345.4")},
    {{"export", "--address="}, notWhole("")},
    {{"export", "--address", "abc"}, notWhole("abc")},
    {{"export", "--address", "0"}, notWhole("0")},
    {{"export", "--address", "-5"}, notWhole("-5")},
    {{"export", "--address", "2147483648"}, notWhole("2147483648")},
    {{"export", "--address", "0x"}, notWhole("0x")},
    {{"export", "--address", "&H80000000"}, notWhole("&H80000000")},
};

TEST(ArgumentsTest, ReadsWhatTheCommandLineAsksForOrSaysWhyNot)
{
    for (const Case& c : cases) {
        std::string line = "zarn-cli";
        for (const std::string& argument : c.arguments) {
            line += " [" + argument + "]";
        }
        SCOPED_TRACE(line);
        if (const Invocation* expected = std::get_if<Invocation>(&c.read)) {
            EXPECT_EQ(parseArguments(c.arguments), *expected);
            continue;
        }
        try {
            parseArguments(c.arguments);
            ADD_FAILURE() << "no usage error";
        } catch (const UsageError& error) {
            // The usage that follows is the program's to test.
            const std::string problem = "zarn-cli: " + std::get<std::string>(c.read) + "\n";
            EXPECT_EQ(std::string(error.what()).substr(0, problem.size()), problem);
        }
    }
}

} // namespace
} // namespace zarn::cli
