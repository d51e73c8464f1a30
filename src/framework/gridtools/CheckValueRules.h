#pragma once

#include "DataType.h"

#include <QVariant>

namespace gridtools {

// The console's check-field representation by data type: string "+" / "-", integer 1 / 0,
// floating point 1 / 0 (read as 1.0), boolean true / false; other types cannot be marked.
bool isCheckedValue(db::DataType type, const QVariant& value);
// The value that stores the mark; an invalid QVariant for a type that cannot be marked.
QVariant checkValueFor(db::DataType type, bool marked);

} // namespace gridtools
