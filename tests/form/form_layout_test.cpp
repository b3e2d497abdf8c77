#include "zarn/form/accessibility.h"
#include "zarn/form/layout.h"
#include "zarn/form/messages.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace zarn::testing {
namespace {

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
    EXPECT_EQ(form::toolTipControl, form::ControlId::Label8);
    EXPECT_STREQ(form::creditsToolTip, "Click for Program Credits");
    EXPECT_STREQ(form::programTitle, "zarn");
}

struct Row
{
    const char* name;
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
    // clang-format off
    const Row design[] = {
        {"Text1",    ControlKind::TextBox, "Text1",                               72, 288,  97, 19, small, false, std::nullopt,  4, ""},
        {"Command4", button,               "Help",                                40, 152,  60, 50, small, false, std::nullopt,  3, "help"},
        {"Command3", button,               "",                                   144,  72,  60, 55, small, false, std::nullopt,  2, "txt_exe"},
        {"Command2", button,               "Quit",                               144, 152,  60, 50, small, false, std::nullopt,  1, "quit"},
        {"Command1", button,               "",                                    40,  72,  60, 55, small, false, std::nullopt,  0, "exe_txt"},
        {"Label8",   label,                "Credits",                            192, 312,  42, 16, large, false, brightGreen,  12, ""},
        {"Label7",   label,                "filename",                            96, 240,  51, 16, large, false, white,        11, ""},
        {"Label6",   label,                "Currently editing ",                  80, 216,  78, 13, small, false, white,        10, ""},
        {"Label5",   label,                "Which program do you want to edit ?", 32,   8, 174, 13, small, false, white,         9, ""},
        {"Label4",   label,                "Allied General",                     144,  32,  85, 16, large, false, green,         8, ""},
        {"Label3",   label,                "or",                                 120,  32,  12, 16, large, false, white,         7, ""},
        {"Label2",   label,                "Panzer General",                       8,  32, 108, 16, large, true,  silver,        6, ""},
        {"Label1",   label,                "Default Purchase Slot Address",       56, 264, 144, 13, small, false, silver,        5, ""},
    };
    // clang-format on
    ASSERT_EQ(form::controls.size(), std::size(design));
    for (std::size_t i = 0; i < std::size(design); ++i) {
        const Row& expected = design[i];
        const form::Control& actual = form::controls[i];
        SCOPED_TRACE(expected.name);
        EXPECT_EQ(actual.name, expected.name);
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

TEST(FormAccessibility, NamesTheButtonsAndLinksAndGivesTheLinksTheirKeys)
{
    const std::pair<form::ControlId, const char*> names[] = {
        {form::ControlId::Command1, "EXE -> TXT"},   {form::ControlId::Command2, "Quit"},
        {form::ControlId::Command3, "TXT->EXE"},     {form::ControlId::Command4, "Help"},
        {form::ControlId::Label2, "Panzer General"}, {form::ControlId::Label4, "Allied General"},
        {form::ControlId::Label8, "Credits"},
    };
    for (const auto& [id, name] : names) {
        SCOPED_TRACE(name);
        const auto accessible = form::accessibleText(id);
        ASSERT_TRUE(accessible.has_value());
        EXPECT_EQ(accessible->name, name);
        EXPECT_FALSE(accessible->description.empty());
    }
    EXPECT_FALSE(form::accessibleText(form::ControlId::Label7).has_value());

    ASSERT_EQ(form::accessKeys.size(), 3u);
    EXPECT_EQ(form::accessKeys[0].letter, 'P');
    EXPECT_EQ(form::accessKeys[0].label, form::ControlId::Label2);
    EXPECT_EQ(form::accessKeys[1].letter, 'A');
    EXPECT_EQ(form::accessKeys[1].label, form::ControlId::Label4);
    EXPECT_EQ(form::accessKeys[2].letter, 'C');
    EXPECT_EQ(form::accessKeys[2].label, form::ControlId::Label8);
}

TEST(FormMessages, RunTimeErrorReportSaysSoAboveTheError)
{
    EXPECT_EQ(form::runTimeErrorReport("p_slots.txt could not be opened"),
              "Run-time error\rp_slots.txt could not be opened");
}

} // namespace
} // namespace zarn::testing
