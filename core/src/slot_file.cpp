#include "zarn/slot_file.h"

#include "zarn/number_text.h"

#include <array>
#include <utility>

namespace zarn {
namespace {

constexpr int endOfFile = std::char_traits<char>::eof();

// What a UTF-16 character outside ASCII reads as: a byte that is no part of any number.
constexpr int beyondAscii = 0x80;

} // namespace

// Follows the characters of an item: whether they make a whole decimal number, with an optional
// sign, between blanks, and the first of them.
class ItemText
{
public:
    void add(int c)
    {
        const bool digit = c >= '0' && c <= '9';
        const bool blank = c == ' ' || c == '\t';
        switch (m_stage) {
        case Stage::Start:
            m_stage = c == '-' || c == '+' ? Stage::Sign : digit ? Stage::Digits : Stage::Unclear;
            break;
        case Stage::Sign:
            m_stage = digit ? Stage::Digits : Stage::Unclear;
            break;
        case Stage::Digits:
            m_stage = digit ? Stage::Digits : blank ? Stage::Blanks : Stage::Unclear;
            break;
        case Stage::Blanks:
            m_stage = blank ? Stage::Blanks : Stage::Unclear;
            break;
        case Stage::Unclear:
            break;
        }
        if (m_length < m_first.size()) {
            m_first[m_length++] = static_cast<char>(c);
        } else {
            m_cut = true;
        }
    }

    bool isWholeNumber() const { return m_stage == Stage::Digits || m_stage == Stage::Blanks; }

    // The text as SlotItem::unclearText has it.
    std::string shown() const
    {
        std::string text(m_first.data(), m_length);
        if (m_cut) {
            return text + "...";
        }
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
            text.pop_back();
        }
        return text;
    }

private:
    enum class Stage
    {
        Start,
        Sign,
        Digits,
        Blanks,
        Unclear,
    };

    Stage m_stage = Stage::Start;
    // The first characters, kept without taking memory, since most items are never shown.
    std::array<char, unclearTextLength> m_first{};
    std::size_t m_length = 0;
    bool m_cut = false;
};

void appendNameLine(std::string& out, std::string_view name)
{
    out += '"';
    out += name;
    out += "\"\r\n";
}

void appendEntryLine(std::string& out, std::int16_t entry)
{
    out += std::to_string(entry);
    out += "\r\n";
}

SlotItemReader::SlotItemReader(std::istream& in) : m_in(*in.rdbuf())
{
    const int first = m_in.sgetc();
    if (first != 0xFF && first != 0xFE) {
        return;
    }
    m_in.sbumpc();
    const int second = m_in.sgetc();
    if (first == 0xFF && second == 0xFE) {
        m_encoding = Encoding::Utf16LittleEndian;
    } else if (first == 0xFE && second == 0xFF) {
        m_encoding = Encoding::Utf16BigEndian;
    } else {
        m_pending = first;
        return;
    }
    m_in.sbumpc();
}

std::optional<SlotItem> SlotItemReader::next()
{
    int c = peek();
    while (c == ' ' || c == '\t') {
        take();
        c = peek();
    }
    if (c == endOfFile && !m_afterComma) {
        return std::nullopt;
    }
    m_afterComma = false;

    SlotItem item{0, m_line, {}};
    NumberScanner number;
    ItemText text;
    if (c == '"') {
        text.add(take());
        for (c = peek(); c != endOfFile && c != '"' && !atLineEnd(c); c = peek()) {
            const int taken = take();
            number.feed(static_cast<char>(taken));
            text.add(taken);
        }
        if (c == '"') {
            text.add(take());
        }
        takeThroughSeparator(nullptr, text);
    } else {
        takeThroughSeparator(&number, text);
    }
    item.value = number.value();
    if (item.value != 0 && !text.isWholeNumber()) {
        item.unclearText = text.shown();
    }
    return item;
}

int SlotItemReader::readUtf16()
{
    const int first = m_in.sbumpc();
    const int second = first == endOfFile ? endOfFile : m_in.sbumpc();
    if (second == endOfFile) {
        return endOfFile;
    }
    const int unit =
        m_encoding == Encoding::Utf16LittleEndian ? first | second << 8 : first << 8 | second;
    return unit < beyondAscii ? unit : beyondAscii;
}

int SlotItemReader::peek()
{
    if (m_pending) {
        return *m_pending;
    }
    if (m_encoding == Encoding::Bytes) {
        return m_in.sgetc();
    }
    m_pending = readUtf16();
    return *m_pending;
}

int SlotItemReader::take()
{
    if (m_pending) {
        return *std::exchange(m_pending, std::nullopt);
    }
    return m_encoding == Encoding::Bytes ? m_in.sbumpc() : readUtf16();
}

bool SlotItemReader::atLineEnd(int c) const
{
    return c == '\r' || c == '\n';
}

void SlotItemReader::takeLineEnd()
{
    if (take() == '\r' && peek() == '\n') {
        take();
    }
    ++m_line;
}

// Takes the rest of the current item, handing its characters to `text` and to `number` where one
// is given, and then the separator that ends it.
void SlotItemReader::takeThroughSeparator(NumberScanner* number, ItemText& text)
{
    int c = peek();
    for (; c != endOfFile && c != ',' && !atLineEnd(c); c = peek()) {
        const int taken = take();
        if (number != nullptr) {
            number->feed(static_cast<char>(taken));
        }
        text.add(taken);
    }
    if (c == ',') {
        take();
        m_afterComma = true;
    } else if (c != endOfFile) {
        takeLineEnd();
    }
}

} // namespace zarn
