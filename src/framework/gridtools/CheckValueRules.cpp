#include "CheckValueRules.h"

namespace gridtools {

bool isCheckedValue(db::DataType type, const QVariant& value)
{
    if (value.isNull())
        return false;
    switch (type) {
    case db::DataType::String:
        return value.toString() == QLatin1String("+");
    case db::DataType::Integer: {
        bool ok = false;
        return value.toLongLong(&ok) == 1 && ok;
    }
    case db::DataType::Float:
        return value.toDouble() == 1.0;
    case db::DataType::Boolean:
        return value.toBool();
    default:
        return false;
    }
}

QVariant checkValueFor(db::DataType type, bool marked)
{
    switch (type) {
    case db::DataType::String:
        return QString(marked ? QStringLiteral("+") : QStringLiteral("-"));
    case db::DataType::Integer:
        return qlonglong(marked ? 1 : 0);
    // Written as the integer, kept with the column's own type.
    case db::DataType::Float:
        return double(marked ? 1 : 0);
    case db::DataType::Boolean:
        return marked;
    default:
        return {};
    }
}

} // namespace gridtools
