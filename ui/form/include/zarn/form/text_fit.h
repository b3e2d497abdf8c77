#pragma once

#include "zarn/form/layout.h"

#include <functional>

// How a label keeps its text within the room the layout leaves it, whatever face the system
// draws it in. The layout was drawn for "MS Sans Serif"; a wider face at the same size would run
// into the next control or past the window's edge. Such a label draws its text a few pixels
// smaller instead, and its controls stay where they are.
namespace zarn::form {

// The least space the layout keeps between a label's text and the control to its right, or the
// window's edge: that between bold "Panzer General" and "or".
inline constexpr int labelGap = 4;

// The room a label's text has, in pixels at 96 dots per inch.
struct TextRoom
{
    // From the label's left edge to the nearest control to its right that shares any of its
    // rows, or to the window's right edge, less labelGap.
    int width;
    // The label turns bold under the pointer: its text is measured in bold, so that it keeps one
    // size in both weights.
    bool measuredBold;
};

TextRoom textRoom(ControlId label);

// The pixel size to draw a text at: `layoutPixels` when the text, as `widthAt` measures it at that
// size, is no wider than `room`, else the largest smaller size at which it is not (1 at least).
// The room and the measured widths are in the same pixels, the screen's or the layout's.
int fittedPixels(int layoutPixels, int room, const std::function<int(int pixels)>& widthAt);

} // namespace zarn::form
