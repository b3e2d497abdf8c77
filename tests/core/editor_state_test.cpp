#include "transfer_fixture.h"
#include "zarn/editor_state.h"

#include <gtest/gtest.h>

namespace zarn::testing {
namespace {

TEST(EditorState, StartsWithNoGameAtTheDefaultAddress)
{
    const EditorState state;
    EXPECT_EQ(state.slotAddress, 1883345);
    EXPECT_EQ(state.chosenGame, std::nullopt);
    EXPECT_EQ(executableName(Game::PanzerGeneral), "pg.exe");
    EXPECT_EQ(executableName(Game::AlliedGeneral), "ag.exe");
}

TEST(EditorState, SlotAddressFollowsTheTextAndKeepsItsValueOnOverflow)
{
    struct Case
    {
        const char* text;
        bool accepted;
        std::int32_t address;
    };
    // The rule itself is number_text_test.cpp's.
    const Case cases[] = {
        {"1883345.5", true, 1883346},
        {"2147483648", false, 1883346},
        {"-7", true, -7},
    };
    EditorState state;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(setSlotAddressFromText(state, c.text), c.accepted);
        EXPECT_EQ(state.slotAddress, c.address);
    }
}

TEST(TrustsSlotRegion, OfPanzerGeneralAlwaysAndOfAlliedGeneralOfOneBuildAtOneAddressOnly)
{
    struct Case
    {
        std::optional<Game> game;
        std::int32_t address;
        std::uint64_t length;
        bool passes;
        std::vector<Refusal> refusals;
    };
    const Case cases[] = {
        {Game::PanzerGeneral, 1883345, 0, true, {}},
        {Game::PanzerGeneral, -7, 99, true, {}},
        {Game::AlliedGeneral, 1883345, 2167611, true, {}},
        {Game::AlliedGeneral, 1883345, 2167610, false, {WrongLength{}}},
        {Game::AlliedGeneral, 1883345, 2167612, false, {WrongLength{}}},
        {Game::AlliedGeneral, 1, 100, false, {WrongAddress{}}},
        {Game::AlliedGeneral, 1883346, 2167611, false, {WrongAddress{}}},
        {Game::AlliedGeneral, 1883346, 2167610, false, {WrongAddress{}}},
        {std::nullopt, 1883345, 2167611, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.game) + " at " + std::to_string(c.address));
        const EditorState state{c.address, c.game};
        RecordingPresenter messages;
        EXPECT_EQ(trustsSlotRegion(state, c.length, messages), c.passes);
        EXPECT_EQ(messages.refusals, c.refusals);
    }
}

} // namespace
} // namespace zarn::testing
