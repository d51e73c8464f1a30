#pragma once

#include "Dataset.h"
#include "Param.h"
#include "Routine.h"

#include "Session.h"

#include <QPointer>

namespace db {


// A portal procedure or function called by name; its parameters come from the catalogue. When
// it has a cursor output, open() shows that cursor's rows.
class StoredProc : public Dataset
{
    Q_OBJECT

public:
    explicit StoredProc(QObject* parent = nullptr);
    explicit StoredProc(Session* session, QObject* parent = nullptr);

    Session* session() const { return mSession; }
    void setSession(Session* session) { mSession = session; }

    // "OWNER.TEV_UTILS.NAME" or "OWNER.NAME"; changing it unprepares.
    const QString& storedProcName() const { return mName; }
    void setStoredProcName(const QString& name);

    void prepare();
    bool isPrepared() const { return mPrepared; }
    void unprepare();

    ParamList& params() { return mParams; }
    // A parameter not known yet is looked for in the catalogue first when the session is connected.
    Param& paramByName(const QString& name);
    void setParam(const QString& name, const QVariant& value) { paramByName(name).setValue(value); }

    void execProc();
    void open() override;

private:
    void run(bool wantRows);

    QPointer<Session> mSession;
    QString mName;
    bool mPrepared = false;
    RoutineInfo mRoutine;
    ParamList mParams;
};

} // namespace db
