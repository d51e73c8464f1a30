#include "Catalogue.h"
#include "CoreTestSupport.h"
#include "IniFile.h"
#include "OraError.h"
#include "PgFixture.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "Session.h"
#include "TdmMain.h"
#include "TfmNormalConnect.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

struct Typed
{
    QString user;
    QString password;
    QString server = PgFixture::serviceName();
};

void type(TfmNormalConnect& dialog, const Typed& t)
{
    dialog.findChild<QLineEdit*>("edtUser")->setText(t.user);
    dialog.findChild<QLineEdit*>("edtPassword")->setText(t.password);
    dialog.findChild<QComboBox*>("cbServer")->setCurrentText(t.server);
}

// How one press of "Соединить" ended.
enum class Outcome { Closed, StaysOpen, Aborted, ManagerRefused };

Outcome press(TfmNormalConnect& dialog, QString* escaped = nullptr)
{
    try {
        dialog.btnConnectClick();
    } catch (const db::Abort&) {
        return Outcome::Aborted;
    } catch (const EManagerError& e) {
        if (escaped)
            *escaped = QString::fromStdString(e.what());
        return Outcome::ManagerRefused;
    }
    return dialog.isVisible() ? Outcome::StaysOpen : Outcome::Closed;
}

} // namespace

class TfmNormalConnectTest : public ::testing::Test
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
        folder.write({"[CONNECTION]", "server=" + PgFixture::serviceName(), "user=tev_user", "home=2", "[SCHEMES]",
                      "TEV=1", "WEB2=0"});
    }

    // Connect, with the dialog handled by `script`; whatever the script leaves open is cancelled.
    bool connectWith(TdmMain& dm, std::function<void(TfmNormalConnect&)> script)
    {
        whenModal<TfmNormalConnect>([script](TfmNormalConnect& dialog) {
            script(dialog);
            if (dialog.isVisible())
                dialog.reject();
        });
        return dm.Connect();
    }

    AppFolder folder;
};

TEST_F(TfmNormalConnectTest, OpensWithSavedUserAndServer)
{
    TdmMain dm;
    bool seen = false;
    EXPECT_FALSE(connectWith(dm, [&](TfmNormalConnect& d) {
        seen = true;
        EXPECT_EQ(d.windowTitle(), "Соединение по схеме \"TEV\"");
        EXPECT_EQ(d.findChild<QLineEdit*>("edtUser")->text(), "tev_user");
        EXPECT_EQ(d.findChild<QLineEdit*>("edtPassword")->text(), "");
        EXPECT_EQ(d.findChild<QLineEdit*>("edtPassword")->echoMode(), QLineEdit::Password);
        auto* server = d.findChild<QComboBox*>("cbServer");
        EXPECT_EQ(server->currentText(), PgFixture::serviceName());
        EXPECT_GE(server->findText(PgFixture::serviceName()), 0) << "the service file's names are offered";
        EXPECT_EQ(d.findChild<QLabel*>("lblLogin")->text(), "Логин");
        EXPECT_EQ(d.findChild<QLabel*>("lblPass")->text(), "Пароль");
        EXPECT_EQ(d.findChild<QLabel*>("lblServer")->text(), "Сервер");
        EXPECT_EQ(d.findChild<QPushButton*>("btnConnect")->text(), "Соединить");
        EXPECT_TRUE(d.findChild<QPushButton*>("btnConnect")->isDefault());
        EXPECT_EQ(d.findChild<QPushButton*>("btnCancel")->text(), "Отмена");
        EXPECT_EQ(d.focusWidget(), d.findChild<QLineEdit*>("edtPassword"));
        EXPECT_EQ(d.attemptsLeft(), 3);
        EXPECT_FALSE(d.retry());
    }));
    EXPECT_TRUE(seen);
    EXPECT_FALSE(dm.session()->connected());
}

// Each failed attempt shows its catalogue text, counts, and leaves the dialog open.
TEST_F(TfmNormalConnectTest, FailedAttemptsShowTheirTexts)
{
    struct Row
    {
        const char* name;
        Typed typed;
        const char* text;
    } rows[] = {
        {"wrong password", {"tev_user", "wrong"}, "Неверный пароль/логин"},
        {"unknown user", {"nobody_here", "x"}, "Неверный пароль/логин"},
        {"empty password", {"tev_user", ""}, "Не введен пароль"},
        {"unknown service", {"tev_user", "tev_user", "NO_SUCH_SERVICE"}, "Сервер ненайден"},
        {"server down", {"tev_user", "tev_user", "127.0.0.1:1/x"}, "Соединение по сети не установлено"},
        {"host unknown", {"tev_user", "tev_user", "no-such-host.invalid:5432/x"}, "Соединение по сети не установлено"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TdmMain dm;
        RecordingPresenter presenter;
        EXPECT_FALSE(connectWith(dm, [&](TfmNormalConnect& d) {
            type(d, r.typed);
            EXPECT_EQ(press(d), Outcome::StaysOpen);
            EXPECT_EQ(d.attemptsLeft(), 2);
            EXPECT_TRUE(d.retry());
            EXPECT_EQ(d.focusWidget(), d.findChild<QLineEdit*>("edtPassword"));
        }));
        ASSERT_EQ(presenter.count(), 1);
        EXPECT_EQ(presenter.last().text, QString::fromUtf8(r.text));
        EXPECT_EQ(presenter.last().caption, "Ошибка");
        EXPECT_EQ(presenter.last().icon, lang::MsgIcon::Error);
    }
}

// The schema owner and the regional managers' account are refused without an attempt counted.
TEST_F(TfmNormalConnectTest, OwnerAndManagerAreRefused)
{
    struct Row
    {
        const char* user;
        Outcome outcome;
        int boxes;
    } rows[] = {
        {"tev", Outcome::Aborted, 1},
        {"TEV ", Outcome::Aborted, 1},
        {" Tev", Outcome::Aborted, 1},
        {"TEV_MANAGER", Outcome::ManagerRefused, 0},
        {" tev_manager ", Outcome::ManagerRefused, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.user);
        TdmMain dm;
        RecordingPresenter presenter;
        QString escaped;
        connectWith(dm, [&](TfmNormalConnect& d) {
            type(d, {QString::fromLatin1(r.user), "tev"});
            EXPECT_EQ(press(d, &escaped), r.outcome);
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(d.attemptsLeft(), 3);
            EXPECT_FALSE(d.retry());
        });
        EXPECT_FALSE(dm.session()->connected());
        ASSERT_EQ(presenter.count(), r.boxes);
        if (r.outcome == Outcome::Aborted) {
            EXPECT_EQ(presenter.last().text, "Подключение под владельцем схемы данных запрещено!");
            EXPECT_EQ(presenter.last().icon, lang::MsgIcon::Warning);
        } else {
            EXPECT_EQ(escaped, lang::tr(u"vrstrTEVMagagerEnterError"));
            EXPECT_TRUE(escaped.startsWith("TEV_MANAGER предназначен для входа"));
        }
    }
}

TEST_F(TfmNormalConnectTest, ExhaustedAttemptsCancel)
{
    TdmMain dm;
    RecordingPresenter presenter;
    QList<Outcome> outcomes;
    EXPECT_FALSE(connectWith(dm, [&](TfmNormalConnect& d) {
        for (int i = 0; i < 3; ++i) {
            type(d, {"tev_user", "wrong"});
            outcomes << press(d);
        }
    }));
    EXPECT_EQ(outcomes, QList<Outcome>({Outcome::StaysOpen, Outcome::StaysOpen, Outcome::Closed}));
    EXPECT_EQ(presenter.count(), 3);
    EXPECT_FALSE(dm.session()->connected());
    // Nothing is saved by a failed sign-in.
    EXPECT_EQ(lang::IniFile(folder.ini()).readInteger("CONNECTION", "home"), 2);
}

TEST_F(TfmNormalConnectTest, SuccessSavesTheTrimmedConnection)
{
    folder.write({"[CONNECTION]", "server=elsewhere", "user=someone", "home=2", "[SCHEMES]", "TEV=1"});
    TdmMain dm;
    RecordingPresenter presenter;
    Outcome outcome{};
    EXPECT_TRUE(connectWith(dm, [&](TfmNormalConnect& d) {
        type(d, {"  tev_user ", "tev_user"});
        outcome = press(d);
    }));
    EXPECT_EQ(outcome, Outcome::Closed);
    EXPECT_EQ(presenter.count(), 0);
    EXPECT_TRUE(dm.session()->connected());
    EXPECT_EQ(dm.SignedInUser(), "TEV_USER");
    EXPECT_EQ(dm.session()->homeNumber(), 2);
    const lang::IniFile ini(folder.ini());
    EXPECT_EQ(ini.readString("CONNECTION", "server"), PgFixture::serviceName());
    EXPECT_EQ(ini.readString("CONNECTION", "user"), "tev_user");
    EXPECT_EQ(ini.readInteger("CONNECTION", "home"), 2);

    // The error hook serves every statement of the session, not only the sign-in.
    db::Query q(dm.session());
    q.setSql("select * from tev.no_such_view_here");
    try {
        q.open();
        FAIL() << "a missing view was read";
    } catch (const db::OraError& e) {
        EXPECT_EQ(e.code(), 942);
        EXPECT_EQ(e.message(), "Пользователь не зарегистрирован в схеме");
    }

    // Signing in again starts from a closed session and the saved values.
    dm.Disconnect();
    EXPECT_FALSE(connectWith(dm, [&](TfmNormalConnect& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>("edtUser")->text(), "tev_user");
        EXPECT_EQ(d.findChild<QLineEdit*>("edtPassword")->text(), "");
    }));
}

TEST_F(TfmNormalConnectTest, IgnoresTheDemoEnvironment)
{
    // The demo's conveniences live in the program, not in the dialog.
    qputenv("TEV_DEMO_PASSWORD", "tev_user");
    TdmMain dm;
    EXPECT_FALSE(connectWith(dm, [&](TfmNormalConnect& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>("edtPassword")->text(), "");
    }));
    qunsetenv("TEV_DEMO_PASSWORD");
}
