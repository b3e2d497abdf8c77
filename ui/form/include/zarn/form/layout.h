#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// The editor's one window described for any front end: its caption, its client area and its
// thirteen controls with their texts, pixel positions at 96 dots per inch, fonts, colours and tab
// places. Each front end builds its window from this table.
namespace zarn::form {

struct Rgb
{
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The controls, in the window's own order of its controls; the table below lists them in it.
enum class ControlId
{
    AddressBox,
    HelpButton,
    ImportButton,
    QuitButton,
    ExportButton,
    CreditsLink,
    FileNameLabel,   // the name of the game executable being edited
    FileNameCaption, // "Currently editing ", above the file name
    QuestionCaption, // which program to edit, above the game links
    AlliedGeneralLink,
    OrCaption, // between the game links
    PanzerGeneralLink,
    AddressCaption, // above the address box
};

enum class ControlKind
{
    Label,
    TextBox,
    PictureButton,
};

// "MS Sans Serif" at 8.25 point (the window's default) or at 9.75 point.
enum class FontSize
{
    Default,
    Large,
};

inline constexpr double defaultFontPoints = 8.25;
inline constexpr double largeFontPoints = 9.75;
inline constexpr char fontFamily[] = "MS Sans Serif";
// Where "MS Sans Serif" is not installed, this face takes its place: its letters are nearly as
// wide, so the labels keep their sizes. Where neither is, the system's sans-serif face does.
inline constexpr char fontFamilyWithItsWidths[] = "Liberation Sans";

// A font size in pixels at the layout's 96 dots per inch: 11 for 8.25 point, 13 for 9.75 point.
// Fonts sized so grow with the rest of the layout on a screen of more dots per inch.
constexpr int fontPixels(FontSize size)
{
    const double points = size == FontSize::Large ? largeFontPoints : defaultFontPoints;
    return static_cast<int>(points * 96 / 72 + 0.5);
}

struct Control
{
    ControlId id;
    ControlKind kind;
    std::string_view text;
    int left;
    int top;
    int width;
    int height;
    FontSize font;
    bool bold;
    std::optional<Rgb> textColour; // empty: the platform's default
    int tabIndex;
    std::string_view picture; // buttons only: the base name of the picture in resources/
};

inline constexpr char caption[] = "Darvel's Zarn Editor 1.0";
inline constexpr Rgb background{0, 0, 0};
inline constexpr int clientWidth = 258;
inline constexpr int clientHeight = 341;
inline constexpr char iconPicture[] = "tank";
inline constexpr ControlId toolTipControl = ControlId::CreditsLink;
inline constexpr char creditsToolTip[] = "Click for Program Credits";

inline constexpr Rgb white{255, 255, 255};
inline constexpr Rgb silver{192, 192, 192};
inline constexpr Rgb green{0, 192, 0};
inline constexpr Rgb brightGreen{0, 255, 0};

// Labels fit their size to their text; the sizes here are the ones fitted at creation.
// clang-format off
inline constexpr std::array<Control, 13> controls = {{
//   id                            kind                        text                                   left  top width height font               bold   colour        tab  picture
    {ControlId::AddressBox,        ControlKind::TextBox,       "Text1",                                 72, 288,  97, 19, FontSize::Default, false, std::nullopt,  4, ""},
    {ControlId::HelpButton,        ControlKind::PictureButton, "Help",                                  40, 152,  60, 50, FontSize::Default, false, std::nullopt,  3, "help"},
    {ControlId::ImportButton,      ControlKind::PictureButton, "",                                     144,  72,  60, 55, FontSize::Default, false, std::nullopt,  2, "txt_exe"},
    {ControlId::QuitButton,        ControlKind::PictureButton, "Quit",                                 144, 152,  60, 50, FontSize::Default, false, std::nullopt,  1, "quit"},
    {ControlId::ExportButton,      ControlKind::PictureButton, "",                                      40,  72,  60, 55, FontSize::Default, false, std::nullopt,  0, "exe_txt"},
    {ControlId::CreditsLink,       ControlKind::Label,         "Credits",                              192, 312,  42, 16, FontSize::Large,   false, brightGreen,  12, ""},
    {ControlId::FileNameLabel,     ControlKind::Label,         "filename",                              96, 240,  51, 16, FontSize::Large,   false, white,        11, ""},
    {ControlId::FileNameCaption,   ControlKind::Label,         "Currently editing ",                    80, 216,  78, 13, FontSize::Default, false, white,        10, ""},
    {ControlId::QuestionCaption,   ControlKind::Label,         "Which program do you want to edit ?",   32,   8, 174, 13, FontSize::Default, false, white,         9, ""},
    {ControlId::AlliedGeneralLink, ControlKind::Label,         "Allied General",                       144,  32,  85, 16, FontSize::Large,   false, green,         8, ""},
    {ControlId::OrCaption,         ControlKind::Label,         "or",                                   120,  32,  12, 16, FontSize::Large,   false, white,         7, ""},
    {ControlId::PanzerGeneralLink, ControlKind::Label,         "Panzer General",                         8,  32, 108, 16, FontSize::Large,   true,  silver,        6, ""},
    {ControlId::AddressCaption,    ControlKind::Label,         "Default Purchase Slot Address",         56, 264, 144, 13, FontSize::Default, false, silver,        5, ""},
}};
// clang-format on

static_assert(
    [] {
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (static_cast<std::size_t>(controls[i].id) != i) {
                return false;
            }
        }
        return true;
    }(),
    "the table lists the controls in the order of ControlId");

// The row of a control.
constexpr const Control& control(ControlId id)
{
    return controls[static_cast<std::size_t>(id)];
}

// The controls in the order of their tab places.
inline constexpr std::array<ControlId, controls.size()> tabOrder = [] {
    std::array<ControlId, controls.size()> order{};
    for (const Control& each : controls) {
        order.at(static_cast<std::size_t>(each.tabIndex)) = each.id;
    }
    return order;
}();

static_assert(
    [] {
        for (std::size_t place = 0; place < tabOrder.size(); ++place) {
            if (control(tabOrder[place]).tabIndex != static_cast<int>(place)) {
                return false;
            }
        }
        return true;
    }(),
    "every control has a tab place of its own, from 0 on without gaps");

// Whether Tab moves the keyboard focus to a control: the labels hold tab places but never take it.
constexpr bool takesFocus(ControlId id)
{
    return control(id).kind != ControlKind::Label;
}

// The control that has the keyboard focus when the window opens.
inline constexpr ControlId firstFocus = *std::find_if(tabOrder.begin(), tabOrder.end(), takesFocus);

// How many times a picture is enlarged on a screen `scale` times as fine as the layout's 96 dots
// per inch: by whole multiples only, so that each picture pixel stays a sharp square, and at
// least once.
constexpr int pictureFactor(double scale)
{
    return std::max(1, static_cast<int>(scale));
}

} // namespace zarn::form
