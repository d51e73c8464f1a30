#include "GridTools.h"

#include "DBGrid.h"
#include "ModalRunner.h"
#include "FieldMarking.h"
#include "FilterDialog.h"
#include "FindDialog.h"
#include "GridReport.h"
#include "GridTestDataset.h"
#include "MassSelection.h"
#include "PgFixture.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "Session.h"
#include "SortDialog.h"
#include "TDBGridIntObj.h"
#include "TwwDBGridIntObj.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using db::DataType;
using namespace gridtools;

namespace {

// Answers the grid tools' dialogs instead of a person.
class ScriptedRunner : public framework::ModalRunner
{
public:
    ScriptedRunner() : mPrevious(framework::setModalRunner(this)) {}
    ~ScriptedRunner() override { framework::setModalRunner(mPrevious); }

    int exec(QDialog& dialog) override
    {
        ++execs;
        return answer ? answer(dialog) : QDialog::Rejected;
    }
    QString saveFileName(QWidget*, const QString&, const QString& suggested, const QString&) override
    {
        suggestedNames << suggested;
        return fileName;
    }

    std::function<int(QDialog&)> answer;
    QString fileName;
    QStringList suggestedNames;
    int execs = 0;

private:
    framework::ModalRunner* mPrevious;
};

template <class D> std::function<int(QDialog&)> answerWith(std::function<void(D&)> fill)
{
    return [fill](QDialog& dialog) {
        D* d = dynamic_cast<D*>(&dialog);
        if (!d) {
            ADD_FAILURE() << "unexpected dialog " << dialog.metaObject()->className();
            return int(QDialog::Rejected);
        }
        fill(*d);
        return int(QDialog::Accepted);
    };
}

std::unique_ptr<GridTestDataset> people()
{
    auto ds = std::make_unique<GridTestDataset>(
        QList<GridTestDataset::Column>{{"ID", DataType::Integer},
                                       {"NAME", DataType::String},
                                       {"CITY", DataType::String},
                                       {"RCHECK", DataType::String},
                                       {"SECRET", DataType::String}},
        QList<GridTestDataset::Row>{
            {QString("1"), QString("Иванов"), QString("Москва"), QString("-"), QString("x")},
            {QString("2"), QString("Петров"), QString("Тверь"), QString("+"), QString("y")},
            {QString("3"), QString("Сидоров"), QString("Москва"), QString("-"), QString("z")},
            {QString("4"), QString("ivanova"), QString("Омск"), QString("-"), QString("w")}});
    ds->defineField("NAME").setDisplayLabel(QStringLiteral("Фамилия"));
    ds->defineField("CITY").setDisplayLabel(QStringLiteral("Город; область"));
    ds->defineField("SECRET").setVisible(false);
    ds->open();
    FieldMarking::markFields(*ds);
    return ds;
}

QStringList column(const db::Dataset& ds, const QString& field)
{
    QStringList values;
    for (int r = 0; r < ds.recordCount(); ++r)
        values << ds.value(r, ds.fieldIndex(field)).toString();
    return values;
}

} // namespace

TEST(GridTools, FindMovesTheCurrentRow)
{
    auto ds = people();
    ds->setCurrentRow(2);
    ScriptedRunner runner;
    RecordingPresenter presenter;
    int field = ds->fieldIndex("ID"); // the window starts the dialog at the grid's column
    runner.answer = answerWith<FindDialog>([&](FindDialog& d) {
        EXPECT_EQ(d.criteria().fieldIndex, ds->fieldIndex("ID"));
        EXPECT_TRUE(d.criteria().fromStart);                         // the first search starts at the top
        EXPECT_FALSE(d.fields().contains(ds->fieldIndex("SECRET"))); // hidden, latin label: not marked
        d.setFieldIndex(ds->fieldIndex("NAME"));
        d.setSearchText(QStringLiteral("ОВ"));
    });
    ASSERT_TRUE(findByDBGrid(*ds, "Clients", field, 25));
    EXPECT_EQ(ds->currentRow(), 0);
    EXPECT_EQ(field, ds->fieldIndex("NAME"));
    // The next search goes on below the found row, with what the dialog last held.
    runner.answer = answerWith<FindDialog>([&](FindDialog& d) {
        EXPECT_EQ(d.criteria().text, QStringLiteral("ОВ"));
        EXPECT_EQ(d.criteria().fieldIndex, ds->fieldIndex("NAME"));
        EXPECT_FALSE(d.criteria().fromStart);
    });
    ASSERT_TRUE(findByDBGrid(*ds, "Clients", field, 25));
    EXPECT_EQ(ds->currentRow(), 1);
    EXPECT_EQ(presenter.count(), 0);
}

TEST(GridTools, FindRowRules)
{
    auto ds = people();
    struct Case
    {
        const char* name;
        int start;
        FindCriteria criteria;
        int expected;
    };
    const int name = ds->fieldIndex("NAME"), city = ds->fieldIndex("CITY"), id = ds->fieldIndex("ID");
    const Case cases[] = {
        {"partial, case-insensitive", 0, {"ОВ", name, false, false, false, false}, 1},
        {"partial, case-sensitive misses", 0, {"ОВ", name, false, false, true, false}, -1},
        {"whole field", 0, {"Москва", city, false, true, false, false}, 2},
        {"whole field refuses a part", 0, {"Моск", city, false, true, false, true}, -1},
        {"from the start includes row 0", 0, {"Москва", city, false, true, false, true}, 0},
        {"backward from the current row", 3, {"Москва", city, true, false, false, false}, 2},
        {"backward from the end", 0, {"ов", name, true, false, false, true}, 2},
        {"numbers by their text", 0, {"4", id, false, true, false, false}, 3},
        {"nothing below the last row", 3, {"а", name, false, false, false, false}, -1},
        {"empty text finds nothing", 0, {"", name, false, false, false, true}, -1},
    };
    for (const Case& c : cases) {
        ds->setCurrentRow(c.start);
        EXPECT_EQ(FindDialog::findRow(*ds, c.criteria), c.expected) << c.name;
    }
}

TEST(GridTools, FindThatFailsSaysSoAndStays)
{
    auto ds = people();
    ScriptedRunner runner;
    RecordingPresenter presenter;
    ds->setCurrentRow(1);
    int field = -1;
    runner.answer = answerWith<FindDialog>([&](FindDialog& d) {
        d.setFieldIndex(ds->fieldIndex("CITY"));
        d.setSearchText("Paris");
    });
    EXPECT_FALSE(findByDBGrid(*ds, "Clients", field, 9));
    EXPECT_EQ(ds->currentRow(), 1);
    EXPECT_EQ(field, ds->fieldIndex("CITY"));
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, "\"Paris\" was not found");

    runner.answer = nullptr; // cancelled: nothing moves, nothing is said
    EXPECT_FALSE(findByDBGrid(*ds, "Clients", field, 25));
    EXPECT_EQ(presenter.count(), 1);
}

TEST(GridTools, SortOrderTexts)
{
    auto ds = people();
    const QList<int> fields = {ds->fieldIndex("ID"), ds->fieldIndex("NAME")};
    EXPECT_EQ(SortDialog::parseOrder("t.NAME desc, id,MISSING, name", *ds, fields),
              (QList<SortItem>{{"NAME", true}, {"ID", false}}));
    EXPECT_EQ(SortDialog::parseOrder("E.CITY,\r\nE.ID", *ds, fields), (QList<SortItem>{{"ID", false}}));
    EXPECT_EQ(SortDialog::formatOrder({{"NAME", true}, {"ID", false}}), "NAME DESC, ID");
    EXPECT_EQ(SortDialog::formatOrder({}), "");
    EXPECT_EQ(SortDialog::formatOrder({{"Type-Name", true}}), "\"type-name\" DESC"); // never raw into the SQL
}

TEST(GridTools, FilterTextsBindEveryValue)
{
    using O = FilterOperator;
    struct Case
    {
        const char* name;
        QList<FilterCondition> conditions;
        bool useOr;
        bool caseSensitive;
        QString text;
        QVariantMap values;
    };
    const Case cases[] = {
        {"no condition", {}, false, false, "((1=1)aNd(1=1))", {}},
        {"text equals, as typed",
         {{"NAME", DataType::String, O::Equal, " it's "}},
         false,
         false,
         "((NAME = :FLT_1))",
         {{"FLT_1", " it's "}}},
        {"contains escapes wildcards",
         {{"NAME", DataType::String, O::Contains, "5%_!"}},
         false,
         false,
         "((UPPER(NAME) LIKE UPPER(:FLT_1) ESCAPE '!'))",
         {{"FLT_1", "%5!%!_!!%"}}},
        {"starts with, case-sensitive",
         {{"NAME", DataType::String, O::StartsWith, "a\\b"}},
         false,
         true,
         "((NAME LIKE :FLT_1 ESCAPE '!'))",
         {{"FLT_1", "a\\b%"}}},
        {"numbers and OR",
         {{"ID", DataType::Integer, O::GreaterOrEqual, " 3 "}, {"AMOUNT", DataType::Float, O::Less, "2,5"}},
         true,
         false,
         "((ID >= :FLT_1) OR (AMOUNT < :FLT_2))",
         {{"FLT_1", qlonglong(3)}, {"FLT_2", 2.5}}},
        {"contains on a number compares its text",
         {{"ID", DataType::Integer, O::Contains, "7"}},
         false,
         true,
         "((CAST(ID AS VARCHAR) LIKE :FLT_1 ESCAPE '!'))",
         {{"FLT_1", "%7%"}}},
        {"date",
         {{"DAY", DataType::Date, O::Equal, "05.01.2024"}},
         false,
         false,
         "((DAY = :FLT_1))",
         {{"FLT_1", QDate(2024, 1, 5)}}},
        {"a day for a moment is the whole day",
         {{"MADE", DataType::DateTime, O::Equal, "05.01.2024"}},
         false,
         false,
         "((MADE >= :FLT_1 AND MADE < :FLT_2))",
         {{"FLT_1", QDateTime(QDate(2024, 1, 5), QTime(0, 0))},
          {"FLT_2", QDateTime(QDate(2024, 1, 6), QTime(0, 0))}}},
        {"empty text",
         {{"NAME", DataType::String, O::IsEmpty, ""}, {"ID", DataType::Integer, O::IsNotEmpty, ""}},
         false,
         false,
         "((COALESCE(NAME, '') = '') AND (ID IS NOT NULL))",
         {}},
        {"boolean as text",
         {{"FLAG", DataType::Boolean, O::NotEqual, "да"}},
         false,
         false,
         "((FLAG <> :FLT_1))",
         {{"FLT_1", "true"}}},
        {"odd name is quoted",
         {{"Type Name", DataType::String, O::Equal, "x"}},
         false,
         false,
         "((\"type name\" = :FLT_1))",
         {{"FLT_1", "x"}}},
    };
    for (const Case& c : cases) {
        const FilterSql sql = buildFilterSql(c.conditions, c.useOr, c.caseSensitive, 9);
        EXPECT_TRUE(sql.ok()) << c.name << ": " << sql.error.toStdString();
        EXPECT_EQ(sql.text, c.text) << c.name;
        EXPECT_EQ(sql.values, c.values) << c.name;
    }

    struct Bad
    {
        const char* name;
        FilterCondition condition;
        QString error;
    };
    const Bad bad[] = {
        {"not a number",
         {"ID", DataType::Integer, O::Equal, "1; drop", "Номер"},
         "Неверное значение \"1; drop\" для поля \"Номер\""},
        {"no value", {"NAME", DataType::String, O::Equal, ""}, "Не задано значение для поля \"NAME\""},
        {"not a date",
         {"DAY", DataType::Date, O::Less, "31.02.2024"},
         "Неверное значение \"31.02.2024\" для поля \"DAY\""},
        {"blob compared", {"DATA", DataType::Blob, O::Equal, "x"}, "Условие не подходит для поля \"DATA\""},
    };
    for (const Bad& b : bad) {
        const FilterSql sql = buildFilterSql({b.condition}, false, false, 25);
        EXPECT_EQ(sql.error, b.error) << b.name;
        EXPECT_TRUE(sql.text.isEmpty()) << b.name;
    }
}

TEST(GridTools, FilterDialogHoldsItsState)
{
    auto ds = people();
    FilterState state;
    state.useOr = true;
    state.conditions = {{"CITY", DataType::String, FilterOperator::StartsWith, "Мо"},
                        {"SECRET", DataType::String, FilterOperator::Equal, "x"}, // not offered
                        {"ID", DataType::Integer, FilterOperator::Greater, ""}};  // left unfilled
    FilterDialog dialog(*ds, "Clients", state, 25);
    EXPECT_FALSE(dialog.fields().contains(ds->fieldIndex("SECRET")));
    const FilterState shown = dialog.state();
    ASSERT_EQ(shown.conditions.size(), 2);
    EXPECT_EQ(shown.conditions[0].fieldName, "CITY");
    EXPECT_EQ(shown.conditions[0].op, FilterOperator::StartsWith);
    EXPECT_EQ(shown.conditions[0].value, QStringLiteral("Мо"));
    EXPECT_TRUE(shown.useOr);
    // The unfilled row is no condition.
    EXPECT_EQ(dialog.filterSql().text, "((UPPER(CITY) LIKE UPPER(:FLT_1) ESCAPE '!'))");
}

TEST(GridTools, ReportCsvHasTheMarkedColumns)
{
    auto ds = people();
    ds->fieldByName("ID").setTag(7); // kept out by the window
    GridTestDataset detail({{"CARD", DataType::String}, {"SUM", DataType::Float}},
                           {{QString("7001"), QString("12.5")}, {QString("7002 \"gold\""), std::nullopt}});
    detail.setObjectName("qryCards");
    detail.open();
    FieldMarking::markFields(detail);

    QTemporaryDir dir;
    const QString path = dir.filePath("clients.csv");
    ScriptedRunner runner;
    runner.fileName = path;
    runner.answer = [&](QDialog& dialog) {
        auto* report = dynamic_cast<GridReport*>(&dialog);
        EXPECT_NE(report, nullptr);
        if (report)
            report->csvAction()->trigger();
        return int(QDialog::Rejected);
    };
    gridReport(*ds, &detail, "Clients/all", 25);
    EXPECT_EQ(runner.suggestedNames, QStringList{"Clients_all.csv"});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(QString::fromUtf8(bytes.mid(3)),
              QStringLiteral("Фамилия;\"Город; область\"\r\n"
                             "Иванов;Москва\r\nПетров;Тверь\r\nСидоров;Москва\r\nivanova;Омск\r\n"
                             "\r\n"
                             "CARD;SUM\r\n7001;12.5\r\n\"7002 \"\"gold\"\"\";\r\n"));
}

TEST(GridTools, ReportPdfIsWritten)
{
    auto ds = people();
    GridReport report(*ds, nullptr, "Clients", 9);
    ASSERT_EQ(report.table().sections.size(), 1);
    EXPECT_EQ(report.table().sections[0].headers,
              (QStringList{"ID", QStringLiteral("Фамилия"), QStringLiteral("Город; область")}));
    QTemporaryDir dir;
    const QString path = dir.filePath("clients.pdf");
    ASSERT_TRUE(report.exportPdf(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");

    RecordingPresenter presenter; // an unwritable place is reported, not ignored
    EXPECT_FALSE(report.exportCsv(dir.filePath("missing/dir/clients.csv")));
    EXPECT_EQ(presenter.count(), 1);
}

TEST(GridTools, MassSelectionAllRangeInvert)
{
    auto ds = people();
    const int rcheck = ds->fieldIndex("RCHECK");
    MassSelection selection;
    EXPECT_EQ(selection.apply(*ds, "RCHECK", smCheck), 4);
    EXPECT_EQ(column(*ds, "RCHECK"), (QStringList{"+", "+", "+", "+"}));
    selection.apply(*ds, "RCHECK", smUncheck, 1, 2);
    EXPECT_EQ(column(*ds, "RCHECK"), (QStringList{"+", "-", "-", "+"}));
    selection.apply(*ds, "RCHECK", smInvert);
    EXPECT_EQ(column(*ds, "RCHECK"), (QStringList{"-", "+", "+", "-"}));
    EXPECT_EQ(selection.apply(*ds, "RCHECK", 2), 0); // not a mode
    EXPECT_EQ(ds->value(0, rcheck).toString(), "-");

    // Through an adapter: its rules, and the range as two bound pairs in either order.
    GridTestDataset numbers({{"ID", DataType::Integer}, {"RCHECK", DataType::Integer}},
                            {{QString("1"), QString("0")},
                             {QString("2"), QString("0")},
                             {QString("3"), QString("0")},
                             {QString("4"), QString("0")},
                             {QString("5"), QString("0")}});
    numbers.open();
    DBGrid grid(DBGrid::Family::Extended);
    grid.setDataset(&numbers);
    TwwDBGridIntObj adapter(&grid);
    adapter.SetCheckFieldName("RCHECK");
    adapter.CheckRange(3, 0, 1, 1);
    EXPECT_EQ(column(numbers, "RCHECK"), (QStringList{"0", "1", "1", "1", "0"}));
    adapter.InvertAll();
    EXPECT_EQ(column(numbers, "RCHECK"), (QStringList{"1", "0", "0", "0", "1"}));
    adapter.UncheckRange(0, 0, 0, 0);
    EXPECT_EQ(column(numbers, "RCHECK"), (QStringList{"0", "0", "0", "0", "1"}));
    numbers.setTakesLocalEdits(false); // a read-only dataset is left alone
    adapter.CheckAll();
    EXPECT_EQ(column(numbers, "RCHECK"), (QStringList{"0", "0", "0", "0", "1"}));
}

TEST(GridTools, MassSelectionUnderTheDatasetsFilter)
{
    QList<GridTestDataset::Row> rows;
    for (int i = 0; i < 2000; ++i)
        rows.append({QString::number(i), QString(i % 3 == 0 ? "+" : "-")});
    GridTestDataset ds({{"ID", DataType::Integer}, {"RCHECK", DataType::String}}, rows);
    ds.open();
    ds.setFilter("RCHECK = '-'");
    ds.setFiltered(true);
    ASSERT_EQ(ds.recordCount(), 1333);
    ds.setCurrentRow(700);
    const QString currentId = ds.asString("ID");
    int resets = 0;
    QObject::connect(&ds, &db::Dataset::rowsReset, [&] { ++resets; });
    // Marking every other visible row drops those rows from the filter.
    EXPECT_EQ(MassSelection().apply(ds, "RCHECK", smCheck, 0, 99), 100);
    EXPECT_EQ(ds.recordCount(), 1233);
    EXPECT_EQ(resets, 1); // one notice for the whole pass
    EXPECT_EQ(ds.asString("ID"), currentId);
    MassSelection().apply(ds, "RCHECK", smCheck);
    EXPECT_EQ(ds.recordCount(), 0);
    ds.setFiltered(false);
    EXPECT_EQ(column(ds, "RCHECK").count("+"), 2000);
}

// Against the server: sorting writes the order macro and reopens; filtering binds every value.
class GridToolsPgTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (!PgFixture::instance().available())
            return;
        PgFixture::instance().adminQuery(R"SQL(
CREATE SCHEMA IF NOT EXISTS gridprobe;
GRANT USAGE ON SCHEMA gridprobe TO tev_user;
DROP TABLE IF EXISTS gridprobe.names;
CREATE TABLE gridprobe.names(id integer primary key, name varchar(50), amount numeric(10,2), made date);
GRANT SELECT ON gridprobe.names TO tev_user;
INSERT INTO gridprobe.names VALUES
  (1, 'a''b', 1.5, '2024-01-01'), (2, 'a%b', 2.5, '2024-01-02'), (3, 'a_b', 3.5, '2024-01-03'),
  (4, 'a\b', 4.5, '2024-01-04'), (5, 'ab', 5.5, NULL), (6, 'it''''s', 6.5, '2024-01-06'),
  (7, 'x); drop table gridprobe.names; --', 7.5, '2024-01-07'), (8, 'AB', 8.5, '2024-01-08'),
  (9, NULL, 9.5, '2024-01-09');
)SQL");
    }
    void SetUp() override
    {
        if (!PgFixture::instance().available())
            return;
        session = PgFixture::instance().connect("tev_user");
        query = std::make_unique<db::Query>(session.get());
        query->setObjectName("qryNames");
        query->setSql("select id, name, amount, made from gridprobe.names &ORDER &FIELD");
        query->setMacro("ORDER", "ORDER BY");
        query->setMacro("FIELD", "id");
        query->defineField("NAME").setDisplayLabel(QStringLiteral("Имя"));
        query->open();
        FieldMarking::markFields(*query);
    }

    QStringList ids() const { return column(*query, "ID"); }

    // Applies one condition through the filter dialog's seam.
    bool filterBy(const FilterState& state)
    {
        ScriptedRunner runner;
        runner.answer = answerWith<FilterDialog>([&](FilterDialog& d) { d.setState(state); });
        return filterByDBGrid(*query, "Names", 25);
    }

    std::unique_ptr<db::Session> session;
    std::unique_ptr<db::Query> query;
};

TEST_F(GridToolsPgTest, SortWritesTheOrderMacroAndReopens)
{
    REQUIRE_PG();
    ScriptedRunner runner;
    runner.answer = answerWith<SortDialog>([&](SortDialog& d) {
        EXPECT_EQ(d.order(), (QList<SortItem>{{"ID", false}})); // what the query holds now
        d.setOrder({{"AMOUNT", true}, {"NAME", false}});
    });
    ASSERT_TRUE(sortDBGrid(*query, "Names", 25));
    EXPECT_EQ(query->macroByName("FIELD").value(), "AMOUNT DESC, NAME");
    EXPECT_TRUE(query->macroByName("FIELD").isActive());
    EXPECT_TRUE(query->macroByName("ORDER").isActive());
    EXPECT_EQ(query->macroByName("ORDER").value(), "ORDER BY");
    EXPECT_EQ(ids().first(), "9"); // reopened in the new order

    runner.answer = answerWith<SortDialog>([](SortDialog& d) { d.setOrder({}); });
    ASSERT_TRUE(sortDBGrid(*query, "Names", 25));
    EXPECT_FALSE(query->macroByName("ORDER").isActive());
    EXPECT_FALSE(query->macroByName("FIELD").isActive());
    EXPECT_EQ(query->recordCount(), 9);

    runner.answer = nullptr; // cancelled: the query stays as it is
    query->setMacro("FIELD", "name");
    ASSERT_FALSE(sortDBGrid(*query, "Names", 25));
    EXPECT_EQ(query->macroByName("FIELD").value(), "name");
}

TEST_F(GridToolsPgTest, FilterFindsExactlyTheMatchingRows)
{
    REQUIRE_PG();
    using O = FilterOperator;
    struct Case
    {
        const char* name;
        FilterState state;
        QStringList ids;
    };
    auto one = [](O op, const QString& value, const char* field = "NAME") {
        FilterState s;
        s.conditions = {{QString::fromLatin1(field), DataType::String, op, value}};
        return s;
    };
    FilterState either;
    either.useOr = true;
    either.conditions = {{"ID", DataType::Integer, O::Less, "2"},
                         {"AMOUNT", DataType::Float, O::GreaterOrEqual, "8,5"}};
    FilterState both;
    both.conditions = {{"NAME", DataType::String, O::StartsWith, "a"},
                       {"MADE", DataType::Date, O::Greater, "02.01.2024"}};
    FilterState caseSensitive = one(O::Contains, "B");
    caseSensitive.caseSensitive = true;
    const Case cases[] = {
        {"quote", one(O::Equal, "a'b"), {"1"}},
        {"percent", one(O::Equal, "a%b"), {"2"}},
        {"underscore", one(O::Equal, "a_b"), {"3"}},
        {"backslash", one(O::Equal, "a\\b"), {"4"}},
        {"doubled quotes", one(O::Equal, "it''s"), {"6"}},
        {"injection attempt", one(O::Equal, "x); drop table gridprobe.names; --"), {"7"}},
        {"contains percent", one(O::Contains, "%"), {"2"}},
        {"contains underscore", one(O::Contains, "_"), {"3"}},
        {"contains backslash", one(O::Contains, "\\"), {"4"}},
        {"contains quote", one(O::Contains, "'"), {"1", "6"}},
        {"contains bang", one(O::Contains, "!"), {}},
        {"starts with, any case", one(O::StartsWith, "a"), {"1", "2", "3", "4", "5", "8"}},
        {"contains, case-sensitive", caseSensitive, {"8"}},
        {"not equal leaves out nulls", one(O::NotEqual, "ab"), {"1", "2", "3", "4", "6", "7", "8"}},
        {"empty", one(O::IsEmpty, ""), {"9"}},
        {"date empty", one(O::IsEmpty, "", "MADE"), {"5"}},
        {"or", either, {"1", "8", "9"}},
        {"and with a date", both, {"3", "4", "8"}},
    };
    for (const Case& c : cases) {
        FilterState typed = c.state;
        for (FilterCondition& cond : typed.conditions)
            cond.type = query->fieldByName(cond.fieldName).dataType();
        ASSERT_TRUE(filterBy(typed)) << c.name;
        EXPECT_EQ(ids(), c.ids) << c.name;
        EXPECT_EQ(lastFilterState(*query).conditions, typed.conditions) << c.name;
    }
    // No condition: the marker text, every row.
    ASSERT_TRUE(filterBy(FilterState{}));
    EXPECT_EQ(query->filterSql(), "((1=1)aNd(1=1))");
    EXPECT_EQ(query->recordCount(), 9);
}

TEST_F(GridToolsPgTest, FilterDialogOffersServerFieldsAndRemembersItsConditions)
{
    REQUIRE_PG();
    query->addCalculatedField("NAME_ANSI", DataType::String,
                              [](const db::Dataset& ds, int row) { return ds.physicalValue(row, 1); });
    query->defineField("NAME_ANSI").setDisplayLabel(QStringLiteral("Имя"));
    query->open();
    FieldMarking::markFields(*query);
    FilterState applied;
    applied.conditions = {{"AMOUNT", DataType::Float, FilterOperator::LessOrEqual, "2.5"}};
    ASSERT_TRUE(filterBy(applied));
    EXPECT_EQ(ids(), (QStringList{"1", "2"}));

    ScriptedRunner runner;
    runner.answer = [&](QDialog& dialog) {
        auto& d = dynamic_cast<FilterDialog&>(dialog);
        EXPECT_FALSE(d.fields().contains(query->fieldIndex("NAME_ANSI"))); // the server has no such column
        EXPECT_EQ(d.state().conditions.size(), 1);                         // the last conditions come back
        return int(QDialog::Rejected);
    };
    EXPECT_FALSE(filterByDBGrid(*query, "Names", 25));
    EXPECT_EQ(ids(), (QStringList{"1", "2"})); // cancelled: the filter stays
}
