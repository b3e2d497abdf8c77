// Kills the real program with SIGKILL at random moments of its transfers, many times over, and
// checks after every kill that no file was lost or half written, and that a run after the kill
// leaves the folder as an undisturbed run does. The program runs under Xvfb with a library
// preloaded that slows its file operations, and is driven with xdotool as a person would.
#include "child_process.h"
#include "transfer_fixture.h"
#include "zarn/form/layout.h"

#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <random>
#include <thread>
#include <unistd.h>

namespace zarn::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Files = std::map<std::string, std::string>;

const std::string temporarySuffix = ".zarn-tmp";

std::string readAll(int fd)
{
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
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
        s_xvfb = std::make_unique<ChildProcess>(
            Command{ZARN_XVFB,
                    {"-displayfd", std::to_string(channel[1]), "-screen", "0", "640x480x24",
                     "-nolisten", "tcp"}});
        ::close(channel[1]);
        std::string number = readAll(channel[0]);
        ::close(channel[0]);
        ASSERT_TRUE(s_xvfb->started());
        ASSERT_FALSE(number.empty()) << "Xvfb did not start";
        number.erase(number.find_last_not_of("\n") + 1);
        s_display = ":" + number;
    }

    static void TearDownTestSuite() { s_xvfb.reset(); }

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
    // down over the button of the transfer.
    std::unique_ptr<ChildProcess> startTransfer(Transfer transfer)
    {
        auto program = std::make_unique<ChildProcess>(
            Command{folder / "zarn",
                    {},
                    {},
                    {{"DISPLAY", s_display},
                     {"LD_PRELOAD", ZARN_SLOW_FILE_OPERATIONS},
                     // A sanitized program wants its runtime first, yet the preloaded library
                     // comes before it; leaks are for the window tests to find, not for a
                     // program killed here.
                     {"ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0"}}});
        EXPECT_TRUE(program->started());
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

    // Runs xdotool and returns what it printed, or nothing where it failed.
    static std::optional<std::string> xdotool(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"60", ZARN_XDOTOOL});
        const ProgramRun run = runProgram({"timeout", arguments, {}, {{"DISPLAY", s_display}}});
        return run.status == 0 ? std::optional(run.out) : std::nullopt;
    }

    // Waits for the program to end by itself, and returns its exit status.
    static int waitForEnd(ChildProcess& program)
    {
        const Clock::time_point deadline = Clock::now() + 60s;
        while (program.running()) {
            if (Clock::now() > deadline) {
                program.kill();
                ADD_FAILURE() << "the program did not end after its transfer";
                break;
            }
            std::this_thread::sleep_for(1ms);
        }
        return program.wait().status;
    }

    // Runs the transfer without a kill, and returns how long it took from the release of the
    // mouse button to the end.
    Clock::duration runToTheEnd(Transfer transfer)
    {
        const std::unique_ptr<ChildProcess> program = startTransfer(transfer);
        const Clock::time_point released = release();
        EXPECT_EQ(waitForEnd(*program), 0);
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
            const std::unique_ptr<ChildProcess> program = startTransfer(transfer);
            std::this_thread::sleep_until(release() + std::chrono::microseconds(moment(random)));
            program->kill();
            const bool wasKilled = program->wait().status == -1;
            const Files killed = files();
            SCOPED_TRACE("kill " + std::to_string(kill));
            ++tally[checkAfterKill(before, after, killed, wasKilled)];

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

    static std::unique_ptr<ChildProcess> s_xvfb;
    static std::string s_display;
};

std::unique_ptr<ChildProcess> KillTest::s_xvfb;
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
