#include "db/FilterExpression.h"

#include "db/DbError.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

using db::FilterExpression;

namespace {

// Looked up case-sensitively on purpose: the expression must find "isvisible" as ISVISIBLE itself.
const QStringList kFields = {"A",
                             "B",
                             "C",
                             "ID",
                             "NAME",
                             "CITY",
                             "CODE",
                             "ISVISIBLE",
                             "CLIENTISLNR",
                             "CLIENTISBONUS",
                             "WBC_PETROL_TYPE_ID",
                             "CHANGE_TYPE",
                             "SEND_OC",
                             "REQUEST_STATE_ID",
                             "ORDERDOWNLOAD",
                             "CREATED",
                             "BIRTHDAY",
                             "FIELD NAME"};

int fieldIndex(const QString& name)
{
    return int(kFields.indexOf(name));
}

using Row = std::vector<std::pair<QString, QVariant>>;

enum class Expect
{
    Match,
    NoMatch,
    Error
};

struct Case
{
    const char* name;
    QString filter;
    Row row;
    Expect expect;
    QString errorPart = {}; // for Error: text the message must contain
};

QDateTime at(int y, int m, int d, int h = 0, int min = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s));
}

TEST(FilterExpressionTest, EvaluatesRows)
{
    const Expect M = Expect::Match, N = Expect::NoMatch, E = Expect::Error;
    const QVariant null;
    const auto i = [](qlonglong v) { return QVariant(v); };

    const std::vector<Case> cases = {
        // Filters the console builds itself.
        {"clients type and source",
         "wbc_petrol_type_id = 1 AND (clientislnr = 0) AND (clientisbonus = 0)",
         {{"WBC_PETROL_TYPE_ID", i(1)}, {"CLIENTISLNR", i(0)}, {"CLIENTISBONUS", i(0)}},
         M},
        {"clients type and source, LNR client",
         "wbc_petrol_type_id = 1 AND (clientislnr = 0) AND (clientisbonus = 0)",
         {{"WBC_PETROL_TYPE_ID", i(1)}, {"CLIENTISLNR", i(1)}, {"CLIENTISBONUS", i(0)}},
         N},
        {"tick loop", "(ISVISIBLE = 0)", {{"ISVISIBLE", i(0)}}, M},
        {"invitation list",
         "(clientisbonus = 0) and (ISVISIBLE = 1)",
         {{"CLIENTISBONUS", i(0)}, {"ISVISIBLE", i(0)}},
         N},
        {"request viewer",
         "(CHANGE_TYPE = 0 OR CHANGE_TYPE = 1) AND WBC_PETROL_TYPE_ID = 1 AND (SEND_OC = 1 AND "
         "(REQUEST_STATE_ID = 3 OR REQUEST_STATE_ID = 5))",
         {{"CHANGE_TYPE", i(1)}, {"WBC_PETROL_TYPE_ID", i(1)}, {"SEND_OC", i(1)}, {"REQUEST_STATE_ID", i(5)}},
         M},
        {"no blanks around tokens", "OrderDownload=2", {{"ORDERDOWNLOAD", i(2)}}, M},
        {"constant condition", "((1=1)aNd(1=1))", {}, M},
        {"empty text", "", {}, M},
        {"blank text", "  \t ", {}, M},

        // Precedence: NOT > AND > OR.
        {"AND before OR", "A = 1 OR A = 2 AND B = 3", {{"A", i(1)}, {"B", i(0)}}, M},
        {"parentheses override", "(A = 1 OR A = 2) AND B = 3", {{"A", i(1)}, {"B", i(0)}}, N},
        {"NOT before AND", "NOT A = 1 AND B = 2", {{"A", i(1)}, {"B", i(3)}}, N},
        {"NOT of a group", "not (A > 2.5)", {{"A", i(2)}}, M},
        {"NOT of a group, double", "not (A > 2.5)", {{"A", 3.0}}, N},
        {"NOT after AND", "A = 1 AND NOT B = 2", {{"A", i(1)}, {"B", i(3)}}, M},
        {"double NOT", "NOT NOT A = 1", {{"A", i(1)}}, M},
        {"value on the left", "2 < A", {{"A", i(3)}}, M},

        // NULL is unknown, not false.
        {"equal to NULL literal", "A = NULL", {{"A", null}}, N},
        {"not equal to NULL literal", "A <> NULL", {{"A", i(1)}}, N},
        {"null field not equal", "A <> 1", {{"A", null}}, N},
        {"NOT of unknown stays unknown", "NOT (A = 1)", {{"A", null}}, N},
        {"unknown OR true", "A = 1 OR B = 2", {{"A", null}, {"B", i(2)}}, M},
        {"NOT (unknown AND false)", "NOT (A = 1 AND B = 2)", {{"A", null}, {"B", i(3)}}, M},
        {"IS NULL", "A IS NULL", {{"A", null}}, M},
        {"IS NULL on a value", "A IS NULL", {{"A", i(0)}}, N},
        {"IS NOT NULL on empty text", "A is not null", {{"A", QString()}}, M},
        {"null city", "CITY <> 'Москва' or CITY is null", {{"CITY", null}}, M},
        {"other city", "CITY <> 'Москва' or CITY is null", {{"CITY", QString("Киев")}}, M},
        {"that city", "CITY <> 'Москва' or CITY is null", {{"CITY", QString("Москва")}}, N},
        {"null fields compared", "A = B", {{"A", null}, {"B", null}}, N},

        // Numbers against numbers and text.
        {"decimal literal", "A = 2.5", {{"A", 2.5}}, M},
        {"negative literal", "A = -3", {{"A", i(-3)}}, M},
        {"negative decimal", "A >= -3.5", {{"A", i(-3)}}, M},
        {"integer equals decimal", "A = 1.0", {{"A", i(1)}}, M},
        {"exponent", "A = 1.5e3", {{"A", i(1500)}}, M},
        {"big integers stay exact", "ID = 9007199254740993", {{"ID", i(9007199254740992LL)}}, N},
        {"numeric text vs number", "CODE = 10", {{"CODE", QString("010")}}, M},
        {"numeric text ordered as number", "CODE > 9", {{"CODE", QString("10")}}, M},
        {"numeric text vs string literal", "CODE > '9'", {{"CODE", QString("10")}}, N},
        {"padded numeric text", "CODE = 10", {{"CODE", QString(" 10 ")}}, M},
        {"text that is no number", "CODE = 10", {{"CODE", QString("abc")}}, N},
        {"number vs numeric string literal", "A = '5'", {{"A", i(5)}}, M},
        {"int field vs double field", "A = B", {{"A", i(2)}, {"B", 2.0}}, M},
        {"text fields compared as text", "A < B", {{"A", QString("abc")}, {"B", QString("abd")}}, M},

        // Strings.
        {"doubled quote", "NAME = 'O''Brien'", {{"NAME", QString("O'Brien")}}, M},
        {"strings are case-sensitive", "NAME = 'o''brien'", {{"NAME", QString("O'Brien")}}, N},
        {"string order", "NAME < 'B'", {{"NAME", QString("Apple")}}, M},
        {"empty string literal", "NAME = ''", {{"NAME", QString("")}}, M},
        {"empty string literal, null field", "NAME = ''", {{"NAME", null}}, N},
        {"keywords inside strings", "NAME = 'a AND b'", {{"NAME", QString("a AND b")}}, M},

        // Dates.
        {"datetime on the day", "CREATED >= '01.02.2024'", {{"CREATED", at(2024, 2, 1, 10)}}, M},
        {"datetime the day before", "CREATED >= '01.02.2024'", {{"CREATED", at(2024, 1, 31, 23, 59)}}, N},
        {"datetime with time", "CREATED < '01.02.2024 10:30'", {{"CREATED", at(2024, 2, 1, 10, 29, 59)}}, M},
        {"datetime with seconds",
         "CREATED = '01.02.2024 10:30:15'",
         {{"CREATED", at(2024, 2, 1, 10, 30, 15)}},
         M},
        {"datetime ISO", "CREATED = '2024-02-01T10:00:00'", {{"CREATED", at(2024, 2, 1, 10)}}, M},
        {"datetime ISO with blank", "CREATED > '2024-02-01 09:00'", {{"CREATED", at(2024, 2, 1, 10)}}, M},
        {"datetime in UTC",
         "CREATED = '2024-02-01T10:00:00Z'",
         {{"CREATED", QDateTime(QDate(2024, 2, 1), QTime(10, 0), QTimeZone::utc())}},
         M},
        {"date", "BIRTHDAY = '15.03.1990'", {{"BIRTHDAY", QDate(1990, 3, 15)}}, M},
        {"date before a time that day",
         "BIRTHDAY < '15.03.1990 00:00:01'",
         {{"BIRTHDAY", QDate(1990, 3, 15)}},
         M},
        {"date vs text that is no date", "BIRTHDAY = 'soon'", {{"BIRTHDAY", QDate(1990, 3, 15)}}, N},

        // Names and keywords in any case.
        {"lower-case name", "isvisible = 1", {{"ISVISIBLE", i(1)}}, M},
        {"mixed-case keywords",
         "IsVisible = 1 aNd NaMe Is NoT nUlL",
         {{"ISVISIBLE", i(1)}, {"NAME", QString("x")}},
         M},
        {"bracketed name", "[Field Name] = 1", {{"FIELD NAME", i(1)}}, M},
        {"quoted name", "\"Field Name\" <> 1", {{"FIELD NAME", i(1)}}, N},
        {"bracketed keyword-like name", "[isvisible] != 0", {{"ISVISIBLE", i(1)}}, M},

        // Bad input.
        {"missing value", "A =", {}, E, "\"A =\" at position 4"},
        {"unterminated string", "A = 'abc", {}, E, "position 5: unterminated string"},
        {"unknown field", "NOSUCH = 1", {}, E, "Unknown field \"NOSUCH\""},
        {"unknown field inside", "A = 1 OR [Not There] IS NULL", {}, E, "\"Not There\""},
        {"unclosed parenthesis", "(A = 1", {}, E, "expected \")\""},
        {"extra parenthesis", "A = 1)", {}, E, "position 6"},
        {"missing operator", "A 1", {}, E, "expected a comparison operator"},
        {"dangling AND", "A = 1 AND", {}, E, "found end of text"},
        {"double equals", "A == 1", {}, E, "position 4"},
        {"malformed number", "A = 1abc", {}, E, "malformed number"},
        {"IS without NULL", "A IS 1", {}, E, "expected NULL"},
        {"unterminated bracket", "[A = 1", {}, E, "unterminated field name"},
        {"stray character", "A = 1 ; B = 2", {}, E, "position 7"},
        {"empty parentheses", "()", {}, E, "found \")\""},
        {"nothing but NOT", "NOT", {}, E, "expected a field name or a value"},
        {"nested too deeply", QString(300, '(') + "A = 1" + QString(300, ')'), {}, E, "nested too deeply"},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.expect == Expect::Error) {
            try {
                FilterExpression::compile(c.filter, fieldIndex);
                ADD_FAILURE() << "compiled";
            } catch (const db::DbError& e) {
                const QString message = QString::fromUtf8(e.what());
                EXPECT_TRUE(message.contains(c.errorPart)) << message.toStdString();
            }
            continue;
        }
        FilterExpression expression;
        try {
            expression = FilterExpression::compile(c.filter, fieldIndex);
        } catch (const db::DbError& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        QList<QVariant> values(kFields.size());
        for (const auto& [name, value] : c.row)
            values[fieldIndex(name)] = value;
        const bool matched = expression.matches([&](int index) { return values.at(index); });
        EXPECT_EQ(matched, c.expect == Expect::Match);
    }
}

TEST(FilterExpressionTest, ReportsFieldsOnceInOrder)
{
    EXPECT_TRUE(FilterExpression().isEmpty());
    EXPECT_TRUE(FilterExpression::compile(" ", fieldIndex).isEmpty());

    const FilterExpression e = FilterExpression::compile("C = 1 OR b = c AND NOT (A IS NULL)", fieldIndex);
    EXPECT_FALSE(e.isEmpty());
    EXPECT_EQ(e.fields(), (QList<int>{fieldIndex("C"), fieldIndex("B"), fieldIndex("A")}));
}

} // namespace
