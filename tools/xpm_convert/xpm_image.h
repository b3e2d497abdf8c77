#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

// A picture read from XPM text: the subset that zarn's pictures use (one or more characters per
// pixel, colours as #RRGGBB or None).
namespace xpm {

struct Rgb
{
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;

    bool operator==(const Rgb&) const = default;
};

// A pixel without a colour is transparent.
using Pixel = std::optional<Rgb>;

struct Image
{
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels; // row by row from the top, width * height of them

    const Pixel& at(int x, int y) const { return pixels[y * width + x]; }
};

class FormatError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads the XPM text of one picture.
// @throw FormatError naming what is wrong with the text.
Image parse(std::string_view text);

} // namespace xpm
