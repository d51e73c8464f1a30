#pragma once

#include "DataType.h"

#include <QList>
#include <QString>
#include <QVariantMap>

namespace gridtools {

enum class FilterOperator
{
    Equal,
    NotEqual,
    Less,
    Greater,
    LessOrEqual,
    GreaterOrEqual,
    Contains,
    StartsWith,
    IsEmpty,
    IsNotEmpty,
};

struct FilterCondition
{
    FilterCondition() = default;
    FilterCondition(QString field, db::DataType fieldType, FilterOperator oper, QString text = {},
                    QString shownAs = {})
        : fieldName(std::move(field)), type(fieldType), op(oper), value(std::move(text)),
          label(std::move(shownAs))
    {
    }

    QString fieldName;
    db::DataType type = db::DataType::String;
    FilterOperator op = FilterOperator::Equal;
    QString value; // as the user typed it
    QString label; // the field as the user knows it, for messages (the name when empty)

    // The label is for messages only; it does not make another condition.
    bool operator==(const FilterCondition& other) const
    {
        return fieldName == other.fieldName && type == other.type && op == other.op && value == other.value;
    }
};

// The query's SQL filter text and the values bound to its :FLT_n names.
struct FilterSql
{
    QString text;
    QVariantMap values;
    QString error; // why the conditions cannot be applied (the text is empty then)
    bool ok() const { return error.isEmpty(); }
};

// The filter text that stands for "no condition".
inline constexpr char kNoFilterText[] = "((1=1)aNd(1=1))";

// Builds the filter text from conditions joined with AND (or OR). No user text enters the SQL:
// values are converted to the field's type and bound; "contains" and "starts with" become LIKE
// with the wildcards of the value escaped. Without case sensitivity LIKE compares upper case.
FilterSql buildFilterSql(const QList<FilterCondition>& conditions, bool useOr, bool caseSensitive,
                         int langId);

// Name of the operator as the dialog shows it.
QString filterOperatorText(FilterOperator op, int langId);
// Operators that make sense for a data type, in the order the dialog offers them.
QList<FilterOperator> filterOperatorsFor(db::DataType type);

} // namespace gridtools
