#include "zarn/utf8_path.h"

#include <cstddef>

namespace zarn {
namespace {

// Whether a sequence may stand for a surrogate (U+D800 to U+DFFF), which UTF-8 leaves out.
enum class Surrogates
{
    Refused,
    Taken,
};

// The length of the UTF-8 sequence that starts at `at`, or 0 where none does: overlong forms,
// code points past U+10FFFF and, unless taken, surrogates are no UTF-8.
std::size_t sequenceLength(std::string_view text, std::size_t at, Surrogates surrogates)
{
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED && surrogates == Surrogates::Refused ? 0x9F : 0xBF;
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

// The code point of a whole sequence.
char32_t codePointOf(std::string_view sequence)
{
    const auto lead = static_cast<unsigned char>(sequence[0]);
    char32_t codePoint = sequence.size() == 1 ? lead : lead & (0x7F >> sequence.size());
    for (std::size_t i = 1; i < sequence.size(); ++i) {
        codePoint = codePoint << 6 | (static_cast<unsigned char>(sequence[i]) & 0x3F);
    }
    return codePoint;
}

void appendUtf8(std::string& out, char32_t codePoint)
{
    const auto put = [&](char32_t bits) {
        out += static_cast<char>(bits);
    };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | codePoint >> 6);
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        put(0xE0 | codePoint >> 12);
        put(0x80 | (codePoint >> 6 & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xF0 | codePoint >> 18);
        put(0x80 | (codePoint >> 12 & 0x3F));
        put(0x80 | (codePoint >> 6 & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
}

bool isHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
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

std::wstring utf16FromUtf8(std::string_view text)
{
    std::wstring wide;
    wide.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = sequenceLength(text, at, Surrogates::Taken);
        if (length == 0) {
            wide += L'\uFFFD';
            ++at;
            continue;
        }
        const char32_t codePoint = codePointOf(text.substr(at, length));
        if (codePoint >= 0x10000) {
            wide += static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(codePoint);
        }
        at += length;
    }
    return wide;
}

std::string utf8FromUtf16(std::wstring_view text)
{
    std::string utf8;
    utf8.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto unit = static_cast<char32_t>(text[at]);
        const auto next = at + 1 < text.size() ? static_cast<char32_t>(text[at + 1]) : 0;
        if (isHighSurrogate(unit) && isLowSurrogate(next)) {
            appendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
            ++at;
        } else {
            appendUtf8(utf8, unit);
        }
    }
    return utf8;
}

std::string utf8FromPath(const std::filesystem::path& path)
{
#ifdef _WIN32
    return utf8FromUtf16(path.native());
#else
    return path.native();
#endif
}

std::filesystem::path pathFromUtf8(std::string_view text)
{
#ifdef _WIN32
    return std::filesystem::path(utf16FromUtf8(text));
#else
    return std::filesystem::path(text);
#endif
}

std::string shownText(std::string_view text)
{
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        const std::size_t length = sequenceLength(text, at, Surrogates::Refused);
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
    return shownText(utf8FromPath(path));
}

} // namespace zarn
