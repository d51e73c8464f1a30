#include "CommandTable.h"

#include "ReferenceWindows.h"
#include "TdmMain.h"
#include "TfmDRRequest.h"
#include "TfmEventsJournal.h"
#include "TfrmFeedbackMessages.h"
#include "TfrmMain.h"

const QList<MainCommand>& MainCommands()
{
    using namespace MainCmd;
    static const QList<MainCommand> commands = {
        // Подключение
        {actReconnect, u"rstrReconnect", {}, "view-refresh", {}, &TfrmMain::actReconnectExecute},
        {actChangeScheme, u"rstrChangeScheme", {}, "network-server", {}, &TfrmMain::actChangeSchemeExecute},
        {actExit, u"rstrExitShort", {}, "application-exit", {}, [](TfrmMain& w) { w.close(); }},
        // Настройки
        {acSettings, u"vrstrCommonSettings", {}, "preferences-system", {}, &TfrmMain::acSettingsExecute},
        {actExchangeSettings, u"vrstrExchangeSettings", {}, nullptr, {}, &TfrmMain::actExchangeSettingsExecute},
        {acEmitentSelect, u"vrstrEmitentSettings", {}, nullptr, {}, &TfrmMain::acEmitentSelectExecute},
        {acTrnTypes,
         u"rstrTrnTypes",
         {},
         nullptr,
         {},
         [](TfrmMain& w) { reference::ShowTrnTypes(&w, w.mDm); }},
        {acTrnTypeGroup,
         u"vrstrTransactionGroups",
         {},
         nullptr,
         {},
         [](TfrmMain& w) { reference::ShowTransactionGroups(&w, w.mDm); }},
        {acSchemesForWeb,
         u"vrstrServiceSchemes",
         {},
         nullptr,
         {},
         [](TfrmMain& w) { reference::ShowSchemesForWeb(&w, w.mDm); }},
        {acTermsForWeb,
         u"vrstrTermSettings",
         {},
         nullptr,
         {},
         [](TfrmMain& w) { reference::ShowTermsForWeb(&w, w.mDm); }},
        {actRegisterServices,
         u"vrstrRegisterServices",
         u"vrstrRehisterServicesHint",
         nullptr,
         {},
         &TfrmMain::actRegisterServicesExecute},
        // Объекты
        {acPOSes, u"rstrPOSes", {}, nullptr, {}, [](TfrmMain& w) { reference::ShowPOSes(&w, w.mDm); }},
        {acHelp, u"rstrHelpSystem", {}, "help-contents", {}, &TfrmMain::acHelpExecute},
        {actReports, u"vrstrAdminReports", u"rstrReportsHint", "x-office-spreadsheet", {}, &TfrmMain::actReportsExecute},
        {acDRRequest,
         u"vrstrRequestsViewer",
         {},
         nullptr,
         {},
         [](TfrmMain& w) {
             ShowDRRequests(&w, w.mDm.session(), w.mDm.ActiveScheme(), w.CurrentEmitentId());
         }},
        {acADBonusRangePrMes, u"rstrPrMes", {}, nullptr, {}, &TfrmMain::acADBonusRangeExecute},
        {acADBonusRangePopravka, u"rstrPopravka", {}, nullptr, {}, &TfrmMain::acADBonusRangeExecute},
        {acFeedbackMessages,
         u"vrstrUserMessages",
         {},
         nullptr,
         {},
         [](TfrmMain& w) { ShowFeedbackMessages(&w, w.mDm.session(), w.mDm.ActiveScheme()); }},
        {acEventsJournal,
         u"vrstrEventsJrn",
         {},
         nullptr,
         {},
         [](TfrmMain& w) { ShowEventsJournal(&w, w.mDm.session(), w.mDm.ActiveScheme()); }},
        {actManager, u"vrstrManager", {}, nullptr, {}, &TfrmMain::actManagerExecute},
        {actShowNews, u"vrstrNews", {}, nullptr, {}, &TfrmMain::actShowNewsExecute},
        {actShowEditGroupForNews, u"vrstrGroupNews", {}, nullptr, {}, &TfrmMain::actShowEditGroupForNewsExecute},
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
