#include "command_line.h"

#include "zarn/windows_command_line.h"

#include <windows.h>

namespace zarn::win32 {

std::vector<std::filesystem::path> commandLineArguments()
{
    const std::vector<std::wstring> arguments = windowsArguments(GetCommandLineW());
    return {arguments.begin(), arguments.end()};
}

} // namespace zarn::win32
