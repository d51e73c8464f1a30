#include "StoredProc.h"

#include "DbError.h"
#include "PgResult.h"
#include "Session.h"

namespace db {

StoredProc::StoredProc(QObject* parent) : Dataset(parent) {}

StoredProc::StoredProc(Session* session, QObject* parent) : Dataset(parent), mSession(session) {}

void StoredProc::setStoredProcName(const QString& name)
{
    if (name == mName)
        return;
    if (isOpen())
        close();
    mName = name;
    unprepare();
}

Param& StoredProc::paramByName(const QString& name)
{
    if (!mParams.find(name) && !mPrepared && mSession && mSession->connected() && !mName.isEmpty())
        prepare();
    return mParams.byName(name);
}

void StoredProc::unprepare()
{
    mPrepared = false;
}

void StoredProc::prepare()
{
    if (mPrepared)
        return;
    if (!mSession)
        throw DbError("Stored procedure has no session");
    QString schema, routine;
    splitRoutineName(mName, schema, routine);
    const QList<RoutineInfo> overloads = lookupRoutine(*mSession, schema, routine);
    // Without arguments to choose by, the overload with the most parameters serves.
    mRoutine = overloads.last();
    ParamList next;
    if (mRoutine.isFunction)
        next.add(Param(QStringLiteral("RESULT"), dataTypeForPgType(mRoutine.resultType), ParamDirection::Out));
    for (const auto& arg : mRoutine.args) {
        Param p(arg.name, dataTypeForPgType(arg.pgType), arg.direction);
        if (const Param* old = mParams.find(arg.name); old && arg.direction != ParamDirection::Out &&
                                                       arg.direction != ParamDirection::CursorOut)
            p.setValue(old->value());
        next.add(p);
    }
    mParams = next;
    mPrepared = true;
}

void StoredProc::run(bool wantRows)
{
    prepare();
    // Arguments are matched by name; RESULT is not an argument.
    ParamList args;
    for (const auto& arg : mRoutine.args)
        args.add(mParams.byName(arg.name));
    PgResult cursor;
    bool haveCursor = false;
    callRoutine(*mSession, mRoutine, args, [&](const QString&, const PgResult& rows) {
        if (!haveCursor) {
            cursor = rows;
            haveCursor = true;
        }
    });
    for (int i = 0; i < args.count(); ++i)
        if (args.at(i).isOutput() || args.at(i).name() == QLatin1String("RESULT"))
            mParams.add(args.at(i));
    if (wantRows) {
        if (haveCursor)
            loadResult(cursor);
        else
            loadEmpty();
    }
}

void StoredProc::execProc()
{
    run(false);
}

void StoredProc::open()
{
    if (isOpen())
        close();
    run(true);
    finishOpen(0);
}

} // namespace db
