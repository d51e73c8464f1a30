#include "TfrmMainTevBaseSelect.h"

#include "DBGrid.h"
#include "Dataset.h"
#include "RecordNavigator.h"
#include "ui_TfrmMainTevBaseSelect.h"

#include <QAction>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QToolBar>

namespace {

bool isOne(const QVariant& v)
{
    return !v.isNull() && v.toInt() == 1;
}

} // namespace

const QList<framework::ActionRow<TfrmMainTevBaseSelect>>& TfrmMainTevBaseSelect::ActionRows()
{
    static const QList<framework::ActionRow<TfrmMainTevBaseSelect>> rows = {
        {Cmd::acCheckAll,
         u"rstrCheckAll",
         {},
         "edit-select-all",
         {},
         &TfrmMainTevBaseSelect::acCheckAllExecute},
        {Cmd::acUnCheckAll,
         u"rstrUnCheckAll",
         {},
         "edit-clear",
         {},
         &TfrmMainTevBaseSelect::acUnCheckAllExecute},
        {Cmd::acInvertCheck,
         u"rstrInvertCheck",
         {},
         "edit-select-invert",
         {},
         &TfrmMainTevBaseSelect::acInvertCheckExecute},
    };
    return rows;
}

TfrmMainTevBaseSelect::TfrmMainTevBaseSelect(QWidget* owner)
    : TfmMainTEV(owner), ui(std::make_unique<Ui::TfrmMainTevBaseSelect>())
{
    ui->setupUi(this);
    mToolBar = new QToolBar(this);
    mToolBar->setObjectName(QStringLiteral("ToolBar"));
    mToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ui->mainLayout->insertWidget(0, mToolBar);

    mCheckActions.create(this, ActionRows());
    mCheckActions.addTo(mToolBar, {Cmd::acCheckAll, Cmd::acUnCheckAll, Cmd::acInvertCheck,
                                   framework::ActionTable::kSeparator});
    gridActions().addTo(mToolBar, {Cmd::acFind, Cmd::acSort, Cmd::acFilter, Cmd::acReport});

    connect(ui->btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    DBGrid* grid = ui->grdList;
    grid->setOptions(grid->options() & ~GridOptions(GridOption::Editing));
    grid->setCellClickHook([this](int row, int column) {
        const db::Field* f = ui->grdList->columnField(column);
        db::Dataset* ds = ListDataset();
        if (f && ds && ds->isOpen() && !ds->isEmpty() &&
            f->name().compare(QLatin1String(kCheckField), Qt::CaseInsensitive) == 0)
            ToggleCurrent();
    });
    grid->setKeyDownHook([this](QKeyEvent* event) {
        if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier)
            return false;
        ToggleCurrent();
        return true;
    });
    TfrmMainTevBaseSelect::SetupCaptions();
}

TfrmMainTevBaseSelect::~TfrmMainTevBaseSelect() = default;

void TfrmMainTevBaseSelect::SetupCaptions()
{
    TfmMainTEV::SetupCaptions();
    mCheckActions.applyTexts();
    ui->btnOk->setText(QStringLiteral("Выполнить"));
    ui->btnCancel->setText(QStringLiteral("Выход"));
}

void TfrmMainTevBaseSelect::SetListDataset(db::Dataset* dataset)
{
    if (dataset)
        dataset->setTakesLocalEdits(true);
    ui->grdList->setDataset(dataset);
    ui->navList->setDataset(dataset);
    watchDataset(dataset);
}

db::Dataset* TfrmMainTevBaseSelect::ListDataset() const
{
    return ui->grdList->dataset();
}

DBGrid* TfrmMainTevBaseSelect::grdList() const
{
    return ui->grdList;
}

RecordNavigator* TfrmMainTevBaseSelect::navList() const
{
    return ui->navList;
}

QPushButton* TfrmMainTevBaseSelect::btnOk() const
{
    return ui->btnOk;
}

QPushButton* TfrmMainTevBaseSelect::btnCancel() const
{
    return ui->btnCancel;
}

int TfrmMainTevBaseSelect::checkColumn() const
{
    const db::Dataset* ds = ListDataset();
    return ds && ds->isOpen() ? ds->fieldIndex(QString::fromLatin1(kCheckField)) : -1;
}

void TfrmMainTevBaseSelect::ToggleCurrent()
{
    db::Dataset* ds = ListDataset();
    const int column = checkColumn();
    if (!ds || column < 0 || ds->isEmpty() || ds->currentRow() < 0)
        return;
    const int row = ds->currentRow();
    ds->setValueAt(row, column, isOne(ds->value(row, column)) ? 0 : 1);
}

void TfrmMainTevBaseSelect::changeAll(const std::function<std::optional<int>(const QVariant&)>& change)
{
    db::Dataset* ds = ListDataset();
    const int column = checkColumn();
    if (!ds || column < 0 || ds->isEmpty())
        return;
    DBGrid* grid = ui->grdList;
    grid->setUpdatesEnabled(false);
    {
        const QSignalBlocker quiet(ds);
        if (ds->isEditing())
            ds->post();
        const int current = ds->currentRow();
        const int currentPhysical = current >= 0 ? ds->physicalRow(current) : -1;
        const bool filtered = ds->isFiltered();
        ds->setFiltered(false);
        for (int row = 0; row < ds->recordCount(); ++row)
            if (const auto value = change(ds->value(row, column)))
                ds->setValueAt(row, column, *value);
        ds->setFiltered(filtered);
        // Back to the row that was current, or the nearest one the filter still shows.
        int target = 0;
        for (int row = 0; row < ds->recordCount(); ++row) {
            if (ds->physicalRow(row) > currentPhysical)
                break;
            target = row;
        }
        if (!ds->isEmpty())
            ds->setCurrentRow(target);
    }
    emit ds->rowsReset();
    emit ds->afterScroll();
    grid->setUpdatesEnabled(true);
}

void TfrmMainTevBaseSelect::acCheckAllExecute()
{
    changeAll([](const QVariant& v) -> std::optional<int> {
        if (!v.isNull() && v.toInt() == 0)
            return 1;
        return std::nullopt;
    });
}

void TfrmMainTevBaseSelect::acUnCheckAllExecute()
{
    changeAll([](const QVariant& v) -> std::optional<int> {
        if (isOne(v))
            return 0;
        return std::nullopt;
    });
}

void TfrmMainTevBaseSelect::acInvertCheckExecute()
{
    changeAll([](const QVariant& v) -> std::optional<int> { return isOne(v) ? 0 : 1; });
}
