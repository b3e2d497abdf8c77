#include "folder_files.h"
#include "program_run.h"

#include <windows.h>

namespace zarn::testing {
namespace {

std::wstring wide(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

// One argument as zarn's programs split their command line back into arguments: in quotes, each
// backslash as it stands (see windowsArguments).
std::wstring quoted(const std::wstring& argument)
{
    return L"\"" + argument + L"\"";
}

HANDLE inheritableFile(const std::filesystem::path& path)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string withLineFeeds(std::string text)
{
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at, 1);
    }
    return text;
}

// Runs `program` with the whole command line given and waits for it to end.
ProgramRun runWith(const std::filesystem::path& program, std::wstring commandLine,
                   const std::filesystem::path& workingFolder,
                   const std::optional<std::filesystem::path>& output)
{
    const std::filesystem::path capture =
        std::filesystem::temp_directory_path() /
        ("zarn-cli-test-" + std::to_string(GetCurrentProcessId()));
    const std::filesystem::path out = output.value_or(capture.wstring() + L".out");
    const std::filesystem::path err = capture.wstring() + L".err";
    ProgramRun run;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = inheritableFile(out);
    startup.hStdError = inheritableFile(err);
    PROCESS_INFORMATION process{};
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                       CREATE_NO_WINDOW, nullptr, workingFolder.c_str(), &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD status = 0;
        if (GetExitCodeProcess(process.hProcess, &status)) {
            run.status = static_cast<int>(status);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    if (!output) {
        run.out = withLineFeeds(readWholeFile(out));
        std::filesystem::remove(out);
    }
    run.err = withLineFeeds(readWholeFile(err));
    std::filesystem::remove(err);
    return run;
}

} // namespace

ProgramRun runProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments,
                      const std::filesystem::path& workingFolder,
                      const std::optional<std::filesystem::path>& output)
{
    std::wstring commandLine = quoted(program.wstring());
    for (const std::string& argument : arguments) {
        commandLine += L" " + quoted(wide(argument));
    }
    return runWith(program, commandLine, workingFolder, output);
}

ProgramRun runCommandLine(const std::filesystem::path& program, const std::string& arguments,
                          const std::filesystem::path& workingFolder)
{
    return runWith(program, quoted(program.wstring()) + L" " + wide(arguments), workingFolder,
                   std::nullopt);
}

} // namespace zarn::testing
