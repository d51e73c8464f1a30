#include "ClientsFilter.h"

namespace ClientsFilter {

QString FilterText(int sourceIndex, int typeIndex)
{
    QString filter;
    if (typeIndex != TypeAll)
        filter = QStringLiteral("wbc_petrol_type_id = ") + QString::number(typeIndex + 1);
    if (!filter.trimmed().isEmpty())
        filter += QStringLiteral(" AND ");
    if (sourceIndex == SourceOCandLC)
        filter += QStringLiteral("(clientisbonus = 0)");
    else
        filter += QStringLiteral("(clientislnr = ") + QString::number(sourceIndex) +
                  QStringLiteral(") AND (clientisbonus = 0)");
    return filter;
}

ColumnVisibility ColumnsFor(int sourceIndex)
{
    ColumnVisibility v;
    v.createDR = sourceIndex != SourceLC;
    v.createDD = sourceIndex != SourceLC;
    v.createOIL = sourceIndex == SourceOC || sourceIndex == SourceOCandLC;
    return v;
}

QString TickedFilterText(const QString& currentFilter, bool filtered)
{
    if (!filtered || currentFilter.trimmed().isEmpty())
        return QStringLiteral("ISVISIBLE = 1");
    return currentFilter + QStringLiteral(" and (ISVISIBLE = 1)");
}

} // namespace ClientsFilter
