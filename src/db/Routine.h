#pragma once

#include "Param.h"

#include <QList>
#include <QString>

namespace db {

class PgResult;
class Session;

// A portal routine as the database's catalogue describes it.
struct RoutineInfo
{
    struct Arg
    {
        QString name;   // upper case, as the console names parameters
        QString pgType; // e.g. "integer", "character varying", "refcursor"
        ParamDirection direction = ParamDirection::In;
    };
    QString qualifiedName; // "tev.tev_utils__upd_status"
    bool isFunction = false;
    QString resultType;
    QList<Arg> args;
};

DataType dataTypeForPgType(const QString& pgType);

// "OWNER.PACKAGE.NAME" or "OWNER.NAME" (letter case ignored) to the PostgreSQL schema and routine.
void splitRoutineName(const QString& oracleName, QString& schema, QString& routine);

// Every overload of the routine; throws OraError 4043 (the object does not exist) when there is none.
QList<RoutineInfo> lookupRoutine(Session& session, const QString& schema, const QString& routine);

// Calls the routine with the values of `params` (matched to its arguments by position); stores
// out values and a function's RESULT into `params`. `onCursor` receives each cursor output with
// its rows, fetched before the call's savepoint is released.
void callRoutine(Session& session, const RoutineInfo& routine, ParamList& params,
                 const std::function<void(const QString& paramName, const PgResult& rows)>& onCursor = {});

} // namespace db
