#include "MassSelection.h"

#include "CheckValueRules.h"
#include "Dataset.h"

#include <QSignalBlocker>

namespace gridtools {

MassSelection::MassSelection()
    : MassSelection([](const db::Field& f, const QVariant& v) { return isCheckedValue(f.dataType(), v); },
                    [](const db::Field& f, bool marked) { return checkValueFor(f.dataType(), marked); })
{
}

MassSelection::MassSelection(Reader reader, Writer writer)
    : mReader(std::move(reader)), mWriter(std::move(writer))
{
}

int MassSelection::apply(db::Dataset& dataset, const QString& checkField, int mode, int first, int last) const
{
    if (!dataset.isOpen() || dataset.isEmpty() || (mode != 0 && mode != 1 && mode != 3))
        return 0;
    const db::Field& field = dataset.fieldByName(checkField);
    const int column = field.index();
    const QVariant marked = mWriter(field, true);
    const QVariant unmarked = mWriter(field, false);
    if (!marked.isValid() || !unmarked.isValid())
        return 0;
    const int count = dataset.recordCount();
    if (last < 0 || last >= count)
        last = count - 1;
    first = qMax(0, first);
    if (first > last)
        return 0;

    if (dataset.isEditing())
        dataset.post();
    const int current = dataset.currentRow();
    const int currentPhysical = current >= 0 ? dataset.physicalRow(current) : -1;
    int written = 0;
    {
        const QSignalBlocker quiet(dataset);
        // From the last row up: a row the filter drops only moves the rows already done.
        for (int row = last; row >= first; --row) {
            if (row >= dataset.recordCount())
                continue;
            bool mark = mode == 0;
            if (mode == 3)
                mark = !mReader(field, dataset.value(row, column));
            dataset.setValueAt(row, column, mark ? marked : unmarked);
            ++written;
        }
        // Keep the current record current even when rows before it left the filter.
        if (currentPhysical >= 0 && dataset.recordCount() > 0) {
            int row = qMin(current, dataset.recordCount() - 1);
            while (row > 0 && dataset.physicalRow(row) > currentPhysical)
                --row;
            dataset.setCurrentRow(row);
        }
    }
    // One notice for the whole pass instead of one per row.
    emit dataset.rowsReset();
    emit dataset.afterScroll();
    return written;
}

} // namespace gridtools
