#include "DbHelpers.h"

#include "Component.h"
#include "DbError.h"
#include "OraError.h"
#include "Package.h"
#include "PgFixture.h"
#include "Query.h"
#include "Script.h"
#include "Session.h"
#include "StoredProc.h"

#include <QLocale>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace db;

namespace {

template <typename T> T* component(QObject* owner, const char* name, int tag = 0)
{
    auto* c = new T(owner);
    c->setObjectName(QString::fromLatin1(name));
    setComponentTag(c, tag);
    return c;
}

Query* schemeQuery(QObject* owner, const char* name, int tag = 0)
{
    Query* q = component<Query>(owner, name, tag);
    q->setSql("select * from &shema.v_tev_configs t");
    q->setMacro("shema", "design");
    return q;
}

std::string errorText(const std::function<void()>& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST(DbHelpersTest, SetShemaNameReplacesTheOwnerPart)
{
    struct Case
    {
        QString name, expected;
    };
    const std::vector<Case> cases = {
        {"xxx.PARAM_PACK", "WEB1.PARAM_PACK"},
        {"LNR.PACK.PROC", "WEB1.PACK.PROC"},
        {"A.B.C", "WEB1.B.C"},
        {".PACK", "WEB1.PACK"},
    };
    for (const Case& c : cases) {
        QString name = c.name;
        fSetShemaName(name, "WEB1");
        EXPECT_EQ(name, c.expected) << c.name.toStdString();
    }
    QString bad = "PARAM_PACK";
    EXPECT_EQ(errorText([&] { fSetShemaName(bad, "WEB1"); }),
              "uOraFunctions.fSetShemaName: Symbol \".\" is not found in \"PARAM_PACK\"");
    EXPECT_EQ(bad, "PARAM_PACK");
}

TEST(DbHelpersTest, SetShemaBindsDirectlyOwnedComponentsWithTagZero)
{
    QObject owner;
    Query* query = schemeQuery(&owner, "qryConfigs");
    Query* upper = component<Query>(&owner, "qryUpper");
    upper->setSql("select * from &SHEMA.v_tev_pos");
    Query* tagged = schemeQuery(&owner, "qryTagged", 1);
    Package* package = component<Package>(&owner, "pkgUtils");
    package->setPackageName("xxx.TEV_UTILS");
    Package* taggedPackage = component<Package>(&owner, "pkgTagged", 2);
    taggedPackage->setPackageName("xxx.TEV_UTILS");
    Script* script = component<Script>(&owner, "oscrChangePassword");
    script->setSql("ALTER USER &User IDENTIFIED BY &new_password");
    auto* holder = new QObject(&owner);
    Query* grandchild = schemeQuery(holder, "qryNested");
    // Already under its scheme: a stored procedure is not prepared again (it has no session, so a
    // prepare would throw).
    StoredProc* proc = component<StoredProc>(&owner, "ospSame");
    proc->setStoredProcName("WEB1.TEV_UTILS.UPD_STATUS");

    fSetShema(&owner, "  WEB1 ");

    EXPECT_EQ(query->macroByName("shema").value(), "WEB1");
    EXPECT_EQ(query->finalSql(), "select * from WEB1.v_tev_configs t");
    EXPECT_EQ(upper->macroByName("SHEMA").value(), "WEB1");
    EXPECT_EQ(tagged->macroByName("shema").value(), "design");
    EXPECT_EQ(package->packageName(), "WEB1.TEV_UTILS");
    EXPECT_EQ(taggedPackage->packageName(), "xxx.TEV_UTILS");
    EXPECT_EQ(script->sql(), "ALTER USER &User IDENTIFIED BY &new_password");
    EXPECT_EQ(grandchild->macroByName("shema").value(), "design");
    EXPECT_EQ(proc->storedProcName(), "WEB1.TEV_UTILS.UPD_STATUS");
    EXPECT_FALSE(proc->isPrepared());
}

TEST(DbHelpersTest, SetShemaFailures)
{
    QObject owner;
    Query* first = schemeQuery(&owner, "qryFirst");
    EXPECT_EQ(errorText([&] { fSetShema(&owner, ""); }), "uOraFunctions.fSetShema: \r\nSchema is not define");
    EXPECT_EQ(errorText([&] { fSetShema(&owner, "   "); }),
              "uOraFunctions.fSetShema: \r\nSchema is not define");
    EXPECT_EQ(first->macroByName("shema").value(), "design");

    // The failing component's name goes in front; the ones after it stay unbound.
    Package* bad = component<Package>(&owner, "pkgBad");
    bad->setPackageName("TEV_UTILS");
    Query* after = schemeQuery(&owner, "qryAfter");
    EXPECT_EQ(errorText([&] { fSetShema(&owner, "WEB1"); }),
              "pkgBad: uOraFunctions.fSetShemaName: Symbol \".\" is not found in \"TEV_UTILS\"");
    EXPECT_EQ(first->macroByName("shema").value(), "WEB1");
    EXPECT_EQ(after->macroByName("shema").value(), "design");

    // A query without the macro: the access layer's own error, still of its kind.
    QObject other;
    Query* plain = component<Query>(&other, "qryPlain");
    plain->setSql("select 1 from dual");
    try {
        fSetShema(&other, "WEB1");
        ADD_FAILURE() << "no error";
    } catch (const DbError& e) {
        EXPECT_EQ(std::string(e.what()), "qryPlain: Macro 'Shema' not found");
    }
}

TEST(DbHelpersTest, SetSessionBindsEveryDirectlyOwnedComponentWhateverItsTag)
{
    Session session;
    QObject owner;
    Query* query = schemeQuery(&owner, "qryConfigs", 1);
    StoredProc* proc = component<StoredProc>(&owner, "ospProc", 3);
    Package* package = component<Package>(&owner, "pkgUtils");
    Script* script = component<Script>(&owner, "oscrScript");
    auto* holder = new QObject(&owner);
    Query* grandchild = schemeQuery(holder, "qryNested");

    fSetSession(&owner, &session);

    EXPECT_EQ(query->session(), &session);
    EXPECT_EQ(proc->session(), &session);
    EXPECT_EQ(package->session(), &session);
    EXPECT_EQ(script->session(), &session);
    EXPECT_EQ(grandchild->session(), nullptr);
}

TEST(DbHelpersTest, RenamedStoredProcedureKeepsItsValues)
{
    REQUIRE_PG();
    auto session = PgFixture::instance().connect();
    QObject owner;
    StoredProc* proc = component<StoredProc>(&owner, "ospSetConfig");
    proc->setStoredProcName("LNR.TEV_UTILS.SET_TEV_CONFIGS");
    proc->params().add(Param("P_PARAM_NAME", DataType::String)).setValue("TEST_KEY");
    proc->params().add(Param("P_PARAM_VAL", DataType::String)).setValue("значение");
    fSetSession(&owner, session.get());

    fSetShema(&owner, "tev");

    EXPECT_EQ(proc->storedProcName(), "tev.TEV_UTILS.SET_TEV_CONFIGS");
    EXPECT_TRUE(proc->isPrepared());
    EXPECT_EQ(proc->paramByName("P_PARAM_NAME").value().toString(), "TEST_KEY");
    EXPECT_EQ(proc->paramByName("P_PARAM_VAL").value().toString(), "значение");

    // A procedure the scheme does not have: the database's error, number kept, name in front.
    StoredProc* missing = component<StoredProc>(&owner, "ospMissing");
    missing->setStoredProcName("LNR.TEV_UTILS.NO_SUCH_PROC");
    missing->setSession(session.get());
    try {
        fSetShema(&owner, "tev");
        ADD_FAILURE() << "no error";
    } catch (const OraError& e) {
        EXPECT_EQ(e.code(), 4043);
        EXPECT_TRUE(e.message().startsWith("ospMissing: ")) << e.message().toStdString();
    }
    session->rollback();
}

TEST(DbHelpersTest, CheckFields)
{
    REQUIRE_PG();
    auto session = PgFixture::instance().connect();
    Query q(session.get());
    q.setSql("select '-'::varchar as s_minus, '+'::varchar as s_plus, '1'::varchar as s_one, 2 as i_two, "
             "1 as i_one, 0 as i_zero, 0.6::float8 as f_low, 1.0::float8 as f_one, true as b_true, "
             "false as b_false, current_date as d_day, null::varchar as s_null");
    q.setTakesLocalEdits(true);
    q.open();
    struct Read
    {
        const char* field;
        bool marked;
    };
    const std::vector<Read> reads = {
        {"S_MINUS", false}, {"S_PLUS", true},   {"S_ONE", false}, {"I_TWO", false},
        {"I_ONE", true},    {"I_ZERO", false},  {"F_LOW", false}, {"F_ONE", true},
        {"B_TRUE", true},   {"B_FALSE", false}, {"D_DAY", false}, {"S_NULL", false},
    };
    for (const Read& r : reads) {
        EXPECT_EQ(GetCheckFldValue(q, q.findField(r.field)), r.marked) << r.field;
        EXPECT_EQ(GetCheckFldValue(q, 0, q.findField(r.field)), r.marked) << r.field;
    }

    struct Write
    {
        const char* field;
        bool value;
        QVariant stored; // invalid: unchanged, nothing posted
    };
    const std::vector<Write> writes = {
        {"S_MINUS", true, QString("+")}, {"S_MINUS", true, QVariant()}, // reads marked now: nothing happens
        {"S_ONE", false, QVariant()},    {"S_NULL", true, QString("+")}, {"I_TWO", true, qlonglong(1)},
        {"I_ONE", false, qlonglong(0)},  {"F_LOW", true, 1.0},           {"B_TRUE", false, false},
        {"D_DAY", true, QVariant()},
    };
    QSignalSpy posted(&q, &Dataset::rowChanged);
    for (const Write& w : writes) {
        SCOPED_TRACE(w.field);
        const QVariant before = q.value(w.field);
        posted.clear();
        SetCheckFldValue(q, q.findField(w.field), w.value);
        EXPECT_FALSE(q.isEditing());
        if (!w.stored.isValid()) {
            EXPECT_EQ(q.value(w.field), before);
            EXPECT_EQ(posted.count(), 0);
            continue;
        }
        EXPECT_EQ(posted.count(), 1);
        EXPECT_EQ(q.value(w.field).toString(), w.stored.toString());
        EXPECT_EQ(GetCheckFldValue(q, q.findField(w.field)), w.value);
    }

    // A record already being edited only gets the value.
    q.edit();
    posted.clear();
    SetCheckFldValue(q, q.findField("S_PLUS"), false);
    EXPECT_TRUE(q.isEditing());
    EXPECT_EQ(posted.count(), 0);
    EXPECT_EQ(q.value("S_PLUS").toString(), "-");
    q.post();
    EXPECT_EQ(q.value(0, q.fieldIndex("S_PLUS")).toString(), "-");

    EXPECT_EQ(errorText([&] { GetCheckFldValue(q, nullptr); }), "TBaseForm.GetCheckFldValue: pFld=nil");
    EXPECT_EQ(errorText([&] { SetCheckFldValue(q, nullptr, true); }), "TBaseForm.SetCheckFldValue: pFld=nil");
}

TEST(DbHelpersTest, QuoteSqlText)
{
    struct Case
    {
        QString text, expected;
    };
    const std::vector<Case> cases = {
        {"", ""},
        {"Нет", "Нет"},
        {"it's", "it''s"},
        {"it''s", "it''s"},
        {"'", "''"},
        {"'''", "''''"},
        {"''x'", "''x''"},
        {"'a' 'b'", "''a'' ''b''"},
        {QString("a") + QChar(1) + "b", "a''b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuoteSqlText(c.text), c.expected) << c.text.toStdString();
}

TEST(DbHelpersTest, LocaleText)
{
    struct Case
    {
        QLocale::Language language;
        QString english, expected;
    };
    const std::vector<Case> cases = {
        {QLocale::Russian, "Select the table", "Выберите таблицу"},
        {QLocale::Ukrainian, "Select the table", "Выберите таблицу"},
        {QLocale::Belarusian, "Select the table", "Выберите таблицу"},
        {QLocale::English, "Select the table", "Select the table"},
        {QLocale::German, "Select the table", "Select the table"},
        {QLocale::Kazakh, "Select the table", "Select the table"},
        {QLocale::English, "", "Выберите таблицу"},
        {QLocale::Russian, "", "Выберите таблицу"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LocaleText("Выберите таблицу", c.english, QLocale(c.language)), c.expected)
            << QLocale::languageToString(c.language).toStdString();
    EXPECT_EQ(LocaleText("Русский", "English"), LocaleText("Русский", "English", QLocale::system()));
    EXPECT_EQ(LocaleText("Русский", ""), "Русский");
}
