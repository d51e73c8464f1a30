#pragma once

// Ending a window's server connection from outside, and running a user action the way the event
// loop runs it, for the tests of what a window does on a lost connection.

#include "DBGrid.h"
#include "MessageDialogs.h"
#include "OraError.h"
#include "PgFixture.h"
#include "Session.h"

#include <QAbstractItemModel>
#include <QStringList>
#include <functional>
#include <string>

// The connection goes away as when the server restarts or a network link drops.
inline void endConnection(const db::Session& session)
{
    PgFixture::instance().adminQuery(
        QStringLiteral("select pg_terminate_backend(%1)").arg(session.backendPid()));
}

// An exception that leaves an action is shown in a message box, as the application's event
// handler shows it.
inline void userAction(const std::function<void()>& action)
{
    try {
        action();
    } catch (const db::Abort&) {
    } catch (const db::OraError& e) {
        lang::ShowMsgBox(nullptr, e.message(), 1);
    } catch (const std::exception& e) {
        lang::ShowMsgBox(nullptr, QString::fromUtf8(e.what()), 1);
    }
}

// The column titles a grid shows; a failed reopen must not take them away.
inline QStringList gridTitles(DBGrid* grid)
{
    QStringList titles;
    const QAbstractItemModel* model = grid->model();
    for (int c = 0; model && c < model->columnCount(); ++c)
        titles << model->headerData(c, Qt::Horizontal).toString();
    return titles;
}

// Every message shown, one per line, for a failure's report.
inline std::string shownTexts(const QList<lang::MessageRequest>& requests)
{
    QStringList texts;
    for (const lang::MessageRequest& r : requests)
        texts << r.text;
    return texts.join(QLatin1Char('\n')).toStdString();
}
