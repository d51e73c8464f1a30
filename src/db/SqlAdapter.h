#pragma once

#include <QString>
#include <QStringList>

namespace db {

// An Oracle-dialect SQL text rewritten for PostgreSQL.
struct AdaptedSql
{
    enum class Kind
    {
        Statement,
        ProcedureCall,
        AlterUserPassword
    };
    Kind kind = Kind::Statement;
    // PostgreSQL text, bind parameters as $1..$n.
    QString text;
    // params[i] is the name (without colon, as first written) behind $(i+1); a name used again,
    // compared without regard to letter case, maps to the same $n.
    QStringList params;
    // ProcedureCall only: the routine, e.g. "s.tev_utils__name"; text is "CALL routine(args)".
    QString routine;
    // ProcedureCall only: per argument, the bind name when the argument is exactly one bind
    // parameter, else "".
    QStringList callArgs;
    // AlterUserPassword only (text stays empty): the role as the server names it and the new
    // password, which Session::alterRolePassword sends as a verifier; empty when the text could
    // not be read (an empty or unterminated password, clauses after it).
    QString role;
    QString password;
};

// Rewrites a text whose macros are already expanded:
// - `:name` binds become $n; NVL becomes COALESCE; DECODE becomes CASE (NULL matching NULL;
//   search values that are not literals compared as text, as Oracle converts implicitly);
// - Oracle outer joins `(+)` become CROSS JOIN of the plain tables followed by LEFT JOIN ... ON
//   of the optional ones, in every SELECT, subqueries included; `FROM DUAL` is dropped; a
//   subquery in FROM without a name is given one ("_sub1", ...), as PostgreSQL 15 requires;
// - every chain of `||` becomes CONCAT(...), which skips NULLs as Oracle's `||` does (a chain of
//   NULLs only gives '' instead of NULL); a bare bind in it is cast to text;
// - `X.TEV_UTILS.NAME(` becomes `x.tev_utils__name(`;
// - "begin X.TEV_UTILS.NAME(args); end;" becomes a ProcedureCall, "ALTER USER u IDENTIFIED BY p"
//   an AlterUserPassword (role and password, no text; any "ALTER USER u IDENTIFIED" is one).
// Strings, quoted names and comments are never changed; everything not rewritten is kept as
// written. Runs in time linear in the length of the text.
AdaptedSql adaptOracleSql(const QString& sql);

} // namespace db
