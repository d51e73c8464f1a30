#include "db/MacroExpander.h"

#include "db/DbError.h"

#include <QHash>
#include <QStringList>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

// As the query keeps its macros: names without regard to case, inactive ones giving "".
struct Macros
{
    QHash<QString, QString> values; // keyed by lower-case name
    QStringList asked;              // names as passed to the lookup

    std::optional<QString> operator()(const QString& name)
    {
        asked.append(name);
        const auto it = values.find(name.toLower());
        return it == values.end() ? std::nullopt : std::optional<QString>(*it);
    }
};

Macros portalMacros()
{
    return Macros{{{"shema", "tev"},
                   {"order", "ORDER BY"},
                   {"field", "wbc_id"},
                   {"vno", "'Нет'"},
                   {"inactive", QString()},
                   {"a$b#1", "X"}},
                  {}};
}

QString expand(const QString& sql)
{
    Macros m = portalMacros();
    return db::expandMacros(sql, std::ref(m));
}

} // namespace

TEST(MacroExpanderTest, Expands)
{
    struct Case
    {
        const char* name;
        QString sql;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"scheme and sort order", "select * from &shema.v_tev_web_clients v &ORDER &FIELD",
         "select * from tev.v_tev_web_clients v ORDER BY wbc_id"},
        {"any spelling of a name", "&SHEMA.a, &Shema.b, &shema.c", "tev.a, tev.b, tev.c"},
        {"inactive macro gives nothing", "select 1 from t &inactive&inactive", "select 1 from t "},
        {"value inserted verbatim, not expanded again", "decode(x, 0, &vNo)", "decode(x, 0, 'Нет')"},
        {"name characters $ # and digits", "&a$b#1.c", "X.c"},
        {"ampersand without a name", "a & b && c &", "a & b && c &"},
        {"double ampersand before a name", "&&shema", "&tev"},
        {"strings, quoted names and comments untouched",
         "'&shema' \"&shema\" -- &shema\n/* &shema */ 'it''s &x' &shema",
         "'&shema' \"&shema\" -- &shema\n/* &shema */ 'it''s &x' tev"},
        {"no macro at all", "select 1", "select 1"},
        {"empty text", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(expand(c.sql), c.expected);
    }
}

TEST(MacroExpanderTest, PassesNamesAsWritten)
{
    Macros m = portalMacros();
    db::expandMacros("&SHEMA.t &Order", std::ref(m));
    EXPECT_EQ(m.asked, QStringList({"SHEMA", "Order"}));
}

TEST(MacroExpanderTest, UnknownMacroNamesItself)
{
    try {
        expand("select * from &shema.t where a = &LangID");
        FAIL() << "no error for an unknown macro";
    } catch (const db::DbError& e) {
        EXPECT_NE(std::string(e.what()).find("LangID"), std::string::npos) << e.what();
    }
    // Unknown names inside strings and comments are never looked up.
    EXPECT_NO_THROW(expand("select '&nothere' -- &nothere\n from t"));
}

TEST(MacroExpanderTest, ListsMacroNames)
{
    EXPECT_EQ(db::macroNames("select &shema.a, '&quoted', &SHEMA.b &ORDER &FIELD -- &comment"),
              QStringList({"shema", "ORDER", "FIELD"}));
    EXPECT_TRUE(db::macroNames("select 1 & 2").isEmpty());
}
