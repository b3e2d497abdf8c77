#include "zarn/slot_file.h"

#include "zarn/number_text.h"

namespace zarn {
namespace {

constexpr int endOfFile = std::char_traits<char>::eof();

} // namespace

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

SlotItemReader::SlotItemReader(std::istream& in) : m_in(*in.rdbuf()) {}

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

    SlotItem item{0, m_line};
    NumberScanner number;
    if (c == '"') {
        take();
        for (c = peek(); c != endOfFile && c != '"' && !atLineEnd(c); c = peek()) {
            number.feed(static_cast<char>(take()));
        }
        if (c == '"') {
            take();
        }
        takeThroughSeparator(nullptr);
    } else {
        takeThroughSeparator(&number);
    }
    item.value = number.value();
    return item;
}

int SlotItemReader::peek()
{
    return m_in.sgetc();
}

int SlotItemReader::take()
{
    return m_in.sbumpc();
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

// Takes the rest of the current item, handing its characters to `number` where one is given, and
// then the separator that ends it.
void SlotItemReader::takeThroughSeparator(NumberScanner* number)
{
    int c = peek();
    for (; c != endOfFile && c != ',' && !atLineEnd(c); c = peek()) {
        const char taken = static_cast<char>(take());
        if (number != nullptr) {
            number->feed(taken);
        }
    }
    if (c == ',') {
        take();
        m_afterComma = true;
    } else if (c != endOfFile) {
        takeLineEnd();
    }
}

} // namespace zarn
