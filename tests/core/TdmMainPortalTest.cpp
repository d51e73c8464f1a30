#include "ComputerName.h"
#include "CoreTestSupport.h"
#include "InMemoryServiceManager.h"
#include "PgFixture.h"
#include "Query.h"
#include "Session.h"
#include "SharedQueries.h"
#include "StoredProc.h"
#include "TdmMain.h"

#include <gtest/gtest.h>

namespace {

// A data module signed in to the fixture's portal as the administrator, bound like the main window does.
class SignedIn
{
public:
    SignedIn()
    {
        coreTestApp();
        folder.write({"[CONNECTION]", "server=TEVTEST", "user=tev_user", "[SCHEMES]", "TEV=1"});
        dm = std::make_unique<TdmMain>();
        dm->session()->setServer(PgFixture::serviceName());
        dm->session()->setUsername("tev_user");
        dm->session()->setPassword("tev_user");
        dm->session()->connectAttempt();
        dm->BindToSession();
    }
    AppFolder folder;
    std::unique_ptr<TdmMain> dm;
};

QString adminValue(const QString& sql)
{
    return PgFixture::instance().adminQuery(sql);
}

} // namespace

TEST(TdmMainPortal, EverySharedQueryOpensWithItsCaptions)
{
    REQUIRE_PG();
    SignedIn s;
    SharedQueries& q = s.dm->queries();
    const QString client = adminValue("select min(wbl_web_client_id) from tev.v_tev_web_logins");
    const QString owner = adminValue("select min(emitent_id_web_owner) from tev.v_tev_pos");
    for (db::Query* text : {q.qryLogins}) {
        for (const char* m : {"vNo", "vYes", "vClientAccess", "vAllCardsAllAccounts", "vCardsAllAccounts", "vCards"})
            text->setMacro(m, "'x'");
    }
    q.qryLogins->setParam("pID", client.toInt());
    q.qryJournal->setParam("pID", client.toInt());
    q.qryJournal->setParam("pLangId", 25);
    q.oqDescribes->setParam("id", client.toInt());
    q.oqEmitentSelect->setParam("P_ALL_EMITENT", 1);
    q.oquPOSes->setParam("emitent_id", owner.toInt());
    q.oquTrnTypes->setParam("emitent_id", owner.toInt());
    q.oquHoldersForLogin->setParam("P_CLIENT_ID", client.toInt());
    q.oqLogins->setParam("pid", client.toInt());
    q.oqEmitentPos->setParam("P_EMITENT_ID_WEB_OWNER", owner.toInt());
    q.oqMaxLimitsEmitent->setParam("pEmitentIDWeb", owner.toInt());
    q.oqMaxLimitsClient->setParam("pClientIDWeb", client.toInt());
    q.oqFeedBackTypes->setParam("pLang", 25);
    q.oqMessageTemplates->setParam("pLangID", 25);
    q.oqMessageTemplates->setParam("pID", 1);
    q.ApplyCaptions();
    for (db::Query* query : {q.qryLogins, q.qryJournal, q.oqDescribes, q.oqEmitentSelect, q.oquPOSes, q.oquTrnTypes,
                             q.oquHoldersForLogin, q.oqLogins, q.oqHelpType, q.oqEmitentPos, q.oqOrderUnload,
                             q.oqOrderDownload, q.oqMaxLimitsEmitent, q.oqMaxLimitsClient, q.oqManager,
                             q.oqFeedBackTypes, q.oqMessageTemplates, q.oqLangs, q.oqEmitentSecurity,
                             q.oqTEVConfigs, q.oqDBVersion}) {
        SCOPED_TRACE(query->objectName().toStdString());
        ASSERT_NO_THROW(query->open());
        for (const QString& column : SharedQueries::displayColumns(query->objectName())) {
            const db::Field* f = query->findField(column);
            ASSERT_NE(f, nullptr) << column.toStdString();
            EXPECT_TRUE(f->isVisible()) << column.toStdString();
            EXPECT_FALSE(f->displayLabel().isEmpty());
        }
    }
    EXPECT_EQ(q.qryLogins->fieldByName("WBL_LOGIN").displayLabel(), QString::fromUtf8("Логин"));
    EXPECT_EQ(q.oqEmitentPos->fieldByName("EMITENT_NAME_ANSI").displayLabel(), QString::fromUtf8("Эквайер"));
    EXPECT_FALSE(q.qryLogins->fieldByName("IS_TEMP").isVisible());

    q.ospGetFreeEmitent->setParam("P_MANAGER_ID", adminValue("select min(manager_id) from tev.v_tev_manager").toInt());
    EXPECT_NO_THROW(q.ospGetFreeEmitent->open());
    EXPECT_NE(q.ospGetFreeEmitent->findField("EMITENT_NAME_ANSI"), nullptr);
}

TEST(TdmMainPortal, CalculatedTexts)
{
    REQUIRE_PG();
    SignedIn s;
    db::Query* emitents = s.dm->queries().oqEmitentSelect;
    emitents->setParam("P_ALL_EMITENT", 1);
    emitents->open();
    const QString noFilial = adminValue("select emitent_id_web from tev.v_tev_emitent where filial_number is null limit 1");
    if (!noFilial.isEmpty()) {
        ASSERT_TRUE(emitents->locate("EMITENT_ID_WEB", noFilial.toInt()));
        EXPECT_TRUE(emitents->asString("FULL_EM_NAME").contains(", ] ")) << emitents->asString("FULL_EM_NAME").toStdString();
    }
    emitents->first();
    const QString full = emitents->asString("FULL_EM_NAME");
    EXPECT_TRUE(full.startsWith('[' + emitents->asString("EMITENT_NUMBER") + ", ")) << full.toStdString();
    EXPECT_EQ(emitents->asString("TYPE_CHANGE_STR"),
              emitents->asInteger("TYPE_CHANGE") == 0 ? QString::fromUtf8("по сети") : QString::fromUtf8("по эл. почте"));

    struct Row
    {
        const char* flags;
        const char* text;
    };
    for (const Row& r : {Row{"101", "ОЦ/БК"}, Row{"000", ""}, Row{"111", "ОЦ/ЛНР/БК"}, Row{"010", "ЛНР"}, Row{"", ""}})
        EXPECT_EQ(HelpTypeText(r.flags), QString::fromUtf8(r.text)) << r.flags;
    EXPECT_EQ(SingleBytePortalText(QString("Caf\\u00E9 \\u03B1")), QString::fromUtf8("Caf? ?"));
    EXPECT_EQ(DecodedPortalText(QString("Caf\\u00E9 \\u03B1")), QString::fromUtf8("Café α"));
}

TEST(TdmMainPortal, SettingsStore)
{
    REQUIRE_PG();
    SignedIn s;
    TdmMain& dm = *s.dm;
    EXPECT_EQ(dm.GetConfigValue("LANG_ID"), "25");
    EXPECT_EQ(dm.GetConfigValue("NO_SUCH_KEY_AT_ALL"), "");
    // A key is read and written by its first 20 characters.
    dm.SetConfigValue("TEV_CONSOLE_TEST_KEY", "first");
    EXPECT_EQ(dm.GetConfigValue("TEV_CONSOLE_TEST_KEY_AND_MORE"), "first");
    dm.SetConfigValue("TEV_CONSOLE_TEST_KEY", "second");
    EXPECT_EQ(dm.GetConfigValue("TEV_CONSOLE_TEST_KEY"), "second");
    EXPECT_EQ(adminValue("select param_val from tev.v_tev_configs where param_name = 'TEV_CONSOLE_TEST_KEY'"), "second");
    EXPECT_EQ(dm.GetDBVersion().left(7), "2.9.5.1");
}

TEST(TdmMainPortal, ServiceHostsAreClaimedOnlyWhenInstalledHere)
{
    REQUIRE_PG();
    SignedIn s;
    TdmMain& dm = *s.dm;
    InMemoryServiceManager services;
    IServiceManager* previous = setServiceManager(&services);
    dm.SetConfigValue("PC_SRV_NAME_WEB_IN", "");
    dm.SetConfigValue("PC_SRV_NAME_WEB_OUT", "");
    EXPECT_EQ(dm.GetServiceHostIn().trimmed(), "");
    EXPECT_EQ(dm.GetConfigValue("PC_SRV_NAME_WEB_IN").trimmed(), ""); // nothing written

    services.install("srvTEVWebOutSrvc", "/usr/lib/tev/srvTEVWebOutSrvc");
    EXPECT_EQ(dm.GetServiceHostOut(), ComputerName().toUpper());
    EXPECT_EQ(dm.GetConfigValue("PC_SRV_NAME_WEB_OUT"), ComputerName().toUpper());
    dm.SetConfigValue("PC_SRV_NAME_WEB_OUT", "OTHERHOST");
    EXPECT_EQ(dm.GetServiceHostOut(), "OTHERHOST"); // a set host stays
    setServiceManager(previous);
}

TEST(TdmMainPortal, VisibilitySwitches)
{
    REQUIRE_PG();
    SignedIn s;
    TdmMain& dm = *s.dm;
    db::Query* pos = dm.queries().oqEmitentPos;
    const QString owner = adminValue("select min(p.emitent_id_web_owner) from tev.v_tev_pos p "
                                     "where p.emitent_id_web <> p.emitent_id_web_owner");
    pos->setParam("P_EMITENT_ID_WEB_OWNER", owner.toInt());
    pos->open();
    ASSERT_FALSE(pos->isEmpty());
    for (int round = 0; round < 2; ++round) {
        const int before = int(pos->asInteger("ISVISIBLE"));
        dm.ToggleAcquirerVisibility(); // 0 becomes 1, anything else goes down by one
        EXPECT_EQ(pos->asInteger("ISVISIBLE"), before == 0 ? 1 : before - 1);
    }
    dm.SetAllAcquirersVisibility(1);
    for (int r = 0; r < pos->recordCount(); ++r)
        EXPECT_EQ(pos->value(r, pos->fieldIndex("ISVISIBLE")).toInt(), 1);
    EXPECT_EQ(adminValue(QStringLiteral("select count(*) from tev.v_tev_emitent where pos_visible = 1 and "
                                        "emitent_id_web in (select emitent_id_web from tev.v_tev_pos where "
                                        "emitent_id_web_owner = %1 and emitent_id_web <> %1)").arg(owner)),
              QString::number(pos->recordCount())); // committed

    db::Query* emitents = dm.queries().oqEmitentSelect;
    emitents->setParam("P_ALL_EMITENT", 1);
    emitents->open();
    emitents->setRecNo(2);
    const int hide = int(emitents->asInteger("HIDE_DISCONT"));
    const int visible = int(emitents->asInteger("ISVISIBLE"));
    dm.ToggleNewPosVisibility();
    EXPECT_EQ(emitents->recNo(), 2);
    EXPECT_EQ(emitents->asInteger("ISVISIBLE"), visible == 0 ? 1 : visible - 1);
    dm.ToggleHideDiscount();
    EXPECT_EQ(emitents->recNo(), 2);
    EXPECT_NE(emitents->asInteger("HIDE_DISCONT"), hide);
}

// ALTER USER is durable by itself and never shows the password to the server: the server log with
// every statement logged holds only the verifier, and neither a rollback of the session nor its
// pending work is touched by the change.
TEST(TdmMainPortal, PasswordChangeCommitsAloneAndSendsOnlyAVerifier)
{
    REQUIRE_PG();
    auto& fx = PgFixture::instance();
    const QString role = "tev_cp_" + fx.database();
    adminValue(QStringLiteral(
                   "DO $$BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '%1') THEN "
                   "CREATE ROLE %1 LOGIN PASSWORD 'old'; ELSE ALTER ROLE %1 PASSWORD 'old'; END IF; END$$; "
                   "CREATE TABLE IF NOT EXISTS public.cp_probe(id integer); "
                   "GRANT SELECT, INSERT ON public.cp_probe TO tev_user")
                   .arg(role));
    // The cluster's scripts keep the server's log beside its data folder.
    const QString log =
        adminValue("select setting from pg_settings where name = 'data_directory'") + "/../server.log";
    const QString logged = adminValue(QStringLiteral("select size from pg_stat_file('%1')").arg(log));
    ASSERT_FALSE(logged.isEmpty());
    adminValue(QStringLiteral("ALTER DATABASE \"%1\" SET log_statement = 'all'").arg(fx.database()));

    SignedIn s;
    db::Session& session = *s.dm->session();
    session.execute("insert into public.cp_probe values (1)");     // pending, unrelated work
    const QString password = QString::fromUtf8("Nеw \"pa'ss\" 1"); // a Cyrillic е, both quotes
    s.dm->ChangeUserPassword(password, role.toUpper());
    adminValue(QStringLiteral("ALTER DATABASE \"%1\" RESET log_statement").arg(fx.database()));

    EXPECT_EQ(
        adminValue(
            QStringLiteral("select left(rolpassword, 14) from pg_authid where rolname = '%1'").arg(role)),
        "SCRAM-SHA-256$");
    EXPECT_NO_THROW(fx.connect(role, password));
    EXPECT_THROW(fx.connect(role, "old"), db::OraError);
    EXPECT_EQ(adminValue("select count(*) from public.cp_probe"), "0"); // not committed by the change
    EXPECT_TRUE(session.inTransaction());
    session.rollback();
    EXPECT_NO_THROW(fx.connect(role, password));
    EXPECT_EQ(adminValue("select count(*) from public.cp_probe"), "0");

    const QString written = adminValue(
        QStringLiteral("select pg_read_file('%1', %2, (pg_stat_file('%1')).size - %2)").arg(log, logged));
    EXPECT_TRUE(written.contains("SCRAM-SHA-256$")) << "statements were not logged";
    EXPECT_FALSE(written.contains("pa'ss")) << written.toStdString();
    EXPECT_FALSE(written.contains("pa''ss"));
    EXPECT_FALSE(written.contains(password));
}
