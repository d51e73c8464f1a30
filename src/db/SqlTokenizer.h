#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace db {

// One lexical unit of an Oracle-dialect SQL text. Tokens cover the text without gaps, so
// concatenating their texts gives the input back byte for byte.
struct SqlToken
{
    enum class Kind
    {
        Whitespace,
        LineComment,  // "--" up to, not including, the line break
        BlockComment, // "/* ... */"
        Identifier,   // unquoted name or keyword: letters, digits, _, $, #
        QuotedIdentifier,
        String, // '...' with '' for a quote; also Oracle's q'[...]' and N'...'
        Number,
        Bind,      // ":name" or ":1"
        OuterJoin, // Oracle's "(+)", blanks inside allowed
        LParen,
        RParen,
        Comma,
        Semicolon,
        Dot,
        Operator, // "::", ":=", "||", "<>", "<=", ">=", "!=", "=>" or any other single character
    };

    Kind kind = Kind::Whitespace;
    qsizetype pos = 0;
    qsizetype len = 0;

    QStringView text(QStringView sql) const { return sql.mid(pos, len); }
    bool isBlank() const
    {
        return kind == Kind::Whitespace || kind == Kind::LineComment || kind == Kind::BlockComment;
    }
};

// Splits sql into tokens in one pass. Unterminated strings, quoted names and comments run to the
// end of the text.
QList<SqlToken> tokenizeSql(QStringView sql);

// True for the characters Oracle allows inside an unquoted name after the first one.
inline bool isSqlNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'#';
}

} // namespace db
