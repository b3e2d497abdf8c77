#include "transfer_fixture.h"
#include "zarn/editor_state.h"

#include <gtest/gtest.h>

namespace zarn::testing {
namespace {

TEST(EditorState, StartsWithNoGameAtTheDefaultAddress)
{
    const EditorState state;
    EXPECT_EQ(state.SlotAddress, 1883345);
    EXPECT_EQ(state.TargetFile, "None Specified");
    EXPECT_EQ(state.TargetValid, 0);
}

TEST(EditorState, InitialiseRestoresAddressAndTargetButNotTheLastCheck)
{
    EditorState state{42, "ag.exe", -1};
    initialise(state);
    EXPECT_EQ(state.SlotAddress, 1883345);
    EXPECT_EQ(state.TargetFile, "None Specified");
    EXPECT_EQ(state.TargetValid, -1);
}

TEST(EditorState, ChoosingATargetReplacesOnlyTheFileName)
{
    EditorState state{7, "None Specified", -1};
    chooseTarget(state, Game::PanzerGeneral);
    EXPECT_EQ(state.TargetFile, "pg.exe");
    chooseTarget(state, Game::AlliedGeneral);
    EXPECT_EQ(state.TargetFile, "ag.exe");
    EXPECT_EQ(state.SlotAddress, 7);
    EXPECT_EQ(state.TargetValid, -1);
}

TEST(EditorState, SlotAddressFollowsTheTextAndKeepsItsValueOnOverflow)
{
    struct Case
    {
        const char* text;
        bool accepted;
        std::int32_t address;
    };
    const Case cases[] = {
        {" 1883345", true, 1883345},
        {"1883345.5", true, 1883346},
        {"", true, 0},
        {"2147483648", false, 0},
        {"-7", true, -7},
        {"1e10", false, -7},
    };
    EditorState state;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(setSlotAddressFromText(state, c.text), c.accepted);
        EXPECT_EQ(state.SlotAddress, c.address);
    }
}

TEST(EditorState, FindsBothFilesInTheProgramFolder)
{
    EditorState state;
    state.TargetFile = "ag.exe";
    const std::filesystem::path folder = std::filesystem::path("games") / "zarn";
    EXPECT_EQ(targetPath(folder, state), folder / "ag.exe");
    EXPECT_EQ(slotFilePath(folder), folder / "p_slots.txt");
}

TEST(LengthGate, PassesPanzerGeneralAlwaysAndAlliedGeneralOfOneBuildOnly)
{
    struct Case
    {
        const char* target;
        std::int32_t address;
        std::uint64_t length;
        bool passes;
        std::size_t messages;
    };
    const Case cases[] = {
        {"pg.exe", 1883345, 0, true, 0},        {"pg.exe", -7, 99, true, 0},
        {"ag.exe", 1883345, 2167611, true, 0},  {"ag.exe", 1883345, 2167610, false, 1},
        {"ag.exe", 1883346, 2167611, false, 1}, {"None Specified", 1883345, 2167611, false, 0},
        {"AG.EXE", 1883345, 2167611, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.target) + " at " + std::to_string(c.address));
        EditorState state;
        state.TargetFile = c.target;
        state.SlotAddress = c.address;
        state.TargetValid = -1;
        RecordingPresenter messages;
        EXPECT_EQ(passesLengthGate(state, c.length, messages), c.passes);
        EXPECT_EQ(state.TargetValid, c.passes ? -1 : 0);
        EXPECT_EQ(messages.shown.size(), c.messages);
    }
}

} // namespace
} // namespace zarn::testing
