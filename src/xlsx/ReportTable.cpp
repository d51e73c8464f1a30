#include "ReportTable.h"

namespace xlsx {

int ReportTable::columnIndex(const QString& name) const
{
    const int n = columnCount();
    for (int i = 0; i < n; ++i)
        if (columnName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace xlsx
