#include "FilterSql.h"

#include "GridFields.h"
#include "GridToolsText.h"

#include <QDateTime>
#include <QLocale>

namespace gridtools {

namespace {

QString likeEscaped(const QString& value)
{
    QString out;
    out.reserve(value.size() + 4);
    for (const QChar c : value) {
        if (c == QLatin1Char('!') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out += QLatin1Char('!');
        out += c;
    }
    return out;
}

bool parseDate(const QString& text, QDate& date)
{
    for (const char* format : {"dd.MM.yyyy", "d.M.yyyy", "yyyy-MM-dd"}) {
        date = QDate::fromString(text, QString::fromLatin1(format));
        if (date.isValid())
            return true;
    }
    return false;
}

bool parseDateTime(const QString& text, QDateTime& value)
{
    for (const char* format : {"dd.MM.yyyy hh:mm:ss", "dd.MM.yyyy hh:mm", "d.M.yyyy h:mm:ss", "d.M.yyyy h:mm",
                               "yyyy-MM-dd hh:mm:ss", "yyyy-MM-ddThh:mm:ss", "yyyy-MM-dd hh:mm"}) {
        value = QDateTime::fromString(text, QString::fromLatin1(format));
        if (value.isValid())
            return true;
    }
    return false;
}

const char* comparison(FilterOperator op)
{
    switch (op) {
    case FilterOperator::Equal:
        return "=";
    case FilterOperator::NotEqual:
        return "<>";
    case FilterOperator::Less:
        return "<";
    case FilterOperator::Greater:
        return ">";
    case FilterOperator::LessOrEqual:
        return "<=";
    case FilterOperator::GreaterOrEqual:
        return ">=";
    default:
        return nullptr;
    }
}

} // namespace

QList<FilterOperator> filterOperatorsFor(db::DataType type)
{
    using O = FilterOperator;
    switch (type) {
    case db::DataType::Blob:
        return {O::IsEmpty, O::IsNotEmpty};
    case db::DataType::Boolean:
        return {O::Equal, O::NotEqual, O::IsEmpty, O::IsNotEmpty};
    case db::DataType::String:
        return {O::Equal,   O::NotEqual,    O::Contains,       O::StartsWith, O::Less,
                O::Greater, O::LessOrEqual, O::GreaterOrEqual, O::IsEmpty,    O::IsNotEmpty};
    default:
        return {O::Equal,          O::NotEqual, O::Less,       O::Greater, O::LessOrEqual,
                O::GreaterOrEqual, O::Contains, O::StartsWith, O::IsEmpty, O::IsNotEmpty};
    }
}

QString filterOperatorText(FilterOperator op, int langId)
{
    switch (op) {
    case FilterOperator::Equal:
        return QStringLiteral("=");
    case FilterOperator::NotEqual:
        return QStringLiteral("<>");
    case FilterOperator::Less:
        return QStringLiteral("<");
    case FilterOperator::Greater:
        return QStringLiteral(">");
    case FilterOperator::LessOrEqual:
        return QStringLiteral("<=");
    case FilterOperator::GreaterOrEqual:
        return QStringLiteral(">=");
    case FilterOperator::Contains:
        return gtText(langId, "содержит", "contains");
    case FilterOperator::StartsWith:
        return gtText(langId, "начинается с", "starts with");
    case FilterOperator::IsEmpty:
        return gtText(langId, "пусто", "is empty");
    case FilterOperator::IsNotEmpty:
        return gtText(langId, "не пусто", "is not empty");
    }
    return {};
}

FilterSql buildFilterSql(const QList<FilterCondition>& conditions, bool useOr, bool caseSensitive, int langId)
{
    FilterSql result;
    if (conditions.isEmpty()) {
        result.text = QString::fromLatin1(kNoFilterText);
        return result;
    }
    QStringList parts;
    int n = 0;
    auto bind = [&](const QVariant& value) {
        const QString name = QStringLiteral("FLT_%1").arg(++n);
        result.values.insert(name, value);
        return QLatin1Char(':') + name;
    };
    auto fail = [&](const QString& message) {
        result.text.clear();
        result.values.clear();
        result.error = message;
        return result;
    };

    for (const FilterCondition& c : conditions) {
        const QString field = sqlIdentifier(c.fieldName);
        const QString shown = c.label.trimmed().isEmpty() ? c.fieldName : c.label.trimmed();
        const QString asText =
            c.type == db::DataType::String ? field : QStringLiteral("CAST(%1 AS VARCHAR)").arg(field);
        switch (c.op) {
        case FilterOperator::IsEmpty:
            parts << (c.type == db::DataType::String ? QStringLiteral("COALESCE(%1, '') = ''").arg(field)
                                                     : QStringLiteral("%1 IS NULL").arg(field));
            continue;
        case FilterOperator::IsNotEmpty:
            parts << (c.type == db::DataType::String ? QStringLiteral("COALESCE(%1, '') <> ''").arg(field)
                                                     : QStringLiteral("%1 IS NOT NULL").arg(field));
            continue;
        default:
            break;
        }
        if (!filterOperatorsFor(c.type).contains(c.op))
            return fail(gtText(langId, "Условие не подходит для поля \"%1\"",
                               "The condition does not suit the field \"%1\"")
                            .arg(shown));
        if (c.value.isEmpty())
            return fail(
                gtText(langId, "Не задано значение для поля \"%1\"", "No value given for the field \"%1\"")
                    .arg(shown));
        if (c.op == FilterOperator::Contains || c.op == FilterOperator::StartsWith) {
            const QString pattern = (c.op == FilterOperator::Contains ? QStringLiteral("%") : QString()) +
                                    likeEscaped(c.value) + QStringLiteral("%");
            const QString param = bind(pattern);
            parts << (caseSensitive
                          ? QStringLiteral("%1 LIKE %2 ESCAPE '!'").arg(asText, param)
                          : QStringLiteral("UPPER(%1) LIKE UPPER(%2) ESCAPE '!'").arg(asText, param));
            continue;
        }
        const QString op = QString::fromLatin1(comparison(c.op));
        const QString trimmed = c.value.trimmed();
        const QString bad = gtText(langId, "Неверное значение \"%1\" для поля \"%2\"",
                                   "Wrong value \"%1\" for the field \"%2\"")
                                .arg(c.value, shown);
        switch (c.type) {
        case db::DataType::Integer: {
            bool ok = false;
            const qlonglong v = trimmed.toLongLong(&ok);
            if (!ok)
                return fail(bad);
            parts << QStringLiteral("%1 %2 %3").arg(field, op, bind(v));
            break;
        }
        case db::DataType::Float: {
            bool ok = false;
            QString t = trimmed;
            t.replace(QLatin1Char(','), QLatin1Char('.'));
            t.remove(QLatin1Char(' '));
            const double v = QLocale::c().toDouble(t, &ok);
            if (!ok)
                return fail(bad);
            parts << QStringLiteral("%1 %2 %3").arg(field, op, bind(v));
            break;
        }
        case db::DataType::Date: {
            QDate d;
            if (!parseDate(trimmed, d))
                return fail(bad);
            parts << QStringLiteral("%1 %2 %3").arg(field, op, bind(d));
            break;
        }
        case db::DataType::DateTime: {
            QDateTime dt;
            QDate day;
            if (parseDateTime(trimmed, dt)) {
                parts << QStringLiteral("%1 %2 %3").arg(field, op, bind(dt));
            } else if (parseDate(trimmed, day)) {
                // A day given for a moment means the whole day.
                const QDateTime from(day, QTime(0, 0));
                const QDateTime to(day.addDays(1), QTime(0, 0));
                switch (c.op) {
                case FilterOperator::Equal: {
                    const QString a = bind(from), b = bind(to);
                    parts << QStringLiteral("%1 >= %2 AND %1 < %3").arg(field, a, b);
                    break;
                }
                case FilterOperator::NotEqual: {
                    const QString a = bind(from), b = bind(to);
                    parts << QStringLiteral("NOT (%1 >= %2 AND %1 < %3)").arg(field, a, b);
                    break;
                }
                case FilterOperator::Less:
                    parts << QStringLiteral("%1 < %2").arg(field, bind(from));
                    break;
                case FilterOperator::GreaterOrEqual:
                    parts << QStringLiteral("%1 >= %2").arg(field, bind(from));
                    break;
                case FilterOperator::Greater:
                    parts << QStringLiteral("%1 >= %2").arg(field, bind(to));
                    break;
                case FilterOperator::LessOrEqual:
                    parts << QStringLiteral("%1 < %2").arg(field, bind(to));
                    break;
                default:
                    break;
                }
            } else {
                return fail(bad);
            }
            break;
        }
        case db::DataType::Boolean: {
            const QString t = trimmed.toLower();
            bool v;
            if (t == QLatin1String("1") || t == QLatin1String("true") || t == QStringLiteral("да") ||
                t == QLatin1String("yes"))
                v = true;
            else if (t == QLatin1String("0") || t == QLatin1String("false") || t == QStringLiteral("нет") ||
                     t == QLatin1String("no"))
                v = false;
            else
                return fail(bad);
            // As text, so that the server takes it for a boolean.
            parts
                << QStringLiteral("%1 %2 %3").arg(field, op, bind(QString::fromLatin1(v ? "true" : "false")));
            break;
        }
        default:
            parts << QStringLiteral("%1 %2 %3").arg(field, op, bind(c.value));
            break;
        }
    }
    QString text = QStringLiteral("(");
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0)
            text += useOr ? QStringLiteral(" OR ") : QStringLiteral(" AND ");
        text += QLatin1Char('(') + parts[i] + QLatin1Char(')');
    }
    text += QLatin1Char(')');
    result.text = text;
    return result;
}

} // namespace gridtools
