#include "zarn/utf8_path.h"

#include <cstddef>

namespace zarn {
namespace {

// The length of the UTF-8 sequence that starts at `at`, or 0 where none does: overlong forms,
// surrogates and code points past U+10FFFF are no UTF-8.
std::size_t sequenceLength(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high) {
        return 0;
    }
    for (std::size_t i = at + 2; i < at + length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

bool isControl(unsigned char c)
{
    return c < 0x20 || c == 0x7F;
}

// U+0080 to U+009F, which some terminals obey as they obey ESC sequences.
bool isLatinControl(std::string_view sequence)
{
    return sequence.size() == 2 && static_cast<unsigned char>(sequence[0]) == 0xC2 &&
           static_cast<unsigned char>(sequence[1]) <= 0x9F;
}

void appendEscaped(std::string& out, std::string_view bytes)
{
    constexpr char digits[] = "0123456789abcdef";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += "\\x";
        out += digits[byte >> 4];
        out += digits[byte & 0xF];
    }
}

} // namespace

std::string displayPath(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path pathFromUtf8(std::string_view text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string shownText(std::string_view text)
{
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        const std::size_t length = c < 0x80 ? 1 : sequenceLength(text, at);
        const std::string_view sequence = text.substr(at, length == 0 ? 1 : length);
        if (length == 0 || isControl(c) || isLatinControl(sequence)) {
            appendEscaped(shown, sequence);
        } else {
            shown += sequence;
        }
        at += sequence.size();
    }
    return shown;
}

std::string shownPath(const std::filesystem::path& path)
{
    return shownText(displayPath(path));
}

} // namespace zarn
