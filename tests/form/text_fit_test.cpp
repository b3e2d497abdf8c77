#include "zarn/form/text_fit.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace zarn::testing {
namespace {

using form::ControlId;

TEST(TextFit, ALabelHasTheRoomUpToTheNextControlOnItsRowOrTheWindowsEdge)
{
    struct Case
    {
        ControlId label;
        int width;
        bool measuredBold;
    };
    // From the layout's pixels: where the next control on the row or the window's edge (258)
    // begins, less the label's left edge, less 4 pixels kept clear. The links are measured bold.
    // clang-format off
    const Case cases[] = {
        {ControlId::PanzerGeneralLink, 120 - 8 - 4,   true},  // up to "or"
        {ControlId::OrCaption,         144 - 120 - 4, false}, // up to "Allied General"
        {ControlId::AlliedGeneralLink, 258 - 144 - 4, true},
        {ControlId::QuestionCaption,   258 - 32 - 4,  false},
        {ControlId::FileNameCaption,   258 - 80 - 4,  false},
        {ControlId::FileNameLabel,     258 - 96 - 4,  false},
        {ControlId::AddressCaption,    258 - 56 - 4,  false},
        {ControlId::CreditsLink,       258 - 192 - 4, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        const form::TextRoom room = form::textRoom(c.label);
        SCOPED_TRACE(::testing::PrintToString(c.label));
        EXPECT_EQ(room.width, c.width);
        EXPECT_EQ(room.measuredBold, c.measuredBold);
    }
}

TEST(TextFit, TakesTheLayoutsSizeOrTheLargestSmallerOneThatFits)
{
    struct Case
    {
        const char* what;
        std::map<int, int> widthAt; // pixel size to measured width
        int room;
        int expected;
    };
    const Case cases[] = {
        {"fits as laid out", {{13, 100}}, 100, 13},
        {"one pixel too wide", {{13, 109}, {12, 101}}, 108, 12},
        {"much too wide", {{13, 200}, {12, 185}, {11, 170}, {10, 154}, {9, 139}}, 150, 9},
        // Hinting can make a smaller size measure wider; the first that fits counts.
        {"uneven widths", {{13, 112}, {12, 104}, {11, 106}}, 108, 12},
        {"fits at no size", {}, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<int> measured;
        const int pixels = form::fittedPixels(13, c.room, [&](int size) {
            measured.push_back(size);
            const auto known = c.widthAt.find(size);
            return known != c.widthAt.end() ? known->second : 1000;
        });
        EXPECT_EQ(pixels, c.expected);
        ASSERT_FALSE(measured.empty());
        EXPECT_EQ(measured.front(), 13);
    }
}

} // namespace
} // namespace zarn::testing
