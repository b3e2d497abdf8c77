#pragma once

#include "zarn/form/layout.h"
#include "zarn/message_presenter.h"

#include <string>

namespace zarn::form {

// What the window shows, as the Form tells it. Each front end implements it on its controls;
// showMessage, from MessagePresenter, shows a modal message box titled "zarn".
class View : public MessagePresenter
{
public:
    // Sets the text of the address box. Like a typed change, this comes back to the Form as a
    // change of the address text.
    virtual void setAddressText(const std::string& text) = 0;
    // Shows the name of the file being edited; its label fits the text.
    virtual void setFileName(const std::string& name) = 0;
    virtual void setFileNameColour(Rgb colour) = 0;
    // Switches a label's bold weight on or off; the label keeps its left and top edges.
    virtual void setBold(ControlId label, bool bold) = 0;
    // Ends the program with the given exit status once the present event has been handled.
    virtual void endProgram(int exitStatus) = 0;
};

} // namespace zarn::form
