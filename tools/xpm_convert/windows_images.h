#pragma once

#include "xpm_image.h"

#include <string>

// Windows picture files made from an XPM picture, for the resource compiler.
namespace xpm {

// A 24-bit bitmap file (.bmp); transparent pixels become black.
std::string toBitmapFile(const Image& image);

// An icon file (.ico) holding the picture as its one 32-bit image, with an alpha channel and the
// matching transparency mask.
std::string toIconFile(const Image& image);

} // namespace xpm
