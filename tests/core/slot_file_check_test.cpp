// A slot file checked on its own, as the import checks it (slot_file_rules_test.cpp), found as the
// transfers find their files, with no executable to compare with.
#include "folder_files.h"
#include "transfer_fixture.h"
#include "zarn/runtime_error.h"
#include "zarn/slot_file_check.h"

#include <gtest/gtest.h>

namespace zarn::testing {
namespace {

using SlotFileCheckTest = TransferTest;

// The run-time error that checking the file at `path` ends in.
Failure checkFailureOf(const std::filesystem::path& path)
{
    try {
        checkSlotFile(path);
    } catch (const RuntimeError& error) {
        return error.failure();
    }
    ADD_FAILURE() << "no run-time error";
    return {};
}

TEST_F(SlotFileCheckTest, ChecksTheFileInAnyCaseByItsFullPathWithoutAnExecutable)
{
    writeFile("P_SLOTS.TXT", "\r\n" + slotFileOf(standardLists()));
    EXPECT_EQ(checkSlotFile(folder / "p_slots.txt").refusal,
              Refusal(SlotFileRefused{WrongCount{645}, std::nullopt, std::nullopt}));
    const std::filesystem::path accented = folder / u8"Panzerkampfwagen \u00e4.TXT";
    writeWholeFile(accented, slotFileOf(standardLists()));
    EXPECT_EQ(checkSlotFile(accented).refusal, std::nullopt);
    EXPECT_EQ(checkSlotFile(folder / u8"panzerkampfwagen \u00e4.txt").refusal, std::nullopt);
    EXPECT_EQ(fileNames().size(), 2u);

    const CurrentFolder current(folder);
    writeFile("short.txt", "");
    EXPECT_EQ(checkFailureOf("short.txt"), Failure(SlotFileTooShort{shown("short.txt"), 0, 0}));
    const Failure missing = checkFailureOf("missing.txt");
    ASSERT_TRUE(std::holds_alternative<FileFailed>(missing)) << messageText(missing);
    EXPECT_EQ(std::get<FileFailed>(missing).file, shown("missing.txt"));
    EXPECT_EQ(std::get<FileFailed>(missing).faultOf, FaultOf::Folder);
}

} // namespace
} // namespace zarn::testing
