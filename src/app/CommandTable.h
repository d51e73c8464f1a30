#pragma once

#include "ActionRow.h"

#include <QList>

class TfrmMain;

// Names of the main window's commands; code refers to a command only through these.
namespace MainCmd {
inline constexpr char actReconnect[] = "actReconnect";
inline constexpr char actChangeScheme[] = "actChangeScheme";
inline constexpr char actExit[] = "actExit";
inline constexpr char acSettings[] = "acSettings";
inline constexpr char actExchangeSettings[] = "actExchangeSettings";
inline constexpr char acEmitentSelect[] = "acEmitentSelect";
inline constexpr char acTrnTypes[] = "acTrnTypes";
inline constexpr char acTrnTypeGroup[] = "acTrnTypeGroup";
inline constexpr char acSchemesForWeb[] = "acSchemesForWeb";
inline constexpr char acTermsForWeb[] = "acTermsForWeb";
inline constexpr char actRegisterServices[] = "actRegisterServices";
inline constexpr char acPOSes[] = "acPOSes";
inline constexpr char acHelp[] = "acHelp";
inline constexpr char actReports[] = "actReports";
inline constexpr char acDRRequest[] = "acDRRequest";
inline constexpr char acADBonusRangePrMes[] = "acADBonusRangePrMes";
inline constexpr char acADBonusRangePopravka[] = "acADBonusRangePopravka";
inline constexpr char acFeedbackMessages[] = "acFeedbackMessages";
inline constexpr char acEventsJournal[] = "acEventsJournal";
inline constexpr char actManager[] = "actManager";
inline constexpr char actShowNews[] = "actShowNews";
inline constexpr char actShowEditGroupForNews[] = "actShowEditGroupForNews";
inline constexpr char actAbout[] = "actAbout";
} // namespace MainCmd

// Names of the main window's menus.
namespace MainMenu {
inline constexpr char mnConnection[] = "mnConnection";
inline constexpr char mnSettings[] = "mnSettings";
inline constexpr char mnTrnReportSettings[] = "mnTrnReportSettings";
inline constexpr char mnLangs[] = "mnLangs";
inline constexpr char mnWebLangs[] = "mnWebLangs";
inline constexpr char mnObjects[] = "mnObjects";
inline constexpr char mnBonusRanges[] = "mnBonusRanges";
inline constexpr char mnNews[] = "mnNews";
inline constexpr char mnHelp[] = "mnHelp";
} // namespace MainMenu

// The commands of the main window's menus, each declared here once with its caption and hint keys,
// the theme icon of its tool-bar button and what it runs. Menus and tool bars reuse the actions
// made from it.
using MainCommand = framework::ActionRow<TfrmMain>;
const QList<MainCommand>& MainCommands();

// Catalogue keys of the menus that are not commands.
struct MainMenuCaption
{
    const char* name;
    const char16_t* captionKey;
};
const QList<MainMenuCaption>& MainMenuCaptions();
