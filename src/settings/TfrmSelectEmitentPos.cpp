#include "TfrmSelectEmitentPos.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "EmitentRules.h"
#include "EmitentTexts.h"
#include "EmitentTransaction.h"
#include "ErrorText.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "Package.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "SharedQueries.h"
#include "TdmMain.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString kVisible = QStringLiteral("ISVISIBLE");
const QString kId = QStringLiteral("EMITENT_ID_WEB");
const QString kOwnerParam = QStringLiteral("P_EMITENT_ID_WEB_OWNER");

} // namespace

const QList<framework::ActionRow<TfrmSelectEmitentPos>>& TfrmSelectEmitentPos::ActionRows()
{
    static const QList<framework::ActionRow<TfrmSelectEmitentPos>> rows = {
        {Cmd::acCheckAll, u"rstrCheckAll", {}, "edit-select-all", {}, [](TfrmSelectEmitentPos& w) {
             w.SetAll(Bulk::CheckAll);
         }},
        {Cmd::acUnCheckAll, u"rstrUnCheckAll", {}, "edit-select-none", {}, [](TfrmSelectEmitentPos& w) {
             w.SetAll(Bulk::UncheckAll);
         }},
        {Cmd::acInvertCheck, u"rstrInvertCheck", {}, "edit-select-invert", {}, [](TfrmSelectEmitentPos& w) {
             w.SetAll(Bulk::Invert);
         }},
    };
    return rows;
}

TfrmSelectEmitentPos::TfrmSelectEmitentPos(TdmMain& dm, QWidget* owner) : TfmMainTEV(owner), mDm(dm)
{
    setObjectName(QStringLiteral("frmSelectEmitentPos"));
    mActions.create(this, ActionRows());
    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(tools, {Cmd::acCheckAll, Cmd::acUnCheckAll, Cmd::acInvertCheck});

    mGrid = new DBGrid(DBGrid::Family::Standard, this);
    mGrid->setObjectName(QStringLiteral("grdEmitentPos"));
    mGrid->setOptions(DBGrid::readOnlyOptions());
    mGrid->setDataset(list());
    mGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    gridActions().addTo(mGrid, {TfmMainTEV::Cmd::acFind, TfmMainTEV::Cmd::acReport});
    mNavigator = new RecordNavigator(this);
    mNavigator->setDataset(list());
    mClose = new QPushButton(this);
    mClose->setObjectName(QStringLiteral("btnClose"));

    auto* top = new QHBoxLayout;
    top->addWidget(tools);
    top->addStretch();
    top->addWidget(mNavigator);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(mClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(mGrid, 1);
    layout->addLayout(bottom);
    resize(620, 420);
    connect(mClose, &QPushButton::clicked, this, &QDialog::accept);

    ensureCreated();
    mGrid->setCellClickHook([this](int, int column) {
        const db::Field* field = mGrid->columnField(column);
        if (field && field->name().compare(kVisible, Qt::CaseInsensitive) == 0)
            ToggleVisibility();
    });
    mGrid->setKeyDownHook([this](QKeyEvent* event) {
        if (event->key() != Qt::Key_Space)
            return false;
        ToggleVisibility();
        return true;
    });
}

TfrmSelectEmitentPos::~TfrmSelectEmitentPos() = default;

db::Query* TfrmSelectEmitentPos::list() const
{
    return mDm.queries().oqEmitentPos;
}

void TfrmSelectEmitentPos::SetupCaptions()
{
    TfmMainTEV::SetupCaptions();
    setWindowTitle(lang::tr(u"vrstrEmitentPosCaption"));
    mActions.applyTexts();
    mGrid->setHint(lang::tr(u"vrstrEmitentPosCaption"));
    mGrid->setColumns({{kVisible, lang::tr(u"rstrVisibility"), 80, true},
                       {QStringLiteral("EMITENT_NAME_ANSI"), lang::tr(u"vrstrEmitentPos"), 440, true}});
    mClose->setText(lang::tr(u"rstrClose"));
}

void TfrmSelectEmitentPos::ActionsUpdate()
{
    const bool rows = list()->isOpen() && !list()->isEmpty();
    for (const auto& row : ActionRows())
        action(row.name)->setEnabled(rows);
}

void TfrmSelectEmitentPos::done(int result)
{
    mGrid->setDataset(nullptr);
    mNavigator->setDataset(nullptr);
    list()->close();
    TfmMainTEV::done(result);
}

void TfrmSelectEmitentPos::write(const std::function<void()>& calls)
{
    db::Query* q = list();
    const int recNo = q->recNo();
    try {
        emitentsettings::inOneTransaction(*mDm.session(), calls);
    } catch (const std::exception& e) {
        lang::ShowMsgBox(this, emitenttext::writeFailed(ErrorText(e)), 1);
    }
    // What is stored now, on the same row number.
    q->refresh();
    q->setRecNo(recNo);
}

void TfrmSelectEmitentPos::ToggleVisibility()
{
    db::Query* q = list();
    if (!q->isOpen() || q->isEmpty() || q->currentRow() < 0)
        return;
    const QVariant id = q->value(kId);
    const int value = emitentrules::SwapFlag(int(q->asInteger(kVisible)));
    write([&] { mDm.queries().TEV_UTILS->execProc(QStringLiteral("SET_POS_VISIBLE"), {id, value}); });
}

void TfrmSelectEmitentPos::SetAll(Bulk mode)
{
    db::Query* q = list();
    if (!q->isOpen() || q->isEmpty())
        return;
    const int visible = q->fieldIndex(kVisible);
    const int id = q->fieldIndex(kId);
    write([&] {
        for (int row = 0; row < q->recordCount(); ++row) {
            const int current = q->value(row, visible).toInt();
            const int value = mode == Bulk::CheckAll     ? 1
                              : mode == Bulk::UncheckAll ? 0
                                                         : emitentrules::SwapFlag(current);
            mDm.queries().TEV_UTILS->execProc(QStringLiteral("SET_POS_VISIBLE"), {q->value(row, id), value});
        }
    });
}

void TfrmSelectEmitentPos::Show(TdmMain& dm, int ownerEmitentId, QWidget* owner)
{
    db::Query* q = dm.queries().oqEmitentPos;
    q->close();
    q->setParam(kOwnerParam, ownerEmitentId);
    q->open();
    if (q->isEmpty()) {
        q->close();
        lang::ShowMsgBoxCaption(owner, lang::tr(u"vrstrNoDataToShow"), lang::tr(u"rstrWarning"), 0);
        return;
    }
    TfrmSelectEmitentPos dialog(dm, owner);
    framework::execModal(dialog);
}
