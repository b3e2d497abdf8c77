#include "zarn/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace zarn {
namespace {

// More digits than any double needs for correct rounding; later integer digits only scale the
// value, later fraction digits cannot change it.
constexpr std::size_t maxSignificantDigits = 800;
// Far beyond the double range, yet safe to add up without overflow.
constexpr std::int64_t exponentLimit = 1'000'000'000;

bool isIgnored(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

int digitValue(char c)
{
    if (isDecimalDigit(c)) {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

} // namespace

bool NumberScanner::feed(char c)
{
    if (m_stage == Stage::Done) {
        return false;
    }
    if (isIgnored(c)) {
        return true;
    }
    switch (m_stage) {
    case Stage::Start:
        if (c == '+' || c == '-') {
            m_negative = c == '-';
            m_stage = Stage::AfterSign;
            return true;
        }
        [[fallthrough]];
    case Stage::AfterSign:
        if (c == '&') {
            m_stage = Stage::AfterAmpersand;
            return true;
        }
        return feedDecimal(c);
    case Stage::AfterAmpersand:
        if (c == 'H' || c == 'h') {
            m_stage = Stage::Hexadecimal;
            m_isRadix = true;
            return true;
        }
        if (c == 'O' || c == 'o') {
            m_stage = Stage::Octal;
            m_isRadix = true;
            return true;
        }
        m_stage = Stage::Done;
        return false;
    case Stage::Hexadecimal:
        return feedRadix(c, 16);
    case Stage::Octal:
        return feedRadix(c, 8);
    default:
        return feedDecimal(c);
    }
}

bool NumberScanner::feedDecimal(char c)
{
    const bool inMantissa = m_stage == Stage::Start || m_stage == Stage::AfterSign ||
                            m_stage == Stage::IntegerDigits || m_stage == Stage::FractionDigits;
    if (inMantissa && isDecimalDigit(c)) {
        const bool inFraction = m_stage == Stage::FractionDigits;
        addMantissaDigit(c, inFraction);
        m_stage = inFraction ? Stage::FractionDigits : Stage::IntegerDigits;
        return true;
    }
    if (c == '.' && m_stage != Stage::FractionDigits && inMantissa) {
        m_stage = Stage::FractionDigits;
        return true;
    }
    const bool mantissaHasDigits =
        m_stage == Stage::IntegerDigits || (m_stage == Stage::FractionDigits && m_sawDigit);
    if (mantissaHasDigits && (c == 'E' || c == 'e' || c == 'D' || c == 'd')) {
        m_stage = Stage::ExponentMark;
        return true;
    }
    if (m_stage == Stage::ExponentMark && (c == '+' || c == '-')) {
        m_exponentNegative = c == '-';
        m_stage = Stage::ExponentSign;
        return true;
    }
    if ((m_stage == Stage::ExponentMark || m_stage == Stage::ExponentSign ||
         m_stage == Stage::ExponentDigits) &&
        isDecimalDigit(c)) {
        m_exponent = std::min(m_exponent * 10 + (c - '0'), exponentLimit);
        m_stage = Stage::ExponentDigits;
        return true;
    }
    m_stage = Stage::Done;
    return false;
}

void NumberScanner::addMantissaDigit(char digit, bool inFraction)
{
    m_sawDigit = true;
    const bool leadingZero = m_significantDigits.empty() && digit == '0';
    const bool kept = !leadingZero && m_significantDigits.size() < maxSignificantDigits;
    if (kept) {
        m_significantDigits += digit;
    }
    // A fraction digit that counts moves the point left; an integer digit too many to keep
    // scales the value up by ten.
    if (inFraction && (kept || leadingZero)) {
        m_digitShift = std::max(m_digitShift - 1, -exponentLimit);
    } else if (!inFraction && !kept && !leadingZero) {
        m_digitShift = std::min(m_digitShift + 1, exponentLimit);
    }
}

bool NumberScanner::feedRadix(char c, unsigned radix)
{
    const int digit = digitValue(c);
    if (digit < 0 || static_cast<unsigned>(digit) >= radix) {
        m_stage = Stage::Done;
        return false;
    }
    constexpr auto maxValue = std::numeric_limits<std::uint64_t>::max();
    m_radixValue =
        m_radixValue > (maxValue - digit) / radix ? maxValue : m_radixValue * radix + digit;
    return true;
}

double NumberScanner::value() const
{
    const double magnitude = m_isRadix ? radixValue() : decimalValue();
    const double signedValue = m_negative ? -magnitude : magnitude;
    return signedValue == 0 ? 0.0 : signedValue;
}

double NumberScanner::radixValue() const
{
    if (m_radixValue <= 0xFFFF) {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(m_radixValue));
    }
    if (m_radixValue <= 0xFFFFFFFF) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(m_radixValue));
    }
    return static_cast<double>(m_radixValue);
}

double NumberScanner::decimalValue() const
{
    if (m_significantDigits.empty()) {
        return 0;
    }
    const std::int64_t exponent =
        std::clamp(m_digitShift + (m_exponentNegative ? -m_exponent : m_exponent), -exponentLimit,
                   exponentLimit);
    const std::string text = m_significantDigits + 'e' + std::to_string(exponent);
    double result = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: the digits before the point tell which.
        const auto integerDigits = static_cast<std::int64_t>(m_significantDigits.size()) + exponent;
        return integerDigits > 0 ? std::numeric_limits<double>::max() : 0.0;
    }
    return result;
}

double numericValue(std::string_view text)
{
    NumberScanner scanner;
    for (const char c : text) {
        if (!scanner.feed(c)) {
            break;
        }
    }
    return scanner.value();
}

std::optional<std::int32_t> slotAddressFromText(std::string_view text)
{
    const double value = numericValue(text);
    double rounded = std::round(value);
    if (std::abs(value - std::trunc(value)) == 0.5) {
        rounded = 2.0 * std::round(value / 2.0);
    }
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

} // namespace zarn
