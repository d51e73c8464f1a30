#include "TfmMainTEV.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "Dataset.h"
#include "FieldMarking.h"
#include "FormEnvironment.h"
#include "GridTools.h"
#include "MessageDialogs.h"
#include "Query.h"

#include <QAction>

namespace {

QAction* makeAction(QWidget* window, const char* name, QKeySequence shortcut)
{
    auto* action = new QAction(window);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    return action;
}

bool hasRows(const db::Dataset* ds)
{
    return ds && ds->isOpen() && !ds->isEmpty();
}

} // namespace

TfmMainTEV::TfmMainTEV(QWidget* owner) : TTevBaseForm(owner)
{
    mFind = makeAction(this, "acFind", QKeySequence(Qt::CTRL | Qt::Key_F));
    mSort = makeAction(this, "acSort", QKeySequence(Qt::CTRL | Qt::Key_S));
    mFilter = makeAction(this, "acFilter", QKeySequence(Qt::CTRL | Qt::Key_A));
    mReport = makeAction(this, "acReport", QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(mFind, &QAction::triggered, this, &TfmMainTEV::acFindExecute);
    connect(mSort, &QAction::triggered, this, &TfmMainTEV::acSortExecute);
    connect(mFilter, &QAction::triggered, this, &TfmMainTEV::acFilterExecute);
    connect(mReport, &QAction::triggered, this, &TfmMainTEV::acReportExecute);
    // Usable before creation completes (the main window's menus are built from them).
    TfmMainTEV::SetupCaptions();
}

TfmMainTEV::~TfmMainTEV()
{
    for (const auto& c : mConnections)
        disconnect(c);
}

void TfmMainTEV::SetupCaptions()
{
    const std::pair<QAction*, const char16_t*> captions[] = {
        {mFind, u"rstrFind"}, {mSort, u"rstrSort"}, {mFilter, u"rstrFilter"}, {mReport, u"rstrReport"}};
    for (const auto& [action, key] : captions) {
        const QString text = lang::tr(key);
        action->setText(text);
        action->setToolTip(text);
        action->setStatusTip(text);
    }
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
