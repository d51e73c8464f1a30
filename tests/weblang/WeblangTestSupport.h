#pragma once

#include "PgFixture.h"
#include "Session.h"
#include "TdmMain.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

// One widget application for the whole test program.
inline QApplication& weblangTestApp()
{
    static int argc = 1;
    static char name[] = "weblang_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's own statics may already be gone at exit.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// A data module signed in to the fixture's portal as the administrator, in a private application
// folder, bound the way the main window binds it.
class SignedInModule
{
public:
    SignedInModule()
    {
        weblangTestApp();
        qputenv("TEV_APP_DIR", mDir.path().toLocal8Bit());
        QFile ini(mDir.filePath(QStringLiteral("DEDAdize.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[CONNECTION]\r\nserver=TEVTEST\r\nuser=tev_user\r\n[SCHEMES]\r\nTEV=1\r\n");
        ini.close();
        dm = std::make_unique<TdmMain>();
        dm->session()->setServer(PgFixture::serviceName());
        dm->session()->setUsername(QStringLiteral("tev_user"));
        dm->session()->setPassword(QStringLiteral("tev_user"));
        dm->session()->connectAttempt();
        dm->BindToSession();
    }
    ~SignedInModule()
    {
        dm.reset();
        qunsetenv("TEV_APP_DIR");
    }
    db::Session& session() const { return *dm->session(); }

    std::unique_ptr<TdmMain> dm;

private:
    QTemporaryDir mDir;
};

// The portal's current web language as committed (seen by another connection).
inline QString committedWebLanguage()
{
    return PgFixture::instance().adminQuery(
        QStringLiteral("SELECT param_val FROM tev.tev_configs WHERE param_name = 'LANG_ID'"));
}

inline void resetWebLanguage()
{
    PgFixture::instance().adminQuery(
        QStringLiteral("UPDATE tev.tev_configs SET param_val = '25' WHERE param_name = 'LANG_ID'"));
}
