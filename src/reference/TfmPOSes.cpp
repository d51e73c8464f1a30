#include "TfmPOSes.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "ModalRunner.h"
#include "Package.h"
#include "PortalCodec.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "ReferenceQueries.h"
#include "ReferenceSupport.h"
#include "Session.h"
#include "SharedQueries.h"
#include "TdmMain.h"
#include "TfmPOSUpd.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QToolBar>
#include <QVBoxLayout>

using P = ReferenceQueries::POSes;
using reference::BulkFlag;

namespace {

QString name(const char* field)
{
    return QString::fromLatin1(field);
}

} // namespace

const QList<framework::ActionRow<TfmPOSes>>& TfmPOSes::ActionRows()
{
    static const QList<framework::ActionRow<TfmPOSes>> rows = {
        {Cmd::acUpdPOS, u"rstrChangePOS", {}, "document-edit", {}, &TfmPOSes::acUpdPOSExecute},
        {Cmd::acCheckAll,
         u"rstrCheckAll",
         {},
         "edit-select-all",
         {},
         [](TfmPOSes& w) { w.SetAllFlags(name(P::kVisible), BulkFlag::CheckAll); }},
        {Cmd::acInvertCheck,
         u"rstrInvertCheck",
         {},
         "edit-select-invert",
         {},
         [](TfmPOSes& w) { w.SetAllFlags(name(P::kVisible), BulkFlag::Invert); }},
        {Cmd::acUnCheckAll,
         u"rstrUnCheckAll",
         {},
         "edit-select-none",
         {},
         [](TfmPOSes& w) { w.SetAllFlags(name(P::kVisible), BulkFlag::UncheckAll); }},
        {Cmd::actSelectAllUpdate,
         u"vrstrSelectAllUpdate",
         {},
         nullptr,
         {},
         [](TfmPOSes& w) { w.SetAllFlags(name(P::kUpdate), BulkFlag::CheckAll); }},
        {Cmd::actInvertSelectUpdate,
         u"vrstrInvertSelectUpdate",
         {},
         nullptr,
         {},
         [](TfmPOSes& w) { w.SetAllFlags(name(P::kUpdate), BulkFlag::Invert); }},
        {Cmd::actUnSelectAllUpdate,
         u"vrstrUnSelectAllUpdate",
         {},
         nullptr,
         {},
         [](TfmPOSes& w) { w.SetAllFlags(name(P::kUpdate), BulkFlag::UncheckAll); }},
    };
    return rows;
}

TfmPOSes::TfmPOSes(TdmMain& dm, QWidget* owner) : TfmMainTEV(owner), mDm(dm)
{
    setObjectName(QStringLiteral("fmPOSes"));
    mActions.create(this, ActionRows());

    mToolBar = new QToolBar(this);
    mToolBar->setObjectName(QStringLiteral("tbPOSes"));
    mToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(mToolBar, {Cmd::acUpdPOS, framework::ActionTable::kSeparator, Cmd::acCheckAll,
                              Cmd::acInvertCheck, Cmd::acUnCheckAll});
    auto* updates = new QToolBar(this);
    updates->setObjectName(QStringLiteral("tbPOSesUpdate"));
    mActions.addTo(updates, {Cmd::actSelectAllUpdate, Cmd::actInvertSelectUpdate, Cmd::actUnSelectAllUpdate});

    mGrid = new DBGrid(DBGrid::Family::Standard, this);
    mGrid->setObjectName(QStringLiteral("grdPOSes"));
    mGrid->setOptions(DBGrid::readOnlyOptions());
    mGrid->setDataset(list());
    mGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    mActions.addTo(mGrid, {Cmd::acUpdPOS, framework::ActionTable::kSeparator});
    gridActions().addTo(mGrid, {TfmMainTEV::Cmd::acFind, TfmMainTEV::Cmd::acSort, TfmMainTEV::Cmd::acFilter});

    mNavigator = new RecordNavigator(this);
    mNavigator->setObjectName(QStringLiteral("DBNavigator1"));
    mNavigator->setDataset(list());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mToolBar);
    layout->addWidget(updates);
    layout->addWidget(mNavigator);
    layout->addWidget(mGrid, 1);
    resize(900, 560);

    ensureCreated();
    mGrid->setCellClickHook([this](int, int column) {
        const db::Field* field = mGrid->columnField(column);
        if (!field)
            return;
        if (field->name().compare(name(P::kVisible), Qt::CaseInsensitive) == 0)
            SwapVisibility();
        else if (field->name().compare(name(P::kUpdate), Qt::CaseInsensitive) == 0)
            SwapUpdate();
    });
    // Space swaps visibility whichever column is current.
    mGrid->setKeyDownHook([this](QKeyEvent* event) {
        if (event->key() != Qt::Key_Space)
            return false;
        SwapVisibility();
        return true;
    });
    connect(mGrid, &QAbstractItemView::doubleClicked, this, [this] { action(Cmd::acUpdPOS)->trigger(); });
}

TfmPOSes::~TfmPOSes() = default;

db::Query* TfmPOSes::list() const
{
    return mDm.queries().oquPOSes;
}

void TfmPOSes::SetupCaptions()
{
    TfmMainTEV::SetupCaptions();
    setWindowTitle(lang::tr(u"rstrPOSes"));
    mActions.applyTexts();
    mGrid->setHint(lang::tr(u"rstrPOSes"));
    mGrid->setColumns({{name(P::kCaption), lang::tr(u"rstrPOSfull"), 330, true},
                       {name(P::kAddressShown), lang::tr(u"rstrAddress"), 330, true},
                       {name(P::kVisible), lang::tr(u"rstrVisibility"), 80, true},
                       {name(P::kUpdate), lang::tr(u"rstrRefreshing"), 80, true}});
}

void TfmPOSes::FormShow()
{
    db::Query* emitents = mDm.queries().oqEmitentSelect;
    if (emitents->isOpen() && !emitents->isEmpty()) {
        db::Query* q = list();
        q->setRefreshSql(QString::fromLatin1(P::kRefreshSql));
        q->close();
        q->open();
    }
    mGrid->setFocus();
}

void TfmPOSes::done(int result)
{
    // Whatever the connection holds is committed; the list is closed until the main window
    // reopens it with the emitent's data.
    if (mDm.session()->connected())
        mDm.session()->commit();
    list()->close();
    TfmMainTEV::done(result);
}

void TfmPOSes::ActionsUpdate()
{
    const bool rows = list()->isOpen() && !list()->isEmpty();
    for (const framework::ActionRow<TfmPOSes>& row : ActionRows())
        action(row.name)->setEnabled(rows);
}

bool TfmPOSes::listEditable() const
{
    db::Query* q = list();
    return q->isOpen() && !q->isEmpty() && q->takesLocalEdits() && q->currentRow() >= 0;
}

void TfmPOSes::SwapVisibility()
{
    swapFlag(name(P::kVisible));
}

void TfmPOSes::SwapUpdate()
{
    swapFlag(name(P::kUpdate));
}

void TfmPOSes::updatePos(const QVariant& id, const QVariant& posName, const QVariant& address, int visible,
                         int update)
{
    mDm.queries().TEV_UTILS->execProc(QStringLiteral("UPDATE_POS"), {id, posName, address, visible, update});
}

void TfmPOSes::swapFlag(const QString& field)
{
    if (!listEditable())
        return;
    db::Query* q = list();
    db::Session& session = *mDm.session();
    const QVariant id = q->value(name(P::kId));
    try {
        // Name and address as stored now: the exchange may have changed them since the list opened.
        q->refreshRecord();
        if (q->isEmpty() || !q->locate(name(P::kId), id))
            return; // deleted meanwhile
        const int value = reference::SwapFlag(int(q->asInteger(field)));
        q->edit();
        q->setValue(field, value);
        q->post();
        reference::InOneTransaction(session, [&] {
            updatePos(id, q->value(name(P::kName)), q->value(name(P::kAddress)),
                      int(q->asInteger(name(P::kVisible))), int(q->asInteger(name(P::kUpdate))));
        });
    } catch (...) {
        // The list shows what is stored again.
        try {
            if (q->isOpen() && q->locate(name(P::kId), id))
                q->refreshRecord();
        } catch (...) {
        }
        throw;
    }
}

void TfmPOSes::SetAllFlags(const QString& field, BulkFlag mode)
{
    if (!listEditable())
        return;
    db::Query* q = list();
    db::Session& session = *mDm.session();
    const QVariant id = q->value(name(P::kId));
    try {
        // Names and addresses as stored now (see swapFlag); the walk then redraws nothing.
        q->refresh();
        {
            const QSignalBlocker quiet(q);
            const int flag = q->fieldIndex(field);
            const int idCol = q->fieldIndex(name(P::kId));
            const int nameCol = q->fieldIndex(name(P::kName));
            const int addressCol = q->fieldIndex(name(P::kAddress));
            const int visibleCol = q->fieldIndex(name(P::kVisible));
            const int updateCol = q->fieldIndex(name(P::kUpdate));
            reference::InOneTransaction(session, [&] {
                for (int row = 0; row < q->recordCount(); ++row) {
                    q->setValueAt(row, flag, reference::BulkFlagValue(mode, q->value(row, flag).toInt()));
                    updatePos(q->value(row, idCol), q->value(row, nameCol), q->value(row, addressCol),
                              q->value(row, visibleCol).toInt(), q->value(row, updateCol).toInt());
                }
            });
        }
        emit q->rowsReset();
        q->locate(name(P::kId), id);
    } catch (...) {
        try {
            q->refresh();
            q->locate(name(P::kId), id);
        } catch (...) {
        }
        throw;
    }
}

void TfmPOSes::acUpdPOSExecute()
{
    db::Query* q = list();
    if (!q->isOpen() || q->isEmpty())
        return;
    TfmPOSUpd dialog(this);
    dialog.setValues(q->asString(name(P::kEmitentNumber)), q->asString(name(P::kFilialNumber)),
                     q->asString(name(P::kPosNumber)), DecodeUnicodeEscapes(q->asString(name(P::kName))),
                     DecodeUnicodeEscapes(q->asString(name(P::kAddress))),
                     q->asInteger(name(P::kVisible)) == 1, q->asInteger(name(P::kUpdate)) == 1);
    if (framework::execModal(dialog) != QDialog::Accepted)
        return;
    const QVariant id = q->value(name(P::kId));
    reference::InOneTransaction(*mDm.session(), [&] {
        updatePos(id, EncodeUnicodeEscapes(dialog.posName()), EncodeUnicodeEscapes(dialog.posAddress()),
                  dialog.isVisibleOnWeb() ? 1 : 0, dialog.updatesFromCentre() ? 1 : 0);
    });
    q->refresh();
    q->locate(name(P::kId), id);
}
