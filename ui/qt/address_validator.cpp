#include "address_validator.h"

#include "zarn/number_text.h"

namespace zarn::qt {

QValidator::State AddressValidator::validate(QString& input, int&) const
{
    return zarn::slotAddressFromText(input.toStdString()) ? Acceptable : Invalid;
}

} // namespace zarn::qt
