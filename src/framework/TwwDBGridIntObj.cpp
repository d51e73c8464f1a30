#include "TwwDBGridIntObj.h"

#include "DBGrid.h"
#include "Dataset.h"

#include <stdexcept>

TwwDBGridIntObj::TwwDBGridIntObj(DBGrid* grid) : TGridInterfaced(grid) {}

int TwwDBGridIntObj::ColumnCount() const
{
    return mGrid ? mGrid->gridColumnCount() : 0;
}

QString TwwDBGridIntObj::GetColumnTitle(int index) const
{
    const db::Field* f = GetColumnField(index);
    return f ? f->displayLabel() : QString();
}

int TwwDBGridIntObj::GetColumnWidth(int index) const
{
    const db::Field* f = GetColumnField(index);
    return f ? f->displayWidth() : 0;
}

db::Field* TwwDBGridIntObj::GetColumnField(int index) const
{
    return mGrid ? mGrid->columnField(index) : nullptr;
}

bool TwwDBGridIntObj::GetColumnVisible(int index) const
{
    const db::Field* f = GetColumnField(index);
    return f && f->isVisible();
}

db::Field* TwwDBGridIntObj::checkField() const
{
    const db::Dataset* ds = GetDataSet();
    if (!ds || !ds->isOpen() || mCheckFieldName.isEmpty())
        return nullptr;
    return ds->findField(mCheckFieldName);
}

bool TwwDBGridIntObj::HasCheckField() const
{
    if (!GetDataSet()) {
        const QString name = mGrid ? mGrid->objectName() : QString();
        throw std::logic_error(
            QStringLiteral("TwwDBGridIntObj.GetIsNeedCheck: Not set DataSet for main Grid=\"%1\"")
                .arg(name)
                .toStdString());
    }
    return checkField() != nullptr;
}

bool TwwDBGridIntObj::GetCheckValue() const
{
    const db::Field* f = checkField();
    if (!f || GetDataSet()->currentRow() < 0)
        return false;
    return IsCheckedValue(*f, GetDataSet()->value(f->name()));
}

void TwwDBGridIntObj::SetCheckValue(bool value)
{
    const db::Field* f = checkField();
    db::Dataset* ds = GetDataSet();
    if (!f || ds->currentRow() < 0)
        return;
    const QVariant stored = CheckValueFor(*f, value);
    if (!stored.isValid())
        return;
    const bool started = !ds->isEditing();
    ds->setValue(f->name(), stored);
    if (started)
        ds->post();
}

bool TwwDBGridIntObj::IsCheckedValue(const db::Field& field, const QVariant& value) const
{
    if (value.isNull())
        return false;
    switch (field.dataType()) {
    case db::DataType::String:
        return value.toString() == QLatin1String("+");
    case db::DataType::Integer: {
        bool ok = false;
        return value.toLongLong(&ok) == 1 && ok;
    }
    case db::DataType::Boolean:
        return value.toBool();
    default:
        return false;
    }
}

QVariant TwwDBGridIntObj::CheckValueFor(const db::Field& field, bool marked) const
{
    switch (field.dataType()) {
    case db::DataType::String:
        return QString(marked ? QStringLiteral("+") : QStringLiteral("-"));
    case db::DataType::Integer:
        return qlonglong(marked ? 1 : 0);
    case db::DataType::Boolean:
        return marked;
    default:
        return {};
    }
}
