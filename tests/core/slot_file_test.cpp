#include "synthetic_game.h"
#include "zarn/slot_file.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Items = std::vector<std::pair<double, std::size_t>>; // value, line

Items readAll(const std::string& text)
{
    std::istringstream in(text);
    zarn::SlotItemReader reader(in);
    Items items;
    while (const auto item = reader.next()) {
        items.emplace_back(item->value, item->line);
    }
    return items;
}

struct ReaderCase
{
    std::string text;
    Items items;
};

TEST(SlotItemReader, SplitsItemsAtCommasAndLineEnds)
{
    const ReaderCase cases[] = {
        {"", {}},
        {"1", {{1, 1}}},
        {"1\r\n", {{1, 1}}},
        {"1\r\n2", {{1, 1}, {2, 2}}},
        {"\"Norway\"\r\n\"Infantry\"\r\n-1\r\n", {{0, 1}, {0, 2}, {-1, 3}}},
        // Two numbers on one line are two items.
        {"12,34\r\n", {{12, 1}, {34, 1}}},
        // Empty lines and empty texts between separators are empty items.
        {"\r\n", {{0, 1}}},
        {"\r\n\r\n", {{0, 1}, {0, 2}}},
        {"1,,2", {{1, 1}, {0, 1}, {2, 1}}},
        {"1,\r\n2", {{1, 1}, {0, 1}, {2, 2}}},
        {"1,", {{1, 1}, {0, 1}}},
        {",", {{0, 1}, {0, 1}}},
        // Blanks and tabs before an item are skipped; a blank inside a number joins it.
        {"  \t-1\r\n", {{-1, 1}}},
        {"   \r\n5", {{0, 1}, {5, 2}}},
        {"12 34", {{1234, 1}}},
        {"-0.5", {{-0.5, 1}}},
        // A lone LF and a lone CR end lines too.
        {"1\n2\r3\r\n4", {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
        {"\n\n5", {{0, 1}, {0, 2}, {5, 3}}},
        {"\r", {{0, 1}}},
        {"\r\r\n", {{0, 1}, {0, 2}}},
        // Quoted items may hold commas; text after the closing quote is ignored.
        {"\"a,b\"\r\n5", {{0, 1}, {5, 2}}},
        {"\"12,5\"", {{12, 1}}},
        {"\"12\"34\r\n", {{12, 1}}},
        {"\"Norway\" junk,3", {{0, 1}, {3, 1}}},
        {"  \"7\"", {{7, 1}}},
        {"x\"5\"", {{0, 1}}},
        // A quote left open ends at the line end.
        {"\"unclosed\r\n7", {{0, 1}, {7, 2}}},
        {"\"unclosed, 3\n7", {{0, 1}, {7, 2}}},
        {"\"", {{0, 1}}},
        // Bytes that are no part of a number.
        {std::string("\0"
                     "5\r\n6",
                     5),
         {{0, 1}, {6, 2}}},
        {std::string("\"Nor\0way\"\r\n513\0\0\r\n6", 19), {{0, 1}, {513, 2}, {6, 3}}},
        {"513\xB5\xA0\r\n6", {{513, 1}, {6, 2}}},
        {"\xEF\xBB\xBF\"Norway\"\r\n-1", {{0, 1}, {-1, 2}}},
        // A lone byte FF or FE that starts no UTF-16 mark is read as itself.
        {"\xFF", {{0, 1}}},
        {"\xFF"
         "5\r\n6",
         {{0, 1}, {6, 2}}},
        {"\xFE\xFE\r\n-1", {{0, 1}, {-1, 2}}},
        {"\xFE", {{0, 1}}},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE("text: " + c.text);
        EXPECT_EQ(readAll(c.text), c.items);
    }
}

TEST(SlotItemReader, ReadsUtf16TextAsTheTextItIs)
{
    struct Utf16Case
    {
        std::u16string text;
        Items items;
    };
    const Utf16Case cases[] = {
        {u"", {}},
        {u"\"Norway\"\r\n\"Infantry\"\r\n-1\r\n", {{0, 1}, {0, 2}, {-1, 3}}},
        {u"12,34\n&HFFFF\r-0.5", {{12, 1}, {34, 1}, {-1, 2}, {-0.5, 3}}},
        // Characters outside ASCII are no part of a number; a blank inside one joins it.
        {u"\"Norw\u00e9gen\"\r\n5\u00e9\r\n\u20ac7\r\n1 2", {{0, 1}, {5, 2}, {0, 3}, {12, 4}}},
        // Characters of which one byte alone would be a digit or a line end.
        {u"\u0d31\u3100\u0a00", {{0, 1}}},
        {u"7\u0d00\u000d8", {{7, 1}, {8, 2}}},
    };
    for (const Utf16Case& c : cases) {
        for (const bool bigEndian : {false, true}) {
            SCOPED_TRACE(std::string(bigEndian ? "big-endian, " : "little-endian, ") +
                         std::to_string(c.text.size()) + " characters");
            EXPECT_EQ(readAll(zarn::testing::utf16File(c.text, bigEndian)), c.items);
        }
    }
}

TEST(SlotItemReader, IgnoresALastLoneByteOfUtf16Text)
{
    EXPECT_EQ(readAll(zarn::testing::utf16File(u"5\r\n6", false) + "7"), (Items{{5, 1}, {6, 2}}));
    EXPECT_EQ(readAll(zarn::testing::utf16File(u"5\r\n6", true) + "7"), (Items{{5, 1}, {6, 2}}));
}

TEST(SlotItemReader, ReadsAVeryLongLineAsOneItem)
{
    const std::string line = "7" + std::string(100000, ' ') + "3" + std::string(100000, 'x');
    EXPECT_EQ(readAll(line + "\r\n-1\r\n"), (Items{{73, 1}, {-1, 2}}));
}

TEST(SlotItemReader, GivesTheTextOfEntriesThatHoldMoreThanAWholeNumber)
{
    struct TextCase
    {
        std::string text;
        std::string unclearText;
    };
    const std::string longText = "7" + std::string(60, 'x');
    const TextCase cases[] = {
        {"285", ""},
        {"  -1 \t", ""},
        {"+5", ""},
        {"28S", "28S"},
        {"1e2", "1e2"},
        {"- 285", "- 285"},
        {"12 34", "12 34"},
        {"1.5\t ", "1.5"},
        {"&H10", "&H10"},
        {"285 Tiger", "285 Tiger"},
        {"\"28\"", "\"28\""},
        // Names and other texts that read 0 are no entries.
        {"\"Norway\"", ""},
        {longText, longText.substr(0, 40) + "..."},
        // A character beyond ASCII of UTF-16 text reads like a byte above 127.
        {zarn::testing::utf16File(u"5\u00e9", false), "5\x80"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE("text: " + c.text);
        std::istringstream in(c.text);
        zarn::SlotItemReader reader(in);
        EXPECT_EQ(reader.next()->unclearText, c.unclearText);
    }
}

TEST(SlotFileLines, AreQuotedNamesOrPlainDecimalsEndingInCrLf)
{
    std::string out;
    zarn::appendNameLine(out, "Norway");
    zarn::appendNameLine(out, "Anti-Tank");
    for (const std::int16_t entry : {-1, 0, 7, 327, 32767, -32768}) {
        zarn::appendEntryLine(out, entry);
    }
    EXPECT_EQ(out, "\"Norway\"\r\n\"Anti-Tank\"\r\n-1\r\n0\r\n7\r\n327\r\n32767\r\n-32768\r\n");
}

} // namespace
