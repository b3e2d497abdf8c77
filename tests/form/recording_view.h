#pragma once

#include "zarn/form/form.h"
#include "zarn/form/view.h"

#include <optional>
#include <string>
#include <vector>

namespace zarn::testing {

// A view that writes down, in order, everything the form tells it, and hands a new address text
// back to the form as a window's address box would.
class RecordingView : public form::View
{
public:
    void attach(form::Form& form) { m_form = &form; }

    void setAddressText(const std::string& text) override
    {
        events.push_back("address text \"" + text + "\"");
        if (m_form != nullptr) {
            m_form->addressTextChanged(text);
        }
    }
    void setFileName(const std::string& name) override { events.push_back("file name " + name); }
    void setFileNameColour(form::Rgb colour) override
    {
        events.push_back("file name colour " + std::to_string(colour.red) + " " +
                         std::to_string(colour.green) + " " + std::to_string(colour.blue));
    }
    void setBold(form::ControlId label, bool bold) override
    {
        events.push_back((bold ? "bold " : "regular ") + std::string(form::control(label).text));
    }
    void showMessage(const std::string& text) override
    {
        messages.push_back(text);
        events.push_back("message");
    }
    void endProgram(int exitStatus) override
    {
        events.push_back("end " + std::to_string(exitStatus));
    }

    std::vector<std::string> events;
    std::vector<std::string> messages;

private:
    form::Form* m_form = nullptr;
};

} // namespace zarn::testing
