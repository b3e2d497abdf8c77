#pragma once

#include <functional>
#include <string>

namespace zarn::testing {

// Runs `body` in a child process and returns the text it returns there, or how the child died
// ("killed by signal 24", "exited with 1"). The child ends with _exit, so that nothing of the
// test program runs in it but `body`.
std::string inChildProcess(const std::function<std::string()>& body);

} // namespace zarn::testing
