#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// How numbers stand in the texts that zarn shows.
namespace zarn {

// A number as the editor writes it: a blank in place of the sign when it is not negative.
std::string withSignPlace(std::int64_t number);

// A count and the noun it counts, in the singular for 1 only: "1 entry", "2 entries".
std::string counted(std::size_t count, std::string_view one, std::string_view more);

} // namespace zarn
