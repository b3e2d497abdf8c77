#include "zarn/form/accessibility.h"
#include "zarn/form/layout.h"
#include "zarn/form/texts.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zarn::testing {
namespace {

using form::ControlId;
using form::Rgb;

TEST(FormLayout, WindowHasTheDesignsCaptionSizeColoursAndFonts)
{
    EXPECT_STREQ(form::caption, "Darvel's Zarn Editor 1.0");
    EXPECT_EQ(form::background, (Rgb{0, 0, 0}));
    EXPECT_EQ(form::clientWidth, 258);
    EXPECT_EQ(form::clientHeight, 341);
    EXPECT_STREQ(form::iconPicture, "tank");
    EXPECT_STREQ(form::fontFamily, "MS Sans Serif");
    EXPECT_EQ(form::defaultFontPoints, 8.25);
    EXPECT_EQ(form::largeFontPoints, 9.75);
    // The two sizes in pixels at 96 dots per inch, from which both windows scale them.
    EXPECT_EQ(form::fontPixels(form::FontSize::Default), 11);
    EXPECT_EQ(form::fontPixels(form::FontSize::Large), 13);
    EXPECT_EQ(form::toolTipControl, ControlId::CreditsLink);
    EXPECT_STREQ(form::creditsToolTip, "Click for Program Credits");
    EXPECT_STREQ(form::texts::programTitle, "zarn");
}

// A mistyped position shows as a control out of the window or over another.
TEST(FormLayout, ControlsLieInsideTheWindowWithoutOverlapping)
{
    for (const form::Control& control : form::controls) {
        SCOPED_TRACE(::testing::PrintToString(control.id));
        EXPECT_GE(control.left, 0);
        EXPECT_GE(control.top, 0);
        EXPECT_LE(control.left + control.width, form::clientWidth);
        EXPECT_LE(control.top + control.height, form::clientHeight);
        for (const form::Control& other : form::controls) {
            const bool apart = &other == &control || other.left >= control.left + control.width ||
                               control.left >= other.left + other.width ||
                               other.top >= control.top + control.height ||
                               control.top >= other.top + other.height;
            EXPECT_TRUE(apart) << "overlaps " << ::testing::PrintToString(other.id);
        }
    }
}

TEST(FormLayout, TabVisitsTheButtonsThenTheAddressBoxAndTheFirstButtonHasTheFocus)
{
    std::vector<ControlId> visited;
    for (const ControlId id : form::tabOrder) {
        if (form::takesFocus(id)) {
            visited.push_back(id);
        }
    }
    EXPECT_EQ(visited, (std::vector<ControlId>{ControlId::ExportButton, ControlId::QuitButton,
                                               ControlId::ImportButton, ControlId::HelpButton,
                                               ControlId::AddressBox}));
    EXPECT_EQ(form::firstFocus, ControlId::ExportButton);
}

TEST(FormLayout, PicturesGrowByWholeMultiplesOnly)
{
    const std::pair<double, int> cases[] = {{0.75, 1}, {1, 1}, {1.25, 1}, {1.5, 1},
                                            {1.99, 1}, {2, 2}, {2.5, 2},  {3, 3}};
    for (const auto& [scale, factor] : cases) {
        EXPECT_EQ(form::pictureFactor(scale), factor) << scale;
    }
}

TEST(FormAccessibility, NamesTheButtonsLinksAndAddressBoxAndGivesTheLinksTheirKeys)
{
    const std::pair<ControlId, const char*> names[] = {
        {ControlId::ExportButton, "EXE -> TXT"},
        {ControlId::QuitButton, "Quit"},
        {ControlId::ImportButton, "TXT->EXE"},
        {ControlId::HelpButton, "Help"},
        {ControlId::PanzerGeneralLink, "Panzer General"},
        {ControlId::AlliedGeneralLink, "Allied General"},
        {ControlId::CreditsLink, "Credits"},
        {ControlId::AddressBox, "Default Purchase Slot Address"},
    };
    for (const auto& [id, name] : names) {
        SCOPED_TRACE(name);
        const auto accessible = form::accessibleText(id);
        ASSERT_TRUE(accessible.has_value());
        EXPECT_EQ(accessible->name, name);
        EXPECT_FALSE(accessible->description.empty());
    }
    EXPECT_FALSE(form::accessibleText(ControlId::FileNameLabel).has_value());

    ASSERT_EQ(form::accessKeys.size(), 3u);
    EXPECT_EQ(form::accessKeys[0].letter, 'P');
    EXPECT_EQ(form::accessKeys[0].label, ControlId::PanzerGeneralLink);
    EXPECT_EQ(form::accessKeys[1].letter, 'A');
    EXPECT_EQ(form::accessKeys[1].label, ControlId::AlliedGeneralLink);
    EXPECT_EQ(form::accessKeys[2].letter, 'C');
    EXPECT_EQ(form::accessKeys[2].label, ControlId::CreditsLink);
}

TEST(FormTexts, RunTimeErrorReportSaysSoAboveTheError)
{
    EXPECT_EQ(form::texts::runTimeErrorReport("p_slots.txt could not be opened"),
              "Run-time error\rp_slots.txt could not be opened");
}

} // namespace
} // namespace zarn::testing
