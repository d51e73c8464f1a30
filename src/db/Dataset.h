#pragma once

#include "Field.h"
#include "FilterExpression.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

namespace db {

class PgResult;

enum class LocateOption
{
    None = 0,
    CaseInsensitive = 1,
    PartialKey = 2
};
Q_DECLARE_FLAGS(LocateOptions, LocateOption)

// Rows fetched into memory, with a current row, an in-memory filter and edits kept in memory only.
//
// Values are kept column by column in the server's text form and converted when read, so an open
// dataset costs little more than the text of its rows and opening it copies each value once.
class Dataset : public QObject
{
    Q_OBJECT

public:
    // Computes a calculated field of one physical row from the row's other values.
    using CalcFunction = std::function<QVariant(const Dataset& dataset, int physicalRow)>;

    explicit Dataset(QObject* parent = nullptr);
    ~Dataset() override;

    bool isOpen() const { return mOpen; }
    virtual void open() = 0;
    virtual void close();

    // Fields of the open dataset (columns of the result, then the calculated ones).
    int fieldCount() const { return int(mActive.size()); }
    Field& field(int index) const { return *mActive[index]; }
    int fieldIndex(const QString& name) const;
    Field* findField(const QString& name) const;
    // Throws DbError naming the field when it does not exist.
    Field& fieldByName(const QString& name) const;
    // Settings of a field that survive reopening (caption, visibility, width, format, tag); the
    // field takes its data type when the dataset opens.
    Field& defineField(const QString& name);
    // `dependsOn` names the fields the value is computed from; an edit of another field keeps the
    // stored value (empty: recomputed after every edit of the row).
    void addCalculatedField(const QString& name, DataType type, CalcFunction function, int size = 0,
                            const QStringList& dependsOn = {});

    // Rows as the in-memory filter leaves them.
    int recordCount() const { return mUseView ? int(mView.size()) : mRowCount; }
    bool isEmpty() const { return recordCount() == 0; }
    int physicalRow(int row) const { return mUseView ? mView[row] : row; }
    QVariant value(int row, int column) const { return physicalValue(physicalRow(row), column); }
    QVariant physicalValue(int physicalRow, int column) const;
    bool isNullAt(int row, int column) const;

    // Current row; -1 when the dataset is empty.
    int currentRow() const { return mCurrent; }
    void setCurrentRow(int row);
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return mEof || isEmpty(); }
    bool bof() const { return mBof || isEmpty(); }
    // 1-based number of the current row, 0 when empty.
    int recNo() const { return mCurrent + 1; }
    void setRecNo(int recNo) { setCurrentRow(recNo - 1); }

    QVariant value(const QString& field) const;
    bool isNull(const QString& field) const { return value(field).isNull(); }
    qlonglong asInteger(const QString& field) const { return value(field).toLongLong(); }
    QString asString(const QString& field) const;
    double asFloat(const QString& field) const { return value(field).toDouble(); }

    // Finds the first row whose key fields ("A;B") have the values; becomes the current row.
    bool locate(const QString& keyFields, const QVariantList& values, LocateOptions options = {});
    bool locate(const QString& keyField, const QVariant& value, LocateOptions options = {})
    {
        return locate(keyField, QVariantList{value}, options);
    }

    // Edits of the current row, kept in memory only.
    bool takesLocalEdits() const { return mLocalEdits; }
    void setTakesLocalEdits(bool on) { mLocalEdits = on; }
    bool isEditing() const { return mEditing; }
    void edit();
    void setValue(const QString& field, const QVariant& value);
    void post();
    void cancel();
    // Sets one value of a row at once (edit, set, post), the fast path for tick columns.
    void setValueAt(int row, int column, const QVariant& value);
    // Drops, in memory only and in one pass, every visible row for which `drop` (given the visible
    // row number) is true; the others keep their order. The current row stays on the row it was on
    // when that one is kept, otherwise it takes the next kept row. Returns how many were dropped.
    int removeRows(const std::function<bool(int row)>& drop);

    // In-memory filter in the expression grammar of FilterExpression.
    const QString& filter() const { return mFilterText; }
    void setFilter(const QString& text);
    bool isFiltered() const { return mFiltered; }
    void setFiltered(bool on);

    // Bytes held by the open rows (values, offsets and edits).
    std::size_t memoryUsage() const;

signals:
    void afterOpen();
    void afterClose();
    void afterScroll();
    // A row's values changed in memory (edit posted, row refreshed).
    void rowChanged(int row);
    // The set or order of visible rows changed (filter, removed rows).
    void rowsReset();

protected:
    // Loads the rows of a result; replaces whatever was open.
    void loadResult(const PgResult& result);
    void loadEmpty();
    // Loads rows given as values, one list per row in column order (a short list leaves the rest
    // null); replaces whatever was open.
    void loadRows(const QList<FieldDef>& columns, const QList<QVariantList>& rows);
    // Adds a row at the end of the open rows; returns its row number, -1 when the filter hides it.
    int appendOpenRow(const QVariantList& values);
    // Replaces the values of one physical row with row `resultRow` of `result`.
    void replaceRow(int physicalRow, const PgResult& result, int resultRow);
    void removeRow(int row);
    // The row leaves the visible rows only (it no longer matches the filter).
    void dropFromView(int row);
    void finishOpen(int currentRow = 0);

private:
    struct Column;
    void setupFields(const QList<FieldDef>& columns);
    void fillCalculated(int physicalRow);
    void rebuildView();
    bool rowMatches(int physicalRow) const;
    void computeCalculated(int physicalRow, int changedColumn = -1);
    void storeOverlay(int physicalRow, int column, const QVariant& value);
    void setCurrentInternal(int row, bool notify);

    std::vector<std::unique_ptr<Field>> mFieldStore; // every field ever defined, stable pointers
    std::vector<Field*> mActive;
    std::vector<std::unique_ptr<Column>> mColumns; // parallel to mActive
    QHash<QString, int> mIndexByName;              // upper-case name -> active index
    struct CalcDef
    {
        QString name;
        DataType type;
        int size;
        CalcFunction function;
        QStringList dependsOn;
    };
    std::vector<CalcDef> mCalcDefs;

    bool mOpen = false;
    int mRowCount = 0;
    bool mUseView = false;
    std::vector<int> mView;
    std::vector<bool> mRemoved; // rows dropped by a refresh of one row
    int mCurrent = -1;
    bool mEof = true;
    bool mBof = true;

    bool mLocalEdits = false;
    bool mEditing = false;
    QHash<int, QVariant> mEditBuffer;

    QString mFilterText;
    bool mFiltered = false;
    FilterExpression mFilterExpr;
};

} // namespace db

Q_DECLARE_OPERATORS_FOR_FLAGS(db::LocateOptions)
