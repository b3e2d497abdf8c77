#include "raw_pixels.h"

#include <algorithm>
#include <cstdint>

namespace xpm {
namespace {

void append32(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

} // namespace

std::string toRawPixels(const Image& image)
{
    std::string out;
    out.reserve(12 + 4 * image.pixels.size());
    append32(out, static_cast<std::uint32_t>(image.width));
    append32(out, static_cast<std::uint32_t>(image.height));
    const bool opaque =
        std::all_of(image.pixels.begin(), image.pixels.end(), [](const Pixel& p) { return p; });
    append32(out, opaque ? 1 : 0);
    for (const Pixel& pixel : image.pixels) {
        append32(out, pixel ? 0xFF000000u | std::uint32_t{pixel->red} << 16 |
                                  std::uint32_t{pixel->green} << 8 | pixel->blue
                            : 0u);
    }
    return out;
}

} // namespace xpm
