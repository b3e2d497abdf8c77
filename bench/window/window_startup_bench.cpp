// Starts a program that shows a window and measures the time from its start to the window's first
// paint, and its peak memory. zarn's window is measured beside the smallest Qt Widgets window.

#include "child_process.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

struct Launch
{
    double secondsToFirstPaint;
    long peakMemoryKiB;
};

Launch launch(const char* program, const char* argument)
{
    const auto start = std::chrono::steady_clock::now();
    const zarn::testing::ProgramRun run = zarn::testing::runProgram(
        {program, argument ? std::vector<std::string>{argument} : std::vector<std::string>{}});
    if (run.status != 0 || run.out.empty()) {
        throw std::runtime_error(std::string(program) + " did not report its first paint");
    }

    const std::chrono::steady_clock::time_point painted{
        std::chrono::nanoseconds(std::stoll(run.out))};
    return {std::chrono::duration<double>(painted - start).count(), run.peakMemoryKiB};
}

void firstShow(benchmark::State& state, const char* program, const char* argument)
{
    long peakMemoryKiB = 0;
    for (auto _ : state) {
        const Launch launched = launch(program, argument);
        state.SetIterationTime(launched.secondsToFirstPaint);
        peakMemoryKiB = std::max(peakMemoryKiB, launched.peakMemoryKiB);
    }
    state.counters["peak_memory_KiB"] = static_cast<double>(peakMemoryKiB);
}

BENCHMARK_CAPTURE(firstShow, zarn, ZARN_FIRST_SHOW, nullptr)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(firstShow, floor_empty_window, MINIMAL_FIRST_SHOW, nullptr)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(firstShow, floor_window_with_text, MINIMAL_FIRST_SHOW, "text")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    // Both windows are shown headless, so that the figures do not depend on a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
