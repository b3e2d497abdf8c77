#include "run.h"
#include "zarn/utf8_path.h"

#include <string>
#include <vector>

#ifdef _WIN32
#include "zarn/windows_command_line.h"

#include <windows.h>

// The arguments come from the command line as Windows has it, in UTF-16, split as cmd's users
// write them, and go on in UTF-8, so that folder names in any language arrive whole and a quoted
// folder keeps its closing backslash.
int wmain()
{
    std::vector<std::string> arguments;
    for (const std::wstring& argument : zarn::windowsArguments(GetCommandLineW())) {
        arguments.push_back(zarn::utf8FromUtf16(argument));
    }
    return static_cast<int>(zarn::cli::run(arguments));
}
#else
int main(int argc, char* argv[])
{
    return static_cast<int>(zarn::cli::run(std::vector<std::string>(argv + 1, argv + argc)));
}
#endif
