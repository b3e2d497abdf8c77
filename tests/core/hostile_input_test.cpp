// Broken and hostile inputs: each gets a clear message or refusal, in bounded memory and time,
// and no file changes that should not.
#include "child_process.h"
#include "transfer_fixture.h"
#include "zarn/number_text.h"
#include "zarn/runtime_error.h"
#include "zarn/slot_file_check.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace zarn::testing {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool underAddressSanitizer = true;
#else
constexpr bool underAddressSanitizer = false;
#endif

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

std::string withoutLineEnds(std::string text)
{
    std::erase(text, '\r');
    std::erase(text, '\n');
    return text;
}

std::string repeated(const std::string& piece, std::size_t times)
{
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

class HostileInputTest : public TransferTest
{
protected:
    static constexpr std::int32_t address = 101;

    HostileInputTest()
    {
        edited = slotFileOf(editedLists());
        original = executableWith(address - 1 + 1292 + 300, address - 1, regionOf(standardLists()));
        imported = executableWith(original.size(), address - 1, regionOf(editedLists()));
    }

    enum class Transfer
    {
        Export,
        Import,
    };

    // How a transfer ended, with its messages, or its run-time error.
    std::string outcomeOf(Transfer transfer)
    {
        messages.shown.clear();
        try {
            std::string text;
            switch (transfer == Transfer::Export ? runExport() : runImport()) {
            case TransferEnd::StoppedEarly:
                text = "stopped early";
                break;
            case TransferEnd::Succeeded:
                text = "succeeded";
                break;
            case TransferEnd::Failed:
                text = "failed";
                break;
            }
            for (const std::string& message : messages.shown) {
                text += " | " + message;
            }
            return text;
        } catch (const RuntimeError& error) {
            return std::string("run-time error | ") + error.what();
        }
    }

    // A slot file with the first unit number of the standard table changed to 513.
    std::string edited;
    // pg.exe with the standard table at `address`, before and after importing `edited`.
    std::string original;
    std::string imported;
};

TEST_F(HostileInputTest, OddBytesAndLongLinesInASlotFileAreReadAsTheyStand)
{
    const std::string cases[] = {
        // NUL bytes inside a name, and after a number, which they end.
        replaced(replaced(edited, "\"Norway\"", std::string("\"Nor\0way\"", 9)), "\r\n513\r\n",
                 std::string("\r\n513\0\0\r\n", 9)),
        // Bytes above 127 in names and after a number.
        replaced(replaced(edited, "\"Italy\"", "\"Itali\xE9\xFF\x80\""), "\r\n513\r\n",
                 "\r\n513\xB5\xA0\r\n"),
        // A UTF-8 byte-order mark before the first name.
        "\xEF\xBB\xBF" + edited,
        // Lines of 100 000 characters: a name, and a number spread out by blanks.
        replaced(replaced(edited, "\"Tank\"", '"' + std::string(100000, 'T') + '"'), "\r\n513\r\n",
                 "\r\n5" + std::string(99998, ' ') + "13\r\n"),
        // Quotes left open end at the line end, commas and all.
        replaced(replaced(edited, "\"Poland\"", "\"Poland"), "\"Recon\"", "\"Recon, 5"),
    };
    for (const std::string& slotFile : cases) {
        SCOPED_TRACE(slotFile.substr(0, 60));
        writeFile("pg.exe", original);
        writeFile("p_slots.txt", slotFile);
        choose(Game::PanzerGeneral, address);

        EXPECT_EQ(outcomeOf(Transfer::Import), "succeeded");
        EXPECT_EQ(readFile("pg.exe"), imported);
        EXPECT_EQ(readFile("p_slots.txt"), slotFile);
    }
}

TEST_F(HostileInputTest, SlotFilesWithoutTheTableAreRefused)
{
    struct Case
    {
        const char* what;
        std::string slotFile;
        std::string outcome;
    };
    const std::string wrongCount = "failed | Error  !\rInput file contains  0 entries.\rThere must "
                                   "be exactly 646 unit entries !\rag.exe file NOT modified.";
    const auto tooShort = [this](const std::string& lines) {
        return "run-time error | " + (folder / "p_slots.txt").string() + " has only " + lines +
               " where 841 are needed: 15 country names, 180 class names and 646 entries.\rIt "
               "holds no entries at all: export the table again to start afresh.";
    };
    const Case cases[] = {
        {"a million commas before the first entry",
         replaced(edited, "\"Infantry\"\r\n", "\"Infantry\"\r\n" + std::string(1000000, ',')),
         wrongCount},
        {"only names", repeated("\"Norway\"\r\n", 841), wrongCount},
        {"only names, on one line", repeated("\"Norway\",", 2000), wrongCount},
        {"only blank lines", std::string(100, '\n'), tooShort("100 lines")},
        {"only blanks and tabs", std::string(5000, ' ') + "\t\t", tooShort("0 lines")},
        {"an unclosed quote that swallows the file", "\"" + withoutLineEnds(edited),
         tooShort("1 line")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile("pg.exe", original);
        writeFile("p_slots.txt", c.slotFile);
        choose(Game::PanzerGeneral, address);

        EXPECT_EQ(outcomeOf(Transfer::Import), c.outcome);
        EXPECT_EQ(readFile("pg.exe"), original);
        EXPECT_EQ(fileNames(), (std::vector<std::string>{"p_slots.txt", "pg.exe"}));
    }
}

TEST_F(HostileInputTest, BrokenExecutablesAreRefusedAndNothingIsCreated)
{
    struct Case
    {
        const char* what;
        const char* target;
        std::function<void()> make;
        std::string exportOutcome;
        std::string importOutcome;
    };
    // Stands for the message that the executable is missing, which names the folder of the case.
    const std::string missing = "missing";
    const std::string wrongLength = "failed | AG.EXE is the wrong file length\rSorry this "
                                    "program only works with ag.exe WITH autoscroll";
    // The case's own pg.exe stands in place of "{pg.exe}".
    const auto runsOffAt = [](std::size_t length, const char* list) {
        return "failed | {pg.exe} ends after " + std::to_string(length) +
               " bytes, inside the slot list for " + list + ", before a -1 closes it.";
    };
    const auto noRoomIn = [](std::size_t length) {
        return "failed | Error  !\rThe 646 entries from address 101 on would run past the end of "
               "pg.exe (" +
               std::to_string(length) + " bytes).\rpg.exe file NOT modified.";
    };
    // Stands for the refusal of something that is no file at the target's name, which names the
    // folder of the case: what is there, after where the link there leads, where one does.
    const auto noFile = [](const std::string& leadsTo, const std::string& what) {
        return "no file|" + leadsTo + "|" + what;
    };
    const std::filesystem::path elsewhere = folder / "elsewhere";
    const Case cases[] = {
        {"pg.exe of 0 bytes", "pg.exe", [this] { writeFile("pg.exe", ""); },
         runsOffAt(0, "Norway, Infantry"), noRoomIn(0)},
        {"pg.exe of 1 byte", "pg.exe", [this] { writeFile("pg.exe", "\xFF"); },
         runsOffAt(1, "Norway, Infantry"), noRoomIn(1)},
        {"pg.exe ending inside the table", "pg.exe",
         [this] { writeFile("pg.exe", original.substr(0, address - 1 + 1291)); },
         runsOffAt(1391, "Finland, Land Transport"), noRoomIn(1391)},
        {"ag.exe of 0 bytes", "ag.exe", [this] { writeFile("ag.exe", ""); }, wrongLength,
         wrongLength},
        {"ag.exe ending inside the table", "ag.exe",
         [this] {
             writeFile("ag.exe", executableWith(alliedGeneralLength, alliedGeneralOffset,
                                                regionOf(standardLists()))
                                     .substr(0, alliedGeneralOffset + 1291));
         },
         wrongLength, wrongLength},
        {"a folder named ag.exe", "ag.exe",
         [this] { std::filesystem::create_directory(folder / "ag.exe"); }, noFile("", "a folder"),
         noFile("", "a folder")},
        {"a link named ag.exe that leads nowhere", "ag.exe",
         [&] { std::filesystem::create_symlink(elsewhere, folder / "ag.exe"); }, missing, missing},
        {"a link named ag.exe that leads to a folder", "ag.exe",
         [&] {
             std::filesystem::create_directory(elsewhere);
             std::filesystem::create_directory_symlink(elsewhere, folder / "ag.exe");
         },
         noFile(elsewhere.string(), "a folder"), noFile(elsewhere.string(), "a folder")},
        {"a pipe named pg.exe", "pg.exe",
         [this] { ASSERT_EQ(::mkfifo((folder / "pg.exe").c_str(), 0644), 0); },
         noFile("", "a named pipe"), noFile("", "a named pipe")},
        {"a link named pg.exe that leads to a pipe", "pg.exe",
         [this] {
             ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0644), 0);
             std::filesystem::create_symlink(folder / "pipe", folder / "pg.exe");
         },
         noFile("{folder}/pipe", "a named pipe"), noFile("{folder}/pipe", "a named pipe")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        useNewFolder();
        c.make();
        writeFile("p_slots.txt", edited);
        const std::vector<std::string> names = fileNames();
        const bool isAlliedGeneral = c.target == std::string("ag.exe");
        choose(isAlliedGeneral ? Game::AlliedGeneral : Game::PanzerGeneral,
               isAlliedGeneral ? defaultSlotAddress : address);

        const auto expected = [&](std::string outcome) {
            if (outcome == missing) {
                return "stopped early | Could not find " + (folder / c.target).string() +
                       "\rMake sure it is in the zarn folder.";
            }
            if (outcome.starts_with("no file|")) {
                const std::size_t bar = outcome.find('|', 8);
                std::string leadsTo = outcome.substr(8, bar - 8);
                if (leadsTo.starts_with("{folder}")) {
                    leadsTo.replace(0, 8, folder.string());
                }
                const std::string subject =
                    (folder / c.target).string() +
                    (leadsTo.empty() ? "" : " leads to " + leadsTo + ", which");
                return "stopped early | " + subject + " is " + outcome.substr(bar + 1) +
                       ", not a file, so zarn leaves it alone.\rPut the file itself in its "
                       "place and try again.";
            }
            const std::string executable = "{pg.exe}";
            if (const std::size_t at = outcome.find(executable); at != std::string::npos) {
                outcome.replace(at, executable.size(), (folder / "pg.exe").string());
            }
            return outcome;
        };
        EXPECT_EQ(outcomeOf(Transfer::Export), expected(c.exportOutcome));
        EXPECT_EQ(outcomeOf(Transfer::Import), expected(c.importOutcome));
        EXPECT_EQ(fileNames(), names);
        EXPECT_EQ(readFile("p_slots.txt"), edited);
        EXPECT_FALSE(std::filesystem::exists(elsewhere / "ag.exe"));
    }
}

TEST_F(HostileInputTest, SlotFilesThatAreNoFilesAreRefusedWithoutWaitingAndTold)
{
    enum class Standing
    {
        Pipe,
        LinkToADevice,
        Folder,
        LinkToAFolder,
    };
    struct Case
    {
        const char* what;
        Transfer transfer;
        Standing standing;
    };
    const Case cases[] = {
        {"import from a pipe", Transfer::Import, Standing::Pipe},
        {"import from a link to a device", Transfer::Import, Standing::LinkToADevice},
        {"import from a folder", Transfer::Import, Standing::Folder},
        {"import from a link to a folder", Transfer::Import, Standing::LinkToAFolder},
        {"export over a pipe", Transfer::Export, Standing::Pipe},
        {"export over a link to a device", Transfer::Export, Standing::LinkToADevice},
        {"export over a folder", Transfer::Export, Standing::Folder},
        {"export over a link to a folder", Transfer::Export, Standing::LinkToAFolder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The device is one of the test's own, so that a fault can harm no device of the system.
        if (c.standing == Standing::LinkToADevice && ::geteuid() != 0) {
            std::cout << "Only root can make a device: " << c.what << " is left out.\n";
            continue;
        }
        useNewFolder();
        writeFile("pg.exe", original);
        const std::filesystem::path slotFile = folder / "p_slots.txt";
        const std::filesystem::path elsewhere = folder / "elsewhere";
        std::string is;
        switch (c.standing) {
        case Standing::Pipe:
            ASSERT_EQ(::mkfifo(slotFile.c_str(), 0644), 0);
            is = "is a named pipe";
            break;
        case Standing::LinkToADevice:
            ASSERT_EQ(::mknod(elsewhere.c_str(), S_IFCHR | 0666, ::makedev(1, 5)), 0);
            std::filesystem::create_symlink(elsewhere, slotFile);
            is = "leads to " + elsewhere.string() + ", which is a device";
            break;
        case Standing::Folder:
            std::filesystem::create_directory(slotFile);
            is = "is a folder";
            break;
        case Standing::LinkToAFolder:
            std::filesystem::create_directory(elsewhere);
            std::filesystem::create_directory_symlink(elsewhere, slotFile);
            is = "leads to " + elsewhere.string() + ", which is a folder";
            break;
        }
        const std::vector<std::string> names = fileNames();
        choose(Game::PanzerGeneral, address);

        // A read that waits would hang the test: the child is killed after a while instead.
        const std::string outcome = inChildProcess([&] {
            ::alarm(10);
            return outcomeOf(c.transfer);
        });
        EXPECT_EQ(outcome, "stopped early | " + slotFile.string() + " " + is +
                               ", not a file, so zarn leaves it alone.\rPut the file itself in "
                               "its place and try again.");
        EXPECT_EQ(fileNames(), names);
        EXPECT_EQ(readFile("pg.exe"), original);
    }
}

TEST_F(HostileInputTest, SlotFilesLongerThanAnyAreRefusedWithoutReadingThemThrough)
{
    struct Case
    {
        const char* what;
        Transfer transfer;
        // A file of 15 TiB that takes no room, or the user's own link to a file of the system
        // that says it is empty and never ends.
        bool endless;
    };
    const Case cases[] = {
        {"import from a sparse file", Transfer::Import, false},
        {"import from a file that never ends", Transfer::Import, true},
        {"export over a sparse file", Transfer::Export, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        useNewFolder();
        writeFile("pg.exe", original);
        const std::filesystem::path slotFile = folder / "p_slots.txt";
        if (c.endless) {
            std::filesystem::create_symlink("/proc/self/pagemap", slotFile);
        } else {
            writeFile("p_slots.txt", edited);
            std::filesystem::resize_file(slotFile, std::uint64_t{15} << 40);
        }
        const std::vector<std::string> names = fileNames();
        choose(Game::PanzerGeneral, address);

        const std::string refusal =
            slotFile.string() +
            " is longer than 64 MiB, far longer than a slot file (about 6.5 KB), so zarn leaves "
            "it alone.\rPut the slot file itself in its place, or move this one away, and try "
            "again.";
        EXPECT_EQ(outcomeOf(c.transfer), "stopped early | " + refusal);
        EXPECT_EQ(checkSlotFile(slotFile).refusal, refusal);
        EXPECT_EQ(fileNames(), names);
        EXPECT_EQ(readFile("pg.exe"), original);
    }
}

TEST(HostileAddressText, ReadsAsANumberOrAnOverflowWhateverItHolds)
{
    struct Case
    {
        std::string text;
        std::optional<std::int32_t> address;
    };
    const Case cases[] = {
        {"", 0},
        {"   ", 0},
        {"\t\n \t", 0},
        {" 1 8 8 3 3 4 5 ", 1883345},
        {std::string(1000000, ' ') + "5", 5},
        {"1883345" + std::string(1000000, ' '), 1883345},
        {std::string(1000000, '9'), std::nullopt},
        {"0." + std::string(1000000, '9'), 1},
        {"-5", -5},
        {"-0", 0},
        {"-99999999999", std::nullopt},
        {"&H1CBCD1", 1883345},
        {"&H" + std::string(1000, 'F'), std::nullopt},
        {"&O" + std::string(1000, '7'), std::nullopt},
        {"&H", 0},
        {"&O", 0},
        {"&O7136321", 1883345},
        {"0x1CBCD1", 0},
        {"1e9999999999", std::nullopt},
        {"1e-9999999999", 0},
        {std::string("\0"
                     "5",
                     2),
         0},
        {"\xEF\xBB\xBF"
         "5",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("text: " + c.text.substr(0, 40));
        EXPECT_EQ(slotAddressFromText(c.text), c.address);
    }
}

// Huge slot files are read in little memory: the import runs in a child process whose address
// space may grow by 16 MB at most, and whose CPU time is capped far above what it needs.
class HugeSlotFileTest : public HostileInputTest
{
protected:
    void SetUp() override
    {
        if (underAddressSanitizer) {
            GTEST_SKIP() << "AddressSanitizer needs an address space that cannot be limited";
        }
    }

    // Writes the edited slot file followed by `tail` repeated until the file holds `size` bytes.
    void writeSlotFile(const std::string& tail, std::size_t size) const
    {
        std::ofstream out(folder / "p_slots.txt", std::ios::binary);
        out << edited;
        for (std::size_t written = edited.size(); written < size; written += tail.size()) {
            out << tail;
        }
    }

    std::string importWithinLimits()
    {
        return inChildProcess([this] {
            const rlimit cpu{60, 60};
            const rlimit memory{currentAddressSpace() + 16 * 1024 * 1024, RLIM_INFINITY};
            if (::setrlimit(RLIMIT_CPU, &cpu) != 0 || ::setrlimit(RLIMIT_AS, &memory) != 0) {
                return std::string("no limits");
            }
            try {
                return outcomeOf(Transfer::Import);
            } catch (const std::bad_alloc&) {
                return std::string("out of memory");
            }
        });
    }

    static rlim_t currentAddressSpace()
    {
        std::ifstream statm("/proc/self/statm");
        rlim_t pages = 0;
        statm >> pages;
        return pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
    }

    static constexpr std::size_t fiftyMegabytes = 50 * 1024 * 1024;
};

TEST_F(HugeSlotFileTest, FiftyMegabytesOfTextAfterTheTableAreRead)
{
    writeFile("pg.exe", original);
    writeSlotFile("notes, more notes and \"quoted notes\"\r\n", fiftyMegabytes);
    choose(Game::PanzerGeneral, address);

    EXPECT_EQ(importWithinLimits(), "succeeded");
    EXPECT_EQ(readFile("pg.exe"), imported);
}

TEST_F(HugeSlotFileTest, MillionsOfCommasAfterTheTableAreRead)
{
    writeFile("pg.exe", original);
    writeSlotFile(std::string(4096, ','), 5 * 1000 * 1000);
    choose(Game::PanzerGeneral, address);

    EXPECT_EQ(importWithinLimits(), "succeeded");
    EXPECT_EQ(readFile("pg.exe"), imported);
}

TEST_F(HugeSlotFileTest, FiftyMegabytesOfJunkAfterTheTableAreRefused)
{
    writeFile("pg.exe", original);
    std::string junk = filler(64 * 1024);
    junk.back() = '7'; // at least one entry follows the table
    writeSlotFile(junk, fiftyMegabytes);
    choose(Game::PanzerGeneral, address);

    const std::string outcome = importWithinLimits();
    EXPECT_TRUE(outcome.starts_with("failed | Error  !\rInput file contains  ")) << outcome;
    EXPECT_NE(outcome.find(" too many: there must be exactly 646 unit entries !\r"),
              std::string::npos)
        << outcome;
    EXPECT_TRUE(
        outcome.ends_with("\rTo add a unit you must delete a unit.\rpg.exe file NOT modified."))
        << outcome;
    EXPECT_EQ(readFile("pg.exe"), original);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"p_slots.txt", "pg.exe"}));
}

} // namespace
} // namespace zarn::testing
