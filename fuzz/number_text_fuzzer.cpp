// Any text has a finite numeric value, and its slot address is that value rounded half to even,
// or an overflow exactly when the rounded value leaves the 32-bit range.
#include "fuzz_support.h"
#include "zarn/number_text.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

using zarn::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double value = zarn::numericValue(text);
    require(std::isfinite(value), "the value is finite");
    require(!(value == 0 && std::signbit(value)), "the value is never negative zero");

    // Blanks, tabs and line feeds are ignored wherever they stand, and a comma ends any number.
    require(zarn::numericValue(" \t\n" + text) == value, "leading blanks change nothing");
    require(zarn::numericValue(text + ",9") == value, "a comma ends the number");

    // The current rounding mode is to nearest, halves to even.
    require(std::fegetround() == FE_TONEAREST, "rounding to nearest");
    const double rounded = std::nearbyint(value);
    const bool fits = rounded >= std::numeric_limits<std::int32_t>::min() &&
                      rounded <= std::numeric_limits<std::int32_t>::max();
    const std::optional<std::int32_t> address = zarn::slotAddressFromText(text);
    require(address.has_value() == fits, "an overflow exactly when outside 32 bits");
    require(!address || *address == rounded, "the address is the value rounded half to even");
    return 0;
}
