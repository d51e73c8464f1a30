#include "ClientsWorkArea.h"

#include "Catalogue.h"
#include "ClientTicks.h"
#include "ClientsFilter.h"
#include "ClientsQuery.h"
#include "ConnectionSettings.h"
#include "DBGrid.h"
#include "EmitentPickList.h"
#include "FormEnvironment.h"
#include "IniFile.h"
#include "LaterWindowNotice.h"
#include "MessageDialogs.h"
#include "Package.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "Session.h"
#include "SharedQueries.h"
#include "StoredProc.h"
#include "TdmMain.h"
#include "TfrmSelectEmitent.h"
#include "ui_ClientsWorkArea.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QHeaderView>
#include <QKeyEvent>
#include <QToolBar>
#include <QToolButton>

namespace {

// Column widths of the detail grid, per query (pixels).
struct DetailColumn
{
    const char* field;
    int width;
};

QList<DBGrid::Column> detailColumns(const QString& queryName)
{
    static const QHash<QString, QList<DetailColumn>> widths = {
        {"qryLogins",
         {{"ID", 110},
          {"WBL_LOGIN", 160},
          {"IS_ACTIVE", 70},
          {"IS_JOURNALISING", 120},
          {"CARD_HOLDER_NAME_ANSI", 230},
          {"STATEHOLDERNAME", 300},
          {"EMAIL", 230}}},
        {"qryJournal",
         {{"WBL_LOGIN_MD5", 160},
          {"VISIT_DATE", 150},
          {"OPERATION_NAME_ANSI", 260},
          {"WJ_COMMENT_ANSI", 460}}},
        {"oqDescribes", {{"WBD_DATE_OF", 140}, {"WBD_DATE_END", 140}, {"WBD_COMMENT", 460}}},
    };
    QList<DBGrid::Column> columns;
    const QList<DetailColumn> known = widths.value(queryName);
    for (const QString& field : SharedQueries::displayColumns(queryName)) {
        int width = 120;
        for (const DetailColumn& k : known)
            if (field == QLatin1String(k.field))
                width = k.width;
        columns.append({field, QString(), width, true});
    }
    return columns;
}

// The description is one line here; the portal keeps it with its line breaks.
QString oneLine(const QString& text)
{
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return line;
}

bool isEnterKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

bool isCtrlDelete(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Delete && event->modifiers().testFlag(Qt::ControlModifier);
}

bool hasRows(const db::Dataset* ds)
{
    return ds && ds->isOpen() && !ds->isEmpty();
}

} // namespace

ClientsWorkArea::ClientsWorkArea(TdmMain& dm, QWidget* window)
    : QWidget(window), mDm(dm), ui(std::make_unique<Ui::ClientsWorkArea>()), mClients(new db::Query(window))
{
    ui->setupUi(this);
    QFont bold = ui->lblEmitent->font();
    bold.setBold(true);
    ui->lblEmitent->setFont(bold);
    ClientsQuery::Setup(*mClients);

    mSourceGroup = new QButtonGroup(this);
    mSourceGroup->addButton(ui->rbSrcOC, ClientsFilter::SourceOC);
    mSourceGroup->addButton(ui->rbSrcLC, ClientsFilter::SourceLC);
    mSourceGroup->addButton(ui->rbSrcOCandLC, ClientsFilter::SourceOCandLC);
    ui->rbSrcOC->setChecked(true);
    mTypeGroup = new QButtonGroup(this);
    mTypeGroup->addButton(ui->rbTypeFirms, ClientsFilter::TypeFirms);
    mTypeGroup->addButton(ui->rbTypePrivate, ClientsFilter::TypePrivate);
    mTypeGroup->addButton(ui->rbTypeAll, ClientsFilter::TypeAll);
    ui->rbTypeAll->setChecked(true);
    connect(mSourceGroup, &QButtonGroup::idClicked, this, &ClientsWorkArea::rgSrcClick);
    connect(mTypeGroup, &QButtonGroup::idClicked, this, &ClientsWorkArea::rgSrcClick);

    mClientsTools = new QToolBar(this);
    mClientsTools->setObjectName(QStringLiteral("tbClients"));
    mClientsTools->setIconSize(QSize(16, 16));
    mClientsTools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ui->layClientsTools->addWidget(mClientsTools);
    mDetailTools = new QToolBar(this);
    mDetailTools->setObjectName(QStringLiteral("tbDetail"));
    mDetailTools->setIconSize(QSize(16, 16));
    mDetailTools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ui->layDetailTools->addWidget(mDetailTools);

    createActions();
    setupGrids();

    connect(ui->btnSelectEmitent, &QPushButton::clicked, this, &ClientsWorkArea::btnSelectEmitentClick);
    connect(ui->btnLogins, &QToolButton::clicked, this, [this] { paneButtonClicked(Pane::Logins); });
    connect(ui->btnJournal, &QToolButton::clicked, this, [this] { paneButtonClicked(Pane::Journal); });
    connect(ui->btnDescribes, &QToolButton::clicked, this, [this] { paneButtonClicked(Pane::Describes); });
    connect(ui->navClients, &RecordNavigator::clicked, this, [this](RecordNavigator::Button button) {
        switch (button) {
        case RecordNavigator::nbFirst:
        case RecordNavigator::nbPrior:
        case RecordNavigator::nbNext:
        case RecordNavigator::nbLast:
        case RecordNavigator::nbRefresh:
            openLogins();
            break;
        default:
            break;
        }
    });

    for (auto signal : {&db::Dataset::afterOpen, &db::Dataset::afterScroll, &db::Dataset::rowsReset,
                        &db::Dataset::afterClose})
        connect(mClients, signal, this, &ClientsWorkArea::currentClientChanged);
    // Ticks live only as long as the fetched rows.
    connect(mClients, &db::Dataset::afterOpen, this, [this] { setSelectedCount(0); });

    ui->splDetail->setStretchFactor(0, 2);
    ui->splDetail->setStretchFactor(1, 1);
    ui->pnlDetail->hide();
    ApplyLanguage();
}

ClientsWorkArea::~ClientsWorkArea() = default;

DBGrid* ClientsWorkArea::grdClients() const
{
    return ui->grdClients;
}

DBGrid* ClientsWorkArea::grdDetail() const
{
    return ui->grdDetail;
}

RecordNavigator* ClientsWorkArea::navClients() const
{
    return ui->navClients;
}

QWidget* ClientsWorkArea::detailPane() const
{
    return ui->pnlDetail;
}

QAbstractButton* ClientsWorkArea::paneButton(Pane pane) const
{
    switch (pane) {
    case Pane::Logins:
        return ui->btnLogins;
    case Pane::Journal:
        return ui->btnJournal;
    case Pane::Describes:
        return ui->btnDescribes;
    case Pane::None:
        break;
    }
    return nullptr;
}

QAbstractButton* ClientsWorkArea::btnSelectEmitent() const
{
    return ui->btnSelectEmitent;
}

QString ClientsWorkArea::emitentCaption() const
{
    return ui->lblEmitent->text();
}

QString ClientsWorkArea::descriptionText() const
{
    return ui->edtDescription->text();
}

int ClientsWorkArea::sourceIndex() const
{
    return mSourceGroup->checkedId();
}

int ClientsWorkArea::clientTypeIndex() const
{
    return mTypeGroup->checkedId();
}

void ClientsWorkArea::clickSource(int index)
{
    if (QAbstractButton* b = mSourceGroup->button(index))
        b->click();
}

void ClientsWorkArea::clickClientType(int index)
{
    if (QAbstractButton* b = mTypeGroup->button(index))
        b->click();
}

QAction* ClientsWorkArea::makeAction(const char* name, const char* icon)
{
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(name));
    if (icon)
        action->setIcon(framework::themeIcon(QString::fromLatin1(icon)));
    addAction(action);
    return action;
}

void ClientsWorkArea::createActions()
{
    mShowLogins = makeAction("actShowLogins");
    mShowJournal = makeAction("actShowJournal");
    mShowDescribes = makeAction("actShowDescribes");
    mHideDetail = makeAction("actHideDetail");
    mPaneGroup = new QActionGroup(this);
    for (QAction* a : {mShowLogins, mShowJournal, mShowDescribes, mHideDetail}) {
        a->setCheckable(true);
        mPaneGroup->addAction(a);
    }
    mHideDetail->setChecked(true);
    connect(mShowLogins, &QAction::triggered, this, [this] { pressPaneButton(Pane::Logins); });
    connect(mShowJournal, &QAction::triggered, this, [this] { pressPaneButton(Pane::Journal); });
    connect(mShowDescribes, &QAction::triggered, this, [this] { pressPaneButton(Pane::Describes); });
    connect(mHideDetail, &QAction::triggered, this, [this] { pressPaneButton(Pane::None); });

    mSelectAll = makeAction("acSelectAll", "edit-select-all");
    mSelectNone = makeAction("acSelectNone", "edit-clear-all");
    mInvertSelection = makeAction("acInvertSelection", "object-flip-horizontal");
    connect(mSelectAll, &QAction::triggered, this, &ClientsWorkArea::acSelectAllExecute);
    connect(mSelectNone, &QAction::triggered, this, &ClientsWorkArea::acSelectNoneExecute);
    connect(mInvertSelection, &QAction::triggered, this, &ClientsWorkArea::acInvertSelectionExecute);

    mEditClient = makeAction("actEditClient", "document-properties");
    mEditClientKind = makeAction("acEditClientKind", "accessories-text-editor");
    mEditMaxLimits = makeAction("actEditMaxLimits", "document-page-setup");
    mSendInvitations = makeAction("acSendInvitations", "mail-send");
    connect(mEditClient, &QAction::triggered, this, [this] { commandNotYetAvailable(u"rstrClient"); });
    connect(mEditClientKind, &QAction::triggered, this,
            [this] { commandNotYetAvailable(u"vrstrEditClientGroup"); });
    connect(mEditMaxLimits, &QAction::triggered, this,
            [this] { commandNotYetAvailable(u"vrstrClientMaxLimits"); });
    connect(mSendInvitations, &QAction::triggered, this, &ClientsWorkArea::acSendInvitationsExecute);

    mAddLogin = makeAction("acAddLogin", "list-add");
    mEditLogin = makeAction("actEditLogin", "accessories-text-editor");
    mEditPassLogin = makeAction("actEditPassLogin", "dialog-password");
    mResetLock = makeAction("actResetLock", "changes-allow");
    connect(mAddLogin, &QAction::triggered, this, [this] { commandNotYetAvailable(u"rstrAddLogin"); });
    connect(mEditLogin, &QAction::triggered, this, [this] { commandNotYetAvailable(u"rstrChangeLogin"); });
    connect(mEditPassLogin, &QAction::triggered, this,
            [this] { commandNotYetAvailable(u"rstrChangePassForLogin"); });
    connect(mResetLock, &QAction::triggered, this, &ClientsWorkArea::actResetLockExecute);

    mAddDescribe = makeAction("actAddDescribe", "list-add");
    mEditDescribe = makeAction("actEditDescribe", "accessories-text-editor");
    mDelDescribe = makeAction("actDelDescribe", "list-remove");
    connect(mAddDescribe, &QAction::triggered, this,
            [this] { commandNotYetAvailable(u"rstrCreateDescribeCaption"); });
    connect(mEditDescribe, &QAction::triggered, this,
            [this] { commandNotYetAvailable(u"rstrEditDescribeCaption"); });
    connect(mDelDescribe, &QAction::triggered, this,
            [this] { commandNotYetAvailable(u"rstrDeleteDescribeCaption"); });

    mClientsTools->addActions({mSelectAll, mSelectNone, mInvertSelection});
    mClientsTools->addSeparator();
    mClientsTools->addActions({mEditClient, mEditClientKind, mEditMaxLimits, mSendInvitations});
    // Long captions: their buttons show the icon, the caption is the tool tip.
    for (QAction* a : {mEditClientKind, mEditMaxLimits})
        if (auto* button = qobject_cast<QToolButton*>(mClientsTools->widgetForAction(a)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    mDetailTools->addActions(
        {mAddLogin, mEditLogin, mEditPassLogin, mResetLock, mAddDescribe, mEditDescribe, mDelDescribe});
}

QList<QAction*> ClientsWorkArea::commands() const
{
    return {mShowLogins,      mShowJournal,     mShowDescribes, mHideDetail,     mSelectAll,
            mSelectNone,      mInvertSelection, mEditClient,    mEditClientKind, mEditMaxLimits,
            mSendInvitations, mAddLogin,        mEditLogin,     mEditPassLogin,  mResetLock,
            mAddDescribe,     mEditDescribe,    mDelDescribe};
}

void ClientsWorkArea::setupGrids()
{
    const GridOptions options = (DBGrid::defaultOptions() & ~GridOptions(GridOption::Editing)) |
                                GridOption::RowSelect | GridOption::AlwaysShowSelection;
    DBGrid* clients = ui->grdClients;
    clients->setObjectName(QStringLiteral("grdClients"));
    clients->setOptions(options);
    QList<DBGrid::Column> columns;
    for (const ClientsQuery::Column& c : ClientsQuery::Columns())
        columns.append({QString::fromLatin1(c.field), QString(), c.width, c.width > 0});
    clients->setColumns(columns);
    clients->setDataset(mClients);
    ui->navClients->setDataset(mClients);
    clients->setCellClickHook([this](int, int column) {
        const db::Field* f = ui->grdClients->columnField(column);
        if (f && f->name() == QLatin1String(ClientsQuery::kTickField))
            ToggleCurrentTick();
    });
    clients->setKeyDownHook([this](QKeyEvent* event) { return clientsKeyDown(event); });
    connect(clients, &QAbstractItemView::doubleClicked, this, [this] {
        if (mEditClient->isEnabled())
            mEditClient->trigger();
    });

    DBGrid* detail = ui->grdDetail;
    detail->setObjectName(QStringLiteral("grdDetail"));
    detail->setOptions(options);
    detail->setKeyDownHook([this](QKeyEvent* event) { return detailKeyDown(event); });
    connect(detail, &QAbstractItemView::doubleClicked, this, &ClientsWorkArea::detailDoubleClick);
}

bool ClientsWorkArea::clientsKeyDown(QKeyEvent* event)
{
    if (isCtrlDelete(event))
        return true;
    if (isEnterKey(event)) {
        if (mEditClient->isEnabled())
            mEditClient->trigger();
        return true;
    }
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        ToggleCurrentTick();
        return true;
    }
    return false;
}

bool ClientsWorkArea::detailKeyDown(QKeyEvent* event)
{
    if (isCtrlDelete(event))
        return true;
    if (isEnterKey(event)) {
        detailDoubleClick();
        return true;
    }
    return false;
}

void ClientsWorkArea::detailDoubleClick()
{
    if (mEditLogin->isEnabled() && mEditLogin->isVisible())
        mEditLogin->trigger();
    if (mEditDescribe->isEnabled() && mEditDescribe->isVisible())
        mEditDescribe->trigger();
}

// ---------------------------------------------------------------------------------------------
// Emitent

void ClientsWorkArea::ChooseStartEmitent()
{
    mCurrentEmitentId = mDm.settings().lastSelectedEmitent();
    db::Package* pkg = mDm.queries().TEV_UTILS;
    if (mCurrentEmitentId < 1)
        mCurrentEmitentId = pkg->execFunc(QStringLiteral("get_first_emitent")).toInt();
    if (!mAllEmitents)
        mCurrentEmitentId =
            pkg->execFunc(QStringLiteral("check_tev_manager_emitent"), {mCurrentEmitentId, mDm.ManagerId()})
                .toInt();
}

void ClientsWorkArea::OpenEmitentList(int emitentId)
{
    db::Query* list = mDm.queries().oqEmitentSelect;
    list->close();
    if (mAllEmitents) {
        list->setParam(QStringLiteral("P_ALL_EMITENT"), 1);
    } else {
        list->setParam(QStringLiteral("P_ALL_EMITENT"), 0);
        list->setParam(QStringLiteral("P_MANAGER_ID"), mDm.ManagerId());
    }
    list->open();
    list->locate(QStringLiteral("EMITENT_ID_WEB"), emitentId);
}

void ClientsWorkArea::OpenEmitentData()
{
    try {
        mDm.settings().setLastSelectedEmitent(mCurrentEmitentId);
    } catch (const lang::IniError& e) {
        TdmMain::ReportIniError(e);
    }
    SharedQueries& q = mDm.queries();
    const int rpt = ClientsQuery::ReportNameSwitch(mDm.GetConfigValue(QStringLiteral("SHOW_REPORT_NAME")));
    mOpening = true;
    try {
        mClients->close();
        mClients->setParam(QStringLiteral("emitent_id"), mCurrentEmitentId);
        mClients->setParam(QStringLiteral("rpt"), rpt);
        mClients->open();
        for (db::Query* query : {q.oquPOSes, q.oquTrnTypes}) {
            query->close();
            query->setParam(QStringLiteral("emitent_id"), mCurrentEmitentId);
            query->open();
        }
    } catch (...) {
        mOpening = false;
        throw;
    }
    mOpening = false;
    mPaneClientId = currentClientId();
    openLogins();
    if (mPane == Pane::Journal)
        openJournal();
    else if (mPane == Pane::Describes)
        openDescribes();
    currentClientChanged();

    db::Query* list = q.oqEmitentSelect;
    const QString name = hasRows(list) ? list->asString(QStringLiteral("FULL_EM_NAME")) : QString();
    ui->lblEmitent->setText(QStringLiteral("   ") + name);
}

void ClientsWorkArea::ShowBothSourcesWhenLnr()
{
    if (!mClients->isOpen())
        return;
    const bool filtered = mClients->isFiltered();
    if (filtered)
        mClients->setFiltered(false);
    const int column = mClients->fieldByName(QStringLiteral("CLIENTISLNR")).index();
    bool lnr = false;
    for (int row = 0; row < mClients->recordCount() && !lnr; ++row)
        lnr = mClients->value(row, column).toInt() == 1;
    if (filtered)
        mClients->setFiltered(true);
    if (lnr)
        clickSource(ClientsFilter::SourceOCandLC);
}

void ClientsWorkArea::btnSelectEmitentClick()
{
    db::Query* list = mDm.queries().oqEmitentSelect;
    const QList<EmitentPickList::Row> rows = EmitentPickList::rowsOf(*list);
    const int current =
        hasRows(list) ? int(list->asInteger(QStringLiteral("EMITENT_ID_WEB"))) : mCurrentEmitentId;
    const std::optional<int> chosen = TfrmSelectEmitent::Pick(window(), rows, current);
    if (!chosen)
        return;
    list->locate(QStringLiteral("EMITENT_ID_WEB"), *chosen);
    if (*chosen == mCurrentEmitentId)
        return;
    mCurrentEmitentId = *chosen;
    emit emitentChanged();
    OpenEmitentData();
    mDm.session()->commit();
}

// ---------------------------------------------------------------------------------------------
// Filters

void ClientsWorkArea::rgSrcClick()
{
    mClients->setFiltered(false);
    mClients->setFilter(QString());
    mClients->setFilter(ClientsFilter::FilterText(sourceIndex(), clientTypeIndex()));
    mClients->setFiltered(true);
    applyColumnVisibility();
    // The count is of the ticked clients the list shows: a filter can hide every one of them.
    setSelectedCount(ClientTicks::CountTicked(*mClients));
}

void ClientsWorkArea::applyColumnVisibility()
{
    const ClientsFilter::ColumnVisibility v = ClientsFilter::ColumnsFor(sourceIndex());
    const QList<ClientsQuery::Column>& columns = ClientsQuery::Columns();
    for (int i = 0; i < columns.size(); ++i) {
        const QString field = QString::fromLatin1(columns[i].field);
        bool visible;
        if (field == QLatin1String("ALLOW_CREATE_DR_TXT"))
            visible = v.createDR;
        else if (field == QLatin1String("ALLOW_CREATE_DD_TXT"))
            visible = v.createDD;
        else if (field == QLatin1String("ALLOW_CREATE_OIL_TXT"))
            visible = v.createOIL;
        else
            continue;
        mClients->defineField(field).setVisible(visible);
        ui->grdClients->setColumnVisible(i, visible);
    }
}

// ---------------------------------------------------------------------------------------------
// Ticks

void ClientsWorkArea::setSelectedCount(int count)
{
    if (count == mSelectedCount)
        return;
    mSelectedCount = count;
    emit selectedCountChanged(count);
}

void ClientsWorkArea::SetTick(int row, int value)
{
    ClientTicks::SetTick(*mClients, row, value);
}

void ClientsWorkArea::ToggleCurrentTick()
{
    if (!hasRows(mClients) || mClients->currentRow() < 0)
        return;
    setSelectedCount(mSelectedCount + ClientTicks::ToggleTick(*mClients, mClients->currentRow()));
}

void ClientsWorkArea::acSelectAllExecute()
{
    setSelectedCount(ClientTicks::SelectAll(*mClients));
}

void ClientsWorkArea::acSelectNoneExecute()
{
    setSelectedCount(ClientTicks::SelectNone(*mClients));
}

void ClientsWorkArea::acInvertSelectionExecute()
{
    setSelectedCount(ClientTicks::InvertSelection(*mClients));
}

TInvitationList ClientsWorkArea::InvitationClients()
{
    return BuildInvitationList(*mClients);
}

// ---------------------------------------------------------------------------------------------
// Detail pane

db::Dataset* ClientsWorkArea::paneDataset(Pane pane) const
{
    SharedQueries& q = mDm.queries();
    switch (pane) {
    case Pane::Logins:
        return q.qryLogins;
    case Pane::Journal:
        return q.qryJournal;
    case Pane::Describes:
        return q.oqDescribes;
    case Pane::None:
        break;
    }
    return nullptr;
}

void ClientsWorkArea::paneButtonClicked(Pane pane)
{
    QAbstractButton* button = paneButton(pane);
    const bool down = button->isChecked();
    // One group: a button going down raises the others; all may be up.
    for (Pane other : {Pane::Logins, Pane::Journal, Pane::Describes})
        if (other != pane && down)
            paneButton(other)->setChecked(false);
    switch (pane) {
    case Pane::Logins:
        (down ? mShowLogins : mHideDetail)->setChecked(true);
        ShowLoginsPane(down);
        break;
    case Pane::Journal:
        (down ? mShowJournal : mHideDetail)->setChecked(true);
        ShowJournalPane(down);
        break;
    case Pane::Describes:
        (down ? mShowDescribes : mHideDetail)->setChecked(true);
        ShowDescribesPane(down);
        break;
    case Pane::None:
        break;
    }
}

void ClientsWorkArea::pressPaneButton(Pane pane)
{
    if (pane == Pane::None) {
        for (Pane p : {Pane::Logins, Pane::Journal, Pane::Describes})
            paneButton(p)->setChecked(false);
        mHideDetail->setChecked(true);
        mPane = Pane::None;
        ui->pnlDetail->hide();
        return;
    }
    QAbstractButton* button = paneButton(pane);
    if (!button->isVisibleTo(this))
        return;
    button->setChecked(true);
    paneButtonClicked(pane);
}

void ClientsWorkArea::showPane(Pane pane, bool show)
{
    if (show) {
        db::Dataset* ds = paneDataset(pane);
        DBGrid* grid = ui->grdDetail;
        grid->setDataset(nullptr);
        grid->setColumns(detailColumns(ds->objectName()));
        grid->setDataset(ds);
        mPane = pane;
        mPaneClientId = currentClientId();
        switch (pane) {
        case Pane::Logins:
            grid->setHint(lang::tr(u"rstrLogins"));
            openLogins();
            mEditLogin->setEnabled(true);
            mEditPassLogin->setEnabled(true);
            break;
        case Pane::Journal:
            grid->setHint(lang::tr(u"rstrVisitedLogs"));
            openJournal();
            mEditLogin->setEnabled(false);
            mEditPassLogin->setEnabled(false);
            break;
        case Pane::Describes:
            grid->setHint(lang::tr(u"rstrClientDescribes"));
            openDescribes();
            mAddDescribe->setEnabled(false);
            mEditDescribe->setEnabled(false);
            break;
        case Pane::None:
            break;
        }
        grid->setToolTip(grid->hint());
    } else if (mPane == pane) {
        mPane = Pane::None;
    }
    ui->pnlDetail->setVisible(show);
}

void ClientsWorkArea::ShowLoginsPane(bool show)
{
    showPane(Pane::Logins, show);
}

void ClientsWorkArea::ShowJournalPane(bool show)
{
    showPane(Pane::Journal, show);
}

void ClientsWorkArea::ShowDescribesPane(bool show)
{
    showPane(Pane::Describes, show);
}

QVariant ClientsWorkArea::currentClientId() const
{
    if (!hasRows(mClients) || mClients->currentRow() < 0)
        return {};
    return mClients->value(QStringLiteral("WBC_ID"));
}

void ClientsWorkArea::openLogins()
{
    db::Query* q = mDm.queries().qryLogins;
    q->close();
    q->setParam(QStringLiteral("pID"), currentClientId());
    q->open();
}

void ClientsWorkArea::openJournal()
{
    db::Query* q = mDm.queries().qryJournal;
    q->close();
    q->setParam(QStringLiteral("pID"), currentClientId());
    q->setParam(QStringLiteral("pLangId"), mDm.LanguageId());
    q->open();
}

void ClientsWorkArea::openDescribes()
{
    db::Query* q = mDm.queries().oqDescribes;
    q->close();
    q->setParam(QStringLiteral("id"), currentClientId());
    q->open();
}

void ClientsWorkArea::reopenShownPane()
{
    if (ui->btnLogins->isChecked())
        openLogins();
    else if (ui->btnJournal->isChecked())
        openJournal();
    else if (ui->btnDescribes->isChecked())
        openDescribes();
}

void ClientsWorkArea::currentClientChanged()
{
    const bool rows = hasRows(mClients) && mClients->currentRow() >= 0;
    ui->edtDescription->setText(rows ? oneLine(mClients->asString(QStringLiteral("WBC_DESCRIPTION")))
                                     : QString());
    ui->edtDescription->setCursorPosition(0);
    if (mOpening || !mDm.session()->connected())
        return;
    const QVariant id = currentClientId();
    if (id == mPaneClientId)
        return;
    mPaneClientId = id;
    reopenShownPane();
}

// ---------------------------------------------------------------------------------------------
// Commands

void ClientsWorkArea::commandNotYetAvailable(const char16_t* windowCaptionKey)
{
    LaterWindowNotice::Show(window(), lang::tr(windowCaptionKey));
}

void ClientsWorkArea::acSendInvitationsExecute()
{
    const TInvitationList clients = InvitationClients();
    if (!mComposer) {
        commandNotYetAvailable(u"vrstrInvitationSending");
        return;
    }
    const QVariant id = currentClientId();
    mComposer(window(), clients);
    mClients->refresh();
    setSelectedCount(0);
    if (!id.isNull())
        mClients->locate(QStringLiteral("WBC_ID"), id);
}

void ClientsWorkArea::actResetLockExecute()
{
    db::Query* logins = mDm.queries().qryLogins;
    if (!hasRows(logins))
        return;
    db::Session* session = mDm.session();
    db::StoredProc* sp = mDm.queries().ospUnlockLogin;
    session->startTransaction();
    try {
        sp->prepare();
        sp->setParam(QStringLiteral("P_LOGIN_ID"), logins->value(QStringLiteral("ID")));
        sp->execProc();
        session->commit();
    } catch (...) {
        if (session->connected())
            session->rollback();
        throw;
    }
    lang::ShowMsgBox(window(), lang::tr(u"vrstrLoginUnlocked"), 2);
}

// ---------------------------------------------------------------------------------------------
// Texts and action state

void ClientsWorkArea::ApplyLanguage()
{
    const bool clientsOpen = mClients->isOpen();
    const QVariant clientId = currentClientId();
    mOpening = true;
    try {
        if (clientsOpen)
            mClients->close();
        ClientsQuery::ApplyTexts(*mClients);
        if (clientsOpen) {
            mClients->open();
            if (!clientId.isNull())
                mClients->locate(QStringLiteral("WBC_ID"), clientId);
        }
    } catch (...) {
        mOpening = false;
        throw;
    }
    mOpening = false;
    currentClientChanged();

    db::Query* logins = mDm.queries().qryLogins;
    const bool loginsOpen = logins->isOpen();
    const QVariant loginId = hasRows(logins) ? logins->value(QStringLiteral("ID")) : QVariant();
    if (loginsOpen)
        logins->close();
    ClientsQuery::ApplyLoginsTexts(*logins);
    if (loginsOpen) {
        logins->setParam(QStringLiteral("pID"), currentClientId());
        logins->open();
        if (!loginId.isNull())
            logins->locate(QStringLiteral("ID"), loginId);
    }

    ui->grdClients->setHint(lang::tr(u"rstrClients"));
    ui->grdClients->setToolTip(QString());
    ui->edtDescription->setToolTip(lang::tr(u"rstrDescr"));
    ui->btnSelectEmitent->setText(lang::tr(u"vrstrSelectEmitent"));
    ui->rgSrc->setTitle(lang::tr(u"rstrSrc"));
    ui->rbSrcOC->setText(lang::tr(u"rstrOC"));
    ui->rbSrcLC->setText(lang::tr(u"rstrLC"));
    ui->rbSrcOCandLC->setText(lang::tr(u"rstrOCandLC"));
    ui->rgClientsType->setTitle(lang::tr(u"rstrClientsType"));
    ui->rbTypeFirms->setText(lang::tr(u"rstrFirms"));
    ui->rbTypePrivate->setText(lang::tr(u"rstrPrivate"));
    ui->rbTypeAll->setText(lang::tr(u"rstrAll"));
    ui->btnLogins->setText(lang::tr(u"rstrLogins"));
    ui->btnJournal->setText(lang::tr(u"rstrVisitedLogs"));
    ui->btnDescribes->setText(lang::tr(u"rstrClientDescribes"));
    if (mPane != Pane::None)
        ui->grdDetail->setHint(lang::tr(mPane == Pane::Logins    ? u"rstrLogins"
                                        : mPane == Pane::Journal ? u"rstrVisitedLogs"
                                                                 : u"rstrClientDescribes"));

    struct Caption
    {
        QAction* action;
        const char16_t* caption;
        const char16_t* hint; // nullptr: the caption
    };
    const Caption captions[] = {
        {mShowLogins, u"rstrShowLogins", nullptr},
        {mShowJournal, u"rstrhowJournal", nullptr},
        {mShowDescribes, u"rstrClientDescribes", nullptr},
        {mHideDetail, u"rstrHideDetail", nullptr},
        {mSelectAll, u"rstrCheckAll", nullptr},
        {mSelectNone, u"rstrUnCheckAll", nullptr},
        {mInvertSelection, u"rstrInvertCheck", nullptr},
        {mEditClient, u"rstrEditClient", nullptr},
        {mEditClientKind, u"vrstrEditClientGroup", nullptr},
        {mEditMaxLimits, u"vrstrEditMaxLimits", nullptr},
        {mSendInvitations, u"vrstrInvitationSending", nullptr},
        {mAddLogin, u"rstrAddLogin", nullptr},
        {mEditLogin, u"rstrChangeLogin", nullptr},
        {mEditPassLogin, u"rstrEditPassLogin", nullptr},
        {mResetLock, u"vrstrUnlockLogin", u"vrstrUnlockLoginHint"},
        {mAddDescribe, u"rstrCreateDescribe", nullptr},
        {mEditDescribe, u"rstrEditDescribeCaption", nullptr},
        {mDelDescribe, u"rstrDeleteDescribeCaption", nullptr},
    };
    for (const Caption& c : captions) {
        c.action->setText(lang::tr(c.caption));
        const QString hint = lang::tr(c.hint ? c.hint : c.caption);
        c.action->setToolTip(hint);
        c.action->setStatusTip(hint);
    }
}

void ClientsWorkArea::UpdateActions(bool describesAvailable)
{
    ui->btnDescribes->setVisible(describesAvailable);
    ui->btnDescribes->setEnabled(describesAvailable);

    const bool clients = hasRows(mClients);
    const bool loginsDown = ui->btnLogins->isChecked();
    const bool describesDown = ui->btnDescribes->isChecked();
    const bool details = hasRows(ui->grdDetail->dataset());
    const bool loginsShown = mPane == Pane::Logins && ui->pnlDetail->isVisibleTo(this);
    const bool describesShown = mPane == Pane::Describes && ui->pnlDetail->isVisibleTo(this);

    mEditClient->setEnabled(clients);
    mAddLogin->setEnabled(clients);
    mEditMaxLimits->setEnabled(clients);
    for (QAction* a : {mEditLogin, mResetLock, mEditPassLogin})
        a->setEnabled(loginsShown && details);
    mAddDescribe->setEnabled(clients && describesShown);
    mEditDescribe->setEnabled(clients && describesShown && details);
    mDelDescribe->setEnabled(clients && describesShown && details);

    for (QAction* a : {mAddLogin, mEditLogin, mEditPassLogin, mResetLock})
        a->setVisible(loginsDown);
    for (QAction* a : {mAddDescribe, mEditDescribe, mDelDescribe})
        a->setVisible(describesDown);

    mSendInvitations->setEnabled(mSelectedCount != 0);
    mEditClientKind->setEnabled(mSelectedCount != 0);
    mDetailTools->setVisible(loginsDown || describesDown);
}
