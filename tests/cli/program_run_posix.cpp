#include "folder_files.h"
#include "program_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zarn::testing {

ProgramRun runProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments,
                      const std::filesystem::path& workingFolder,
                      const std::optional<std::filesystem::path>& output)
{
    const std::filesystem::path capture =
        std::filesystem::temp_directory_path() / ("zarn-cli-test-" + std::to_string(::getpid()));
    const std::filesystem::path out = output.value_or(capture.string() + ".out");
    const std::filesystem::path err = capture.string() + ".err";
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        const int outFile = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFile = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (outFile < 0 || errFile < 0 || ::dup2(outFile, 1) < 0 || ::dup2(errFile, 2) < 0 ||
            ::chdir(workingFolder.c_str()) != 0) {
            ::_exit(126);
        }
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ProgramRun run;
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        run.status = WEXITSTATUS(status);
    }
    if (!output) {
        run.out = readWholeFile(out);
        std::filesystem::remove(out);
    }
    run.err = readWholeFile(err);
    std::filesystem::remove(err);
    return run;
}

} // namespace zarn::testing
