#include "slot_address_validator.h"

#include "zarn/number_text.h"

QValidator::State SlotAddressValidator::validate(QString& input, int&) const
{
    return zarn::slotAddressFromText(input.toStdString()) ? Acceptable : Invalid;
}
