#include "SvcRules.h"

#include <gtest/gtest.h>

TEST(SvcRulesTest, ActionRules)
{
    struct Case
    {
        const char* name;
        TSvcStatus status;
        TSvcRunType type;
        TSvcAccesses accesses;
        bool start, stop, restart, pause;
    };
    const TSvcAccesses all = scaStop | scaPauseContinue | scaShutdown;
    const Case cases[] = {
        {"stopped manual", svsStopped, srtManual, all, true, false, false, false},
        {"stopped auto", svsStopped, srtAuto, all, true, false, false, false},
        {"stopped disabled: no start", svsStopped, srtDisabled, all, false, false, false, false},
        {"started", svsStarted, srtAuto, all, false, true, true, true},
        {"started disabled: stop only", svsStarted, srtDisabled, all, false, true, false, false},
        {"paused: start continues", svsPaused, srtManual, all, true, true, true, false},
        {"paused disabled", svsPaused, srtDisabled, all, false, true, false, false},
        {"started without stop", svsStarted, srtManual, scaPauseContinue | scaShutdown, false, false, false,
         true},
        {"started without pause", svsStarted, srtManual, scaStop | scaShutdown, false, true, true, false},
        {"start pending", svsStartPending, srtManual, all, false, false, false, false},
        {"stop pending", svsStopPending, srtManual, all, false, false, false, false},
        {"pause pending", svsPausePending, srtManual, all, false, false, false, false},
        {"not installed", svsNotInstalled, srtDisabled, scaShutdown, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TSvcActionStates s = SvcRules::Actions(c.status, c.type, c.accesses);
        EXPECT_EQ(s.Start, c.start);
        EXPECT_EQ(s.Stop, c.stop);
        EXPECT_EQ(s.Restart, c.restart);
        EXPECT_EQ(s.Pause, c.pause);
    }
}

TEST(SvcRulesTest, StateAndStartTypeTexts)
{
    struct Case
    {
        TSvcStatus status;
        const char* english;
        const char* russian;
    };
    const Case states[] = {
        {svsNotInstalled, "Not Installed", "Не установлена"},
        {svsStopped, "Stopped", "Остановлена"},
        {svsStartPending, "Start pending", "Запускается"},
        {svsStopPending, "Stop pending", "Останавливается"},
        {svsStarted, "Started", "Запущена"},
        {svsContinuePending, "Continue pending", "Запускается"},
        {svsPausePending, "Pause pending", "Приостанавливается"},
        {svsPaused, "Paused", "Приостановлена"},
    };
    for (const Case& c : states) {
        EXPECT_EQ(SvcRules::StatusText(c.status, slsEnglish), QString::fromUtf8(c.english));
        EXPECT_EQ(SvcRules::StatusText(c.status, slsRussian), QString::fromUtf8(c.russian));
    }
    struct TypeCase
    {
        TSvcRunType type;
        const char* english;
        const char* russian;
    };
    const TypeCase types[] = {{srtBoot, "Boot", "Boot"},
                              {srtSystem, "System", "System"},
                              {srtAuto, "Auto", "Авто"},
                              {srtManual, "Manual", "Вручную"},
                              {srtDisabled, "Disabled", "Отключено"}};
    for (const TypeCase& c : types) {
        EXPECT_EQ(SvcRules::RunTypeText(c.type, slsEnglish), QString::fromUtf8(c.english));
        EXPECT_EQ(SvcRules::RunTypeText(c.type, slsRussian), QString::fromUtf8(c.russian));
    }
    EXPECT_EQ(SvcRules::RunTypeItems(slsRussian),
              (QStringList{"Авто", "Вручную", "Отключено", "Не установлена"}));
    EXPECT_EQ(SvcRules::RunTypeItems(slsEnglish),
              (QStringList{"Auto", "Manual", "Disabled", "Not Installed"}));
    EXPECT_EQ(SvcRules::LabelText(svsStarted, srtAuto, slsRussian, true), "Запущена - Авто");
    EXPECT_EQ(SvcRules::LabelText(svsStarted, srtAuto, slsRussian, false), "Запущена");
}

TEST(SvcRulesTest, RunningStatesAndCommandTargets)
{
    for (TSvcStatus s : {svsNotInstalled, svsStopped, svsStopPending})
        EXPECT_FALSE(SvcRules::IsRunning(s)) << s;
    for (TSvcStatus s : {svsStartPending, svsStarted, svsContinuePending, svsPausePending, svsPaused})
        EXPECT_TRUE(SvcRules::IsRunning(s)) << s;
    EXPECT_EQ(SvcRules::PendingState(svcContinue), svsContinuePending);
    EXPECT_EQ(SvcRules::TargetState(svcPause), svsPaused);
    EXPECT_EQ(SvcRules::TargetState(svcStop), svsStopped);

    ServiceStatus none;
    const TSvcInfo info = TSvcInfo::fromStatus(none);
    EXPECT_EQ(info.RunType, srtDisabled);
    EXPECT_EQ(info.Status, svsNotInstalled);
    EXPECT_EQ(info.Accesses, TSvcAccesses(scaShutdown));
}
