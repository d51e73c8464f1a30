#include "CommandTable.h"

#include <cstring>

const QList<MainCommand>& MainCommands()
{
    static const QList<MainCommand> commands = {
        // Подключение
        {"actReconnect", u"rstrReconnect", nullptr, "view-refresh"},
        {"actChangeScheme", u"rstrChangeScheme", nullptr, "network-server"},
        {"actExit", u"rstrExitShort", nullptr, "application-exit"},
        // Настройки
        {"acSettings", u"vrstrCommonSettings", nullptr, "preferences-system"},
        {"actExchangeSettings", u"vrstrExchangeSettings", nullptr, nullptr},
        {"acEmitentSelect", u"vrstrEmitentSettings", nullptr, nullptr},
        {"acTrnTypes", u"rstrTrnTypes", nullptr, nullptr},
        {"acTrnTypeGroup", u"vrstrTransactionGroups", nullptr, nullptr},
        {"acSchemesForWeb", u"vrstrServiceSchemes", nullptr, nullptr},
        {"acTermsForWeb", u"vrstrTermSettings", nullptr, nullptr},
        {"actRegisterServices", u"vrstrRegisterServices", u"vrstrRehisterServicesHint", nullptr},
        // Объекты
        {"acPOSes", u"rstrPOSes", nullptr, nullptr},
        {"acHelp", u"rstrHelpSystem", nullptr, "help-contents"},
        {"actReports", u"vrstrAdminReports", u"rstrReportsHint", "x-office-spreadsheet"},
        {"acDRRequest", u"vrstrRequestsViewer", nullptr, nullptr},
        {"acADBonusRangePrMes", u"rstrPrMes", nullptr, nullptr},
        {"acADBonusRangePopravka", u"rstrPopravka", nullptr, nullptr},
        {"acFeedbackMessages", u"vrstrUserMessages", nullptr, nullptr},
        {"acEventsJournal", u"vrstrEventsJrn", nullptr, nullptr},
        {"actManager", u"vrstrManager", nullptr, nullptr},
        {"actShowNews", u"vrstrNews", nullptr, nullptr},
        {"actShowEditGroupForNews", u"vrstrGroupNews", nullptr, nullptr},
        // Справка
        {"actAbout", u"rstrAbout", nullptr, "help-about"},
    };
    return commands;
}

const MainCommand* FindMainCommand(const char* name)
{
    for (const MainCommand& c : MainCommands())
        if (std::strcmp(c.name, name) == 0)
            return &c;
    return nullptr;
}

const QList<MainMenuCaption>& MainMenuCaptions()
{
    static const QList<MainMenuCaption> menus = {
        {"mnConnection", u"vrstrConnection1"},
        {"mnSettings", u"rstrSettings"},
        {"mnTrnReportSettings", u"vrstrTransactionsRepSettings"},
        {"mnLangs", u"rstrLangs"},
        {"mnWebLangs", u"rstrWebLangs"},
        {"mnObjects", u"rstrObjects"},
        {"mnBonusRanges", u"rstrBonusRanges"},
        {"mnNews", u"vrstrManageNews"},
        {"mnHelp", u"rstrHelp"},
    };
    return menus;
}
