#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <vector>

namespace db {
class Dataset;
class Field;
} // namespace db

// A table model over a db::Dataset. It holds no copy of the rows: data() reads the dataset, so a
// list of a hundred thousand rows costs nothing extra and scrolls as fast as the view paints.
//
// Columns are the dataset's visible fields in field order, or the fields a column list names (a
// name the dataset lacks gives an empty column). The check column shows a check box; every edit
// goes through the dataset, whose signals bring the model up to date.
class DatasetTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using CheckReader = std::function<bool(const db::Field& field, const QVariant& value)>;
    using CheckWriter = std::function<QVariant(const db::Field& field, bool marked)>;

    explicit DatasetTableModel(QObject* parent = nullptr);
    ~DatasetTableModel() override;

    db::Dataset* dataset() const;
    void setDataset(db::Dataset* dataset);

    // Field names of the columns; empty: the dataset's visible fields.
    const QStringList& columnFields() const { return mColumnNames; }
    void setColumnFields(const QStringList& names, const QStringList& titles = {});
    // Visibility or labels of fields changed: take the columns again.
    void refreshColumns();

    const QString& checkFieldName() const { return mCheckField; }
    void setCheckFieldName(const QString& name);
    // How the check column reads and writes a mark; the standard rules unless set.
    void setCheckRules(CheckReader reader, CheckWriter writer);
    bool isCheckColumn(int column) const;
    // Whether the view may toggle the check box itself (otherwise only the window's handlers do).
    void setCheckable(bool on) { mCheckable = on; }
    // Whether cells other than the check column take edits from the view.
    void setEditable(bool on) { mEditable = on; }

    // The column's field, nullptr for a closed dataset or a missing field.
    db::Field* fieldAt(int column) const;
    int fieldIndexAt(int column) const;
    // Name of the column's field as of the last reset (kept while the dataset closes).
    QString fieldNameAt(int column) const;
    // The model column showing a dataset field, -1 when none.
    int columnOfField(int fieldIndex) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The dataset's current row moved (or the rows were read again); the view follows.
    void currentRowChanged(int row);

private:
    void resolveColumns();
    void resetAll();
    void onRowChanged(int row);
    void onAfterScroll();
    bool rowValid(int row) const;

    QPointer<db::Dataset> mDataset;
    std::vector<QMetaObject::Connection> mConnections;
    QStringList mColumnNames;
    QStringList mColumnTitles;
    std::vector<int> mColumns; // model column -> dataset field index (-1: none)
    QStringList mResolvedNames;
    // Fields and titles of the columns as the dataset last showed them open: a dataset that
    // closes (or fails to reopen) keeps its columns' captions.
    QStringList mKnownNames;
    QStringList mKnownLabels;
    int mRows = 0; // row count as last announced to the views
    int mCheckColumnField = -1;
    QString mCheckField;
    CheckReader mCheckReader;
    CheckWriter mCheckWriter;
    bool mCheckable = false;
    bool mEditable = false;
    int mIndicatorRow = -1;
};
