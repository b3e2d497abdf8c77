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

} // namespace zarn::testing
