#include "child_process.h"

#include "folder_files.h"

namespace zarn::testing {

std::filesystem::path ChildProcess::captureFile(const char* stream)
{
    static int count = 0;
    return std::filesystem::temp_directory_path() /
           ("zarn-child-" + std::to_string(ownProcessId()) + "-" + std::to_string(++count) + "." +
            stream);
}

ProgramRun ChildProcess::collect(int status, long peakMemoryKiB)
{
    ProgramRun run{status, "", "", peakMemoryKiB};
    if (m_readOutput) {
        run.out = readWholeFile(m_output);
        std::filesystem::remove(m_output);
    }
    run.err = readWholeFile(m_errors);
    std::filesystem::remove(m_errors);
    for (std::string* text : {&run.out, &run.err}) {
        for (auto at = text->find("\r\n"); at != std::string::npos; at = text->find("\r\n", at)) {
            text->erase(at, 1);
        }
    }
    return run;
}

ProgramRun runProgram(const Command& command)
{
    return ChildProcess(command).wait();
}

} // namespace zarn::testing
