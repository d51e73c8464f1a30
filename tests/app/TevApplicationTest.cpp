#include "OraError.h"
#include "RecordingPresenter.h"
#include "Session.h"
#include "TdmMain.h"
#include "TevApplication.h"
#include "TfmNormalConnect.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TevApplication& app()
{
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's own statics may already be gone at exit.
    static TevApplication* instance = new TevApplication(argc, argv);
    return *instance;
}

// An object whose event handler fails with whatever it is given.
class Thrower : public QObject
{
public:
    std::function<void()> fail;
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            fail();
        return QObject::event(e);
    }
};

QStringList args(std::initializer_list<const char*> list)
{
    QStringList out{"tev-web-admin"};
    for (const char* a : list)
        out << QString::fromLatin1(a);
    return out;
}

} // namespace

TEST(TevApplicationTest, OnlyTheFirstArgumentCounts)
{
    struct Row
    {
        const char* name;
        QStringList arguments;
        bool scheme;
        bool reg;
    } rows[] = {
        {"nothing", args({}), false, false},
        {"scheme", args({"/scheme"}), true, false},
        {"capitals", args({"/SCHEME"}), true, false},
        {"characters around", args({"x/Schemes-1"}), true, false},
        {"register", args({"/register"}), false, true},
        {"register in capitals", args({"--/REGISTER"}), false, true},
        {"register second", args({"/other", "/register"}), false, false},
        {"scheme second", args({"", "/scheme"}), false, false},
        {"unknown switch", args({"/schem"}), false, false},
        {"without slash", args({"scheme"}), false, false},
    };
    for (const Row& r : rows) {
        const TevApplication::StartOptions o = TevApplication::parseCommandLine(r.arguments);
        EXPECT_EQ(o.schemeMode, r.scheme) << r.name;
        EXPECT_EQ(o.registerMode, r.reg) << r.name;
    }
}

TEST(TevApplicationTest, EscapedExceptionsAreShownExceptAborts)
{
    app();
    RecordingPresenter presenter;
    Thrower thrower;
    struct Row
    {
        const char* name;
        std::function<void()> fail;
        const char* text; // null: nothing shown
    } rows[] = {
        {"runtime error", [] { throw std::runtime_error("Ошибка в обработчике"); }, "Ошибка в обработчике"},
        {"oracle error", [] { throw db::OraError(1, "ORA-00001: unique constraint"); }, "ORA-00001: unique constraint"},
        {"silent abort", [] { throw db::Abort(); }, nullptr},
    };
    for (const Row& r : rows) {
        presenter.clear();
        thrower.fail = r.fail;
        QEvent e(QEvent::User);
        QCoreApplication::sendEvent(&thrower, &e);
        if (!r.text) {
            EXPECT_EQ(presenter.count(), 0) << r.name;
            continue;
        }
        ASSERT_EQ(presenter.count(), 1) << r.name;
        EXPECT_EQ(presenter.last().text, QString::fromUtf8(r.text)) << r.name;
        EXPECT_EQ(presenter.last().caption, "Ошибка") << r.name;
        EXPECT_EQ(presenter.last().icon, lang::MsgIcon::Error) << r.name;
    }
}

// TEV_MANAGER pressed for real: the general error display reports it and the dialog stays.
TEST(TevApplicationTest, ManagerRefusalReachesTheErrorDisplay)
{
    app();
    QTemporaryDir dir;
    qputenv("TEV_APP_DIR", dir.path().toLocal8Bit());
    TdmMain::RegisterConnectDialogs();
    TdmMain dm;
    RecordingPresenter presenter;
    bool stayed = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TfmNormalConnect*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>("edtUser")->setText("tev_manager");
        QTest::mouseClick(dialog->findChild<QPushButton*>("btnConnect"), Qt::LeftButton);
        stayed = dialog->isVisible() && dialog->attemptsLeft() == 3;
        dialog->reject();
    });
    EXPECT_FALSE(dm.Connect());
    EXPECT_TRUE(stayed);
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_TRUE(presenter.last().text.startsWith("TEV_MANAGER предназначен для входа в режиме"));
    EXPECT_EQ(presenter.last().icon, lang::MsgIcon::Error);
    dm.DataModuleDestroy();
    qunsetenv("TEV_APP_DIR");
}
