#pragma once

#include "zarn/form/layout.h"

#include <QFont>
#include <QString>

namespace zarn::qt {

// The face of everything zarn writes: the layout's own, or the one with its widths, or where
// neither is installed the system's sans-serif face.
QString formFace();

// The form's font at one of its two sizes, sized in pixels of the layout's 96 dots per inch, so
// that on any screen it grows with the window's device pixel ratio, exactly as the layout does.
QFont formFont(form::FontSize size, bool bold);

// The font of message boxes and tool tips: the desktop's size, in the form's face, so that no
// desktop whose sans-serif resolves to a monospace face shows them in it.
QFont messageFont();

} // namespace zarn::qt
