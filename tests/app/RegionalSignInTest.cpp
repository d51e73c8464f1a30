// The regional managers' sign-in end to end: the real dialog, then the console of that manager.

#include "AppTestSupport.h"
#include "DemoModalRunner.h"
#include "IniFile.h"
#include "ModalRunner.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "SharedQueries.h"

#include <QAction>
#include <gtest/gtest.h>

namespace {

QStringList emitentsShown(TdmMain& dm)
{
    db::Query* list = dm.queries().oqEmitentSelect;
    QStringList ids;
    for (int row = 0; row < list->recordCount(); ++row)
        ids << list->value(row, list->fieldIndex("EMITENT_ID_WEB")).toString();
    return ids;
}

// Signs in through the regional dialog as the demo does: connection password, manager password,
// "Войти" on the manager chosen last time.
class ManagerSignIn
{
public:
    explicit ManagerSignIn(const QString& managerPassword)
        : mRunner(QStringLiteral("tev_manager"), true, managerPassword),
          mPrevious(framework::setModalRunner(&mRunner))
    {
    }
    ~ManagerSignIn() { framework::setModalRunner(mPrevious); }

private:
    DemoModalRunner mRunner;
    framework::ModalRunner* mPrevious;
};

} // namespace

TEST(RegionalSignIn, ManagerSeesOnlyTheirEmitents)
{
    REQUIRE_PG();
    ensureApplication();
    QTemporaryDir folder;
    qputenv("TEV_APP_DIR", folder.path().toLocal8Bit());
    FrameworkFiles::setFolder(folder.path());
    QFile ini(folder.filePath("DEDAdize.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[CONNECTION]\r\nserver=%1\r\nseparate_manage=1\r\nlast_manager_id=2\r\n"
                             "[SCHEMES]\r\nTEV=1\r\nWEB2=0\r\n")
                  .arg(PgFixture::serviceName())
                  .toUtf8());
    ini.close();
    InMemoryServiceManager services;
    IServiceManager* previousServices = setServiceManager(&services);
    TdmMain::RegisterConnectDialogs();
    RecordingPresenter presenter;
    {
        TdmMain dm;
        {
            ManagerSignIn signIn(QStringLiteral("manager2"));
            ASSERT_TRUE(dm.Connect());
        }
        EXPECT_EQ(dm.ManagerId(), 2);
        {
            TfrmMain window(dm);
            window.show();
            EXPECT_FALSE(window.AllEmitents());
            EXPECT_EQ(emitentsShown(dm), QStringList({"4", "5"}));
            EXPECT_EQ(window.CurrentEmitentId(), 4);

            // Re-registration runs the whole cycle again; another manager sees their own.
            lang::IniFile(folder.filePath("DEDAdize.ini")).writeInteger("CONNECTION", "last_manager_id", 1);
            ManagerSignIn again(QStringLiteral("manager1"));
            window.findChild<QAction*>("actReconnect")->trigger();
            EXPECT_FALSE(window.isTerminated());
            EXPECT_EQ(dm.ManagerId(), 1);
            EXPECT_EQ(emitentsShown(dm), QStringList({"1", "2", "3"}));
        }
        dm.DataModuleDestroy();
    }
    QStringList boxes;
    for (const lang::MessageRequest& r : presenter.requests())
        boxes << r.text;
    EXPECT_EQ(boxes, QStringList({"Выполнить перерегистрацию?"}));
    setServiceManager(previousServices);
    qunsetenv("TEV_APP_DIR");
}
