#include "TfmRegionConnect.h"

#include "Catalogue.h"
#include "ConnectionSettings.h"
#include "CoreTestSupport.h"
#include "IniFile.h"
#include "PgFixture.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "Session.h"
#include "TdmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QLineEdit* edit(TfmRegionConnect& d, const char* name)
{
    return d.findChild<QLineEdit*>(name);
}
QPushButton* button(TfmRegionConnect& d, const char* name)
{
    return d.findChild<QPushButton*>(name);
}
QComboBox* managers(TfmRegionConnect& d)
{
    return d.findChild<QComboBox*>("cbManager");
}
QStringList managerNames(TfmRegionConnect& d)
{
    QStringList names;
    for (int i = 0; i < managers(d)->count(); ++i)
        names << managers(d)->itemText(i);
    return names;
}

// The connection panel's password, typed as a person would (an edit, not a program's setText).
void typeConnectionPassword(TfmRegionConnect& d, const QString& password)
{
    QLineEdit* field = edit(d, "edtPassword");
    field->selectAll();
    field->insert(password);
}

void chooseManager(TfmRegionConnect& d, const QString& name, const QString& password)
{
    managers(d)->setCurrentIndex(managers(d)->findText(name));
    edit(d, "edtManagerPassword")->setText(password);
}

} // namespace

class TfmRegionConnectTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        coreTestApp();
        TdmMain::RegisterConnectDialogs();
    }
    void SetUp() override
    {
        REQUIRE_PG();
        writeIni({});
    }
    void writeIni(const QStringList& extra, const QString& activeScheme = "TEV")
    {
        QStringList lines{"[CONNECTION]", "server=" + PgFixture::serviceName(), "separate_manage=1"};
        lines << extra << "[SCHEMES]" << QString("TEV=%1").arg(activeScheme == "TEV")
              << QString("WEB2=%1").arg(activeScheme == "WEB2");
        folder.write(lines);
    }

    // Connect, with the dialog handled by `script`; whatever the script leaves open is cancelled.
    bool connectWith(TdmMain& dm, std::function<void(TfmRegionConnect&)> script)
    {
        whenModal<TfmRegionConnect>([script](TfmRegionConnect& dialog) {
            script(dialog);
            if (dialog.isVisible())
                dialog.reject();
        });
        return dm.Connect();
    }

    AppFolder folder;
};

TEST_F(TfmRegionConnectTest, OpensOnTheManagerPanel)
{
    struct Row
    {
        const char* name;
        QStringList settings;
        bool setupShown;
        int enterX;
        int cancelX;
    } rows[] = {
        {"set-up button by default", {}, true, 12, 100},
        {"set-up button hidden", {"show_connect_setup=0"}, false, 100, 188},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        writeIni(r.settings);
        TdmMain dm;
        EXPECT_EQ(dm.session()->connectDialogClass(), "TfmRegionConnect");
        bool seen = false;
        EXPECT_FALSE(connectWith(dm, [&](TfmRegionConnect& d) {
            seen = true;
            EXPECT_EQ(d.windowTitle(), "Соединение по схеме \"TEV\"");
            EXPECT_EQ(d.height(), 220);
            EXPECT_FALSE(d.connectionPanelShown());
            EXPECT_EQ(d.statusText(), "Нет соединения");
            EXPECT_EQ(d.findChild<QLabel*>("lblManager")->text(), "Администратор");
            EXPECT_EQ(d.findChild<QLabel*>("lblManagerPass")->text(), "Пароль:");
            EXPECT_EQ(button(d, "btnEnter")->text(), "Войти");
            EXPECT_TRUE(button(d, "btnEnter")->isDefault());
            EXPECT_EQ(button(d, "btnCancel")->text(), "Отмена");
            EXPECT_EQ(button(d, "btnSetupConnect")->text(), "Настроить соединение");
            EXPECT_EQ(button(d, "btnSetupConnect")->isVisible(), r.setupShown);
            EXPECT_EQ(button(d, "btnEnter")->x(), r.enterX);
            EXPECT_EQ(button(d, "btnCancel")->x(), r.cancelX);
            EXPECT_EQ(edit(d, "edtManagerPassword")->echoMode(), QLineEdit::Password);
            EXPECT_EQ(d.focusWidget(), edit(d, "edtManagerPassword"));
            EXPECT_EQ(d.attemptsLeft(), 3);
            EXPECT_FALSE(d.retry());
            EXPECT_EQ(managers(d)->count(), 0);

            d.btnSetupConnectClick();
            EXPECT_TRUE(d.connectionPanelShown());
            EXPECT_EQ(d.height(), 440);
            EXPECT_EQ(d.findChild<QLabel*>("lblLogin")->text(), "Логин");
            EXPECT_EQ(d.findChild<QLabel*>("lblPass")->text(), "Пароль");
            EXPECT_EQ(d.findChild<QLabel*>("lblServer")->text(), "Сервер");
            EXPECT_EQ(edit(d, "edtUser")->text(), "tev_manager");
            EXPECT_TRUE(edit(d, "edtUser")->isReadOnly());
            EXPECT_EQ(edit(d, "edtPassword")->text(), "");
            EXPECT_EQ(edit(d, "edtPassword")->echoMode(), QLineEdit::Password);
            EXPECT_EQ(d.findChild<QComboBox*>("cbServer")->currentText(), PgFixture::serviceName());
            EXPECT_EQ(d.findChild<QCheckBox*>("chbAutoConnect")->text(), "Автоматическое соединение");
            EXPECT_FALSE(d.findChild<QCheckBox*>("chbAutoConnect")->isChecked());
            EXPECT_EQ(button(d, "btnConnect")->text(), "Соединить");
            EXPECT_EQ(button(d, "btnSavePassword")->text(), "Сохранить пароль");
            EXPECT_FALSE(button(d, "btnSavePassword")->isEnabled());
            d.btnSetupConnectClick();
            EXPECT_FALSE(d.connectionPanelShown());
            EXPECT_EQ(d.height(), 220);
        }));
        EXPECT_TRUE(seen);
    }
}

// "Войти" before a connection, a wrong and then the right manager password.
TEST_F(TfmRegionConnectTest, ManagerSignsInWithTheirOwnPassword)
{
    TdmMain dm;
    RecordingPresenter presenter;
    QStringList boxes;
    QStringList names;
    bool stayedOpen = false;
    EXPECT_TRUE(connectWith(dm, [&](TfmRegionConnect& d) {
        d.btnEnterClick();
        typeConnectionPassword(d, "tev_manager");
        d.btnConnectClick();
        EXPECT_EQ(d.statusText(), "Соединение успешно");
        EXPECT_TRUE(button(d, "btnSavePassword")->isEnabled());
        EXPECT_EQ(d.attemptsLeft(), 3);
        names = managerNames(d);
        EXPECT_EQ(managers(d)->currentIndex(), -1) << "no manager was chosen before";

        chooseManager(d, "Петрова Анна", "manager1");
        edit(d, "edtPassword")->setFocus();
        d.btnEnterClick();
        stayedOpen = d.isVisible();
        EXPECT_EQ(d.focusWidget(), edit(d, "edtManagerPassword"));
        EXPECT_EQ(dm.ManagerId(), -1);

        // No manager can have been given a password outside the code page: refused before the portal.
        chooseManager(d, "Петрова Анна", QStringLiteral("manager2\u03B2"));
        d.btnEnterClick();
        EXPECT_EQ(dm.ManagerId(), -1);

        chooseManager(d, "Петрова Анна", "manager2");
        d.btnEnterClick();
    }));
    for (const lang::MessageRequest& r : presenter.requests())
        boxes << r.text;
    EXPECT_EQ(boxes, QStringList({"Нет соединения с базой", "Неправильный пароль",
                                  "Пароль содержит недопустимые символы"}));
    EXPECT_TRUE(stayedOpen);
    // Names are kept escape-encoded by the portal.
    EXPECT_EQ(names, QStringList({"Иванов Иван", "Петрова Анна", "Manager Émilie"}));
    EXPECT_EQ(dm.ManagerId(), 2);
    EXPECT_EQ(dm.SignedInUser(), "TEV_MANAGER");
    EXPECT_TRUE(dm.session()->connected());
    EXPECT_EQ(dm.settings().lastManagerId(), 2);
}

TEST_F(TfmRegionConnectTest, NoManagersInThePortal)
{
    PgFixture::instance().adminQuery("create table tev.saved_managers as select * from tev.tev_manager");
    PgFixture::instance().adminQuery(
        "create table tev.saved_manager_emitents as select * from tev.tev_manager_emitent");
    PgFixture::instance().adminQuery("delete from tev.tev_manager_emitent");
    PgFixture::instance().adminQuery("delete from tev.tev_manager");
    TdmMain dm;
    RecordingPresenter presenter;
    EXPECT_FALSE(connectWith(dm, [&](TfmRegionConnect& d) {
        typeConnectionPassword(d, "tev_manager");
        d.btnConnectClick();
        d.btnEnterClick();
        EXPECT_TRUE(d.isVisible());
    }));
    PgFixture::instance().adminQuery("insert into tev.tev_manager select * from tev.saved_managers");
    PgFixture::instance().adminQuery(
        "insert into tev.tev_manager_emitent select * from tev.saved_manager_emitents");
    PgFixture::instance().adminQuery("drop table tev.saved_managers, tev.saved_manager_emitents");
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, "Логины для администраторов не созданы");
    EXPECT_EQ(dm.ManagerId(), -1);
}

// Failed connections are reported in the status line only, and the last one cancels.
TEST_F(TfmRegionConnectTest, FailedConnectionsUseUpTheAttempts)
{
    TdmMain dm;
    RecordingPresenter presenter;
    QStringList statuses;
    QList<bool> open;
    EXPECT_FALSE(connectWith(dm, [&](TfmRegionConnect& d) {
        const QString passwords[] = {"wrong", "", "wrong"};
        for (const QString& p : passwords) {
            typeConnectionPassword(d, p);
            d.btnConnectClick();
            statuses << d.statusText();
            open << d.isVisible();
        }
        EXPECT_FALSE(button(d, "btnSavePassword")->isEnabled());
        EXPECT_TRUE(d.retry());
    }));
    EXPECT_EQ(statuses, QStringList({"Неверный пароль/логин", "Не введен пароль", "Неверный пароль/логин"}));
    EXPECT_EQ(open, QList<bool>({true, true, false}));
    EXPECT_EQ(presenter.count(), 0);
    EXPECT_FALSE(dm.session()->connected());
}

TEST_F(TfmRegionConnectTest, ConnectStatusTexts)
{
    struct Row
    {
        int code;
        const char* text;
    } rows[] = {
        {1017, "Неверный пароль/логин"},
        {12154, "Сервер ненайден"},
        {12545, "Соединение по сети не установлено"},
        {4043, "Недостаточно привилегий"},
        {942, "Пользователь не зарегистрирован в схеме"},
        {28000, "Пользователь заблокирован"},
        {3113, "Ошибка при соединении"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(TfmRegionConnect::ConnectStatusText(r.code), QString::fromUtf8(r.text)) << r.code;
}

// The saved password goes in as hexadecimal text, in a file only its owner reads, and the next
// dialog connects with it at once and shows the manager chosen last.
TEST_F(TfmRegionConnectTest, SavedPasswordConnectsAutomatically)
{
    {
        TdmMain dm;
        EXPECT_FALSE(connectWith(dm, [&](TfmRegionConnect& d) {
            d.btnSetupConnectClick();
            typeConnectionPassword(d, "tev_manager");
            d.btnConnectClick();
            d.btnSavePasswordClick();
            d.findChild<QCheckBox*>("chbAutoConnect")->click();
        }));
    }
    lang::IniFile ini(folder.ini());
    const QString stored = ini.readString("CONNECTION", "password");
    EXPECT_TRUE(QRegularExpression("^[0-9A-F]+$").match(stored).hasMatch()) << stored.toStdString();
    EXPECT_EQ(QFileInfo(folder.ini()).permissions() &
                  (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup),
              QFile::Permissions());
    EXPECT_EQ(ini.readInteger("CONNECTION", "auto_connect"), 1);
    ini.writeInteger("CONNECTION", "last_manager_id", 1);

    TdmMain dm;
    RecordingPresenter presenter;
    QString status;
    QString shown;
    EXPECT_TRUE(connectWith(dm, [&](TfmRegionConnect& d) {
        status = d.statusText();
        shown = managers(d)->currentText();
        EXPECT_TRUE(d.findChild<QCheckBox*>("chbAutoConnect")->isChecked());
        EXPECT_EQ(edit(d, "edtPassword")->text(), "***");
        EXPECT_FALSE(button(d, "btnSavePassword")->isEnabled());
        edit(d, "edtManagerPassword")->setText("manager1");
        d.btnEnterClick();
    }));
    EXPECT_EQ(status, "Соединение успешно");
    EXPECT_EQ(shown, "Иванов Иван");
    EXPECT_EQ(dm.ManagerId(), 1);
    EXPECT_EQ(presenter.count(), 0);
}

// With automatic connection on, "Соединить" while the field still shows its placeholder uses the
// saved password; a typed password replaces it.
TEST_F(TfmRegionConnectTest, ManualConnectionBehindThePlaceholder)
{
    writeIni({"auto_connect=1"});
    {
        lang::IniFile ini(folder.ini());
        ConnectionSettings(ini).setSavedPassword("tev_manager");
    }
    TdmMain dm;
    RecordingPresenter presenter;
    QStringList statuses;
    QString saved;
    connectWith(dm, [&](TfmRegionConnect& d) {
        d.btnConnectClick();
        statuses << d.statusText();
        // Saving now keeps the saved password, not the placeholder.
        d.btnSavePasswordClick();
        saved = dm.settings().savedPassword();
        typeConnectionPassword(d, "wrong");
        d.btnConnectClick();
        statuses << d.statusText();
    });
    EXPECT_EQ(statuses, QStringList({"Соединение успешно", "Неверный пароль/логин"}));
    EXPECT_EQ(saved, "tev_manager");
}

// A saved value that cannot be read counts as no saved password: the automatic connection goes
// with an empty one.
TEST_F(TfmRegionConnectTest, UnreadableSavedPasswordIsNone)
{
    struct Row
    {
        const char* name;
        QStringList settings;
    } rows[] = {
        {"nothing saved", {"auto_connect=1"}},
        {"garbage", {"auto_connect=1", "password=\"not a cipher text\""}},
        {"hex under another pass phrase",
         {"auto_connect=1", "password=FD42E8112141E02808B725BD49437B35964C336D52A5F046"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        writeIni(r.settings);
        TdmMain dm;
        RecordingPresenter presenter;
        EXPECT_EQ(dm.settings().savedPassword(), "");
        QString status;
        int attempts = 0;
        EXPECT_FALSE(connectWith(dm, [&](TfmRegionConnect& d) {
            status = d.statusText();
            attempts = d.attemptsLeft();
        }));
        EXPECT_EQ(status, "Не введен пароль");
        EXPECT_EQ(attempts, 2);
    }
}

// After a change of scheme the managers come from the new scheme, and back again.
TEST_F(TfmRegionConnectTest, ManagersFollowTheActiveScheme)
{
    writeIni({"auto_connect=1"}, "WEB2");
    {
        lang::IniFile ini(folder.ini());
        ConnectionSettings(ini).setSavedPassword("tev_manager");
    }
    TdmMain dm;
    RecordingPresenter presenter;
    struct Row
    {
        const char* scheme;
        QStringList names;
        const char* manager;
        int managerId;
    } rows[] = {
        {"WEB2", {"Сидоров Пётр"}, "Сидоров Пётр", 1},
        {"TEV", {"Иванов Иван", "Петрова Анна", "Manager Émilie"}, "Петрова Анна", 2},
        {"WEB2", {"Сидоров Пётр"}, "Сидоров Пётр", 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.scheme);
        dm.SetActiveScheme(r.scheme);
        QStringList names;
        QString title;
        EXPECT_TRUE(connectWith(dm, [&](TfmRegionConnect& d) {
            names = managerNames(d);
            title = d.windowTitle();
            chooseManager(d, QString::fromUtf8(r.manager), QString("manager%1").arg(r.managerId));
            d.btnEnterClick();
        }));
        EXPECT_EQ(names, r.names);
        EXPECT_EQ(title, QString("Соединение по схеме \"%1\"").arg(r.scheme));
        EXPECT_EQ(dm.ManagerId(), r.managerId);
        EXPECT_EQ(presenter.count(), 0);
        dm.Disconnect();
    }
}

// "Войти" failing for another reason than the password says so in the status line.
TEST_F(TfmRegionConnectTest, OtherSignInFailuresAreShown)
{
    TdmMain dm;
    RecordingPresenter presenter;
    QString before;
    QString after;
    EXPECT_FALSE(connectWith(dm, [&](TfmRegionConnect& d) {
        typeConnectionPassword(d, "tev_manager");
        d.btnConnectClick();
        before = d.statusText();
        PgFixture::instance().adminQuery(
            QString("select pg_terminate_backend(%1)").arg(dm.session()->backendPid()));
        chooseManager(d, "Иванов Иван", "manager1");
        d.btnEnterClick();
        after = d.statusText();
        EXPECT_TRUE(d.isVisible());
    }));
    EXPECT_EQ(before, "Соединение успешно");
    EXPECT_NE(after, before);
    EXPECT_FALSE(after.isEmpty());
    EXPECT_EQ(presenter.count(), 0);
    EXPECT_EQ(dm.ManagerId(), -1);
}
