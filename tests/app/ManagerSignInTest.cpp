// A regional manager made in the managers' window signs in through the regional dialog and works
// with exactly the emitents given there.

#include "AppTestSupport.h"
#include "DemoModalRunner.h"
#include "ModalRunner.h"
#include "PortalCodec.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"
#include "SharedQueries.h"
#include "TfmManager.h"
#include "TfmManagerEdit.h"
#include "TfmSelectEmForManager.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
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

} // namespace

TEST(RegionalManagers, AManagerMadeInTheWindowSignsInAndSeesTheEmitentsGiven)
{
    REQUIRE_PG();
    // Blanks at both ends and Cyrillic letters: the password is kept exactly as typed.
    const QString password = QStringLiteral(" Ключ 7 ");
    const QString name = QStringLiteral("Σοφία Παπαδοπούλου");
    int managerId = -1;
    {
        Console c;
        TfrmMain& w = c.open();
        ScriptedModalRunner runner;
        RecordingPresenter presenter;
        runner.answer = [&](QDialog& dialog) -> int {
            if (auto* edit = dynamic_cast<TfmManagerEdit*>(&dialog)) {
                edit->edtLogin()->setText(name);
                edit->edtPassword()->setText(password);
                edit->OkBtn()->click();
                return edit->result();
            }
            if (auto* choice = dynamic_cast<TfmSelectEmForManager*>(&dialog)) {
                db::Dataset* list = choice->ListDataset();
                for (int row = 0; row < list->recordCount(); ++row) {
                    const int id = list->value(row, list->fieldIndex("EMITENT_ID_WEB")).toInt();
                    list->setValueAt(row, list->fieldIndex("ISVISIBLE"), id == 2 || id == 7 ? 1 : 0);
                }
                return int(QDialog::Accepted);
            }
            auto* managers = dynamic_cast<TfmManager*>(&dialog);
            EXPECT_TRUE(managers) << dialog.metaObject()->className();
            if (!managers)
                return int(QDialog::Rejected);
            managers->show();
            managers->acAddManagerExecute();
            managerId = int(managers->managers()->asInteger("MANAGER_ID"));
            managers->acAddEmitentExecute();
            managers->close();
            return int(QDialog::Rejected);
        };
        w.actMainUpdate();
        QAction* command = w.command("actManager");
        ASSERT_TRUE(command->isEnabled());
        command->trigger();
        EXPECT_EQ(runner.dialogs, QStringList({"TfmManager", "TfmManagerEdit", "TfmSelectEmForManager"}));
        EXPECT_EQ(presenter.count(), 0);
    }
    ASSERT_EQ(
        admin(
            QStringLiteral("SELECT manager_name FROM tev.tev_manager WHERE manager_id = %1").arg(managerId)),
        EncodeUnicodeEscapes(name));

    QTemporaryDir folder;
    qputenv("TEV_APP_DIR", folder.path().toLocal8Bit());
    FrameworkFiles::setFolder(folder.path());
    QFile ini(folder.filePath("DEDAdize.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[CONNECTION]\r\nserver=%1\r\nseparate_manage=1\r\nlast_manager_id=%2\r\n"
                             "[SCHEMES]\r\nTEV=1\r\nWEB2=0\r\n")
                  .arg(PgFixture::serviceName())
                  .arg(managerId)
                  .toUtf8());
    ini.close();
    InMemoryServiceManager services;
    IServiceManager* previousServices = setServiceManager(&services);
    TdmMain::RegisterConnectDialogs();
    RecordingPresenter presenter;
    {
        TdmMain dm;
        {
            DemoModalRunner signIn(QStringLiteral("tev_manager"), true, password);
            framework::ModalRunner* previous = framework::setModalRunner(&signIn);
            const bool connected = dm.Connect();
            framework::setModalRunner(previous);
            ASSERT_TRUE(connected);
        }
        EXPECT_EQ(dm.ManagerId(), managerId);
        {
            TfrmMain window(dm);
            window.show();
            EXPECT_FALSE(window.AllEmitents());
            EXPECT_EQ(emitentsShown(dm), QStringList({"2", "7"}));
        }
        dm.DataModuleDestroy();
    }
    EXPECT_EQ(presenter.count(), 0);
    setServiceManager(previousServices);
    qunsetenv("TEV_APP_DIR");
    // The other tests of this program share the database.
    admin(QStringLiteral("DELETE FROM tev.tev_manager_emitent WHERE manager_id = %1; "
                         "DELETE FROM tev.tev_manager WHERE manager_id = %1")
              .arg(managerId));
}
