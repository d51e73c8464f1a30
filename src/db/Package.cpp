#include "Package.h"

#include "DbError.h"
#include "Session.h"

namespace db {

Package::Package(QObject* parent) : QObject(parent) {}

Package::Package(Session* session, QObject* parent) : QObject(parent), mSession(session) {}

void Package::setSession(Session* session)
{
    mSession = session;
    mCache.clear();
}

void Package::setPackageName(const QString& name)
{
    mName = name;
    mCache.clear();
}

const RoutineInfo& Package::routineFor(const QString& name, int argCount)
{
    const QString key = name.toLower();
    auto it = mCache.find(key);
    if (it == mCache.end()) {
        QString schema, routine;
        splitRoutineName(mName + QLatin1Char('.') + name, schema, routine);
        it = mCache.insert(key, lookupRoutine(*mSession, schema, routine));
    }
    // The overload with the fewest parameters that still takes every argument given.
    for (const RoutineInfo& info : *it)
        if (info.args.size() >= argCount)
            return info;
    throw DbError(QStringLiteral("%1.%2 takes no %3 arguments").arg(mName, name).arg(argCount).toStdString());
}

void Package::execProc(const QString& name, const QVariantList& args)
{
    if (!mSession)
        throw DbError("Package has no session");
    const RoutineInfo& routine = routineFor(name, int(args.size()));
    ParamList params;
    for (int i = 0; i < routine.args.size(); ++i) {
        Param p(routine.args[i].name, dataTypeForPgType(routine.args[i].pgType), routine.args[i].direction);
        if (i < args.size())
            p.setValue(args[i]);
        params.add(p);
    }
    callRoutine(*mSession, routine, params);
    mParams = params;
}

QVariant Package::execFunc(const QString& name, const QVariantList& args)
{
    execProc(name, args);
    return result();
}

QVariant Package::result() const
{
    const Param* p = mParams.find(QStringLiteral("RESULT"));
    return p ? p->value() : QVariant();
}

} // namespace db
