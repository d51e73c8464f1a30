#include "FilterExpression.h"

#include "DbError.h"

#include <QDateTime>
#include <QStringView>
#include <cmath>
#include <limits>
#include <vector>

namespace db {

namespace {

enum class Cmp : quint8
{
    Eq,
    Ne,
    Lt,
    Gt,
    Le,
    Ge
};

// SQL's three-valued truth: a comparison with NULL is neither true nor false.
enum class Truth : quint8
{
    False,
    True,
    Unknown
};

// Deeper nesting than this is no hand-written filter; refusing it keeps the recursion bounded.
constexpr int kMaxDepth = 200;
constexpr int kIncomparable = 2;

// A literal with every reading it may need at run time prepared once, at compile time.
struct Literal
{
    enum Kind : quint8
    {
        Null,
        Number,
        String
    };
    Kind kind = Null;
    QString text; // a number as written, or a string's content
    bool hasNumber = false;
    bool isInt = false;
    qlonglong i = 0;
    double d = 0;
    bool hasDate = false;
    bool wallClock = true; // no explicit offset: compare by local date and time
    QDate date;
    QTime time;
    QDateTime dateTime;
};

struct Operand
{
    bool isField = false;
    int index = -1; // field index, or index into the literals
};

struct Node
{
    enum Kind : quint8
    {
        And,
        Or,
        Not,
        Compare,
        IsNull,
        IsNotNull
    };
    Kind kind = Compare;
    Cmp cmp = Cmp::Eq;
    int first = 0; // And/Or: children[first .. first + count); Not: the operand node in first
    int count = 0;
    Operand a, b;
};

struct Number
{
    bool isInt = false;
    qlonglong i = 0;
    double d = 0;
};

// A point in time as compared here: local date and time where both sides have them (cheap and
// what a user types), the real instant when one side carries an offset.
struct Moment
{
    bool wallClock = true;
    QDate date;
    QTime time;
    QDateTime instant;

    QDateTime toInstant() const { return wallClock ? QDateTime(date, time) : instant; }
};

// One side of a comparison, pointing into the row's QVariant or the literal; builds no copies.
struct Side
{
    enum Kind : quint8
    {
        Null,
        Int,
        Dbl,
        Str,
        Date,
        DateTime,
        Other
    };
    Kind kind = Null;
    qlonglong i = 0;
    double d = 0;
    const QString* s = nullptr;
    QDate date;
    const QDateTime* dt = nullptr;
    const QVariant* var = nullptr;
    const Literal* lit = nullptr;
};

bool isNumeric(Side::Kind k)
{
    return k == Side::Int || k == Side::Dbl;
}

bool isTemporal(Side::Kind k)
{
    return k == Side::Date || k == Side::DateTime;
}

bool parseNumber(QStringView text, Number& n)
{
    text = text.trimmed();
    if (text.isEmpty())
        return false;
    bool ok = false;
    n.i = text.toLongLong(&ok);
    if (ok) {
        n.isInt = true;
        n.d = double(n.i);
        return true;
    }
    n.isInt = false;
    n.d = text.toDouble(&ok);
    // toDouble also reads "nan" and "inf", which nobody means as a number here.
    return ok && std::isfinite(n.d);
}

QDate parseDate(const QString& text)
{
    QDate date = QDate::fromString(text, QStringLiteral("d.M.yyyy"));
    // QDate's ISO reading ignores whatever follows the date; the time part is not ours to drop.
    if (!date.isValid() && text.size() == 10)
        date = QDate::fromString(text, Qt::ISODate);
    return date;
}

QTime parseTime(const QString& text)
{
    for (const auto* format : {"h:mm:ss", "h:mm", "h:mm:ss.zzz"}) {
        const QTime time = QTime::fromString(text, QLatin1String(format));
        if (time.isValid())
            return time;
    }
    return {};
}

// "dd.MM.yyyy[ hh:mm[:ss]]" or ISO 8601 (with 'T' or a blank, optionally with an offset).
bool parseMoment(QStringView text, Moment& m)
{
    const QString s = text.trimmed().toString();
    if (s.size() < 8)
        return false;
    const qsizetype blank = s.indexOf(QLatin1Char(' '));
    const QDate date = parseDate(blank < 0 ? s : s.left(blank));
    if (date.isValid()) {
        QTime time(0, 0);
        if (blank >= 0) {
            time = parseTime(s.mid(blank + 1).trimmed());
            if (!time.isValid())
                return false;
        }
        m = {true, date, time, {}};
        return true;
    }
    QDateTime dt = QDateTime::fromString(s, Qt::ISODateWithMs);
    if (!dt.isValid())
        return false;
    if (dt.timeSpec() == Qt::LocalTime)
        m = {true, dt.date(), dt.time(), {}};
    else
        m = {false, {}, {}, dt};
    return true;
}

Side sideOf(const QVariant& v)
{
    Side side;
    if (v.isNull())
        return side;
    switch (v.typeId()) {
    case QMetaType::QString:
        side.kind = Side::Str;
        side.s = static_cast<const QString*>(v.constData());
        break;
    case QMetaType::LongLong:
        side.kind = Side::Int;
        side.i = *static_cast<const qlonglong*>(v.constData());
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Bool:
        side.kind = Side::Int;
        side.i = v.toLongLong();
        break;
    case QMetaType::ULongLong: {
        const qulonglong u = v.toULongLong();
        if (u <= qulonglong(std::numeric_limits<qlonglong>::max())) {
            side.kind = Side::Int;
            side.i = qlonglong(u);
        } else {
            side.kind = Side::Dbl;
            side.d = double(u);
        }
        break;
    }
    case QMetaType::Double:
        side.kind = Side::Dbl;
        side.d = *static_cast<const double*>(v.constData());
        break;
    case QMetaType::Float:
        side.kind = Side::Dbl;
        side.d = v.toDouble();
        break;
    case QMetaType::QDate:
        side.kind = Side::Date;
        side.date = *static_cast<const QDate*>(v.constData());
        break;
    case QMetaType::QDateTime:
        side.kind = Side::DateTime;
        side.dt = static_cast<const QDateTime*>(v.constData());
        break;
    default:
        side.kind = Side::Other;
        side.var = &v;
        break;
    }
    return side;
}

Side sideOf(const Literal& lit)
{
    Side side;
    side.lit = &lit;
    switch (lit.kind) {
    case Literal::Null:
        break;
    case Literal::Number:
        side.kind = lit.isInt ? Side::Int : Side::Dbl;
        side.i = lit.i;
        side.d = lit.d;
        break;
    case Literal::String:
        side.kind = Side::Str;
        side.s = &lit.text;
        break;
    }
    return side;
}

bool numberOf(const Side& side, Number& n)
{
    switch (side.kind) {
    case Side::Int:
        n = {true, side.i, double(side.i)};
        return true;
    case Side::Dbl:
        n = {false, 0, side.d};
        return true;
    case Side::Str:
        if (side.lit) {
            n = {side.lit->isInt, side.lit->i, side.lit->d};
            return side.lit->hasNumber;
        }
        return parseNumber(*side.s, n);
    default:
        return false;
    }
}

bool momentOf(const Side& side, Moment& m)
{
    switch (side.kind) {
    case Side::Date:
        m = {true, side.date, QTime(0, 0), {}};
        return true;
    case Side::DateTime:
        if (side.dt->timeSpec() == Qt::LocalTime)
            m = {true, side.dt->date(), side.dt->time(), {}};
        else
            m = {false, {}, {}, *side.dt};
        return side.dt->isValid();
    case Side::Str:
        if (side.lit) {
            m = {side.lit->wallClock, side.lit->date, side.lit->time, side.lit->dateTime};
            return side.lit->hasDate;
        }
        return parseMoment(*side.s, m);
    default:
        return false;
    }
}

const QString& textOf(const Side& side, QString& buffer)
{
    switch (side.kind) {
    case Side::Str:
        return *side.s;
    case Side::Int:
    case Side::Dbl:
        if (side.lit)
            return side.lit->text;
        buffer = side.kind == Side::Int ? QString::number(side.i) : QString::number(side.d, 'g', 15);
        return buffer;
    case Side::Date:
        buffer = side.date.toString(Qt::ISODate);
        return buffer;
    case Side::DateTime:
        buffer = side.dt->toString(Qt::ISODateWithMs);
        return buffer;
    default:
        buffer.clear();
        return buffer;
    }
}

template <typename T> int threeWay(const T& x, const T& y)
{
    return x < y ? -1 : (y < x ? 1 : 0);
}

int compareNumbers(const Number& x, const Number& y)
{
    if (x.isInt && y.isInt)
        return threeWay(x.i, y.i);
    if (std::isnan(x.d) || std::isnan(y.d))
        return kIncomparable;
    return threeWay(x.d, y.d);
}

int compareMoments(const Moment& x, const Moment& y)
{
    if (x.wallClock && y.wallClock) {
        if (!x.date.isValid() || !y.date.isValid())
            return kIncomparable;
        const int byDate = threeWay(x.date, y.date);
        return byDate != 0 ? byDate : threeWay(x.time, y.time);
    }
    const QDateTime a = x.toInstant();
    const QDateTime b = y.toInstant();
    if (!a.isValid() || !b.isValid())
        return kIncomparable;
    return threeWay(a, b);
}

// Numbers compare as numbers (a text that reads as one counts), dates as dates, the rest as text.
int compareSides(Side a, Side b)
{
    QString otherA, otherB;
    if (a.kind == Side::Other) {
        otherA = a.var->toString();
        a.kind = Side::Str;
        a.s = &otherA;
    }
    if (b.kind == Side::Other) {
        otherB = b.var->toString();
        b.kind = Side::Str;
        b.s = &otherB;
    }
    if (isNumeric(a.kind) || isNumeric(b.kind)) {
        Number x, y;
        if (numberOf(a, x) && numberOf(b, y))
            return compareNumbers(x, y);
    } else if (isTemporal(a.kind) || isTemporal(b.kind)) {
        Moment x, y;
        if (momentOf(a, x) && momentOf(b, y))
            return compareMoments(x, y);
    }
    QString bufferA, bufferB;
    const int order = QString::compare(textOf(a, bufferA), textOf(b, bufferB));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

Truth apply(Cmp cmp, int order)
{
    if (order == kIncomparable)
        return Truth::Unknown;
    bool result = false;
    switch (cmp) {
    case Cmp::Eq:
        result = order == 0;
        break;
    case Cmp::Ne:
        result = order != 0;
        break;
    case Cmp::Lt:
        result = order < 0;
        break;
    case Cmp::Gt:
        result = order > 0;
        break;
    case Cmp::Le:
        result = order <= 0;
        break;
    case Cmp::Ge:
        result = order >= 0;
        break;
    }
    return result ? Truth::True : Truth::False;
}

struct Token
{
    enum Kind : quint8
    {
        End,
        Name,
        Number,
        String,
        LParen,
        RParen,
        Op,
        And,
        Or,
        Not,
        Is,
        Null
    };
    Kind kind = End;
    int pos = 0;
    int length = 0;
    QString text; // field name, string content or number as written
    Cmp cmp = Cmp::Eq;
};

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') || c == QLatin1Char('#');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

struct FilterExpression::Program
{
    std::vector<Literal> literals;
    std::vector<Node> nodes;
    std::vector<int> children;
    int root = -1;
    QList<int> fields;

    Truth eval(int index, const std::function<QVariant(int)>& value) const;
    Truth compare(const Node& node, const std::function<QVariant(int)>& value) const;
    Side operandSide(const Operand& op, QVariant& holder, const std::function<QVariant(int)>& value) const;

    class Parser;
};

Side FilterExpression::Program::operandSide(const Operand& op, QVariant& holder,
                                            const std::function<QVariant(int)>& value) const
{
    if (!op.isField)
        return sideOf(literals[size_t(op.index)]);
    holder = value(op.index);
    return sideOf(holder);
}

Truth FilterExpression::Program::compare(const Node& node, const std::function<QVariant(int)>& value) const
{
    QVariant va, vb;
    const Side a = operandSide(node.a, va, value);
    if (a.kind == Side::Null)
        return Truth::Unknown;
    const Side b = operandSide(node.b, vb, value);
    if (b.kind == Side::Null)
        return Truth::Unknown;
    return apply(node.cmp, compareSides(a, b));
}

Truth FilterExpression::Program::eval(int index, const std::function<QVariant(int)>& value) const
{
    const Node& node = nodes[size_t(index)];
    switch (node.kind) {
    case Node::And: {
        Truth result = Truth::True;
        for (int k = 0; k < node.count; ++k) {
            const Truth t = eval(children[size_t(node.first + k)], value);
            if (t == Truth::False)
                return Truth::False;
            if (t == Truth::Unknown)
                result = Truth::Unknown;
        }
        return result;
    }
    case Node::Or: {
        Truth result = Truth::False;
        for (int k = 0; k < node.count; ++k) {
            const Truth t = eval(children[size_t(node.first + k)], value);
            if (t == Truth::True)
                return Truth::True;
            if (t == Truth::Unknown)
                result = Truth::Unknown;
        }
        return result;
    }
    case Node::Not: {
        const Truth t = eval(node.first, value);
        return t == Truth::Unknown ? t : (t == Truth::True ? Truth::False : Truth::True);
    }
    case Node::IsNull:
    case Node::IsNotNull: {
        bool null = false;
        if (node.a.isField)
            null = value(node.a.index).isNull();
        else
            null = literals[size_t(node.a.index)].kind == Literal::Null;
        return null == (node.kind == Node::IsNull) ? Truth::True : Truth::False;
    }
    case Node::Compare:
        return compare(node, value);
    }
    return Truth::Unknown;
}

class FilterExpression::Program::Parser
{
public:
    Parser(const QString& text, const std::function<int(const QString&)>& fieldIndex, Program& program)
        : mText(text), mFieldIndex(fieldIndex), mProgram(program)
    {
    }

    bool tokenize();
    void parse();

private:
    [[noreturn]] void fail(const QString& what, int pos) const;
    [[noreturn]] void unexpected(const QString& expected) const;
    QString describe(const Token& token) const;

    const Token& current() const { return mTokens[mPos]; }
    bool accept(Token::Kind kind);
    int parseOr();
    int parseAnd();
    int parseNot();
    int parsePrimary();
    Operand parseOperand();
    Operand bindField(const Token& token);
    Operand addLiteral(Literal literal);
    int addNode(const Node& node);
    int addList(Node::Kind kind, const std::vector<int>& items);

    const QString& mText;
    const std::function<int(const QString&)>& mFieldIndex;
    Program& mProgram;
    std::vector<Token> mTokens;
    size_t mPos = 0;
    int mDepth = 0;
};

void FilterExpression::Program::Parser::fail(const QString& what, int pos) const
{
    throw DbError(QStringLiteral("Syntax error in filter \"%1\" at position %2: %3")
                      .arg(mText)
                      .arg(pos + 1)
                      .arg(what)
                      .toStdString());
}

QString FilterExpression::Program::Parser::describe(const Token& token) const
{
    if (token.kind == Token::End)
        return QStringLiteral("end of text");
    return QLatin1Char('"') + mText.mid(token.pos, token.length) + QLatin1Char('"');
}

void FilterExpression::Program::Parser::unexpected(const QString& expected) const
{
    fail(expected + QStringLiteral(", found ") + describe(current()), current().pos);
}

// Returns false for a blank text.
bool FilterExpression::Program::Parser::tokenize()
{
    const int n = int(mText.size());
    int i = 0;
    while (true) {
        while (i < n && mText[i].isSpace())
            ++i;
        Token token;
        token.pos = i;
        if (i >= n) {
            mTokens.push_back(token);
            break;
        }
        const QChar c = mText[i];
        const QChar next = i + 1 < n ? mText[i + 1] : QChar();
        if (c == QLatin1Char('\'')) {
            token.kind = Token::String;
            ++i;
            while (true) {
                if (i >= n)
                    fail(QStringLiteral("unterminated string"), token.pos);
                if (mText[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && mText[i + 1] == QLatin1Char('\'')) {
                        token.text += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                token.text += mText[i++];
            }
        } else if (c == QLatin1Char('[') || c == QLatin1Char('"')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : QLatin1Char('"');
            token.kind = Token::Name;
            ++i;
            while (true) {
                if (i >= n)
                    fail(QStringLiteral("unterminated field name"), token.pos);
                if (mText[i] == close) {
                    if (i + 1 < n && mText[i + 1] == close) {
                        token.text += close;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                token.text += mText[i++];
            }
            if (token.text.trimmed().isEmpty())
                fail(QStringLiteral("empty field name"), token.pos);
        } else if (isDigit(c) || (c == QLatin1Char('.') && isDigit(next)) ||
                   ((c == QLatin1Char('-') || c == QLatin1Char('+')) &&
                    (isDigit(next) || (next == QLatin1Char('.') && i + 2 < n && isDigit(mText[i + 2]))))) {
            token.kind = Token::Number;
            if (c == QLatin1Char('-') || c == QLatin1Char('+'))
                ++i;
            while (i < n && isDigit(mText[i]))
                ++i;
            if (i < n && mText[i] == QLatin1Char('.')) {
                ++i;
                while (i < n && isDigit(mText[i]))
                    ++i;
            }
            if (i < n && (mText[i] == QLatin1Char('e') || mText[i] == QLatin1Char('E'))) {
                int j = i + 1;
                if (j < n && (mText[j] == QLatin1Char('+') || mText[j] == QLatin1Char('-')))
                    ++j;
                if (j < n && isDigit(mText[j])) {
                    i = j;
                    while (i < n && isDigit(mText[i]))
                        ++i;
                }
            }
            if (i < n && (isNameChar(mText[i]) || mText[i] == QLatin1Char('.')))
                fail(QStringLiteral("malformed number"), token.pos);
            token.text = mText.mid(token.pos, i - token.pos);
        } else if (isNameStart(c)) {
            while (i < n && isNameChar(mText[i]))
                ++i;
            token.text = mText.mid(token.pos, i - token.pos);
            static const struct
            {
                const char* word;
                Token::Kind kind;
            } keywords[] = {{"AND", Token::And},
                            {"OR", Token::Or},
                            {"NOT", Token::Not},
                            {"IS", Token::Is},
                            {"NULL", Token::Null}};
            token.kind = Token::Name;
            for (const auto& keyword : keywords) {
                if (token.text.compare(QLatin1String(keyword.word), Qt::CaseInsensitive) == 0)
                    token.kind = keyword.kind;
            }
        } else if (c == QLatin1Char('(')) {
            token.kind = Token::LParen;
            ++i;
        } else if (c == QLatin1Char(')')) {
            token.kind = Token::RParen;
            ++i;
        } else if (c == QLatin1Char('=')) {
            token.kind = Token::Op;
            token.cmp = Cmp::Eq;
            ++i;
        } else if (c == QLatin1Char('<')) {
            token.kind = Token::Op;
            token.cmp = next == QLatin1Char('>') ? Cmp::Ne : next == QLatin1Char('=') ? Cmp::Le : Cmp::Lt;
            i += token.cmp == Cmp::Lt ? 1 : 2;
        } else if (c == QLatin1Char('>')) {
            token.kind = Token::Op;
            token.cmp = next == QLatin1Char('=') ? Cmp::Ge : Cmp::Gt;
            i += token.cmp == Cmp::Gt ? 1 : 2;
        } else if (c == QLatin1Char('!') && next == QLatin1Char('=')) {
            token.kind = Token::Op;
            token.cmp = Cmp::Ne;
            i += 2;
        } else {
            fail(QStringLiteral("unexpected character \"%1\"").arg(c), i);
        }
        token.length = i - token.pos;
        mTokens.push_back(token);
    }
    return mTokens.size() > 1;
}

void FilterExpression::Program::Parser::parse()
{
    mProgram.root = parseOr();
    if (current().kind != Token::End)
        unexpected(QStringLiteral("expected AND, OR or the end of the text"));
}

bool FilterExpression::Program::Parser::accept(Token::Kind kind)
{
    if (current().kind != kind)
        return false;
    ++mPos;
    return true;
}

int FilterExpression::Program::Parser::parseOr()
{
    std::vector<int> items{parseAnd()};
    while (accept(Token::Or))
        items.push_back(parseAnd());
    return items.size() == 1 ? items.front() : addList(Node::Or, items);
}

int FilterExpression::Program::Parser::parseAnd()
{
    std::vector<int> items{parseNot()};
    while (accept(Token::And))
        items.push_back(parseNot());
    return items.size() == 1 ? items.front() : addList(Node::And, items);
}

int FilterExpression::Program::Parser::parseNot()
{
    if (current().kind != Token::Not)
        return parsePrimary();
    if (++mDepth > kMaxDepth)
        fail(QStringLiteral("expression nested too deeply"), current().pos);
    ++mPos;
    Node node;
    node.kind = Node::Not;
    node.first = parseNot();
    --mDepth;
    return addNode(node);
}

int FilterExpression::Program::Parser::parsePrimary()
{
    if (current().kind == Token::LParen) {
        if (++mDepth > kMaxDepth)
            fail(QStringLiteral("expression nested too deeply"), current().pos);
        ++mPos;
        const int inner = parseOr();
        if (!accept(Token::RParen))
            unexpected(QStringLiteral("expected \")\""));
        --mDepth;
        return inner;
    }
    Node node;
    node.a = parseOperand();
    if (accept(Token::Is)) {
        node.kind = accept(Token::Not) ? Node::IsNotNull : Node::IsNull;
        if (!accept(Token::Null))
            unexpected(QStringLiteral("expected NULL"));
        return addNode(node);
    }
    if (current().kind != Token::Op)
        unexpected(QStringLiteral("expected a comparison operator or IS"));
    node.kind = Node::Compare;
    node.cmp = current().cmp;
    ++mPos;
    node.b = parseOperand();
    return addNode(node);
}

Operand FilterExpression::Program::Parser::parseOperand()
{
    const Token& token = current();
    Literal literal;
    switch (token.kind) {
    case Token::Name:
        ++mPos;
        return bindField(token);
    case Token::Null:
        ++mPos;
        return addLiteral(literal);
    case Token::Number: {
        ++mPos;
        literal.kind = Literal::Number;
        literal.text = token.text.startsWith(QLatin1Char('+')) ? token.text.mid(1) : token.text;
        Number n;
        if (!parseNumber(literal.text, n))
            fail(QStringLiteral("number out of range"), token.pos);
        literal.hasNumber = true;
        literal.isInt = n.isInt;
        literal.i = n.i;
        literal.d = n.d;
        return addLiteral(literal);
    }
    case Token::String: {
        ++mPos;
        literal.kind = Literal::String;
        literal.text = token.text;
        Number n;
        if (parseNumber(literal.text, n)) {
            literal.hasNumber = true;
            literal.isInt = n.isInt;
            literal.i = n.i;
            literal.d = n.d;
        }
        Moment m;
        if (parseMoment(literal.text, m)) {
            literal.hasDate = true;
            literal.wallClock = m.wallClock;
            literal.date = m.date;
            literal.time = m.time;
            literal.dateTime = m.wallClock ? QDateTime(m.date, m.time) : m.instant;
        }
        return addLiteral(literal);
    }
    default:
        unexpected(QStringLiteral("expected a field name or a value"));
    }
}

Operand FilterExpression::Program::Parser::bindField(const Token& token)
{
    int index = mFieldIndex(token.text);
    if (index < 0)
        index = mFieldIndex(token.text.toUpper());
    if (index < 0)
        index = mFieldIndex(token.text.toLower());
    if (index < 0) {
        throw DbError(
            QStringLiteral("Unknown field \"%1\" in filter \"%2\"").arg(token.text, mText).toStdString());
    }
    if (!mProgram.fields.contains(index))
        mProgram.fields.append(index);
    return {true, index};
}

Operand FilterExpression::Program::Parser::addLiteral(Literal literal)
{
    mProgram.literals.push_back(std::move(literal));
    return {false, int(mProgram.literals.size()) - 1};
}

int FilterExpression::Program::Parser::addNode(const Node& node)
{
    mProgram.nodes.push_back(node);
    return int(mProgram.nodes.size()) - 1;
}

int FilterExpression::Program::Parser::addList(Node::Kind kind, const std::vector<int>& items)
{
    Node node;
    node.kind = kind;
    node.first = int(mProgram.children.size());
    node.count = int(items.size());
    mProgram.children.insert(mProgram.children.end(), items.begin(), items.end());
    return addNode(node);
}

FilterExpression::FilterExpression() = default;

FilterExpression FilterExpression::compile(const QString& text,
                                           const std::function<int(const QString& name)>& fieldIndex)
{
    auto program = std::make_shared<Program>();
    Program::Parser parser(text, fieldIndex, *program);
    FilterExpression expression;
    if (!parser.tokenize())
        return expression;
    parser.parse();
    expression.mProgram = std::move(program);
    return expression;
}

bool FilterExpression::matches(const std::function<QVariant(int fieldIndex)>& value) const
{
    return !mProgram || mProgram->eval(mProgram->root, value) == Truth::True;
}

QList<int> FilterExpression::fields() const
{
    return mProgram ? mProgram->fields : QList<int>();
}

} // namespace db
