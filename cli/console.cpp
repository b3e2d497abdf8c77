#include "console.h"

#include <cstdio>

namespace zarn::cli {

bool outputComplete()
{
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
}

} // namespace zarn::cli
