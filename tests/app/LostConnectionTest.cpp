// The main window when its server connection is ended from outside: every action says so with
// the catalogue's connection message, the window stays consistent, and after re-registration the
// same action works.
#include "LostConnection.h"

#include "AppTestSupport.h"
#include "Catalogue.h"
#include "ClientsWorkArea.h"
#include "DBGrid.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"
#include "SharedQueries.h"
#include "TfrmSelectEmitent.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <gtest/gtest.h>

namespace {

using Pane = ClientsWorkArea::Pane;

// What the application does with an exception that leaves an event handler.
void act(const std::function<void()>& action)
{
    try {
        action();
    } catch (...) {
        TevApplication::showException(std::current_exception());
    }
}

} // namespace

TEST(LostConnection, ClientsWorkAreaSaysSoStaysConsistentAndWorksAfterReRegistration)
{
    REQUIRE_PG();
    Console c;
    ASSERT_TRUE(c.signedIn);
    TfrmMain& w = c.open();
    ClientsWorkArea& area = c.area();
    const QString lost = lang::tr(u"rstrNotConnectByLan");
    const QStringList clientTitles = gridTitles(area.grdClients());
    ASSERT_FALSE(clientTitles.isEmpty());
    const int clientsBefore = c.area().qryClients()->recordCount();
    ASSERT_GT(clientsBefore, 0);
    const QString stateBefore = admin("select string_agg(wbc_description, ',' order by wbc_id) "
                                      "from tev.tev_web_clients");

    RecordingPresenter presenter;
    endConnection(*c.dm->session());

    // A pane that cannot open is not left pressed.
    QAbstractButton* journal = area.paneButton(Pane::Journal);
    act([&] { journal->click(); });
    ASSERT_EQ(presenter.count(), 1) << shownTexts(presenter.requests());
    EXPECT_EQ(presenter.last().text, lost);
    EXPECT_FALSE(journal->isChecked());
    EXPECT_FALSE(area.actShowJournal()->isChecked());
    EXPECT_NE(area.shownPane(), Pane::Journal);

    // A bulk edit on the lost session: the same message, nothing written.
    act([&] {
        area.acSelectAllExecute();
        ClientPermissions::GroupChoice choice;
        choice.descriptionOn = true;
        choice.description = QStringLiteral("half done?");
        area.ApplyGroupEdit(choice);
    });
    ASSERT_GE(presenter.count(), 2);
    for (const lang::MessageRequest& r : presenter.requests())
        EXPECT_EQ(r.text, lost);

    // Another emitent: the caption and the status bar name the same one, the grid keeps its titles.
    presenter.clear();
    const QString previousCaption = area.emitentCaption();
    ScriptedModalRunner runner;
    runner.answer = answerDialog<TfrmSelectEmitent>([&](TfrmSelectEmitent& picker) {
        db::Dataset& list = *picker.list();
        list.first();
        if (list.asInteger(QStringLiteral("EMITENT_ID_WEB")) == area.CurrentEmitentId())
            list.next();
        return int(QDialog::Accepted);
    });
    act([&] { area.btnSelectEmitentClick(); });
    ASSERT_EQ(presenter.count(), 1) << shownTexts(presenter.requests());
    EXPECT_EQ(presenter.last().text, lost);
    db::Query* emitents = c.dm->queries().oqEmitentSelect;
    EXPECT_EQ(emitents->asInteger(SharedQueries::EmitentSelect::kIdField), area.CurrentEmitentId());
    EXPECT_EQ(area.emitentCaption(),
              QStringLiteral("   ") + emitents->asString(SharedQueries::EmitentSelect::kFullNameField));
    EXPECT_NE(area.emitentCaption(), previousCaption);
    EXPECT_EQ(w.statusPanelText(3), lang::tr(u"rstrEmitent") + QStringLiteral(": ") +
                                        emitents->asString(SharedQueries::EmitentSelect::kNumberField));
    EXPECT_EQ(gridTitles(area.grdClients()), clientTitles);

    // Nothing of the bulk edit reached the portal.
    EXPECT_EQ(admin("select string_agg(wbc_description, ',' order by wbc_id) from tev.tev_web_clients"),
              stateBefore);

    // Re-registration: the chosen emitent's data opens and the pane works again.
    presenter.clear();
    ASSERT_TRUE(w.Reconnect());
    EXPECT_EQ(presenter.count(), 0) << (presenter.count() ? presenter.last().text.toStdString() : "");
    EXPECT_EQ(gridTitles(area.grdClients()), clientTitles);
    act([&] { journal->click(); });
    EXPECT_EQ(presenter.count(), 0) << (presenter.count() ? presenter.last().text.toStdString() : "");
    EXPECT_TRUE(journal->isChecked());
    EXPECT_EQ(area.shownPane(), Pane::Journal);
}
