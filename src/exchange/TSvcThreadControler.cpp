#include "TSvcThreadControler.h"

#include "FormEnvironment.h"
#include "ServiceManager.h"
#include "TfrmSvcProgress.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QThread>
#include <QThreadPool>

namespace {

// The worker queue and the pool of status queries, waited for when the program ends.
class Workers
{
public:
    Workers()
    {
        mCommands.setMaxThreadCount(1);
        mQueries.setMaxThreadCount(4);
    }
    ~Workers() { shutdown(); }

    void shutdown()
    {
        mCancel = true;
        mCommands.clear();
        mCommands.waitForDone();
        mQueries.waitForDone();
        mCancel = false;
    }

    QThreadPool mCommands;
    QThreadPool mQueries;
    std::atomic<bool> mCancel{false};
};

Workers& workers()
{
    static Workers w;
    return w;
}

void hookExit()
{
    static bool hooked = false;
    if (hooked || !QCoreApplication::instance())
        return;
    hooked = true;
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                     [] { TSvcThreadControler::Shutdown(); });
}

// The one progress window, on the main thread.
class MainThreadProgress : public TSvcThreadControler::Progress
{
public:
    void Shown(const QString& stateText, const QString& displayName, int waitHint) override
    {
        post([stateText, displayName, waitHint] {
            static QPointer<TfrmSvcProgress> window;
            if (!window)
                window = new TfrmSvcProgress(framework::applicationMainWindow());
            window->Start(stateText, displayName, waitHint);
            current() = window;
        });
    }
    void Ended() override
    {
        post([] {
            if (TfrmSvcProgress* w = current())
                w->Finish();
        });
    }

private:
    static QPointer<TfrmSvcProgress>& current()
    {
        static QPointer<TfrmSvcProgress> w;
        return w;
    }
    static void post(std::function<void()> f)
    {
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, std::move(f), Qt::QueuedConnection);
    }
};

void enqueue(const TSvcThreadControler::Command& command)
{
    hookExit();
    Workers& w = workers();
    w.mCommands.start([command, &w] {
        MainThreadProgress progress;
        TSvcThreadControler::Perform(serviceManager(), command, w.mCancel, &progress);
    });
}

// Sleeps in short slices so that a cancel is noticed.
void pause(int msecs, const std::atomic<bool>& cancel)
{
    QDeadlineTimer deadline(msecs);
    while (!cancel && !deadline.hasExpired())
        QThread::msleep(std::min<qint64>(20, std::max<qint64>(1, deadline.remainingTime())));
}

bool isPending(TSvcStatus s)
{
    return s == svsStartPending || s == svsStopPending || s == svsContinuePending || s == svsPausePending;
}

bool performOne(IServiceManager& manager, const TSvcThreadControler::Command& command, TSvcCommand kind,
                const std::atomic<bool>& cancel, TSvcThreadControler::Progress* progress)
{
    const TSvcInfo before = TSvcInfo::fromStatus(manager.query(command.Service));
    bool accepted = false;
    switch (kind) {
    case svcStart:
        accepted = manager.start(command.Service);
        break;
    case svcStop:
        accepted = manager.stop(command.Service);
        break;
    case svcPause:
        accepted = manager.pause(command.Service);
        break;
    case svcContinue:
        accepted = manager.resume(command.Service);
        break;
    case svcRestart:
        break;
    }
    // A refused request ends the command silently; the next query shows the real state.
    if (!accepted)
        return false;
    const TSvcStatus target = SvcRules::TargetState(kind);
    TSvcInfo info = TSvcInfo::fromStatus(manager.query(command.Service));
    const int waitHint = (kind == svcStart || kind == svcContinue) ? info.StartWaitHint : info.StopWaitHint;
    if (progress)
        progress->Shown(SvcRules::StatusText(SvcRules::PendingState(kind), command.Labels),
                        before.DisplayName, waitHint);
    int waited = 0;
    while (info.Status != target && !cancel) {
        if (waited >= waitHint)
            break;
        pause(TSvcThreadControler::kPollInterval, cancel);
        waited += TSvcThreadControler::kPollInterval;
        info = TSvcInfo::fromStatus(manager.query(command.Service));
        // Gone, or settled in another state (a start that failed): nothing more to wait for.
        if (info.Status == svsNotInstalled || (!isPending(info.Status) && info.Status != target))
            break;
    }
    if (progress)
        progress->Ended();
    return info.Status == target;
}

} // namespace

void TSvcThreadControler::Run(const QString& service, TSvcCommand kind, TSvcLabelSet labels)
{
    enqueue(Command{service, kind, labels, std::nullopt});
}

void TSvcThreadControler::RunSetRunType(const QString& service, TSvcRunType type)
{
    enqueue(Command{service, svcStart, slsEnglish, type});
}

bool TSvcThreadControler::WaitForIdle(int msecs)
{
    return workers().mCommands.waitForDone(msecs);
}

void TSvcThreadControler::Shutdown()
{
    workers().shutdown();
}

void TSvcThreadControler::RunQuery(std::function<void()> task)
{
    hookExit();
    workers().mQueries.start(std::move(task));
}

bool TSvcThreadControler::Perform(IServiceManager& manager, const Command& command,
                                  const std::atomic<bool>& cancel, Progress* progress)
{
    try {
        if (command.RunType)
            return manager.setStartType(command.Service, ServiceStartType(*command.RunType));
        if (command.Kind != svcRestart)
            return performOne(manager, command, command.Kind, cancel, progress);
        performOne(manager, command, svcStop, cancel, progress);
        pause(kRestartPause, cancel);
        if (cancel)
            return false;
        return performOne(manager, command, svcStart, cancel, progress);
    } catch (const std::exception&) {
        // A manager that cannot be reached: the watch shows what there is.
        if (progress)
            progress->Ended();
        return false;
    }
}
