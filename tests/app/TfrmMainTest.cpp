#include "TfrmMain.h"

#include "AboutDialog.h"
#include "AppTestSupport.h"
#include "Catalogue.h"
#include "ClientsFilter.h"
#include "ClientsWorkArea.h"
#include "CommandTable.h"
#include "ComputerName.h"
#include "ConnectionSettings.h"
#include "DBGrid.h"
#include "DbHelpers.h"
#include "FrameworkFiles.h"
#include "InMemoryServiceManager.h"
#include "IniFile.h"
#include "MainRules.h"
#include "PgFixture.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"
#include "ServiceManager.h"
#include "Session.h"
#include "SharedQueries.h"
#include "SortOrderStore.h"
#include "TTranslator.h"
#include "TdmMain.h"
#include "TevApplication.h"
#include "TfmTEVWebReports.h"
#include "TfrmShemaForm.h"
#include "ScriptedModalRunner.h"

#include <QListWidget>
#include <QTreeWidget>

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

QStringList menuCommandNames()
{
    QStringList names;
    for (const MainCommand& c : MainCommands())
        names << QString::fromLatin1(c.name);
    return names;
}

} // namespace

TEST(TfrmMain, AdministratorWorkspace)
{
    REQUIRE_PG();
    Console c;
    ASSERT_TRUE(c.signedIn);
    RecordingPresenter presenter;
    TfrmMain& w = c.open();
    EXPECT_EQ(presenter.count(), 0) << (presenter.count() ? presenter.last().text.toStdString() : "");
    EXPECT_TRUE(w.Initialized());
    EXPECT_FALSE(w.isTerminated());
    EXPECT_EQ(w.CurrentEmitentId(), 1);
    EXPECT_TRUE(w.AllEmitents());
    EXPECT_EQ(w.SelectedCount(), 0);
    EXPECT_TRUE(w.BonusModulePresent());
    EXPECT_EQ(w.ServiceBinding(), 0);
    EXPECT_EQ(w.LocalServices(), 0);
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("TEV Web Администратор (Версия БД: 2.9.5.1)"));
    EXPECT_EQ(w.statusPanelText(0), QString::fromUtf8("Сервер: ") + PgFixture::serviceName());
    EXPECT_EQ(w.statusPanelText(1), QString::fromUtf8("Пользователь: tev_user"));
    EXPECT_EQ(w.statusPanelText(2), QString::fromUtf8("Активная схема: TEV"));
    EXPECT_EQ(w.statusPanelText(3), QString::fromUtf8("Эмитент: 1"));
    EXPECT_EQ(w.statusPanelText(4), QString::fromUtf8("Филиал: 0"));
    // emitent 1 has clients of the second data source
    EXPECT_EQ(c.area().sourceIndex(), ClientsFilter::SourceOCandLC);
    EXPECT_GT(c.area().qryClients()->recordCount(), 0);

    QMenu* web = w.menu("mnWebLangs");
    ASSERT_EQ(web->actions().size(), admin("select count(*) from tev.v_tev_langs").toInt());
    int checked = 0;
    for (QAction* a : web->actions())
        checked += a->isChecked();
    EXPECT_EQ(checked, 1);
    QMenu* langs = w.menu("mnLangs");
    ASSERT_FALSE(langs->actions().isEmpty());
    EXPECT_EQ(langs->actions().first()->text(), QString::fromUtf8("Русский"));
    EXPECT_TRUE(langs->actions().first()->isChecked());

    for (const QString& name : menuCommandNames()) {
        QAction* a = w.command(name);
        ASSERT_NE(a, nullptr) << name.toStdString();
        EXPECT_FALSE(a->text().isEmpty()) << name.toStdString();
    }
    w.updateActionsNow();
    EXPECT_TRUE(w.command("acADBonusRangePrMes")->isVisible());
    EXPECT_TRUE(w.menu("mnBonusRanges")->menuAction()->isVisible());
    EXPECT_FALSE(w.command("actExchangeSettings")->isVisible());
    EXPECT_FALSE(w.command("actRegisterServices")->isVisible());
    for (const QString& name : MainRules::RightsCommands())
        EXPECT_TRUE(w.command(name)->isVisible()) << name.toStdString();

    // Escape does not dismiss the main window.
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
}

TEST(TfrmMain, RolesOfTheOperatorAndTheRegionalManager)
{
    REQUIRE_PG();
    struct Row
    {
        const char* user;
        int managerId;
        bool languagesHidden;
        bool webLanguagesHidden;
        QStringList emitents; // empty: every emitent
    } rows[] = {
        {"tev_operator", -1, true, true, {}},
        {"tev_manager", 2, false, true, {"4", "5"}},
        {"tev_manager", 1, false, true, {"1", "2", "3"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.user) + " " + std::to_string(r.managerId));
        Console c(r.user, r.managerId);
        ASSERT_TRUE(c.signedIn);
        RecordingPresenter presenter;
        TfrmMain& w = c.open();
        EXPECT_EQ(presenter.count(), 0) << (presenter.count() ? presenter.last().text.toStdString() : "");
        ASSERT_TRUE(w.Initialized());
        const QStringList hidden = MainRules::HiddenCommands(MainRules::RoleOf(r.user));
        for (const QString& name : menuCommandNames()) {
            if (!MainRules::RightsCommands().contains(name))
                continue;
            EXPECT_EQ(w.command(name)->isVisible(), !hidden.contains(name)) << name.toStdString();
            EXPECT_EQ(w.command(name)->isEnabled(), !hidden.contains(name)) << name.toStdString();
        }
        EXPECT_EQ(w.menu("mnLangs")->menuAction()->isVisible(), !r.languagesHidden);
        EXPECT_EQ(w.menu("mnWebLangs")->menuAction()->isVisible(), !r.webLanguagesHidden);

        db::Query* list = c.dm->queries().oqEmitentSelect;
        QStringList seen;
        for (int row = 0; row < list->recordCount(); ++row)
            seen << list->value(row, list->fieldIndex("EMITENT_ID_WEB")).toString();
        if (r.emitents.isEmpty()) {
            EXPECT_TRUE(w.AllEmitents());
            EXPECT_EQ(seen.size(), admin("select count(*) from tev.v_tev_emitent").toInt());
        } else {
            EXPECT_FALSE(w.AllEmitents());
            EXPECT_EQ(seen, r.emitents);
            EXPECT_EQ(QString::number(w.CurrentEmitentId()), r.emitents.first());
        }
    }
}

TEST(TfrmMain, VersionOfTheSchemaDecides)
{
    REQUIRE_PG();
    struct Row
    {
        const char* version;
        bool works;
    } rows[] = {{"2.9.5.1.12", true}, {"2.9.5.2", false}, {"2.9.5", false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.version);
        AdminChange version(
            QStringLiteral("update tev.tev_version_db set version = '%1' returning 1").arg(r.version),
            "update tev.tev_version_db set version = '2.9.5.1' returning 1");
        Console c;
        RecordingPresenter presenter;
        TfrmMain& w = c.open();
        QSignalSpy ended(&w, &TfrmMain::terminated);
        EXPECT_EQ(w.isTerminated(), !r.works);
        if (r.works) {
            EXPECT_EQ(presenter.count(), 0);
            EXPECT_TRUE(w.windowTitle().endsWith(QStringLiteral("2.9.5.1.12)")));
        } else {
            ASSERT_EQ(presenter.count(), 1);
            EXPECT_EQ(presenter.last().text, lang::tr(u"vrstrCheckVersion"));
            EXPECT_EQ(presenter.last().icon, lang::MsgIcon::Error);
            EXPECT_FALSE(w.isVisible());
        }
    }
}

TEST(TfrmMain, MissingViewEndsWithTheSchemaMessage)
{
    REQUIRE_PG();
    for (const char* view : {"v_tev_web_clients", "v_tev_langs", "v_tev_version_db"}) {
        SCOPED_TRACE(view);
        AdminChange gone(QStringLiteral("alter view tev.%1 rename to %1_gone").arg(view),
                         QStringLiteral("alter view tev.%1_gone rename to %1").arg(view));
        Console c;
        RecordingPresenter presenter;
        TfrmMain* w = nullptr;
        ASSERT_NO_THROW(w = &c.open());
        EXPECT_TRUE(w->isTerminated());
        EXPECT_FALSE(w->isVisible());
        ASSERT_EQ(presenter.count(), 1);
        EXPECT_TRUE(presenter.last().text.startsWith(
            lang::format(lang::tr(u"vrstrDBObjectNotFound"), {"TEV"}) + "\n\r"))
            << presenter.last().text.toStdString();
        // nothing runs on a window that is ending
        w->actMainUpdate();
        EXPECT_EQ(presenter.count(), 1);
    }
}

TEST(TfrmMain, SubscriptionsSwitchIsReadWithoutRepeatedErrors)
{
    REQUIRE_PG();
    Console c;
    RecordingPresenter presenter;
    TfrmMain& w = c.open();
    QAbstractButton* describes = c.area().paneButton(ClientsWorkArea::Pane::Describes);
    struct Row
    {
        const char* value;
        bool visible;
    } rows[] = {{"0", true}, {"3", true}, {"-1", false}, {"", false}, {"abc", false}, {"0", true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        c.dm->SetConfigValue("TYPE_BLOCK_DESCRIBE", r.value);
        for (int pass = 0; pass < 3; ++pass)
            w.actMainUpdate();
        EXPECT_EQ(describes->isVisible(), r.visible);
    }
    EXPECT_EQ(presenter.count(), 0);
    c.dm->SetConfigValue("TYPE_BLOCK_DESCRIBE", "0");
}

TEST(TfrmMain, RegisteringServicesOnThisComputer)
{
    REQUIRE_PG();
    const QString computer = ComputerName().toUpper();
    AdminChange clean("delete from tev.tev_configs where param_name like 'PC_SRV_NAME_WEB_%' returning 1",
                      "delete from tev.tev_configs where param_name like 'PC_SRV_NAME_WEB_%' returning 1");
    auto setting = [](const char* key) {
        return admin(
            QStringLiteral("select param_val from tev.v_tev_configs where param_name = '%1'").arg(key));
    };
    {
        // No service here: the command shows, writes nothing, reloads and reports.
        Console c;
        c.dm->SetRegisterMode(true);
        TfrmMain& w = c.open();
        w.actMainUpdate();
        EXPECT_TRUE(w.command("actRegisterServices")->isVisible());
        RecordingPresenter presenter;
        w.command("actRegisterServices")->trigger();
        ASSERT_EQ(presenter.count(), 1);
        EXPECT_EQ(presenter.last().text, lang::tr(u"vrstrCompRegistered") + " " + computer);
        EXPECT_EQ(setting("PC_SRV_NAME_WEB_IN"), "");
        EXPECT_EQ(setting("PC_SRV_NAME_WEB_OUT"), "");
        EXPECT_FALSE(c.dm->RegisterMode());
        w.actMainUpdate();
        EXPECT_FALSE(w.command("actRegisterServices")->isVisible());
    }
    {
        // Both installed here but registered to another computer; registering takes them over.
        admin(
            "insert into tev.tev_configs (param_name, param_val) values ('PC_SRV_NAME_WEB_IN', 'OTHER-PC'), "
            "('PC_SRV_NAME_WEB_OUT', 'OTHER-PC') returning 1");
        Console c;
        c.services.install(MainRules::kImportService, "/opt/tev/in/srvTEVWebIn");
        c.services.install(MainRules::kExportService, "/opt/tev/out/srvTEVWebOut");
        c.dm->SetRegisterMode(true);
        TfrmMain& w = c.open();
        EXPECT_EQ(w.LocalServices(), 3);
        EXPECT_EQ(w.ServiceBinding(), 0);
        w.actMainUpdate();
        EXPECT_FALSE(w.command("actExchangeSettings")->isVisible());
        RecordingPresenter presenter;
        w.command("actRegisterServices")->trigger();
        EXPECT_EQ(setting("PC_SRV_NAME_WEB_IN"), computer);
        EXPECT_EQ(setting("PC_SRV_NAME_WEB_OUT"), computer);
        EXPECT_EQ(w.ServiceBinding(), 3);
        w.actMainUpdate();
        EXPECT_TRUE(w.command("actExchangeSettings")->isVisible());
    }
    {
        // Only the export service here, its setting blank: it is claimed for this computer.
        admin("delete from tev.tev_configs where param_name like 'PC_SRV_NAME_WEB_%' returning 1");
        Console c;
        c.services.install(MainRules::kExportService, "/opt/tev/out/srvTEVWebOut");
        TfrmMain& w = c.open();
        EXPECT_EQ(w.LocalServices(), 2);
        EXPECT_EQ(w.ServiceBinding(), 2);
        EXPECT_EQ(setting("PC_SRV_NAME_WEB_OUT"), computer);
        EXPECT_EQ(setting("PC_SRV_NAME_WEB_IN"), "");
    }
}

TEST(TfrmMain, ReRegistration)
{
    REQUIRE_PG();
    Console c;
    TfrmMain& w = c.open();
    const int pid = c.dm->session()->backendPid();
    {
        RecordingPresenter presenter({lang::mrCancel});
        w.command("actReconnect")->trigger();
        ASSERT_EQ(presenter.count(), 1);
        EXPECT_EQ(presenter.last().text, lang::tr(u"rstrDoRelogin"));
        EXPECT_EQ(c.dm->session()->backendPid(), pid) << "cancelled: still the same session";
    }
    {
        c.area().clickClientType(ClientsFilter::TypeFirms);
        RecordingPresenter presenter({lang::mrOk});
        w.command("actReconnect")->trigger();
        EXPECT_EQ(presenter.count(), 1);
        EXPECT_TRUE(c.dm->session()->connected());
        EXPECT_NE(c.dm->session()->backendPid(), pid);
        EXPECT_FALSE(w.isTerminated());
        EXPECT_TRUE(c.area().qryClients()->isOpen());
        EXPECT_EQ(w.CurrentEmitentId(), 1);
    }
    {
        TestSignIn::refuse = true;
        RecordingPresenter presenter({lang::mrOk});
        w.command("actReconnect")->trigger();
        EXPECT_TRUE(w.isTerminated());
        EXPECT_FALSE(c.dm->session()->connected());
    }
}

TEST(TfrmMain, ChangeOfSchemeWithRollBack)
{
    REQUIRE_PG();
    Console c;
    TfrmMain& w = c.open();
    QString answer = "TEV";
    ScriptedModalRunner runner;
    runner.answer = answerDialog<TfrmShemaForm>([&](TfrmShemaForm& f) {
        auto* tree = f.findChild<QTreeWidget*>("tvShemes");
        const QList<QTreeWidgetItem*> found = tree->findItems(answer, Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_EQ(found.size(), 1) << answer.toStdString();
        if (!found.isEmpty()) {
            tree->setCurrentItem(found.first());
            f.btnActivateClick();
        }
        return f.result();
    });
    const int pid = c.dm->session()->backendPid();
    w.command("actChangeScheme")->trigger();
    EXPECT_EQ(c.dm->session()->backendPid(), pid) << "the same scheme: nothing happens";
    EXPECT_EQ(w.PreviousScheme(), "TEV");

    answer = "WEB2";
    RecordingPresenter presenter;
    w.command("actChangeScheme")->trigger();
    EXPECT_EQ(presenter.count(), 0) << (presenter.count() ? presenter.last().text.toStdString() : "");
    EXPECT_FALSE(w.isTerminated());
    EXPECT_EQ(c.dm->ActiveScheme(), "WEB2");
    EXPECT_EQ(w.PreviousScheme(), "WEB2");
    EXPECT_EQ(w.statusPanelText(2), QString::fromUtf8("Активная схема: WEB2"));
    EXPECT_FALSE(w.BonusModulePresent()) << "web2 has no bonus module";
    EXPECT_EQ(c.area().qryClients()->recordCount(),
              admin(QStringLiteral("select count(*) from web2.v_tev_web_clients where wbc_emitent_id = %1")
                        .arg(w.CurrentEmitentId()))
                  .toInt());

    // A failed sign-in on the new scheme ends the program with the previous scheme restored.
    answer = "TEV";
    TestSignIn::refuse = true;
    w.command("actChangeScheme")->trigger();
    EXPECT_TRUE(w.isTerminated());
    EXPECT_EQ(c.dm->settings().flaggedScheme(), "WEB2");
}

TEST(TfrmMain, InterfaceLanguageSwitchesEveryCaptionAtOnce)
{
    REQUIRE_PG();
    Console c("tev_user", -1, true);
    TfrmMain& w = c.open();
    QMenu* langs = w.menu("mnLangs");
    QAction* english = nullptr;
    for (QAction* a : langs->actions())
        if (a->data().toInt() == 9)
            english = a;
    ASSERT_NE(english, nullptr);
    const QString russianCaption = w.command("actReconnect")->text();
    c.area().qryClients()->locate("WBC_ID", 8);

    english->trigger();
    EXPECT_EQ(c.dm->LanguageId(), 9);
    EXPECT_TRUE(english->isChecked());
    EXPECT_NE(w.command("actReconnect")->text(), russianCaption);
    EXPECT_EQ(w.command("actReconnect")->text(), lang::tr(u"rstrReconnect"));
    EXPECT_EQ(w.menu("mnConnection")->title(), lang::tr(u"vrstrConnection1"));
    EXPECT_EQ(w.acFind()->text(), lang::tr(u"rstrFind"));
    EXPECT_EQ(c.area().acSelectAll()->text(), lang::tr(u"rstrCheckAll"));
    EXPECT_TRUE(w.windowTitle().startsWith(lang::tr(u"rstrMainCaption")));
    EXPECT_TRUE(w.statusPanelText(0).startsWith(lang::tr(u"rstrServer") + ": "));
    EXPECT_EQ(c.area().qryClients()->value("WBC_ID").toInt(), 8);
    EXPECT_EQ(c.area().qryClients()->value("STATE").toString(), lang::tr(u"rstrBlocked"));
    EXPECT_EQ(c.dm->queries().oquTrnTypes->macroByName("LangID").value(), "9");
    EXPECT_EQ(c.dm->queries().qryLogins->fieldByName("WBL_LOGIN").displayLabel(), lang::tr(u"rstrLogin"));
    // the web languages are named in English now
    QStringList webNames;
    for (QAction* a : w.menu("mnWebLangs")->actions())
        webNames << a->text();
    EXPECT_TRUE(webNames.contains("English")) << webNames.join(", ").toStdString();

    // The current language again: nothing happens.
    QSignalSpy reopened(c.area().qryClients(), &db::Dataset::afterOpen);
    english->trigger();
    EXPECT_EQ(reopened.count(), 0);
    EXPECT_TRUE(english->isChecked());

    langs->actions().first()->trigger();
    EXPECT_EQ(c.dm->LanguageId(), 25);
    EXPECT_EQ(w.command("actReconnect")->text(), russianCaption);
}

TEST(TfrmMain, AboutBoxGetsTheLanguage)
{
    REQUIRE_PG();
    Console c;
    TfrmMain& w = c.open();
    int shownWith = 0;
    ScriptedModalRunner runner;
    runner.answer = answerDialog<AboutDialog>([&](AboutDialog& about) {
        shownWith = about.languageId();
        return int(QDialog::Accepted);
    });
    w.command("actAbout")->trigger();
    EXPECT_EQ(shownWith, 25);
    AboutDialog russian(25), english(9);
    EXPECT_EQ(russian.productText(), QString::fromUtf8("TEV Web Администратор"));
    EXPECT_EQ(english.productText(), "TEV Web Admin");
    EXPECT_TRUE(english.versionText().contains("2.9.5.1"));
}

TEST(TfrmMain, ReportsCommandOpensTheReportWindowOnTheSession)
{
    REQUIRE_PG();
    Console c;
    TfrmMain& w = c.open();
    ScriptedModalRunner runner;
    bool bound = false;
    runner.answer = answerDialog<TfmTEVWebReports>([&](TfmTEVWebReports& reports) {
        bound = reports.reportList()->count() == 3;
        return int(QDialog::Rejected);
    });
    w.command("actReports")->trigger();
    EXPECT_EQ(runner.dialogs, QStringList{"TfmTEVWebReports"});
    EXPECT_TRUE(bound);
}

TEST(TfrmMain, ClosingSavesTheLanguageAndTheSortOrders)
{
    REQUIRE_PG();
    Console c;
    TfrmMain& w = c.open();
    db::Query* clients = c.area().qryClients();
    clients->setMacro("FIELD", "wbc_name");
    c.dm->SetLanguageId(9);
    w.close();
    lang::IniFile ini(c.folder.filePath("DEDAdize.ini"));
    EXPECT_EQ(ini.readInteger("LANG_REFERENCE", "CurrentLanguageId"), 9);
    QString saved;
    ASSERT_TRUE(ReadOrderBy("tev", QueryOrderKey(*clients), saved));
    EXPECT_EQ(saved, "wbc_name");
    EXPECT_TRUE(QueryOrderKey(*clients).startsWith("frmMain.qryClients."));

    // The next window starts with that order.
    c.window.reset();
    TfrmMain& next = c.open();
    EXPECT_EQ(next.workArea()->qryClients()->macroByName("FIELD").value(), "wbc_name");
}

TEST(TfrmMain, ExchangeSettingsOpenTheirWindow)
{
    REQUIRE_PG();
    Console c;
    TfrmMain& w = c.open();
    ScriptedModalRunner runner;
    w.command("actExchangeSettings")->trigger();
    EXPECT_EQ(runner.dialogs, QStringList{"TfmConfig"});
    EXPECT_EQ(runner.titles, QStringList{QString::fromUtf8("Настройки обмена")});
}

TEST(TfrmMain, EmitentSettingsOpenTheirWindowAndLeaveTheListOnItsRow)
{
    REQUIRE_PG();
    Console c;
    TfrmMain& w = c.open();
    db::Query* list = c.dm->queries().oqEmitentSelect;
    const int shown = w.CurrentEmitentId();
    ASSERT_EQ(list->asInteger("EMITENT_ID_WEB"), shown);
    ScriptedModalRunner runner;
    runner.answer = [list](QDialog&) {
        list->last(); // the window moves through the shared list
        return int(QDialog::Accepted);
    };
    w.command("acEmitentSelect")->trigger();
    EXPECT_EQ(runner.dialogs, QStringList{"TfrmEmitentSelect"});
    EXPECT_EQ(runner.titles, QStringList{QString::fromUtf8("Настройки эмитентов")});
    EXPECT_EQ(list->asInteger("EMITENT_ID_WEB"), shown);
}

TEST(TfrmMain, CommonSettingsOpenTheirWindow)
{
    REQUIRE_PG();
    Console c;
    TfrmMain& w = c.open();
    ScriptedModalRunner runner;
    w.command("acSettings")->trigger();
    EXPECT_EQ(runner.dialogs, QStringList{"TfmSettings"});
    EXPECT_EQ(runner.titles, QStringList{QString::fromUtf8("Общие настройки")});
}

// Every command of the main window opens its own window (each has a test of its own); none is
// left with the notice of a window still to come.
TEST(TfrmMain, EveryCommandHasItsWindow)
{
    QStringList own = {"actReconnect", "actChangeScheme", "actExit", "actRegisterServices", "actAbout"};
    // Commands whose windows exist: CommandsOfJournalsOpenTheirWindows, ReferenceCommandsTest.
    own += {"acDRRequest", "acEventsJournal", "acFeedbackMessages", "acADBonusRangePrMes",
            "acADBonusRangePopravka"};
    own += {"acPOSes", "acTrnTypes", "acTrnTypeGroup", "acSchemesForWeb", "acTermsForWeb", "acHelp"};
    own << "actReports" << "actExchangeSettings" << "acEmitentSelect";
    own << "actManager";
    own << "actShowNews" << "actShowEditGroupForNews";
    own << "acSettings";
    for (const MainCommand& command : MainCommands())
        EXPECT_TRUE(own.contains(QString::fromLatin1(command.name))) << command.name;
}

TEST(TfrmMain, CommandsOfJournalsOpenTheirWindows)
{
    REQUIRE_PG();
    Console c;
    TfrmMain& w = c.open();
    w.actMainUpdate();
    ScriptedModalRunner runner;
    runner.answer = [](QDialog&) { return int(QDialog::Rejected); };
    const struct
    {
        const char* command;
        const char* window;
        QString title;
    } cases[] = {
        {"acDRRequest", "TfmDRRequest", lang::tr(u"vrstrRequestsViewer")},
        {"acEventsJournal", "TfmEventsJournal", lang::tr(u"vrstrEventsJrn")},
        {"acFeedbackMessages", "TfrmFeedbackMessages", lang::tr(u"vrstrUserMessages")},
        {"acADBonusRangePrMes", "TfmADBonusRanges",
         lang::tr(u"rstrBonusRanges") + " (" + lang::tr(u"rstrPrMes") + ")"},
        {"acADBonusRangePopravka", "TfmADBonusRanges",
         lang::tr(u"rstrBonusRanges") + " (" + lang::tr(u"rstrPopravka") + ")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        w.command(QString::fromLatin1(c.command))->trigger();
        EXPECT_EQ(runner.dialogs.last(), c.window);
        EXPECT_EQ(runner.titles.last(), c.title);
    }
    EXPECT_EQ(w.couponsArchiveItem()->objectName(), "miArchiveCoupons");
    w.couponsArchiveItem()->trigger();
    EXPECT_EQ(runner.dialogs.last(), "TfrmCouponsArchive");
    EXPECT_EQ(runner.titles.last(), lang::tr(u"vrstrArchiveCouponsCaption"));
}
