#pragma once

#include <stdexcept>
#include <string>

namespace zarn {

// A failure that the editor cannot recover from: a file that cannot be opened, read or written,
// a slot file that ends too soon, a position outside the file. Its text names the file and what
// went wrong; the front end shows it as the run-time error report and ends the program.
class RuntimeError : public std::runtime_error
{
public:
    explicit RuntimeError(const std::string& text) : std::runtime_error(text) {}
};

} // namespace zarn
