#pragma once

#include "ReportTable.h"

#include <QList>
#include <vector>

namespace xlsx {

// Columns declared first, then rows appended.
class ReportMemTable : public ReportTable
{
public:
    // Returns the new column's index.
    int addColumn(const QString& name, ColumnType type);
    // Missing trailing values are NULL; extra ones are ignored.
    void addRow(const QVariantList& values);
    void setValue(int row, int column, const QVariant& value);
    void clearRows();
    void reserveRows(int count);

    int columnCount() const override { return int(mColumns.size()); }
    QString columnName(int column) const override { return mColumns.at(column).name; }
    ColumnType columnType(int column) const override { return mColumns.at(column).type; }
    int rowCount() const override { return int(mRows.size()); }
    QVariant value(int row, int column) const override;

private:
    struct Column
    {
        QString name;
        ColumnType type;
    };
    std::vector<Column> mColumns;
    std::vector<QVariantList> mRows;
};

} // namespace xlsx
