#include "DatasetReportTable.h"

#include "Dataset.h"
#include "PortalCodec.h"

DatasetReportTable::DatasetReportTable(QList<Column> columns) : mColumns(std::move(columns))
{
    for (Column& c : mColumns)
        if (c.field.isEmpty())
            c.field = c.name;
}

void DatasetReportTable::setDataset(const db::Dataset* dataset)
{
    mDataset = nullptr;
    mFieldIndex.clear();
    if (!dataset)
        return;
    for (const Column& c : mColumns) {
        dataset->fieldByName(c.field); // throws naming the field
        mFieldIndex.append(dataset->fieldIndex(c.field));
    }
    mDataset = dataset;
}

int DatasetReportTable::rowCount() const
{
    return mDataset && mDataset->isOpen() ? mDataset->recordCount() : 0;
}

QVariant DatasetReportTable::value(int row, int column) const
{
    QVariant v = mDataset->value(row, mFieldIndex.at(column));
    if (mColumns.at(column).decode && !v.isNull())
        return DecodeUnicodeEscapes(v.toString());
    return v;
}
