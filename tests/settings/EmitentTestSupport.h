#pragma once

// A data module signed in to the fixture's portal with the emitent list open, as the main window
// leaves it before the emitent settings open; and what the emitent tests check in the database.

#include "FrameworkFiles.h"
#include "PgFixture.h"
#include "Query.h"
#include "Session.h"
#include "SharedQueries.h"
#include "TdmMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline QString adminValue(const QString& sql)
{
    return PgFixture::instance().adminQuery(sql);
}

// The tests of this program share one database: every test starts from the demo emitents as
// installed (kept aside on first use).
inline void restoreDemoEmitents()
{
    adminValue(QStringLiteral(
        "SET client_min_messages = warning; CREATE TABLE IF NOT EXISTS tev.tev_test_emitent_saved AS SELECT * FROM tev.tev_emitent; "
        "UPDATE tev.tev_emitent e SET (unload, pos_visible, hide_discont, type_change, sharing_folder, e_mail, "
        "order_unload, order_download, use_http, http_server, http_port, use_http_proxy, http_proxy_server, "
        "http_proxy_port, use_http_proxy_auth, http_proxy_user, http_proxy_pswd, use_billing, billing_prefix, "
        "billing_service_name, billing_vat) = (SELECT s.unload, s.pos_visible, s.hide_discont, s.type_change, "
        "s.sharing_folder, s.e_mail, s.order_unload, s.order_download, s.use_http, s.http_server, s.http_port, "
        "s.use_http_proxy, s.http_proxy_server, s.http_proxy_port, s.use_http_proxy_auth, s.http_proxy_user, "
        "s.http_proxy_pswd, s.use_billing, s.billing_prefix, s.billing_service_name, s.billing_vat FROM "
        "tev.tev_test_emitent_saved s WHERE s.emitent_id_web = e.emitent_id_web)"));
}

class EmitentModule
{
public:
    explicit EmitentModule(const QString& user = QStringLiteral("tev_user"))
    {
        restoreDemoEmitents();
        qputenv("TEV_APP_DIR", mDir.path().toLocal8Bit());
        FrameworkFiles::setFolder(mDir.path());
        QFile ini(mDir.filePath(QStringLiteral("DEDAdize.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[CONNECTION]\r\nserver=TEVTEST\r\n[SCHEMES]\r\nTEV=1\r\n");
        ini.close();
        dm = std::make_unique<TdmMain>();
        dm->session()->setServer(PgFixture::serviceName());
        dm->session()->setUsername(user);
        dm->session()->setPassword(user);
        dm->session()->connectAttempt();
        dm->BindToSession();
        db::Query* emitents = dm->queries().oqEmitentSelect;
        emitents->setParam(QString::fromLatin1(SharedQueries::EmitentSelect::kAllEmitentParam), 1);
        emitents->setParam(QString::fromLatin1(SharedQueries::EmitentSelect::kManagerParam), -1);
        emitents->open();
    }
    ~EmitentModule()
    {
        dm.reset();
        qunsetenv("TEV_APP_DIR");
    }
    EmitentModule(const EmitentModule&) = delete;
    EmitentModule& operator=(const EmitentModule&) = delete;

    db::Session& session() const { return *dm->session(); }
    db::Query* emitents() const { return dm->queries().oqEmitentSelect; }
    // Puts the list on an emitent.
    void go(int emitentId) const { emitents()->locate(QStringLiteral("EMITENT_ID_WEB"), emitentId); }

    std::unique_ptr<TdmMain> dm;

private:
    QTemporaryDir mDir;
};

// Columns of tev_emitent for some emitents, "a|b;a|b" in id order.
inline QString emitentColumns(const QString& columns, const QString& ids)
{
    return adminValue(QStringLiteral("SELECT string_agg(concat_ws('|', %1), ';' ORDER BY emitent_id_web) "
                                     "FROM tev.tev_emitent WHERE emitent_id_web IN (%2)")
                          .arg(columns, ids));
}

// While it lives, updates of tev_emitent rows that match a condition fail with ORA-20001 (a
// portal call failing, also in the middle of a save). Dropping the trigger waits for the console's
// open transaction, so the session commits first: whatever a failure left uncommitted would become
// durable, which the tests then check is nothing.
class RefusedEmitentUpdate
{
public:
    RefusedEmitentUpdate(db::Session& session, const QString& condition) : mSession(session)
    {
        adminValue(QStringLiteral("CREATE OR REPLACE FUNCTION tev.tev_test_refuse() RETURNS trigger "
                                  "LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION 'ORA-20001: refused by the "
                                  "test'; END $$; CREATE TRIGGER tev_test_refuse BEFORE UPDATE ON "
                                  "tev.tev_emitent FOR EACH ROW WHEN (%1) EXECUTE FUNCTION tev.tev_test_refuse()")
                       .arg(condition));
    }
    ~RefusedEmitentUpdate()
    {
        if (mSession.connected())
            mSession.commit();
        adminValue(QStringLiteral("DROP TRIGGER tev_test_refuse ON tev.tev_emitent"));
    }

private:
    db::Session& mSession;
};
