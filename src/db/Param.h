#pragma once

#include "DataType.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace db {

enum class ParamDirection { In, Out, InOut, CursorOut };

class Param
{
public:
    Param() = default;
    Param(const QString& name, DataType type = DataType::Unknown, ParamDirection direction = ParamDirection::In)
        : mName(name), mType(type), mDirection(direction)
    {
    }

    const QString& name() const { return mName; }
    DataType dataType() const { return mType; }
    void setDataType(DataType type) { mType = type; }
    ParamDirection direction() const { return mDirection; }
    void setDirection(ParamDirection direction) { mDirection = direction; }
    bool isOutput() const { return mDirection != ParamDirection::In; }

    const QVariant& value() const { return mValue; }
    // Learns the type from the first value when none was declared.
    void setValue(const QVariant& value);
    void clear() { mValue = QVariant(); }
    bool isNull() const { return mValue.isNull(); }

    qlonglong asInteger() const { return mValue.toLongLong(); }
    QString asString() const { return mValue.toString(); }
    double asFloat() const { return mValue.toDouble(); }

private:
    QString mName;
    DataType mType = DataType::Unknown;
    ParamDirection mDirection = ParamDirection::In;
    QVariant mValue;
};

// Named parameters, names compared without regard to letter case.
class ParamList
{
public:
    int count() const { return int(mItems.size()); }
    Param& at(int i) { return mItems[i]; }
    const Param& at(int i) const { return mItems[i]; }
    Param* find(const QString& name);
    const Param* find(const QString& name) const;
    // Throws DbError naming the parameter when it does not exist.
    Param& byName(const QString& name);
    const Param& byName(const QString& name) const;
    Param& add(const Param& param);
    // Keeps the values of parameters whose names stay.
    void syncNames(const QStringList& names);
    void clear() { mItems.clear(); }

private:
    QList<Param> mItems;
};

} // namespace db
