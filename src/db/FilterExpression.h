#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

namespace db {

// The client-side `Filter` text of a dataset, compiled once and run over the fetched rows.
//
// Grammar: comparisons `operand op operand` (op: = <> != < > <= >=; an operand is a field name,
// a number, a 'string' with '' for a quote, or NULL), `field IS [NOT] NULL`, NOT, AND, OR
// (binding in that order) and parentheses. Keywords and field names are case-insensitive; a field
// name may be written in [brackets] or "quotes".
//
// Comparisons follow SQL's three-valued logic: anything compared with NULL is unknown, NOT of
// unknown stays unknown, and a row matches only when the whole expression is true. So
// "not (A = 1)" does not show rows where A is null, as the server would not either.
class FilterExpression
{
public:
    // Parses and binds field names through fieldIndex (-1 for an unknown name). fieldIndex is
    // tried with the name as written, then upper- and lower-cased. Throws db::DbError for a
    // syntax error (the message quotes the text and gives the position) or an unknown field.
    // An empty or blank text gives the empty expression.
    static FilterExpression compile(const QString& text,
                                    const std::function<int(const QString& name)>& fieldIndex);

    // Empty: matches every row.
    FilterExpression();

    bool isEmpty() const { return !mProgram; }
    // value(i) gives the current row's value of field i: null, an integer, double, QString,
    // QDateTime or QDate (other types are compared by their text).
    bool matches(const std::function<QVariant(int fieldIndex)>& value) const;
    // Field indexes the expression reads, each once, in order of first use.
    QList<int> fields() const;

private:
    struct Program;
    std::shared_ptr<const Program> mProgram;
};

} // namespace db
