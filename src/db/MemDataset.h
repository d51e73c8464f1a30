#pragma once

#include "Dataset.h"

#include <QList>
#include <QVariant>

namespace db {

class Query;

// Rows held in memory and added in code, for pickers, check lists and report tables: a dataset
// like any query's, so the same table model, grid tools, locate, filter and local edits work on it.
//
// The columns are declared in code or learned from a query's description (asked of the server
// without running the query). Rows stay through close and reopen, together with the edits made
// while open.
class MemDataset : public Dataset
{
    Q_OBJECT

public:
    explicit MemDataset(QObject* parent = nullptr);

    const QList<FieldDef>& columns() const { return mColumns; }
    // Declares the columns; rows kept so far are dropped, an open dataset closes.
    void setColumns(const QList<FieldDef>& columns);
    // One more column at the end, null in the rows kept so far; an open dataset closes.
    void addColumn(const QString& name, DataType type, int size = 0);
    // The columns the query gives, with its current macros and parameters, as setColumns does.
    // The query is not run and need not be open; its session must be connected. Throws OraError
    // when the server refuses the text, DbError for a PL/SQL call.
    void learnColumns(Query& query);

    // Rows kept, including those added while open.
    int rowCount() const { return int(mRows.size()); }
    // Adds a row, values in column order (a short list leaves the rest null); while open it is
    // shown at once, at the end whatever the order.
    void appendRow(const QVariantList& values);
    // Adds a row from values by field name (names compared without regard to letter case).
    void appendRecord(const QVariantMap& values);
    // Drops every row; an open dataset stays open, empty.
    void clearRows();

    // Order of the rows on open, in the form of a `&FIELD` text: "NAME DESC, ID". Nulls sort last,
    // first when descending, as the server sorts them. Setting it reopens an open dataset.
    const QString& orderBy() const { return mOrderBy; }
    void setOrderBy(const QString& order);

    void open() override;
    void close() override;

private:
    int columnIndex(const QString& name) const;
    void sortRows();

    QList<FieldDef> mColumns;
    QList<QVariantList> mRows;
    QString mOrderBy;
};

} // namespace db
