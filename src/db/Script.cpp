#include "Script.h"

#include "DbError.h"
#include "MacroExpander.h"
#include "Session.h"
#include "SqlAdapter.h"

namespace db {

Script::Script(QObject* parent) : QObject(parent) {}

Script::Script(Session* session, QObject* parent) : QObject(parent), mSession(session) {}

void Script::setSql(const QString& sql)
{
    mSql = sql;
    mMacros.syncNames(macroNames(sql));
}

void Script::setMacro(const QString& name, const QString& value, bool active)
{
    Macro& m = mMacros.byName(name);
    m.setValue(value);
    m.setActive(active);
}

QStringList Script::splitStatements(const QString& text)
{
    QStringList result;
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1String("begin"), Qt::CaseInsensitive) ||
        trimmed.startsWith(QLatin1String("declare"), Qt::CaseInsensitive))
        return {trimmed};
    QString current;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int end = text.indexOf(c, i + 1);
            const int stop = end < 0 ? int(text.size()) - 1 : end;
            current += text.mid(i, stop - i + 1);
            i = stop;
        } else if (c == QLatin1Char('-') && i + 1 < text.size() && text[i + 1] == QLatin1Char('-')) {
            const int end = text.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? int(text.size()) : end;
        } else if (c == QLatin1Char(';')) {
            if (!current.trimmed().isEmpty())
                result << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        result << current.trimmed();
    return result;
}

void Script::execute()
{
    if (!mSession)
        throw DbError("Script has no session");
    const QString expanded = expandMacros(mSql, [this](const QString& name) -> std::optional<QString> {
        if (const Macro* m = mMacros.find(name))
            return m->expansion();
        return std::nullopt;
    });
    for (const QString& statement : splitStatements(expanded)) {
        const AdaptedSql adapted = adaptOracleSql(statement);
        if (!adapted.params.isEmpty())
            throw DbError(QStringLiteral("Script statement has unbound parameter '%1'")
                              .arg(adapted.params.first())
                              .toStdString());
        if (adapted.kind == AdaptedSql::Kind::AlterUserPassword)
            mSession->alterRolePassword(adapted.role, adapted.password);
        else
            mSession->execute(adapted.text);
    }
}

} // namespace db
