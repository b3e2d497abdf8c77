#include "zarn/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace zarn {
namespace {

// More digits than the exact value of any halfway point between two doubles has (767 at most).
// Later integer digits only scale the value; of the later digits, only whether any of them is not
// zero can change the rounding, which one sticky digit after the kept ones stands for.
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

// E and D both mark an exponent, in either case.
bool isExponentMark(char c)
{
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
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
        return feedStart(c);
    case Stage::AfterSign:
        return feedAfterSign(c);
    case Stage::AfterAmpersand:
        return feedAfterAmpersand(c);
    case Stage::Hexadecimal:
        return feedRadixDigit(c, 16);
    case Stage::Octal:
        return feedRadixDigit(c, 8);
    case Stage::IntegerDigits:
        return feedIntegerDigits(c);
    case Stage::FractionDigits:
        return feedFractionDigits(c);
    case Stage::ExponentMark:
        return feedExponentMark(c);
    case Stage::ExponentSign:
    case Stage::ExponentDigits:
        return feedExponentDigits(c);
    case Stage::Done:
        break;
    }
    return false;
}

bool NumberScanner::moveTo(Stage stage)
{
    m_stage = stage;
    return true;
}

bool NumberScanner::stop()
{
    m_stage = Stage::Done;
    return false;
}

bool NumberScanner::takeSign(char c, bool& negative, Stage next)
{
    if (c != '+' && c != '-') {
        return false;
    }
    negative = c == '-';
    return moveTo(next);
}

bool NumberScanner::feedStart(char c)
{
    return takeSign(c, m_negative, Stage::AfterSign) || feedAfterSign(c);
}

bool NumberScanner::feedAfterSign(char c)
{
    if (c == '&') {
        return moveTo(Stage::AfterAmpersand);
    }
    if (c == '.') {
        return moveTo(Stage::FractionDigits);
    }
    if (isDecimalDigit(c)) {
        addMantissaDigit(c, false);
        return moveTo(Stage::IntegerDigits);
    }
    return stop();
}

bool NumberScanner::feedAfterAmpersand(char c)
{
    if (c == 'H' || c == 'h') {
        m_isRadix = true;
        return moveTo(Stage::Hexadecimal);
    }
    if (c == 'O' || c == 'o') {
        m_isRadix = true;
        return moveTo(Stage::Octal);
    }
    return stop();
}

bool NumberScanner::feedIntegerDigits(char c)
{
    if (isDecimalDigit(c)) {
        addMantissaDigit(c, false);
        return true;
    }
    if (c == '.') {
        return moveTo(Stage::FractionDigits);
    }
    return isExponentMark(c) ? moveTo(Stage::ExponentMark) : stop();
}

bool NumberScanner::feedFractionDigits(char c)
{
    if (isDecimalDigit(c)) {
        addMantissaDigit(c, true);
        return true;
    }
    // After a point without digits on either side there is nothing for an exponent to scale.
    return isExponentMark(c) && m_sawDigit ? moveTo(Stage::ExponentMark) : stop();
}

bool NumberScanner::feedExponentMark(char c)
{
    return takeSign(c, m_exponentNegative, Stage::ExponentSign) || feedExponentDigits(c);
}

bool NumberScanner::feedExponentDigits(char c)
{
    if (!isDecimalDigit(c)) {
        return stop();
    }
    m_exponent = std::min(m_exponent * 10 + (c - '0'), exponentLimit);
    return moveTo(Stage::ExponentDigits);
}

void NumberScanner::addMantissaDigit(char digit, bool inFraction)
{
    m_sawDigit = true;
    const bool leadingZero = m_significantDigits.empty() && digit == '0';
    const bool kept = !leadingZero && m_significantDigits.size() < maxSignificantDigits;
    if (kept) {
        m_significantDigits += digit;
    } else if (digit != '0') {
        m_droppedNonZero = true;
    }
    // A fraction digit that counts moves the point left; an integer digit too many to keep
    // scales the value up by ten.
    if (inFraction && (kept || leadingZero)) {
        m_digitShift = std::max(m_digitShift - 1, -exponentLimit);
    } else if (!inFraction && !kept && !leadingZero) {
        m_digitShift = std::min(m_digitShift + 1, exponentLimit);
    }
}

bool NumberScanner::feedRadixDigit(char c, unsigned radix)
{
    const int digit = digitValue(c);
    if (digit < 0 || static_cast<unsigned>(digit) >= radix) {
        return stop();
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
    // A dropped digit that is not zero puts the value above the kept digits, below the next
    // number they could make: a 1 just after them lies there too, and rounds the same.
    const std::string text = m_droppedNonZero
                                 ? m_significantDigits + "1e" + std::to_string(exponent - 1)
                                 : m_significantDigits + 'e' + std::to_string(exponent);
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
