#include "zarn/number_text.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

struct ValueCase
{
    std::string text;
    double value;
};

constexpr double largest = std::numeric_limits<double>::max();

TEST(NumericValue, ReadsTheLeadingNumber)
{
    const ValueCase cases[] = {
        // Blanks, tabs and line feeds are ignored wherever they stand.
        {"12 34", 1234},
        {" 1883345", 1883345},
        {"\t\n7", 7},
        {"1 . 5", 1.5},
        {"- 5", -5},
        {"&H F F", 255},
        // A carriage return is not ignored.
        {"1\r2", 1},
        // Reading stops at the first character that cannot continue the number.
        {"12abc", 12},
        {"7.9", 7.9},
        {"1,5", 1},
        {"1,000", 1},
        {"5$", 5},
        {"$5", 0},
        {"1.2.3", 1.2},
        {"0x1CBCD1", 0},
        // No leading number reads 0.
        {"", 0},
        {"Norway", 0},
        {"\"Infantry\"", 0},
        {"-", 0},
        {".", 0},
        {"--5", 0},
        {"+-5", 0},
        // Signs and decimal points.
        {"+5", 5},
        {"-1", -1},
        {".5", 0.5},
        {"-.5", -0.5},
        {"-0.5", -0.5},
        {"00012", 12},
        {"0.001", 0.001},
        // Exponents with E or D.
        {"1E3", 1000},
        {"1D3", 1000},
        {"1e-2", 0.01},
        {"2.5d+2", 250},
        {"1E", 1},
        {"1E+", 1},
        {"1Ex", 1},
        {"1E5.5", 100000},
        {"E3", 0},
        {".E3", 0},
        // Hexadecimal and octal integers: 16 bits, 32 bits, then their plain value.
        {"&HFFFF", -1},
        {"&hff", 255},
        {"&H7FFF", 32767},
        {"&H8000", -32768},
        {"&H10000", 65536},
        {"&HFFFFFFFF", -1},
        {"&H80000000", -2147483648.0},
        {"&H100000000", 4294967296.0},
        {"&HFFFFFFFFFFFFFFFFFFFF", 18446744073709551615.0},
        {"-&H10", -16},
        {"&HG", 0},
        {"&H1G", 1},
        {"&O17", 15},
        {"&o177777", -1},
        {"&O8", 0},
        {"&O78", 7},
        {"&", 0},
        {"&X1", 0},
        // Decimal digits are rounded correctly, however many there are.
        {"0.1", 0.1},
        {"12345678901234567890", 12345678901234567890.0},
        {"9007199254740993", 9007199254740992.0},
        {"1" + std::string(300, '0'), 1e300},
        {"0." + std::string(300, '0') + "1", 1e-301},
        // The halfway point between 1 and the next double, 1 + 2^-53, goes to the even 1; a digit
        // above it, however far back, rounds up.
        {"1.00000000000000011102230246251565404236316680908203125", 1},
        {"1.00000000000000011102230246251565404236316680908203125" + std::string(800, '0') + "1",
         1 + 0x1p-52},
        {"1.00000000000000011102230246251565404236316680908203125" + std::string(800, '0'), 1},
        // Beyond the range of a double: the largest finite value, or 0.
        {"1e400", largest},
        {"-1e400", -largest},
        {"1" + std::string(400, '0'), largest},
        {std::string(100000, '9'), largest},
        {"1e-400", 0},
        {"0." + std::string(100000, '0') + "1", 0},
        {"1e999999999999999999999", largest},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE("text: " + c.text.substr(0, 40));
        const double value = zarn::numericValue(c.text);
        EXPECT_EQ(value, c.value);
        EXPECT_FALSE(std::signbit(value) && value == 0) << "negative zero";
    }
}

TEST(NumericValue, NegativeZeroReadsAsPlainZero)
{
    for (const char* text : {"-0", "-0.0", "-0E5", "-&H0"}) {
        SCOPED_TRACE(text);
        const double value = zarn::numericValue(text);
        EXPECT_EQ(value, 0);
        EXPECT_FALSE(std::signbit(value));
    }
}

TEST(NumberScanner, ReportsWhereTheNumberEnds)
{
    zarn::NumberScanner scanner;
    EXPECT_TRUE(scanner.feed('4'));
    EXPECT_TRUE(scanner.feed(' '));
    EXPECT_TRUE(scanner.feed('2'));
    EXPECT_FALSE(scanner.feed('x'));
    EXPECT_FALSE(scanner.feed('7'));
    EXPECT_EQ(scanner.value(), 42);
}

struct AddressCase
{
    std::string text;
    std::optional<std::int32_t> address;
};

// The address text's rule, for the editor state, the form and both windows alike: each of them
// has a test of its own that it follows it.
TEST(SlotAddressFromText, RoundsHalvesToEvenAndRefusesOverflowWhateverTheTextHolds)
{
    const AddressCase cases[] = {
        {" 1883345", 1883345},
        {"1883345", 1883345},
        {"0x1CBCD1", 0},
        {"1883345.5", 1883346},
        {"1883344.5", 1883344},
        {"", 0},
        {"abc", 0},
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"-3.5", -4},
        {"2.4999", 2},
        {"2.5001", 3},
        {"-0.4", 0},
        {"&H1CBCD1", 1883345},
        {"&HFFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"2147483646.5", 2147483646},
        {"2147483647.4", 2147483647},
        {"2147483647.5", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483648", -2147483647 - 1},
        {"-2147483648.5", -2147483647 - 1},
        {"-2147483649", std::nullopt},
        {"1e10", std::nullopt},
        {"&H100000000", std::nullopt},
        {std::string(500, '9'), std::nullopt},
        {"12abc", 12},
        {" 1883345.5", 1883346},
        {"-7", -7},
        {"21474836470", std::nullopt},
        // Blanks and other characters wherever they stand, in any number.
        {"   ", 0},
        {" 1 8 8 3 3 4 5 ", 1883345},
        {std::string(1000000, ' ') + "5", 5},
        {"1883345" + std::string(1000000, ' '), 1883345},
        {std::string(1000000, '9'), std::nullopt},
        {"0." + std::string(1000000, '9'), 1},
        {"-0", 0},
        {"-99999999999", std::nullopt},
        {"&H" + std::string(1000, 'F'), std::nullopt},
        {"&O" + std::string(1000, '7'), std::nullopt},
        {"&H", 0},
        {"&O", 0},
        {"&O7136321", 1883345},
        {"1e9999999999", std::nullopt},
        {"1e-9999999999", 0},
        {std::string("\0"
                     "5",
                     2),
         0},
        {"\xEF\xBB\xBF"
         "5",
         0},
    };
    for (const AddressCase& c : cases) {
        SCOPED_TRACE("text: " + c.text.substr(0, 40));
        EXPECT_EQ(zarn::slotAddressFromText(c.text), c.address);
    }
}

} // namespace
