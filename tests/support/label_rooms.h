#pragma once

// The room each label's row leaves it, from the layout's pixel table at 96 dots per inch.
namespace zarn::testing {

struct LabelRoom
{
    const char* label;
    int layoutPixels; // the size of its font: 8.25 or 9.75 point
    int nextControl;  // where the next control on its row, or the window's edge, begins
};

// clang-format off
inline constexpr LabelRoom labelRooms[] = {
    {"Label1", 11, 258},
    {"Label2", 13, 120}, // "or"
    {"Label3", 13, 144}, // "Allied General"
    {"Label4", 13, 258},
    {"Label5", 11, 258},
    {"Label6", 11, 258},
    {"Label7", 13, 258},
    {"Label8", 13, 258},
};
// clang-format on

// Texts nearer each other than this many pixels read as one.
inline constexpr int leastGapBetweenTexts = 3;

} // namespace zarn::testing
