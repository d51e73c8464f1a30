#pragma once

// The signed-in console the window tests start from.

#include "InMemoryServiceManager.h"
#include "PgFixture.h"
#include "ServiceManager.h"
#include "Session.h"
#include "TTranslator.h"
#include "TdmMain.h"
#include "TevApplication.h"
#include "TfrmMain.h"
#include "FrameworkFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new TevApplication(argc, argv);
}

// Signs in with the password equal to the user name, or refuses when told to.
class TestSignIn : public db::ConnectDialog
{
public:
    static inline bool refuse = false;
    bool execute(db::Session& session) override
    {
        if (refuse)
            return false;
        session.setPassword(session.username());
        session.connectAttempt();
        return session.connected();
    }
};

inline QString admin(const QString& sql)
{
    return PgFixture::instance().adminQuery(sql);
}

// Runs SQL as the superuser now and other SQL when the scope ends.
class AdminChange
{
public:
    AdminChange(const QString& change, QString undo) : mUndo(std::move(undo)) { admin(change); }
    ~AdminChange() { admin(mUndo); }

private:
    QString mUndo;
};

// The main window of a console signed in to the fixture's portal as `user`.
class Console
{
public:
    explicit Console(const QString& user = QStringLiteral("tev_user"), int managerId = -1,
                     bool english = false)
    {
        ensureApplication();
        qputenv("TEV_APP_DIR", folder.path().toLocal8Bit());
        FrameworkFiles::setFolder(folder.path());
        QFile ini(folder.filePath("DEDAdize.ini"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write(
                QStringLiteral("[CONNECTION]\r\nserver=%1\r\nuser=%2\r\n[SCHEMES]\r\nTEV=1\r\nWEB2=0\r\n")
                    .arg(PgFixture::serviceName(), user)
                    .toUtf8());
        ini.close();
        if (english)
            QFile::copy(QStringLiteral(TEV_SOURCE_DIR "/resources/lang/DEDAdize_eng.ini"),
                        folder.filePath("DEDAdize_eng.ini"));
        previousServices = setServiceManager(&services);
        TestSignIn::refuse = false;
        db::Session::registerConnectDialog(QString::fromLatin1(TdmMain::kNormalConnect),
                                           [] { return std::make_unique<TestSignIn>(); });
        dm = std::make_unique<TdmMain>();
        signedIn = dm->Connect();
        dm->SetManagerId(managerId);
    }
    ~Console()
    {
        window.reset();
        dm->DataModuleDestroy();
        dm.reset();
        setServiceManager(previousServices);
        lang::TTranslator::instance().SetLanguage(25);
        qunsetenv("TEV_APP_DIR");
    }
    // Creates the window and shows it, which loads the workspace.
    TfrmMain& open()
    {
        window = std::make_unique<TfrmMain>(*dm);
        window->show();
        return *window;
    }
    ClientsWorkArea& area() { return *window->workArea(); }

    QTemporaryDir folder;
    InMemoryServiceManager services;
    IServiceManager* previousServices = nullptr;
    std::unique_ptr<TdmMain> dm;
    std::unique_ptr<TfrmMain> window;
    bool signedIn = false;
};

