#pragma once

#include "ServiceManager.h"

#include <QFlags>
#include <QString>
#include <QStringList>

// The service controllers' types; their numbers are the ones the service manager uses.
enum TSvcStatus
{
    svsNotInstalled = 0,
    svsStopped = 1,
    svsStartPending = 2,
    svsStopPending = 3,
    svsStarted = 4,
    svsContinuePending = 5,
    svsPausePending = 6,
    svsPaused = 7
};

enum TSvcRunType
{
    srtBoot = 0,
    srtSystem = 1,
    srtAuto = 2,
    srtManual = 3,
    srtDisabled = 4
};

enum TSvcAccess
{
    scaStop = AcceptStop,
    scaPauseContinue = AcceptPauseContinue,
    scaShutdown = AcceptShutdown
};
Q_DECLARE_FLAGS(TSvcAccesses, TSvcAccess)
Q_DECLARE_OPERATORS_FOR_FLAGS(TSvcAccesses)

enum TSvcLabelSet
{
    slsRussian = 0,
    slsEnglish = 1
};

// Command numbers of the worker; restart is stop, a pause, then start.
enum TSvcCommand
{
    svcStart = 0,
    svcStop = 1,
    svcPause = 2,
    svcRestart = 3,
    svcContinue = 4
};

// One query's result; a service that cannot be opened reads with the defaults.
struct TSvcInfo
{
    TSvcRunType RunType = srtDisabled;
    TSvcStatus Status = svsNotInstalled;
    TSvcAccesses Accesses = scaShutdown;
    QString ExePath;
    QString DisplayName;
    QString AccountName;
    int StartWaitHint = 0;
    int StopWaitHint = 0;

    static TSvcInfo fromStatus(const ServiceStatus& status);
};

// Which of the window's service actions are enabled.
struct TSvcActionStates
{
    bool Start = false;
    bool Stop = false;
    bool Restart = false;
    bool Pause = false;
};

namespace SvcRules {

QString StatusText(TSvcStatus status, TSvcLabelSet labels);
QString RunTypeText(TSvcRunType type, TSvcLabelSet labels);
// The state text, with " - " and the start-type text when runTypeInLabel.
QString LabelText(TSvcStatus status, TSvcRunType type, TSvcLabelSet labels, bool runTypeInLabel);
// Items of the start-type list: automatic, manual, disabled, not installed.
QStringList RunTypeItems(TSvcLabelSet labels);
// The run type an item of that list stands for (the last item stands for none).
TSvcRunType RunTypeOfItem(int item);
int ItemOfRunType(TSvcRunType type);
TSvcActionStates Actions(TSvcStatus status, TSvcRunType type, TSvcAccesses accesses);
// A service counts as running in every state but not installed, stopped and stop pending.
bool IsRunning(TSvcStatus status);
// The state a command shows while it waits, and the one it waits for.
TSvcStatus PendingState(TSvcCommand command);
TSvcStatus TargetState(TSvcCommand command);

} // namespace SvcRules
