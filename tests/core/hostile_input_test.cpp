// Broken and hostile inputs: each gets a clear message or refusal, in bounded memory and time,
// and no file changes that should not.
#include "child_process.h"
#include "transfer_fixture.h"
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

    // How a transfer ended, with its refusals, or its run-time error, in words, so that a child
    // process can hand it back; the words are those of ended() and failed().
    std::string outcomeOf(Transfer transfer)
    {
        messages.refusals.clear();
        try {
            return ended(transfer == Transfer::Export ? runExport() : runImport(),
                         messages.refusals);
        } catch (const RuntimeError& error) {
            return failed(error.failure());
        }
    }

    static std::string ended(TransferEnd end, const std::vector<Refusal>& refusals)
    {
        std::string text = end == TransferEnd::StoppedEarly ? "stopped early"
                           : end == TransferEnd::Succeeded  ? "succeeded"
                                                            : "failed";
        for (const Refusal& refusal : refusals) {
            text += " | " + messageText(refusal);
        }
        return text;
    }

    static std::string failed(const Failure& failure)
    {
        return "run-time error | " + messageText(failure);
    }

    // A slot file with the first unit number of the standard table changed to 513.
    std::string edited;
    // pg.exe with the standard table at `address`, before and after importing `edited`.
    std::string original;
    std::string imported;
};

TEST_F(HostileInputTest, BrokenExecutablesAreRefusedAndNothingIsCreated)
{
    // How a transfer that refuses ends, and why.
    struct Refused
    {
        TransferEnd end;
        Refusal refusal;
    };
    struct Case
    {
        const char* what;
        const char* target;
        std::function<void()> make;
        Refused exported;
        Refused imported;
    };
    const auto runsOffAt = [this](std::uint64_t length, int country, int unitClass) {
        return Refused{TransferEnd::Failed,
                       ListRunsOffEnd{shown("pg.exe"), length, country, unitClass}};
    };
    const auto noRoomIn = [](std::uint64_t length) {
        return Refused{TransferEnd::Failed, RegionPastEnd{101, length, "pg.exe"}};
    };
    // Something that is no file at the target's name, or where the link there leads.
    const auto noFile = [this](const char* target, const std::string& leadsTo, FileKind kind) {
        return Refused{TransferEnd::StoppedEarly, NotAFile{shown(target), leadsTo, kind}};
    };
    const Refused wrongLength{TransferEnd::Failed, WrongLength{}};
    const Refused missing{TransferEnd::StoppedEarly, ExecutableMissing{shown("ag.exe")}};
    const std::filesystem::path elsewhere = folder / "elsewhere";
    const Case cases[] = {
        {"pg.exe of 0 bytes", "pg.exe", [this] { writeFile("pg.exe", ""); }, runsOffAt(0, 1, 1),
         noRoomIn(0)},
        {"pg.exe of 1 byte", "pg.exe", [this] { writeFile("pg.exe", "\xFF"); }, runsOffAt(1, 1, 1),
         noRoomIn(1)},
        {"pg.exe ending inside the table", "pg.exe",
         [this] { writeFile("pg.exe", original.substr(0, address - 1 + 1291)); },
         runsOffAt(1391, 15, 12), noRoomIn(1391)},
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
         [this] { std::filesystem::create_directory(folder / "ag.exe"); },
         noFile("ag.exe", shown("ag.exe"), FileKind::Folder),
         noFile("ag.exe", shown("ag.exe"), FileKind::Folder)},
        {"a link named ag.exe that leads nowhere", "ag.exe",
         [&] { std::filesystem::create_symlink(elsewhere, folder / "ag.exe"); }, missing, missing},
        {"a link named ag.exe that leads to a folder", "ag.exe",
         [&] {
             std::filesystem::create_directory(elsewhere);
             std::filesystem::create_directory_symlink(elsewhere, folder / "ag.exe");
         },
         noFile("ag.exe", shown("elsewhere"), FileKind::Folder),
         noFile("ag.exe", shown("elsewhere"), FileKind::Folder)},
        {"a pipe named pg.exe", "pg.exe",
         [this] { ASSERT_EQ(::mkfifo((folder / "pg.exe").c_str(), 0644), 0); },
         noFile("pg.exe", shown("pg.exe"), FileKind::NamedPipe),
         noFile("pg.exe", shown("pg.exe"), FileKind::NamedPipe)},
        {"a link named pg.exe that leads to a pipe", "pg.exe",
         [this] {
             ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0644), 0);
             std::filesystem::create_symlink(folder / "pipe", folder / "pg.exe");
         },
         noFile("pg.exe", shown("pipe"), FileKind::NamedPipe),
         noFile("pg.exe", shown("pipe"), FileKind::NamedPipe)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            std::filesystem::remove_all(entry.path());
        }
        c.make();
        writeFile("p_slots.txt", edited);
        const std::vector<std::string> names = fileNames();
        const bool isAlliedGeneral = c.target == std::string("ag.exe");
        choose(isAlliedGeneral ? Game::AlliedGeneral : Game::PanzerGeneral,
               isAlliedGeneral ? defaultSlotAddress : address);

        EXPECT_EQ(outcomeOf(Transfer::Export), ended(c.exported.end, {c.exported.refusal}));
        EXPECT_EQ(outcomeOf(Transfer::Import), ended(c.imported.end, {c.imported.refusal}));
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
        NotAFile standing{shown("p_slots.txt"), shown("p_slots.txt"), FileKind::NamedPipe};
        switch (c.standing) {
        case Standing::Pipe:
            ASSERT_EQ(::mkfifo(slotFile.c_str(), 0644), 0);
            break;
        case Standing::LinkToADevice:
            ASSERT_EQ(::mknod(elsewhere.c_str(), S_IFCHR | 0666, ::makedev(1, 5)), 0);
            std::filesystem::create_symlink(elsewhere, slotFile);
            standing = {shown("p_slots.txt"), shown("elsewhere"), FileKind::Device};
            break;
        case Standing::Folder:
            std::filesystem::create_directory(slotFile);
            standing.kind = FileKind::Folder;
            break;
        case Standing::LinkToAFolder:
            std::filesystem::create_directory(elsewhere);
            std::filesystem::create_directory_symlink(elsewhere, slotFile);
            standing = {shown("p_slots.txt"), shown("elsewhere"), FileKind::Folder};
            break;
        }
        const std::vector<std::string> names = fileNames();
        choose(Game::PanzerGeneral, address);

        // A read that waits would hang the test: the child is killed after a while instead.
        const std::string outcome = inChildProcess([&] {
            ::alarm(10);
            return outcomeOf(c.transfer);
        });
        EXPECT_EQ(outcome, ended(TransferEnd::StoppedEarly, {standing}));
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

        const SlotFileTooLong refusal{shown("p_slots.txt"), 64 * 1024 * 1024};
        EXPECT_EQ(outcomeOf(c.transfer), ended(TransferEnd::StoppedEarly, {refusal}));
        EXPECT_EQ(checkSlotFile(slotFile).refusal, Refusal(refusal));
        EXPECT_EQ(fileNames(), names);
        EXPECT_EQ(readFile("pg.exe"), original);
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

    // What the import refuses, read here without limits, is what it refuses within them.
    std::ifstream slotFile(folder / "p_slots.txt", std::ios::binary);
    const std::optional<Refusal> refusal =
        readSlotFile(slotFile, "p_slots.txt", TargetTable{"pg.exe", regionOf(standardLists())})
            .refusal;
    ASSERT_TRUE(refusal.has_value());
    EXPECT_TRUE(std::holds_alternative<ExtraEntries>(std::get<SlotFileRefused>(*refusal).fault));
    EXPECT_EQ(importWithinLimits(), ended(TransferEnd::Failed, {*refusal}));
    EXPECT_EQ(readFile("pg.exe"), original);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"p_slots.txt", "pg.exe"}));
}

} // namespace
} // namespace zarn::testing
