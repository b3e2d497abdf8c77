#include "run.h"
#include "zarn/utf8_path.h"

#include <string>
#include <vector>

#ifdef _WIN32
// wmain takes the arguments as Windows has them, in UTF-16, and passes them on in UTF-8, so that
// folder names in any language arrive whole.
int wmain(int argc, wchar_t* argv[])
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(zarn::displayPath(argv[i]));
    }
    return static_cast<int>(zarn::cli::run(arguments));
}
#else
int main(int argc, char* argv[])
{
    return static_cast<int>(zarn::cli::run(std::vector<std::string>(argv + 1, argv + argc)));
}
#endif
