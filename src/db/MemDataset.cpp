#include "MemDataset.h"

#include "DbError.h"
#include "Query.h"

#include <QDateTime>
#include <algorithm>

namespace db {

namespace {

struct SortKey
{
    int column;
    DataType type;
    bool descending;
};

// Compares two non-null values as the column's type orders them.
int compareValues(const QVariant& a, const QVariant& b, DataType type)
{
    switch (type) {
    case DataType::Integer:
    case DataType::Boolean: {
        const qlonglong x = a.toLongLong(), y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case DataType::Float: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case DataType::Date:
    case DataType::DateTime: {
        const QDateTime x = a.toDateTime(), y = b.toDateTime();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    default:
        return a.toString().compare(b.toString());
    }
}

bool isNullValue(const QVariant& v)
{
    return v.isNull() || (v.metaType().id() == QMetaType::QString && v.toString().isNull());
}

} // namespace

MemDataset::MemDataset(QObject* parent) : Dataset(parent)
{
    // Nothing here goes back to a server: every edit is a local one.
    setTakesLocalEdits(true);
}

void MemDataset::setColumns(const QList<FieldDef>& columns)
{
    close();
    mColumns = columns;
    mRows.clear();
}

void MemDataset::addColumn(const QString& name, DataType type, int size)
{
    if (columnIndex(name) >= 0)
        throw DbError(QStringLiteral("Column '%1' is declared twice").arg(name).toStdString());
    close();
    mColumns.append(FieldDef{name.toUpper(), type, size});
    for (QVariantList& row : mRows)
        row.append(QVariant());
}

void MemDataset::learnColumns(Query& query)
{
    setColumns(query.describe());
}

int MemDataset::columnIndex(const QString& name) const
{
    for (int c = 0; c < mColumns.size(); ++c)
        if (mColumns[c].name.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

void MemDataset::appendRow(const QVariantList& values)
{
    QVariantList row = values.mid(0, mColumns.size());
    while (row.size() < mColumns.size())
        row.append(QVariant());
    mRows.append(row);
    if (isOpen())
        appendOpenRow(row);
}

void MemDataset::appendRecord(const QVariantMap& values)
{
    QVariantList row(mColumns.size());
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        const int c = columnIndex(it.key());
        if (c < 0)
            throw DbError(QStringLiteral("Field '%1' not found").arg(it.key()).toStdString());
        row[c] = it.value();
    }
    appendRow(row);
}

void MemDataset::clearRows()
{
    const bool wasOpen = isOpen();
    Dataset::close();
    mRows.clear();
    if (wasOpen)
        open();
}

void MemDataset::setOrderBy(const QString& order)
{
    const bool wasOpen = isOpen();
    close();
    mOrderBy = order;
    if (wasOpen)
        open();
}

void MemDataset::sortRows()
{
    std::vector<SortKey> keys;
    for (const QString& part : mOrderBy.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList words = part.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        QString name = words.first();
        if (name.size() > 1 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
            name = name.mid(1, name.size() - 2).replace(QLatin1String("\"\""), QLatin1String("\""));
        const int c = columnIndex(name);
        if (c < 0)
            throw DbError(QStringLiteral("Field '%1' not found").arg(name).toStdString());
        const bool descending =
            words.size() > 1 && words[1].compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
        keys.push_back(SortKey{c, mColumns[c].type, descending});
    }
    if (keys.empty())
        return;
    std::stable_sort(mRows.begin(), mRows.end(), [&keys](const QVariantList& a, const QVariantList& b) {
        for (const SortKey& k : keys) {
            const bool nullA = isNullValue(a[k.column]), nullB = isNullValue(b[k.column]);
            // A null counts as greater than any value.
            const int cmp =
                nullA || nullB ? int(nullA) - int(nullB) : compareValues(a[k.column], b[k.column], k.type);
            if (cmp != 0)
                return k.descending ? cmp > 0 : cmp < 0;
        }
        return false;
    });
}

void MemDataset::open()
{
    close();
    sortRows();
    loadRows(mColumns, mRows);
    finishOpen(0);
}

void MemDataset::close()
{
    if (isOpen()) {
        // Keep what was edited while open; the rows are in the order they were loaded and added.
        for (int r = 0; r < mRows.size(); ++r)
            for (int c = 0; c < mColumns.size(); ++c)
                mRows[r][c] = physicalValue(r, c);
    }
    Dataset::close();
}

} // namespace db
