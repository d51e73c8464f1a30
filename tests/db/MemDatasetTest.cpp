#include "MemDataset.h"

#include "DbError.h"
#include "OraError.h"
#include "PgFixture.h"
#include "Query.h"
#include "Session.h"

#include <QDate>
#include <QDateTime>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace db;

namespace {

// id, name, amount, day: a small price list with a null name and a null amount.
void fillPrices(MemDataset& ds)
{
    ds.setColumns({{"ID", DataType::Integer},
                   {"NAME", DataType::String, 20},
                   {"AMOUNT", DataType::Float},
                   {"DAY", DataType::Date}});
    ds.appendRow({1, "Diesel", 61.5, QDate(2024, 3, 1)});
    ds.appendRow({2, "petrol", 55.25, QDate(2024, 1, 15)});
    ds.appendRow({3, QVariant(), 70.0, QDate(2024, 2, 1)});
    ds.appendRow({4, "Gas", QVariant(), QDate(2024, 3, 1)});
    ds.appendRow({5, "Petrol 95"}); // the rest null
}

QStringList column(const Dataset& ds, const QString& field)
{
    QStringList values;
    const int c = ds.fieldIndex(field);
    for (int r = 0; r < ds.recordCount(); ++r)
        values << (ds.value(r, c).isNull() ? QStringLiteral("null") : ds.value(r, c).toString());
    return values;
}

} // namespace

TEST(MemDataset, DeclaredColumnsTakeRowsAddedInCode)
{
    MemDataset ds;
    fillPrices(ds);
    EXPECT_FALSE(ds.isOpen());
    EXPECT_EQ(ds.rowCount(), 5);
    ds.defineField("AMOUNT").setDisplayFormat("0.00");
    ds.addCalculatedField("LABEL", DataType::String, [](const Dataset& d, int row) {
        return QVariant(d.physicalValue(row, 1).toString() + QLatin1Char('#') +
                        d.physicalValue(row, 0).toString());
    });
    QSignalSpy opened(&ds, &Dataset::afterOpen);
    ds.open();
    EXPECT_EQ(opened.count(), 1);
    ASSERT_EQ(ds.fieldCount(), 5);
    EXPECT_EQ(ds.fieldByName("id").dataType(), DataType::Integer);
    EXPECT_EQ(ds.fieldByName("NAME").size(), 20);
    EXPECT_EQ(ds.fieldByName("DAY").dataType(), DataType::Date);
    EXPECT_TRUE(ds.fieldByName("LABEL").isCalculated());
    EXPECT_EQ(ds.recordCount(), 5);
    EXPECT_EQ(ds.currentRow(), 0);
    EXPECT_EQ(ds.value(1, 2).toDouble(), 55.25);
    EXPECT_EQ(ds.value(0, 3).toDate(), QDate(2024, 3, 1));
    EXPECT_EQ(column(ds, "NAME"), QStringList({"Diesel", "petrol", "null", "Gas", "Petrol 95"}));
    EXPECT_EQ(column(ds, "LABEL").at(3), "Gas#4");
    ds.setCurrentRow(3);
    EXPECT_TRUE(ds.isNull("AMOUNT"));
    EXPECT_EQ(ds.fieldByName("AMOUNT").displayText(ds.value(0, 2)), "61.50");

    // A row added while open shows at once; one added by name fills the rest with nulls.
    QSignalSpy reset(&ds, &Dataset::rowsReset);
    ds.appendRecord({{"name", "Kerosene"}, {"ID", 6}});
    EXPECT_EQ(reset.count(), 1);
    ASSERT_EQ(ds.recordCount(), 6);
    EXPECT_EQ(ds.value(5, 1).toString(), "Kerosene");
    EXPECT_TRUE(ds.value(5, 2).isNull());
    EXPECT_EQ(ds.value(5, 4).toString(), "Kerosene#6");
    EXPECT_THROW(ds.appendRecord({{"NO_SUCH", 1}}), DbError);

    // Edits are local and survive a reopen, as the rows do.
    ds.setValueAt(1, 1, QString("Petrol 92"));
    EXPECT_EQ(ds.value(1, 4).toString(), "Petrol 92#2");
    ds.close();
    EXPECT_EQ(ds.rowCount(), 6);
    ds.open();
    EXPECT_EQ(ds.value(1, 1).toString(), "Petrol 92");
    EXPECT_EQ(ds.recordCount(), 6);

    // Clearing keeps an open dataset open and empty; new columns drop the old rows.
    ds.clearRows();
    EXPECT_TRUE(ds.isOpen());
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_EQ(ds.currentRow(), -1);
    ds.appendRow({7, "Oil"});
    EXPECT_EQ(ds.recordCount(), 1);
    EXPECT_EQ(ds.currentRow(), 0);
    EXPECT_EQ(ds.asString("NAME"), "Oil");
    ds.addColumn("NOTE", DataType::String);
    EXPECT_FALSE(ds.isOpen());
    ds.open();
    EXPECT_TRUE(ds.value(0, ds.fieldIndex("NOTE")).isNull());
    EXPECT_THROW(ds.addColumn("note", DataType::String), DbError);
    ds.setColumns({{"X", DataType::Integer}});
    EXPECT_EQ(ds.rowCount(), 0);
}

TEST(MemDataset, LocatesFiltersAndSortsAsAQueryDoes)
{
    MemDataset ds;
    fillPrices(ds);
    ds.open();

    struct LocateCase
    {
        const char* name;
        QString keys;
        QVariantList values;
        LocateOptions options;
        int row; // -1: not found, the current row stays
    };
    const LocateCase cases[] = {
        {"exact text", "NAME", {"Gas"}, {}, 3},
        {"case matters by default", "NAME", {"PETROL"}, {}, -1},
        {"case ignored", "NAME", {"PETROL"}, LocateOption::CaseInsensitive, 1},
        {"partial key", "NAME", {"Petrol "}, LocateOption::PartialKey, 4},
        {"number", "AMOUNT", {70}, {}, 2},
        {"two fields", "DAY;ID", {QDate(2024, 3, 1), 4}, {}, 3},
        {"null key", "NAME", {QVariant()}, {}, 2},
        {"no such row", "ID", {99}, {}, -1},
    };
    for (const LocateCase& c : cases) {
        SCOPED_TRACE(c.name);
        ds.first();
        EXPECT_EQ(ds.locate(c.keys, c.values, c.options), c.row >= 0);
        EXPECT_EQ(ds.currentRow(), c.row >= 0 ? c.row : 0);
    }
    EXPECT_THROW(ds.locate("NO_SUCH", 1), DbError);

    struct FilterCase
    {
        const char* name;
        QString filter;
        QStringList ids;
    };
    const FilterCase filters[] = {
        {"comparison", "AMOUNT > 60", {"1", "3"}},
        {"and / or / not", "(ID = 1 OR ID = 4) AND NOT NAME = 'Gas'", {"1"}},
        {"is null", "NAME IS NULL OR AMOUNT IS NULL", {"3", "4", "5"}},
        {"dates", "DAY >= '2024-02-01'", {"1", "3", "4"}},
    };
    ds.setFiltered(true);
    for (const FilterCase& f : filters) {
        SCOPED_TRACE(f.name);
        ds.setFilter(f.filter);
        EXPECT_EQ(column(ds, "ID"), f.ids);
    }
    // Rows added under a filter show only when they match it.
    ds.setFilter("AMOUNT > 60");
    ds.appendRow({8, "Premium", 80.0});
    ds.appendRow({9, "Cheap", 10.0});
    EXPECT_EQ(column(ds, "ID"), QStringList({"1", "3", "8"}));
    ds.setFiltered(false);
    EXPECT_EQ(ds.recordCount(), 7);
    EXPECT_THROW(ds.setFilter("NO_SUCH = 1"); ds.setFiltered(true), DbError);
    ds.setFiltered(false);

    struct OrderCase
    {
        const char* name;
        QString order;
        QStringList ids;
    };
    const OrderCase orders[] = {
        {"text, nulls last", "NAME", {"9", "1", "4", "5", "8", "2", "3"}},
        {"descending, nulls first", "AMOUNT DESC", {"4", "5", "8", "3", "1", "2", "9"}},
        {"two keys, quoted name", "DAY DESC, \"ID\" DESC", {"9", "8", "5", "4", "1", "3", "2"}},
        {"none: the order the rows now have", "", {"9", "8", "5", "4", "1", "3", "2"}},
    };
    for (const OrderCase& o : orders) {
        SCOPED_TRACE(o.name);
        ds.setOrderBy(o.order);
        EXPECT_TRUE(ds.isOpen());
        EXPECT_EQ(column(ds, "ID"), o.ids);
    }
    ds.close();
    ds.setOrderBy("NO_SUCH");
    EXPECT_THROW(ds.open(), DbError);
}

TEST(MemDataset, LearnsTheColumnsOfAQueryWithoutRunningIt)
{
    REQUIRE_PG();
    auto session = PgFixture::instance().connect();
    session->execute("create temporary table mem_probe(id integer)");
    session->execute("insert into mem_probe values (1)");

    Query query(session.get());
    // Running this would fail on the division; describing it runs nothing.
    query.setSql("select g as id, cast('x' as varchar(30)) as name, cast(g as numeric(10,0)) as whole, "
                 "cast(g as numeric(10,2)) as amount, current_date as day, localtimestamp as made, "
                 "1 / (g - g) as boom, true as flag from generate_series(1, :n) g where g > :from_id &rest");
    query.setMacro("rest", "");
    EXPECT_THROW(
        {
            query.setParam("n", 3);
            query.setParam("from_id", 0);
            query.open();
        },
        OraError);
    query.setParam("n", QVariant());

    MemDataset ds;
    ds.learnColumns(query);
    EXPECT_FALSE(query.isOpen());
    struct Expected
    {
        const char* name;
        DataType type;
        int size;
    };
    const Expected expected[] = {{"ID", DataType::Integer, 0},    {"NAME", DataType::String, 30},
                                 {"WHOLE", DataType::Integer, 0}, {"AMOUNT", DataType::Float, 0},
                                 {"DAY", DataType::Date, 0},      {"MADE", DataType::DateTime, 0},
                                 {"BOOM", DataType::Integer, 0},  {"FLAG", DataType::Boolean, 0}};
    ASSERT_EQ(ds.columns().size(), std::size(expected));
    for (int c = 0; c < ds.columns().size(); ++c) {
        SCOPED_TRACE(expected[c].name);
        EXPECT_EQ(ds.columns()[c].name, expected[c].name);
        EXPECT_EQ(ds.columns()[c].type, expected[c].type);
        EXPECT_EQ(ds.columns()[c].size, expected[c].size);
    }
    ds.open();
    EXPECT_TRUE(ds.isEmpty());
    ds.appendRecord({{"ID", 1}, {"NAME", "one"}, {"MADE", QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))}});
    EXPECT_EQ(ds.asString("NAME"), "one");
    EXPECT_EQ(ds.value(0, ds.fieldIndex("MADE")).toDateTime(), QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)));

    // A text the server refuses fails as running it would, and undoes only itself.
    Query bad(session.get());
    bad.setSql("select * from no_such_table");
    try {
        ds.learnColumns(bad);
        FAIL() << "a missing table was described";
    } catch (const OraError& e) {
        EXPECT_EQ(e.code(), 942);
    }
    EXPECT_EQ(session->execute("select count(*) from mem_probe").rawValue(0, 0), std::string("1"));

    // A PL/SQL call gives its rows through a cursor: nothing to describe.
    Query call(session.get());
    call.setSql("begin S.TEV_UTILS.SOMETHING(:p_rows); end;");
    EXPECT_THROW(ds.learnColumns(call), DbError);
}

TEST(MemDataset, RemovesManyRowsInOnePassWhereverTheCurrentRowIs)
{
    struct Case
    {
        const char* name;
        QList<int> drop; // visible rows
        int current;
        QStringList left;
        int currentAfter;
    } cases[] = {
        {"nothing", {}, 2, {"1", "2", "3", "4", "5"}, 2},
        {"two adjacent, current kept", {1, 2}, 3, {"1", "4", "5"}, 1},
        {"current dropped: the next kept row", {1, 2}, 1, {"1", "4", "5"}, 1},
        {"the last ones: the new last row", {3, 4}, 4, {"1", "2", "3"}, 2},
        {"every row", {0, 1, 2, 3, 4}, 0, {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemDataset ds;
        fillPrices(ds);
        ds.open();
        ds.setCurrentRow(c.current);
        QSignalSpy resets(&ds, &Dataset::rowsReset);
        EXPECT_EQ(ds.removeRows([&](int row) { return c.drop.contains(row); }), c.drop.size());
        EXPECT_EQ(column(ds, "ID"), c.left);
        EXPECT_EQ(ds.currentRow(), c.currentAfter);
        EXPECT_EQ(resets.count(), c.drop.isEmpty() ? 0 : 1);
    }

    // Rows dropped stay dropped when a filter comes and goes.
    MemDataset ds;
    fillPrices(ds);
    ds.open();
    ds.setFilter("ID > 1");
    ds.setFiltered(true);
    ds.removeRows([](int row) { return row == 0; }); // ID 2
    EXPECT_EQ(column(ds, "ID"), QStringList({"3", "4", "5"}));
    ds.setFiltered(false);
    EXPECT_EQ(column(ds, "ID"), QStringList({"1", "3", "4", "5"}));
}
