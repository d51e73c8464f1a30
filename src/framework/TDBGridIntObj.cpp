#include "TDBGridIntObj.h"

#include "CheckValueRules.h"
#include "DBGrid.h"
#include "Dataset.h"
#include "DatasetTableModel.h"
#include "DbHelpers.h"

TDBGridIntObj::TDBGridIntObj(DBGrid* grid) : TGridInterfaced(grid) {}

int TDBGridIntObj::ColumnCount() const
{
    return mGrid ? mGrid->gridColumnCount() : 0;
}

QString TDBGridIntObj::GetColumnTitle(int index) const
{
    if (!mGrid || index < 0 || index >= ColumnCount())
        return {};
    return mGrid->datasetModel()->headerData(index, Qt::Horizontal).toString();
}

int TDBGridIntObj::GetColumnWidth(int index) const
{
    return mGrid && index >= 0 && index < ColumnCount() ? mGrid->columnWidth(index) : 0;
}

db::Field* TDBGridIntObj::GetColumnField(int index) const
{
    return mGrid ? mGrid->columnField(index) : nullptr;
}

bool TDBGridIntObj::GetColumnVisible(int index) const
{
    return mGrid && index >= 0 && index < ColumnCount() && !mGrid->isColumnHidden(index);
}

db::Field* TDBGridIntObj::checkField() const
{
    const db::Dataset* ds = GetDataSet();
    if (!ds || !ds->isOpen() || mCheckFieldName.isEmpty())
        return nullptr;
    return ds->findField(mCheckFieldName);
}

bool TDBGridIntObj::HasCheckField() const
{
    const db::Field* f = checkField();
    return f && f->isVisible();
}

bool TDBGridIntObj::GetCheckValue() const
{
    const db::Field* f = checkField();
    if (!f || GetDataSet()->currentRow() < 0)
        return false;
    return GetCheckFldValue(*GetDataSet(), f);
}

void TDBGridIntObj::SetCheckValue(bool value)
{
    // SetCheckFldValue starts (and posts) the edit itself unless the dataset is being edited.
    const db::Field* f = checkField();
    if (!f || GetDataSet()->currentRow() < 0)
        return;
    SetCheckFldValue(*GetDataSet(), f, value);
}

bool TDBGridIntObj::IsCheckedValue(const db::Field& field, const QVariant& value) const
{
    return gridtools::isCheckedValue(field.dataType(), value);
}

QVariant TDBGridIntObj::CheckValueFor(const db::Field& field, bool marked) const
{
    return gridtools::checkValueFor(field.dataType(), marked);
}
