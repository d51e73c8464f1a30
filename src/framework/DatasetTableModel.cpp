#include "DatasetTableModel.h"

#include "CheckValueRules.h"
#include "Dataset.h"
#include "DbError.h"

DatasetTableModel::DatasetTableModel(QObject* parent) : QAbstractTableModel(parent)
{
    mCheckReader = [](const db::Field& f, const QVariant& v) {
        return gridtools::isCheckedValue(f.dataType(), v);
    };
    mCheckWriter = [](const db::Field& f, bool marked) {
        return gridtools::checkValueFor(f.dataType(), marked);
    };
}

DatasetTableModel::~DatasetTableModel()
{
    for (const auto& c : mConnections)
        disconnect(c);
}

db::Dataset* DatasetTableModel::dataset() const
{
    return mDataset;
}

void DatasetTableModel::setDataset(db::Dataset* dataset)
{
    if (dataset == mDataset)
        return;
    beginResetModel();
    for (const auto& c : mConnections)
        disconnect(c);
    mConnections.clear();
    mDataset = dataset;
    mKnownNames.clear();
    mKnownLabels.clear();
    if (dataset) {
        mConnections.push_back(connect(dataset, &db::Dataset::afterOpen, this, &DatasetTableModel::resetAll));
        mConnections.push_back(
            connect(dataset, &db::Dataset::afterClose, this, &DatasetTableModel::resetAll));
        mConnections.push_back(connect(dataset, &db::Dataset::rowsReset, this, &DatasetTableModel::resetAll));
        mConnections.push_back(
            connect(dataset, &db::Dataset::rowChanged, this, &DatasetTableModel::onRowChanged));
        mConnections.push_back(
            connect(dataset, &db::Dataset::afterScroll, this, &DatasetTableModel::onAfterScroll));
        mConnections.push_back(connect(dataset, &QObject::destroyed, this, [this] {
            beginResetModel();
            mConnections.clear();
            mColumns.clear();
            mRows = 0;
            endResetModel();
        }));
    }
    resolveColumns();
    endResetModel();
    emit currentRowChanged(mDataset ? mDataset->currentRow() : -1);
}

void DatasetTableModel::setColumnFields(const QStringList& names, const QStringList& titles)
{
    beginResetModel();
    mColumnNames = names;
    mColumnTitles = titles;
    mKnownNames.clear();
    mKnownLabels.clear();
    resolveColumns();
    endResetModel();
}

void DatasetTableModel::refreshColumns()
{
    resetAll();
}

void DatasetTableModel::setCheckFieldName(const QString& name)
{
    mCheckField = name;
    mCheckColumnField = mDataset && mDataset->isOpen() && !name.isEmpty() ? mDataset->fieldIndex(name) : -1;
    if (!mColumns.empty() && mRows > 0)
        emit dataChanged(index(0, 0), index(mRows - 1, int(mColumns.size()) - 1));
}

void DatasetTableModel::setCheckRules(CheckReader reader, CheckWriter writer)
{
    mCheckReader = std::move(reader);
    mCheckWriter = std::move(writer);
}

bool DatasetTableModel::isCheckColumn(int column) const
{
    return mCheckColumnField >= 0 && column >= 0 && column < int(mColumns.size()) &&
           mColumns[column] == mCheckColumnField;
}

void DatasetTableModel::resolveColumns()
{
    mColumns.clear();
    mResolvedNames.clear();
    mCheckColumnField = -1;
    mIndicatorRow = -1;
    const bool open = mDataset && mDataset->isOpen();
    mRows = open ? mDataset->recordCount() : 0;
    if (!mColumnNames.isEmpty()) {
        for (const QString& name : mColumnNames)
            mColumns.push_back(open ? mDataset->fieldIndex(name) : -1);
    } else if (open) {
        for (int i = 0; i < mDataset->fieldCount(); ++i)
            if (mDataset->field(i).isVisible())
                mColumns.push_back(i);
    } else {
        mColumns.assign(mKnownNames.size(), -1);
    }
    for (int c = 0; c < int(mColumns.size()); ++c)
        mResolvedNames << (mColumns[c] >= 0 ? mDataset->field(mColumns[c]).name()
                                            : (mColumnNames.isEmpty() ? mKnownNames : mColumnNames).value(c));
    if (open) {
        mKnownNames = mResolvedNames;
        mKnownLabels.clear();
        for (int c = 0; c < int(mColumns.size()); ++c)
            mKnownLabels << (mColumns[c] >= 0 ? mDataset->field(mColumns[c]).displayLabel() : QString());
    }
    if (open) {
        if (!mCheckField.isEmpty())
            mCheckColumnField = mDataset->fieldIndex(mCheckField);
        mIndicatorRow = mDataset->currentRow();
    }
}

void DatasetTableModel::resetAll()
{
    beginResetModel();
    resolveColumns();
    endResetModel();
    emit currentRowChanged(mDataset ? mDataset->currentRow() : -1);
}

bool DatasetTableModel::rowValid(int row) const
{
    // The dataset changes before it tells us; never read past what it holds now.
    return mDataset && row >= 0 && row < mRows && row < mDataset->recordCount();
}

void DatasetTableModel::onRowChanged(int row)
{
    if (!rowValid(row) || mColumns.empty())
        return;
    emit dataChanged(index(row, 0), index(row, int(mColumns.size()) - 1));
}

void DatasetTableModel::onAfterScroll()
{
    const int row = mDataset ? mDataset->currentRow() : -1;
    const int previous = mIndicatorRow;
    mIndicatorRow = row;
    if (previous >= 0 && previous < mRows)
        emit headerDataChanged(Qt::Vertical, previous, previous);
    if (row >= 0 && row < mRows && row != previous)
        emit headerDataChanged(Qt::Vertical, row, row);
    emit currentRowChanged(row);
}

db::Field* DatasetTableModel::fieldAt(int column) const
{
    const int i = fieldIndexAt(column);
    return i < 0 ? nullptr : &mDataset->field(i);
}

int DatasetTableModel::fieldIndexAt(int column) const
{
    if (!mDataset || !mDataset->isOpen() || column < 0 || column >= int(mColumns.size()))
        return -1;
    const int i = mColumns[column];
    return i < mDataset->fieldCount() ? i : -1;
}

QString DatasetTableModel::fieldNameAt(int column) const
{
    return mResolvedNames.value(column);
}

int DatasetTableModel::columnOfField(int fieldIndex) const
{
    for (int c = 0; c < int(mColumns.size()); ++c)
        if (mColumns[c] == fieldIndex && fieldIndex >= 0)
            return c;
    return -1;
}

int DatasetTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : mRows;
}

int DatasetTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(mColumns.size());
}

QVariant DatasetTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !rowValid(index.row()))
        return {};
    const int fi = fieldIndexAt(index.column());
    if (fi < 0)
        return {};
    const db::Field& field = mDataset->field(fi);
    const bool check = fi == mCheckColumnField;
    switch (role) {
    case Qt::DisplayRole:
        if (check)
            return {};
        return field.displayText(mDataset->value(index.row(), fi));
    case Qt::EditRole:
        return mDataset->value(index.row(), fi);
    case Qt::CheckStateRole:
        if (!check)
            return {};
        return mCheckReader(field, mDataset->value(index.row(), fi)) ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        if (field.dataType() == db::DataType::Integer || field.dataType() == db::DataType::Float)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

bool DatasetTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || !rowValid(index.row()) || !mDataset->takesLocalEdits())
        return false;
    const int fi = fieldIndexAt(index.column());
    if (fi < 0)
        return false;
    const db::Field& field = mDataset->field(fi);
    QVariant stored;
    if (role == Qt::CheckStateRole && fi == mCheckColumnField) {
        stored = mCheckWriter(field, value.toInt() == Qt::Checked);
        if (!stored.isValid())
            return false;
    } else if (role == Qt::EditRole && fi != mCheckColumnField) {
        stored = value;
    } else {
        return false;
    }
    try {
        mDataset->setValueAt(index.row(), fi, stored); // the dataset's rowChanged repaints the row
    } catch (const db::DbError&) {
        return false;
    }
    return true;
}

QVariant DatasetTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical)
        return section == mIndicatorRow ? QStringLiteral("\u25B6") : QString();
    if (section < 0 || section >= int(mColumns.size()))
        return {};
    if (section < mColumnTitles.size() && !mColumnTitles[section].isEmpty())
        return mColumnTitles[section];
    if (const db::Field* f = fieldAt(section))
        return f->displayLabel();
    if (section < mKnownLabels.size() && !mKnownLabels[section].isEmpty())
        return mKnownLabels[section];
    return mResolvedNames.value(section);
}

Qt::ItemFlags DatasetTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    const bool takesEdits = mDataset && mDataset->takesLocalEdits();
    if (isCheckColumn(index.column())) {
        if (mCheckable && takesEdits)
            f |= Qt::ItemIsUserCheckable;
    } else if (mEditable && takesEdits && fieldIndexAt(index.column()) >= 0) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}
