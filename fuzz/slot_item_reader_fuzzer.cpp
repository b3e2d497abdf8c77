// The slot-file item reader, fed one byte at a time as from a file that arrives in pieces, reads
// the same items as a plain reading of the whole text in memory (of UTF-16 text, once narrowed).
#include "fuzz_support.h"
#include "zarn/number_text.h"
#include "zarn/slot_file.h"

#include <cmath>
#include <cstdint>
#include <istream>
#include <streambuf>
#include <string_view>
#include <vector>

using zarn::fuzz::require;

namespace {

// Hands out its text one character per refill, so that no character is ever read ahead.
class TrickleBuffer : public std::streambuf
{
public:
    explicit TrickleBuffer(std::string_view text) : m_text(text) {}

protected:
    int_type underflow() override
    {
        if (m_next == m_text.size()) {
            return traits_type::eof();
        }
        m_current = m_text[m_next++];
        setg(&m_current, &m_current, &m_current + 1);
        return traits_type::to_int_type(m_current);
    }

private:
    std::string_view m_text;
    std::size_t m_next = 0;
    char m_current = 0;
};

struct Item
{
    double value;
    std::size_t line;
    bool operator==(const Item&) const = default;
};

// The items of a whole text: separated by commas and line ends (CR LF, LF, CR), blanks and tabs
// before an item skipped, a quoted item running to its closing quote or the line end.
std::vector<Item> itemsOfWholeText(std::string_view text)
{
    constexpr auto npos = std::string_view::npos;
    std::vector<Item> items;
    std::size_t at = 0;
    std::size_t line = 1;
    bool afterComma = false;
    while (true) {
        at = std::min(text.find_first_not_of(" \t", at), text.size());
        if (at == text.size() && !afterComma) {
            return items;
        }
        afterComma = false;
        std::size_t end = 0;
        if (at < text.size() && text[at] == '"') {
            const std::size_t close = std::min(text.find_first_of("\"\r\n", at + 1), text.size());
            items.push_back({zarn::numericValue(text.substr(at + 1, close - at - 1)), line});
            const bool closed = close < text.size() && text[close] == '"';
            end = text.find_first_of(",\r\n", closed ? close + 1 : close);
        } else {
            end = text.find_first_of(",\r\n", at);
            items.push_back({zarn::numericValue(text.substr(at, end - at)), line});
        }
        if (end == npos) {
            return items;
        }
        at = end + 1;
        if (text[end] == ',') {
            afterComma = true;
            continue;
        }
        if (text[end] == '\r' && at < text.size() && text[at] == '\n') {
            ++at;
        }
        ++line;
    }
}

// The single-byte text that a text starting with a UTF-16 byte-order mark stands for: each pair
// of bytes one character, those outside ASCII the byte 0x80, a last lone byte dropped. Any other
// text as it is.
std::string singleByteText(std::string_view text)
{
    const bool littleEndian = text.starts_with("\xFF\xFE");
    if (!littleEndian && !text.starts_with("\xFE\xFF")) {
        return std::string(text);
    }
    std::string narrow;
    for (std::size_t at = 2; at + 1 < text.size(); at += 2) {
        const auto first = static_cast<unsigned char>(text[at]);
        const auto second = static_cast<unsigned char>(text[at + 1]);
        const unsigned unit = littleEndian ? first | second << 8 : first << 8 | second;
        narrow += static_cast<char>(unit < 0x80 ? unit : 0x80);
    }
    return narrow;
}

std::vector<Item> itemsReadFrom(std::istream& in)
{
    zarn::SlotItemReader reader(in);
    std::vector<Item> items;
    while (const auto item = reader.next()) {
        require(std::isfinite(item->value), "every item has a finite value");
        items.push_back({item->value, item->line});
    }
    return items;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TrickleBuffer buffer(text);
    std::istream in(&buffer);
    require(itemsReadFrom(in) == itemsOfWholeText(singleByteText(text)),
            "reading item by item gives the items of the whole text");
    return 0;
}
