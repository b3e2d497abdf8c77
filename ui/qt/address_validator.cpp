#include "address_validator.h"

#include "zarn/form/form.h"

namespace zarn::qt {

AddressValidator::AddressValidator(const form::Form& form, QObject* parent)
    : QValidator(parent), m_form(form)
{}

QValidator::State AddressValidator::validate(QString& input, int&) const
{
    return m_form.acceptsAddressText(input.toStdString()) ? Acceptable : Invalid;
}

} // namespace zarn::qt
