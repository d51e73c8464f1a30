#pragma once

#include "Param.h"
#include "Routine.h"

#include <QHash>
#include <QObject>
#include "Session.h"

#include <QPointer>
#include <QVariantList>

namespace db {


// Calls routines of one portal package by name with positional arguments; output parameters
// and a function's RESULT are read by name afterwards.
class Package : public QObject
{
    Q_OBJECT

public:
    explicit Package(QObject* parent = nullptr);
    explicit Package(Session* session, QObject* parent = nullptr);

    Session* session() const { return mSession; }
    void setSession(Session* session);
    // "OWNER.TEV_UTILS"
    const QString& packageName() const { return mName; }
    void setPackageName(const QString& name);

    // Arguments fill the routine's parameters in order; parameters left over (outputs) are null.
    void execProc(const QString& name, const QVariantList& args = {});
    // execProc, then RESULT.
    QVariant execFunc(const QString& name, const QVariantList& args = {});

    ParamList& params() { return mParams; }
    Param& paramByName(const QString& name) { return mParams.byName(name); }
    QVariant result() const;

private:
    const RoutineInfo& routineFor(const QString& name, int argCount);

    QPointer<Session> mSession;
    QString mName;
    QHash<QString, QList<RoutineInfo>> mCache;
    ParamList mParams;
};

} // namespace db
