#pragma once

#include <QString>

// The in-memory filter of the clients list that the two radio groups of the filter panel build,
// and the columns each data source shows.
namespace ClientsFilter {

// Items of the data-source group ("ОЦ", "ЛНР", "ОЦ и ЛНР") and of the client-type group
// ("Фирмы", "Частные лица", "Все"), by their index in the group.
enum Source
{
    SourceOC = 0,
    SourceLC = 1,
    SourceOCandLC = 2
};
enum ClientType
{
    TypeFirms = 0,
    TypePrivate = 1,
    TypeAll = 2
};

// The filter text for the two chosen items. Bonus-programme clients are always left out.
QString FilterText(int sourceIndex, int typeIndex);

// Which permission columns apply to the clients of a data source.
struct ColumnVisibility
{
    bool createDR = true;  // ALLOW_CREATE_DR_TXT
    bool createDD = true;  // ALLOW_CREATE_DD_TXT
    bool createOIL = true; // ALLOW_CREATE_OIL_TXT
};
ColumnVisibility ColumnsFor(int sourceIndex);

// The filter that picks the ticked clients among those the list shows: the current filter (when
// filtering is on and it is not blank) and "(ISVISIBLE = 1)".
QString TickedFilterText(const QString& currentFilter, bool filtered);

} // namespace ClientsFilter
