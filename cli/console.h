#pragma once

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

// The text with each carriage return, which ends a line of the core's messages, as a line feed.
std::string withLineFeeds(std::string_view text);

// Prints each of the core's messages to standard error, as lines.
class ErrorStreamPresenter : public MessagePresenter
{
public:
    void showMessage(const std::string& text) override { writeError(withLineFeeds(text) + "\n"); }
};

} // namespace zarn::cli
