// Kills the real program with SIGKILL at random moments of its transfers, many times over, and
// checks after every kill that no file was lost or half written, and that a run after the kill
// leaves the folder as an undisturbed run does. The program runs under Xvfb with a library
// preloaded that slows its file operations, and is driven with xdotool as a person would.
#include "transfer_fixture.h"
#include "zarn/form/layout.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace zarn::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Files = std::map<std::string, std::string>;

const std::string temporarySuffix = ".zarn-tmp";

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

// Starts a program with the given arguments and environment; its standard output goes to
// `output` where that is not -1. Returns its process id.
pid_t start(std::vector<std::string> arguments, std::vector<std::string> environment,
            int output = -1)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output >= 0) {
        posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    }
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, arguments[0].c_str(), &actions, nullptr,
                                   pointersTo(arguments).data(), pointersTo(environment).data());
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

std::string readAll(int fd)
{
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

// Runs a program to its end and returns its standard output, or nothing if it failed.
std::optional<std::string> outputOf(std::vector<std::string> arguments,
                                    std::vector<std::string> environment)
{
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    const pid_t pid = start(std::move(arguments), std::move(environment), channel[1]);
    ::close(channel[1]);
    const std::string output = readAll(channel[0]);
    ::close(channel[0]);
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return output;
}

// A pattern that matches the whole of a text without special characters.
std::string exactly(std::string_view text)
{
    std::string pattern = "^";
    pattern += text;
    pattern += '$';
    return pattern;
}

// The centre of a control of the window, in the window's own pixels.
std::pair<int, int> centreOf(form::ControlId id)
{
    const form::Control& control = form::control(id);
    return {control.left + control.width / 2, control.top + control.height / 2};
}

enum class Transfer
{
    Export,
    Import,
};

class KillTest : public TransferTest
{
protected:
    static void SetUpTestSuite()
    {
        int channel[2];
        ASSERT_EQ(::pipe(channel), 0);
        ::fcntl(channel[0], F_SETFD, FD_CLOEXEC);
        s_xvfb = start({ZARN_XVFB, "-displayfd", std::to_string(channel[1]), "-screen", "0",
                        "640x480x24", "-nolisten", "tcp"},
                       environmentWith({}));
        ::close(channel[1]);
        std::string number = readAll(channel[0]);
        ::close(channel[0]);
        ASSERT_GT(s_xvfb, 0);
        ASSERT_FALSE(number.empty()) << "Xvfb did not start";
        number.erase(number.find_last_not_of("\n") + 1);
        s_display = ":" + number;
    }

    static void TearDownTestSuite()
    {
        if (s_xvfb > 0) {
            ::kill(s_xvfb, SIGTERM);
            ::waitpid(s_xvfb, nullptr, 0);
        }
    }

    void SetUp() override
    {
        std::filesystem::copy_file(ZARN_PROGRAM, folder / "zarn");
        writeAlliedGeneral();
        choose(Game::AlliedGeneral);
    }

    // The files of the program folder but the program, and what they hold.
    Files files() const
    {
        Files files;
        for (const std::string& name : fileNames()) {
            if (name != "zarn") {
                files[name] = readFile(name);
            }
        }
        return files;
    }

    void restore(const Files& files) const
    {
        for (const std::string& name : fileNames()) {
            if (name != "zarn") {
                std::filesystem::remove(folder / name);
            }
        }
        for (const auto& [name, bytes] : files) {
            writeFile(name, bytes);
        }
    }

    // Starts the program, waits for its window, chooses Allied General and holds the mouse button
    // down over the button of the transfer. Returns the program's process id.
    pid_t startTransfer(Transfer transfer)
    {
        std::vector<std::string> environment = environmentWith(
            {{"DISPLAY", s_display},
             {"LD_PRELOAD", ZARN_SLOW_FILE_OPERATIONS},
             // A sanitized program wants its runtime first, yet the preloaded library comes
             // before it; leaks are for the window tests to find, not for a program killed here.
             {"ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0"}});
        const pid_t program = start({(folder / "zarn").string()}, environment);
        EXPECT_GT(program, 0);
        const std::optional<std::string> window =
            xdotool({"search", "--sync", "--onlyvisible", "--name", exactly(form::caption)});
        EXPECT_TRUE(window) << "the window did not open";
        const std::string id = window ? window->substr(0, window->find('\n')) : "";
        const auto [gameX, gameY] = centreOf(form::ControlId::AlliedGeneralLink);
        const auto [buttonX, buttonY] =
            centreOf(transfer == Transfer::Export ? form::ControlId::ExportButton
                                                  : form::ControlId::ImportButton);
        EXPECT_TRUE(xdotool({"mousemove", "--window", id, std::to_string(gameX),
                             std::to_string(gameY), "click", "1", "mousemove", "--window", id,
                             std::to_string(buttonX), std::to_string(buttonY), "mousedown", "1"}))
            << "xdotool could not click";
        return program;
    }

    // Lets the mouse button go, which starts the transfer, and returns the moment it did.
    static Clock::time_point release()
    {
        const Clock::time_point released = Clock::now();
        EXPECT_TRUE(xdotool({"mouseup", "1"}));
        return released;
    }

    static std::optional<std::string> xdotool(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"timeout", "60", ZARN_XDOTOOL});
        return outputOf(std::move(arguments), environmentWith({{"DISPLAY", s_display}}));
    }

    // Waits for the program to end by itself, and returns its wait status.
    static int waitForEnd(pid_t program)
    {
        const Clock::time_point deadline = Clock::now() + 60s;
        int status = 0;
        while (::waitpid(program, &status, WNOHANG) == 0) {
            if (Clock::now() > deadline) {
                ::kill(program, SIGKILL);
                ::waitpid(program, &status, 0);
                ADD_FAILURE() << "the program did not end after its transfer";
                break;
            }
            std::this_thread::sleep_for(1ms);
        }
        return status;
    }

    // Runs the transfer without a kill, and returns how long it took from the release of the
    // mouse button to the end.
    Clock::duration runToTheEnd(Transfer transfer)
    {
        const pid_t program = startTransfer(transfer);
        const Clock::time_point released = release();
        const int status = waitForEnd(program);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        return Clock::now() - released;
    }

    void killAtRandomMoments(Transfer transfer, int kills)
    {
        const Files before = files();
        const Clock::duration duration = runToTheEnd(transfer);
        const Files after = files();
        ASSERT_TRUE(after != before) << "the transfer changed nothing";

        std::mt19937 random(std::random_device{}());
        std::uniform_int_distribution<long> moment(
            0, std::chrono::duration_cast<std::chrono::microseconds>(duration).count());
        std::map<std::string, int> tally;
        for (int kill = 1; kill <= kills; ++kill) {
            restore(before);
            const pid_t program = startTransfer(transfer);
            std::this_thread::sleep_until(release() + std::chrono::microseconds(moment(random)));
            ::kill(program, SIGKILL);
            int status = 0;
            ::waitpid(program, &status, 0);
            const Files killed = files();
            SCOPED_TRACE("kill " + std::to_string(kill));
            ++tally[checkAfterKill(before, after, killed, WIFSIGNALED(status))];

            // Whatever the kill left, the next run finishes the job and sweeps up.
            if (killed != after) {
                runToTheEnd(transfer);
                EXPECT_TRUE(files() == after) << "a run after the kill did not recover";
            }
        }
        std::cout << "  " << kills << " kills within the first "
                  << std::chrono::duration_cast<std::chrono::milliseconds>(duration).count()
                  << " ms after the button was let go:";
        for (const auto& [what, count] : tally) {
            std::cout << " " << what << " " << count << ";";
        }
        std::cout << "\n";
    }

    // Checks that every file is its old or its new self, apart from temporary files, and tells
    // what the kill caught.
    static std::string checkAfterKill(const Files& before, const Files& after, const Files& killed,
                                      bool wasKilled)
    {
        bool changed = false;
        bool temporary = false;
        for (const auto& [name, bytes] : before) {
            EXPECT_TRUE(killed.contains(name)) << name << " was lost";
        }
        for (const auto& [name, bytes] : killed) {
            if (name.ends_with(temporarySuffix)) {
                temporary = true;
                continue;
            }
            const bool old = before.contains(name) && before.at(name) == bytes;
            const bool renewed = after.contains(name) && after.at(name) == bytes;
            EXPECT_TRUE(old || renewed) << name << " is neither its old nor its new self";
            changed = changed || !old;
        }
        if (!wasKilled) {
            EXPECT_TRUE(killed == after) << "the program ended without finishing";
            return "ended before the kill";
        }
        if (temporary) {
            return changed ? "killed midway, temporary files left"
                           : "killed before any change, "
                             "temporary files left";
        }
        if (killed == after) {
            return "killed after the transfer";
        }
        return changed ? "killed midway" : "killed before any change";
    }

    static pid_t s_xvfb;
    static std::string s_display;
};

pid_t KillTest::s_xvfb = -1;
std::string KillTest::s_display;

constexpr int killsPerTransfer = 25;

TEST_F(KillTest, ExportKeepsTheOldSlotFileOrWritesAWholeNewOne)
{
    writeFile("p_slots.txt", "\"my own edits\"\r\n1\r\n");
    killAtRandomMoments(Transfer::Export, killsPerTransfer);
}

TEST_F(KillTest, ImportKeepsTheOldExecutableOrWritesAWholeNewOne)
{
    writeFile("p_slots.txt", slotFileOf(editedLists()));
    killAtRandomMoments(Transfer::Import, killsPerTransfer);
}

} // namespace
} // namespace zarn::testing
