#include "windows_images.h"

#include <cstdint>
#include <limits>

namespace xpm {
namespace {

constexpr std::uint32_t infoHeaderSize = 40;

void put16(std::string& out, std::uint16_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void put32(std::string& out, std::uint32_t value)
{
    put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(value >> 16));
}

// Rows of a Windows bitmap are padded to a multiple of four bytes.
std::uint32_t paddedRow(std::uint32_t bytes)
{
    return (bytes + 3) / 4 * 4;
}

// BITMAPINFOHEADER of an uncompressed bottom-up bitmap.
void putInfoHeader(std::string& out, const Image& image, int storedHeight, int bitsPerPixel,
                   std::uint32_t imageBytes)
{
    put32(out, infoHeaderSize);
    put32(out, static_cast<std::uint32_t>(image.width));
    put32(out, static_cast<std::uint32_t>(storedHeight));
    put16(out, 1); // planes
    put16(out, static_cast<std::uint16_t>(bitsPerPixel));
    put32(out, 0); // BI_RGB
    put32(out, imageBytes);
    put32(out, 3780); // 96 dots per inch, in dots per metre
    put32(out, 3780);
    put32(out, 0); // colours used
    put32(out, 0); // important colours
}

void putPadding(std::string& out, std::uint32_t bytesWritten, std::uint32_t rowBytes)
{
    out.append(rowBytes - bytesWritten, '\0');
}

std::uint32_t checkedSize(std::uint64_t size)
{
    if (size > std::numeric_limits<std::uint32_t>::max()) {
        throw FormatError("the picture is too large for a Windows bitmap");
    }
    return static_cast<std::uint32_t>(size);
}

} // namespace

std::string toBitmapFile(const Image& image)
{
    const std::uint32_t rowBytes = paddedRow(checkedSize(3ull * image.width));
    const std::uint32_t pixelBytes = checkedSize(std::uint64_t{rowBytes} * image.height);
    constexpr std::uint32_t fileHeaderSize = 14;
    const std::uint32_t pixelOffset = fileHeaderSize + infoHeaderSize;

    std::string out;
    out += "BM";
    put32(out, checkedSize(std::uint64_t{pixelOffset} + pixelBytes));
    put32(out, 0); // reserved
    put32(out, pixelOffset);
    putInfoHeader(out, image, image.height, 24, pixelBytes);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb colour = image.at(x, y).value_or(Rgb{0, 0, 0});
            out += static_cast<char>(colour.blue);
            out += static_cast<char>(colour.green);
            out += static_cast<char>(colour.red);
        }
        putPadding(out, 3u * image.width, rowBytes);
    }
    return out;
}

std::string toIconFile(const Image& image)
{
    if (image.width > 256 || image.height > 256) {
        throw FormatError("an icon is at most 256 pixels wide and high");
    }
    const std::uint32_t colourBytes = 4u * image.width * image.height;
    const std::uint32_t maskRowBytes = paddedRow((image.width + 7) / 8);
    const std::uint32_t maskBytes = maskRowBytes * image.height;
    const std::uint32_t imageSize = infoHeaderSize + colourBytes + maskBytes;
    constexpr std::uint32_t directorySize = 6 + 16;

    std::string out;
    put16(out, 0); // reserved
    put16(out, 1); // an icon
    put16(out, 1); // one image
    out += static_cast<char>(image.width == 256 ? 0 : image.width);
    out += static_cast<char>(image.height == 256 ? 0 : image.height);
    out += '\0';    // no palette
    out += '\0';    // reserved
    put16(out, 1);  // planes
    put16(out, 32); // bits per pixel
    put32(out, imageSize);
    put32(out, directorySize);

    // The stored height counts the colour image and the mask together.
    putInfoHeader(out, image, 2 * image.height, 32, colourBytes + maskBytes);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Pixel& pixel = image.at(x, y);
            const Rgb colour = pixel.value_or(Rgb{0, 0, 0});
            out += static_cast<char>(colour.blue);
            out += static_cast<char>(colour.green);
            out += static_cast<char>(colour.red);
            out += static_cast<char>(pixel ? 0xFF : 0x00);
        }
    }
    // A set mask bit lets the background show through.
    for (int y = image.height - 1; y >= 0; --y) {
        std::string row(maskRowBytes, '\0');
        for (int x = 0; x < image.width; ++x) {
            if (!image.at(x, y)) {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out += row;
    }
    return out;
}

} // namespace xpm
