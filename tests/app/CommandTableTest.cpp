// The main window's commands against the table of the main window's commands and rights: caption
// and hint keys, where each command sits, its shortcut, and which role sees it.
#include "AppTestSupport.h"
#include "Catalogue.h"
#include "ClientsWorkArea.h"
#include "DBGrid.h"
#include "RecordingPresenter.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Visibility of a command for a role, in the state after start-up (no detail pane open, the
// portal with its bonus module, no exchange service on this computer, no register switch).
enum Vis
{
    Shown,
    Hidden, // by the state
    Denied  // by the role: hidden and disabled
};

struct CommandRow
{
    const char* command;         // component name; nullptr for a submenu
    const char16_t* caption;     // catalogue key; nullptr when the command has none of its own
    const char16_t* hint;        // nullptr: the caption
    QList<const char16_t*> menu; // menu titles from the menu bar down; empty for the work area
    const char* shortcut;        // "" for none
    Vis administrator, operator_, manager;
};

const QList<CommandRow>& commandRows()
{
    const QList<const char16_t*> connection = {u"vrstrConnection1"};
    const QList<const char16_t*> settings = {u"rstrSettings"};
    const QList<const char16_t*> trnReport = {u"rstrSettings", u"vrstrTransactionsRepSettings"};
    const QList<const char16_t*> objects = {u"rstrObjects"};
    const QList<const char16_t*> bonus = {u"rstrObjects", u"rstrBonusRanges"};
    const QList<const char16_t*> news = {u"rstrObjects", u"vrstrManageNews"};
    const QList<const char16_t*> help = {u"rstrHelp"};
    const QList<const char16_t*> area = {};
    static const QList<CommandRow> rows = {
        // Main menu
        {"actReconnect", u"rstrReconnect", nullptr, connection, "", Shown, Shown, Shown},
        {"actChangeScheme", u"rstrChangeScheme", nullptr, connection, "", Shown, Shown, Shown},
        {"actExit", u"rstrExitShort", nullptr, connection, "", Shown, Shown, Shown},
        {"acSettings", u"vrstrCommonSettings", nullptr, settings, "", Shown, Denied, Denied},
        {"actExchangeSettings", u"vrstrExchangeSettings", nullptr, settings, "", Hidden, Hidden, Hidden},
        {"acEmitentSelect", u"vrstrEmitentSettings", nullptr, settings, "", Shown, Denied, Shown},
        {"acTrnTypes", u"rstrTrnTypes", nullptr, trnReport, "", Shown, Denied, Shown},
        {"acTrnTypeGroup", u"vrstrTransactionGroups", nullptr, trnReport, "", Shown, Shown, Denied},
        {"acSchemesForWeb", u"vrstrServiceSchemes", nullptr, trnReport, "", Shown, Shown, Denied},
        {"acTermsForWeb", u"vrstrTermSettings", nullptr, settings, "", Shown, Shown, Denied},
        {nullptr, u"rstrLangs", nullptr, settings, "", Shown, Hidden, Shown},
        {nullptr, u"rstrWebLangs", nullptr, settings, "", Shown, Hidden, Hidden},
        {"actRegisterServices", u"vrstrRegisterServices", u"vrstrRehisterServicesHint", settings, "", Hidden,
         Hidden, Hidden},
        {"acPOSes", u"rstrPOSes", nullptr, objects, "", Shown, Denied, Shown},
        {"acHelp", u"rstrHelpSystem", nullptr, objects, "", Shown, Denied, Denied},
        {"actReports", u"vrstrAdminReports", u"rstrReportsHint", objects, "", Shown, Shown, Shown},
        {"acDRRequest", u"vrstrRequestsViewer", nullptr, objects, "", Shown, Shown, Shown},
        {"acADBonusRangePrMes", u"rstrPrMes", nullptr, bonus, "", Shown, Shown, Shown},
        {"acADBonusRangePopravka", u"rstrPopravka", nullptr, bonus, "", Shown, Shown, Shown},
        {"acFeedbackMessages", u"vrstrUserMessages", nullptr, objects, "", Shown, Shown, Shown},
        {"acEventsJournal", u"vrstrEventsJrn", nullptr, objects, "", Shown, Shown, Shown},
        {"actManager", u"vrstrManager", nullptr, objects, "", Shown, Denied, Denied},
        {"actShowNews", u"vrstrNews", nullptr, news, "", Shown, Shown, Shown},
        {"actShowEditGroupForNews", u"vrstrGroupNews", nullptr, news, "", Shown, Shown, Shown},
        {"actAbout", u"rstrAbout", nullptr, help, "", Shown, Shown, Shown},
        // Work area: tool bars, pop-up menus and grid keys
        {"actShowLogins", u"rstrShowLogins", nullptr, area, "", Shown, Shown, Shown},
        {"actShowJournal", u"rstrhowJournal", nullptr, area, "", Shown, Shown, Shown},
        {"actHideDetail", u"rstrHideDetail", nullptr, area, "", Shown, Shown, Shown},
        {"actShowDescribes", nullptr, nullptr, area, "", Shown, Shown, Shown},
        {"acSelectAll", u"rstrCheckAll", nullptr, area, "", Shown, Shown, Shown},
        {"acSelectNone", u"rstrUnCheckAll", nullptr, area, "", Shown, Shown, Shown},
        {"acInvertSelection", u"rstrInvertCheck", nullptr, area, "", Shown, Shown, Shown},
        {"actEditClient", u"rstrEditClient", nullptr, area, "", Shown, Shown, Shown},
        {"acEditClientKind", nullptr, u"vrstrEditClientGroup", area, "", Shown, Shown, Shown},
        {"actEditMaxLimits", u"vrstrEditMaxLimits", nullptr, area, "", Shown, Shown, Shown},
        {"acSendInvitations", u"vrstrInvitationSending", nullptr, area, "", Shown, Shown, Shown},
        // the logins and subscriptions commands show only while their pane is open
        {"acAddLogin", u"rstrAddLogin", nullptr, area, "", Hidden, Hidden, Hidden},
        {"actEditLogin", u"rstrChangeLogin", nullptr, area, "", Hidden, Hidden, Hidden},
        {"actEditPassLogin", u"rstrEditPassLogin", nullptr, area, "", Hidden, Hidden, Hidden},
        {"actResetLock", u"vrstrUnlockLogin", u"vrstrUnlockLoginHint", area, "", Hidden, Hidden, Hidden},
        {"actAddDescribe", u"rstrCreateDescribe", nullptr, area, "", Hidden, Hidden, Hidden},
        {"actEditDescribe", u"rstrEditDescribeCaption", nullptr, area, "", Hidden, Hidden, Hidden},
        {"actDelDescribe", u"rstrDeleteDescribeCaption", nullptr, area, "", Hidden, Hidden, Hidden},
        {"acFind", u"rstrFind", nullptr, area, "Ctrl+F", Shown, Shown, Shown},
        {"acSort", u"rstrSort", nullptr, area, "Ctrl+S", Shown, Shown, Shown},
        {"acFilter", u"rstrFilter", nullptr, area, "Ctrl+A", Shown, Shown, Shown},
        {"acReport", u"rstrReport", nullptr, area, "Ctrl+R", Shown, Shown, Shown},
    };
    return rows;
}

// The submenu of the menu bar reached through these titles; nullptr when there is none.
QMenu* menuAt(const TfrmMain& w, const QList<const char16_t*>& titles)
{
    QList<QAction*> items = w.menuBar()->actions();
    QMenu* found = nullptr;
    for (const char16_t* title : titles) {
        found = nullptr;
        for (QAction* item : items)
            if (item->menu() && item->text() == lang::tr(title))
                found = item->menu();
        if (!found)
            return nullptr;
        items = found->actions();
    }
    return found;
}

bool inMenuBar(const QList<QAction*>& items, const QAction* action)
{
    for (QAction* item : items)
        if (item == action || (item->menu() && inMenuBar(item->menu()->actions(), action)))
            return true;
    return false;
}

// The command of a row: the action of that name, or the submenu's own item.
QAction* commandOf(const TfrmMain& w, const CommandRow& r)
{
    if (r.command) {
        const QList<QAction*> named = w.findChildren<QAction*>(QString::fromLatin1(r.command));
        return named.size() == 1 ? named.first() : nullptr;
    }
    QMenu* parent = menuAt(w, r.menu);
    if (!parent)
        return nullptr;
    for (QAction* item : parent->actions())
        if (item->menu() && item->text() == lang::tr(r.caption))
            return item;
    return nullptr;
}

QStringList namesOf(const QList<QAction*>& actions)
{
    QStringList names;
    for (QAction* a : actions)
        names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return names;
}

} // namespace

TEST(CommandTable, EveryCommandWithItsTextsPlaceShortcutAndRights)
{
    REQUIRE_PG();
    struct Role
    {
        const char* user;
        int managerId;
        Vis CommandRow::*visibility;
    } roles[] = {
        {"tev_user", -1, &CommandRow::administrator},
        {"tev_operator", -1, &CommandRow::operator_},
        {"tev_manager", 1, &CommandRow::manager},
    };
    for (const Role& role : roles) {
        SCOPED_TRACE(role.user);
        RecordingPresenter presenter;
        Console signedIn(role.user, role.managerId);
        ASSERT_TRUE(signedIn.signedIn);
        TfrmMain& w = signedIn.open();
        w.actMainUpdate();
        ASSERT_TRUE(w.Initialized());
        EXPECT_EQ(presenter.count(), 0);

        QStringList menus;
        for (QAction* item : w.menuBar()->actions())
            menus << item->text();
        EXPECT_EQ(menus, QStringList({lang::tr(u"vrstrConnection1"), lang::tr(u"rstrSettings"),
                                      lang::tr(u"rstrObjects"), lang::tr(u"rstrHelp")}));

        QMenu* previousMenu = nullptr;
        int previousIndex = -1;
        for (const CommandRow& r : commandRows()) {
            SCOPED_TRACE(r.command ? r.command : QString::fromStdU16String(r.caption).toStdString());
            QAction* a = commandOf(w, r);
            ASSERT_NE(a, nullptr);

            if (r.caption) {
                EXPECT_EQ(a->text(), lang::tr(r.caption));
            }
            if (r.command && (r.caption || r.hint)) {
                EXPECT_EQ(a->toolTip(), lang::tr(r.hint ? r.hint : r.caption));
            }
            EXPECT_EQ(a->shortcut().toString(QKeySequence::PortableText), QString::fromLatin1(r.shortcut));

            if (r.menu.isEmpty()) {
                EXPECT_FALSE(inMenuBar(w.menuBar()->actions(), a)) << "a work-area command";
            } else {
                QMenu* menu = menuAt(w, r.menu);
                ASSERT_NE(menu, nullptr);
                const int index = int(menu->actions().indexOf(a));
                EXPECT_GE(index, 0) << "in its menu";
                if (menu == previousMenu) {
                    EXPECT_GT(index, previousIndex) << "in the order of the table";
                }
                previousMenu = menu;
                previousIndex = index;
            }

            switch (r.*role.visibility) {
            case Shown:
                EXPECT_TRUE(a->isVisible());
                break;
            case Hidden:
                EXPECT_FALSE(a->isVisible());
                break;
            case Denied:
                EXPECT_FALSE(a->isVisible());
                EXPECT_FALSE(a->isEnabled());
                break;
            }
        }

        QMenu* objects = menuAt(w, {u"rstrObjects"});
        ASSERT_NE(objects, nullptr);
        EXPECT_EQ(objects->actions().last()->text(), QString::fromUtf8("Перенос талонов в архив"));

        EXPECT_EQ(namesOf(w.workArea()->grdClients()->actions()),
                  QStringList({"actShowLogins", "actShowJournal", "-", "actHideDetail", "-", "acFind",
                               "acSort", "acFilter", "acReport", "actRegisterServices"}));
        EXPECT_EQ(namesOf(w.workArea()->grdDetail()->actions()),
                  QStringList({"acFind", "acSort", "acFilter"}));
    }
}

TEST(CommandTable, AMisspeltCommandFailsLoudly)
{
    REQUIRE_PG();
    Console signedIn;
    TfrmMain& w = signedIn.open();
    EXPECT_THROW(w.command("actRecconect"), std::out_of_range);
    EXPECT_THROW(w.menu("mnLang"), std::out_of_range);
}
