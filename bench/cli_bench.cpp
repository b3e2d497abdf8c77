// Times zarn-cli's export and import as whole processes, as a script starts them, side by side
// with a floor: dd moving the same bytes to the same disk with a flush, parsing and checking
// nothing. The two run in turn in every iteration, so that a disk that others share slows both
// alike; the counters give each one's time and their ratio, what the console program costs beyond
// its I/O.

#include "child_process.h"
#include "folder_files.h"
#include "synthetic_game.h"
#include "zarn/editor_state.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace zarn::testing;
using CommandLine = std::vector<std::string>;

// Runs a command found on the PATH, or by its path, with its output discarded, and waits for it.
// Returns how long that took in seconds, or nothing when it did not end with status 0.
std::optional<double> timedRun(const CommandLine& command)
{
    const auto start = std::chrono::steady_clock::now();
    const ProgramRun run = runProgram(
        {command.front(), CommandLine(command.begin() + 1, command.end()), {}, {}, "/dev/null"});
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return run.status == 0 ? std::optional<double>(took.count()) : std::nullopt;
}

// A game folder holding a standard Allied General executable, removed afterwards.
class GameFolder
{
public:
    GameFolder()
        : m_path(fs::temp_directory_path() / ("zarn-cli-bench-" + std::to_string(::getpid())))
    {
        fs::create_directories(m_path);
        writeWholeFile(m_path / "ag.exe",
                       executableWith(zarn::alliedGeneralLength, alliedGeneralOffset,
                                      regionOf(standardLists())));
    }
    ~GameFolder() { fs::remove_all(m_path); }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }
    std::string path() const { return m_path.string(); }

private:
    fs::path m_path;
};

// Runs zarn-cli and its two floors in turn, `prepare` untimed before each iteration, and reports
// their mean times and the ratio of zarn-cli's to each floor's.
void besideFloors(benchmark::State& state, const CommandLine& cli, const CommandLine& dd,
                  const CommandLine& durableCopy, const std::function<void()>& prepare)
{
    const CommandLine* const commands[] = {&cli, &dd, &durableCopy};
    double seconds[3] = {};
    for (auto _ : state) {
        prepare();
        double iteration = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            const std::optional<double> took = timedRun(*commands[i]);
            if (!took) {
                state.SkipWithError("a command failed");
                return;
            }
            seconds[i] += *took;
            iteration += *took;
        }
        state.SetIterationTime(iteration);
    }
    const double runs =
        static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["zarn_cli_ms"] = 1000 * seconds[0] / runs;
    state.counters["dd_ms"] = 1000 * seconds[1] / runs;
    state.counters["durable_copy_ms"] = 1000 * seconds[2] / runs;
    state.counters["ratio_to_dd"] = seconds[0] / seconds[1];
    state.counters["ratio_to_durable_copy"] = seconds[0] / seconds[2];
}

// The export, beside dd and the durable copy writing the 841 lines that the export writes.
void exportBesideFloors(benchmark::State& state)
{
    const GameFolder folder;
    writeWholeFile(folder / "exported.txt", slotFileOf(standardLists()));
    besideFloors(state, {ZARN_CLI_PROGRAM, "export", folder.path()},
                 {"dd", "if=" + (folder / "exported.txt"), "of=" + (folder / "dd-slots.txt"),
                  "conv=fsync", "status=none"},
                 {ZARN_DURABLE_COPY, folder / "exported.txt", folder / "copied-slots.txt"}, [] {});
}

// The import of two slot files in turn, each differing from the other in one entry, so that
// every import writes the executable (the safety copy is made in the first round only), beside dd
// and the durable copy writing the executable that the import writes.
void importBesideFloors(benchmark::State& state)
{
    const GameFolder folder;
    SlotLists edited = standardLists();
    edited[1][0] = 513;
    const std::string files[] = {slotFileOf(standardLists()), slotFileOf(edited)};
    const std::string imported =
        executableWith(zarn::alliedGeneralLength, alliedGeneralOffset, regionOf(edited));
    writeWholeFile(folder / "imported.exe", imported);
    writeWholeFile(folder / "copied.exe", imported);
    std::size_t next = 1;
    besideFloors(state, {ZARN_CLI_PROGRAM, "import", folder.path()},
                 {"dd", "if=" + (folder / "imported.exe"), "of=" + (folder / "dd.exe"), "bs=1M",
                  "conv=fsync", "status=none"},
                 {ZARN_DURABLE_COPY, folder / "imported.exe", folder / "copied.exe"}, [&] {
                     writeWholeFile(folder / "p_slots.txt", files[next]);
                     next = 1 - next;
                 });
}

} // namespace

BENCHMARK(exportBesideFloors)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(importBesideFloors)->Unit(benchmark::kMillisecond)->UseManualTime();
