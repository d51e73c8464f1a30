#pragma once

// A data module signed in to the fixture's portal as the administrator, in a private application
// folder, bound the way the main window binds it. The widget application comes from
// WidgetTestApp.cpp, which the test program links.

#include "FrameworkFiles.h"
#include "PgFixture.h"
#include "Session.h"
#include "TdmMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <memory>

class PortalModule
{
public:
    PortalModule()
    {
        qputenv("TEV_APP_DIR", mDir.path().toLocal8Bit());
        FrameworkFiles::setFolder(mDir.path());
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
    ~PortalModule()
    {
        dm.reset();
        qunsetenv("TEV_APP_DIR");
    }
    PortalModule(const PortalModule&) = delete;
    PortalModule& operator=(const PortalModule&) = delete;

    db::Session& session() const { return *dm->session(); }

    std::unique_ptr<TdmMain> dm;

private:
    QTemporaryDir mDir;
};
