#pragma once

#include <QVariant>
#include <functional>

namespace db {
class Dataset;
class Field;
} // namespace db

namespace gridtools {

// Marks, unmarks or inverts the check field over many rows at once.
//
// Each row is written with Dataset::setValueAt while the dataset's signals are held back, and
// the views hear of it once at the end, so a hundred thousand rows take one pass; rows that
// the dataset's own filter drops meanwhile are handled by working from the last row up.
class MassSelection
{
public:
    using Reader = std::function<bool(const db::Field& field, const QVariant& value)>;
    using Writer = std::function<QVariant(const db::Field& field, bool marked)>;

    // Standard check rules unless others are given.
    MassSelection();
    MassSelection(Reader reader, Writer writer);

    // mode: 0 mark, 1 unmark, 3 invert (other values do nothing). Rows first..last of the
    // visible rows, both included, clipped to the dataset; -1 for last means the last row.
    // Returns the number of rows written. The dataset must take local edits.
    int apply(db::Dataset& dataset, const QString& checkField, int mode, int first = 0, int last = -1) const;

private:
    Reader mReader;
    Writer mWriter;
};

} // namespace gridtools
