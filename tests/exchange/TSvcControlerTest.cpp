#include "TSvcControler.h"

#include "ExchangeTestApp.h"
#include "InMemoryServiceManager.h"
#include "TSvcActionSet.h"
#include "TSvcThreadControler.h"
#include "TfrmSvcProgress.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kService = QStringLiteral("srvTEVWebOutSrvc");

// A controller with its label, list and four actions over an in-memory manager.
class ControlerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        exchangeTestApp();
        mPrevious = setServiceManager(&services);
        actions.SetStart(&start);
        actions.SetStop(&stop);
        actions.SetRestart(&restart);
        actions.SetPause(&pause);
        controler = std::make_unique<TSvcControler>();
        controler->SetLabelSet(slsEnglish);
        controler->SetServiceLabel(&label);
        controler->SetComboRunType(&combo);
        controler->SetActions(&actions);
    }
    void TearDown() override
    {
        TSvcThreadControler::WaitForIdle();
        controler.reset();
        setServiceManager(mPrevious);
    }
    // Waits for the queued commands and for the watch to show `text`.
    bool shows(const QString& text)
    {
        TSvcThreadControler::WaitForIdle(10000);
        return QTest::qWaitFor([&] { return label.text() == text; }, 5000);
    }

    QApplication& app = exchangeTestApp(); // before any widget or action
    InMemoryServiceManager services;
    IServiceManager* mPrevious = nullptr;
    TSvcActionSet actions;
    QAction start, stop, restart, pause;
    QLabel label;
    QComboBox combo;
    std::unique_ptr<TSvcControler> controler;
};

TEST_F(ControlerTest, ActionsAreDisabledWhenGivenToTheSet)
{
    TSvcActionSet set;
    QAction a;
    EXPECT_TRUE(a.isEnabled());
    set.SetStop(&a);
    EXPECT_FALSE(a.isEnabled());
}

TEST_F(ControlerTest, NotInstalledServiceShowsTheLastItemDisabled)
{
    controler->SetServiceName(kService);
    EXPECT_EQ(label.text(), "Not Installed");
    EXPECT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.currentText(), "Not Installed");
    EXPECT_FALSE(combo.isEnabled());
    for (QAction* a : {&start, &stop, &restart, &pause})
        EXPECT_FALSE(a->isEnabled());

    // Installed while watched: the next tick sees it.
    services.install(kService, "/opt/tev/out/tev-web-out");
    EXPECT_TRUE(shows("Stopped"));
    EXPECT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.currentText(), "Manual");
    EXPECT_TRUE(combo.isEnabled());
    EXPECT_EQ(controler->ExePath(), "/opt/tev/out/tev-web-out");
}

TEST_F(ControlerTest, PauseAndContinue)
{
    services.install(kService, "/opt/tev/out/tev-web-out", ServiceState::Running);
    controler->SetRunTypeInLabel(true);
    controler->SetServiceName(kService);
    EXPECT_EQ(label.text(), "Started - Manual");
    ASSERT_TRUE(pause.isEnabled());
    pause.trigger();
    ASSERT_TRUE(shows("Paused - Manual"));
    EXPECT_TRUE(start.isEnabled());
    EXPECT_TRUE(stop.isEnabled());
    EXPECT_TRUE(restart.isEnabled());
    EXPECT_FALSE(pause.isEnabled());

    int before = 0, after = 0;
    QObject::connect(controler.get(), &TSvcControler::OnBeforeSvcStart, [&] { ++before; });
    QObject::connect(controler.get(), &TSvcControler::OnAfterSvcStart, [&] { ++after; });
    start.trigger(); // continues a paused service
    ASSERT_TRUE(shows("Started - Manual"));
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    EXPECT_EQ(services.requests(),
              (QStringList{"pause srvTEVWebOutSrvc.service", "continue srvTEVWebOutSrvc.service"}));
}

TEST_F(ControlerTest, RefusedFreezeEndsSilently)
{
    services.install(kService, "/opt/tev/out/tev-web-out", ServiceState::Running);
    services.setPauseRefused(true);
    controler->SetServiceName(kService);
    pause.trigger();
    TSvcThreadControler::WaitForIdle(10000);
    QTest::qWait(3 * TSvcControler::kWatchInterval);
    EXPECT_EQ(label.text(), "Started");
    EXPECT_EQ(controler->Status(), svsStarted);
    EXPECT_EQ(services.requests(), QStringList{"pause srvTEVWebOutSrvc.service"});
}

TEST_F(ControlerTest, StartTypeListSetsTheStartType)
{
    services.install(kService, "/opt/tev/out/tev-web-out", ServiceState::Running);
    controler->SetServiceName(kService);
    emit combo.activated(2); // Disabled
    ASSERT_TRUE(QTest::qWaitFor([&] { return controler->RunType() == srtDisabled; }, 10000));
    EXPECT_EQ(combo.currentText(), "Disabled");
    // Disabled but running: it can be stopped, not restarted.
    EXPECT_TRUE(stop.isEnabled());
    EXPECT_FALSE(restart.isEnabled());
    EXPECT_FALSE(start.isEnabled());
    emit combo.activated(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return controler->RunType() == srtAuto; }, 10000));
    EXPECT_EQ(combo.currentText(), "Auto");

    // A service that does not accept stop can be neither stopped nor restarted.
    services.setAccepts(kService, AcceptShutdown);
    ASSERT_TRUE(QTest::qWaitFor([&] { return controler->AccessTypes() == TSvcAccesses(scaShutdown); }, 5000));
    EXPECT_FALSE(stop.isEnabled());
    EXPECT_FALSE(restart.isEnabled());
}

TEST_F(ControlerTest, WatchEventsComeAroundEveryQuery)
{
    services.install(kService, "/opt/tev/out/tev-web-out");
    QList<TSvcStatus> after;
    int before = 0;
    QObject::connect(controler.get(), &TSvcControler::OnBeforeStatusUpdate, [&] { ++before; });
    QObject::connect(controler.get(), &TSvcControler::OnAfterStatusUpdate, [&](TSvcStatus s) { after << s; });
    controler->SetServiceName(kService);
    QTest::qWait(5 * TSvcControler::kWatchInterval);
    EXPECT_GE(after.size(), 3);
    EXPECT_GE(before, after.size());
    EXPECT_EQ(after.first(), svsStopped);
}

TEST(SvcProgressTest, WindowShowsStateAndNameAndClosesWhenTheBarIsFull)
{
    exchangeTestApp();
    TfrmSvcProgress window;
    window.Start("Start pending", "TEV web export", 300);
    EXPECT_EQ(window.windowTitle(), "Service Control");
    EXPECT_EQ(window.label()->text(), "Start pending\n\nTEV web export");
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 3000));
    EXPECT_EQ(window.bar()->value(), 300);

    window.Start("Stop pending", "TEV web export", 90000);
    window.Finish(); // the command ended long before its wait hint
    EXPECT_FALSE(window.isVisible());
}

TEST(SvcProgressTest, CommandClosesItsProgressWindowWhenItEnds)
{
    exchangeTestApp();
    InMemoryServiceManager services;
    services.install(kService, "/opt/tev/out/tev-web-out");
    IServiceManager* previous = setServiceManager(&services);
    TSvcThreadControler::Run(kService, svcStart, slsRussian);
    EXPECT_TRUE(TSvcThreadControler::WaitForIdle(10000));
    QCoreApplication::processEvents();
    setServiceManager(previous);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<TfrmSvcProgress*>(w)) {
            EXPECT_EQ(p->label()->text(), "Запускается\n\nsrvTEVWebOutSrvc");
            EXPECT_FALSE(p->isVisible());
        }
    EXPECT_EQ(services.state(kService), ServiceState::Running);
}

} // namespace
