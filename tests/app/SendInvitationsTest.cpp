// The main window hands the ticked clients to the invitation composer and re-reads its list after.
#include "AppTestSupport.h"
#include "ClientsWorkArea.h"
#include "Query.h"
#include "ScriptedModalRunner.h"
#include "TfmMailEdit.h"

#include <QAction>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(SendInvitations, OpensTheComposerWithTheTickedClientsAndRereadsTheList)
{
    REQUIRE_PG();
    Console c;
    ASSERT_TRUE(c.signedIn);
    c.open();
    ClientsWorkArea& area = c.area();
    db::Query& clients = *area.qryClients();
    ASSERT_GT(clients.recordCount(), 1);
    area.acSelectNone()->trigger();
    clients.first();
    area.ToggleCurrentTick();

    ScriptedModalRunner runner;
    int handed = -1;
    QString letter;
    runner.answer = answerDialog<TfmMailEdit>([&](TfmMailEdit& d) {
        handed = d.clientCount();
        letter = d.BuildMessage(0, true);
        return int(QDialog::Rejected);
    });
    area.acSendInvitations()->trigger();
    EXPECT_EQ(runner.dialogs, QStringList{"TfmMailEdit"});
    EXPECT_EQ(handed, 1);
    EXPECT_FALSE(letter.isEmpty());
    EXPECT_EQ(area.SelectedCount(), 0); // the list was read again
}

} // namespace
