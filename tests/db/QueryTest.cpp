#include "DbError.h"
#include "Package.h"
#include "PgFixture.h"
#include "PortalCodec.h"
#include "Query.h"
#include "Script.h"
#include "Session.h"
#include "StoredProc.h"

#include <QDateTime>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace db;

namespace {

const char* kProbeSetup = R"SQL(
CREATE SCHEMA IF NOT EXISTS probe;
GRANT USAGE ON SCHEMA probe TO tev_user;
CREATE TABLE IF NOT EXISTS probe.items(id integer primary key, name varchar(50), amount numeric(10,2),
  made timestamp(0), day date, data bytea, flag boolean);
GRANT SELECT, INSERT, UPDATE, DELETE ON probe.items TO tev_user;
CREATE OR REPLACE FUNCTION probe.tev_utils__add(p_a integer, p_b integer) RETURNS integer
  LANGUAGE sql AS 'SELECT p_a + p_b';
CREATE OR REPLACE FUNCTION probe.tev_utils__add(p_a integer, p_b integer, p_c integer) RETURNS integer
  LANGUAGE sql AS 'SELECT p_a + p_b + p_c';
CREATE OR REPLACE FUNCTION probe.tev_utils__greet(p_name varchar) RETURNS varchar
  LANGUAGE sql AS $$SELECT 'Hello, ' || coalesce(p_name, 'nobody')$$;
CREATE OR REPLACE PROCEDURE probe.tev_utils__split(p_text varchar, INOUT p_first varchar, INOUT p_count integer,
  INOUT p_rows refcursor) LANGUAGE plpgsql AS $$
BEGIN
  p_first := split_part(p_text, ',', 1);
  p_count := array_length(string_to_array(p_text, ','), 1);
  OPEN p_rows FOR SELECT ord AS part_no, part AS part_text
    FROM unnest(string_to_array(p_text, ',')) WITH ORDINALITY AS t(part, ord) ORDER BY ord;
END$$;
CREATE OR REPLACE PROCEDURE probe.tev_utils__store(p_id integer, p_name varchar) LANGUAGE plpgsql AS $$
BEGIN
  IF p_id < 0 THEN RAISE EXCEPTION 'ORA-20005: negative id %', p_id; END IF;
  INSERT INTO probe.items(id, name) VALUES (p_id, p_name);
END$$;
GRANT EXECUTE ON ALL FUNCTIONS IN SCHEMA probe TO tev_user;
GRANT EXECUTE ON ALL PROCEDURES IN SCHEMA probe TO tev_user;
)SQL";

const char* kValues = "select * from (values (1, 'Ivanov', 0), (2, 'Petrov', 1), (3, 'Sidorov', 0), "
                      "(4, 'ivanova', 1)) v(id, name, isvisible) &ORDER &FIELD";

class QueryTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (PgFixture::instance().available())
            PgFixture::instance().adminQuery(kProbeSetup);
    }
    void SetUp() override
    {
        if (!PgFixture::instance().available())
            return;
        PgFixture::instance().adminQuery("DELETE FROM probe.items");
        session = PgFixture::instance().connect();
    }
    std::unique_ptr<Session> session;
};

QStringList column(Dataset& ds, const QString& field)
{
    QStringList out;
    for (int r = 0; r < ds.recordCount(); ++r)
        out << ds.value(r, ds.fieldIndex(field)).toString();
    return out;
}

} // namespace

TEST_F(QueryTest, MacrosAndParameters)
{
    REQUIRE_PG();
    Query q(session.get());
    q.setSql(kValues);
    ASSERT_EQ(q.macros().count(), 2);
    q.macroByName("order").setValue("ORDER BY"); // names without regard to letter case
    q.macroByName("Field").setValue("name desc");
    q.open();
    EXPECT_EQ(column(q, "NAME"), QStringList({"ivanova", "Sidorov", "Petrov", "Ivanov"}));
    // An inactive macro expands to nothing.
    q.macroByName("ORDER").setActive(false);
    q.macroByName("FIELD").setActive(false);
    q.open();
    EXPECT_EQ(q.recordCount(), 4);

    Query p(session.get());
    p.setSql("select :a + :B as s, :a * 2 as d, :txt || '!' as t from (select 1) x where :A > 0");
    EXPECT_EQ(p.params().count(), 3); // a name used twice is one parameter
    p.setParam("A", 20);
    p.setParam("b", 2);
    p.setParam("txt", QString("it's $1 :x"));
    p.open();
    EXPECT_EQ(p.asInteger("S"), 22);
    EXPECT_EQ(p.asInteger("D"), 40);
    EXPECT_EQ(p.asString("T"), "it's $1 :x!");
}

TEST_F(QueryTest, MissingMacroParameterOrFieldIsTheLayersOwnError)
{
    REQUIRE_PG();
    Query q(session.get());
    q.setSql(kValues);
    EXPECT_THROW(q.macroByName("shema"), DbError);
    EXPECT_THROW(q.paramByName("pID"), DbError);
    q.open();
    try {
        q.fieldByName("NO_SUCH");
        FAIL();
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("NO_SUCH"), std::string::npos);
    }
    EXPECT_THROW(q.value("NO_SUCH"), DbError);
}

TEST_F(QueryTest, FieldsTypesAndDisplaySettingsSurviveReopen)
{
    REQUIRE_PG();
    PgFixture::instance().adminQuery("INSERT INTO probe.items VALUES (1, 'Caf\\u00E9 \\u041F', 12.50, "
                                     "'2026-03-04 05:06:07', '2026-03-04', '\\x00ff10', true), "
                                     "(2, NULL, NULL, NULL, NULL, NULL, NULL)");
    Query q(session.get());
    q.setSql("select id, name, amount, made, day, data, flag from probe.items order by id");
    q.defineField("NAME").setDisplayLabel("Название");
    q.defineField("ID").setVisible(false);
    q.defineField("MADE").setDisplayFormat("DD.MM.YYYY HH:NN:SS");
    q.addCalculatedField("NAME_ANSI", DataType::String,
                         [](const Dataset& ds, int row) {
                             return QVariant(DecodeUnicodeEscapes(ds.physicalValue(row, ds.fieldIndex("NAME")).toString()));
                         },
                         50, {"NAME"});
    for (int pass = 0; pass < 2; ++pass) {
        q.open();
        ASSERT_EQ(q.fieldCount(), 8);
        EXPECT_EQ(q.fieldByName("ID").dataType(), DataType::Integer);
        EXPECT_EQ(q.fieldByName("NAME").dataType(), DataType::String);
        EXPECT_EQ(q.fieldByName("NAME").size(), 50);
        EXPECT_EQ(q.fieldByName("AMOUNT").dataType(), DataType::Float);
        EXPECT_EQ(q.fieldByName("MADE").dataType(), DataType::DateTime);
        EXPECT_EQ(q.fieldByName("DAY").dataType(), DataType::Date);
        EXPECT_EQ(q.fieldByName("DATA").dataType(), DataType::Blob);
        EXPECT_TRUE(q.fieldByName("NAME_ANSI").isCalculated());
        EXPECT_EQ(q.fieldByName("name").displayLabel(), "Название");
        EXPECT_FALSE(q.fieldByName("ID").isVisible());

        EXPECT_EQ(q.asString("NAME_ANSI"), QString::fromUtf8("Café П"));
        EXPECT_DOUBLE_EQ(q.asFloat("AMOUNT"), 12.5);
        EXPECT_EQ(q.value("MADE").toDateTime(), QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
        EXPECT_EQ(q.asString("MADE"), "04.03.2026 05:06:07");
        EXPECT_EQ(q.value("DAY").toDate(), QDate(2026, 3, 4));
        EXPECT_EQ(q.value("DATA").toByteArray(), QByteArray::fromHex("00ff10"));
        EXPECT_TRUE(q.value("FLAG").toBool());
        q.next();
        for (const char* f : {"NAME", "AMOUNT", "MADE", "DAY", "DATA", "FLAG", "NAME_ANSI"})
            EXPECT_TRUE(q.isNull(f)) << f;
    }
    EXPECT_GT(q.memoryUsage(), 0u);
}

TEST_F(QueryTest, NavigationAndLocate)
{
    REQUIRE_PG();
    Query q(session.get());
    q.setSql(kValues);
    q.setMacro("ORDER", "ORDER BY");
    q.setMacro("FIELD", "id");
    QSignalSpy scrolled(&q, &Dataset::afterScroll);
    q.open();
    int seen = 0;
    for (q.first(); !q.eof(); q.next())
        ++seen;
    EXPECT_EQ(seen, 4);
    EXPECT_EQ(q.recNo(), 4);
    q.prior();
    EXPECT_EQ(q.asInteger("ID"), 3);
    EXPECT_GE(scrolled.count(), 4);

    EXPECT_TRUE(q.locate("NAME", QString("IVANOVA"), LocateOption::CaseInsensitive));
    EXPECT_EQ(q.asInteger("ID"), 4);
    EXPECT_TRUE(q.locate("name", QString("Sid"), LocateOption::PartialKey));
    EXPECT_EQ(q.asInteger("ID"), 3);
    EXPECT_TRUE(q.locate("ISVISIBLE;NAME", {1, QString("Petrov")}));
    EXPECT_EQ(q.asInteger("ID"), 2);
    EXPECT_FALSE(q.locate("NAME", QString("ivanov")));
    EXPECT_EQ(q.asInteger("ID"), 2); // a failed locate keeps the position
    EXPECT_TRUE(q.locate("ID", 1));
}

TEST_F(QueryTest, LocalEditsStayInMemoryAndFollowTheFilter)
{
    REQUIRE_PG();
    Query q(session.get());
    q.setSql(kValues);
    q.setMacro("ORDER", "ORDER BY");
    q.setMacro("FIELD", "id");
    q.open();
    EXPECT_THROW(q.edit(), DbError); // only queries that take local edits do
    q.setTakesLocalEdits(true);

    q.setFilter("(ISVISIBLE = 0)");
    q.setFiltered(true);
    EXPECT_EQ(column(q, "ID"), QStringList({"1", "3"}));
    // Ticking the first row drops it out of the filter, as the select-all loop relies on.
    while (!q.isEmpty()) {
        q.first();
        q.edit();
        q.setValue("ISVISIBLE", 1);
        q.post();
    }
    EXPECT_THROW(q.setFilter("wbc_missing = 1"), DbError);
    EXPECT_EQ(q.filter(), "(ISVISIBLE = 0)"); // a bad text leaves the filter as it was
    q.setFiltered(false);
    q.setFilter(QString());
    EXPECT_EQ(column(q, "ISVISIBLE"), QStringList({"1", "1", "1", "1"}));

    q.setValueAt(0, q.fieldIndex("NAME"), QString("Edited"));
    EXPECT_EQ(q.value(0, q.fieldIndex("NAME")).toString(), "Edited");
    q.first();
    q.edit();
    q.setValue("NAME", QString("Cancelled"));
    q.cancel();
    EXPECT_EQ(q.asString("NAME"), "Edited");

    q.refresh(); // edits are gone with the rows
    EXPECT_EQ(q.asString("NAME"), "Ivanov");
}

TEST_F(QueryTest, ServerFilterBindsValuesExactly)
{
    REQUIRE_PG();
    const QStringList tricky = {"a'b", "a%b", "a_b", "a\\b", "ab", "it''s", "x); drop table probe.items; --"};
    int id = 0;
    for (const QString& name : tricky) {
        Query ins(session.get());
        ins.setSql("insert into probe.items(id, name) values (:id, :name)");
        ins.setParam("id", ++id);
        ins.setParam("name", name);
        ins.execSql();
    }
    Query q(session.get());
    q.setSql("select id, name from probe.items &ORDER &FIELD");
    q.setMacro("ORDER", "ORDER BY");
    q.setMacro("FIELD", "id");
    for (const QString& name : tricky) {
        q.setFilterSql("(NAME = :FLT_1)", {{"FLT_1", name}});
        q.open();
        ASSERT_EQ(q.recordCount(), 1) << name.toStdString();
        EXPECT_EQ(q.asString("NAME"), name);
    }
    q.setFilterSql("((1=1)aNd(1=1))");
    q.open();
    EXPECT_EQ(q.recordCount(), tricky.size());
    q.setFilterSql("(NAME LIKE :FLT_1)", {{"FLT_1", QString("a%")}});
    q.open();
    EXPECT_EQ(q.recordCount(), 5);
    EXPECT_EQ(column(q, "ID").first(), "1"); // the order survives the filter
}

TEST_F(QueryTest, RefreshOfOneRow)
{
    REQUIRE_PG();
    PgFixture::instance().adminQuery("INSERT INTO probe.items(id, name) VALUES (1, 'one'), (2, 'two'), (3, 'three')");
    Query q(session.get());
    q.setSql("select id, name, upper(name) as big from probe.items where id > :minId order by id");
    q.setParam("minId", 0);
    q.setRefreshSql("WHERE ID = :ID");
    q.open();
    q.locate("ID", 2);
    Query upd(session.get());
    upd.setSql("update probe.items set name = 'TWO!' where id = 2");
    upd.execSql();
    QSignalSpy changed(&q, &Dataset::rowChanged);
    q.refreshRecord();
    EXPECT_EQ(q.asString("NAME"), "TWO!");
    EXPECT_EQ(q.asString("BIG"), "TWO!");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(q.value(0, 1).toString(), "one");

    upd.setSql("delete from probe.items where id = 2");
    upd.execSql();
    q.refreshRecord();
    EXPECT_EQ(column(q, "ID"), QStringList({"1", "3"}));
}

TEST_F(QueryTest, PlSqlBlockWithOutParametersAndCursor)
{
    REQUIRE_PG();
    Query q(session.get());
    q.setSql("begin probe.TEV_UTILS.SPLIT(:pText, :P_FIRST, :P_COUNT, :P_ROWS); end;");
    q.paramByName("P_FIRST").setDirection(ParamDirection::Out);
    q.paramByName("P_COUNT").setDirection(ParamDirection::Out);
    q.paramByName("P_ROWS").setDirection(ParamDirection::CursorOut);
    q.setParam("pText", QString("alpha,beta,gamma"));
    q.open();
    EXPECT_EQ(q.paramByName("P_FIRST").asString(), "alpha");
    EXPECT_EQ(q.paramByName("P_COUNT").asInteger(), 3);
    EXPECT_EQ(column(q, "PART_TEXT"), QStringList({"alpha", "beta", "gamma"}));
    // The cursor was read inside the call's own transaction, which stays open until commit.
    EXPECT_TRUE(session->inTransaction());
    session->commit();
}

TEST_F(QueryTest, StoredProcLearnsParametersFromTheCatalogue)
{
    REQUIRE_PG();
    StoredProc sp(session.get());
    sp.setStoredProcName("PROBE.TEV_UTILS.SPLIT");
    sp.prepare();
    ASSERT_EQ(sp.params().count(), 4);
    EXPECT_EQ(sp.params().at(0).name(), "P_TEXT");
    EXPECT_EQ(sp.paramByName("p_rows").direction(), ParamDirection::CursorOut);
    EXPECT_EQ(sp.paramByName("P_COUNT").direction(), ParamDirection::InOut);
    sp.setParam("P_TEXT", QString("x,y"));
    sp.open();
    EXPECT_EQ(sp.recordCount(), 2);
    EXPECT_EQ(sp.paramByName("P_COUNT").asInteger(), 2);

    StoredProc f(session.get());
    f.setStoredProcName("probe.tev_utils.greet");
    f.prepare();
    f.setParam("P_NAME", QString("Анна"));
    f.execProc();
    EXPECT_EQ(f.paramByName("RESULT").asString(), QString::fromUtf8("Hello, Анна"));
    f.setParam("P_NAME", QString()); // an empty text is a null, as in Oracle
    f.execProc();
    EXPECT_EQ(f.paramByName("RESULT").asString(), "Hello, nobody");

    StoredProc missing(session.get());
    missing.setStoredProcName("PROBE.TEV_UTILS.NO_SUCH");
    try {
        missing.prepare();
        FAIL();
    } catch (const OraError& e) {
        EXPECT_EQ(e.code(), 4043);
    }
}

TEST_F(QueryTest, PackageCallsByNameWithPositionalArguments)
{
    REQUIRE_PG();
    Package pkg(session.get());
    pkg.setPackageName("PROBE.TEV_UTILS");
    EXPECT_EQ(pkg.execFunc("ADD", {2, 3}).toInt(), 5);
    EXPECT_EQ(pkg.execFunc("add", {2, 3, 4}).toInt(), 9); // overloads by argument count
    pkg.execProc("SPLIT", {QString("a,b,c,d")});
    EXPECT_EQ(pkg.paramByName("P_COUNT").asInteger(), 4);
    EXPECT_EQ(pkg.paramByName("p_first").asString(), "a");

    pkg.execProc("STORE", {7, QString("seven")});
    try {
        pkg.execProc("STORE", {-1, QString("bad")});
        FAIL();
    } catch (const OraError& e) {
        EXPECT_EQ(e.code(), 20005);
    }
    try {
        pkg.execProc("STORE", {7, QString("dup")});
        FAIL();
    } catch (const OraError& e) {
        EXPECT_EQ(e.code(), 1);
    }
    session->commit(); // the failed calls undid only themselves
    EXPECT_EQ(PgFixture::instance().adminQuery("select string_agg(name, ',') from probe.items"), "seven");
}

TEST_F(QueryTest, ScriptChangesAPassword)
{
    REQUIRE_PG();
    auto& fx = PgFixture::instance();
    const QString role = "tev_pw_" + fx.database();
    fx.adminQuery(QStringLiteral("DO $$BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '%1') THEN "
                                 "CREATE ROLE %1 LOGIN PASSWORD 'old'; END IF; END$$")
                      .arg(role));
    auto own = fx.connect(role, "old");
    Script script(own.get());
    script.setSql("ALTER USER &User IDENTIFIED BY &new_password");
    script.setMacro("User", role.toUpper());
    script.setMacro("new_password", "\"n'ew pass\"");
    script.execute();
    own->commit();
    EXPECT_NO_THROW(fx.connect(role, "n'ew pass"));
    EXPECT_THROW(fx.connect(role, "old"), OraError);
}

TEST_F(QueryTest, NumbersAreReadWithinTheirOwnText)
{
    REQUIRE_PG();
    // Values are stored back to back; a number must not run on into the next row's text.
    Query q(session.get());
    q.setSql("select * from (values (1.50::numeric(6,2), 12), (2.25, 345), (500.000, 6)) v(amount, n)");
    q.open();
    EXPECT_EQ(column(q, "AMOUNT"), QStringList({"1.5", "2.25", "500"}));
    EXPECT_EQ(column(q, "N"), QStringList({"12", "345", "6"}));
}
