#pragma once

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
};

} // namespace zarn
