#pragma once

#include "SvcRules.h"

#include <QString>
#include <atomic>
#include <optional>

class IServiceManager;

// The service commands. Every command of the program runs on one worker thread, one after the
// other, so two commands never overlap. A command holds only names and values, never a window: its
// window may close while it runs. At most one progress window is shown, on the main thread, and it
// closes when its command ends.
class TSvcThreadControler
{
public:
    struct Command
    {
        QString Service;
        TSvcCommand Kind = svcStart;
        TSvcLabelSet Labels = slsEnglish;
        // Set for a start-type change instead of a command.
        std::optional<TSvcRunType> RunType;
    };

    // What a running command reports; called on the worker thread.
    class Progress
    {
    public:
        virtual ~Progress() = default;
        virtual void Shown(const QString& stateText, const QString& displayName, int waitHint) = 0;
        virtual void Ended() = 0;
    };

    static constexpr int kPollInterval = 1000;
    static constexpr int kRestartPause = 500;

    // Queues a command for the worker and returns at once.
    static void Run(const QString& service, TSvcCommand kind, TSvcLabelSet labels);
    static void RunSetRunType(const QString& service, TSvcRunType type);
    // Waits until every queued command has ended; false when `msecs` passed first (-1: no limit).
    static bool WaitForIdle(int msecs = -1);
    // Ends the waiting of running commands and waits for the worker: nothing runs after it.
    static void Shutdown();

    // Performs one command on the calling thread against `manager`; true when the service reached
    // the command's target state. `cancel` ends the waiting early.
    static bool Perform(IServiceManager& manager, const Command& command, const std::atomic<bool>& cancel,
                        Progress* progress);

    // Runs a task on the pool that the controllers' status queries use (waited for at exit too).
    static void RunQuery(std::function<void()> task);
};
