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
#include "FrameworkFiles.h"
#include "IniFile.h"
#include "MainRules.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "OraError.h"
#include "Package.h"
#include "Query.h"
#include "ReferenceWindows.h"
#include "ServiceManager.h"
#include "Session.h"
#include "SharedQueries.h"
#include "SortOrderStore.h"
#include "TTranslator.h"
#include "TfmADBonusRanges.h"
#include "TfrmCouponsArchive.h"
#include "TfrmEmitentSelect.h"
#include "TfrmNews.h"
#include "TdmMain.h"
#include "TfmMailEdit.h"
#include "TfmManager.h"
#include "TfmTEVWebReports.h"
#include "TfmConfig.h"
#include "TfmSettings.h"
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
#include <stdexcept>

namespace {

constexpr char kSortScope[] = "tev";
constexpr int kRussian = 25;
constexpr int kPanelWidths[5] = {400, 150, 150, 125, 50};

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
    mWorkArea->setInvitationComposer(
        [&dm](QWidget* owner, const TInvitationList& clients) { TfmMailEdit::Execute(dm, clients, owner); });
    createCommands();
    createMenus();
    createToolBars();
    createStatusBar();

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
    const QByteArray latin = name.toLatin1();
    return &mCommands.action(std::string_view(latin.constData(), size_t(latin.size())));
}

QMenu* TfrmMain::menu(const QString& name) const
{
    QMenu* m = mMenus.value(name);
    if (!m)
        throw std::out_of_range("TfrmMain: no menu \"" + name.toStdString() + "\"");
    return m;
}

QString TfrmMain::statusPanelText(int panel) const
{
    return panel >= 0 && panel < 5 ? mPanels[panel]->text() : QString();
}

// ---------------------------------------------------------------------------------------------
// Construction

void TfrmMain::createCommands()
{
    mCommands.create(this, MainCommands());
    mCouponsArchive = new QAction(QStringLiteral("Перенос талонов в архив"), this);
    mCouponsArchive->setObjectName(QStringLiteral("miArchiveCoupons"));
    connect(mCouponsArchive, &QAction::triggered, this, [this] { ShowCouponsArchive(mDm, this); });
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
    using namespace MainCmd;
    constexpr auto separator = framework::ActionTable::kSeparator;
    mMenuBar = new QMenuBar(this);

    QMenu* connection = addMenu(nullptr, MainMenu::mnConnection);
    mCommands.addTo(connection, {actReconnect, actChangeScheme, separator, actExit});

    QMenu* settings = addMenu(nullptr, MainMenu::mnSettings);
    mCommands.addTo(settings, {acSettings, actExchangeSettings, acEmitentSelect});
    QMenu* trnReport = addMenu(settings, MainMenu::mnTrnReportSettings);
    mCommands.addTo(trnReport, {acTrnTypes, acTrnTypeGroup, acSchemesForWeb});
    mCommands.addTo(settings, {acTermsForWeb, separator});
    QMenu* langs = addMenu(settings, MainMenu::mnLangs);
    mLanguageGroup = new QActionGroup(this);
    mLanguageGroup->setExclusive(true);
    connect(langs, &QMenu::triggered, this, &TfrmMain::InterfaceLanguageClick);
    addMenu(settings, MainMenu::mnWebLangs);
    mCommands.addTo(settings, {separator, actRegisterServices});

    QMenu* objects = addMenu(nullptr, MainMenu::mnObjects);
    mCommands.addTo(objects, {acPOSes, acHelp, actReports, acDRRequest});
    QMenu* bonus = addMenu(objects, MainMenu::mnBonusRanges);
    mCommands.addTo(bonus, {acADBonusRangePrMes, acADBonusRangePopravka});
    mCommands.addTo(objects, {acFeedbackMessages, acEventsJournal, actManager});
    QMenu* news = addMenu(objects, MainMenu::mnNews);
    mCommands.addTo(news, {actShowNews, actShowEditGroupForNews});
    objects->addAction(mCouponsArchive);

    QMenu* help = addMenu(nullptr, MainMenu::mnHelp);
    mCommands.addTo(help, {actAbout});
}

void TfrmMain::createToolBars()
{
    using namespace MainCmd;
    constexpr auto separator = framework::ActionTable::kSeparator;
    mToolBar = new QToolBar(this);
    mToolBar->setObjectName(QStringLiteral("tbMain"));
    mToolBar->setIconSize(QSize(16, 16));
    mToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mCommands.addTo(mToolBar, {actReconnect, actChangeScheme, separator, acSettings, acEmitentSelect,
                               actReports, acDRRequest, separator, actExit});

    // The grid tools of the work area: icons only.
    acFind()->setIcon(framework::themeIcon(QStringLiteral("edit-find")));
    acSort()->setIcon(framework::themeIcon(QStringLiteral("view-sort-ascending")));
    acFilter()->setIcon(framework::themeIcon(QStringLiteral("edit-find-replace")));
    acReport()->setIcon(framework::themeIcon(QStringLiteral("document-print-preview")));
    QToolBar* clients = mWorkArea->clientsToolBar();
    clients->addSeparator();
    gridActions().addTo(clients, {Cmd::acFind, Cmd::acSort, Cmd::acFilter, Cmd::acReport});
    for (QAction* a : {acFind(), acSort(), acFilter(), acReport()})
        if (auto* button = qobject_cast<QToolButton*>(clients->widgetForAction(a)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);

    // Pop-up menus of the two grids.
    using Area = ClientsWorkArea::Cmd;
    const framework::ActionTable& area = mWorkArea->actionTable();
    DBGrid* grdClients = mWorkArea->grdClients();
    grdClients->setContextMenuPolicy(Qt::ActionsContextMenu);
    area.addTo(grdClients,
               {Area::actShowLogins, Area::actShowJournal, separator, Area::actHideDetail, separator});
    gridActions().addTo(grdClients, {Cmd::acFind, Cmd::acSort, Cmd::acFilter, Cmd::acReport});
    mCommands.addTo(grdClients, {actRegisterServices});
    DBGrid* grdDetail = mWorkArea->grdDetail();
    grdDetail->setContextMenuPolicy(Qt::ActionsContextMenu);
    gridActions().addTo(grdDetail, {Cmd::acFind, Cmd::acSort, Cmd::acFilter});
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

void TfrmMain::acADBonusRangeExecute(QAction& command)
{
    const int bonusType = command.objectName() == QLatin1String(MainCmd::acADBonusRangePrMes) ? 0 : 1;
    ShowBonusRanges(this, mDm.session(), mDm.ActiveScheme(), bonusType);
}

void TfrmMain::acEmitentSelectExecute()
{
    db::Query* list = mDm.queries().oqEmitentSelect;
    const int current = list->isOpen() && !list->isEmpty()
                            ? int(list->asInteger(SharedQueries::EmitentSelect::kIdField))
                            : mWorkArea->CurrentEmitentId();
    mWorkArea->OpenEmitentList(current);
    {
        TfrmEmitentSelect window(mDm, this);
        framework::execModal(window);
    }
    // The settings window moves through the same list: back to the row it was opened on.
    if (list->isOpen())
        list->locate(QString::fromLatin1(SharedQueries::EmitentSelect::kIdField), current);
}

void TfrmMain::acHelpExecute()
{
    db::Query* help = mDm.queries().oqHelpType;
    help->close();
    help->open();
    reference::ShowHelpEdit(this, mDm);
}

void TfrmMain::actManagerExecute()
{
    reference::ShowManagers(this, mDm);
}

void TfrmMain::actShowNewsExecute()
{
    reference::ShowNews(this, mDm);
}

void TfrmMain::actShowEditGroupForNewsExecute()
{
    reference::ShowEditGroupForNews(this, mDm);
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
        lang::IniFile::Batch orders(FrameworkFiles::sortOrderFile());
        for (db::Query* q : sortedQueries())
            RestoreQueryOrder(QString::fromLatin1(kSortScope), *q, incorrectField);
        orders.finish();

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
    menu(MainMenu::mnLangs)->menuAction()->setVisible(true);
    menu(MainMenu::mnWebLangs)->menuAction()->setVisible(true);

    const MainRules::Role role = MainRules::RoleOf(mDm.SignedInUser());
    for (const QString& name : MainRules::HiddenCommands(role)) {
        QAction* a = command(name);
        a->setVisible(false);
        a->setEnabled(false);
    }
    if (MainRules::InterfaceLanguagesHidden(role))
        menu(MainMenu::mnLangs)->menuAction()->setVisible(false);
    if (MainRules::WebLanguagesHidden(role))
        menu(MainMenu::mnWebLangs)->menuAction()->setVisible(false);
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
    for (QAction* a :
         {&mCommands.action(MainCmd::acADBonusRangePrMes), &mCommands.action(MainCmd::acADBonusRangePopravka),
          menu(MainMenu::mnBonusRanges)->menuAction()}) {
        a->setVisible(mBonusModulePresent);
        a->setEnabled(mBonusModulePresent);
    }
    mCommands.action(MainCmd::actExchangeSettings).setVisible(mServiceBinding != 0);
    mCommands.action(MainCmd::actRegisterServices).setVisible(mDm.RegisterMode());
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

void TfrmMain::actExchangeSettingsExecute()
{
    ShowExchangeSettings(this, mDm, mServiceBinding);
}

void TfrmMain::acSettingsExecute()
{
    ShowPortalSettings(this, mDm, mWorkArea);
}

void TfrmMain::actReportsExecute()
{
    TfmTEVWebReports::Execute(this, mDm.ActiveScheme(), mDm.session());
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
    QMenu* langs = menu(MainMenu::mnLangs);
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
    FillWebLanguagesMenu(menu(MainMenu::mnWebLangs), mDm);
}

void TfrmMain::ApplyLanguage()
{
    TfmMainTEV::SetupCaptions();
    mCommands.applyTexts();
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
                        (row ? list->asString(SharedQueries::EmitentSelect::kNumberField) : QString()));
    mPanels[4]->setText(lang::tr(u"rstrBranch") + QStringLiteral(": ") +
                        (row ? list->asString(SharedQueries::EmitentSelect::kFilialField) : QString()));
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
        lang::IniFile::Batch orders(FrameworkFiles::sortOrderFile());
        for (db::Query* q : sortedQueries())
            SaveQueryOrder(QString::fromLatin1(kSortScope), *q);
        orders.finish();
    } catch (const lang::IniError& e) {
        TdmMain::ReportIniError(e);
    }
}
