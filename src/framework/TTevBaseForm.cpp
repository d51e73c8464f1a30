#include "TTevBaseForm.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "Dataset.h"
#include "FormEnvironment.h"
#include "GridCellPainting.h"
#include "IDBGrid.h"
#include "IdleActionUpdate.h"
#include "RecordNavigator.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <QWheelEvent>

namespace {

// Icon names of the navigator buttons, in button order.
constexpr const char* kNavigatorIcons[RecordNavigator::kButtonCount] = {
    "go-first",    "go-previous",   "go-next",       "go-last",      "list-add",
    "list-remove", "document-edit", "document-save", "process-stop", "view-refresh"};

} // namespace

const QList<framework::ActionRow<TTevBaseForm>>& TTevBaseForm::ActionRows()
{
    // Does nothing on purpose: the shortcut keeps Ctrl+Del away from the grids.
    static const QList<framework::ActionRow<TTevBaseForm>> rows = {
        {Cmd::actCtrlDelBlock, {}, {}, nullptr, Qt::CTRL | Qt::Key_Delete, {}},
    };
    return rows;
}

TTevBaseForm::TTevBaseForm(QWidget* owner) : QDialog(owner)
{
    mTevActions.create(this, ActionRows());

    mIdleUpdate = new IdleActionUpdate(this, [this] { ActionsUpdate(); });
}

TTevBaseForm::~TTevBaseForm()
{
    // Nothing may call into the window while its widgets are being destroyed.
    mIdleUpdate->stop();
    for (const auto& c : mConnections)
        disconnect(c);
}

void TTevBaseForm::ensureCreated()
{
    if (mCreated || mCreating)
        return;
    mCreating = true;
    for (RecordNavigator* navigator : findChildren<RecordNavigator*>())
        SetupNavigator(navigator);
    for (DBGrid* grid : findChildren<DBGrid*>())
        SetupGrid(grid);
    FormCreate();
    SetupCaptions();
    mCreating = false;
    mCreated = true;
    requestActionsUpdate();
}

bool TTevBaseForm::isCheckBoxField(const DBGrid& grid, const QString& fieldName)
{
    if (fieldName.compare(QLatin1String("ISVISIBLE"), Qt::CaseInsensitive) == 0 ||
        fieldName.compare(QLatin1String("ISUPDATE"), Qt::CaseInsensitive) == 0)
        return grid.family() != DBGrid::Family::Extended;
    return grid.family() == DBGrid::Family::Unicode &&
           fieldName.compare(QLatin1String("RCHECK"), Qt::CaseInsensitive) == 0;
}

void TTevBaseForm::SetupNavigator(RecordNavigator* navigator)
{
    if (!navigator)
        return;
    for (int i = 0; i < RecordNavigator::kButtonCount; ++i) {
        const QIcon icon = framework::themeIcon(QString::fromLatin1(kNavigatorIcons[i]));
        if (!icon.isNull())
            navigator->setButtonIcon(RecordNavigator::Button(i), icon);
    }
    navigator->setHints({lang::tr(u"rstrFirstRec"), lang::tr(u"rstrPriorRec"), lang::tr(u"rstrNextRec"),
                         lang::tr(u"rstrLastRec"), QString(), QString(), QString(), QString(), QString(),
                         lang::tr(u"rstrRefreshData")});
    navigator->setShowHints(true);
    watchDataset(navigator->dataset());
}

void TTevBaseForm::SetupGrid(DBGrid* grid)
{
    if (!grid)
        return;
    if (!grid->drawCellHook())
        grid->setDrawCellHook(
            [this, grid](const DrawCellContext& cell) { return DrawGridCell(*grid, cell); });
    if (grid->family() == DBGrid::Family::Standard && !grid->wheelHook())
        grid->setWheelHook([grid](QWheelEvent* event) {
            db::Dataset* ds = grid->dataset();
            if (ds && ds->isOpen()) {
                if (event->angleDelta().y() <= 0)
                    ds->next();
                else
                    ds->prior();
            }
            return true;
        });
    watchDataset(grid->dataset());
    mConnections << connect(grid, &DBGrid::datasetChanged, this, &TTevBaseForm::watchDataset);
}

bool TTevBaseForm::DrawGridCell(DBGrid& grid, const DrawCellContext& cell)
{
    db::Dataset* ds = grid.dataset();
    const bool empty = !ds || !ds->isOpen() || ds->isEmpty();
    if (cell.field && isCheckBoxField(grid, cell.field->name())) {
        const bool marked = !empty && cell.row >= 0 && cell.row < ds->recordCount() &&
                            ds->value(cell.row, cell.field->index()).toInt() == 1;
        GridCellPainting::paintCheckBox(cell.painter, &grid, cell.rect, marked, !empty);
        return true;
    }
    if (cell.painter) {
        const QPalette& palette = grid.palette();
        QBrush brush = palette.base();
        if (empty)
            brush = palette.button();
        else if (cell.state.testFlag(QStyle::State_Selected))
            brush = palette.highlight();
        cell.painter->fillRect(cell.rect, brush);
    }
    return false;
}

void TTevBaseForm::showEvent(QShowEvent* event)
{
    ensureCreated();
    QDialog::showEvent(event);
    FormShow();
    requestActionsUpdate();
}

void TTevBaseForm::watchDataset(db::Dataset* dataset)
{
    if (!dataset)
        return;
    for (const auto& known : mWatched)
        if (known == dataset)
            return;
    mWatched << dataset;
    for (auto signal : {&db::Dataset::afterOpen, &db::Dataset::afterClose, &db::Dataset::afterScroll,
                        &db::Dataset::rowsReset})
        mConnections << connect(dataset, signal, this, &TTevBaseForm::requestActionsUpdate);
    mConnections << connect(dataset, &db::Dataset::rowChanged, this, &TTevBaseForm::requestActionsUpdate);
}

void TTevBaseForm::requestActionsUpdate()
{
    mIdleUpdate->request();
}

void TTevBaseForm::updateActionsNow()
{
    mIdleUpdate->runNow();
}
