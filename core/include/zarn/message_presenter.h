#pragma once

#include "zarn/outcomes.h"

#include <string>

namespace zarn {

// How the core tells the user something: the front end shows each text in a modal box titled
// "zarn" with a single OK button. Lines inside a text are separated by a carriage return.
class MessagePresenter
{
public:
    virtual ~MessagePresenter() = default;

    // Shows the text and returns once the user has dismissed it.
    virtual void showMessage(const std::string& text) = 0;

    // Tells the user why the core refused, by default in the window's words (messageText). A front
    // end that words some kinds its own way, or a test that looks at the kind, overrides it.
    virtual void showRefusal(const Refusal& refusal) { showMessage(messageText(refusal)); }
};

} // namespace zarn
