#include "child_process.h"

#include <sys/wait.h>
#include <unistd.h>

namespace zarn::testing {

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
