#include "TfmMainTEV.h"

#include "DBGrid.h"
#include "Dataset.h"
#include "FieldMarking.h"
#include "FormEnvironment.h"
#include "GridTools.h"
#include "MessageDialogs.h"
#include "Query.h"

#include <QAction>

namespace {

bool hasRows(const db::Dataset* ds)
{
    return ds && ds->isOpen() && !ds->isEmpty();
}

} // namespace

const QList<framework::ActionRow<TfmMainTEV>>& TfmMainTEV::ActionRows()
{
    static const QList<framework::ActionRow<TfmMainTEV>> rows = {
        {Cmd::acFind, u"rstrFind", {}, nullptr, Qt::CTRL | Qt::Key_F, &TfmMainTEV::acFindExecute},
        {Cmd::acSort, u"rstrSort", {}, nullptr, Qt::CTRL | Qt::Key_S, &TfmMainTEV::acSortExecute},
        {Cmd::acFilter, u"rstrFilter", {}, nullptr, Qt::CTRL | Qt::Key_A, &TfmMainTEV::acFilterExecute},
        {Cmd::acReport, u"rstrReport", {}, nullptr, Qt::CTRL | Qt::Key_R, &TfmMainTEV::acReportExecute},
    };
    return rows;
}

TfmMainTEV::TfmMainTEV(QWidget* owner) : TTevBaseForm(owner)
{
    mGridActions.create(this, ActionRows());
    // Usable before creation completes (the main window's menus are built from them).
    mGridActions.applyTexts();
}

TfmMainTEV::~TfmMainTEV()
{
    for (const auto& c : mConnections)
        disconnect(c);
}

void TfmMainTEV::SetupCaptions()
{
    mGridActions.applyTexts();
}

DBGrid* TfmMainTEV::FocusedGrid() const
{
    for (QWidget* w = focusWidget(); w && w != this; w = w->parentWidget())
        if (auto* grid = qobject_cast<DBGrid*>(w))
            return grid;
    return nullptr;
}

QString TfmMainTEV::SearchField(const db::Dataset* dataset) const
{
    return mSearchFields.value(dataset);
}

void TfmMainTEV::acFindExecute()
{
    ensureCreated();
    DBGrid* grid = FocusedGrid();
    if (!grid || !hasRows(grid->dataset()))
        return;
    db::Dataset& ds = *grid->dataset();
    FieldMarking::markFields(ds);
    int field = ds.fieldIndex(SearchField(&ds));
    if (field < 0)
        field = 0;
    gridtools::findByDBGrid(ds, grid->hint(), field, framework::currentLanguageId());
    if (field < 0 || field >= ds.fieldCount())
        return;
    if (!mSearchFields.contains(&ds))
        mConnections << connect(&ds, &QObject::destroyed, this,
                                [this, key = &ds] { mSearchFields.remove(key); });
    mSearchFields.insert(&ds, ds.field(field).name());
}

void TfmMainTEV::acSortExecute()
{
    ensureCreated();
    DBGrid* grid = FocusedGrid();
    if (!grid || !grid->dataset())
        return;
    auto* query = qobject_cast<db::Query*>(grid->dataset());
    if (!query) {
        lang::ShowMsgBox(this, QStringLiteral("Сортировка представленных данных невозможна"), 0);
        return;
    }
    FieldMarking::markFields(*query);
    gridtools::sortDBGrid(*query, grid->hint(), framework::currentLanguageId());
}

void TfmMainTEV::acFilterExecute()
{
    ensureCreated();
    DBGrid* grid = FocusedGrid();
    auto* query = grid ? qobject_cast<db::Query*>(grid->dataset()) : nullptr;
    if (!query)
        return;
    FieldMarking::markFields(*query);
    gridtools::filterByDBGrid(*query, grid->hint(), framework::currentLanguageId());
}

void TfmMainTEV::acReportExecute()
{
    ensureCreated();
    DBGrid* grid = FocusedGrid();
    if (!grid || !hasRows(grid->dataset()))
        return;
    FieldMarking::markFields(*grid->dataset());
    gridtools::gridReport(*grid->dataset(), nullptr, grid->hint(), framework::currentLanguageId());
}
