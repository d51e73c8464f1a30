#include "Session.h"

#include "DbError.h"
#include "PgFixture.h"
#include "Query.h"

#include <gtest/gtest.h>

using namespace db;

namespace {

int connectError(const QString& server, const QString& user, const QString& password)
{
    Session s;
    s.setServer(server);
    s.setUsername(user);
    s.setPassword(password);
    try {
        s.connect();
    } catch (const OraError& e) {
        EXPECT_FALSE(s.connected());
        return e.code();
    }
    return 0;
}

int count(Session& s, const QString& where)
{
    Query q(&s);
    q.setSql("select count(*) as n from public.tx_probe where " + where);
    q.open();
    return int(q.asInteger("N"));
}

void exec(Session& s, const QString& sql, const QVariantMap& params = {})
{
    Query q(&s);
    q.setSql(sql);
    for (auto it = params.begin(); it != params.end(); ++it)
        q.setParam(it.key(), it.value());
    q.execSql();
}

class SessionTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (!PgFixture::instance().available())
            return;
        PgFixture::instance().adminQuery(
            "CREATE TABLE IF NOT EXISTS public.tx_probe(id integer primary key, note varchar(50) not null);"
            "GRANT SELECT, INSERT, UPDATE, DELETE ON public.tx_probe TO tev_user;");
    }
    void SetUp() override
    {
        if (PgFixture::instance().available())
            PgFixture::instance().adminQuery("DELETE FROM public.tx_probe");
    }
};

} // namespace

TEST_F(SessionTest, ConnectsThroughServiceNames)
{
    REQUIRE_PG();
    EXPECT_TRUE(Session::serviceNames().contains(PgFixture::serviceName()));
    auto s = PgFixture::instance().connect();
    EXPECT_TRUE(s->connected());
    EXPECT_GT(s->backendPid(), 0);
    // Net service names are not case-sensitive.
    Session lower;
    lower.setServer(PgFixture::serviceName().toLower());
    lower.setUsername("tev_user");
    lower.setPassword("tev_user");
    lower.connect();
    EXPECT_TRUE(lower.connected());
    // host:port/database form.
    Session direct;
    direct.setServer(QStringLiteral("%1:%2/%3")
                         .arg(PgFixture::instance().host())
                         .arg(PgFixture::instance().port())
                         .arg(PgFixture::instance().database()));
    direct.setUsername("tev_user");
    direct.setPassword("tev_user");
    direct.connect();
    EXPECT_TRUE(direct.connected());
}

TEST_F(SessionTest, SignInFailuresCarryOracleNumbers)
{
    REQUIRE_PG();
    auto& fx = PgFixture::instance();
    const QString locked = "tev_locked_" + fx.database();
    fx.adminQuery(
        QStringLiteral("DO $$BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '%1') THEN "
                       "CREATE ROLE %1 NOLOGIN PASSWORD 'locked'; END IF; END$$")
            .arg(locked));
    struct Row
    {
        const char* name;
        QString server;
        QString user;
        QString password;
        int code;
    };
    const QString svc = PgFixture::serviceName();
    const Row rows[] = {
        {"wrong password", svc, "tev_user", "wrong", 1017},
        {"unknown user", svc, "nobody_here", "x", 1017},
        {"no password", svc, "tev_user", "", 1005},
        {"account locked", svc, locked, "locked", 28000},
        {"unknown service", "NO_SUCH_SERVICE", "tev_user", "tev_user", 12154},
        {"service host unknown", "TEVNOHOST", "tev_user", "tev_user", 12545},
        {"host unknown", "no-such-host.invalid:5432/x", "tev_user", "tev_user", 12545},
        {"bare host name unknown", "no-such-host.invalid", "tev_user", "tev_user", 12545},
        {"server down", "127.0.0.1:1/x", "tev_user", "tev_user", 12560},
        {"empty server", "", "tev_user", "tev_user", 12154},
    };
    for (const Row& r : rows)
        EXPECT_EQ(connectError(r.server, r.user, r.password), r.code) << r.name;
}

TEST_F(SessionTest, NothingIsDurableBeforeCommit)
{
    REQUIRE_PG();
    auto a = PgFixture::instance().connect();
    auto b = PgFixture::instance().connect();
    exec(*a, "insert into public.tx_probe values (1, 'one')");
    EXPECT_EQ(count(*b, "id = 1"), 0);
    EXPECT_TRUE(a->inTransaction());
    a->commit();
    EXPECT_EQ(count(*b, "id = 1"), 1);

    exec(*a, "insert into public.tx_probe values (2, 'two')");
    a->rollback();
    EXPECT_EQ(count(*a, "id = 2"), 0);

    // Disconnecting without commit loses the work, as Oracle's session end would not commit it.
    exec(*a, "insert into public.tx_probe values (3, 'three')");
    a->disconnect();
    EXPECT_EQ(count(*b, "id = 3"), 0);
}

TEST_F(SessionTest, FailedStatementUndoesOnlyItself)
{
    REQUIRE_PG();
    auto s = PgFixture::instance().connect();
    exec(*s, "insert into public.tx_probe values (10, 'ten')");
    try {
        exec(*s, "insert into public.tx_probe values (10, 'again')");
        FAIL() << "duplicate accepted";
    } catch (const OraError& e) {
        EXPECT_EQ(e.code(), 1);
    }
    try {
        exec(*s, "insert into public.tx_probe values (12, :n)", {{"n", QString()}});
        FAIL() << "null accepted";
    } catch (const OraError& e) {
        EXPECT_EQ(e.code(), 1400);
    }
    exec(*s, "insert into public.tx_probe values (11, 'eleven')");
    s->commit();
    auto other = PgFixture::instance().connect();
    EXPECT_EQ(count(*other, "id in (10, 11)"), 2);
    EXPECT_EQ(count(*other, "note = 'again'"), 0);
}

TEST_F(SessionTest, SavepointsRollBackPartOfTheWork)
{
    REQUIRE_PG();
    auto s = PgFixture::instance().connect();
    exec(*s, "insert into public.tx_probe values (20, 'kept')");
    s->savepoint("BEFORE_EDIT");
    exec(*s, "insert into public.tx_probe values (21, 'undone')");
    s->rollbackToSavepoint("BEFORE_EDIT");
    s->commit();
    EXPECT_EQ(count(*s, "id = 20"), 1);
    EXPECT_EQ(count(*s, "id = 21"), 0);
}

TEST_F(SessionTest, LostConnectionFailsWith12560AndReconnects)
{
    REQUIRE_PG();
    auto s = PgFixture::instance().connect();
    int changes = 0;
    bool lastState = true;
    s->setConnectionChangeHook([&](Session&, bool connected) {
        ++changes;
        lastState = connected;
    });
    PgFixture::instance().adminQuery(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(s->backendPid()));
    try {
        count(*s, "true");
        FAIL() << "statement on a dead connection succeeded";
    } catch (const OraError& e) {
        EXPECT_EQ(e.code(), 12560);
    }
    EXPECT_FALSE(s->connected());
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(lastState);
    try {
        count(*s, "true");
        FAIL() << "statement without a connection succeeded";
    } catch (const OraError& e) {
        EXPECT_EQ(e.code(), 3114);
    }
    s->connect();
    EXPECT_TRUE(lastState);
    EXPECT_EQ(count(*s, "true"), 0);
}

TEST_F(SessionTest, HooksSeeEveryAttemptAndError)
{
    REQUIRE_PG();
    Session s;
    s.setServer(PgFixture::serviceName());
    s.setUsername("tev_user");
    s.setPassword("wrong");
    int before = 0;
    s.setBeforeConnectHook([&](Session& session) {
        ++before;
        if (session.username() == QLatin1String("tev"))
            throw Abort();
    });
    s.setErrorHook([](Session&, OraError& e) {
        if (e.code() == 1017)
            e.setMessage("replaced");
    });
    try {
        s.connect();
        FAIL();
    } catch (const OraError& e) {
        EXPECT_EQ(e.code(), 1017);
        EXPECT_EQ(e.message(), "replaced");
    }
    s.setUsername("tev");
    EXPECT_THROW(s.connect(), Abort);
    EXPECT_EQ(before, 2);
    s.setUsername("tev_user");
    s.setPassword("tev_user");
    s.connect();
    // The error hook applies to statements too.
    Query q(&s);
    q.setSql("select * from public.no_such_view_here");
    try {
        q.open();
        FAIL();
    } catch (const OraError& e) {
        EXPECT_EQ(e.code(), 942);
    }
}

namespace {
// Tries the passwords it is given, one per attempt, like a person retyping.
class ScriptedDialog : public ConnectDialog
{
public:
    static inline QStringList passwords;
    static inline int failures = 0;
    bool execute(Session& session) override
    {
        for (int attempt = 0; attempt < session.connectDialogRetries() && !passwords.isEmpty(); ++attempt) {
            session.setPassword(passwords.takeFirst());
            try {
                session.connectAttempt(attempt > 0);
                return true;
            } catch (const OraError&) {
                ++failures;
            }
        }
        return false;
    }
};
} // namespace

TEST_F(SessionTest, PromptingGoesThroughTheRegisteredDialog)
{
    REQUIRE_PG();
    Session::registerConnectDialog("TScriptedConnect", [] { return std::make_unique<ScriptedDialog>(); });
    Session s;
    s.setServer(PgFixture::serviceName());
    s.setUsername("tev_user");
    s.setConnectDialogClass("TScriptedConnect");
    s.setConnectPrompt(true);
    ScriptedDialog::passwords = {"bad", "tev_user"};
    s.connect();
    EXPECT_TRUE(s.connected());
    EXPECT_EQ(ScriptedDialog::failures, 1);

    s.disconnect();
    ScriptedDialog::passwords = {"bad", "worse", "worst", "tev_user"};
    EXPECT_THROW(s.connect(), Abort); // three attempts, then the dialog gives up
    EXPECT_FALSE(s.connected());

    s.setConnectDialogClass("TNoSuchDialog");
    EXPECT_THROW(s.connect(), DbError);
}
