#include "child_process.h"

#include <cwctype>
#include <windows.h>

namespace zarn::testing {
namespace {

std::wstring wide(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

// One argument as the C library of the program splits its command line back into arguments:
// quoted, with the backslashes before a quote, and the quote itself, escaped.
std::wstring quoted(const std::wstring& argument)
{
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        text += c;
    }
    text.append(2 * backslashes, L'\\');
    return text + L"\"";
}

std::wstring upper(std::wstring text)
{
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    return text;
}

// This process's environment with some variables set anew, as the block CreateProcess takes: each
// variable ended by a null character, and the whole by one more. Names are the same in any case.
std::wstring environmentWith(const std::map<std::string, std::string>& changes)
{
    std::map<std::wstring, std::wstring> variables;
    const LPWCH block = GetEnvironmentStringsW();
    for (const wchar_t* entry = block; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
        const std::wstring variable = entry;
        // Entries such as "=C:=C:\" keep the current folder of each drive.
        const std::size_t equals = variable.find(L'=', 1);
        variables[upper(variable.substr(0, equals))] = variable;
    }
    FreeEnvironmentStringsW(block);
    for (const auto& [name, value] : changes) {
        variables[upper(wide(name))] = wide(name + "=" + value);
    }
    std::wstring text;
    for (const auto& [name, variable] : variables) {
        text += variable;
        text += L'\0';
    }
    return text + L'\0';
}

HANDLE inheritableFile(const std::filesystem::path& path)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

struct ChildProcess::Process
{
    HANDLE handle = nullptr;
};

long ChildProcess::ownProcessId()
{
    return static_cast<long>(GetCurrentProcessId());
}

// Standard output and error go to files, not pipes, so that a program that prints much never waits
// on a reader.
ChildProcess::ChildProcess(const Command& command)
    : m_process(std::make_unique<Process>()), m_output(command.output.value_or(captureFile("out"))),
      m_errors(captureFile("err")), m_readOutput(!command.output)
{
    std::wstring commandLine = quoted(command.program.wstring());
    for (const std::string& argument : command.arguments) {
        commandLine += L" " + quoted(wide(argument));
    }
    std::wstring environment = environmentWith(command.environment);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = inheritableFile(m_output);
    startup.hStdError = inheritableFile(m_errors);
    PROCESS_INFORMATION process{};
    if (CreateProcessW(command.program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                       CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT, environment.data(),
                       command.workingFolder.empty() ? nullptr : command.workingFolder.c_str(),
                       &startup, &process)) {
        CloseHandle(process.hThread);
        m_process->handle = process.hProcess;
    }
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
}

ChildProcess::~ChildProcess()
{
    kill();
    wait();
}

bool ChildProcess::started() const
{
    return m_process->handle != nullptr;
}

bool ChildProcess::running()
{
    return started() && WaitForSingleObject(m_process->handle, 0) == WAIT_TIMEOUT;
}

void ChildProcess::kill()
{
    if (running()) {
        TerminateProcess(m_process->handle, 1);
    }
}

ProgramRun ChildProcess::wait()
{
    if (!m_ended) {
        int status = -1;
        if (started()) {
            WaitForSingleObject(m_process->handle, INFINITE);
            DWORD code = 0;
            if (GetExitCodeProcess(m_process->handle, &code)) {
                status = static_cast<int>(code);
            }
            CloseHandle(m_process->handle);
            m_process->handle = nullptr;
        }
        m_ended = collect(status, 0);
    }
    return *m_ended;
}

} // namespace zarn::testing
