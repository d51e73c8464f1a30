#include "MacroExpander.h"

#include "DbError.h"
#include "SqlTokenizer.h"

namespace db {

namespace {

// Calls onMacro(start, nameStart, nameEnd) for every `&name` that counts, in text order.
template <typename F> void scanMacros(const QString& sql, F&& onMacro)
{
    const qsizetype n = sql.size();
    qsizetype i = 0;
    auto skipQuoted = [&](QChar quote) {
        ++i;
        while (i < n) {
            if (sql[i] == quote) {
                ++i;
                if (i < n && sql[i] == quote) {
                    ++i;
                    continue;
                }
                return;
            }
            ++i;
        }
    };
    while (i < n) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            skipQuoted(c);
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            while (i < n && sql[i] != u'\n' && sql[i] != u'\r')
                ++i;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
        } else if (c == u'&' && i + 1 < n && isSqlNameChar(sql[i + 1])) {
            qsizetype j = i + 1;
            while (j < n && isSqlNameChar(sql[j]))
                ++j;
            onMacro(i, i + 1, j);
            i = j;
        } else {
            ++i;
        }
    }
}

} // namespace

QString expandMacros(const QString& sql,
                     const std::function<std::optional<QString>(const QString& name)>& lookup)
{
    QString out;
    qsizetype copied = 0;
    scanMacros(sql, [&](qsizetype start, qsizetype nameStart, qsizetype nameEnd) {
        const QString name = sql.mid(nameStart, nameEnd - nameStart);
        const std::optional<QString> value = lookup(name);
        if (!value)
            throw DbError(QStringLiteral("Macro '%1' not found").arg(name).toStdString());
        if (out.isEmpty())
            out.reserve(sql.size() + 64);
        out += QStringView(sql).mid(copied, start - copied);
        out += *value;
        copied = nameEnd;
    });
    if (copied == 0)
        return sql;
    out += QStringView(sql).mid(copied);
    return out;
}

QStringList macroNames(const QString& sql)
{
    QStringList names;
    scanMacros(sql, [&](qsizetype, qsizetype nameStart, qsizetype nameEnd) {
        const QString name = sql.mid(nameStart, nameEnd - nameStart);
        if (!names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    });
    return names;
}

} // namespace db
