// Windows command lines split into arguments as cmd's users write them.
#include "zarn/windows_command_line.h"

#include <gtest/gtest.h>

namespace zarn {
namespace {

TEST(WindowsCommandLineTest, SplitsAtBlanksOutsideQuotesAndKeepsEveryBackslash)
{
    struct Case
    {
        const wchar_t* commandLine;
        std::vector<std::u32string> arguments;
    };
    const Case cases[] = {
        {L"zarn-cli.exe", {}},
        {L"\"C:\\Program Files\\zarn\\zarn-cli.exe\"  export\tC:\\Games\\AG ",
         {U"export", U"C:\\Games\\AG"}},
        // "%~dp0" in a batch file: a folder with its closing backslash, in quotes.
        {L"zarn-cli.exe diff \"C:\\Games\\AG\\\"", {U"diff", U"C:\\Games\\AG\\"}},
        {L"zarn-cli.exe diff \"C:\\Games\\AG\\\" --game ag",
         {U"diff", U"C:\\Games\\AG\\", U"--game", U"ag"}},
        {L"zarn.exe \"D:\\\"", {U"D:\\"}},
        {L"zarn.exe \\\\server\\share\\\"Allied General\"\\",
         {U"\\\\server\\share\\Allied General\\"}},
        {L"zarn-cli.exe check \"\" \"Spiel st\u00e4nde\"", {U"check", U"", U"Spiel st\u00e4nde"}},
        {L"zarn.exe \"C:\\Games\\AG", {U"C:\\Games\\AG"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.commandLine);
        // Compared as char32_t text: Valgrind mistakes the C library's comparison of wchar_t text
        // for reads past the end.
        std::vector<std::u32string> arguments;
        for (const std::wstring& argument : windowsArguments(c.commandLine)) {
            arguments.emplace_back(argument.begin(), argument.end());
        }
        EXPECT_EQ(arguments, c.arguments);
    }
}

} // namespace
} // namespace zarn
