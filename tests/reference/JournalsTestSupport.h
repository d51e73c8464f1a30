#pragma once

// A console signed in to the test portal as the administrator, for the journal, request, range
// and archive windows.
#include "Catalogue.h"
#include "FrameworkFiles.h"
#include "PgFixture.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"
#include "Session.h"
#include "TdmMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

inline QString adminValue(const QString& sql)
{
    return PgFixture::instance().adminQuery(sql);
}

// The data module signed in through its own sign-in (password = user name), bound to the session,
// with a private application folder.
class JournalsConsole
{
public:
    class SignIn : public db::ConnectDialog
    {
    public:
        bool execute(db::Session& session) override
        {
            session.setPassword(session.username());
            session.connectAttempt();
            return session.connected();
        }
    };

    explicit JournalsConsole(const QString& user = QStringLiteral("tev_user"))
    {
        qputenv("TEV_APP_DIR", folder.path().toLocal8Bit());
        FrameworkFiles::setFolder(folder.path());
        QFile ini(folder.filePath(QStringLiteral("DEDAdize.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write(
                QStringLiteral("[CONNECTION]\r\nserver=%1\r\nuser=%2\r\n[SCHEMES]\r\nTEV=1\r\nWEB2=0\r\n")
                    .arg(PgFixture::serviceName(), user)
                    .toUtf8());
        ini.close();
        db::Session::registerConnectDialog(QString::fromLatin1(TdmMain::kNormalConnect),
                                           [] { return std::make_unique<SignIn>(); });
        dm = std::make_unique<TdmMain>();
        connected = dm->Connect();
        if (connected)
            dm->BindToSession();
    }
    ~JournalsConsole()
    {
        dm->DataModuleDestroy();
        dm.reset();
        qunsetenv("TEV_APP_DIR");
    }

    QTemporaryDir folder;
    std::unique_ptr<TdmMain> dm;
    bool connected = false;
};

class JournalsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_PG();
        console = std::make_unique<JournalsConsole>();
        ASSERT_TRUE(console->connected);
    }
    void TearDown() override { console.reset(); }

    db::Session* session() const { return console->dm->session(); }
    QString shema() const { return console->dm->ActiveScheme(); }
    TdmMain& dm() const { return *console->dm; }

    // Values of one column of a dataset's visible rows.
    static QStringList columnOf(db::Dataset& d, const QString& field)
    {
        QStringList values;
        const int column = d.fieldIndex(field);
        for (int row = 0; row < d.recordCount(); ++row)
            values << d.value(row, column).toString();
        return values;
    }

    std::unique_ptr<JournalsConsole> console;
};
