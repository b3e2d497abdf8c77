#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zarn {

// Reads the number at the start of a text, one character at a time, so that arbitrarily long
// texts need no memory of their own.
//
// Blanks, tabs and line feeds are ignored wherever they stand ("12 34" reads 1234). Then come an
// optional sign ("+" or "-") and either
//  - decimal digits with an optional period and further digits, optionally followed by an
//    exponent: E, e, D or d, an optional sign and digits ("1E3" and "1D3" read 1000; an exponent
//    mark without digits is ignored, so "1E" reads 1); or
//  - &H (hexadecimal) or &O (octal), either letter in either case, and digits. These are integers
//    read by their value: up to &HFFFF they are 16-bit two's complement (&HFFFF reads -1, &H8000
//    reads -32768), up to &HFFFFFFFF 32-bit two's complement (&HFFFFFFFF reads -1, &H10000 reads
//    65536), and larger ones keep their positive value, up to 2^64 - 1 at most. The same limits
//    hold for &O177777 and &O37777777777. A sign before the prefix applies to the result.
// Reading stops at the first character that cannot continue the number; a text without a leading
// number reads 0. Decimal numbers are rounded correctly to the nearest double, however many digits
// they have; magnitudes beyond the double range read as the largest finite double of that sign,
// and tiny ones as 0. The value is therefore always finite, and never negative zero.
class NumberScanner
{
public:
    // Takes the next character of the text. Returns false once the number has ended; later
    // characters are then ignored.
    bool feed(char c);

    // The value of the number read so far.
    double value() const;

private:
    // Where the reading stands: after what the stage is named for. Each stage takes the next
    // character in a function of its own, which moves on to another stage or ends the number.
    enum class Stage
    {
        Start,
        AfterSign,
        AfterAmpersand,
        Hexadecimal,
        Octal,
        IntegerDigits,
        FractionDigits,
        ExponentMark,
        ExponentSign,
        ExponentDigits,
        Done,
    };

    bool feedStart(char c);
    bool feedAfterSign(char c);
    bool feedAfterAmpersand(char c);
    bool feedRadixDigit(char c, unsigned radix);
    bool feedIntegerDigits(char c);
    bool feedFractionDigits(char c);
    bool feedExponentMark(char c);
    bool feedExponentDigits(char c);
    // Goes on at `stage`; true, as the character belongs to the number.
    bool moveTo(Stage stage);
    // Ends the number before the character; false.
    bool stop();
    // A sign: sets `negative` from it and goes on at `next`. False, changing nothing, for any
    // other character.
    bool takeSign(char c, bool& negative, Stage next);
    void addMantissaDigit(char digit, bool inFraction);
    double decimalValue() const;
    double radixValue() const;

    Stage m_stage = Stage::Start;
    bool m_negative = false;
    bool m_isRadix = false;
    bool m_sawDigit = false;
    std::string m_significantDigits;
    // Whether a digit past those kept was not zero.
    bool m_droppedNonZero = false;
    std::int64_t m_digitShift = 0;
    std::int64_t m_exponent = 0;
    bool m_exponentNegative = false;
    std::uint64_t m_radixValue = 0;
};

// The numeric value of a whole text, read by NumberScanner.
double numericValue(std::string_view text);

// The slot address a text stands for: its numeric value rounded to the nearest integer, halves to
// the even neighbour (2.5 gives 2, 3.5 gives 4). Empty when that lies outside the 32-bit signed
// range, which is an overflow.
std::optional<std::int32_t> slotAddressFromText(std::string_view text);

} // namespace zarn
