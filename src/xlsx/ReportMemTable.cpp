#include "ReportMemTable.h"

namespace xlsx {

int ReportMemTable::addColumn(const QString& name, ColumnType type)
{
    mColumns.push_back({name, type});
    for (QVariantList& row : mRows)
        row.append(QVariant());
    return int(mColumns.size()) - 1;
}

void ReportMemTable::addRow(const QVariantList& values)
{
    QVariantList row = values.mid(0, qsizetype(mColumns.size()));
    while (row.size() < qsizetype(mColumns.size()))
        row.append(QVariant());
    mRows.push_back(std::move(row));
}

void ReportMemTable::setValue(int row, int column, const QVariant& value)
{
    mRows.at(row)[column] = value;
}

void ReportMemTable::clearRows()
{
    mRows.clear();
}

void ReportMemTable::reserveRows(int count)
{
    mRows.reserve(size_t(count));
}

QVariant ReportMemTable::value(int row, int column) const
{
    return mRows.at(size_t(row)).at(column);
}

} // namespace xlsx
