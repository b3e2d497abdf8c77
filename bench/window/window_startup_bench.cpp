// Starts a program that shows a window and measures the time from its start to the window's first
// paint, and its peak memory. zarn's window is measured beside the smallest Qt Widgets window.

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct Launch
{
    double secondsToFirstPaint;
    long peakMemoryKiB;
};

Launch launch(const char* program, const char* argument)
{
    int output[2];
    if (pipe(output) != 0) {
        throw std::runtime_error("cannot make a pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    char* const arguments[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};

    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program, &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (spawned != 0) {
        close(output[0]);
        throw std::runtime_error(std::string("cannot start ") + program);
    }

    std::string printed;
    char buffer[64];
    for (ssize_t got; (got = read(output[0], buffer, sizeof buffer)) > 0;) {
        printed.append(buffer, static_cast<std::size_t>(got));
    }
    close(output[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || printed.empty()) {
        throw std::runtime_error(std::string(program) + " did not report its first paint");
    }

    const std::chrono::steady_clock::time_point painted{
        std::chrono::nanoseconds(std::stoll(printed))};
    return {std::chrono::duration<double>(painted - start).count(), usage.ru_maxrss};
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
