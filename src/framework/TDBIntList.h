#pragma once

#include "TGridInterfaced.h"

#include <memory>
#include <vector>

class QWidget;

// A window's grid adapters, in creation order; the list owns them.
class TDBIntList
{
public:
    TDBIntList() = default;
    TDBIntList(const TDBIntList&) = delete;
    TDBIntList& operator=(const TDBIntList&) = delete;

    // Makes the adapter of the chosen class for the grid and keeps it; nullptr (nothing kept)
    // for GridIntClass::TGridInterfaced, which names no adapter.
    static std::unique_ptr<TGridInterfaced> create(GridIntClass adapterClass, DBGrid* grid);
    TGridInterfaced* add(GridIntClass adapterClass, DBGrid* grid);
    TGridInterfaced* add(std::unique_ptr<TGridInterfaced> adapter);

    int count() const { return int(mItems.size()); }
    // Throws std::out_of_range "TDBIntList.GetItem(<index>): не смог взять интерфейс IDBGrid."
    // for an index that holds no adapter.
    IDBGrid& GetItem(int index) const;
    // The adapter whose grid is this control, nullptr when none.
    TGridInterfaced* FindByGrid(const QWidget* grid) const;
    void clear() { mItems.clear(); }

private:
    std::vector<std::unique_ptr<TGridInterfaced>> mItems;
};
