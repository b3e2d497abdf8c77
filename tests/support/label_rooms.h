#pragma once

#include "zarn/form/layout.h"

// The room each label's row leaves it, from the layout's pixel table at 96 dots per inch.
namespace zarn::testing {

struct LabelRoom
{
    form::ControlId label;
    int layoutPixels; // the size of its font: 8.25 or 9.75 point
    int nextControl;  // where the next control on its row, or the window's edge, begins
};

// clang-format off
inline constexpr LabelRoom labelRooms[] = {
    {form::ControlId::AddressCaption,    11, 258},
    {form::ControlId::PanzerGeneralLink, 13, 120}, // "or"
    {form::ControlId::OrCaption,         13, 144}, // "Allied General"
    {form::ControlId::AlliedGeneralLink, 13, 258},
    {form::ControlId::QuestionCaption,   11, 258},
    {form::ControlId::FileNameCaption,   11, 258},
    {form::ControlId::FileNameLabel,     13, 258},
    {form::ControlId::CreditsLink,       13, 258},
};
// clang-format on

// Texts nearer each other than this many pixels read as one.
inline constexpr int leastGapBetweenTexts = 3;

} // namespace zarn::testing
