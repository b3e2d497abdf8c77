// Times the export and the import of a standard table in a 2 MB executable, each beside a floor
// that moves the same bytes with the same durability but parses and checks nothing; and the import
// of slot files padded after their 841 items, to show that its time grows linearly with the file
// and its memory does not.

#include "zarn/editor_state.h"
#include "zarn/message_presenter.h"
#include "zarn/transfer.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t executableLength = 2167611;
constexpr std::size_t regionOffset = 1883344;

class SilentPresenter : public zarn::MessagePresenter
{
public:
    void showMessage(const std::string& text) override
    {
        throw std::runtime_error("unexpected message: " + text);
    }
};

// A standard table: 180 lists holding 466 unit numbers.
std::vector<std::vector<std::int16_t>> standardLists()
{
    std::vector<std::vector<std::int16_t>> lists(180);
    int next = 1;
    for (std::size_t list = 0; list < lists.size(); ++list) {
        const std::size_t count = list < 106 ? 3 : 2;
        for (std::size_t i = 0; i < count; ++i) {
            lists[list].push_back(static_cast<std::int16_t>(next++ * 71 % 32000 + 1));
        }
    }
    return lists;
}

std::string regionOf(const std::vector<std::vector<std::int16_t>>& lists)
{
    std::string region;
    for (const auto& list : lists) {
        for (const std::int16_t entry : list) {
            region += static_cast<char>(entry & 0xFF);
            region += static_cast<char>((entry >> 8) & 0xFF);
        }
        region += "\xFF\xFF";
    }
    return region;
}

std::string slotFileOf(const std::vector<std::vector<std::int16_t>>& lists)
{
    std::string text;
    for (int country = 0; country < 15; ++country) {
        text += "\"Country\"\r\n";
        for (int unitClass = 0; unitClass < 12; ++unitClass) {
            text += "\"Class\"\r\n";
            for (const std::int16_t entry : lists[country * 12 + unitClass]) {
                text += std::to_string(entry) + "\r\n";
            }
            text += "-1\r\n";
        }
    }
    return text;
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string standardExecutable()
{
    std::string bytes(executableLength, '\0');
    std::minstd_rand random(7);
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    const std::string region = regionOf(standardLists());
    bytes.replace(regionOffset, region.size(), region);
    return bytes;
}

// A program folder holding a standard Allied General executable, removed afterwards.
class ProgramFolder
{
public:
    ProgramFolder()
        : m_path(fs::temp_directory_path() / ("zarn-bench-" + std::to_string(::getpid())))
    {
        fs::create_directories(m_path);
        writeFile(m_path / "ag.exe", standardExecutable());
    }
    ~ProgramFolder() { fs::remove_all(m_path); }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

zarn::EditorState alliedGeneral()
{
    zarn::EditorState state;
    state.chosenGame = zarn::Game::AlliedGeneral;
    return state;
}

double peakMegabytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Writes `bytes` to a new file beside `target`, flushes it and renames it over `target`.
void replaceDurably(const fs::path& target, const std::string& bytes)
{
    const fs::path temporary = target.string() + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::fsync(fd) != 0 || ::close(fd) != 0 ||
        std::rename(temporary.c_str(), target.c_str()) != 0) {
        throw std::runtime_error("floor write failed");
    }
    const int folder = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
    ::fsync(folder);
    ::close(folder);
}

void exportTable(benchmark::State& state)
{
    const ProgramFolder folder;
    SilentPresenter messages;
    for (auto _ : state) {
        zarn::EditorState editor = alliedGeneral();
        if (zarn::exportSlots(editor, folder.path(), messages).end !=
            zarn::TransferEnd::Succeeded) {
            state.SkipWithError("export failed");
        }
    }
}

// Reads the 1292 bytes of the region and writes the same 841 lines, with the same durability.
void exportFloor(benchmark::State& state)
{
    const ProgramFolder folder;
    const std::string lines = slotFileOf(standardLists());
    for (auto _ : state) {
        std::ifstream executable(folder.path() / "ag.exe", std::ios::binary);
        std::string region(1292, '\0');
        executable.seekg(regionOffset);
        executable.read(region.data(), static_cast<std::streamsize>(region.size()));
        benchmark::DoNotOptimize(region);
        replaceDurably(folder.path() / "p_slots.txt", lines);
    }
}

// Imports two slot files in turn, each differing from the other in one entry, so that every
// import changes the executable. The safety copy is made in the first round only.
void importTable(benchmark::State& state)
{
    const ProgramFolder folder;
    SilentPresenter messages;
    auto lists = standardLists();
    const std::string first = slotFileOf(lists);
    lists[0][0] = 999;
    const std::string second = slotFileOf(lists);
    bool useFirst = false;
    for (auto _ : state) {
        state.PauseTiming();
        writeFile(folder.path() / "p_slots.txt", useFirst ? first : second);
        useFirst = !useFirst;
        state.ResumeTiming();
        zarn::EditorState editor = alliedGeneral();
        if (zarn::importSlots(editor, folder.path(), messages).end !=
            zarn::TransferEnd::Succeeded) {
            state.SkipWithError("import failed");
        }
    }
}

// Writes a copy of the executable with the 1292 ready-made bytes laid over its region, with the
// same durability as the import.
void importFloor(benchmark::State& state)
{
    const ProgramFolder folder;
    const std::string region = regionOf(standardLists());
    for (auto _ : state) {
        std::ifstream in(folder.path() / "ag.exe", std::ios::binary);
        std::string bytes(executableLength, '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.replace(regionOffset, region.size(), region);
        replaceDurably(folder.path() / "ag.exe", bytes);
    }
}

// Imports a slot file padded to state.range(0) megabytes with lines of text after its items.
void importPadded(benchmark::State& state)
{
    const ProgramFolder folder;
    SilentPresenter messages;
    {
        std::ofstream file(folder.path() / "p_slots.txt", std::ios::binary);
        file << slotFileOf(standardLists());
        const std::string junk = std::string(62, 'x') + "\r\n";
        const auto target = static_cast<std::size_t>(state.range(0)) * 1024 * 1024;
        for (std::size_t written = 0; written < target; written += junk.size()) {
            file << junk;
        }
    }
    const double peakBefore = peakMegabytes();
    for (auto _ : state) {
        zarn::EditorState editor = alliedGeneral();
        if (zarn::importSlots(editor, folder.path(), messages).end !=
            zarn::TransferEnd::Succeeded) {
            state.SkipWithError("import failed");
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0) * 1024 *
                            1024);
    state.counters["peak_MB"] = peakMegabytes();
    state.counters["peak_growth_MB"] = peakMegabytes() - peakBefore;
}

} // namespace

BENCHMARK(exportTable)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(exportFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(importTable)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(importFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(importPadded)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();
