#pragma once

#include <QValidator>

namespace zarn::form {
class Form;
}

namespace zarn::qt {

// Accepts the address texts that the form accepts, so that a keystroke or a paste that the form
// would refuse is refused before it changes the text, which stays as it was.
class AddressValidator : public QValidator
{
    Q_OBJECT

public:
    // A validator that asks `form`, which must outlive it.
    AddressValidator(const form::Form& form, QObject* parent);

    State validate(QString& input, int& position) const override;

private:
    const form::Form& m_form;
};

} // namespace zarn::qt
