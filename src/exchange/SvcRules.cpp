#include "SvcRules.h"

TSvcInfo TSvcInfo::fromStatus(const ServiceStatus& status)
{
    TSvcInfo info;
    info.Status = TSvcStatus(status.state);
    if (info.Status == svsNotInstalled)
        return info;
    info.RunType = TSvcRunType(status.startType);
    info.Accesses = TSvcAccesses(status.accepts);
    info.ExePath = status.binaryPath;
    info.DisplayName = status.displayName;
    info.AccountName = status.accountName;
    info.StartWaitHint = status.startWaitHint;
    info.StopWaitHint = status.stopWaitHint;
    return info;
}

namespace SvcRules {

QString StatusText(TSvcStatus status, TSvcLabelSet labels)
{
    struct Texts
    {
        const char* english;
        const char16_t* russian;
    };
    static const Texts texts[] = {
        {"Not Installed", u"Не установлена"},
        {"Stopped", u"Остановлена"},
        {"Start pending", u"Запускается"},
        {"Stop pending", u"Останавливается"},
        {"Started", u"Запущена"},
        {"Continue pending", u"Запускается"},
        {"Pause pending", u"Приостанавливается"},
        {"Paused", u"Приостановлена"},
    };
    const int i = int(status);
    if (i < 0 || i > 7)
        return {};
    return labels == slsEnglish ? QString::fromLatin1(texts[i].english)
                                : QString::fromUtf16(texts[i].russian);
}

QString RunTypeText(TSvcRunType type, TSvcLabelSet labels)
{
    const bool en = labels == slsEnglish;
    switch (type) {
    case srtBoot:
        return QStringLiteral("Boot");
    case srtSystem:
        return QStringLiteral("System");
    case srtAuto:
        return en ? QStringLiteral("Auto") : QStringLiteral("Авто");
    case srtManual:
        return en ? QStringLiteral("Manual") : QStringLiteral("Вручную");
    case srtDisabled:
        return en ? QStringLiteral("Disabled") : QStringLiteral("Отключено");
    }
    return {};
}

QString LabelText(TSvcStatus status, TSvcRunType type, TSvcLabelSet labels, bool runTypeInLabel)
{
    QString text = StatusText(status, labels);
    if (runTypeInLabel)
        text += QStringLiteral(" - ") + RunTypeText(type, labels);
    return text;
}

QStringList RunTypeItems(TSvcLabelSet labels)
{
    return {RunTypeText(srtAuto, labels), RunTypeText(srtManual, labels), RunTypeText(srtDisabled, labels),
            StatusText(svsNotInstalled, labels)};
}

TSvcRunType RunTypeOfItem(int item)
{
    switch (item) {
    case 0:
        return srtAuto;
    case 1:
        return srtManual;
    default:
        return srtDisabled;
    }
}

int ItemOfRunType(TSvcRunType type)
{
    switch (type) {
    case srtAuto:
        return 0;
    case srtManual:
        return 1;
    case srtDisabled:
        return 2;
    default:
        return -1;
    }
}

TSvcActionStates Actions(TSvcStatus status, TSvcRunType type, TSvcAccesses accesses)
{
    const bool startable = type != srtDisabled;
    const bool startedOrPaused = status == svsStarted || status == svsPaused;
    const bool stoppable = accesses.testFlag(scaStop);
    TSvcActionStates s;
    s.Start = (status == svsStopped || status == svsPaused) && startable;
    s.Stop = startedOrPaused && stoppable;
    s.Restart = startedOrPaused && stoppable && startable;
    s.Pause = status == svsStarted && accesses.testFlag(scaPauseContinue) && startable;
    return s;
}

bool IsRunning(TSvcStatus status)
{
    return status != svsNotInstalled && status != svsStopped && status != svsStopPending;
}

TSvcStatus PendingState(TSvcCommand command)
{
    switch (command) {
    case svcStart:
        return svsStartPending;
    case svcStop:
    case svcRestart:
        return svsStopPending;
    case svcPause:
        return svsPausePending;
    case svcContinue:
        return svsContinuePending;
    }
    return svsStartPending;
}

TSvcStatus TargetState(TSvcCommand command)
{
    switch (command) {
    case svcStart:
    case svcContinue:
    case svcRestart:
        return svsStarted;
    case svcStop:
        return svsStopped;
    case svcPause:
        return svsPaused;
    }
    return svsStarted;
}

} // namespace SvcRules
