#include "zarn/wording.h"

namespace zarn {

std::string withSignPlace(std::int64_t number)
{
    std::string text = std::to_string(number);
    if (number >= 0) {
        text.insert(text.begin(), ' ');
    }
    return text;
}

std::string counted(std::size_t count, std::string_view one, std::string_view more)
{
    return std::to_string(count) + " " + std::string(count == 1 ? one : more);
}

} // namespace zarn
