// How zarn-cli ends after each of the core's refusals and run-time errors, one row a kind;
// cli_test.cpp starts the program on a few.
#include "recording_presenter.h"
#include "run.h"

#include <gtest/gtest.h>

namespace zarn::cli {
namespace {

const FileFailed missing{"/g/p_slots.txt", FileAction::Opened, "No such file or directory",
                         FaultOf::Folder, std::nullopt};
const FileFailed broken{"/g/ag.exe", FileAction::Read, "Input/output error", FaultOf::System,
                        std::nullopt};

TEST(ExitStatusTest, IsOneForWhatTheFolderHoldsAndTwoWhereTheSystemFails)
{
    const std::pair<Refusal, ExitStatus> refusals[] = {
        {SlotFileRefused{WrongCount{645}, "ag.exe", std::nullopt}, ExitStatus::Refused},
        {StrangersLink{"/g/p_slots.txt", "/g/victim", "user 4242"}, ExitStatus::Refused},
        {FolderUnreachable{"/g", "File name too long", FaultOf::Folder}, ExitStatus::Refused},
        {FolderUnreachable{"/g", "Permission denied", FaultOf::System}, ExitStatus::SystemFailed},
    };
    for (const auto& [refusal, status] : refusals) {
        SCOPED_TRACE(messageText(refusal));
        EXPECT_EQ(exitStatusOf(refusal), status);
    }
    const std::pair<Failure, ExitStatus> failures[] = {
        {missing, ExitStatus::Refused},
        {broken, ExitStatus::SystemFailed},
        {SlotFileTooShort{"/g/p_slots.txt", 840, 645}, ExitStatus::Refused},
        {AddressBeforeStart{0, "/g/pg.exe"}, ExitStatus::Refused},
        {ReadOnlyFile{"/g/ag.exe"}, ExitStatus::SystemFailed},
        {FolderNotWritable{"/g", "Read-only file system"}, ExitStatus::SystemFailed},
        {SafetyCopyFailed{"/g/ag.exe", broken}, ExitStatus::SystemFailed},
        {SafetyCopyFailed{"/g/ag.exe", missing}, ExitStatus::Refused},
        {SafetyCopyFailed{"/g/ag.exe", FolderNotWritable{"/g", "Permission denied"}},
         ExitStatus::SystemFailed},
        {ReplacementStoppedHalfWay{broken, "/g/ag.exe", "/g/ag.exe.zarn-old", "/g/ag.exe.zarn-tmp"},
         ExitStatus::SystemFailed},
    };
    for (const auto& [failure, status] : failures) {
        SCOPED_TRACE(messageText(failure));
        EXPECT_EQ(exitStatusOf(failure), status);
    }
}

} // namespace
} // namespace zarn::cli
