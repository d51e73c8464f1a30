#pragma once

#include "Macro.h"

#include <QObject>
#include "Session.h"

#include <QPointer>

namespace db {


// SQL statements with macros, run once, one after the other.
class Script : public QObject
{
    Q_OBJECT

public:
    explicit Script(QObject* parent = nullptr);
    explicit Script(Session* session, QObject* parent = nullptr);

    Session* session() const { return mSession; }
    void setSession(Session* session) { mSession = session; }
    const QString& sql() const { return mSql; }
    void setSql(const QString& sql);
    MacroList& macros() { return mMacros; }
    Macro& macroByName(const QString& name) { return mMacros.byName(name); }
    void setMacro(const QString& name, const QString& value, bool active = true);

    void execute();

    // Statements of a text, split at semicolons outside strings, names and comments; a PL/SQL
    // block (begin ... end;) stays whole.
    static QStringList splitStatements(const QString& text);

private:
    QPointer<Session> mSession;
    QString mSql;
    MacroList mMacros;
};

} // namespace db
