#pragma once

// The rows a report shows, as the template engine reads them. A report module adapts its dataset to
// this; ReportMemTable is a plain in-memory one.
#include <QString>
#include <QVariant>

namespace xlsx {

enum class ColumnType
{
    Text,
    Integer,
    Float,
    DateTime
};

class ReportTable
{
public:
    virtual ~ReportTable() = default;

    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    virtual ColumnType columnType(int column) const = 0;
    virtual int rowCount() const = 0;
    // A null QVariant is NULL and becomes an empty cell. The engine converts the value to the
    // column's type (a QDate or an ISO text to a date-time, a numeric text to a number) and keeps
    // a value that does not convert as text.
    virtual QVariant value(int row, int column) const = 0;

    // The column of that name, letter case ignored; -1 when there is none.
    int columnIndex(const QString& name) const;
};

} // namespace xlsx
