#include "TfrmEmitentSelection.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "EmitentRules.h"
#include "MemDataset.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QString name(const char* field)
{
    return QString::fromLatin1(field);
}

enum Mode
{
    CheckAll,
    UncheckAll,
    Invert
};

} // namespace

const QList<framework::ActionRow<TfrmEmitentSelection>>& TfrmEmitentSelection::ActionRows()
{
    static const QList<framework::ActionRow<TfrmEmitentSelection>> rows = {
        {Cmd::acCheckAll, u"rstrCheckAll", {}, "edit-select-all", {}, [](TfrmEmitentSelection& w) {
             w.SetAll(CheckAll);
         }},
        {Cmd::acUnCheckAll, u"rstrUnCheckAll", {}, "edit-select-none", {}, [](TfrmEmitentSelection& w) {
             w.SetAll(UncheckAll);
         }},
        {Cmd::acInvertCheck, u"rstrInvertCheck", {}, "edit-select-invert", {}, [](TfrmEmitentSelection& w) {
             w.SetAll(Invert);
         }},
    };
    return rows;
}

TfrmEmitentSelection::TfrmEmitentSelection(QWidget* owner) : TTevBaseForm(owner)
{
    setObjectName(QStringLiteral("frmEmitentSelection"));
    mActions.create(this, ActionRows());
    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(tools, {Cmd::acCheckAll, Cmd::acUnCheckAll, Cmd::acInvertCheck});

    mList = new db::MemDataset(this);
    mList->setObjectName(QStringLiteral("mdEmitents"));
    mList->setColumns({{name(kChoice), db::DataType::Integer},
                       {name(kNumber), db::DataType::Integer},
                       {name(kFilial), db::DataType::Integer},
                       {name(kName), db::DataType::String, 255},
                       {name(kId), db::DataType::Integer}});
    mList->setTakesLocalEdits(true);
    mGrid = new DBGrid(DBGrid::Family::Standard, this);
    mGrid->setObjectName(QStringLiteral("grdEmitents"));
    mGrid->setOptions(DBGrid::readOnlyOptions());
    mGrid->setDataset(mList);

    mOk = new QPushButton(this);
    mOk->setObjectName(QStringLiteral("btnOk"));
    mOk->setDefault(true);
    mCancel = new QPushButton(this);
    mCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mOk);
    buttons->addWidget(mCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tools);
    layout->addWidget(mGrid, 1);
    layout->addLayout(buttons);
    resize(560, 400);
    connect(mOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);

    ensureCreated();
    mGrid->setCellClickHook([this](int, int column) {
        const db::Field* field = mGrid->columnField(column);
        if (field && field->name().compare(name(kChoice), Qt::CaseInsensitive) == 0)
            ToggleCurrent();
    });
    mGrid->setKeyDownHook([this](QKeyEvent* event) {
        if (event->key() != Qt::Key_Space)
            return false;
        ToggleCurrent();
        return true;
    });
}

TfrmEmitentSelection::~TfrmEmitentSelection() = default;

void TfrmEmitentSelection::SetupCaptions()
{
    setWindowTitle(lang::tr(u"rstrEmitents"));
    mActions.applyTexts();
    mGrid->setHint(lang::tr(u"rstrEmitents"));
    mGrid->setColumns({{name(kChoice), lang::tr(u"vrstrSelect"), 70, true},
                       {name(kNumber), lang::tr(u"rstrNum"), 70, true},
                       {name(kFilial), lang::tr(u"rstrBranch"), 70, true},
                       {name(kName), lang::tr(u"rstrEmitent"), 300, true}});
    mOk->setText(lang::tr(u"rstrOk"));
    mCancel->setText(lang::tr(u"rstrCanceling"));
}

void TfrmEmitentSelection::ActionsUpdate()
{
    const bool rows = mList->isOpen() && !mList->isEmpty();
    for (const auto& row : ActionRows())
        action(row.name)->setEnabled(rows);
}

void TfrmEmitentSelection::setRows(const QList<Row>& rows)
{
    mList->close();
    mList->clearRows();
    for (const Row& r : rows)
        mList->appendRow({0, r.emitentNumber, r.filialNumber, r.name, r.emitentIdWeb});
    mList->open();
    requestActionsUpdate();
}

QList<int> TfrmEmitentSelection::checkedIds() const
{
    QList<int> ids;
    if (!mList->isOpen())
        return ids;
    const int choice = mList->fieldIndex(name(kChoice));
    const int id = mList->fieldIndex(name(kId));
    for (int row = 0; row < mList->recordCount(); ++row)
        if (mList->value(row, choice).toInt() == 1)
            ids.append(mList->value(row, id).toInt());
    return ids;
}

void TfrmEmitentSelection::ToggleCurrent()
{
    if (!mList->isOpen() || mList->isEmpty() || mList->currentRow() < 0)
        return;
    const int row = mList->currentRow();
    const int choice = mList->fieldIndex(name(kChoice));
    mList->setValueAt(row, choice, mList->value(row, choice).toInt() == 1 ? 0 : 1);
}

void TfrmEmitentSelection::SetAll(int mode)
{
    if (!mList->isOpen() || mList->isEmpty())
        return;
    const int choice = mList->fieldIndex(name(kChoice));
    const int current = mList->currentRow();
    for (int row = 0; row < mList->recordCount(); ++row) {
        const int was = mList->value(row, choice).toInt();
        mList->setValueAt(row, choice, mode == CheckAll ? 1 : mode == UncheckAll ? 0 : (was == 1 ? 0 : 1));
    }
    mList->setCurrentRow(current);
}
