#include "raw_pixels.h"

#include <cstdint>

namespace xpm {

std::string toRawPixels(const Image& image)
{
    std::string out;
    out.reserve(8 + 4 * image.pixels.size());
    for (const int size : {image.width, image.height}) {
        for (int shift = 0; shift < 32; shift += 8) {
            out += static_cast<char>((static_cast<std::uint32_t>(size) >> shift) & 0xFF);
        }
    }
    for (const Pixel& pixel : image.pixels) {
        const Rgb colour = pixel.value_or(Rgb{0, 0, 0});
        out += static_cast<char>(colour.red);
        out += static_cast<char>(colour.green);
        out += static_cast<char>(colour.blue);
        out += static_cast<char>(pixel ? 0xFF : 0x00);
    }
    return out;
}

} // namespace xpm
