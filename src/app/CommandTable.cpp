#include "CommandTable.h"

#include "TfrmMain.h"

const QList<MainCommand>& MainCommands()
{
    using namespace MainCmd;
    // The windows still to come say which window they will be.
    const auto later = &TfrmMain::laterCommand;
    static const QList<MainCommand> commands = {
        // Подключение
        {actReconnect, u"rstrReconnect", {}, "view-refresh", {}, &TfrmMain::actReconnectExecute},
        {actChangeScheme, u"rstrChangeScheme", {}, "network-server", {}, &TfrmMain::actChangeSchemeExecute},
        {actExit, u"rstrExitShort", {}, "application-exit", {}, [](TfrmMain& w) { w.close(); }},
        // Настройки
        {acSettings, u"vrstrCommonSettings", {}, "preferences-system", {}, later},
        {actExchangeSettings, u"vrstrExchangeSettings", {}, nullptr, {}, later},
        {acEmitentSelect, u"vrstrEmitentSettings", {}, nullptr, {}, &TfrmMain::acEmitentSelectExecute},
        {acTrnTypes, u"rstrTrnTypes", {}, nullptr, {}, later},
        {acTrnTypeGroup, u"vrstrTransactionGroups", {}, nullptr, {}, later},
        {acSchemesForWeb, u"vrstrServiceSchemes", {}, nullptr, {}, later},
        {acTermsForWeb, u"vrstrTermSettings", {}, nullptr, {}, later},
        {actRegisterServices,
         u"vrstrRegisterServices",
         u"vrstrRehisterServicesHint",
         nullptr,
         {},
         &TfrmMain::actRegisterServicesExecute},
        // Объекты
        {acPOSes, u"rstrPOSes", {}, nullptr, {}, later},
        {acHelp, u"rstrHelpSystem", {}, "help-contents", {}, &TfrmMain::acHelpExecute},
        {actReports, u"vrstrAdminReports", u"rstrReportsHint", "x-office-spreadsheet", {}, later},
        {acDRRequest, u"vrstrRequestsViewer", {}, nullptr, {}, later},
        {acADBonusRangePrMes, u"rstrPrMes", {}, nullptr, {}, &TfrmMain::acADBonusRangeExecute},
        {acADBonusRangePopravka, u"rstrPopravka", {}, nullptr, {}, &TfrmMain::acADBonusRangeExecute},
        {acFeedbackMessages, u"vrstrUserMessages", {}, nullptr, {}, later},
        {acEventsJournal, u"vrstrEventsJrn", {}, nullptr, {}, later},
        {actManager, u"vrstrManager", {}, nullptr, {}, later},
        {actShowNews, u"vrstrNews", {}, nullptr, {}, later},
        {actShowEditGroupForNews, u"vrstrGroupNews", {}, nullptr, {}, later},
        // Справка
        {actAbout, u"rstrAbout", {}, "help-about", {}, &TfrmMain::actAboutExecute},
    };
    return commands;
}

const QList<MainMenuCaption>& MainMenuCaptions()
{
    using namespace MainMenu;
    static const QList<MainMenuCaption> menus = {
        {mnConnection, u"vrstrConnection1"},
        {mnSettings, u"rstrSettings"},
        {mnTrnReportSettings, u"vrstrTransactionsRepSettings"},
        {mnLangs, u"rstrLangs"},
        {mnWebLangs, u"rstrWebLangs"},
        {mnObjects, u"rstrObjects"},
        {mnBonusRanges, u"rstrBonusRanges"},
        {mnNews, u"vrstrManageNews"},
        {mnHelp, u"rstrHelp"},
    };
    return menus;
}
