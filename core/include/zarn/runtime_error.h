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

// Something in a folder that keeps a transfer from going on, found before it writes: a link that
// another user made, a folder or a pipe where a file should be, names that differ only in case.
// Its text says what is there and what to do. The transfers tell it as a refusal, and the program
// keeps running.
class InTheWay : public RuntimeError
{
public:
    using RuntimeError::RuntimeError;
};

} // namespace zarn
