#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zarn::testing {

// What a program left when it ended: its exit status and what it printed, with Windows' CR LF line
// ends as line feeds.
struct ProgramRun
{
    int status = -1;
    std::string out;
    std::string err;
};

// Runs `program` with `arguments`, given in UTF-8, in `workingFolder`, and waits for it to end.
// Its standard output goes to `output` where given, and is then not read back.
ProgramRun runProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments,
                      const std::filesystem::path& workingFolder,
                      const std::optional<std::filesystem::path>& output = std::nullopt);

#ifdef _WIN32
// Runs `program` as cmd does a command line of it followed by `arguments`, in UTF-8, which go to
// the program as they stand: cmd hands them on unsplit.
ProgramRun runCommandLine(const std::filesystem::path& program, const std::string& arguments,
                          const std::filesystem::path& workingFolder);
#endif

} // namespace zarn::testing
