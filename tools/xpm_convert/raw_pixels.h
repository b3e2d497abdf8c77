#pragma once

#include "xpm_image.h"

#include <string>

namespace xpm {

// The picture as plain pixels, ready to show without decoding: its width and height as 32-bit
// little-endian numbers, then its pixels row by row from the top, each as red, green, blue and
// alpha bytes. Transparent pixels are all zero, every other pixel is opaque.
std::string toRawPixels(const Image& image);

} // namespace xpm
