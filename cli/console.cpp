#include "console.h"

#include <algorithm>
#include <cstdio>

namespace zarn::cli {

bool outputComplete()
{
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
}

std::string withLineFeeds(std::string_view text)
{
    std::string lines(text);
    std::ranges::replace(lines, '\r', '\n');
    return lines;
}

} // namespace zarn::cli
