// What each portal account may do, and the dictionary views through which the coupons
// archive finds other connections.
#include "SchemaTestSupport.h"
#include "Script.h"

#include <QThread>
#include <libpq-fe.h>

using namespace db;

namespace {

const char* kSessionCount =
    "SELECT s.* FROM v$session s, dba_role_privs priv WHERE s.username = priv.grantee AND (priv.granted_role IN "
    "('TEV_ADMIN_WEB', 'TEV_WEB_USER') OR s.username = UPPER(:p_shema)) AND UPPER(program) NOT IN ('DEDADIZE.EXE', "
    "'RODODUZIRU.EXE') AND status <> 'KILLED'";

// A connection of another program than the console.
class RawConnection
{
public:
    RawConnection(const QString& user, const QString& program)
    {
        auto& fx = PgFixture::instance();
        const QString info = QStringLiteral("host=%1 port=%2 dbname=%3 user=%4 password=%4 application_name=%5")
                                 .arg(fx.host())
                                 .arg(fx.port())
                                 .arg(fx.database(), user, program);
        mConn = PQconnectdb(info.toUtf8().constData());
    }
    ~RawConnection() { PQfinish(mConn); }
    bool ok() const { return PQstatus(mConn) == CONNECTION_OK; }

private:
    PGconn* mConn;
};

// Rows of the query once they settle: a connection that just closed leaves the list when its
// server process has gone, a moment later.
int rowsSoon(Query& q, int expected)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        q.open();
        if (q.recordCount() == expected)
            break;
        QThread::msleep(50);
    }
    return q.recordCount();
}

} // namespace

TEST_F(SchemaTest, EachAccountMayCallWhatItsRoleNeeds)
{
    struct Call { const char* name; QVariantList args; };
    // Calls that would change nothing lasting (the sessions roll back) but need the right.
    const QList<Call> calls = {
        {"UPDATE_POS", {1, "x", "y", 1, 1}},
        {"change_current_lang", {25}},
        {"SET_CURRENT_TYPE_SORT", {0}},
        {"change_emit_unload", {1, 1}},
        {"set_order_update", {1, 0, 1}},
        {"ins_trntype_group", {"x", 25}},
        {"del_help_type", {10000}},
        {"delete_manager", {3}},
        {"UPD_STATUS", {1}},
        {"SET_TEV_CONFIGS", {"USE_TRNTYPE_GROUP", "1"}},
        {"update_pass_login", {1, "x", 0}},
        {"ins_client_in_group", {1, 2}},
        {"AUTHENTICATION_MANAGER", {1, "manager1"}},
    };
    // Which accounts may make each call, in the order of `calls`.
    const QMap<QString, QList<bool>> allowed = {
        {"tev_user", {true, true, true, true, true, true, true, true, true, true, true, true, true}},
        {"tev_operator", {false, false, false, false, false, true, false, false, true, true, true, true, false}},
        {"tev_manager", {true, false, false, true, false, false, false, false, true, true, true, true, true}},
    };
    for (auto it = allowed.begin(); it != allowed.end(); ++it) {
        auto s = PgFixture::instance().connect(it.key());
        Package p(s.get());
        p.setPackageName("TEV.TEV_UTILS");
        for (int i = 0; i < calls.size(); ++i) {
            SCOPED_TRACE(it.key().toStdString() + " " + calls[i].name);
            const int code = oraCode([&] { p.execProc(calls[i].name, calls[i].args); });
            if (it.value()[i])
                EXPECT_EQ(code, 0);
            else
                EXPECT_EQ(code, 942);
        }
        // Every account reads the views and the emitent list; none reads a table.
        EXPECT_GT(one(*s, "select count(*) from tev.v_tev_web_clients").toInt(), 0);
        EXPECT_EQ(oraCode([&] { one(*s, "select count(*) from tev.tev_web_logins"); }), 942);
        Query list(s.get());
        list.setSql("begin tev.TEV_UTILS.GET_SELECTED_EMITENT(:P_ALL_EMITENT, :P_MANAGER_ID, :P_EMITENT_LIST); end;");
        list.paramByName("P_EMITENT_LIST").setDirection(ParamDirection::CursorOut);
        list.setParam("P_ALL_EMITENT", 0);
        list.setParam("P_MANAGER_ID", 2);
        list.open();
        EXPECT_EQ(list.recordCount(), 2);
    }
    // The schema owner may sign in to the database; it is the console that refuses it.
    EXPECT_NO_THROW(PgFixture::instance().connect("tev"));
}

TEST_F(SchemaTest, AdministratorSetsTheExchangeAccountPassword)
{
    Script script(session.get());
    script.setSql("ALTER USER &User IDENTIFIED BY &new_password");
    script.setMacro("User", "TEVWEBEXPORTLOGIN");
    script.setMacro("new_password", "\"Exch-Pass-1\"");
    EXPECT_NO_THROW(script.execute());
    session->rollback(); // roles belong to the whole cluster: leave the password as it was

    auto op = PgFixture::instance().connect("tev_operator");
    Script denied(op.get());
    denied.setSql(script.sql());
    denied.setMacro("User", "TEVWEBEXPORTLOGIN");
    denied.setMacro("new_password", "\"Exch-Pass-1\"");
    EXPECT_NE(oraCode([&] { denied.execute(); }), 0);
}

TEST_F(SchemaTest, ActiveConnectionsOfThePortalAreSeen)
{
    Query count(session.get());
    count.setSql(kSessionCount);
    count.setParam("p_shema", QString("tev"));
    // The console's own connection is the program the query leaves out.
    EXPECT_EQ(rowsSoon(count, 0), 0);
    for (const char* c : {"USERNAME", "PROGRAM", "STATUS"})
        EXPECT_NE(count.findField(c), nullptr) << c;

    struct Case { const char* user; const char* program; int rows; };
    const QList<Case> cases = {
        {"tevwebexportlogin", "srvTEVWebOutSrvc", 1}, // a web user
        {"tev", "psql", 1},                           // the schema owner
        {"web2", "psql", 0},                          // the owner of another scheme
        {"tev_operator", "DEDAdize.exe", 0},          // another console
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user);
        RawConnection other(c.user, c.program);
        ASSERT_TRUE(other.ok());
        // Within one transaction, as the console keeps it open.
        EXPECT_EQ(rowsSoon(count, c.rows), c.rows);
        if (c.rows) {
            EXPECT_EQ(count.value(0, count.fieldIndex("USERNAME")).toString(), QString(c.user).toUpper());
        }
    }
    EXPECT_EQ(rowsSoon(count, 0), 0);
    EXPECT_TRUE(session->inTransaction());
}
