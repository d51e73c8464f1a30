#include "ExchangeTestApp.h"
#include "SystemdServiceManager.h"
#include "SystemdUserManager.h"
#include "TSvcActionSet.h"
#include "TSvcControler.h"
#include "TSvcThreadControler.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QMutex>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString kFast = QStringLiteral("srvTEVWebInSrvc");  // starts and stops at once
const QString kSlow = QStringLiteral("srvTEVWebOutSrvc"); // two seconds to start, two to stop

// Forwards to systemd and writes down every call: what, when, on which thread, and the state read.
class RecordingManager : public IServiceManager
{
public:
    struct Call
    {
        QString what;
        QString service;
        ServiceState state = ServiceState::NotInstalled;
        qint64 at = 0;
        Qt::HANDLE thread = nullptr;
    };
    explicit RecordingManager(IServiceManager& real) : mReal(real) { mClock.start(); }

    ServiceStatus query(const QString& s) override
    {
        const ServiceStatus st = mReal.query(s);
        add(QStringLiteral("query"), s, st.state);
        return st;
    }
    bool start(const QString& s) override { return add(QStringLiteral("start"), s), mReal.start(s); }
    bool stop(const QString& s) override { return add(QStringLiteral("stop"), s), mReal.stop(s); }
    bool pause(const QString& s) override { return add(QStringLiteral("pause"), s), mReal.pause(s); }
    bool resume(const QString& s) override { return add(QStringLiteral("continue"), s), mReal.resume(s); }
    bool setStartType(const QString& s, ServiceStartType t) override
    {
        add(QStringLiteral("start-type"), s);
        return mReal.setStartType(s, t);
    }

    QList<Call> calls() const
    {
        QMutexLocker lock(&mMutex);
        return mCalls;
    }
    QList<ServiceState> statesOf(const QString& service) const
    {
        QList<ServiceState> states;
        for (const Call& c : calls())
            if (c.what == QLatin1String("query") && c.service == service &&
                (states.isEmpty() || states.last() != c.state))
                states << c.state;
        return states;
    }
    int indexOf(const QString& what, const QString& service) const
    {
        const QList<Call> all = calls();
        for (int i = 0; i < all.size(); ++i)
            if (all[i].what == what && all[i].service == service)
                return i;
        return -1;
    }

private:
    void add(const QString& what, const QString& service, ServiceState state = ServiceState::NotInstalled)
    {
        QMutexLocker lock(&mMutex);
        mCalls << Call{what, service, state, mClock.elapsed(), QThread::currentThreadId()};
    }
    IServiceManager& mReal;
    mutable QMutex mMutex;
    QList<Call> mCalls;
    QElapsedTimer mClock;
};

// Records what a command reports instead of showing the progress window.
class RecordingProgress : public TSvcThreadControler::Progress
{
public:
    void Shown(const QString& text, const QString& name, int waitHint) override
    {
        shown << text + QLatin1Char('|') + name;
        hint = waitHint;
    }
    void Ended() override { ++ended; }
    QStringList shown;
    int hint = 0;
    int ended = 0;
};

class SystemdServiceTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        exchangeTestApp();
        host = new SystemdUserManager;
        script =
            host->addScript(QStringLiteral("tev-exchange-service"), QStringLiteral("exec /bin/sleep 600"));
        const QString install = QStringLiteral("\n[Install]\nWantedBy=default.target\n");
        host->addUnit(kFast + QStringLiteral(".service"),
                      QStringLiteral("[Unit]\nDescription=TEV web import\n[Service]\nExecStart=%1 --import\n")
                              .arg(script) +
                          install);
        host->addUnit(
            kSlow + QStringLiteral(".service"),
            QStringLiteral("[Unit]\nDescription=TEV web export\n[Service]\nExecStartPre=/bin/sleep 2\n"
                           "ExecStart=-%1 --export\nExecStop=/bin/sleep 2\nTimeoutStartSec=20\n"
                           "TimeoutStopSec=20\n")
                    .arg(script) +
                install);
        started = host->start();
        if (started)
            manager = new SystemdServiceManager(host->busAddress());
    }
    static void TearDownTestSuite()
    {
        TSvcThreadControler::WaitForIdle();
        delete manager;
        manager = nullptr;
        delete host;
        host = nullptr;
    }
    void SetUp() override
    {
        if (!started && host->refusedByHost())
            GTEST_SKIP() << host->reason().toStdString();
        ASSERT_TRUE(started) << host->reason().toStdString();
    }
    // Brings a unit to a state through the manager directly, waiting for it.
    static void settle(const QString& service, ServiceState state)
    {
        if (manager->state(service) == state)
            return;
        state == ServiceState::Running ? manager->start(service) : manager->stop(service);
        QDeadlineTimer deadline(30000);
        while (manager->state(service) != state && !deadline.hasExpired())
            QThread::msleep(50);
        ASSERT_EQ(manager->state(service), state);
    }

    static SystemdUserManager* host;
    static SystemdServiceManager* manager;
    static QString script;
    static bool started;
};

SystemdUserManager* SystemdServiceTest::host = nullptr;
SystemdServiceManager* SystemdServiceTest::manager = nullptr;
QString SystemdServiceTest::script;
bool SystemdServiceTest::started = false;

TEST_F(SystemdServiceTest, NotInstalledAndStoppedUnits)
{
    const ServiceStatus none = manager->query(QStringLiteral("srvTEVWebNoSuchSrvc"));
    EXPECT_EQ(none.state, ServiceState::NotInstalled);
    EXPECT_EQ(none.startType, ServiceStartType::Disabled);
    EXPECT_EQ(none.accepts, AcceptShutdown);
    EXPECT_TRUE(none.binaryPath.isEmpty());
    EXPECT_FALSE(manager->start(QStringLiteral("srvTEVWebNoSuchSrvc")));

    const ServiceStatus fast = manager->query(kFast);
    EXPECT_EQ(fast.state, ServiceState::Stopped);
    EXPECT_EQ(fast.startType, ServiceStartType::Manual);
    EXPECT_EQ(fast.binaryPath, script);
    EXPECT_EQ(fast.displayName, "TEV web import");
    EXPECT_TRUE(fast.accepts & AcceptStop);
    // The slow unit's ExecStart carries a prefix; its program is still the script.
    EXPECT_EQ(manager->binaryPath(kSlow), script);
    EXPECT_EQ(manager->query(kSlow).startWaitHint, 20000);
}

TEST_F(SystemdServiceTest, SlowStartAndStopPassThroughTheirPendingStates)
{
    settle(kSlow, ServiceState::Stopped);
    RecordingManager recorder(*manager);
    RecordingProgress progress;
    std::atomic<bool> cancel{false};

    EXPECT_TRUE(TSvcThreadControler::Perform(recorder, {kSlow, svcStart, slsRussian, std::nullopt}, cancel,
                                             &progress));
    EXPECT_EQ(
        recorder.statesOf(kSlow),
        (QList<ServiceState>{ServiceState::Stopped, ServiceState::StartPending, ServiceState::Running}));
    EXPECT_EQ(progress.shown, QStringList{"Запускается|TEV web export"});
    EXPECT_EQ(progress.hint, 20000);
    EXPECT_EQ(progress.ended, 1);

    RecordingManager stopping(*manager);
    EXPECT_TRUE(TSvcThreadControler::Perform(stopping, {kSlow, svcStop, slsEnglish, std::nullopt}, cancel,
                                             &progress));
    EXPECT_EQ(stopping.statesOf(kSlow),
              (QList<ServiceState>{ServiceState::Running, ServiceState::StopPending, ServiceState::Stopped}));
    EXPECT_EQ(progress.shown.last(), "Stop pending|TEV web export");
    EXPECT_EQ(progress.ended, 2);
}

TEST_F(SystemdServiceTest, StartTypesRoundTrip)
{
    struct Case
    {
        const char* name;
        ServiceStartType type;
    };
    const Case cases[] = {
        {"enabled", ServiceStartType::Auto},           {"masked", ServiceStartType::Disabled},
        {"masked to enabled", ServiceStartType::Auto}, {"not enabled", ServiceStartType::Manual},
        {"masked again", ServiceStartType::Disabled},  {"back to manual", ServiceStartType::Manual}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(manager->setStartType(kFast, c.type));
        const ServiceStatus st = manager->query(kFast);
        EXPECT_EQ(st.startType, c.type);
        EXPECT_EQ(st.state, ServiceState::Stopped);
        // Masked, the unit has no ExecStart of its own: the path comes from its file.
        EXPECT_EQ(st.binaryPath, script);
    }
    EXPECT_FALSE(manager->setStartType(kFast, ServiceStartType::Boot));
    const QString wants = host->root() + QStringLiteral("/config/systemd/user/default.target.wants/") +
                          kFast + QStringLiteral(".service");
    EXPECT_FALSE(QFile::exists(wants));
}

TEST_F(SystemdServiceTest, RestartOfASlowlyStoppingUnitStartsItHalfASecondAfterTheStop)
{
    settle(kSlow, ServiceState::Running);
    RecordingManager recorder(*manager);
    std::atomic<bool> cancel{false};
    EXPECT_TRUE(TSvcThreadControler::Perform(recorder, {kSlow, svcRestart, slsEnglish, std::nullopt}, cancel,
                                             nullptr));

    const QList<RecordingManager::Call> calls = recorder.calls();
    const int stop = recorder.indexOf(QStringLiteral("stop"), kSlow);
    const int start = recorder.indexOf(QStringLiteral("start"), kSlow);
    ASSERT_GE(stop, 0);
    ASSERT_GT(start, stop);
    // The stop waited until the unit had stopped; the start came at least 500 ms later.
    int stoppedAt = -1;
    for (int i = stop; i < start && stoppedAt < 0; ++i)
        if (calls[i].what == QLatin1String("query") && calls[i].state == ServiceState::Stopped)
            stoppedAt = i;
    ASSERT_GE(stoppedAt, 0) << "the stop did not wait for the unit";
    EXPECT_TRUE(recorder.statesOf(kSlow).contains(ServiceState::StopPending));
    EXPECT_GE(calls[start].at - calls[stoppedAt].at, 500);
    EXPECT_EQ(manager->state(kSlow), ServiceState::Running);
    settle(kSlow, ServiceState::Stopped);
}

TEST_F(SystemdServiceTest, QueuedCommandsNeverOverlap)
{
    settle(kSlow, ServiceState::Running);
    settle(kFast, ServiceState::Stopped);
    RecordingManager recorder(*manager);
    IServiceManager* previous = setServiceManager(&recorder);
    TSvcThreadControler::Run(kSlow, svcStop, slsEnglish);
    TSvcThreadControler::Run(kFast, svcStart, slsEnglish);
    TSvcThreadControler::Run(kFast, svcStop, slsEnglish);
    EXPECT_TRUE(TSvcThreadControler::WaitForIdle(60000));
    setServiceManager(previous);

    const QList<RecordingManager::Call> calls = recorder.calls();
    const int slowStopped = [&] {
        for (int i = 0; i < calls.size(); ++i)
            if (calls[i].service == kSlow && calls[i].state == ServiceState::Stopped &&
                calls[i].what == "query")
                return i;
        return -1;
    }();
    ASSERT_GE(slowStopped, 0);
    const int fastStart = recorder.indexOf(QStringLiteral("start"), kFast);
    const int fastStop = recorder.indexOf(QStringLiteral("stop"), kFast);
    EXPECT_GT(fastStart, slowStopped) << "the second command began before the first had ended";
    EXPECT_GT(fastStop, fastStart);
    for (const RecordingManager::Call& c : calls)
        EXPECT_EQ(c.thread, calls.first().thread) << "every command runs on the one worker";
    EXPECT_EQ(manager->state(kFast), ServiceState::Stopped);
    EXPECT_EQ(manager->state(kSlow), ServiceState::Stopped);
}

TEST_F(SystemdServiceTest, ControllerWatchesAndCommandsAUnit)
{
    settle(kFast, ServiceState::Stopped);
    IServiceManager* previous = setServiceManager(manager);
    {
        TSvcControler controler;
        TSvcActionSet actions;
        QAction start, stop, restart, pause;
        actions.SetStart(&start);
        actions.SetStop(&stop);
        actions.SetRestart(&restart);
        actions.SetPause(&pause);
        QLabel label;
        controler.SetLabelSet(slsEnglish);
        controler.SetServiceLabel(&label);
        controler.SetRunTypeInLabel(true);
        controler.SetActions(&actions);
        controler.SetServiceName(kFast);
        EXPECT_EQ(label.text(), "Stopped - Manual");
        EXPECT_EQ(controler.ExePath(), script);
        EXPECT_TRUE(start.isEnabled());
        EXPECT_FALSE(stop.isEnabled());

        start.trigger();
        EXPECT_TRUE(QTest::qWaitFor([&] { return label.text() == "Started - Manual"; }, 15000))
            << label.text().toStdString();
        EXPECT_TRUE(stop.isEnabled());
        EXPECT_TRUE(restart.isEnabled());
        // This host's cgroups may or may not let systemd freeze; pause follows what it says.
        EXPECT_EQ(pause.isEnabled(), bool(controler.AccessTypes() & scaPauseContinue));
        stop.trigger();
        EXPECT_TRUE(QTest::qWaitFor([&] { return label.text() == "Stopped - Manual"; }, 15000))
            << label.text().toStdString();
        EXPECT_TRUE(TSvcThreadControler::WaitForIdle(30000));
    }
    setServiceManager(previous);
}

} // namespace
