#include "TfrmMain.h"

#include "AboutDialog.h"
#include "Catalogue.h"
#include "ClientsWorkArea.h"
#include "CommandTable.h"
#include "ComputerName.h"
#include "ConnectionSettings.h"
#include "DBGrid.h"
#include "DbHelpers.h"
#include "FormEnvironment.h"
#include "IniFile.h"
#include "LaterWindowNotice.h"
#include "MainRules.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "OraError.h"
#include "Package.h"
#include "Query.h"
#include "ServiceManager.h"
#include "Session.h"
#include "SharedQueries.h"
#include "SortOrderStore.h"
#include "TTranslator.h"
#include "TdmMain.h"
#include "TfmConfig.h"
#include "TfrmShemaForm.h"
#include "WebLanguageMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr char kSortScope[] = "tev";
constexpr int kRussian = 25;
constexpr int kPanelWidths[5] = {400, 150, 150, 125, 50};

QAction* separator(QObject* owner)
{
    auto* s = new QAction(owner);
    s->setSeparator(true);
    return s;
}

QString exceptionText(const std::exception& e)
{
    if (const auto* ora = dynamic_cast<const db::OraError*>(&e))
        return ora->message();
    return QString::fromUtf8(e.what());
}

} // namespace

TfrmMain::TfrmMain(TdmMain& dm, QWidget* parent) : TfmMainTEV(parent), mDm(dm)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowFlags(Qt::Window);
    setModal(false);
    setSizeGripEnabled(false);
    framework::setLanguageIdProvider([this] { return mDm.LanguageId(); });
    framework::setApplicationMainWindow(this);

    mWorkArea = new ClientsWorkArea(dm, this);
    createCommands();
    createMenus();
    createToolBars();
    createStatusBar();
    connectCommands();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(mMenuBar);
    layout->addWidget(mToolBar);
    layout->addWidget(mWorkArea, 1);
    layout->addWidget(mStatusBar);

    connect(mWorkArea, &ClientsWorkArea::emitentChanged, this, &TfrmMain::updateEmitentPanels);
    connect(mWorkArea, &ClientsWorkArea::selectedCountChanged, this, &TTevBaseForm::requestActionsUpdate);
    resize(1200, 760);
    ensureCreated();
}

TfrmMain::~TfrmMain()
{
    framework::setLanguageIdProvider(nullptr);
    if (framework::applicationMainWindow() == this)
        framework::setApplicationMainWindow(nullptr);
}

int TfrmMain::CurrentEmitentId() const
{
    return mWorkArea->CurrentEmitentId();
}

bool TfrmMain::AllEmitents() const
{
    return mWorkArea->AllEmitents();
}

int TfrmMain::SelectedCount() const
{
    return mWorkArea->SelectedCount();
}

QAction* TfrmMain::command(const QString& name) const
{
    return mCommands.value(name);
}

QMenu* TfrmMain::menu(const QString& name) const
{
    return mMenus.value(name);
}

QString TfrmMain::statusPanelText(int panel) const
{
    return panel >= 0 && panel < 5 ? mPanels[panel]->text() : QString();
}

// ---------------------------------------------------------------------------------------------
// Construction

void TfrmMain::createCommands()
{
    for (const MainCommand& c : MainCommands()) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(c.name));
        if (c.icon)
            action->setIcon(framework::themeIcon(QString::fromLatin1(c.icon)));
        addAction(action);
        mCommands.insert(action->objectName(), action);
    }
    mCouponsArchive = new QAction(QStringLiteral("Перенос талонов в архив"), this);
    mCouponsArchive->setObjectName(QStringLiteral("miCouponsArchive"));
}

QMenu* TfrmMain::addMenu(QMenu* parent, const char* name)
{
    QMenu* m = parent ? parent->addMenu(QString()) : mMenuBar->addMenu(QString());
    m->setObjectName(QString::fromLatin1(name));
    mMenus.insert(m->objectName(), m);
    return m;
}

void TfrmMain::createMenus()
{
    mMenuBar = new QMenuBar(this);
    auto cmd = [this](const char* name) { return mCommands.value(QString::fromLatin1(name)); };

    QMenu* connection = addMenu(nullptr, "mnConnection");
    connection->addActions({cmd("actReconnect"), cmd("actChangeScheme")});
    connection->addSeparator();
    connection->addAction(cmd("actExit"));

    QMenu* settings = addMenu(nullptr, "mnSettings");
    settings->addActions({cmd("acSettings"), cmd("actExchangeSettings"), cmd("acEmitentSelect")});
    QMenu* trnReport = addMenu(settings, "mnTrnReportSettings");
    trnReport->addActions({cmd("acTrnTypes"), cmd("acTrnTypeGroup"), cmd("acSchemesForWeb")});
    settings->addAction(cmd("acTermsForWeb"));
    settings->addSeparator();
    QMenu* langs = addMenu(settings, "mnLangs");
    mLanguageGroup = new QActionGroup(this);
    mLanguageGroup->setExclusive(true);
    connect(langs, &QMenu::triggered, this, &TfrmMain::InterfaceLanguageClick);
    addMenu(settings, "mnWebLangs");
    settings->addSeparator();
    settings->addAction(cmd("actRegisterServices"));

    QMenu* objects = addMenu(nullptr, "mnObjects");
    objects->addActions({cmd("acPOSes"), cmd("acHelp"), cmd("actReports"), cmd("acDRRequest")});
    QMenu* bonus = addMenu(objects, "mnBonusRanges");
    bonus->addActions({cmd("acADBonusRangePrMes"), cmd("acADBonusRangePopravka")});
    objects->addActions({cmd("acFeedbackMessages"), cmd("acEventsJournal"), cmd("actManager")});
    QMenu* news = addMenu(objects, "mnNews");
    news->addActions({cmd("actShowNews"), cmd("actShowEditGroupForNews")});
    objects->addAction(mCouponsArchive);

    QMenu* help = addMenu(nullptr, "mnHelp");
    help->addAction(cmd("actAbout"));
}

void TfrmMain::createToolBars()
{
    mToolBar = new QToolBar(this);
    mToolBar->setObjectName(QStringLiteral("tbMain"));
    mToolBar->setIconSize(QSize(16, 16));
    mToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mToolBar->addActions({command("actReconnect"), command("actChangeScheme")});
    mToolBar->addSeparator();
    mToolBar->addActions(
        {command("acSettings"), command("acEmitentSelect"), command("actReports"), command("acDRRequest")});
    mToolBar->addSeparator();
    mToolBar->addAction(command("actExit"));

    acFind()->setIcon(framework::themeIcon(QStringLiteral("edit-find")));
    acSort()->setIcon(framework::themeIcon(QStringLiteral("view-sort-ascending")));
    acFilter()->setIcon(framework::themeIcon(QStringLiteral("edit-find-replace")));
    acReport()->setIcon(framework::themeIcon(QStringLiteral("document-print-preview")));
    QToolBar* clients = mWorkArea->clientsToolBar();
    clients->addSeparator();
    clients->addActions({acFind(), acSort(), acFilter(), acReport()});
    for (QAction* a : {acFind(), acSort(), acFilter(), acReport()})
        if (auto* button = qobject_cast<QToolButton*>(clients->widgetForAction(a)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);

    // Pop-up menus of the two grids.
    DBGrid* grdClients = mWorkArea->grdClients();
    grdClients->setContextMenuPolicy(Qt::ActionsContextMenu);
    grdClients->addActions({mWorkArea->actShowLogins(), mWorkArea->actShowJournal(), separator(grdClients),
                            mWorkArea->actHideDetail(), separator(grdClients), acFind(), acSort(), acFilter(),
                            acReport(), command("actRegisterServices")});
    DBGrid* grdDetail = mWorkArea->grdDetail();
    grdDetail->setContextMenuPolicy(Qt::ActionsContextMenu);
    grdDetail->addActions({acFind(), acSort(), acFilter()});
}

void TfrmMain::createStatusBar()
{
    mStatusBar = new QStatusBar(this);
    mStatusBar->setSizeGripEnabled(false);
    for (int i = 0; i < 5; ++i) {
        mPanels[i] = new QLabel(mStatusBar);
        mPanels[i]->setObjectName(QStringLiteral("stbPanel%1").arg(i + 1));
        mPanels[i]->setMinimumWidth(kPanelWidths[i]);
        mStatusBar->addWidget(mPanels[i]);
    }
    mStatusBar->addWidget(new QWidget(mStatusBar), 1);
}

void TfrmMain::connectCommands()
{
    auto on = [this](const char* name, auto handler) {
        connect(command(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    };
    auto later = [this, on](const char* name) { on(name, [this, name] { laterCommand(name); }); };
    on("actReconnect", [this] { actReconnectExecute(); });
    on("actChangeScheme", [this] { actChangeSchemeExecute(); });
    on("actExit", [this] { close(); });
    later("acSettings");
    on("actExchangeSettings", [this] { ShowExchangeSettings(this, mDm, mServiceBinding); });
    on("acEmitentSelect", [this] {
        db::Query* list = mDm.queries().oqEmitentSelect;
        const int current = list->isOpen() && !list->isEmpty()
                                ? int(list->asInteger(QStringLiteral("EMITENT_ID_WEB")))
                                : mWorkArea->CurrentEmitentId();
        mWorkArea->OpenEmitentList(current);
        laterCommand("acEmitentSelect");
    });
    for (const char* name : {"acTrnTypes", "acTrnTypeGroup", "acSchemesForWeb", "acTermsForWeb", "acPOSes",
                             "actReports", "acDRRequest", "acFeedbackMessages", "acEventsJournal",
                             "actManager", "actShowNews", "actShowEditGroupForNews"})
        later(name);
    on("actRegisterServices", [this] { actRegisterServicesExecute(); });
    on("acHelp", [this] {
        db::Query* help = mDm.queries().oqHelpType;
        help->close();
        help->open();
        laterCommand("acHelp");
    });
    on("acADBonusRangePrMes", [this] {
        laterWindow(lang::tr(u"rstrBonusRanges") + QStringLiteral(" (") + lang::tr(u"rstrPrMes") +
                    QLatin1Char(')'));
    });
    on("acADBonusRangePopravka", [this] {
        laterWindow(lang::tr(u"rstrBonusRanges") + QStringLiteral(" (") + lang::tr(u"rstrPopravka") +
                    QLatin1Char(')'));
    });
    connect(mCouponsArchive, &QAction::triggered, this, [this] { laterWindow(mCouponsArchive->text()); });
    on("actAbout", [this] { actAboutExecute(); });
}

void TfrmMain::laterWindow(const QString& caption)
{
    LaterWindowNotice::Show(this, caption);
}

void TfrmMain::laterCommand(const char* name)
{
    if (const MainCommand* c = FindMainCommand(name))
        laterWindow(lang::tr(c->captionKey));
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void TfrmMain::FormCreate()
{
    mInitialized = false;
    FillInterfaceLanguages();
    ApplyUserRights();
}

void TfrmMain::SetupCaptions()
{
    ApplyLanguage();
}

void TfrmMain::FormShow()
{
    if (mShown)
        return;
    mShown = true;
    InitWorkspace();
}

void TfrmMain::ActionsUpdate()
{
    actMainUpdate();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!mTerminated)
        FormCloseQuery();
    TfmMainTEV::closeEvent(event);
}

void TfrmMain::keyPressEvent(QKeyEvent* event)
{
    // The main window is no dialog to be dismissed by Escape.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    TfmMainTEV::keyPressEvent(event);
}

void TfrmMain::Terminate()
{
    if (mTerminated)
        return;
    mTerminated = true;
    // The window will not be closed normally: its orders are settled now, so that no "_def" key
    // stays behind in the sort-order store.
    saveSortOrders();
    hide();
    emit terminated();
}

QList<db::Query*> TfrmMain::sortedQueries() const
{
    SharedQueries& q = mDm.queries();
    return {
        mWorkArea->qryClients(), q.oquPOSes, q.oquHoldersForLogin, q.qryLogins, q.qryJournal, q.oquTrnTypes};
}

void TfrmMain::InitWorkspace()
{
    db::Session* session = mDm.session();
    if (!session->connected())
        return;
    try {
        mDm.BindToSession();
        fSetSession(this, session);
        fSetShema(this, mDm.ActiveScheme());
        // Only a bound query knows its real fields, against which a saved order is checked; a stale
        // entry is then dropped with its message instead of breaking the first open.
        const QString incorrectField = lang::tr(u"rstr_fmtmsg_IncorrectSortingField");
        for (db::Query* q : sortedQueries())
            RestoreQueryOrder(QString::fromLatin1(kSortScope), *q, incorrectField);

        mWorkArea->ChooseStartEmitent();
        mWorkArea->OpenEmitentList(mWorkArea->CurrentEmitentId());
        mWorkArea->OpenEmitentData();
        mWorkArea->ShowBothSourcesWhenLnr();

        updateStatusBar();
        FillWebLanguages();
        mBonusModulePresent = HasBonusModule();
        bindServices();
        mInitialized = true;

        const QString version = mDm.GetDBVersion();
        if (!MainRules::VersionMatches(version)) {
            lang::ShowMsgBox(this, lang::tr(u"vrstrCheckVersion"), 1);
            Terminate();
            return;
        }
        mDbVersion = version;
        updateCaption();
    } catch (const db::OraError& e) {
        lang::ShowMsgBox(this,
                         lang::format(lang::tr(u"vrstrDBObjectNotFound"), {mDm.ActiveScheme()}) +
                             QStringLiteral("\n\r") + e.message(),
                         1);
        Terminate();
        return;
    }
    mDescribeSwitchFailed = false;
    requestActionsUpdate();
}

void TfrmMain::bindServices()
{
    const bool importHere =
        !ServiceBinaryPath(QString::fromLatin1(MainRules::kImportService)).trimmed().isEmpty();
    const bool exportHere =
        !ServiceBinaryPath(QString::fromLatin1(MainRules::kExportService)).trimmed().isEmpty();
    const QString importHost = mDm.GetServiceHostIn();
    const QString exportHost = mDm.GetServiceHostOut();
    mServiceBinding =
        MainRules::ServiceBinding(importHere, exportHere, importHost, exportHost, ComputerName().toUpper());
    mLocalServices = MainRules::LocalServices(importHere, exportHere);
}

bool TfrmMain::HasBonusModule()
{
    if (!mDm.session()->connected())
        return false;
    try {
        db::Package* pkg = mDm.queries().TEV_UTILS;
        pkg->execProc(QStringLiteral("get_ad_presence"), {0});
        return pkg->paramByName(QStringLiteral("P_RESULT")).value().toInt() == 1;
    } catch (const std::exception&) {
        return false;
    }
}

void TfrmMain::Disconnect()
{
    mDm.Disconnect();
}

bool TfrmMain::Reconnect()
{
    if (!mDm.Connect()) {
        Terminate();
        return false;
    }
    InitWorkspace();
    ApplyUserRights();
    return !mTerminated;
}

// ---------------------------------------------------------------------------------------------
// Rights and idle update

void TfrmMain::ApplyUserRights()
{
    for (const QString& name : MainRules::RightsCommands()) {
        QAction* a = command(name);
        a->setVisible(true);
        a->setEnabled(true);
    }
    menu(QStringLiteral("mnLangs"))->menuAction()->setVisible(true);
    menu(QStringLiteral("mnWebLangs"))->menuAction()->setVisible(true);

    const MainRules::Role role = MainRules::RoleOf(mDm.SignedInUser());
    for (const QString& name : MainRules::HiddenCommands(role)) {
        QAction* a = command(name);
        a->setVisible(false);
        a->setEnabled(false);
    }
    if (MainRules::InterfaceLanguagesHidden(role))
        menu(QStringLiteral("mnLangs"))->menuAction()->setVisible(false);
    if (MainRules::WebLanguagesHidden(role))
        menu(QStringLiteral("mnWebLangs"))->menuAction()->setVisible(false);
    mWorkArea->setAllEmitents(MainRules::AllEmitents(role));
}

bool TfrmMain::describesAvailable()
{
    if (mDescribeSwitchFailed)
        return false;
    try {
        bool ok = false;
        const int value = mDm.GetConfigValue(QStringLiteral("TYPE_BLOCK_DESCRIBE")).trimmed().toInt(&ok);
        return ok && value >= 0;
    } catch (const std::exception&) {
        // Asked on every idle pass: one failure is enough.
        mDescribeSwitchFailed = true;
        return false;
    }
}

void TfrmMain::actMainUpdate()
{
    if (!mDm.session()->connected() || !mInitialized || mTerminated)
        return;
    mWorkArea->UpdateActions(describesAvailable());
    for (const char* name : {"acADBonusRangePrMes", "acADBonusRangePopravka"}) {
        QAction* a = command(QString::fromLatin1(name));
        a->setVisible(mBonusModulePresent);
        a->setEnabled(mBonusModulePresent);
    }
    QAction* bonus = menu(QStringLiteral("mnBonusRanges"))->menuAction();
    bonus->setVisible(mBonusModulePresent);
    bonus->setEnabled(mBonusModulePresent);
    command(QStringLiteral("actExchangeSettings"))->setVisible(mServiceBinding != 0);
    command(QStringLiteral("actRegisterServices"))->setVisible(mDm.RegisterMode());
}

// ---------------------------------------------------------------------------------------------
// Commands

void TfrmMain::actReconnectExecute()
{
    if (lang::MessageDlgLang(lang::tr(u"rstrDoRelogin"), lang::MsgDlgType::Confirmation,
                             lang::mbOK | lang::mbCancel) != lang::mrOk)
        return;
    Disconnect();
    try {
        Reconnect();
    } catch (const db::Abort&) {
        Terminate();
    } catch (const std::exception& e) {
        lang::ShowMsgBox(this, lang::tr(u"rstrErrorConnect") + exceptionText(e), 1);
        Terminate();
    }
}

void TfrmMain::actChangeSchemeExecute()
{
    mPreviousScheme = mDm.ActiveScheme();
    const QString chosen = TfrmShemaForm::Run(mDm.iniFile().path(), this);
    if (chosen == mPreviousScheme)
        return;
    mDm.SetActiveScheme(chosen);
    Disconnect();
    bool connected = false;
    try {
        connected = Reconnect();
    } catch (const db::Abort&) {
        Terminate();
    } catch (const std::exception& e) {
        lang::ShowMsgBox(this, lang::tr(u"rstrErrorConnect") + exceptionText(e), 1);
        Terminate();
    }
    if (!connected)
        mDm.SetActiveScheme(mPreviousScheme);
    mPreviousScheme = chosen;
}

void TfrmMain::actRegisterServicesExecute()
{
    const QString computer = ComputerName().toUpper();
    if (mLocalServices == 2 || mLocalServices == 3)
        mDm.SetConfigValue(QStringLiteral("PC_SRV_NAME_WEB_OUT"), computer);
    if (mLocalServices == 1 || mLocalServices == 3)
        mDm.SetConfigValue(QStringLiteral("PC_SRV_NAME_WEB_IN"), computer);
    InitWorkspace();
    // A reload that ended the program registered nothing worth announcing.
    if (mTerminated)
        return;
    mDm.SetRegisterMode(false);
    requestActionsUpdate();
    lang::ShowMsgBox(this, lang::tr(u"vrstrCompRegistered") + QLatin1Char(' ') + computer, 2);
}

void TfrmMain::actAboutExecute()
{
    AboutDialog about(mDm.LanguageId(), this);
    framework::execModal(about);
}

// ---------------------------------------------------------------------------------------------
// Languages

void TfrmMain::FillInterfaceLanguages()
{
    QMenu* langs = menu(QStringLiteral("mnLangs"));
    for (QAction* a : mLanguageGroup->actions())
        mLanguageGroup->removeAction(a);
    langs->clear();
    auto addItem = [&](const QString& caption, int id) {
        QAction* item = langs->addAction(caption);
        item->setCheckable(true);
        item->setData(id);
        item->setChecked(id == mDm.LanguageId());
        mLanguageGroup->addAction(item);
        return item;
    };
    mRussian = addItem(lang::tr(u"vrstrmiLangRU"), kRussian);
    mRussian->setObjectName(QStringLiteral("miLangRU"));
    for (const lang::TLangRecord& record : lang::TTranslator::instance().languages())
        if (record.languageId != kRussian)
            addItem(record.languageName, record.languageId);
}

void TfrmMain::InterfaceLanguageClick(QAction* item)
{
    if (!item || !item->data().isValid())
        return;
    const int id = item->data().toInt();
    if (id == mDm.LanguageId()) {
        item->setChecked(true);
        return;
    }
    for (QAction* a : mLanguageGroup->actions())
        a->setChecked(false);
    mDm.SetLanguageId(id);
    item->setChecked(true);
    lang::TTranslator& translator = lang::TTranslator::instance();
    bool known = id == kRussian;
    for (const lang::TLangRecord& record : translator.languages())
        known = known || record.languageId == id;
    if (!known)
        return;
    FillWebLanguages();
    translator.SetLanguage(id);
    ApplyLanguage();
}

void TfrmMain::FillWebLanguages()
{
    if (!mDm.session()->connected())
        return;
    FillWebLanguagesMenu(menu(QStringLiteral("mnWebLangs")), mDm);
}

void TfrmMain::ApplyLanguage()
{
    TfmMainTEV::SetupCaptions();
    for (const MainCommand& c : MainCommands()) {
        QAction* a = command(QString::fromLatin1(c.name));
        a->setText(lang::tr(c.captionKey));
        const QString hint = lang::tr(c.hintKey ? c.hintKey : c.captionKey);
        a->setToolTip(hint);
        a->setStatusTip(hint);
    }
    for (const MainMenuCaption& m : MainMenuCaptions())
        menu(QString::fromLatin1(m.name))->setTitle(lang::tr(m.captionKey));
    if (mRussian)
        mRussian->setText(lang::tr(u"vrstrmiLangRU"));

    SharedQueries& q = mDm.queries();
    q.ApplyCaptions();
    const QString langId = QString::number(mDm.LanguageId());
    q.oquTrnTypes->setMacro(QStringLiteral("LangID"), langId);
    q.oqHelpType->setMacro(QStringLiteral("LangID"), langId);
    mWorkArea->ApplyLanguage();
    updateCaption();
    updateStatusBar();
}

void TfrmMain::updateCaption()
{
    QString caption = lang::tr(u"rstrMainCaption");
    if (!mDbVersion.isEmpty())
        caption += QStringLiteral(" (") + lang::tr(u"vrstrVersion") + QLatin1Char(' ') + mDbVersion +
                   QLatin1Char(')');
    setWindowTitle(caption);
}

void TfrmMain::updateStatusBar()
{
    const db::Session* session = mDm.session();
    mPanels[0]->setText(lang::tr(u"rstrServer") + QStringLiteral(": ") + session->server());
    mPanels[1]->setText(lang::tr(u"rstrUser") + QStringLiteral(": ") + session->username().trimmed());
    mPanels[2]->setText(lang::tr(u"vrstrActiveSheme") + QStringLiteral(": ") + mDm.ActiveScheme());
    updateEmitentPanels();
}

void TfrmMain::updateEmitentPanels()
{
    const db::Query* list = mDm.queries().oqEmitentSelect;
    const bool row = list->isOpen() && !list->isEmpty();
    mPanels[3]->setText(lang::tr(u"rstrEmitent") + QStringLiteral(": ") +
                        (row ? list->asString(QStringLiteral("EMITENT_NUMBER")) : QString()));
    mPanels[4]->setText(lang::tr(u"rstrBranch") + QStringLiteral(": ") +
                        (row ? list->asString(QStringLiteral("FILIAL_NUMBER")) : QString()));
}

bool TfrmMain::FormCloseQuery()
{
    try {
        mDm.settings().setLanguageId(mDm.LanguageId());
    } catch (const lang::IniError& e) {
        TdmMain::ReportIniError(e);
    }
    saveSortOrders();
    return true;
}

void TfrmMain::saveSortOrders()
{
    try {
        for (db::Query* q : sortedQueries())
            SaveQueryOrder(QString::fromLatin1(kSortScope), *q);
    } catch (const lang::IniError& e) {
        TdmMain::ReportIniError(e);
    }
}
