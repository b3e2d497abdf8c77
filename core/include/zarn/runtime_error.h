#pragma once

#include "zarn/outcomes.h"

#include <stdexcept>
#include <utility>

namespace zarn {

// A failure that the editor cannot recover from: a file that cannot be opened, read or written,
// a slot file that ends too soon, a position outside the file. The front end shows it as the
// run-time error report (its text is messageText of the failure) and ends the program.
class RuntimeError : public std::runtime_error
{
public:
    explicit RuntimeError(Failure failure)
        : std::runtime_error(messageText(failure)), m_failure(std::move(failure))
    {}

    const Failure& failure() const { return m_failure; }

private:
    Failure m_failure;
};

// Something in a folder that keeps a transfer from going on, found before it writes: a link that
// another user made, a folder or a pipe where a file should be, names that differ only in case.
// The transfers tell it as a refusal, and the program keeps running.
class InTheWay : public std::runtime_error
{
public:
    explicit InTheWay(Refusal refusal)
        : std::runtime_error(messageText(refusal)), m_refusal(std::move(refusal))
    {}

    const Refusal& refusal() const { return m_refusal; }

private:
    Refusal m_refusal;
};

} // namespace zarn
