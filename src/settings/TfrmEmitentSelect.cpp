#include "TfrmEmitentSelect.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "EmitentTexts.h"
#include "EmitentTransaction.h"
#include "ErrorText.h"
#include "GridCellPainting.h"
#include "IDBGrid.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "Package.h"
#include "PortalCodec.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "Session.h"
#include "SharedQueries.h"
#include "StoredProc.h"
#include "TdmMain.h"
#include "TfrmEditBillingSettings.h"
#include "TfrmEditEmitChangeParams.h"
#include "TfrmLimitsEdit.h"
#include "TfrmOrderDownload.h"
#include "TfrmOrderUnload.h"
#include "TfrmSelectEmitentPos.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

using emitentrules::BillingValues;
using emitentrules::ExchangeParams;

namespace {

QString name(const char* field)
{
    return QString::fromLatin1(field);
}

int flagValue(const QVariant& v)
{
    return v.isNull() ? 0 : v.toInt();
}

} // namespace

const QList<framework::ActionRow<TfrmEmitentSelect>>& TfrmEmitentSelect::ActionRows()
{
    static const QList<framework::ActionRow<TfrmEmitentSelect>> rows = {
        {Cmd::acEmitentEditParams, u"rstrChangeSettingsChange", {}, "document-edit", {},
         &TfrmEmitentSelect::acEmitentEditParamsExecute},
        {Cmd::actEmitentPosVisible, u"vrstrEmitentPosCaption", u"vrstrEmitentPosCaption", "view-visible", {},
         &TfrmEmitentSelect::actEmitentPosVisibleExecute},
        {Cmd::actBillingSettingsEdit, u"vrstrEditBillingSettings", {}, "accessories-calculator", {},
         &TfrmEmitentSelect::actBillingSettingsEditExecute},
        {Cmd::actEditLimits, u"vrstrEditMaxLimits", {}, "document-properties", {},
         &TfrmEmitentSelect::actEditLimitsExecute},
        {Cmd::actOrderUpdate, u"rstrOrderUpdate", {}, "go-up", {}, &TfrmEmitentSelect::actOrderUpdateExecute},
        {Cmd::acOrderDownload, u"rstrOrderDownload", {}, "go-down", {},
         &TfrmEmitentSelect::acOrderDownloadExecute},
    };
    return rows;
}

TfrmEmitentSelect::TfrmEmitentSelect(TdmMain& dm, QWidget* owner) : TfmMainTEV(owner), mDm(dm)
{
    setObjectName(QStringLiteral("frmEmitentSelect"));
    // The role goes with the account the session signed in with.
    mManager = mDm.session()->username().compare(QStringLiteral("TEV_MANAGER"), Qt::CaseInsensitive) == 0;
    mActions.create(this, ActionRows());
    using Sep = framework::ActionTable;

    // The dialogs of the current emitent above the list, the windows of all emitents below it.
    mToolBar = new QToolBar(this);
    mToolBar->setObjectName(QStringLiteral("tbEmitents"));
    mToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(mToolBar, {Cmd::acEmitentEditParams, Cmd::actBillingSettingsEdit, Cmd::actEditLimits});
    auto* lower = new QToolBar(this);
    lower->setObjectName(QStringLiteral("tbEmitentsLower"));
    lower->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(lower, {Cmd::actEmitentPosVisible, Sep::kSeparator, Cmd::actOrderUpdate, Cmd::acOrderDownload});

    mGrid = new DBGrid(DBGrid::Family::Standard, this);
    mGrid->setObjectName(QStringLiteral("grdEmitents"));
    mGrid->setOptions(DBGrid::readOnlyOptions());
    mGrid->setDataset(list());
    mGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    mActions.addTo(mGrid, {Cmd::acEmitentEditParams, Cmd::actBillingSettingsEdit, Cmd::actEmitentPosVisible,
                           Cmd::actEditLimits, Sep::kSeparator, Cmd::actOrderUpdate, Cmd::acOrderDownload,
                           Sep::kSeparator});
    gridActions().addTo(mGrid, {TfmMainTEV::Cmd::acFind, TfmMainTEV::Cmd::acReport});

    mNavigator = new RecordNavigator(this);
    mNavigator->setObjectName(QStringLiteral("DBNavigator1"));
    mNavigator->setDataset(list());
    mClose = new QPushButton(this);
    mClose->setObjectName(QStringLiteral("btnClose"));

    auto* top = new QHBoxLayout;
    top->addWidget(mToolBar, 1);
    top->addWidget(mNavigator);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lower);
    bottom->addStretch();
    bottom->addWidget(mClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(mGrid, 1);
    layout->addLayout(bottom);
    resize(1180, 560);
    connect(mClose, &QPushButton::clicked, this, &QDialog::accept);

    // Sorting and filtering are not offered: the list keeps the portal's order.
    for (QAction* a : {acSort(), acFilter()}) {
        a->setVisible(false);
        a->setEnabled(false);
    }
    for (const char* order : {Cmd::actOrderUpdate, Cmd::acOrderDownload})
        action(order)->setVisible(!mManager);

    ensureCreated();
    mGrid->setCellClickHook([this](int, int column) {
        const db::Field* field = mGrid->columnField(column);
        if (!field)
            return;
        if (field->name().compare(name(F::kUnload), Qt::CaseInsensitive) == 0)
            SwapUnload();
        else if (field->name().compare(name(F::kVisible), Qt::CaseInsensitive) == 0)
            SwapNewPosVisibility();
        else if (field->name().compare(name(F::kHideDiscount), Qt::CaseInsensitive) == 0)
            ToggleHideDiscount();
    });
    // Space swaps the export flag whichever column is current.
    mGrid->setKeyDownHook([this](QKeyEvent* event) {
        if (event->key() != Qt::Key_Space)
            return false;
        SwapUnload();
        return true;
    });
    connect(mGrid, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        const db::Field* field = mGrid->columnField(index.column());
        const QString n = field ? field->name().toUpper() : QString();
        if (n == name(F::kUnload) || n == name(F::kVisible) || n == name(F::kHideDiscount))
            return; // the click has changed the flag already
        action(Cmd::acEmitentEditParams)->trigger();
    });
}

TfrmEmitentSelect::~TfrmEmitentSelect() = default;

db::Query* TfrmEmitentSelect::list() const
{
    return mDm.queries().oqEmitentSelect;
}

bool TfrmEmitentSelect::hasRows() const
{
    return list()->isOpen() && !list()->isEmpty();
}

void TfrmEmitentSelect::SetupCaptions()
{
    TfmMainTEV::SetupCaptions();
    setWindowTitle(lang::tr(u"vrstrEmitentSettings"));
    mActions.applyTexts();
    mGrid->setHint(lang::tr(u"rstrEmitent"));
    mGrid->setToolTip(lang::tr(u"rstrEmitent"));
    mGrid->setColumns({{name(F::kUnload), lang::tr(u"rstrUnLoad"), 80, true},
                       {name(F::kVisible), lang::tr(u"vrstrEmitentNewPosVisible"), 150, true},
                       {name(F::kHideDiscount), lang::tr(u"vrstrEmitentShowDiscount"), 130, true},
                       {QStringLiteral("EMITENT_NUMBER"), lang::tr(u"rstrNum"), 60, true},
                       {QStringLiteral("FILIAL_NUMBER"), lang::tr(u"rstrBranch"), 60, true},
                       {QStringLiteral("EMITENT_NAME_ANSI"), lang::tr(u"rstrName"), 250, true},
                       {QStringLiteral("TYPE_CHANGE_STR"), lang::tr(u"rstrTypeChange"), 125, true},
                       {QStringLiteral("SHARING_FOLDER"), lang::tr(u"rstrExchangeFolder"), 200, true},
                       {QStringLiteral("E_MAIL"), lang::tr(u"rstrEmailAddr"), 200, true},
                       {QStringLiteral("ORDER_UNLOAD"), lang::tr(u"rstrOrderUpdate"), 110, true}});
    mClose->setText(lang::tr(u"rstrClose"));
}

void TfrmEmitentSelect::ActionsUpdate()
{
    const bool rows = hasRows();
    action(Cmd::acEmitentEditParams)->setEnabled(rows);
    action(Cmd::actBillingSettingsEdit)->setEnabled(rows);
    action(Cmd::actEditLimits)->setEnabled(rows);
    action(Cmd::actEmitentPosVisible)->setEnabled(rows && list()->asInteger(name(F::kVisible)) == 1);
    for (const char* order : {Cmd::actOrderUpdate, Cmd::acOrderDownload}) {
        action(order)->setVisible(!mManager);
        action(order)->setEnabled(!mManager);
    }
    acSort()->setEnabled(false);
    acFilter()->setEnabled(false);
}

bool TfrmEmitentSelect::DrawGridCell(DBGrid& grid, const DrawCellContext& cell)
{
    // The export and discount flags are check boxes too (the visibility flag is one already).
    if (&grid == mGrid && cell.field && cell.painter) {
        const QString n = cell.field->name().toUpper();
        if (n == name(F::kUnload) || n == name(F::kHideDiscount)) {
            db::Dataset* ds = grid.dataset();
            const bool empty = !ds || !ds->isOpen() || ds->isEmpty();
            const bool marked = !empty && cell.row >= 0 && cell.row < ds->recordCount() &&
                                ds->value(cell.row, cell.field->index()).toInt() == 1;
            GridCellPainting::paintCheckBox(cell.painter, &grid, cell.rect, marked, !empty);
            return true;
        }
    }
    return TfmMainTEV::DrawGridCell(grid, cell);
}

void TfrmEmitentSelect::writeFlag(const std::function<void()>& calls)
{
    db::Query* q = list();
    const int recNo = q->recNo();
    QString error;
    try {
        emitentsettings::inOneTransaction(*mDm.session(), calls);
    } catch (const std::exception& e) {
        error = ErrorText(e);
    }
    try {
        q->refresh();
        q->setRecNo(recNo);
    } catch (...) {
        // A lost connection fails the re-read too: one message says it.
        if (error.isNull())
            throw;
    }
    if (!error.isNull())
        lang::ShowMsgBox(this, emitenttext::writeFailed(error), 1);
}

void TfrmEmitentSelect::reread(const QVariant& emitentId)
{
    db::Query* q = list();
    q->refresh();
    q->locate(name(F::kId), emitentId);
}

void TfrmEmitentSelect::SwapUnload()
{
    if (!hasRows())
        return;
    const QVariant id = list()->value(name(F::kId));
    const int value = emitentrules::SwapFlag(flagValue(list()->value(name(F::kUnload))));
    writeFlag([&] { mDm.queries().TEV_UTILS->execProc(QStringLiteral("change_emit_unload"), {id, value}); });
}

void TfrmEmitentSelect::SwapNewPosVisibility()
{
    if (!hasRows())
        return;
    const QVariant id = list()->value(name(F::kId));
    const int value = emitentrules::SwapFlag(flagValue(list()->value(name(F::kVisible))));
    writeFlag([&] { mDm.queries().TEV_UTILS->execProc(QStringLiteral("SET_POS_VISIBLE"), {id, value}); });
}

void TfrmEmitentSelect::ToggleHideDiscount()
{
    if (!hasRows())
        return;
    const QVariant id = list()->value(name(F::kId));
    // The portal turns the value shown into the other state.
    const int shown = flagValue(list()->value(name(F::kHideDiscount)));
    writeFlag([&] {
        mDm.queries().TEV_UTILS->execProc(QStringLiteral("SET_EMITENT_HIDE_DISCONT"), {id, shown});
    });
}

ExchangeParams TfrmEmitentSelect::currentExchangeParams() const
{
    const db::Query* q = list();
    ExchangeParams p;
    p.typeChange = flagValue(q->value(QStringLiteral("TYPE_CHANGE")));
    p.sharingFolder = q->asString(QStringLiteral("SHARING_FOLDER"));
    p.email = q->asString(QStringLiteral("E_MAIL"));
    p.useHttp = flagValue(q->value(QStringLiteral("USE_HTTP")));
    p.httpServer = q->asString(QStringLiteral("HTTP_SERVER"));
    p.httpPort = q->value(QStringLiteral("HTTP_PORT"));
    p.useHttpProxy = flagValue(q->value(QStringLiteral("USE_HTTP_PROXY")));
    p.httpProxyServer = q->asString(QStringLiteral("HTTP_PROXY_SERVER"));
    p.httpProxyPort = q->value(QStringLiteral("HTTP_PROXY_PORT"));
    p.useHttpProxyAuth = flagValue(q->value(QStringLiteral("USE_HTTP_PROXY_AUTH")));
    p.httpProxyUser = q->asString(QStringLiteral("HTTP_PROXY_USER"));
    p.httpProxyPswd = q->asString(QStringLiteral("HTTP_PROXY_PSWD"));
    return p;
}

void TfrmEmitentSelect::acEmitentEditParamsExecute()
{
    if (!hasRows())
        return;
    db::Query* q = list();
    const QVariant id = q->value(name(F::kId));
    const ExchangeParams stored = currentExchangeParams();
    TfrmEditEmitChangeParams dialog(this);
    dialog.setEmitentName(DecodeUnicodeEscapes(q->asString(name(F::kName))));
    dialog.setParams(stored);
    bool written = false;
    dialog.setWriter([&](const ExchangeParams& p) {
        if (p == stored)
            return; // nothing changed: no call
        db::StoredProc* sp = mDm.queries().ospUpdateEmitentParams;
        emitentsettings::inOneTransaction(*mDm.session(), [&] {
            sp->setParam(QStringLiteral("P_EMITENT_ID"), id);
            sp->setParam(QStringLiteral("P_EMIT_TYPE_CHANGE"), p.typeChange);
            sp->setParam(QStringLiteral("P_SHARING_FOLDER"), p.sharingFolder);
            sp->setParam(QStringLiteral("P_EMIT_EMAIL"), p.email);
            sp->setParam(QStringLiteral("P_USE_HTTP"), p.useHttp);
            sp->setParam(QStringLiteral("P_HTTP_SERVER"), p.httpServer);
            sp->setParam(QStringLiteral("P_HTTP_PORT"), p.httpPort);
            sp->setParam(QStringLiteral("P_USE_HTTP_PROXY"), p.useHttpProxy);
            sp->setParam(QStringLiteral("P_HTTP_PROXY_SERVER"), p.httpProxyServer);
            sp->setParam(QStringLiteral("P_HTTP_PROXY_PORT"), p.httpProxyPort);
            sp->setParam(QStringLiteral("P_USE_HTTP_PROXY_AUTH"), p.useHttpProxyAuth);
            sp->setParam(QStringLiteral("P_HTTP_PROXY_USER"), p.httpProxyUser);
            sp->setParam(QStringLiteral("P_HTTP_PROXY_PSWD"), p.httpProxyPswd);
            sp->execProc();
        });
        written = true;
    });
    if (framework::execModal(dialog) == QDialog::Accepted && written)
        reread(id);
}

void TfrmEmitentSelect::actBillingSettingsEditExecute()
{
    if (!hasRows())
        return;
    db::Query* q = list();
    const QVariant id = q->value(name(F::kId));
    const bool storedUse = flagValue(q->value(QStringLiteral("USE_BILLING"))) == 1;
    const QString storedPrefix = q->asString(QStringLiteral("BILLING_PREFIX"));
    const QString storedName = q->asString(QStringLiteral("BILLING_SERVICE_NAME"));
    const QVariant storedVat = q->value(QStringLiteral("BILLING_VAT"));
    TfrmEditBillingSettings dialog(this);
    dialog.setEmitentName(DecodeUnicodeEscapes(q->asString(name(F::kName))));
    dialog.setValues({storedUse, storedPrefix, DecodeUnicodeEscapes(storedName), emitentrules::VatText(storedVat)});
    bool written = false;
    dialog.setWriter([&](const BillingValues& v) {
        if (!emitentrules::BillingChanged(v, storedUse, storedPrefix, storedName, storedVat))
            return;
        db::StoredProc* sp = mDm.queries().ospUpdBillingParams;
        emitentsettings::inOneTransaction(*mDm.session(), [&] {
            sp->setParam(QStringLiteral("P_EMITENT_WEB_ID"), id);
            sp->setParam(QStringLiteral("P_USE_BILLING"), v.useBilling ? 1 : 0);
            sp->setParam(QStringLiteral("P_PREFIX"), v.prefix);
            sp->setParam(QStringLiteral("P_SERVICE_NAME"), EncodeUnicodeEscapes(v.serviceName));
            sp->setParam(QStringLiteral("P_VAT"), emitentrules::ParseVat(v.vat).value_or(0.0));
            sp->execProc();
        });
        written = true;
    });
    if (framework::execModal(dialog) == QDialog::Accepted && written)
        reread(id);
}

void TfrmEmitentSelect::actEmitentPosVisibleExecute()
{
    if (!hasRows())
        return;
    TfrmSelectEmitentPos::Show(mDm, int(list()->asInteger(name(F::kId))), this);
}

void TfrmEmitentSelect::actEditLimitsExecute()
{
    if (!hasRows())
        return;
    TfrmLimitsEdit::ShowEmitentLimits(mDm, int(list()->asInteger(name(F::kId))), this);
}

void TfrmEmitentSelect::actOrderUpdateExecute()
{
    if (mManager)
        return;
    const QVariant id = hasRows() ? list()->value(name(F::kId)) : QVariant();
    TfrmOrderUnload window(mDm, this);
    if (framework::execModal(window) == QDialog::Accepted)
        reread(id);
}

void TfrmEmitentSelect::acOrderDownloadExecute()
{
    if (mManager)
        return;
    const QVariant id = hasRows() ? list()->value(name(F::kId)) : QVariant();
    TfrmOrderDownload window(mDm, this);
    if (framework::execModal(window) == QDialog::Accepted)
        reread(id);
}
