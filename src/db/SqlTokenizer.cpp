#include "SqlTokenizer.h"

namespace db {

namespace {

using Kind = SqlToken::Kind;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isNameStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

QChar closingQuoteDelimiter(QChar open)
{
    switch (open.unicode()) {
    case u'[':
        return u']';
    case u'{':
        return u'}';
    case u'<':
        return u'>';
    case u'(':
        return u')';
    default:
        return open;
    }
}

class Lexer
{
public:
    explicit Lexer(QStringView sql) : s(sql), n(sql.size()) {}

    QList<SqlToken> run()
    {
        QList<SqlToken> out;
        out.reserve(n / 3 + 1);
        qsizetype i = 0;
        while (i < n) {
            const qsizetype start = i;
            const Kind kind = scan(i, out);
            out.append(SqlToken{kind, start, i - start});
        }
        return out;
    }

private:
    QChar at(qsizetype i) const { return i < n ? s[i] : QChar(); }

    // Advances i past one token starting at i and returns its kind.
    Kind scan(qsizetype& i, const QList<SqlToken>& before)
    {
        const QChar c = s[i];
        if (c.isSpace()) {
            while (i < n && s[i].isSpace())
                ++i;
            return Kind::Whitespace;
        }
        if (c == u'-' && at(i + 1) == u'-') {
            while (i < n && s[i] != u'\n' && s[i] != u'\r')
                ++i;
            return Kind::LineComment;
        }
        if (c == u'/' && at(i + 1) == u'*') {
            const qsizetype end = s.indexOf(u"*/", i + 2);
            i = end < 0 ? n : end + 2;
            return Kind::BlockComment;
        }
        if (c == u'\'') {
            scanQuoted(i, u'\'');
            return Kind::String;
        }
        if (c == u'"') {
            scanQuoted(i, u'"');
            return Kind::QuotedIdentifier;
        }
        if (isNameStart(c)) {
            if (scanPrefixedString(i))
                return Kind::String;
            while (i < n && isSqlNameChar(s[i]))
                ++i;
            return Kind::Identifier;
        }
        if (isDigit(c) || (c == u'.' && isDigit(at(i + 1)) && !followsName(before))) {
            scanNumber(i);
            return Kind::Number;
        }
        if (c == u':') {
            const QChar next = at(i + 1);
            if (next == u':' || next == u'=') {
                i += 2;
                return Kind::Operator;
            }
            if (isSqlNameChar(next)) {
                ++i;
                while (i < n && isSqlNameChar(s[i]))
                    ++i;
                return Kind::Bind;
            }
            ++i;
            return Kind::Operator;
        }
        if (c == u'(') {
            qsizetype j = i + 1;
            while (j < n && s[j].isSpace())
                ++j;
            if (at(j) == u'+') {
                ++j;
                while (j < n && s[j].isSpace())
                    ++j;
                if (at(j) == u')') {
                    i = j + 1;
                    return Kind::OuterJoin;
                }
            }
            ++i;
            return Kind::LParen;
        }
        ++i;
        switch (c.unicode()) {
        case u')':
            return Kind::RParen;
        case u',':
            return Kind::Comma;
        case u';':
            return Kind::Semicolon;
        case u'.':
            return Kind::Dot;
        default:
            break;
        }
        const QChar next = at(i);
        if ((c == u'|' && next == u'|') || (c == u'<' && (next == u'>' || next == u'=')) ||
            (c == u'>' && next == u'=') || (c == u'!' && next == u'=') || (c == u'^' && next == u'=') ||
            (c == u'=' && next == u'>'))
            ++i;
        return Kind::Operator;
    }

    // A quote-delimited run starting at i; a doubled delimiter stands for itself.
    void scanQuoted(qsizetype& i, QChar quote)
    {
        ++i;
        while (i < n) {
            if (s[i] == quote) {
                if (at(i + 1) == quote) {
                    i += 2;
                    continue;
                }
                ++i;
                return;
            }
            ++i;
        }
    }

    // N'...', Q'[...]' and NQ'[...]'.
    bool scanPrefixedString(qsizetype& i)
    {
        qsizetype j = i;
        if (s[j] == u'n' || s[j] == u'N')
            ++j;
        bool q = false;
        if (at(j) == u'q' || at(j) == u'Q') {
            q = true;
            ++j;
        }
        if (j == i || at(j) != u'\'')
            return false;
        if (!q) {
            i = j;
            scanQuoted(i, u'\'');
            return true;
        }
        const QChar open = at(j + 1);
        if (open.isNull() || open.isSpace())
            return false;
        const QChar close = closingQuoteDelimiter(open);
        qsizetype k = j + 2;
        while (k < n && !(s[k] == close && at(k + 1) == u'\''))
            ++k;
        i = k < n ? k + 2 : n;
        return true;
    }

    void scanNumber(qsizetype& i)
    {
        while (i < n && isDigit(s[i]))
            ++i;
        if (at(i) == u'.' && at(i + 1) != u'.') {
            ++i;
            while (i < n && isDigit(s[i]))
                ++i;
        }
        if (at(i) == u'e' || at(i) == u'E') {
            qsizetype j = i + 1;
            if (at(j) == u'+' || at(j) == u'-')
                ++j;
            if (isDigit(at(j))) {
                i = j;
                while (i < n && isDigit(s[i]))
                    ++i;
            }
        }
    }

    // "t.5" is no number: a dot after a name qualifies it.
    static bool followsName(const QList<SqlToken>& before)
    {
        if (before.isEmpty())
            return false;
        const Kind k = before.last().kind;
        return k == Kind::Identifier || k == Kind::QuotedIdentifier || k == Kind::RParen;
    }

    QStringView s;
    qsizetype n;
};

} // namespace

QList<SqlToken> tokenizeSql(QStringView sql)
{
    return Lexer(sql).run();
}

} // namespace db
