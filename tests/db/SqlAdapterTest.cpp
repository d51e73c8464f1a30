#include "db/SqlAdapter.h"

#include "db/MacroExpander.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

using db::AdaptedSql;
using db::adaptOracleSql;

static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

struct Case
{
    const char* name;
    QString sql;
    QString expected;
    QStringList params = {};
};

void expectStatements(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AdaptedSql a = adaptOracleSql(c.sql);
        EXPECT_EQ(a.kind, AdaptedSql::Kind::Statement);
        EXPECT_EQ(a.text, c.expected);
        EXPECT_EQ(a.params, c.params);
    }
}

// The console's texts as the session expands them: scheme "tev" and catalogue texts quoted.
QString expanded(const QString& sql, const QString& field = QString())
{
    const QHash<QString, QString> values = {
        {"shema", "tev"},
        {"order", "ORDER BY"},
        {"field", field},
        {"langid", "25"},
        {"vno", "'No'"},
        {"vyes", "'Yes'"},
        {"vclientaccess", "'Client'"},
        {"vallcardsallaccounts", "'All'"},
        {"vcardsallaccounts", "'CardsAll'"},
        {"vcards", "'Cards'"},
        {"vcreated", "'Created'"},
        {"vinvited", "'Invited'"},
        {"vnotsubscribes", "'NotSubscribed'"},
        {"vsubscribe", "'Subscribed'"},
        {"vblocked", "'Blocked'"},
        {"vunknown", "'Unknown'"},
    };
    return db::expandMacros(sql, [&](const QString& name) -> std::optional<QString> {
        const auto it = values.find(name.toLower());
        return it == values.end() ? std::nullopt : std::optional<QString>(*it);
    });
}

} // namespace

TEST(SqlAdapterTest, BindsBecomeNumberedParameters)
{
    expectStatements({
        {"numbered in order of first use, a repeated name keeps its number",
         "select * from t where a = :pID and b = :pLangId or c = :PID",
         "select * from t where a = $1 and b = $2 or c = $1",
         {"pID", "pLangId"}},
        {"numeric bind names", "select :1, :2 from t", "select $1, $2 from t", {"1", "2"}},
        {"name characters $ and #", "x = :a$b#c", "x = $1", {"a$b#c"}},
        {"bind right after an operator", "a=:x||:y", "a=CONCAT($1::text, $2::text)", {"x", "y"}},
    });
}

TEST(SqlAdapterTest, NeverMangles)
{
    expectStatements({
        {"cast", "select a::text, b :: int from t", "select a::text, b :: int from t"},
        {"assignment", "v := :x", "v := $1", {"x"}},
        {"binds and functions inside a string",
         "select ':x $1 NVL(a, b) decode(a,1,2) (+)', :y from t",
         "select ':x $1 NVL(a, b) decode(a,1,2) (+)', $1 from t",
         {"y"}},
        {"doubled quote inside a string", "select 'it''s :x', 'a'':b' from t",
         "select 'it''s :x', 'a'':b' from t"},
        {"quoted identifiers", R"(select "NVL"(1), "a:b", "x""y:z" from t)",
         R"(select "NVL"(1), "a:b", "x""y:z" from t)"},
        {"comments", "select a -- :x nvl(\n, b /* :y decode(a,1,2) */ from t",
         "select a -- :x nvl(\n, b /* :y decode(a,1,2) */ from t"},
        {"spacing and line breaks", "SELECT\ta ,\r\n  b\n\nFROM   t\n", "SELECT\ta ,\r\n  b\n\nFROM   t\n"},
        {"dollar text outside strings", "select a$1, $1 from t", "select a$1, $1 from t"},
        {"Oracle q-quote", "select q'[it's :x]', nq'{:y}' from t", "select q'[it's :x]', nq'{:y}' from t"},
        {"|| inside strings, quoted names and comments", R"(select 'a||b', "x||y" /* c || d */ from t)",
         R"(select 'a||b', "x||y" /* c || d */ from t)"},
        {"unterminated string", "select 'abc :x", "select 'abc :x"},
        {"unbalanced parentheses", "select decode(a, 1, (2) from t where (x",
         "select decode(a, 1, (2) from t where (x"},
        {"stray closing parenthesis", "select a) from t, u where u.x(+) = t.x",
         "select a) from t, u where u.x(+) = t.x"},
        {"empty text", "", ""},
    });
}

TEST(SqlAdapterTest, NvlBecomesCoalesce)
{
    expectStatements({
        {"upper case", "NVL(a, 0)", "COALESCE(a, 0)"},
        {"lower case, blank before the parenthesis", "nvl (a,0)", "COALESCE (a,0)"},
        {"nested", "nvl(nvl(a, b), 0)", "COALESCE(COALESCE(a, b), 0)"},
        {"a column named nvl", "select t.nvl, nvl from t", "select t.nvl, nvl from t"},
        {"a package function named nvl", "pkg.nvl(a, 0)", "pkg.nvl(a, 0)"},
        {"other names", "nvl2(a, b, c), nvlx(a)", "nvl2(a, b, c), nvlx(a)"},
    });
}

TEST(SqlAdapterTest, DecodeBecomesCase)
{
    expectStatements({
        {"number search values and default", "DECODE(TT.MARK, 1, '+', '-' )",
         "CASE WHEN TT.MARK IS NOT DISTINCT FROM 1 THEN '+' ELSE '-' END"},
        {"several pairs, no default", "decode(s, 1, 'a', 2, 'b')",
         "CASE WHEN s IS NOT DISTINCT FROM 1 THEN 'a' WHEN s IS NOT DISTINCT FROM 2 THEN 'b' END"},
        {"NULL search value", "DECODE(L.CARD_HOLDER_ID, NULL, c.wbc_email, l.email)",
         "CASE WHEN L.CARD_HOLDER_ID IS NULL THEN c.wbc_email ELSE l.email END"},
        {"string and signed number literals", "decode(f, 'Y', 1, -1, 2, 0)",
         "CASE WHEN f IS NOT DISTINCT FROM 'Y' THEN 1 WHEN f IS NOT DISTINCT FROM -1 THEN 2 ELSE 0 END"},
        {"column search value compared as text", "decode(l.lng_id, v.lng_id, 1, 0 )",
         "CASE WHEN (l.lng_id)::text IS NOT DISTINCT FROM (v.lng_id)::text THEN 1 ELSE 0 END"},
        {"bind search value compared as text",
         "decode(a, :p, 1, 0)",
         "CASE WHEN (a)::text IS NOT DISTINCT FROM ($1)::text THEN 1 ELSE 0 END",
         {"p"}},
        {"bind as expression",
         "decode(:rpt, 0, trim(v.wbc_name), trim(v.name_for_report))",
         "CASE WHEN $1 IS NOT DISTINCT FROM 0 THEN trim(v.wbc_name) ELSE trim(v.name_for_report) END",
         {"rpt"}},
        {"compound expression kept together", "DECODE(a + b, 1, 2)",
         "CASE WHEN (a + b) IS NOT DISTINCT FROM 1 THEN 2 END"},
        {"commas inside arguments", "decode(f(a, b), 1, g(c, d), h(e, f))",
         "CASE WHEN f(a, b) IS NOT DISTINCT FROM 1 THEN g(c, d) ELSE h(e, f) END"},
        {"nested in a result", "decode(t.clientislnr,1, '-', decode(t.allow_use_api, 0, 'N', 'Y' ) )",
         "CASE WHEN t.clientislnr IS NOT DISTINCT FROM 1 THEN '-' ELSE CASE WHEN t.allow_use_api IS NOT "
         "DISTINCT FROM 0 THEN 'N' ELSE 'Y' END END"},
        {"nested as the expression", "DECODE(DECODE(a, 1, 2, 3), 2, 'x')",
         "CASE WHEN CASE WHEN a IS NOT DISTINCT FROM 1 THEN 2 ELSE 3 END IS NOT DISTINCT FROM 2 THEN 'x' "
         "END"},
        {"inside function arguments",
         "nvl(decode(:rpt, 0, trim(a), trim(b)), a)",
         "COALESCE(CASE WHEN $1 IS NOT DISTINCT FROM 0 THEN trim(a) ELSE trim(b) END, a)",
         {"rpt"}},
        {"subquery as result", "DECODE(t.o, 0, (SELECT MAX(t1.o) FROM x t1) + 1, t.o) o",
         "CASE WHEN t.o IS NOT DISTINCT FROM 0 THEN (SELECT MAX(t1.o) FROM x t1) + 1 ELSE t.o END o"},
        {"line comment inside an argument keeps its line break", "decode(a -- note\n, 1, 2)",
         "CASE WHEN a -- note\n IS NOT DISTINCT FROM 1 THEN 2 END"},
        {"too few arguments stay", "decode(a, b)", "decode(a, b)"},
        {"a package function named decode", "pkg.decode(a, 1, 2)", "pkg.decode(a, 1, 2)"},
    });
}

// Oracle's || skips NULLs, PostgreSQL's yields NULL: every chain becomes CONCAT.
TEST(SqlAdapterTest, ConcatenationBecomesConcat)
{
    expectStatements({
        {"caption with a column that may be NULL, quoted alias",
         R"(SELECT '[' || V.EMITENT_NUMBER || ', ' || V.FILIAL_NUMBER || '] ' || V.EMITENT_NAME AS "EM_FULL_NAME" FROM t V)",
         R"(SELECT CONCAT('[', V.EMITENT_NUMBER, ', ', V.FILIAL_NUMBER, '] ', V.EMITENT_NAME) AS "EM_FULL_NAME" FROM t V)"},
        {"no blanks around ||, to_char kept",
         "SELECT '['||TO_CHAR(E.EMITENT_NUMBER,'FM0000')||', '||E.FILIAL_NUMBER||']' FROM t E",
         "SELECT CONCAT('[', TO_CHAR(E.EMITENT_NUMBER,'FM0000'), ', ', E.FILIAL_NUMBER, ']') FROM t E"},
        {"alias without AS ends the chain", "select a || b label, c||d \"Q\", e from t",
         "select CONCAT(a, b) label, CONCAT(c, d) \"Q\", e from t"},
        {"operators binding tighter stay inside an operand",
         "select -a.x::text || b * 2 + 1 || (c || d) || e.f(g) || 'z' from t",
         "select CONCAT(-a.x::text, b * 2 + 1, (CONCAT(c, d)), e.f(g), 'z') from t"},
        {"nested chains in function arguments",
         "select upper(a || b) || lower(c || d), f(x, y || z, w) from t",
         "select CONCAT(upper(CONCAT(a, b)), lower(CONCAT(c, d))), f(x, CONCAT(y, z), w) from t"},
        {"CASE as an operand, chains inside its branches",
         "select case a || b when 'x' then c || d else e || f end || g from t",
         "select CONCAT(case CONCAT(a, b) when 'x' then CONCAT(c, d) else CONCAT(e, f) end, g) from t"},
        {"conditions end at comparisons and keywords",
         "select * from t where a || b = :p and c like :q || '%' or x || y is null or z || 'k' in (1)",
         "select * from t where CONCAT(a, b) = $1 and c like CONCAT($2::text, '%') or CONCAT(x, y) is null "
         "or CONCAT(z, 'k') in (1)",
         {"p", "q"}},
        {"GROUP BY and ORDER BY", "select a || b from t group by a || b order by a || b desc, c",
         "select CONCAT(a, b) from t group by CONCAT(a, b) order by CONCAT(a, b) desc, c"},
        {"subquery operand and UNION branches",
         "select 'a' || (select max(x) || 'y' from u) || b from t union select c || d from v",
         "select CONCAT('a', (select CONCAT(max(x), 'y') from u), b) from t union select CONCAT(c, d) from "
         "v"},
        {"analytic call stays one operand",
         "select 'n' || count(*) over (partition by a || b) x, listagg(c, ',') within group (order by c) || "
         "'z' "
         "from t",
         "select CONCAT('n', count(*) over (partition by CONCAT(a, b))) x, CONCAT(listagg(c, ',') within "
         "group "
         "(order by c), 'z') from t"},
        {"comments inside the chain kept", "select a /* x */ || -- y\n b from t",
         "select CONCAT(a /* x */, -- y\n b) from t"},
        {"with NVL, DECODE, package calls and FROM DUAL",
         "select nvl(a, 'x') || decode(b, 1, 'y', 'z') || s.tev_utils.f(c || :d) from dual",
         "select CONCAT(COALESCE(a, 'x'), CASE WHEN b IS NOT DISTINCT FROM 1 THEN 'y' ELSE 'z' END, "
         "s.tev_utils__f(CONCAT(c, $1::text)))",
         {"d"}},
        {"chains as DECODE arguments", "decode(a || b, 'x', c || d, e)",
         "CASE WHEN (CONCAT(a, b)) IS NOT DISTINCT FROM 'x' THEN CONCAT(c, d) ELSE e END"},
        {"with an outer join", "select a.x || b.y from a, b where b.k(+) || 'x' = a.k and a.z = a.w || '1'",
         "select CONCAT(a.x, b.y) from a LEFT JOIN b ON (CONCAT(b.k, 'x') = a.k) where a.z = CONCAT(a.w, "
         "'1')"},
        {"an operand missing: left as written", "select || a, b || from t", "select || a, b || from t"},
    });
}

TEST(SqlAdapterTest, PackageMembersBecomeFlatRoutines)
{
    expectStatements({
        {"scheme prefix, any case",
         "TEV.TEV_UTILS.Trans_Text(a, :l, 1)",
         "tev.tev_utils__trans_text(a, $1, 1)",
         {"l"}},
        {"lower-case package", "s.tev_utils.calc_md5(x)", "s.tev_utils__calc_md5(x)"},
        {"no scheme", "tev_utils.get_first_emitent()", "tev_utils__get_first_emitent()"},
        {"blank before the parenthesis", "S.TEV_UTILS.F (1)", "s.tev_utils__f (1)"},
        {"nested calls", "s.tev_utils.a(s.tev_utils.b(1))", "s.tev_utils__a(s.tev_utils__b(1))"},
        {"not a call", "select s.tev_utils.x from t", "select s.tev_utils.x from t"},
        {"another package", "s.other_pkg.f(1)", "s.other_pkg.f(1)"},
    });
}

TEST(SqlAdapterTest, OuterJoinsBecomeAnsiJoins)
{
    expectStatements({
        {"one optional table, constant condition in ON",
         "SELECT a.x, b.y FROM t a, u b WHERE b.k(+) = a.k AND b.c(+) = 4 AND a.z = :p",
         "SELECT a.x, b.y FROM t a LEFT JOIN u b ON (b.k = a.k AND b.c = 4) WHERE a.z = $1",
         {"p"}},
        {"(+) on the right-hand side, blanks inside the mark", "select * from t a, u b where a.k = b.k ( + )",
         "select * from t a LEFT JOIN u b ON (a.k = b.k)"},
        {"plain tables cross joined first", "SELECT * FROM a, o, b WHERE a.id = b.id AND o.k(+) = b.k",
         "SELECT * FROM a CROSS JOIN b LEFT JOIN o ON (o.k = b.k) WHERE a.id = b.id"},
        {"optional tables ordered by what their ON reads",
         "SELECT * FROM a, c, b WHERE c.x(+) = b.y AND b.z(+) = a.w",
         "SELECT * FROM a LEFT JOIN b ON (b.z = a.w) LEFT JOIN c ON (c.x = b.y)"},
        {"table without alias, name case-insensitive",
         "select * from s.tab, s.other o where TAB.id = o.id(+)",
         "select * from s.tab LEFT JOIN s.other o ON (TAB.id = o.id)"},
        {"BETWEEN and OR stay whole",
         "select * from m v, p p where v.d between :a and :b and (v.t = :t or :t = -1) and p.id(+) = v.t",
         "select * from m v LEFT JOIN p p ON (p.id = v.t) where v.d between $1 and $2 AND (v.t = $3 or $3 = "
         "-1)",
         {"a", "b", "t"}},
        {"parenthesised conjunctions looked through",
         "select * from a, b where (a.k = b.k(+) and (b.c(+) = 1))",
         "select * from a LEFT JOIN b ON (a.k = b.k AND b.c = 1)"},
        {"CASE with AND inside a condition",
         "select * from a, b where case when a.x = 1 and a.y = 2 then 1 end = 1 and b.k(+) = a.k",
         "select * from a LEFT JOIN b ON (b.k = a.k) where case when a.x = 1 and a.y = 2 then 1 end = 1"},
        {"clauses after WHERE keep their place",
         "select a.g, count(b.x) from a, b where b.k(+) = a.k group by a.g\norder by 1",
         "select a.g, count(b.x) from a LEFT JOIN b ON (b.k = a.k) group by a.g\norder by 1"},
        {"subquery in the WHERE converted on its own",
         "select * from t where exists (select 1 from a, b where b.k(+) = a.k and a.t = t.id) and t.x = 1",
         "select * from t where exists (select 1 from a LEFT JOIN b ON (b.k = a.k) where a.t = t.id) and t.x "
         "= 1"},
        {"subquery as FROM item with its own join",
         "select * from (select a.k from a, b where b.k(+) = a.k) v, c where c.k(+) = v.k",
         "select * from (select a.k from a LEFT JOIN b ON (b.k = a.k)) v LEFT JOIN c ON (c.k = v.k)"},
        {"each branch of a UNION",
         "select a.x from a, b where b.k(+) = a.k union select c.x from c, d where d.k(+) = c.k",
         "select a.x from a LEFT JOIN b ON (b.k = a.k) union select c.x from c LEFT JOIN d ON (d.k = c.k)"},
        {"unqualified column cannot be placed", "select * from a, b where k(+) = a.k",
         "select * from a, b where k(+) = a.k"},
        {"unknown qualifier cannot be placed", "select * from a, b where z.k(+) = a.k",
         "select * from a, b where z.k(+) = a.k"},
        {"ANSI joins are left alone", "select * from a join b on a.k = b.k where b.c(+) = 1",
         "select * from a join b on a.k = b.k where b.c(+) = 1"},
    });
}

TEST(SqlAdapterTest, DualAndUnnamedSubqueries)
{
    expectStatements({
        {"FROM DUAL dropped", "SELECT 1 FROM DUAL", "SELECT 1"},
        {"FROM dual before WHERE", "select :a from dual where 1 = 1", "select $1 where 1 = 1", {"a"}},
        {"FROM SYS.DUAL in a UNION",
         "SELECT -1 type_id, 'All' type_name FROM SYS.DUAL\nUNION SELECT t.type_id, t.type_name FROM x t",
         "SELECT -1 type_id, 'All' type_name\nUNION SELECT t.type_id, t.type_name FROM x t"},
        {"a table named like dual", "select 1 from dual_x, t dual", "select 1 from dual_x, t dual"},
        {"subquery without a name gets one", "SELECT * FROM (SELECT 1 AS a FROM t ) ORDER BY a",
         "SELECT * FROM (SELECT 1 AS a FROM t ) AS _sub1 ORDER BY a"},
        {"each unnamed subquery its own name", "select * from (select 1 a), (select 2 b) x, (select 3 c)",
         "select * from (select 1 a) AS _sub1, (select 2 b) x, (select 3 c) AS _sub2"},
        {"subqueries elsewhere need no name", "select (select 1) from t where t.a in (select 1)",
         "select (select 1) from t where t.a in (select 1)"},
    });
}

// The shared queries whose texts use Oracle outer joins, as the session runs them.
TEST(SqlAdapterTest, SharedQueriesWithOuterJoins)
{
    expectStatements({
        {"qryLogins",
         expanded(
             "SELECT * FROM (SELECT L.WBL_ID AS ID, L.WBL_IS_ACTIVE, L.WBL_IS_JOURNALISING, "
             "DECODE(L.WBL_IS_ACTIVE, 0, &vNo, &vYes) AS IS_ACTIVE, DECODE(L.WBL_IS_JOURNALISING, 0, &vNo, "
             "&vYes) AS IS_JOURNALISING, L.WBL_LOGIN_MD5 AS WBL_LOGIN, DECODE(L.CARD_HOLDER_ID, NULL, "
             "c.wbc_email, l.email) AS email, L.CARD_HOLDER_ID, DECODE(L.CARD_HOLDER_ID, NULL, "
             "&vClientAccess, H.CARD_HOLDER_NAME ) AS CARD_HOLDER_NAME, NVL(H.STATEHOLDER, 0) AS "
             "STATEHOLDER, DECODE(NVL(H.STATEHOLDER, 0), 0, &vAllCardsAllAccounts, 1, &vCardsAllAccounts, "
             "2, &vCards, NULL ) AS STATEHOLDERNAME, l.wbl_temp_password as is_temp FROM "
             "&shema.v_tev_WEB_LOGINS L, &shema.v_TEV_CARD_HOLDER H, &shema.V_TEV_WEB_CLIENTS c WHERE "
             "L.WBL_WEB_CLIENT_ID = :pID AND H.CARD_HOLDER_ID(+) = L.CARD_HOLDER_ID AND c.wbc_id = "
             "l.wbl_web_client_id ) &ORDER &FIELD",
             "ID"),
         "SELECT * FROM (SELECT L.WBL_ID AS ID, L.WBL_IS_ACTIVE, L.WBL_IS_JOURNALISING, CASE WHEN "
         "L.WBL_IS_ACTIVE IS NOT DISTINCT FROM 0 THEN 'No' ELSE 'Yes' END AS IS_ACTIVE, CASE WHEN "
         "L.WBL_IS_JOURNALISING IS NOT DISTINCT FROM 0 THEN 'No' ELSE 'Yes' END AS IS_JOURNALISING, "
         "L.WBL_LOGIN_MD5 AS WBL_LOGIN, CASE WHEN L.CARD_HOLDER_ID IS NULL THEN c.wbc_email ELSE l.email END "
         "AS email, L.CARD_HOLDER_ID, CASE WHEN L.CARD_HOLDER_ID IS NULL THEN 'Client' ELSE "
         "H.CARD_HOLDER_NAME END AS CARD_HOLDER_NAME, COALESCE(H.STATEHOLDER, 0) AS STATEHOLDER, CASE WHEN "
         "COALESCE(H.STATEHOLDER, 0) IS NOT DISTINCT FROM 0 THEN 'All' WHEN COALESCE(H.STATEHOLDER, 0) IS "
         "NOT "
         "DISTINCT FROM 1 THEN 'CardsAll' WHEN COALESCE(H.STATEHOLDER, 0) IS NOT DISTINCT FROM 2 THEN "
         "'Cards' "
         "ELSE NULL END AS STATEHOLDERNAME, l.wbl_temp_password as is_temp FROM tev.v_tev_WEB_LOGINS L CROSS "
         "JOIN tev.V_TEV_WEB_CLIENTS c LEFT JOIN tev.v_TEV_CARD_HOLDER H ON (H.CARD_HOLDER_ID = "
         "L.CARD_HOLDER_ID) WHERE L.WBL_WEB_CLIENT_ID = $1 AND c.wbc_id = l.wbl_web_client_id ) AS _sub1 "
         "ORDER BY ID",
         {"pID"}},
        {"oquTrnTypes",
         expanded(
             "SELECT TT.TRNTYPE_NUMBER, &shema.TEV_UTILS.TRANS_TEXT(TT.TRNTYPE_NAME, &LangID, 1) as "
             "TRNTYPE_NAME, NVL(TE.ISVISIBLE, 1) AS ISVISIBLE, DECODE(TT.MARK, 1, '+', '-' ) AS MARK FROM "
             "&shema.v_tev_TRNTYPE TT, &shema.v_tev_TRNTYPE_EMITENT TE WHERE TE.EMITENT_ID_WEB(+) = "
             ":emitent_id AND TE.TRNTYPE_NUMBER(+) = TT.TRNTYPE_NUMBER &ORDER &FIELD",
             "TRNTYPE_NUMBER"),
         "SELECT TT.TRNTYPE_NUMBER, tev.tev_utils__trans_text(TT.TRNTYPE_NAME, 25, 1) as TRNTYPE_NAME, "
         "COALESCE(TE.ISVISIBLE, 1) AS ISVISIBLE, CASE WHEN TT.MARK IS NOT DISTINCT FROM 1 THEN '+' ELSE '-' "
         "END AS MARK FROM tev.v_tev_TRNTYPE TT LEFT JOIN tev.v_tev_TRNTYPE_EMITENT TE ON (TE.EMITENT_ID_WEB "
         "= "
         "$1 AND TE.TRNTYPE_NUMBER = TT.TRNTYPE_NUMBER) ORDER BY TRNTYPE_NUMBER",
         {"emitent_id"}},
        {"oqFeedBackTypes",
         expanded("SELECT V.type_id, DECODE(p.PHRASE, NULL, v.TYPE_NAME, p.PHRASE) type_name FROM "
                  "&shema.V_TEV_TYPE_FEEDBACK_MSG V, &shema.V_TEV_PHRASES P WHERE v.TYPE_ID = p.id(+) AND "
                  "p.TYPE_ID(+) = 4 AND p.LANG_ID(+) = :pLang &ORDER &FIELD",
                  "type_id"),
         "SELECT V.type_id, CASE WHEN p.PHRASE IS NULL THEN v.TYPE_NAME ELSE p.PHRASE END type_name FROM "
         "tev.V_TEV_TYPE_FEEDBACK_MSG V LEFT JOIN tev.V_TEV_PHRASES P ON (v.TYPE_ID = p.id AND p.TYPE_ID = 4 "
         "AND p.LANG_ID = $1) ORDER BY type_id",
         {"pLang"}},
        {"oqMaxLimitsClient",
         expanded(
             "SELECT t.service_id_web, t.service_id, t.service_name, t.is_currency, "
             "DECODE(t.max_day_limit, NULL, t.def_max_day_limit, t.max_day_limit) AS max_day_limit, "
             "DECODE(t.max_day_limit, NULL, 1, 0) AS is_day_def_val, DECODE(t.max_week_limit, NULL, "
             "t.def_max_week_limit, t.max_week_limit) AS max_week_limit, DECODE(t.max_week_limit, NULL, 1, "
             "0) AS is_week_def_val, DECODE(t.max_month_limit, NULL, t.def_max_month_limit, "
             "t.max_month_limit) AS max_month_limit, DECODE(t.max_month_limit, NULL, 1, 0) AS "
             "is_month_def_val FROM (SELECT srv.service_id_web, srv.service_id, srv.service_name, "
             "srv.is_currency, lim.max_day_limit AS max_day_limit, NVL(srv.max_day_limit, 0) AS "
             "def_max_day_limit, lim.max_week_limit AS max_week_limit, NVL(srv.max_week_limit, 0) AS "
             "def_max_week_limit, lim.max_month_limit AS max_month_limit, NVL(srv.max_month_limit, 0) AS "
             "def_max_month_limit, :pClientIDWeb AS web_client_id, srv.emitent_id_web FROM "
             "&shema.v_tev_max_limits lim, &shema.v_tev_service srv WHERE lim.service_id_web(+) = "
             "srv.service_id_web AND lim.client_id_web(+) = :pClientIDWeb AND srv.service_is_active = 1) "
             "t, &shema.v_tev_web_clients cl WHERE cl.wbc_id = t.web_client_id AND cl.wbc_emitent_id = "
             "t.emitent_id_web ORDER BY t.service_id"),
         "SELECT t.service_id_web, t.service_id, t.service_name, t.is_currency, CASE WHEN t.max_day_limit IS "
         "NULL THEN t.def_max_day_limit ELSE t.max_day_limit END AS max_day_limit, CASE WHEN t.max_day_limit "
         "IS NULL THEN 1 ELSE 0 END AS is_day_def_val, CASE WHEN t.max_week_limit IS NULL THEN "
         "t.def_max_week_limit ELSE t.max_week_limit END AS max_week_limit, CASE WHEN t.max_week_limit IS "
         "NULL "
         "THEN 1 ELSE 0 END AS is_week_def_val, CASE WHEN t.max_month_limit IS NULL THEN "
         "t.def_max_month_limit "
         "ELSE t.max_month_limit END AS max_month_limit, CASE WHEN t.max_month_limit IS NULL THEN 1 ELSE 0 "
         "END "
         "AS is_month_def_val FROM (SELECT srv.service_id_web, srv.service_id, srv.service_name, "
         "srv.is_currency, lim.max_day_limit AS max_day_limit, COALESCE(srv.max_day_limit, 0) AS "
         "def_max_day_limit, lim.max_week_limit AS max_week_limit, COALESCE(srv.max_week_limit, 0) AS "
         "def_max_week_limit, lim.max_month_limit AS max_month_limit, COALESCE(srv.max_month_limit, 0) AS "
         "def_max_month_limit, $1 AS web_client_id, srv.emitent_id_web FROM tev.v_tev_service srv LEFT JOIN "
         "tev.v_tev_max_limits lim ON (lim.service_id_web = srv.service_id_web AND lim.client_id_web = $1) "
         "WHERE srv.service_is_active = 1) t, tev.v_tev_web_clients cl WHERE cl.wbc_id = t.web_client_id AND "
         "cl.wbc_emitent_id = t.emitent_id_web ORDER BY t.service_id",
         {"pClientIDWeb"}},
        {"phrase translations, one line per clause",
         expanded(
             "SELECT l.lng_id,\n       l.lng_lang_name_trans,\n       p.phrase\nFROM   &shema.v_tev_phrases "
             "p,\n       &shema.v_tev_langs   l\nWHERE  p.lang_id(+) = l.lng_id\nAND    p.type_id(+) = "
             ":pTypeId\nAND    p.id(+) = :pPhraseId\n&ORDER &FIELD",
             "lng_id"),
         "SELECT l.lng_id,\n       l.lng_lang_name_trans,\n       p.phrase\nFROM tev.v_tev_langs   l LEFT "
         "JOIN "
         "tev.v_tev_phrases p ON (p.lang_id = l.lng_id AND p.type_id = $1 AND p.id = $2)\nORDER BY lng_id",
         {"pTypeId", "pPhraseId"}},
    });
}

// The shared queries that build captions with ||.
TEST(SqlAdapterTest, SharedQueriesWithConcatenation)
{
    expectStatements({
        {"oqEmitentPos",
         expanded(
             "SELECT NVL(E.POS_VISIBLE, 0) AS ISVISIBLE, '['||TO_CHAR(E.EMITENT_NUMBER,'FM0000')||', "
             "'||NVL(E.FILIAL_NUMBER,0)||'] '||E.EMITENT_NAME AS EMITENT_NAME, "
             "'['||TO_CHAR(E.EMITENT_NUMBER,'FM0000')||', '||NVL(E.FILIAL_NUMBER,0)||']' AS EMITENT_NUM, "
             "E.EMITENT_ID_WEB FROM &SHEMA.V_TEV_POS P, &SHEMA.V_TEV_EMITENT E WHERE E.EMITENT_ID_WEB = "
             "P.EMITENT_ID_WEB AND P.EMITENT_ID_WEB_OWNER = :P_EMITENT_ID_WEB_OWNER AND E.EMITENT_ID_WEB <> "
             ":P_EMITENT_ID_WEB_OWNER GROUP BY E.EMITENT_NUMBER, E.FILIAL_NUMBER, E.POS_VISIBLE, "
             "E.EMITENT_NAME, E.EMITENT_ID_WEB &ORDER &FIELD",
             "E.EMITENT_NUMBER,\r\nE.FILIAL_NUMBER"),
         "SELECT COALESCE(E.POS_VISIBLE, 0) AS ISVISIBLE, CONCAT('[', TO_CHAR(E.EMITENT_NUMBER,'FM0000'), ', "
         "', "
         "COALESCE(E.FILIAL_NUMBER,0), '] ', E.EMITENT_NAME) AS EMITENT_NAME, CONCAT('[', "
         "TO_CHAR(E.EMITENT_NUMBER,'FM0000'), ', ', COALESCE(E.FILIAL_NUMBER,0), ']') AS EMITENT_NUM, "
         "E.EMITENT_ID_WEB FROM tev.V_TEV_POS P, tev.V_TEV_EMITENT E WHERE E.EMITENT_ID_WEB = "
         "P.EMITENT_ID_WEB "
         "AND P.EMITENT_ID_WEB_OWNER = $1 AND E.EMITENT_ID_WEB <> $1 GROUP BY E.EMITENT_NUMBER, "
         "E.FILIAL_NUMBER, E.POS_VISIBLE, E.EMITENT_NAME, E.EMITENT_ID_WEB ORDER BY E.EMITENT_NUMBER,\r\n"
         "E.FILIAL_NUMBER",
         {"P_EMITENT_ID_WEB_OWNER"}},
        {"oqEmitentSecurity",
         expanded(
             "SELECT '[' || TO_CHAR(e.emitent_number, 'FM0000') || ', ' || NVL(e.filial_number, 0) || '] ' "
             "|| e.emitent_name AS emitent_name, '[' || TO_CHAR(e.emitent_number, 'FM0000') || ', ' || "
             "NVL(e.filial_number, 0) || ']' AS emitent_num, p.USE_IMPORT_CRYPT, p.use_export_crypt, "
             "p.EXPORT_KEY_DATA, e.emitent_id_web FROM &SHEMA.v_tev_emitent e, &SHEMA.v_tev_emitent_params "
             "p WHERE e.emitent_number = e.emitent_num_owner AND e.filial_number = e.filial_num_owner AND "
             "e.emitent_id_web = p.EMITENT_ID ORDER BY e.emitent_number, e.filial_number, e.emitent_name, "
             "e.emitent_id_web"),
         "SELECT CONCAT('[', TO_CHAR(e.emitent_number, 'FM0000'), ', ', COALESCE(e.filial_number, 0), '] ', "
         "e.emitent_name) AS emitent_name, CONCAT('[', TO_CHAR(e.emitent_number, 'FM0000'), ', ', "
         "COALESCE(e.filial_number, 0), ']') AS emitent_num, p.USE_IMPORT_CRYPT, p.use_export_crypt, "
         "p.EXPORT_KEY_DATA, e.emitent_id_web FROM tev.v_tev_emitent e, tev.v_tev_emitent_params p WHERE "
         "e.emitent_number = e.emitent_num_owner AND e.filial_number = e.filial_num_owner AND "
         "e.emitent_id_web "
         "= p.EMITENT_ID ORDER BY e.emitent_number, e.filial_number, e.emitent_name, e.emitent_id_web"},
        {"oqLogins",
         expanded(
             "SELECT wl.wbl_id, wl.wbl_login_md5 AS lgn, DECODE(wl.wbl_password_md5, "
             "&shema.tev_utils.calc_md5(wc.wbc_id || wl.wbl_login_md5), wc.wbc_id || wl.wbl_login_md5, "
             "&shema.tev_utils.calc_md5(wl.wbl_login_md5), wl.wbl_login_md5, wc.wbc_id || wl.wbl_login_md5) "
             "AS pwd, DECODE(wl.wbl_password_md5, &shema.tev_utils.calc_md5(wc.wbc_id || wl.wbl_login_md5), "
             "0, &shema.tev_utils.calc_md5(wl.wbl_login_md5), 0, 1) AS flg, "
             "&shema.tev_utils.get_describe_date_end(wc.wbc_id) AS bdd, wc.wbc_name AS cln, "
             "wl.wbl_temp_password as is_temp FROM &shema.v_tev_web_clients wc, &shema.v_tev_web_logins wl "
             "WHERE wl.wbl_web_client_id = wc.wbc_id AND wc.wbc_id = :pid"),
         "SELECT wl.wbl_id, wl.wbl_login_md5 AS lgn, CASE WHEN (wl.wbl_password_md5)::text IS NOT DISTINCT "
         "FROM "
         "(tev.tev_utils__calc_md5(CONCAT(wc.wbc_id, wl.wbl_login_md5)))::text THEN CONCAT(wc.wbc_id, "
         "wl.wbl_login_md5) WHEN (wl.wbl_password_md5)::text IS NOT DISTINCT FROM "
         "(tev.tev_utils__calc_md5(wl.wbl_login_md5))::text THEN wl.wbl_login_md5 ELSE CONCAT(wc.wbc_id, "
         "wl.wbl_login_md5) END AS pwd, CASE WHEN (wl.wbl_password_md5)::text IS NOT DISTINCT FROM "
         "(tev.tev_utils__calc_md5(CONCAT(wc.wbc_id, wl.wbl_login_md5)))::text THEN 0 WHEN "
         "(wl.wbl_password_md5)::text IS NOT DISTINCT FROM (tev.tev_utils__calc_md5(wl.wbl_login_md5))::text "
         "THEN 0 ELSE 1 END AS flg, tev.tev_utils__get_describe_date_end(wc.wbc_id) AS bdd, wc.wbc_name AS "
         "cln, wl.wbl_temp_password as is_temp FROM tev.v_tev_web_clients wc, tev.v_tev_web_logins wl WHERE "
         "wl.wbl_web_client_id = wc.wbc_id AND wc.wbc_id = $1",
         {"pid"}},
    });
}

TEST(SqlAdapterTest, ClientsQuery)
{
    const QString sql = expanded(
        "select 0 isvisible, tbl.* from (SELECT t.wbc_name, t.wbc_email, t.wbc_description, t.black_list, "
        "t.state, t.wbc_id, t.wbc_petrol_id, t.wbc_petrol_type_id, t.clientislnr, t.clientisbonus, "
        "t.allow_use_api, decode(t.clientislnr,1, '-', decode(t.allow_use_api, 0, &vNo, &vYes ) ) as "
        "allow_use_api_txt, t.allow_unblock_card, decode(t.clientislnr,1, '-', decode(t.allow_unblock_card, "
        "0, "
        "&vNo, &vYes ) ) as allow_unblock_card_txt, t.allow_subscribe_on_sms, decode(t.clientislnr,1, '-', "
        "decode(t.allow_subscribe_on_sms, 0, &vNo, &vYes ) ) as allow_subscribe_on_sms_txt, "
        "t.allow_create_dr, "
        "decode(t.clientislnr,1, '-', decode(t.allow_create_dr, 0, &vNo, &vYes ) ) as allow_create_dr_txt, "
        "t.allow_create_dd, decode(t.clientislnr,1, '-', decode(t.allow_create_dd, 0, &vNo, &vYes ) ) as "
        "allow_create_dd_txt, t.allow_create_oil, decode(t.clientisbonus,1, '-', decode(t.clientislnr,1, "
        "'-', "
        "decode(t.allow_create_oil, 0, &vNo, &vYes ) ) ) as allow_create_oil_txt, decode(t.test_client, 0, "
        "&vNo, &vYes ) as test_client_str, t.test_client, t.WBC_UPDATE_EMAIL, decode(t.WBC_UPDATE_EMAIL, "
        "0,&vNo, &vYes ) as UPDATE_EMAIL_txt, t.ALLOW_CHANGE_HOLDER, decode(t.ALLOW_CHANGE_HOLDER, 0, &vNo, "
        "&vYes ) as ALLOW_CHANGE_HOLDER_TXT, t.ALLOW_LOST_CARD, decode(t.ALLOW_LOST_CARD, 0, &vNo, &vYes ) "
        "as "
        "ALLOW_LOST_CARD_TXT, t.allow_ch_onl_params, decode(t.clientisbonus,1, '-', decode(t.clientislnr,1, "
        "'-', decode(t.allow_ch_onl_params, 0, &vNo, &vYes ) ) ) as allow_ch_onl_params_txt, t.manager_email "
        "FROM (select nvl(decode(:rpt, 0, trim(v.wbc_name), trim(v.name_for_report)), v.wbc_name) as "
        "wbc_name, "
        "v.wbc_email, v.wbc_description, decode(v.wbc_in_blacklist, 0, &vNo, &vYes) as black_list, "
        "decode(v.wbc_client_state, 1, &vCreated, 2, &vInvited, 3, &vNotSubscribes, 4, &vSubscribe, 5, "
        "&vBlocked, &vUnknown) as state, v.wbc_id, v.wbc_petrol_id, DECODE(v.wbc_petrol_type_id, 3, 1, 4, 2, "
        "v.wbc_petrol_type_id) AS wbc_petrol_type_id, v.clientislnr, v.clientisbonus, v.allow_create_dr, "
        "v.allow_create_oil, v.test_client, v.WBC_UPDATE_EMAIL, V.ALLOW_CREATE_DD, V.ALLOW_CHANGE_HOLDER, "
        "V.ALLOW_LOST_CARD, V.allow_ch_onl_params, v.allow_subscribe_on_sms, v.allow_unblock_card, "
        "v.allow_use_api, v.manager_email from &shema.v_tev_web_clients v where wbc_emitent_id = :emitent_id "
        ") "
        "t ) tbl &ORDER &FIELD",
        "wbc_id");
    const AdaptedSql a = adaptOracleSql(sql);
    EXPECT_EQ(a.kind, AdaptedSql::Kind::Statement);
    EXPECT_EQ(a.params, QStringList({"rpt", "emitent_id"}));
    EXPECT_FALSE(a.text.contains(
        QRegularExpression("\\b(decode|nvl)\\b|:", QRegularExpression::CaseInsensitiveOption)));
    EXPECT_EQ(a.text.count("CASE WHEN"), sql.count("decode", Qt::CaseInsensitive));
    const QStringList fragments = {
        "select 0 isvisible, tbl.* from (SELECT t.wbc_name,",
        "CASE WHEN t.clientisbonus IS NOT DISTINCT FROM 1 THEN '-' ELSE CASE WHEN t.clientislnr IS NOT "
        "DISTINCT FROM 1 THEN '-' ELSE CASE WHEN t.allow_create_oil IS NOT DISTINCT FROM 0 THEN 'No' ELSE "
        "'Yes' END END END as allow_create_oil_txt",
        "FROM (select COALESCE(CASE WHEN $1 IS NOT DISTINCT FROM 0 THEN trim(v.wbc_name) ELSE "
        "trim(v.name_for_report) END, v.wbc_name) as wbc_name,",
        "CASE WHEN v.wbc_client_state IS NOT DISTINCT FROM 1 THEN 'Created' WHEN v.wbc_client_state IS NOT "
        "DISTINCT FROM 2 THEN 'Invited' WHEN v.wbc_client_state IS NOT DISTINCT FROM 3 THEN 'NotSubscribed' "
        "WHEN v.wbc_client_state IS NOT DISTINCT FROM 4 THEN 'Subscribed' WHEN v.wbc_client_state IS NOT "
        "DISTINCT FROM 5 THEN 'Blocked' ELSE 'Unknown' END as state",
        "CASE WHEN v.wbc_petrol_type_id IS NOT DISTINCT FROM 3 THEN 1 WHEN v.wbc_petrol_type_id IS NOT "
        "DISTINCT FROM 4 THEN 2 ELSE v.wbc_petrol_type_id END AS wbc_petrol_type_id",
        "from tev.v_tev_web_clients v where wbc_emitent_id = $2 ) t ) tbl ORDER BY wbc_id",
    };
    for (const QString& f : fragments)
        EXPECT_TRUE(a.text.contains(f)) << f.toStdString();
}

TEST(SqlAdapterTest, OneCallBlocksBecomeProcedureCalls)
{
    struct CallCase
    {
        const char* name;
        QString sql;
        QString text;
        QString routine;
        QStringList callArgs;
        QStringList params;
    };
    const std::vector<CallCase> cases = {
        {"emitent list with an output cursor",
         "begin tev.TEV_UTILS.GET_SELECTED_EMITENT(:P_ALL_EMITENT, :P_MANAGER_ID, :P_EMITENT_LIST); end;",
         "CALL tev.tev_utils__get_selected_emitent($1, $2, $3)",
         "tev.tev_utils__get_selected_emitent",
         {"P_ALL_EMITENT", "P_MANAGER_ID", "P_EMITENT_LIST"},
         {"P_ALL_EMITENT", "P_MANAGER_ID", "P_EMITENT_LIST"}},
        {"three lines",
         "begin\n  tev.TEV_UTILS.change_current_lang(:P_ID_LANG);\nend;",
         "CALL tev.tev_utils__change_current_lang($1)",
         "tev.tev_utils__change_current_lang",
         {"P_ID_LANG"},
         {"P_ID_LANG"}},
        {"no arguments",
         "begin tev.tev_utils.UpdateClients(); end;",
         "CALL tev.tev_utils__updateclients()",
         "tev.tev_utils__updateclients",
         {},
         {}},
        {"no parentheses, upper case, extra semicolons",
         "BEGIN S.TEV_UTILS.Refresh; END;;",
         "CALL s.tev_utils__refresh()",
         "s.tev_utils__refresh",
         {},
         {}},
        {"no package", "begin s.proc(:a, 1); end;", "CALL s.proc($1, 1)", "s.proc", {"a", ""}, {"a"}},
        {"no scheme", "begin TEV_UTILS.X(:a) ; end", "CALL tev_utils__x($1)", "tev_utils__x", {"a"}, {"a"}},
        {"expressions and a repeated bind",
         "begin s.tev_utils.f(:a, nvl(:b, 0), 'x:y', :A); end;",
         "CALL s.tev_utils__f($1, COALESCE($2, 0), 'x:y', $1)",
         "s.tev_utils__f",
         {"a", "", "", "A"},
         {"a", "b"}},
        {"concatenated argument",
         "begin s.tev_utils.f(:a || 'x'); end;",
         "CALL s.tev_utils__f(CONCAT($1::text, 'x'))",
         "s.tev_utils__f",
         {""},
         {"a"}},
    };
    for (const CallCase& c : cases) {
        SCOPED_TRACE(c.name);
        const AdaptedSql a = adaptOracleSql(c.sql);
        EXPECT_EQ(a.kind, AdaptedSql::Kind::ProcedureCall);
        EXPECT_EQ(a.text, c.text);
        EXPECT_EQ(a.routine, c.routine);
        EXPECT_EQ(a.callArgs, c.callArgs);
        EXPECT_EQ(a.params, c.params);
    }

    // Other blocks are no single call and stay as written.
    expectStatements({
        {"null statement", "begin null; end;", "begin null; end;"},
        {"two calls", "begin s.a(1); s.b(2); end;", "begin s.a(1); s.b(2); end;"},
        {"assignment", "begin :r := s.f(1); end;", "begin $1 := s.f(1); end;", {"r"}},
    });
}

TEST(SqlAdapterTest, AlterUserBecomesAlterRole)
{
    struct AlterCase
    {
        const char* name;
        QString sql;
        QString role; // empty: stays a statement as written
        QString password;
    };
    const std::vector<AlterCase> cases = {
        {"quoted password with a quote", R"(ALTER USER Tev IDENTIFIED BY "pa'ss")", "tev", "pa'ss"},
        {"unquoted password, semicolon", "alter user tev identified by Secret1;", "tev", "Secret1"},
        {"quoted user kept", R"(ALTER USER "Te""v" IDENTIFIED BY "x")", R"(Te"v)", "x"},
        {"binds, comments and doubled quotes inside the password",
         R"(ALTER USER u IDENTIFIED BY "a"":b--c/*")", "u", R"(a":b--c/*)"},
        // Unreadable changes keep no password, so the session refuses them and nothing is sent.
        {"empty password", R"(ALTER USER u IDENTIFIED BY "")", "u", ""},
        {"unterminated password", R"(ALTER USER u IDENTIFIED BY "abc)", "u", ""},
        {"trailing clauses", R"(ALTER USER u IDENTIFIED BY "p" ACCOUNT UNLOCK)", "u", ""},
        {"quote inside the password", R"(ALTER USER u IDENTIFIED BY "ab"c")", "u", ""},
        {"other authentication", "ALTER USER u IDENTIFIED EXTERNALLY", "u", ""},
        {"other ALTER USER", "ALTER USER u ACCOUNT LOCK", "", ""},
    };
    for (const AlterCase& c : cases) {
        SCOPED_TRACE(c.name);
        const AdaptedSql a = adaptOracleSql(c.sql);
        if (c.role.isEmpty()) {
            EXPECT_EQ(a.kind, AdaptedSql::Kind::Statement);
            EXPECT_EQ(a.text, c.sql);
        } else {
            EXPECT_EQ(a.kind, AdaptedSql::Kind::AlterUserPassword);
            EXPECT_EQ(a.role, c.role);
            EXPECT_EQ(a.password, c.password);
            // Nothing that could be sent as it stands carries the password.
            EXPECT_TRUE(a.text.isEmpty());
        }
        EXPECT_TRUE(a.params.isEmpty());
    }
}
