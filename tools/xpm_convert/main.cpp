// xpm_convert: turns one of zarn's XPM pictures into a Windows .bmp or .ico file, or into the
// raw pixels (.argb) that the Qt window shows.
// Usage: xpm_convert PICTURE.xpm OUTPUT.bmp|OUTPUT.ico|OUTPUT.argb

#include "raw_pixels.h"
#include "windows_images.h"
#include "xpm_image.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

std::string readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeWhole(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 ||
        !(endsWith(argv[2], ".bmp") || endsWith(argv[2], ".ico") || endsWith(argv[2], ".argb"))) {
        std::cerr << "usage: xpm_convert PICTURE.xpm OUTPUT.bmp|OUTPUT.ico|OUTPUT.argb\n";
        return 2;
    }
    const std::string input = argv[1];
    const std::string output = argv[2];
    try {
        const xpm::Image image = xpm::parse(readWhole(input));
        writeWhole(output, endsWith(output, ".ico")    ? xpm::toIconFile(image)
                           : endsWith(output, ".argb") ? xpm::toRawPixels(image)
                                                       : xpm::toBitmapFile(image));
    } catch (const std::exception& error) {
        std::cerr << "xpm_convert: " << input << ": " << error.what() << '\n';
        return 1;
    }
    return 0;
}
