#pragma once

#include "ReportTable.h"

#include <QList>

namespace db {
class Dataset;
}

// The rows of an open dataset as the template engine reads them, without copying them: each report
// column names the dataset field it shows, its type, and whether the field holds the portal's
// escaped text form (decoded as it is read).
class DatasetReportTable : public xlsx::ReportTable
{
public:
    struct Column
    {
        QString name;
        QString field; // empty: the same as name
        xlsx::ColumnType type = xlsx::ColumnType::Text;
        bool decode = false;
    };

    explicit DatasetReportTable(QList<Column> columns);

    // Looks the fields up in the dataset (which must be open and outlive the table, or be detached
    // with nullptr); throws db::DbError naming a missing field.
    void setDataset(const db::Dataset* dataset);
    const QList<Column>& columns() const { return mColumns; }

    int columnCount() const override { return int(mColumns.size()); }
    QString columnName(int column) const override { return mColumns.at(column).name; }
    xlsx::ColumnType columnType(int column) const override { return mColumns.at(column).type; }
    int rowCount() const override;
    QVariant value(int row, int column) const override;

private:
    QList<Column> mColumns;
    QList<int> mFieldIndex;
    const db::Dataset* mDataset = nullptr;
};
