#include "zarn/form/accessibility.h"
#include "zarn/form/layout.h"
#include "zarn/form/texts.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace zarn::testing {
namespace {

using form::ControlId;
using form::ControlKind;
using form::FontSize;
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

struct Row
{
    ControlId id;
    ControlKind kind;
    const char* text;
    int left, top, width, height;
    FontSize font;
    bool bold;
    std::optional<Rgb> colour;
    int tabIndex;
    const char* picture;
};

TEST(FormLayout, HoldsTheThirteenControlsOfTheDesignInItsOrder)
{
    constexpr Rgb white{255, 255, 255};
    constexpr Rgb silver{192, 192, 192};
    constexpr Rgb green{0, 192, 0};
    constexpr Rgb brightGreen{0, 255, 0};
    constexpr auto label = ControlKind::Label;
    constexpr auto button = ControlKind::PictureButton;
    constexpr auto small = FontSize::Default;
    constexpr auto large = FontSize::Large;
    // Every control as it is laid out, in the window's own order of its controls.
    // clang-format off
    const Row design[] = {
        {ControlId::AddressBox,        ControlKind::TextBox, "Text1",                               72, 288,  97, 19, small, false, std::nullopt,  4, ""},
        {ControlId::HelpButton,        button,               "Help",                                40, 152,  60, 50, small, false, std::nullopt,  3, "help"},
        {ControlId::ImportButton,      button,               "",                                   144,  72,  60, 55, small, false, std::nullopt,  2, "txt_exe"},
        {ControlId::QuitButton,        button,               "Quit",                               144, 152,  60, 50, small, false, std::nullopt,  1, "quit"},
        {ControlId::ExportButton,      button,               "",                                    40,  72,  60, 55, small, false, std::nullopt,  0, "exe_txt"},
        {ControlId::CreditsLink,       label,                "Credits",                            192, 312,  42, 16, large, false, brightGreen,  12, ""},
        {ControlId::FileNameLabel,     label,                "filename",                            96, 240,  51, 16, large, false, white,        11, ""},
        {ControlId::FileNameCaption,   label,                "Currently editing ",                  80, 216,  78, 13, small, false, white,        10, ""},
        {ControlId::QuestionCaption,   label,                "Which program do you want to edit ?", 32,   8, 174, 13, small, false, white,         9, ""},
        {ControlId::AlliedGeneralLink, label,                "Allied General",                     144,  32,  85, 16, large, false, green,         8, ""},
        {ControlId::OrCaption,         label,                "or",                                 120,  32,  12, 16, large, false, white,         7, ""},
        {ControlId::PanzerGeneralLink, label,                "Panzer General",                       8,  32, 108, 16, large, true,  silver,        6, ""},
        {ControlId::AddressCaption,    label,                "Default Purchase Slot Address",       56, 264, 144, 13, small, false, silver,        5, ""},
    };
    // clang-format on
    ASSERT_EQ(form::controls.size(), std::size(design));
    for (std::size_t i = 0; i < std::size(design); ++i) {
        const Row& expected = design[i];
        const form::Control& actual = form::controls[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(actual.id, expected.id);
        EXPECT_EQ(&form::control(actual.id), &actual);
        EXPECT_EQ(actual.kind, expected.kind);
        EXPECT_EQ(actual.text, expected.text);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.width, expected.width);
        EXPECT_EQ(actual.height, expected.height);
        EXPECT_EQ(actual.font, expected.font);
        EXPECT_EQ(actual.bold, expected.bold);
        EXPECT_EQ(actual.textColour, expected.colour);
        EXPECT_EQ(actual.tabIndex, expected.tabIndex);
        EXPECT_EQ(actual.picture, expected.picture);
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
