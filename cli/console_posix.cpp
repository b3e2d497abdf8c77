#include "console.h"

#include <cstdio>

namespace zarn::cli {

void writeOut(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void writeError(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stderr);
}

} // namespace zarn::cli
