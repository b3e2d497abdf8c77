#pragma once

#include "xpm_image.h"

#include <string>

namespace xpm {

// The picture as plain pixels in the form the Qt window draws from, so that it shows them
// without decoding or converting anything. Three 32-bit little-endian numbers: the width, the
// height, and 1 when every pixel is opaque (else 0); then the pixels row by row from the top,
// each a 32-bit little-endian 0xAARRGGBB. Transparent pixels are all zero, every other pixel is
// opaque.
std::string toRawPixels(const Image& image);

} // namespace xpm
