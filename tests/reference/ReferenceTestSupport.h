#pragma once

#include "DbHelpers.h"
#include "FrameworkFiles.h"
#include "PgFixture.h"
#include "PortalModule.h"
#include "Query.h"
#include "Session.h"
#include "SharedQueries.h"
#include "TdmMain.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

// The widget application of the test program (WidgetTestApp.cpp).
inline QApplication& referenceTestApp()
{
    return *qobject_cast<QApplication*>(QCoreApplication::instance());
}

// The signed-in module with the emitent list open.
class SignedInModule : public PortalModule
{
public:
    SignedInModule()
    {
        db::Query* emitents = dm->queries().oqEmitentSelect;
        emitents->setParam(QString::fromLatin1(SharedQueries::EmitentSelect::kAllEmitentParam), 1);
        emitents->setParam(QString::fromLatin1(SharedQueries::EmitentSelect::kManagerParam), -1);
        emitents->open();
    }

    // The emitent whose service points and transaction types the windows show (as the work area
    // sets it).
    void setEmitent(int emitentId)
    {
        for (db::Query* q : {dm->queries().oquPOSes, dm->queries().oquTrnTypes}) {
            q->close();
            q->setParam(QString::fromLatin1(SharedQueries::EmitentData::kEmitentParam), emitentId);
        }
    }
};

inline QString adminValue(const QString& sql)
{
    return PgFixture::instance().adminQuery(sql);
}

// While it lives, updates of one table's rows that match a condition fail with ORA-20001 (a
// portal call failing in the middle of a walk). Removing the trigger waits for the console's open
// transaction, so the session given commits first: whatever a failure left uncommitted becomes
// durable, which the tests then check is nothing.
class RefusedUpdate
{
public:
    RefusedUpdate(db::Session& session, const QString& table, const QString& condition)
        : mSession(session), mTable(table)
    {
        adminValue(QStringLiteral(
                       "CREATE OR REPLACE FUNCTION tev.tev_test_refuse() RETURNS trigger LANGUAGE plpgsql "
                       "AS $$ BEGIN RAISE EXCEPTION 'ORA-20001: refused by the test'; END $$; "
                       "CREATE TRIGGER tev_test_refuse BEFORE UPDATE ON tev.%1 FOR EACH ROW WHEN (%2) "
                       "EXECUTE FUNCTION tev.tev_test_refuse()")
                       .arg(table, condition));
    }
    ~RefusedUpdate()
    {
        mSession.commit();
        adminValue(QStringLiteral("DROP TRIGGER tev_test_refuse ON tev.%1").arg(mTable));
    }

private:
    db::Session& mSession;
    QString mTable;
};
