#include "child_process.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zarn::testing {
namespace {

// This process's environment with some variables set anew.
std::vector<std::string> environmentWith(const std::map<std::string, std::string>& changes)
{
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        if (!changes.contains(variable.substr(0, variable.find('=')))) {
            variables.push_back(variable);
        }
    }
    for (const auto& [name, value] : changes) {
        variables.push_back(name + "=" + value);
    }
    return variables;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

struct ChildProcess::Process
{
    pid_t pid = -1;
    int waitStatus = 0;
    rusage usage{};
    bool ended = false;

    // Collects the program's end where it has ended, waiting for it where `block`.
    void reap(bool block)
    {
        if (pid > 0 && !ended) {
            ended = ::wait4(pid, &waitStatus, block ? 0 : WNOHANG, &usage) == pid;
        }
    }
};

long ChildProcess::ownProcessId()
{
    return ::getpid();
}

// Standard output and error go to files, not pipes, so that a program that prints much never waits
// on a reader. File descriptors without FD_CLOEXEC pass to the program, as a shell passes them.
ChildProcess::ChildProcess(const Command& command)
    : m_process(std::make_unique<Process>()), m_output(command.output.value_or(captureFile("out"))),
      m_errors(captureFile("err")), m_readOutput(!command.output)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, m_output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, m_errors.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!command.workingFolder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, command.workingFolder.c_str());
    }
    std::vector<std::string> arguments{command.program.string()};
    arguments.insert(arguments.end(), command.arguments.begin(), command.arguments.end());
    std::vector<std::string> environment = environmentWith(command.environment);
    if (::posix_spawnp(&m_process->pid, command.program.c_str(), &actions, nullptr,
                       pointersTo(arguments).data(), pointersTo(environment).data()) != 0) {
        m_process->pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess()
{
    if (running()) {
        // A polite end, so that a display server removes its lock and socket.
        ::kill(m_process->pid, SIGTERM);
    }
    wait();
}

bool ChildProcess::started() const
{
    return m_process->pid > 0;
}

bool ChildProcess::running()
{
    m_process->reap(false);
    return started() && !m_process->ended;
}

void ChildProcess::kill()
{
    if (running()) {
        ::kill(m_process->pid, SIGKILL);
    }
}

ProgramRun ChildProcess::wait()
{
    if (!m_ended) {
        m_process->reap(true);
        const int status = m_process->ended && WIFEXITED(m_process->waitStatus)
                               ? WEXITSTATUS(m_process->waitStatus)
                               : -1;
        m_ended = collect(status, m_process->usage.ru_maxrss);
    }
    return *m_ended;
}

std::string inChildProcess(const std::function<std::string()>& body)
{
    int channel[2];
    if (::pipe(channel) != 0) {
        return "no pipe for the child";
    }
    const pid_t child = ::fork();
    if (child < 0) {
        return "no child process";
    }
    if (child == 0) {
        ::close(channel[0]);
        const std::string text = body();
        const bool sent =
            ::write(channel[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFSIGNALED(status)) {
        return "killed by signal " + std::to_string(WTERMSIG(status));
    }
    if (WEXITSTATUS(status) != 0) {
        return "exited with " + std::to_string(WEXITSTATUS(status));
    }
    return text;
}

} // namespace zarn::testing
