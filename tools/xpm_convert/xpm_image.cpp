#include "xpm_image.h"

#include <map>
#include <sstream>
#include <string>

namespace xpm {
namespace {

// The double-quoted strings of the text, in order; XPM keeps all of its data in them.
std::vector<std::string_view> quotedStrings(std::string_view text)
{
    std::vector<std::string_view> strings;
    std::size_t at = 0;
    while ((at = text.find('"', at)) != std::string_view::npos) {
        const std::size_t end = text.find('"', at + 1);
        if (end == std::string_view::npos) {
            throw FormatError("a string is not closed");
        }
        strings.push_back(text.substr(at + 1, end - at - 1));
        at = end + 1;
    }
    return strings;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    throw FormatError(std::string("'") + c + "' is not a hexadecimal digit");
}

Pixel parseColour(const std::string& value)
{
    if (value == "None" || value == "none") {
        return std::nullopt;
    }
    if (value.size() != 7 || value[0] != '#') {
        throw FormatError("the colour \"" + value + "\" is neither #RRGGBB nor None");
    }
    const auto component = [&value](std::size_t at) {
        return static_cast<std::uint8_t>(hexDigit(value[at]) * 16 + hexDigit(value[at + 1]));
    };
    return Rgb{component(1), component(3), component(5)};
}

// The colour of one colour line: the value after the key "c".
Pixel colourOf(std::string_view definition)
{
    std::istringstream words{std::string(definition)};
    std::string key;
    std::string value;
    while (words >> key >> value) {
        if (key == "c") {
            return parseColour(value);
        }
    }
    throw FormatError("the colour line \"" + std::string(definition) + "\" has no c colour");
}

} // namespace

Image parse(std::string_view text)
{
    const std::vector<std::string_view> strings = quotedStrings(text);
    if (strings.empty()) {
        throw FormatError("no XPM values found");
    }
    std::istringstream values{std::string(strings[0])};
    Image image;
    int colourCount = 0;
    int charsPerPixel = 0;
    if (!(values >> image.width >> image.height >> colourCount >> charsPerPixel) ||
        image.width <= 0 || image.height <= 0 || colourCount <= 0 || charsPerPixel <= 0) {
        throw FormatError("the values line \"" + std::string(strings[0]) + "\" is not valid");
    }
    const auto cpp = static_cast<std::size_t>(charsPerPixel);
    if (strings.size() != 1 + static_cast<std::size_t>(colourCount + image.height)) {
        throw FormatError("expected " + std::to_string(colourCount) + " colours and " +
                          std::to_string(image.height) + " rows, found " +
                          std::to_string(strings.size() - 1) + " strings");
    }

    std::map<std::string_view, Pixel> palette;
    for (int i = 1; i <= colourCount; ++i) {
        if (strings[i].size() < cpp) {
            throw FormatError("the colour line \"" + std::string(strings[i]) + "\" is too short");
        }
        palette[strings[i].substr(0, cpp)] = colourOf(strings[i].substr(cpp));
    }

    image.pixels.reserve(static_cast<std::size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y) {
        const std::string_view row = strings[1 + colourCount + y];
        if (row.size() != image.width * cpp) {
            throw FormatError("row " + std::to_string(y + 1) + " has " +
                              std::to_string(row.size()) + " characters instead of " +
                              std::to_string(image.width * cpp));
        }
        for (std::size_t x = 0; x < row.size(); x += cpp) {
            const auto colour = palette.find(row.substr(x, cpp));
            if (colour == palette.end()) {
                throw FormatError("row " + std::to_string(y + 1) + " uses the undefined pixel \"" +
                                  std::string(row.substr(x, cpp)) + "\"");
            }
            image.pixels.push_back(colour->second);
        }
    }
    return image;
}

} // namespace xpm
