#include "SqlAdapter.h"

#include "SqlTokenizer.h"

#include <QHash>
#include <QList>
#include <QSet>

namespace db {

namespace {

using Kind = SqlToken::Kind;

struct Range
{
    int b = 0;
    int e = 0;
};

// One entry of a FROM list.
struct FromItem
{
    Range range;
    QString refName; // alias, else the table's own name; normalised as Oracle compares names
};

// One top-level AND operand of a WHERE clause.
struct Conjunct
{
    Range range;
    int owner = -1;  // FROM item whose column carries (+); -1 for a plain condition
    QList<int> deps; // other FROM items the condition reads
};

// A run of operands joined by || at one level: [b, ops[0]), [ops[k] + 1, ops[k + 1]), ...,
// [ops.last() + 1, e).
struct ConcatChain
{
    int b = 0;
    int e = 0;
    QList<int> ops;
};

class Adapter
{
public:
    explicit Adapter(const QString& sql) : mSrc(sql), mToks(tokenizeSql(sql)), mN(int(mToks.size()))
    {
        mMatch.fill(-1, mN);
        bool hasConcat = false;
        QList<int> open;
        for (int i = 0; i < mN; ++i) {
            const Kind k = mToks[i].kind;
            if (k == Kind::LParen) {
                open.append(i);
            } else if (k == Kind::RParen && !open.isEmpty()) {
                const int o = open.takeLast();
                mMatch[o] = i;
                mMatch[i] = o;
            } else if (k == Kind::OuterJoin) {
                mHasOuterJoin = true;
            } else if (k == Kind::Identifier && isKw(i, "DUAL")) {
                mHasDual = true;
            } else if (k == Kind::Operator && text(i) == u"||") {
                hasConcat = true;
            }
        }
        if (hasConcat)
            findConcatChains();
    }

    AdaptedSql run()
    {
        AdaptedSql r;
        if (adaptProcedureCall(r) || adaptAlterUser(r))
            return r;
        r.text.reserve(mSrc.size() + mSrc.size() / 4);
        put(r.text, 0, mN, false);
        r.params = mParams;
        return r;
    }

private:
    // ---- token helpers --------------------------------------------------------------------

    QStringView text(int i) const { return mToks[i].text(mSrc); }
    Kind kind(int i) const { return mToks[i].kind; }
    bool isName(int i) const
    {
        return i >= 0 && i < mN && (kind(i) == Kind::Identifier || kind(i) == Kind::QuotedIdentifier);
    }
    bool isKw(int i, const char* kw) const
    {
        return i >= 0 && i < mN && kind(i) == Kind::Identifier &&
               text(i).compare(QLatin1String(kw), Qt::CaseInsensitive) == 0;
    }
    // First non-blank token at or after i, e when none before e.
    int nextSig(int i, int e) const
    {
        while (i < e && mToks[i].isBlank())
            ++i;
        return i;
    }
    // Last non-blank token before i, b - 1 when none from b.
    int prevSig(int i, int b) const
    {
        --i;
        while (i >= b && mToks[i].isBlank())
            --i;
        return i;
    }
    // The closing parenthesis of an opening one at i when it lies before e, else -1.
    int closeOf(int i, int e) const
    {
        const int c = mMatch[i];
        return c > i && c < e ? c : -1;
    }
    bool opensSubquery(int i) const
    {
        const int j = nextSig(i + 1, mN);
        return isKw(j, "SELECT") || isKw(j, "WITH");
    }
    Range trimmed(Range r) const
    {
        r.b = nextSig(r.b, r.e);
        r.e = prevSig(r.e, r.b) + 1;
        return r;
    }
    // Oracle's name comparison: unquoted names upper-cased, quoted ones exact.
    QString normalisedName(int i) const
    {
        if (kind(i) == Kind::QuotedIdentifier) {
            QString s = text(i).mid(1).toString();
            if (s.endsWith(u'"'))
                s.chop(1);
            return s.replace(QLatin1String("\"\""), QLatin1String("\""));
        }
        return text(i).toString().toUpper();
    }

    // Splits [b, e) at separators of one kind that lie outside parentheses.
    QList<Range> splitLevel(int b, int e, Kind sep) const
    {
        QList<Range> parts;
        int start = b;
        for (int i = b; i < e; ++i) {
            if (kind(i) == Kind::LParen) {
                const int c = closeOf(i, e);
                if (c > 0)
                    i = c;
            } else if (kind(i) == sep) {
                parts.append({start, i});
                start = i + 1;
            }
        }
        parts.append({start, e});
        return parts;
    }

    // ---- output ---------------------------------------------------------------------------

    QString bindRef(int i)
    {
        const QString name = text(i).mid(1).toString();
        const QString key = name.toCaseFolded();
        int index = mBindIndex.value(key, 0);
        if (index == 0) {
            mParams.append(name);
            index = int(mParams.size());
            mBindIndex.insert(key, index);
        }
        return QLatin1Char('$') + QString::number(index);
    }

    // Appends the rewritten tokens [b, e). drop leaves out the (+) marks of this query level.
    void put(QString& out, int b, int e, bool drop)
    {
        for (int i = b; i < e;) {
            if (!mChainAt.isEmpty() && mChainAt[i] >= 0) {
                const ConcatChain& chain = mChains[mChainAt[i]];
                if (chain.e <= e) {
                    putConcat(out, chain, drop);
                    i = chain.e;
                    continue;
                }
            }
            switch (kind(i)) {
            case Kind::Bind:
                out += bindRef(i);
                ++i;
                continue;
            case Kind::OuterJoin:
                if (!drop)
                    out += text(i);
                else if (i > b && kind(i - 1) == Kind::Whitespace && out.endsWith(text(i - 1)) &&
                         !(i - 2 >= b && kind(i - 2) == Kind::LineComment))
                    out.chop(text(i - 1).size()); // "b.k (+)" becomes "b.k"
                ++i;
                continue;
            case Kind::LParen: {
                const int c = closeOf(i, e);
                if (c > 0 && opensSubquery(i)) {
                    out += u'(';
                    put(out, i + 1, c, false);
                    out += u')';
                    if (mMissingAlias.contains(c)) {
                        // PostgreSQL before 16 wants a name for every subquery in FROM.
                        out += QLatin1String(" AS _sub") + QString::number(++mAliasCount);
                    }
                    i = c + 1;
                    continue;
                }
                break;
            }
            case Kind::Identifier: {
                const int next = rewriteName(out, i, e, drop);
                if (next > i) {
                    i = next;
                    continue;
                }
                break;
            }
            default:
                break;
            }
            out += text(i);
            ++i;
        }
    }

    // The rewritten range without its surrounding blanks; a trailing line comment keeps its line
    // break so that text appended after it is not commented out.
    QString render(Range r, bool drop)
    {
        while (r.b < r.e && kind(r.b) == Kind::Whitespace)
            ++r.b;
        while (r.e > r.b && kind(r.e - 1) == Kind::Whitespace)
            --r.e;
        QString s;
        put(s, r.b, r.e, drop);
        if (r.e > r.b && kind(r.e - 1) == Kind::LineComment)
            s += u'\n';
        return s;
    }

    // Rewrites what starts at identifier i; returns the index after it, or -1 to copy i as is.
    int rewriteName(QString& out, int i, int e, bool drop)
    {
        if (isKw(i, "SELECT"))
            return adaptSelect(out, i, e);
        const int before = prevSig(i, 0);
        if (before >= 0 && kind(before) == Kind::Dot)
            return -1;
        auto callFollows = [&](int j) {
            const int p = nextSig(j, e);
            return p < e && kind(p) == Kind::LParen;
        };
        if (isKw(i, "NVL")) {
            if (!callFollows(i + 1))
                return -1;
            out += QLatin1String("COALESCE");
            return i + 1;
        }
        if (isKw(i, "DECODE"))
            return adaptDecode(out, i, e, drop);
        if (i + 4 < e && kind(i + 1) == Kind::Dot && isKw(i + 2, "TEV_UTILS") && kind(i + 3) == Kind::Dot &&
            kind(i + 4) == Kind::Identifier && callFollows(i + 5)) {
            out += text(i).toString().toLower();
            out += QLatin1String(".tev_utils__");
            out += text(i + 4).toString().toLower();
            return i + 5;
        }
        if (isKw(i, "TEV_UTILS") && i + 2 < e && kind(i + 1) == Kind::Dot &&
            kind(i + 2) == Kind::Identifier && callFollows(i + 3)) {
            out += QLatin1String("tev_utils__");
            out += text(i + 2).toString().toLower();
            return i + 3;
        }
        return -1;
    }

    // ---- Oracle's || -------------------------------------------------------------------------
    //
    // Oracle's || skips NULL operands, PostgreSQL's makes the whole result NULL: a chain of ||
    // becomes CONCAT(...), which skips NULLs and takes numbers as Oracle does. Only a chain of
    // NULLs differs: CONCAT gives '' where Oracle gives NULL (its '' is NULL).

    // Words that end an operand of ||.
    bool endsConcatOperand(int i) const
    {
        static const char* const words[] = {
            "SELECT", "FROM", "WHERE", "AND",   "OR",      "NOT",    "AS",    "THEN",      "ELSE",   "WHEN",
            "END",    "ON",   "GROUP", "ORDER", "BY",      "HAVING", "UNION", "INTERSECT", "EXCEPT", "MINUS",
            "INTO",   "IS",   "LIKE",  "IN",    "BETWEEN", "ESCAPE", "ASC",   "DESC"};
        if (text(i).size() > 9)
            return false;
        for (const char* w : words)
            if (isKw(i, w))
                return true;
        return false;
    }

    // Comparisons, assignments and named arguments bind weaker than || in both dialects.
    bool isComparison(int i) const
    {
        if (kind(i) != Kind::Operator)
            return false;
        const QStringView t = text(i);
        return t == u"=" || t == u"<>" || t == u"<" || t == u">" || t == u"<=" || t == u">=" || t == u"!=" ||
               t == u"^=" || t == u"=>" || t == u":=";
    }

    // The analytic part of a call, "f(x) OVER (...)", "KEEP (...)", "WITHIN GROUP (...)": no alias.
    bool continuesCall(int i, int before) const
    {
        if (before >= 0 && kind(before) == Kind::RParen)
            return isKw(i, "OVER") || isKw(i, "KEEP") || isKw(i, "WITHIN");
        return isKw(before, "WITHIN") && isKw(i, "GROUP");
    }

    // One parenthesis or CASE ... END level while chains are looked for.
    struct ConcatLevel
    {
        bool isCase = false;
        int operand = -1;      // first token of the operand being read, -1 before one starts
        bool complete = false; // what was read can end an operand, so a name after it is an alias
        int last = -1;         // last non-blank token read at this level
        int chainStart = -1;
        QList<int> ops;
        bool broken = false; // an operand of the chain is empty: not SQL, left as written
    };

    // Marks every chain of || by its first token, in one pass. Parenthesised groups and CASE ...
    // END are parts of an operand; inside them chains are found on their own.
    void findConcatChains()
    {
        mChainAt.fill(-1, mN);
        QList<ConcatLevel> levels(1);
        auto close = [&](ConcatLevel& l) {
            if (!l.ops.isEmpty() && !l.broken && l.operand >= 0) {
                mChainAt[l.chainStart] = int(mChains.size());
                mChains.append({l.chainStart, l.last + 1, l.ops});
            }
            l.ops.clear();
            l.broken = false;
            l.chainStart = -1;
        };
        auto boundary = [&](ConcatLevel& l, int i) {
            close(l);
            l.operand = -1;
            l.complete = false;
            l.last = i;
        };
        auto extend = [](ConcatLevel& l, int i, bool complete) {
            if (l.operand < 0)
                l.operand = i;
            l.complete = complete;
            l.last = i;
        };
        int prev = -1;
        for (int i = 0; i < mN; ++i) {
            if (mToks[i].isBlank())
                continue;
            const int before = prev;
            prev = i;
            const bool afterDot = before >= 0 && kind(before) == Kind::Dot;
            ConcatLevel& l = levels.last();
            switch (kind(i)) {
            case Kind::Operator:
                if (text(i) == u"||") {
                    if (l.ops.isEmpty()) {
                        l.chainStart = l.operand;
                        l.broken = l.operand < 0;
                    } else if (l.operand < 0) {
                        l.broken = true;
                    }
                    l.ops.append(i);
                    l.operand = -1;
                    l.complete = false;
                    l.last = i;
                } else if (isComparison(i)) {
                    boundary(l, i);
                } else {
                    extend(l, i, false);
                }
                break;
            case Kind::LParen:
                if (mMatch[i] > i) {
                    extend(l, i, false);
                    levels.append(ConcatLevel{});
                } else {
                    boundary(l, i);
                }
                break;
            case Kind::RParen:
                if (mMatch[i] >= 0 && levels.size() > 1) {
                    while (levels.size() > 2 && levels.last().isCase) // CASE without END
                        levels.removeLast();
                    close(levels.last());
                    levels.removeLast();
                    levels.last().complete = true;
                    levels.last().last = i;
                } else {
                    boundary(l, i);
                }
                break;
            case Kind::Comma:
            case Kind::Semicolon:
                boundary(l, i);
                break;
            case Kind::Identifier:
                if (afterDot) {
                    extend(l, i, true);
                } else if (isKw(i, "CASE")) {
                    extend(l, i, false);
                    levels.append(ConcatLevel{});
                    levels.last().isCase = true;
                } else if (l.isCase && isKw(i, "END")) {
                    close(l);
                    levels.removeLast();
                    levels.last().complete = true;
                    levels.last().last = i;
                } else if (continuesCall(i, before)) {
                    extend(l, i, false);
                } else if (endsConcatOperand(i)) {
                    boundary(l, i);
                } else {
                    if (l.complete) { // "a || b label": the chain ends before the alias
                        close(l);
                        l.operand = -1;
                    }
                    extend(l, i, true);
                }
                break;
            case Kind::QuotedIdentifier:
                if (!afterDot && l.complete) {
                    close(l);
                    l.operand = -1;
                }
                extend(l, i, true);
                break;
            case Kind::Dot:
                extend(l, i, false);
                break;
            default: // numbers, strings, binds, (+)
                extend(l, i, true);
                break;
            }
        }
        while (!levels.isEmpty()) {
            close(levels.last());
            levels.removeLast();
        }
    }

    void putConcat(QString& out, const ConcatChain& chain, bool drop)
    {
        out += QLatin1String("CONCAT(");
        int b = chain.b;
        for (int k = 0; k <= chain.ops.size(); ++k) {
            const int e = k < chain.ops.size() ? chain.ops[k] : chain.e;
            if (k > 0)
                out += QLatin1String(", ");
            out += render({b, e}, drop);
            // CONCAT cannot type a bare parameter, which || took as text.
            const Range t = trimmed({b, e});
            if (t.e - t.b == 1 && kind(t.b) == Kind::Bind)
                out += QLatin1String("::text");
            b = e + 1;
        }
        out += u')';
    }

    // ---- DECODE ---------------------------------------------------------------------------

    enum class Literal
    {
        None,
        Null,
        Value
    };

    Literal literalKind(Range r) const
    {
        r = trimmed(r);
        if (r.b >= r.e)
            return Literal::None;
        if (r.e - r.b == 1) {
            if (kind(r.b) == Kind::Number || kind(r.b) == Kind::String)
                return Literal::Value;
            if (isKw(r.b, "NULL"))
                return Literal::Null;
            return Literal::None;
        }
        const int num = nextSig(r.b + 1, r.e);
        if (kind(r.b) == Kind::Operator && (text(r.b) == u"-" || text(r.b) == u"+") && num == r.e - 1 &&
            kind(num) == Kind::Number)
            return Literal::Value;
        return Literal::None;
    }

    // A literal, bind, name or call: safe to put before IS without parentheses.
    bool isSimpleOperand(Range r) const
    {
        r = trimmed(r);
        if (r.b >= r.e)
            return false;
        int j = r.b;
        const Kind k = kind(j);
        if (k == Kind::Number || k == Kind::String || k == Kind::Bind)
            return j + 1 == r.e;
        if (!isName(j))
            return false;
        ++j;
        while (j + 1 < r.e && kind(j) == Kind::Dot && isName(j + 1))
            j += 2;
        j = nextSig(j, r.e);
        if (j == r.e)
            return true;
        const int c = kind(j) == Kind::LParen ? closeOf(j, r.e) : -1;
        return c > 0 && c + 1 == r.e;
    }

    int adaptDecode(QString& out, int i, int e, bool drop)
    {
        const int p = nextSig(i + 1, e);
        if (p >= e || kind(p) != Kind::LParen)
            return -1;
        const int c = closeOf(p, e);
        if (c < 0)
            return -1;
        const QList<Range> args = splitLevel(p + 1, c, Kind::Comma);
        if (args.size() < 3)
            return -1;
        const QString expr = render(args[0], drop);
        const QString lhs = isSimpleOperand(args[0]) ? expr : QLatin1Char('(') + expr + QLatin1Char(')');
        out += QLatin1String("CASE");
        int k = 1;
        for (; k + 1 < args.size(); k += 2) {
            const QString search = render(args[k], drop);
            out += QLatin1String(" WHEN ");
            switch (literalKind(args[k])) {
            case Literal::Null:
                out += lhs + QLatin1String(" IS NULL");
                break;
            case Literal::Value:
                out += lhs + QLatin1String(" IS NOT DISTINCT FROM ") + search;
                break;
            case Literal::None:
                // Oracle converts between numbers and text implicitly, PostgreSQL does not.
                out += QLatin1Char('(') + expr + QLatin1String(")::text IS NOT DISTINCT FROM (") + search +
                       QLatin1String(")::text");
                break;
            }
            out += QLatin1String(" THEN ");
            out += render(args[k + 1], drop);
        }
        if (k < args.size()) {
            out += QLatin1String(" ELSE ");
            out += render(args[k], drop);
        }
        out += QLatin1String(" END");
        return c + 1;
    }

    // ---- SELECT with Oracle outer joins -----------------------------------------------------

    bool isSetOperator(int i) const
    {
        return isKw(i, "UNION") || isKw(i, "INTERSECT") || isKw(i, "MINUS") || isKw(i, "EXCEPT");
    }

    // A keyword at query level that ends the FROM or WHERE clause.
    bool endsClause(int i) const
    {
        if (isSetOperator(i) || isKw(i, "HAVING") || isKw(i, "WINDOW") || isKw(i, "FETCH") ||
            isKw(i, "OFFSET") || isKw(i, "LIMIT") || isKw(i, "MODEL"))
            return true;
        const int next = nextSig(i + 1, mN);
        if (isKw(i, "GROUP") || isKw(i, "ORDER") || isKw(i, "CONNECT"))
            return isKw(next, "BY");
        if (isKw(i, "START"))
            return isKw(next, "WITH");
        if (isKw(i, "FOR"))
            return isKw(next, "UPDATE");
        return false;
    }

    // Scans a condition at its own level, outside parentheses and CASE ... END. onToken returns
    // false to stop.
    template <typename F> void scanCondition(Range r, F&& onToken) const
    {
        int caseDepth = 0;
        for (int i = r.b; i < r.e; ++i) {
            if (kind(i) == Kind::LParen) {
                const int c = closeOf(i, r.e);
                if (c > 0)
                    i = c;
                continue;
            }
            if (isKw(i, "CASE")) {
                ++caseDepth;
            } else if (caseDepth > 0) {
                if (isKw(i, "END"))
                    --caseDepth;
            } else if (!onToken(i)) {
                return;
            }
        }
    }

    bool hasTopLevelOr(Range r) const
    {
        bool found = false;
        scanCondition(r, [&](int i) {
            found = isKw(i, "OR");
            return !found;
        });
        return found;
    }

    // Appends the AND operands of a condition; redundant parentheses around operands are looked
    // through, a condition with a top-level OR stays whole.
    void splitConjuncts(Range r, QList<Range>& out) const
    {
        r = trimmed(r);
        if (r.b >= r.e)
            return;
        if (hasTopLevelOr(r)) {
            out.append(r);
            return;
        }
        QList<Range> pieces;
        int start = r.b;
        bool between = false;
        scanCondition(r, [&](int i) {
            if (isKw(i, "BETWEEN")) {
                between = true;
            } else if (isKw(i, "AND")) {
                if (between) {
                    between = false;
                } else {
                    pieces.append({start, i});
                    start = i + 1;
                }
            }
            return true;
        });
        pieces.append({start, r.e});
        for (Range piece : pieces) {
            piece = trimmed(piece);
            if (piece.b >= piece.e)
                continue;
            const Range inner{piece.b + 1, piece.e - 1};
            if (kind(piece.b) == Kind::LParen && closeOf(piece.b, piece.e) == piece.e - 1 &&
                !opensSubquery(piece.b) && !hasTopLevelOr(inner))
                splitConjuncts(inner, out);
            else
                out.append(piece);
        }
    }

    // The qualifier of the column that a (+) at i marks, empty when there is none.
    QString outerJoinQualifier(int i, int b) const
    {
        const int column = prevSig(i, b);
        if (!isName(column))
            return {};
        const int dot = prevSig(column, b);
        if (dot < b || kind(dot) != Kind::Dot)
            return {};
        const int qualifier = prevSig(dot, b);
        return isName(qualifier) ? normalisedName(qualifier) : QString();
    }

    static int findItem(const QList<FromItem>& items, const QString& name)
    {
        for (int k = 0; k < items.size(); ++k)
            if (!items[k].refName.isEmpty() && items[k].refName == name)
                return k;
        return -1;
    }

    // Fills owner and deps; false when a (+) cannot be tied to exactly one FROM item.
    bool classify(Conjunct& c, const QList<FromItem>& items) const
    {
        // (+) marks of this level only: subqueries have their own.
        bool ok = true;
        const Range r = c.range;
        for (int i = r.b; i < r.e && ok; ++i) {
            if (kind(i) == Kind::LParen) {
                const int close = closeOf(i, r.e);
                if (close > 0 && opensSubquery(i))
                    i = close;
            } else if (kind(i) == Kind::OuterJoin) {
                const int item = findItem(items, outerJoinQualifier(i, r.b));
                if (item < 0 || (c.owner >= 0 && c.owner != item))
                    ok = false;
                c.owner = item;
            }
        }
        if (!ok || c.owner < 0)
            return ok;
        // Qualified column references: the qualifier is the next to last part of a dotted name
        // that is not called.
        for (int i = c.range.b; i < c.range.e; ++i) {
            if (!isName(i) || (i > 0 && kind(i - 1) == Kind::Dot))
                continue;
            int last = i;
            QList<int> parts{i};
            while (last + 2 < c.range.e && kind(last + 1) == Kind::Dot && isName(last + 2)) {
                last += 2;
                parts.append(last);
            }
            const int after = nextSig(last + 1, c.range.e);
            if (parts.size() >= 2 && !(after < c.range.e && kind(after) == Kind::LParen)) {
                const int item = findItem(items, normalisedName(parts[parts.size() - 2]));
                if (item >= 0 && item != c.owner && !c.deps.contains(item))
                    c.deps.append(item);
            }
            i = last;
        }
        return true;
    }

    // Parses the FROM list; false when it holds ANSI joins or something else not a table or
    // subquery with an optional alias.
    bool parseFromItems(Range r, QList<FromItem>& items) const
    {
        for (Range part : splitLevel(r.b, r.e, Kind::Comma)) {
            part = trimmed(part);
            if (part.b >= part.e)
                return false;
            bool join = false;
            for (int i = part.b; i < part.e && !join; ++i) {
                if (kind(i) == Kind::LParen) {
                    const int c = closeOf(i, part.e);
                    if (c > 0)
                        i = c;
                } else {
                    join = isKw(i, "JOIN") || isKw(i, "ON") || isKw(i, "USING") || isKw(i, "NATURAL");
                }
            }
            if (join)
                return false;
            // The alias, else the table's own name; a subquery without alias cannot be referred to.
            FromItem item{part, {}};
            if (isName(part.e - 1))
                item.refName = normalisedName(part.e - 1);
            items.append(item);
        }
        return true;
    }

    // Rewrites the SELECT at s when it reads FROM DUAL or uses (+) joins; -1 when it needs
    // nothing, else the index to continue after.
    int adaptSelect(QString& out, int s, int e)
    {
        int fromKw = -1, fromEnd = -1, whereKw = -1, whereEnd = -1;
        int j = s + 1;
        for (; j < e; ++j) {
            const Kind k = kind(j);
            if (k == Kind::LParen) {
                const int c = closeOf(j, e);
                if (c > 0)
                    j = c;
                continue;
            }
            if (k == Kind::RParen || k == Kind::Semicolon)
                break;
            if (k != Kind::Identifier)
                continue;
            if (fromKw < 0) {
                if (isKw(j, "FROM"))
                    fromKw = j;
                else if (isSetOperator(j))
                    break;
            } else if (whereKw < 0) {
                if (isKw(j, "WHERE")) {
                    fromEnd = j;
                    whereKw = j;
                } else if (endsClause(j)) {
                    break;
                }
            } else if (endsClause(j)) {
                break;
            }
        }
        if (fromKw < 0)
            return -1;
        if (whereKw < 0)
            fromEnd = j;
        else
            whereEnd = j;

        const Range from = trimmed({fromKw + 1, fromEnd});
        markMissingAliases(from);
        if (mHasDual && isDual(from)) {
            // PostgreSQL needs no FROM at all; keep the spacing after DUAL, drop the one before FROM.
            int k = fromKw;
            while (k > s + 1 && kind(k - 1) == Kind::Whitespace)
                --k;
            out += text(s);
            put(out, s + 1, k, false);
            return from.e;
        }
        if (!mHasOuterJoin || whereKw < 0)
            return -1;

        QList<Range> ranges;
        splitConjuncts({whereKw + 1, whereEnd}, ranges);
        QList<FromItem> items;
        if (!parseFromItems(from, items))
            return -1;
        QList<Conjunct> conjuncts;
        bool anyOuter = false;
        for (const Range& r : ranges) {
            Conjunct c{r, -1, {}};
            if (!classify(c, items))
                return -1;
            anyOuter = anyOuter || c.owner >= 0;
            conjuncts.append(c);
        }
        if (!anyOuter)
            return -1;

        // Plain tables first, then each optional one once the tables its ON reads are joined.
        QList<bool> optional(items.size(), false);
        QList<QList<int>> deps(items.size());
        for (const Conjunct& c : conjuncts) {
            if (c.owner < 0)
                continue;
            optional[c.owner] = true;
            for (int d : c.deps)
                if (!deps[c.owner].contains(d))
                    deps[c.owner].append(d);
        }
        QList<int> plain, pending;
        for (int k = 0; k < items.size(); ++k)
            (optional[k] ? pending : plain).append(k);
        if (plain.isEmpty())
            return -1;
        QList<bool> joined(items.size(), false);
        for (int k : plain)
            joined[k] = true;

        out += text(s);
        put(out, s + 1, fromKw, false);
        out += text(fromKw);
        out += u' ';
        for (int k = 0; k < plain.size(); ++k) {
            if (k > 0)
                out += QLatin1String(" CROSS JOIN ");
            out += render(items[plain[k]].range, false);
        }
        while (!pending.isEmpty()) {
            int pick = 0;
            for (int p = 0; p < pending.size(); ++p) {
                bool ready = true;
                for (int d : deps[pending[p]])
                    ready = ready && joined[d];
                if (ready) {
                    pick = p;
                    break;
                }
            }
            const int item = pending.takeAt(pick);
            joined[item] = true;
            out += QLatin1String(" LEFT JOIN ");
            out += render(items[item].range, false);
            out += QLatin1String(" ON (");
            bool first = true;
            for (const Conjunct& c : conjuncts) {
                if (c.owner != item)
                    continue;
                if (!first)
                    out += QLatin1String(" AND ");
                out += render(c.range, true);
                first = false;
            }
            out += u')';
        }
        bool first = true;
        for (const Conjunct& c : conjuncts) {
            if (c.owner >= 0)
                continue;
            if (first) {
                out += u' ';
                out += text(whereKw);
                out += u' ';
            } else {
                out += QLatin1String(" AND ");
            }
            out += render(c.range, false);
            first = false;
        }
        // The blanks that separated WHERE from what follows.
        for (int k = prevSig(whereEnd, whereKw + 1) + 1; k < whereEnd; ++k)
            if (kind(k) == Kind::Whitespace)
                out += text(k);
        return whereEnd;
    }

    void markMissingAliases(Range from)
    {
        for (int i = from.b; i < from.e; ++i) {
            if (kind(i) != Kind::LParen)
                continue;
            const int c = closeOf(i, from.e);
            if (c < 0)
                continue;
            const int next = nextSig(c + 1, from.e);
            if (opensSubquery(i) &&
                (next == from.e || kind(next) == Kind::Comma || isKw(next, "JOIN") || isKw(next, "LEFT") ||
                 isKw(next, "RIGHT") || isKw(next, "INNER") || isKw(next, "FULL") || isKw(next, "CROSS") ||
                 isKw(next, "NATURAL") || isKw(next, "ON") || isKw(next, "USING")))
                mMissingAlias.insert(c);
            i = c;
        }
    }

    bool isDual(Range r) const
    {
        if (r.e - r.b == 1)
            return isKw(r.b, "DUAL");
        return r.e - r.b == 3 && isKw(r.b, "SYS") && kind(r.b + 1) == Kind::Dot && isKw(r.b + 2, "DUAL");
    }

    // ---- whole-text forms -----------------------------------------------------------------

    // "begin [X.][PKG.]NAME[(args)]; end;"
    bool adaptProcedureCall(AdaptedSql& r)
    {
        int i = nextSig(0, mN);
        if (!isKw(i, "BEGIN"))
            return false;
        i = nextSig(i + 1, mN);
        if (i >= mN || kind(i) != Kind::Identifier)
            return false;
        QStringList parts{text(i).toString().toLower()};
        ++i;
        while (i + 1 < mN && kind(i) == Kind::Dot && kind(i + 1) == Kind::Identifier) {
            parts.append(text(i + 1).toString().toLower());
            i += 2;
        }
        if (parts.size() < 2 || parts.size() > 3)
            return false;
        i = nextSig(i, mN);
        Range args{0, 0};
        if (i < mN && kind(i) == Kind::LParen) {
            const int c = closeOf(i, mN);
            if (c < 0)
                return false;
            args = {i + 1, c};
            i = nextSig(c + 1, mN);
        }
        if (i >= mN || kind(i) != Kind::Semicolon)
            return false;
        i = nextSig(i + 1, mN);
        if (!isKw(i, "END"))
            return false;
        i = nextSig(i + 1, mN);
        while (i < mN && kind(i) == Kind::Semicolon)
            i = nextSig(i + 1, mN);
        if (i != mN)
            return false;

        if (parts.size() == 3)
            r.routine = parts[0] + QLatin1Char('.') + parts[1] + QLatin1String("__") + parts[2];
        else if (parts[0] == QLatin1String("tev_utils"))
            r.routine = parts[0] + QLatin1String("__") + parts[1];
        else
            r.routine = parts[0] + QLatin1Char('.') + parts[1];

        QStringList rendered;
        if (trimmed(args).b < args.e) {
            for (const Range& a : splitLevel(args.b, args.e, Kind::Comma)) {
                const Range t = trimmed(a);
                r.callArgs.append(t.e - t.b == 1 && kind(t.b) == Kind::Bind ? text(t.b).mid(1).toString()
                                                                            : QString());
                rendered.append(render(a, false));
            }
        }
        r.kind = AdaptedSql::Kind::ProcedureCall;
        r.text = QLatin1String("CALL ") + r.routine + QLatin1Char('(') + rendered.join(QLatin1String(", ")) +
                 QLatin1Char(')');
        r.params = mParams;
        return true;
    }

    // "ALTER USER u IDENTIFIED BY "p"" (or p unquoted), the password read from the raw text.
    bool adaptAlterUser(AdaptedSql& r) const
    {
        const int alter = nextSig(0, mN);
        const int user = nextSig(alter + 1, mN);
        const int name = nextSig(user + 1, mN);
        const int identified = nextSig(name + 1, mN);
        const int by = nextSig(identified + 1, mN);
        if (!isKw(alter, "ALTER") || !isKw(user, "USER") || !isName(name) || !isKw(identified, "IDENTIFIED"))
            return false;
        QString role = text(name).toString();
        if (kind(name) == Kind::QuotedIdentifier)
            role = role.mid(1, role.size() - 2).replace(QLatin1String("\"\""), QLatin1String("\""));
        else
            role = role.toLower();
        // A password change that cannot be read is never sent as written: the password would
        // reach the server's log in clear. An empty password makes the session refuse it.
        r.kind = AdaptedSql::Kind::AlterUserPassword;
        r.text.clear();
        r.role = role;
        r.password.clear();
        if (!isKw(by, "BY"))
            return true;
        const qsizetype n = mSrc.size();
        qsizetype p = mToks[by].pos + mToks[by].len;
        while (p < n && mSrc[p].isSpace())
            ++p;
        QString password;
        if (p < n && mSrc[p] == u'"') {
            ++p;
            for (;; ++p) {
                if (p >= n)
                    return true;
                if (mSrc[p] == u'"') {
                    if (p + 1 < n && mSrc[p + 1] == u'"') {
                        password += u'"';
                        ++p;
                        continue;
                    }
                    ++p;
                    break;
                }
                password += mSrc[p];
            }
        } else {
            while (p < n && !mSrc[p].isSpace())
                password += mSrc[p++];
            while (password.endsWith(u';'))
                password.chop(1);
        }
        for (; p < n; ++p)
            if (!mSrc[p].isSpace() && mSrc[p] != u';')
                return true;
        r.password = password;
        return true;
    }

    const QString& mSrc;
    QList<SqlToken> mToks;
    int mN;
    QList<int> mMatch;
    bool mHasOuterJoin = false;
    bool mHasDual = false;
    QList<int> mChainAt; // per token: index into mChains of the chain it starts, else -1
    QList<ConcatChain> mChains;
    QSet<int> mMissingAlias; // closing parentheses of FROM subqueries that have no alias
    int mAliasCount = 0;
    QStringList mParams;
    QHash<QString, int> mBindIndex;
};

} // namespace

AdaptedSql adaptOracleSql(const QString& sql)
{
    return Adapter(sql).run();
}

} // namespace db
