#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// How the tests and the benchmarks start other programs, and run code in a process of its own.
namespace zarn::testing {

// A program to start: its path (on POSIX systems also a name found on the PATH) and its arguments
// in UTF-8, the folder it starts in (this process's where empty), variables set anew in its
// environment, and a file that takes its standard output instead of having it read back.
struct Command
{
    std::filesystem::path program;
    std::vector<std::string> arguments = {};
    std::filesystem::path workingFolder = {};
    std::map<std::string, std::string> environment = {};
    std::optional<std::filesystem::path> output = {};
};

// What a program left when it ended: its exit status (-1 where it was killed or never started),
// what it printed, with Windows' CR LF line ends as line feeds, and on POSIX systems the most
// memory it held.
struct ProgramRun
{
    int status = -1;
    std::string out;
    std::string err;
    long peakMemoryKiB = 0;
};

// A program running beside the test, ended when this object ends where it still runs.
class ChildProcess
{
public:
    explicit ChildProcess(const Command& command);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const;
    // Whether it still runs; false once it has ended, or was never started.
    bool running();
    // Ends it at once, without a chance to tidy up, as a power cut would.
    void kill();
    // Waits for it to end, and returns what it left.
    ProgramRun wait();

private:
    struct Process; // the system's own handle on it
    static long ownProcessId();
    static std::filesystem::path captureFile(const char* stream);
    ProgramRun collect(int status, long peakMemoryKiB);

    std::unique_ptr<Process> m_process;
    std::filesystem::path m_output;
    std::filesystem::path m_errors;
    bool m_readOutput;
    std::optional<ProgramRun> m_ended;
};

// Runs a program to its end.
ProgramRun runProgram(const Command& command);

// Runs `body` in a child process and returns the text it returns there, or how the child died
// ("killed by signal 24", "exited with 1"). The child ends with _exit, so that nothing of the
// test program runs in it but `body`. POSIX systems only.
std::string inChildProcess(const std::function<std::string()>& body);

} // namespace zarn::testing
