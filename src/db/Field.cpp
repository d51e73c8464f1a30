#include "Field.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

namespace db {

const char* dataTypeName(DataType type)
{
    switch (type) {
    case DataType::String: return "String";
    case DataType::Integer: return "Integer";
    case DataType::Float: return "Float";
    case DataType::Boolean: return "Boolean";
    case DataType::Date: return "Date";
    case DataType::DateTime: return "DateTime";
    case DataType::Blob: return "Blob";
    case DataType::Cursor: return "Cursor";
    case DataType::Unknown: break;
    }
    return "Unknown";
}

Field::Field(const QString& name, DataType type, int size, bool calculated)
    : mName(name), mType(type), mSize(size), mCalculated(calculated)
{
}

int Field::displayWidth() const
{
    if (mDisplayWidth > 0)
        return mDisplayWidth;
    switch (mType) {
    case DataType::String: return mSize > 0 ? qMin(mSize, 60) : 30;
    case DataType::Integer: return 10;
    case DataType::Float: return 12;
    case DataType::Date: return 10;
    case DataType::DateTime: return 19;
    default: return 10;
    }
}

// Delphi-style date formats ("DD.MM.YYYY HH:NN:SS") turned into Qt's.
static QString qtDateFormat(QString format)
{
    format.replace(QLatin1String("NN"), QLatin1String("mm"), Qt::CaseInsensitive);
    format.replace(QLatin1String("YYYY"), QLatin1String("yyyy"), Qt::CaseInsensitive);
    format.replace(QLatin1String("DD"), QLatin1String("dd"));
    format.replace(QLatin1String("HH"), QLatin1String("hh"), Qt::CaseInsensitive);
    format.replace(QLatin1String("SS"), QLatin1String("ss"));
    return format;
}

QString Field::displayText(const QVariant& value) const
{
    if (value.isNull())
        return {};
    switch (mType) {
    case DataType::DateTime:
        return value.toDateTime().toString(mDisplayFormat.isEmpty() ? QStringLiteral("dd.MM.yyyy hh:mm:ss")
                                                                    : qtDateFormat(mDisplayFormat));
    case DataType::Date:
        return value.toDate().toString(mDisplayFormat.isEmpty() ? QStringLiteral("dd.MM.yyyy")
                                                                : qtDateFormat(mDisplayFormat));
    case DataType::Float:
        if (!mDisplayFormat.isEmpty()) {
            const int dot = mDisplayFormat.indexOf(QLatin1Char('.'));
            const int decimals = dot < 0 ? 0 : int(mDisplayFormat.size() - dot - 1);
            return QString::number(value.toDouble(), 'f', decimals);
        }
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

} // namespace db
