#pragma once

#include <string>

namespace zarn::testing {

// What zarn-cli prints after each usage error and at the head of its help.
inline const std::string usage = "usage: zarn-cli export [--game ag|pg] [--address N] [FOLDER]\n"
                                 "       zarn-cli import [--game ag|pg] [--address N] [FOLDER]\n"
                                 "       zarn-cli diff   [--game ag|pg] [--address N] [FOLDER]\n"
                                 "       zarn-cli check  [--strict] [FILE]\n"
                                 "       zarn-cli --help | --version\n";

} // namespace zarn::testing
