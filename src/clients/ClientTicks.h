#pragma once

namespace db {
class Dataset;
}

// Ticking clients in the clients list (tick column ISVISIBLE, in memory only). The bulk operations
// work every fetched row once, whatever the filter hides, and leave filter and position as they
// were; they return the new number of ticked clients that the list shows.
namespace ClientTicks {

bool IsTicked(const db::Dataset& clients, int row);
// Puts the row into edit, sets the tick and posts (memory only).
void SetTick(db::Dataset& clients, int row, int value);
// Ticks the row when it was not ticked, else unticks it; returns +1 or -1 for the count.
int ToggleTick(db::Dataset& clients, int row);

// "Выделить все": every row ticked, rows hidden by the filter too.
int SelectAll(db::Dataset& clients);
// "Снять выделение": every row unticked; returns 0.
int SelectNone(db::Dataset& clients);
// "Обратить выделение": every row's tick flipped.
int InvertSelection(db::Dataset& clients);

// Ticked rows among those the list shows.
int CountTicked(const db::Dataset& clients);

} // namespace ClientTicks
