#include "ClientsWorkArea.h"

#include "Catalogue.h"
#include "ClientPermissions.h"
#include "ClientTicks.h"
#include "ClientsFilter.h"
#include "ClientsQuery.h"
#include "ConnectionSettings.h"
#include "DBGrid.h"
#include "EmitentPickList.h"
#include "ErrorText.h"
#include "FormEnvironment.h"
#include "IniFile.h"
#include "LaterWindowNotice.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "Package.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "Session.h"
#include "SharedQueries.h"
#include "StoredProc.h"
#include "TdmMain.h"
#include "TfmEditClientGroup.h"
#include "TfmLoginAdd.h"
#include "TfmLoginPassEdit.h"
#include "TfmNewDescribe.h"
#include "TfrmClientEdit.h"
#include "TfrmLimitsEdit.h"
#include "TfrmLoginEdit.h"
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

using EmitentSelect = SharedQueries::EmitentSelect;

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

const QList<framework::ActionRow<ClientsWorkArea>>& ClientsWorkArea::ActionRows()
{
    auto pane = [](Pane p) { return [p](ClientsWorkArea& area) { area.pressPaneButton(p); }; };
    static const QList<framework::ActionRow<ClientsWorkArea>> rows = {
        // Detail panes
        {Cmd::actShowLogins, u"rstrShowLogins", {}, nullptr, {}, pane(Pane::Logins)},
        {Cmd::actShowJournal, u"rstrhowJournal", {}, nullptr, {}, pane(Pane::Journal)},
        {Cmd::actShowDescribes, u"rstrClientDescribes", {}, nullptr, {}, pane(Pane::Describes)},
        {Cmd::actHideDetail, u"rstrHideDetail", {}, nullptr, {}, pane(Pane::None)},
        // Ticks
        {Cmd::acSelectAll, u"rstrCheckAll", {}, "edit-select-all", {}, &ClientsWorkArea::acSelectAllExecute},
        {Cmd::acSelectNone,
         u"rstrUnCheckAll",
         {},
         "edit-clear-all",
         {},
         &ClientsWorkArea::acSelectNoneExecute},
        {Cmd::acInvertSelection,
         u"rstrInvertCheck",
         {},
         "object-flip-horizontal",
         {},
         &ClientsWorkArea::acInvertSelectionExecute},
        // Clients
        {Cmd::actEditClient,
         u"rstrEditClient",
         {},
         "document-properties",
         {},
         &ClientsWorkArea::actEditClientExecute},
        {Cmd::acEditClientKind,
         u"vrstrEditClientGroup",
         {},
         "accessories-text-editor",
         {},
         &ClientsWorkArea::acEditClientKindExecute},
        {Cmd::actEditMaxLimits,
         u"vrstrEditMaxLimits",
         {},
         "document-page-setup",
         {},
         &ClientsWorkArea::actEditMaxLimitsExecute},
        {Cmd::acSendInvitations,
         u"vrstrInvitationSending",
         {},
         "mail-send",
         {},
         &ClientsWorkArea::acSendInvitationsExecute},
        // Logins
        {Cmd::acAddLogin, u"rstrAddLogin", {}, "list-add", {}, &ClientsWorkArea::acAddLoginExecute},
        {Cmd::actEditLogin,
         u"rstrChangeLogin",
         {},
         "accessories-text-editor",
         {},
         &ClientsWorkArea::actEditLoginExecute},
        {Cmd::actEditPassLogin,
         u"rstrEditPassLogin",
         {},
         "dialog-password",
         {},
         &ClientsWorkArea::actEditPassLoginExecute},
        {Cmd::actResetLock,
         u"vrstrUnlockLogin",
         u"vrstrUnlockLoginHint",
         "changes-allow",
         {},
         &ClientsWorkArea::actResetLockExecute},
        // Subscriptions
        {Cmd::actAddDescribe,
         u"rstrCreateDescribe",
         {},
         "list-add",
         {},
         &ClientsWorkArea::actAddDescribeExecute},
        {Cmd::actEditDescribe,
         u"rstrEditDescribeCaption",
         {},
         "accessories-text-editor",
         {},
         &ClientsWorkArea::actEditDescribeExecute},
        {Cmd::actDelDescribe,
         u"rstrDeleteDescribeCaption",
         {},
         "list-remove",
         {},
         &ClientsWorkArea::actDelDescribeExecute},
    };
    return rows;
}

void ClientsWorkArea::createActions()
{
    mActions.create(this, ActionRows());
    mPaneGroup = new QActionGroup(this);
    for (const char* name :
         {Cmd::actShowLogins, Cmd::actShowJournal, Cmd::actShowDescribes, Cmd::actHideDetail}) {
        QAction& a = mActions.action(name);
        a.setCheckable(true);
        mPaneGroup->addAction(&a);
    }
    actHideDetail()->setChecked(true);

    mActions.addTo(mClientsTools, {Cmd::acSelectAll, Cmd::acSelectNone, Cmd::acInvertSelection,
                                   framework::ActionTable::kSeparator, Cmd::actEditClient,
                                   Cmd::acEditClientKind, Cmd::actEditMaxLimits, Cmd::acSendInvitations});
    // Long captions: their buttons show the icon, the caption is the tool tip.
    for (QAction* a : {acEditClientKind(), actEditMaxLimits()})
        if (auto* button = qobject_cast<QToolButton*>(mClientsTools->widgetForAction(a)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    mActions.addTo(mDetailTools,
                   {Cmd::acAddLogin, Cmd::actEditLogin, Cmd::actEditPassLogin, Cmd::actResetLock,
                    Cmd::actAddDescribe, Cmd::actEditDescribe, Cmd::actDelDescribe});
}

void ClientsWorkArea::setupGrids()
{
    const GridOptions options = DBGrid::readOnlyOptions() | GridOption::RowSelect;
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
        if (actEditClient()->isEnabled())
            actEditClient()->trigger();
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
        if (actEditClient()->isEnabled())
            actEditClient()->trigger();
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
    if (actEditLogin()->isEnabled() && actEditLogin()->isVisible())
        actEditLogin()->trigger();
    if (actEditDescribe()->isEnabled() && actEditDescribe()->isVisible())
        actEditDescribe()->trigger();
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
        list->setParam(EmitentSelect::kAllEmitentParam, 1);
    } else {
        list->setParam(EmitentSelect::kAllEmitentParam, 0);
        list->setParam(EmitentSelect::kManagerParam, mDm.ManagerId());
    }
    list->open();
    list->locate(EmitentSelect::kIdField, emitentId);
}

void ClientsWorkArea::OpenEmitentData()
{
    try {
        mDm.settings().setLastSelectedEmitent(mCurrentEmitentId);
    } catch (const lang::IniError& e) {
        TdmMain::ReportIniError(e);
    }
    SharedQueries& q = mDm.queries();
    // The caption follows the chosen emitent before its data opens, as the status bar does: a
    // failed open leaves both naming the same emitent.
    db::Query* list = q.oqEmitentSelect;
    const QString name = hasRows(list) ? list->asString(EmitentSelect::kFullNameField) : QString();
    ui->lblEmitent->setText(QStringLiteral("   ") + name);
    const int rpt = ClientsQuery::ReportNameSwitch(mDm.GetConfigValue(QStringLiteral("SHOW_REPORT_NAME")));
    mOpening = true;
    try {
        mClients->close();
        mClients->setParam(ClientsQuery::kEmitentParam, mCurrentEmitentId);
        mClients->setParam(ClientsQuery::kReportNameParam, rpt);
        mClients->open();
        for (db::Query* query : {q.oquPOSes, q.oquTrnTypes}) {
            query->close();
            query->setParam(SharedQueries::EmitentData::kEmitentParam, mCurrentEmitentId);
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
}

void ClientsWorkArea::ShowBothSourcesWhenLnr()
{
    if (!mClients->isOpen())
        return;
    const bool filtered = mClients->isFiltered();
    if (filtered)
        mClients->setFiltered(false);
    const int column = mClients->fieldByName(ClientsQuery::kLnrField).index();
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
    const int current = hasRows(list) ? int(list->asInteger(EmitentSelect::kIdField)) : mCurrentEmitentId;
    const std::optional<int> chosen = TfrmSelectEmitent::Pick(window(), rows, current);
    if (!chosen)
        return;
    list->locate(EmitentSelect::kIdField, *chosen);
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
        if (field == QLatin1String(ClientsQuery::kCreateDRTextField))
            visible = v.createDR;
        else if (field == QLatin1String(ClientsQuery::kCreateDDTextField))
            visible = v.createDD;
        else if (field == QLatin1String(ClientsQuery::kCreateOILTextField))
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
    try {
        switch (pane) {
        case Pane::Logins:
            (down ? actShowLogins() : actHideDetail())->setChecked(true);
            ShowLoginsPane(down);
            break;
        case Pane::Journal:
            (down ? actShowJournal() : actHideDetail())->setChecked(true);
            ShowJournalPane(down);
            break;
        case Pane::Describes:
            (down ? actShowDescribes() : actHideDetail())->setChecked(true);
            ShowDescribesPane(down);
            break;
        case Pane::None:
            break;
        }
    } catch (...) {
        // A pane that could not open is not left pressed.
        pressPaneButton(Pane::None);
        throw;
    }
}

void ClientsWorkArea::pressPaneButton(Pane pane)
{
    if (pane == Pane::None) {
        for (Pane p : {Pane::Logins, Pane::Journal, Pane::Describes})
            paneButton(p)->setChecked(false);
        actHideDetail()->setChecked(true);
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
            actEditLogin()->setEnabled(true);
            actEditPassLogin()->setEnabled(true);
            break;
        case Pane::Journal:
            grid->setHint(lang::tr(u"rstrVisitedLogs"));
            openJournal();
            actEditLogin()->setEnabled(false);
            actEditPassLogin()->setEnabled(false);
            break;
        case Pane::Describes:
            grid->setHint(lang::tr(u"rstrClientDescribes"));
            openDescribes();
            actAddDescribe()->setEnabled(false);
            actEditDescribe()->setEnabled(false);
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
    return mClients->value(ClientsQuery::kIdField);
}

void ClientsWorkArea::openLogins()
{
    db::Query* q = mDm.queries().qryLogins;
    q->close();
    q->setParam(SharedQueries::Logins::kClientParam, currentClientId());
    q->open();
}

void ClientsWorkArea::openJournal()
{
    db::Query* q = mDm.queries().qryJournal;
    q->close();
    q->setParam(SharedQueries::Journal::kClientParam, currentClientId());
    q->setParam(SharedQueries::Journal::kLanguageParam, mDm.LanguageId());
    q->open();
}

void ClientsWorkArea::openDescribes()
{
    db::Query* q = mDm.queries().oqDescribes;
    q->close();
    q->setParam(SharedQueries::Describes::kClientParam, currentClientId());
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
    ui->edtDescription->setText(rows ? oneLine(mClients->asString(ClientsQuery::kDescriptionField))
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
        mClients->locate(ClientsQuery::kIdField, id);
}

void ClientsWorkArea::actEditClientExecute()
{
    if (!hasRows(mClients) || mClients->currentRow() < 0)
        return;
    const QVariant id = currentClientId();
    if (!TfrmClientEdit::Execute(mDm, *mClients, window()))
        return;
    mClients->refresh();
    setSelectedCount(0);
    mClients->locate(ClientsQuery::kIdField, id);
}

void ClientsWorkArea::acEditClientKindExecute()
{
    const std::optional<ClientPermissions::GroupChoice> choice = TfmEditClientGroup::Execute(window());
    if (choice)
        ApplyGroupEdit(*choice);
}

void ClientsWorkArea::ApplyGroupEdit(const ClientPermissions::GroupChoice& choice)
{
    using namespace ClientPermissions;
    const Settings settings = readSettings([this](const QString& key) { return mDm.GetConfigValue(key); });
    // The ticked clients the list shows, read before any call: nothing of the list moves per row.
    QList<GroupClient> clients;
    if (mClients->isOpen()) {
        const int tick = mClients->fieldIndex(QString::fromLatin1(ClientsQuery::kTickField));
        const int id = mClients->fieldIndex(QString::fromLatin1(ClientsQuery::kIdField));
        const int lnr = mClients->fieldIndex(QString::fromLatin1(ClientsQuery::kLnrField));
        const int bonus = mClients->fieldIndex(QStringLiteral("CLIENTISBONUS"));
        const int email = mClients->fieldIndex(QStringLiteral("WBC_EMAIL"));
        for (int row = 0; row < mClients->recordCount(); ++row)
            if (mClients->value(row, tick).toInt() == 1)
                clients.append({mClients->value(row, id).toInt(), mClients->value(row, lnr).toInt() == 1,
                                mClients->value(row, bonus).toInt() == 1,
                                mClients->value(row, email).toString()});
    }
    const QVariant current = currentClientId();
    db::Session* session = mDm.session();
    db::Package* pkg = mDm.queries().TEV_UTILS;
    QString error;
    // One transaction: a client that fails part-way leaves every client as it was.
    try {
        session->startTransaction();
        for (const GroupClient& client : clients)
            pkg->execProc(QStringLiteral("update_client_from_group"), groupParams(choice, settings, client));
        session->commit();
    } catch (const std::exception& e) {
        if (session->connected())
            session->rollback();
        error = ErrorText(e);
    }
    mClients->refresh();
    setSelectedCount(0);
    if (!current.isNull())
        mClients->locate(ClientsQuery::kIdField, current);
    if (!error.isNull())
        lang::ShowMsgBox(window(), error, 2);
}

void ClientsWorkArea::actEditMaxLimitsExecute()
{
    const QVariant id = currentClientId();
    if (!id.isNull())
        TfrmLimitsEdit::ShowClientLimits(mDm, id.toInt(), window());
}

void ClientsWorkArea::actAddDescribeExecute()
{
    const QVariant client = currentClientId();
    if (client.isNull())
        return;
    TfmNewDescribe dialog(window());
    dialog.setWindowTitle(lang::tr(u"rstrCreateDescribeCaption"));
    if (framework::execModal(dialog) != QDialog::Accepted)
        return;
    const QDateTime date = dialog.dateEnd();
    db::Session* session = mDm.session();
    db::Package* pkg = mDm.queries().TEV_UTILS;
    bool duplicate = false;
    try {
        pkg->execProc(QStringLiteral("create_describe"), {client, date, dialog.comment()});
        duplicate = pkg->paramByName(QStringLiteral("P_ERROR")).value().toInt() == 1;
        if (!duplicate)
            session->commit();
    } catch (...) {
        if (session->connected())
            session->rollback();
        throw;
    }
    db::Query* describes = mDm.queries().oqDescribes;
    if (duplicate) {
        lang::ShowMsgBox(window(), lang::tr(u"rstrDateBlockExistForClient"), 2);
    } else {
        openDescribes();
    }
    describes->locate(QStringLiteral("WBD_DATE_END"), date);
}

void ClientsWorkArea::actEditDescribeExecute()
{
    db::Query* describes = mDm.queries().oqDescribes;
    if (!hasRows(describes))
        return;
    const QDateTime oldDate = describes->value(QStringLiteral("WBD_DATE_END")).toDateTime();
    const QString oldComment = describes->value(QStringLiteral("WBD_COMMENT")).toString();
    TfmNewDescribe dialog(window());
    dialog.setWindowTitle(lang::tr(u"rstrEditDescribeCaption"));
    dialog.setValues(oldDate, oldComment);
    if (framework::execModal(dialog) != QDialog::Accepted)
        return;
    const QDateTime date = dialog.dateEnd();
    if (date == oldDate && dialog.comment() == oldComment)
        return;
    db::Session* session = mDm.session();
    try {
        mDm.queries().TEV_UTILS->execProc(
            QStringLiteral("CHANGE_DESCRIBE"),
            {describes->value(QStringLiteral("WBD_ID")), date, dialog.comment()});
        session->commit();
    } catch (...) {
        if (session->connected())
            session->rollback();
        throw;
    }
    openDescribes();
    describes->locate(QStringLiteral("WBD_DATE_END"), date);
}

void ClientsWorkArea::actDelDescribeExecute()
{
    db::Query* describes = mDm.queries().oqDescribes;
    if (!hasRows(describes))
        return;
    if (lang::MessageDlgLang(lang::tr(u"rstrDeleteDescribeQuest"), lang::MsgDlgType::Confirmation,
                             lang::mbOK | lang::mbCancel) != lang::mrOk)
        return;
    db::Session* session = mDm.session();
    try {
        mDm.queries().TEV_UTILS->execProc(QStringLiteral("DELETE_DESCRIBE"),
                                          {describes->value(QStringLiteral("WBD_ID"))});
        session->commit();
    } catch (...) {
        if (session->connected())
            session->rollback();
        throw;
    }
    openDescribes();
}

void ClientsWorkArea::acAddLoginExecute()
{
    const QVariant client = currentClientId();
    if (client.isNull())
        return;
    const std::optional<int> id = TfmLoginAdd::Execute(mDm, client.toInt(), window());
    if (!id)
        return;
    db::Query* logins = mDm.queries().qryLogins;
    openLogins();
    logins->locate(SharedQueries::Logins::kIdField, *id);
}

void ClientsWorkArea::actEditLoginExecute()
{
    db::Query* logins = mDm.queries().qryLogins;
    if (!hasRows(logins))
        return;
    using L = SharedQueries::Logins;
    WebLoginRow row;
    row.id = int(logins->asInteger(L::kIdField));
    row.login = logins->asString(L::kLoginField);
    row.email = logins->asString(L::kEmailField);
    row.active = logins->asInteger(L::kActiveField) == 1;
    row.journalising = logins->asInteger(L::kJournalisingField) == 1;
    row.access = int(logins->asInteger(L::kAccessField));
    row.holderLogin = !logins->value(L::kHolderField).isNull();
    TfrmLoginEdit::Execute(mDm, row, window());
    openLogins();
    logins->locate(L::kIdField, row.id);
}

void ClientsWorkArea::actEditPassLoginExecute()
{
    db::Query* logins = mDm.queries().qryLogins;
    if (!hasRows(logins))
        return;
    using L = SharedQueries::Logins;
    TfmLoginPassEdit::Execute(mDm, int(logins->asInteger(L::kIdField)), logins->asString(L::kLoginField),
                              window());
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
        sp->setParam(QStringLiteral("P_LOGIN_ID"), logins->value(SharedQueries::Logins::kIdField));
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
                mClients->locate(ClientsQuery::kIdField, clientId);
        }
    } catch (...) {
        mOpening = false;
        throw;
    }
    mOpening = false;
    currentClientChanged();

    db::Query* logins = mDm.queries().qryLogins;
    const bool loginsOpen = logins->isOpen();
    const QVariant loginId = hasRows(logins) ? logins->value(SharedQueries::Logins::kIdField) : QVariant();
    if (loginsOpen)
        logins->close();
    ClientsQuery::ApplyLoginsTexts(*logins);
    if (loginsOpen) {
        logins->setParam(SharedQueries::Logins::kClientParam, currentClientId());
        logins->open();
        if (!loginId.isNull())
            logins->locate(SharedQueries::Logins::kIdField, loginId);
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

    mActions.applyTexts();
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

    actEditClient()->setEnabled(clients);
    acAddLogin()->setEnabled(clients);
    actEditMaxLimits()->setEnabled(clients);
    for (QAction* a : {actEditLogin(), actResetLock(), actEditPassLogin()})
        a->setEnabled(loginsShown && details);
    actAddDescribe()->setEnabled(clients && describesShown);
    actEditDescribe()->setEnabled(clients && describesShown && details);
    actDelDescribe()->setEnabled(clients && describesShown && details);

    for (QAction* a : {acAddLogin(), actEditLogin(), actEditPassLogin(), actResetLock()})
        a->setVisible(loginsDown);
    for (QAction* a : {actAddDescribe(), actEditDescribe(), actDelDescribe()})
        a->setVisible(describesDown);

    acSendInvitations()->setEnabled(mSelectedCount != 0);
    acEditClientKind()->setEnabled(mSelectedCount != 0);
    mDetailTools->setVisible(loginsDown || describesDown);
}
