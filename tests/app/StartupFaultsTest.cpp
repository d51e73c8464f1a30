// The start-up and reload paths that used to end the program or leave traces behind.

#include "AppTestSupport.h"

#include "AppFolder.h"
#include "Catalogue.h"
#include "ClientsFilter.h"
#include "ClientsWorkArea.h"
#include "ConnectionSettings.h"
#include "DemoModalRunner.h"
#include "IniFile.h"
#include "MessageDialogs.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"
#include "SharedQueries.h"
#include "SortOrderStore.h"
#include "TfmNormalConnect.h"

#include <QAction>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QString sortStoreText(const Console& c)
{
    QFile f(lang::fileInFolder(c.folder.path(), QStringLiteral("ZadUvazUDU.INI")));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

QAction* action(QWidget& window, const char* name)
{
    auto* a = window.findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(a, nullptr) << name;
    return a;
}

} // namespace

TEST(StartupFaults, StaleSavedOrderIsDroppedAndTheConsoleStarts)
{
    REQUIRE_PG();
    Console c;
    QString key;
    {
        TfrmMain& w = c.open();
        key = QueryOrderKey(*w.workArea()->qryClients());
        w.close();
        c.window.reset();
    }
    // A stale or hand-edited entry: a column the query does not have.
    WriteOrderBy("tev", key, "NO_SUCH_COLUMN DESC");

    RecordingPresenter presenter;
    TfrmMain& w = c.open();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().icon, lang::MsgIcon::Error);
    EXPECT_EQ(presenter.last().text,
              "TBaseForm.NotFindFieldForOrder: " +
                  lang::format(lang::tr(u"rstr_fmtmsg_IncorrectSortingField"), {"qryClients.NO_SUCH_COLUMN"}));
    QString saved;
    EXPECT_FALSE(ReadOrderBy("tev", key, saved)) << "the bad entry is removed";
    EXPECT_FALSE(w.isTerminated());
    EXPECT_TRUE(w.Initialized());
    EXPECT_TRUE(w.workArea()->qryClients()->isOpen());
    EXPECT_GT(w.workArea()->qryClients()->recordCount(), 0);

    // The next start is quiet.
    w.close();
    c.window.reset();
    RecordingPresenter quiet;
    c.open();
    EXPECT_EQ(quiet.count(), 0);
}

TEST(StartupFaults, FailedStartLeavesNoDefinitionKeys)
{
    REQUIRE_PG();
    AdminChange gone("alter view tev.v_tev_version_db rename to v_tev_version_db_gone",
                     "alter view tev.v_tev_version_db_gone rename to v_tev_version_db");
    Console c;
    RecordingPresenter presenter;
    TfrmMain& w = c.open();
    ASSERT_TRUE(w.isTerminated());
    EXPECT_EQ(presenter.count(), 1);
    EXPECT_FALSE(sortStoreText(c).contains("_def", Qt::CaseInsensitive)) << sortStoreText(c).toStdString();
}

TEST(StartupFaults, RegistrationWhoseReloadEndsTheProgramAnnouncesNothing)
{
    REQUIRE_PG();
    Console c;
    c.dm->SetRegisterMode(true);
    TfrmMain& w = c.open();
    ASSERT_FALSE(w.isTerminated());
    // The console's open transaction would keep the view locked.
    c.dm->session()->rollback();
    AdminChange gone("alter view tev.v_tev_version_db rename to v_tev_version_db_gone",
                     "alter view tev.v_tev_version_db_gone rename to v_tev_version_db");
    RecordingPresenter presenter;
    w.command("actRegisterServices")->trigger();
    EXPECT_TRUE(w.isTerminated());
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_FALSE(presenter.last().text.startsWith(lang::tr(u"vrstrCompRegistered")));
    EXPECT_EQ(presenter.last().icon, lang::MsgIcon::Error);
}

TEST(StartupFaults, TicksHiddenByTheFiltersAreNotCounted)
{
    REQUIRE_PG();
    Console c;
    TfrmMain& w = c.open();
    ClientsWorkArea& area = c.area();
    db::Query& clients = *area.qryClients();

    area.clickClientType(ClientsFilter::TypePrivate);
    ASSERT_GT(clients.recordCount(), 0) << "the demo emitent has private clients";
    action(w, "acSelectNone")->trigger();
    clients.first();
    area.ToggleCurrentTick();
    EXPECT_EQ(area.SelectedCount(), 1);

    // Only firms shown: the ticked private client is hidden, nothing would be handed over.
    area.clickClientType(ClientsFilter::TypeFirms);
    EXPECT_EQ(area.SelectedCount(), 0);
    w.actMainUpdate();
    EXPECT_FALSE(action(w, "acSendInvitations")->isEnabled());

    // Shown again: counted again.
    area.clickClientType(ClientsFilter::TypeAll);
    EXPECT_EQ(area.SelectedCount(), 1);
    w.actMainUpdate();
    EXPECT_TRUE(action(w, "acSendInvitations")->isEnabled());
}

TEST(StartupFaults, CommandsReloadTheirListsFirst)
{
    REQUIRE_PG();
    Console c;
    TfrmMain& w = c.open();
    RecordingPresenter presenter;
    SharedQueries& q = c.dm->queries();

    // The emitent list is reopened on the row that was current.
    ASSERT_TRUE(q.oqEmitentSelect->locate("EMITENT_ID_WEB", 4));
    QSignalSpy reopened(q.oqEmitentSelect, &db::Dataset::afterOpen);
    {
        ScriptedModalRunner settingsWindow; // closed at once
        w.command("acEmitentSelect")->trigger();
    }
    EXPECT_EQ(reopened.count(), 1);
    EXPECT_EQ(q.oqEmitentSelect->asInteger("EMITENT_ID_WEB"), 4);

    // Help types are read anew, also after they were closed.
    q.oqHelpType->close();
    QSignalSpy helpOpened(q.oqHelpType, &db::Dataset::afterOpen);
    ScriptedModalRunner runner; // the help window closes at once
    w.command("acHelp")->trigger();
    EXPECT_EQ(helpOpened.count(), 1);
    EXPECT_TRUE(q.oqHelpType->isOpen());
}

TEST(StartupFaults, BothSourcesOnlyWhenTheEmitentHasSecondSourceClients)
{
    REQUIRE_PG();
    // An emitent with clients of both sources; then the same emitent with none of the second.
    const QString emitent = admin("select wbc_emitent_id from tev.v_tev_web_clients group by wbc_emitent_id "
                                  "having max(clientislnr) = 1 and min(clientislnr) = 0 order by 1 limit 1");
    ASSERT_FALSE(emitent.isEmpty()) << "the demo portal has an emitent with clients of both sources";
    const QString lnrIds = admin(QStringLiteral("select string_agg(wbc_id::text, ',') from tev.tev_web_clients "
                                                "where wbc_emitent_id = %1 and clientislnr = 1")
                                     .arg(emitent));
    for (const bool secondSource : {true, false}) {
        SCOPED_TRACE(secondSource ? "with second-source clients" : "without");
        std::unique_ptr<AdminChange> onlyFirst;
        if (!secondSource)
            onlyFirst = std::make_unique<AdminChange>(
                QStringLiteral("update tev.tev_web_clients set clientislnr = 0 where wbc_id in (%1) returning 1")
                    .arg(lnrIds),
                QStringLiteral("update tev.tev_web_clients set clientislnr = 1 where wbc_id in (%1) returning 1")
                    .arg(lnrIds));
        Console c;
        c.open();
        ClientsWorkArea& area = c.area();
        area.clickSource(ClientsFilter::SourceOC);
        area.OpenEmitentList(emitent.toInt());
        ASSERT_TRUE(c.dm->queries().oqEmitentSelect->locate("EMITENT_ID_WEB", emitent.toInt()));
        area.OpenEmitentData();
        area.ShowBothSourcesWhenLnr();
        ASSERT_GT(area.qryClients()->recordCount(), 0);
        EXPECT_EQ(area.sourceIndex(), secondSource ? ClientsFilter::SourceOCandLC : ClientsFilter::SourceOC);
        c.dm->session()->rollback();
    }
}

TEST(StartupFaults, SettingsFileIsFoundWhateverItsLetterCase)
{
    QTemporaryDir folder;
    qputenv("TEV_APP_DIR", folder.path().toLocal8Bit());
    QFile ini(folder.filePath("dedadize.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[CONNECTION]\r\nserver=SOMEWHERE\r\nuser=someone\r\n");
    ini.close();
    EXPECT_EQ(lang::applicationFile("DEDAdize.ini"), folder.filePath("dedadize.ini"));
    {
        lang::IniFile file(lang::applicationFile("DEDAdize.ini"));
        EXPECT_EQ(ConnectionSettings(file).user(), "someone");
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("DEDAdize.ini"))) << "no default file beside it";
    qunsetenv("TEV_APP_DIR");
}

TEST(StartupFaults, DemoRunnerTypesThePasswordAndConnects)
{
    REQUIRE_PG();
    ensureApplication();
    QTemporaryDir folder;
    qputenv("TEV_APP_DIR", folder.path().toLocal8Bit());
    QFile ini(folder.filePath("DEDAdize.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[CONNECTION]\r\nserver=%1\r\nuser=tev_user\r\n[SCHEMES]\r\nTEV=1\r\n")
                  .arg(PgFixture::serviceName())
                  .toUtf8());
    ini.close();
    TdmMain::RegisterConnectDialogs();
    DemoModalRunner demo(QStringLiteral("tev_user"), true);
    framework::ModalRunner* previous = framework::setModalRunner(&demo);
    {
        TdmMain dm;
        EXPECT_TRUE(dm.Connect());
        EXPECT_TRUE(dm.session()->connected());
        dm.DataModuleDestroy();
    }
    framework::setModalRunner(previous);
    qunsetenv("TEV_APP_DIR");
}
