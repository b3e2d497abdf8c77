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
        std::vector<std::wstring> arguments;
    };
    const Case cases[] = {
        {L"zarn-cli.exe", {}},
        {L"\"C:\\Program Files\\zarn\\zarn-cli.exe\"  export\tC:\\Games\\AG ",
         {L"export", L"C:\\Games\\AG"}},
        // "%~dp0" in a batch file: a folder with its closing backslash, in quotes.
        {L"zarn-cli.exe diff \"C:\\Games\\AG\\\"", {L"diff", L"C:\\Games\\AG\\"}},
        {L"zarn-cli.exe diff \"C:\\Games\\AG\\\" --game ag",
         {L"diff", L"C:\\Games\\AG\\", L"--game", L"ag"}},
        {L"zarn.exe \"D:\\\"", {L"D:\\"}},
        {L"zarn.exe \\\\server\\share\\\"Allied General\"\\",
         {L"\\\\server\\share\\Allied General\\"}},
        {L"zarn-cli.exe check \"\" \"Spiel st\u00e4nde\"", {L"check", L"", L"Spiel st\u00e4nde"}},
        {L"zarn.exe \"C:\\Games\\AG", {L"C:\\Games\\AG"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.commandLine);
        EXPECT_EQ(windowsArguments(c.commandLine), c.arguments);
    }
}

} // namespace
} // namespace zarn
