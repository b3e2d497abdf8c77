#pragma once

#include <QValidator>

namespace zarn::qt {

// Accepts every address text except one whose value lies outside the 32-bit signed range, so that
// a keystroke or a paste that would overflow the slot address is refused and the text stays as
// it was.
class AddressValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override;
};

} // namespace zarn::qt
