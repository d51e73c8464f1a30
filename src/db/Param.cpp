#include "Param.h"

#include "DbError.h"

#include <QDateTime>

namespace db {

static DataType typeOfValue(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::Long: return DataType::Integer;
    case QMetaType::Bool: return DataType::Boolean;
    case QMetaType::Double:
    case QMetaType::Float: return DataType::Float;
    case QMetaType::QDate: return DataType::Date;
    case QMetaType::QDateTime: return DataType::DateTime;
    case QMetaType::QByteArray: return DataType::Blob;
    case QMetaType::QString: return DataType::String;
    default: return DataType::Unknown;
    }
}

void Param::setValue(const QVariant& value)
{
    mValue = value;
    if (mType == DataType::Unknown)
        mType = typeOfValue(value);
}

Param* ParamList::find(const QString& name)
{
    for (auto& p : mItems)
        if (p.name().compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

const Param* ParamList::find(const QString& name) const
{
    return const_cast<ParamList*>(this)->find(name);
}

Param& ParamList::byName(const QString& name)
{
    if (Param* p = find(name))
        return *p;
    throw DbError(QStringLiteral("Parameter '%1' not found").arg(name).toStdString());
}

const Param& ParamList::byName(const QString& name) const
{
    return const_cast<ParamList*>(this)->byName(name);
}

Param& ParamList::add(const Param& param)
{
    if (Param* p = find(param.name())) {
        *p = param;
        return *p;
    }
    mItems.append(param);
    return mItems.last();
}

void ParamList::syncNames(const QStringList& names)
{
    QList<Param> next;
    for (const QString& n : names) {
        bool seen = false;
        for (const auto& p : next)
            seen = seen || p.name().compare(n, Qt::CaseInsensitive) == 0;
        if (seen)
            continue;
        if (const Param* old = find(n))
            next.append(*old);
        else
            next.append(Param(n));
    }
    mItems = next;
}

} // namespace db
