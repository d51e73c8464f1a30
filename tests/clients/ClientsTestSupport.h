#pragma once

#include "ClientsWorkArea.h"
#include "DbHelpers.h"
#include "FrameworkFiles.h"
#include "PgFixture.h"
#include "Session.h"
#include "TdmMain.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

// The widget application of the test program, made before the first test (WidgetTestApp.cpp).
inline QApplication& clientsTestApp()
{
    return *qobject_cast<QApplication*>(QCoreApplication::instance());
}

// A private application folder (TEV_APP_DIR) with its own DEDAdize.ini.
class TestAppFolder
{
public:
    explicit TestAppFolder(const QStringList& iniLines)
    {
        qputenv("TEV_APP_DIR", mDir.path().toLocal8Bit());
        FrameworkFiles::setFolder(mDir.path());
        QFile f(mDir.filePath(QStringLiteral("DEDAdize.ini")));
        if (f.open(QIODevice::WriteOnly))
            f.write(iniLines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    }
    ~TestAppFolder() { qunsetenv("TEV_APP_DIR"); }
    QString path() const { return mDir.path(); }

private:
    QTemporaryDir mDir;
};

// The sign-in dialog of the tests: signs in with the password equal to the user name.
class PasswordIsUserDialog : public db::ConnectDialog
{
public:
    bool execute(db::Session& session) override
    {
        session.setPassword(session.username());
        session.connectAttempt();
        return session.connected();
    }
};

// A data module signed in to the fixture's portal through its own sign-in (so the signed-in
// user is known), bound to the session, with a window that owns the work area's query.
class SignedInModule
{
public:
    explicit SignedInModule(const QString& user = QStringLiteral("tev_user"), QStringList extraIni = {})
        : folder(QStringList{"[CONNECTION]", "server=" + PgFixture::serviceName(), "user=" + user,
                             "[SCHEMES]", "TEV=1", "WEB2=0"} +
                 extraIni)
    {
        clientsTestApp();
        db::Session::registerConnectDialog(QString::fromLatin1(TdmMain::kNormalConnect),
                                           [] { return std::make_unique<PasswordIsUserDialog>(); });
        dm = std::make_unique<TdmMain>();
        connected = dm->Connect();
        if (connected)
            dm->BindToSession();
    }
    ~SignedInModule()
    {
        if (dm)
            dm->DataModuleDestroy();
    }

    // Binds the window's own components as the main window does.
    void bindWindow(QObject* window)
    {
        fSetSession(window, dm->session());
        fSetShema(window, dm->ActiveScheme());
    }

    TestAppFolder folder;
    std::unique_ptr<TdmMain> dm;
    bool connected = false;
};

inline QString adminValue(const QString& sql)
{
    return PgFixture::instance().adminQuery(sql);
}

// The work area in a window of its own, signed in as the administrator; nothing opened yet.
class WorkAreaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_PG();
        module = std::make_unique<SignedInModule>();
        ASSERT_TRUE(module->connected);
        window = std::make_unique<QWidget>();
        area = new ClientsWorkArea(*module->dm, window.get());
        module->bindWindow(window.get());
    }

    std::unique_ptr<SignedInModule> module;
    std::unique_ptr<QWidget> window;
    ClientsWorkArea* area = nullptr;
};
