#pragma once

#include "texts.h"
#include "zarn/message_presenter.h"

#include <string>
#include <string_view>

namespace zarn::cli {

// Write UTF-8 text to standard output or standard error: as it is to a file or a pipe, and to a
// Windows console as the characters it stands for.
void writeOut(std::string_view text);
void writeError(std::string_view text);

// Whether standard output has taken everything written to it, once flushed.
bool outputComplete();

// Prints each of the core's messages to standard error, as lines, and its refusals in zarn-cli's
// words.
class ErrorStreamPresenter : public MessagePresenter
{
public:
    void showMessage(const std::string& text) override { writeError(texts::asLines(text)); }
    void showRefusal(const Refusal& refusal) override { writeError(texts::refusal(refusal)); }
};

} // namespace zarn::cli
