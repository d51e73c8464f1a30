#include "ClientTicks.h"

#include "ClientsQuery.h"
#include "Dataset.h"

#include <QSignalBlocker>
#include <algorithm>

namespace ClientTicks {

namespace {

int tickColumn(const db::Dataset& clients)
{
    return clients.fieldByName(QString::fromLatin1(ClientsQuery::kTickField)).index();
}

// Every row with the filter off, then filter and current client as before. Ticks never decide
// which rows a filter shows here, so the rows come back as they were.
template <class Work> void overAllRows(db::Dataset& clients, Work work)
{
    if (!clients.isOpen() || clients.isEmpty())
        return;
    const bool filtered = clients.isFiltered();
    const int current = clients.currentRow();
    const int currentPhysical = current < 0 ? -1 : clients.physicalRow(current);
    if (filtered)
        clients.setFiltered(false);
    const int column = tickColumn(clients);
    const int rows = clients.recordCount();
    {
        // One notice for the whole pass instead of one per row: views repaint once.
        const QSignalBlocker quiet(clients);
        for (int row = 0; row < rows; ++row)
            work(row, column);
    }
    emit clients.rowsReset();
    if (filtered)
        clients.setFiltered(true);
    if (currentPhysical < 0 || clients.isEmpty())
        return;
    // Visible rows keep the order of the fetched ones: find the old current row by halving.
    int lo = 0;
    int hi = clients.recordCount();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (clients.physicalRow(mid) < currentPhysical)
            lo = mid + 1;
        else
            hi = mid;
    }
    clients.setCurrentRow(std::min(lo, clients.recordCount() - 1));
}

} // namespace

bool IsTicked(const db::Dataset& clients, int row)
{
    return clients.value(row, tickColumn(clients)).toInt() == 1;
}

void SetTick(db::Dataset& clients, int row, int value)
{
    clients.setValueAt(row, tickColumn(clients), value);
}

int ToggleTick(db::Dataset& clients, int row)
{
    if (IsTicked(clients, row)) {
        SetTick(clients, row, 0);
        return -1;
    }
    SetTick(clients, row, 1);
    return 1;
}

int SelectAll(db::Dataset& clients)
{
    overAllRows(clients, [&clients](int row, int column) { clients.setValueAt(row, column, 1); });
    return clients.isOpen() ? clients.recordCount() : 0;
}

int SelectNone(db::Dataset& clients)
{
    overAllRows(clients, [&clients](int row, int column) { clients.setValueAt(row, column, 0); });
    return 0;
}

int InvertSelection(db::Dataset& clients)
{
    overAllRows(clients, [&clients](int row, int column) {
        clients.setValueAt(row, column, clients.value(row, column).toInt() == 1 ? 0 : 1);
    });
    return CountTicked(clients);
}

int CountTicked(const db::Dataset& clients)
{
    if (!clients.isOpen())
        return 0;
    const int column = tickColumn(clients);
    int count = 0;
    for (int row = 0; row < clients.recordCount(); ++row)
        if (clients.value(row, column).toInt() == 1)
            ++count;
    return count;
}

} // namespace ClientTicks
