#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace zarn {

class ItemText;
class NumberScanner;

// Appends one line of the slot file to `out`: a name between double quotes, or an entry as a
// plain decimal integer; each line ends in CR LF.
void appendNameLine(std::string& out, std::string_view name);
void appendEntryLine(std::string& out, std::int16_t entry);

// How many characters of an entry's text SlotItem::unclearText keeps.
inline constexpr std::size_t unclearTextLength = 40;

// One item of the slot file: its numeric value and the 1-based line it starts on.
struct SlotItem
{
    double value = 0;
    std::size_t line = 0;
    // Where the item is an entry (its value is not 0) yet holds more than a whole decimal number
    // between blanks, such as "28S" or "1e2", its text without the blanks around it: the first
    // unclearTextLength characters, then "..." where it goes on. Empty otherwise.
    std::string unclearText;
};

// An entry whose item holds more than a whole number, which the import takes all the same: the
// line it stands on, its text as SlotItem::unclearText has it, and the entry it is read as.
struct UnclearEntry
{
    std::size_t line = 0;
    std::string text;
    std::int16_t entry = 0;

    bool operator==(const UnclearEntry&) const = default;
};

// Reads a slot file item by item, keeping no more than one item's number in memory.
//
// Items are separated by commas and line ends (CR LF, a lone LF or a lone CR). Blanks and tabs
// before an item are skipped. An empty line is one empty item, and so is the empty text between
// two commas, between a comma and a line end, or between a final comma and the end of the file.
// The last item may end at the end of the file; a line end there adds no item.
// An item that begins with a double quote runs to the closing double quote and may contain
// commas; a quote left open ends at the line end. Whatever follows a closing quote up to the next
// comma or line end is ignored.
// A file that starts with a UTF-16 byte-order mark (FF FE or FE FF, as Notepad saves "Unicode")
// is read as the UTF-16 text it is: its characters are read in place of bytes, and those outside
// ASCII read like a byte above 127. A last lone byte of such a file is ignored.
class SlotItemReader
{
public:
    explicit SlotItemReader(std::istream& in);

    // The next item, or nothing after the last. Read failures of the stream propagate.
    std::optional<SlotItem> next();

private:
    enum class Encoding
    {
        Bytes,
        Utf16LittleEndian,
        Utf16BigEndian,
    };

    int readUtf16();
    int peek();
    int take();
    bool atLineEnd(int c) const;
    void takeLineEnd();
    void takeThroughSeparator(NumberScanner* number, ItemText& text);

    std::streambuf& m_in;
    Encoding m_encoding = Encoding::Bytes;
    // A character read from the file but not yet taken.
    std::optional<int> m_pending;
    std::size_t m_line = 1;
    bool m_afterComma = false;
};

} // namespace zarn
