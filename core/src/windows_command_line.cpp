#include "zarn/windows_command_line.h"

namespace zarn {

std::vector<std::wstring> windowsArguments(std::wstring_view commandLine)
{
    std::vector<std::wstring> arguments;
    std::wstring argument;
    bool inArgument = false;
    bool quoted = false;
    for (const wchar_t c : commandLine) {
        if (c == L'"') {
            quoted = !quoted;
            inArgument = true;
        } else if (!quoted && (c == L' ' || c == L'\t')) {
            if (inArgument) {
                arguments.push_back(std::move(argument));
                argument.clear();
                inArgument = false;
            }
        } else {
            argument += c;
            inArgument = true;
        }
    }
    if (inArgument) {
        arguments.push_back(std::move(argument));
    }
    // The program's own name comes first.
    if (!arguments.empty()) {
        arguments.erase(arguments.begin());
    }
    return arguments;
}

} // namespace zarn
