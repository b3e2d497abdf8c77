#pragma once

#include "zarn/message_presenter.h"
#include "zarn/outcomes.h"

#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

namespace zarn {

// Lets GoogleTest show an outcome, or a kind of one, by its words in failure messages, each line
// break as "\r".
template <typename Kind>
requires std::is_constructible_v<Refusal, Kind> || std::is_constructible_v<Failure, Kind>
void PrintTo(const Kind& kind, std::ostream* out)
{
    std::string text;
    if constexpr (std::is_constructible_v<Refusal, Kind>) {
        text = messageText(Refusal(kind));
    } else {
        text = messageText(Failure(kind));
    }
    *out << '"';
    for (const char c : text) {
        *out << (c == '\r' ? std::string("\\r") : std::string(1, c));
    }
    *out << '"';
}

namespace testing {

// Keeps every message and refusal it is given, in order, instead of showing them.
class RecordingPresenter : public MessagePresenter
{
public:
    void showMessage(const std::string& text) override { shown.push_back(text); }
    void showRefusal(const Refusal& refusal) override { refusals.push_back(refusal); }

    std::vector<std::string> shown;
    std::vector<Refusal> refusals;
};

} // namespace testing
} // namespace zarn
