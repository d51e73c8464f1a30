#pragma once

#include <QList>
#include <QString>

namespace db {
class Dataset;
}

namespace gridtools {

// Fields the window marked for the tools (tag 255 or 252), in field order.
QList<int> markedFields(const db::Dataset& dataset);
// Marked fields the server can sort and filter by: those the query's text selects (not the
// calculated ones).
QList<int> serverFields(const db::Dataset& dataset);
// Marked fields a report shows: the visible ones, without the check column.
QList<int> reportFields(const db::Dataset& dataset);

// A field name as it may stand in the query's SQL: plain names as they are, anything else quoted
// (the server keeps quoted names in lower case, as the schema is created).
QString sqlIdentifier(const QString& fieldName);

} // namespace gridtools
