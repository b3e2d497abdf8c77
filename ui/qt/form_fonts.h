#pragma once

#include "zarn/form/layout.h"

#include <QFont>

namespace zarn::qt {

// The form's font at one of its two sizes, sized in pixels of the layout's 96 dots per inch, so
// that on any screen it grows with the window's device pixel ratio, exactly as the layout does.
// Where "MS Sans Serif" is not installed, Liberation Sans, which has nearly its widths, takes
// its place, and where neither is, the system's sans-serif face, whose texts the labels fit to
// their room.
QFont formFont(form::FontSize size, bool bold);

} // namespace zarn::qt
