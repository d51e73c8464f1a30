#include "TDBIntList.h"

#include "DBGrid.h"
#include "TDBGridIntObj.h"
#include "TTntDBGridIntObj.h"
#include "TwwDBGridIntObj.h"

#include <stdexcept>

std::unique_ptr<TGridInterfaced> TDBIntList::create(GridIntClass adapterClass, DBGrid* grid)
{
    if (!grid)
        return nullptr;
    switch (adapterClass) {
    case GridIntClass::TDBGridIntObj:
        return std::make_unique<TDBGridIntObj>(grid);
    case GridIntClass::TTntDBGridIntObj:
        return std::make_unique<TTntDBGridIntObj>(grid);
    case GridIntClass::TwwDBGridIntObj:
        return std::make_unique<TwwDBGridIntObj>(grid);
    case GridIntClass::TGridInterfaced:
        break;
    }
    return nullptr;
}

TGridInterfaced* TDBIntList::add(GridIntClass adapterClass, DBGrid* grid)
{
    return add(create(adapterClass, grid));
}

TGridInterfaced* TDBIntList::add(std::unique_ptr<TGridInterfaced> adapter)
{
    if (!adapter)
        return nullptr;
    mItems.push_back(std::move(adapter));
    return mItems.back().get();
}

IDBGrid& TDBIntList::GetItem(int index) const
{
    if (index < 0 || index >= count() || !mItems[index])
        throw std::out_of_range(QStringLiteral("TDBIntList.GetItem(%1): не смог взять интерфейс IDBGrid.")
                                    .arg(index)
                                    .toStdString());
    return *mItems[index];
}

TGridInterfaced* TDBIntList::FindByGrid(const QWidget* grid) const
{
    if (!grid)
        return nullptr;
    for (const auto& item : mItems)
        if (item->grid() == grid)
            return item.get();
    return nullptr;
}
