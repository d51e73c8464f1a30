#include "ClientsTestSupport.h"
#include "ClientsWorkArea.h"
#include "DBGrid.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Pane = ClientsWorkArea::Pane;

// Counts the Ctrl+Delete presses that get past a grid to the window around it.
class CtrlDeleteCounter : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Delete && key->modifiers().testFlag(Qt::ControlModifier))
                ++count;
        }
        return false;
    }
    int count = 0;
};

// The work area shown in a window of its own, on the first emitent's clients.
class GridKeys : public WorkAreaTest
{
protected:
    void SetUp() override
    {
        WorkAreaTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        area->ChooseStartEmitent();
        area->OpenEmitentList(area->CurrentEmitentId());
        area->OpenEmitentData();
        window->resize(1200, 800);
        window->show();
        window->installEventFilter(&passedOn);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void doubleClickRow(DBGrid* grid, int row)
    {
        // What a person's double click delivers: a click, then the double click.
        const QPoint at = grid->visualRect(grid->model()->index(row, 1)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }

    db::Query& clients() { return *area->qryClients(); }

    CtrlDeleteCounter passedOn;
    RecordingPresenter presenter;
    ScriptedModalRunner runner; // every window the keys open is cancelled
};

} // namespace

TEST_F(GridKeys, EnterAndDoubleClickEditTheClientCtrlDeleteIsSwallowed)
{
    DBGrid* grid = area->grdClients();
    area->UpdateActions(true);
    QSignalSpy edits(area->actEditClient(), &QAction::triggered);
    grid->setFocus();
    clients().setCurrentRow(3);
    const int rows = clients().recordCount();

    QTest::keyClick(grid, Qt::Key_Return);
    QTest::keyClick(grid, Qt::Key_Enter);
    EXPECT_EQ(edits.count(), 2);
    doubleClickRow(grid, 5);
    EXPECT_EQ(edits.count(), 3);
    EXPECT_EQ(clients().currentRow(), 5) << "the double-clicked client is the one edited";

    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(passedOn.count, 0);
    EXPECT_EQ(clients().recordCount(), rows);
    EXPECT_EQ(edits.count(), 3);

    // An empty list has no client to edit.
    clients().setFilter("WBC_ID = -1");
    clients().setFiltered(true);
    area->UpdateActions(true);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(edits.count(), 3);
}

TEST_F(GridKeys, DetailDoubleClickEditsTheLoginOrTheSubscriptionOfItsPane)
{
    ASSERT_TRUE(clients().locate("WBC_ID", 6)) << "a client with logins and subscriptions";
    struct Row
    {
        const char* name;
        QAction* show;
        int loginEdits;
        int describeEdits;
    } rows[] = {
        {"logins", area->actShowLogins(), 1, 0},
        {"subscriptions", area->actShowDescribes(), 0, 1},
        {"visit journal", area->actShowJournal(), 0, 0},
    };
    DBGrid* grid = area->grdDetail();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        r.show->trigger();
        area->UpdateActions(true);
        ASSERT_TRUE(grid->isVisible());
        QSignalSpy loginEdits(area->actEditLogin(), &QAction::triggered);
        QSignalSpy describeEdits(area->actEditDescribe(), &QAction::triggered);
        grid->setFocus();
        if (grid->dataset()->recordCount() > 0)
            doubleClickRow(grid, 0);
        else
            ADD_FAILURE() << "no rows to double-click";
        EXPECT_EQ(loginEdits.count(), r.loginEdits);
        EXPECT_EQ(describeEdits.count(), r.describeEdits);
        // Enter acts as the double click.
        QTest::keyClick(grid, Qt::Key_Return);
        EXPECT_EQ(loginEdits.count(), 2 * r.loginEdits);
        EXPECT_EQ(describeEdits.count(), 2 * r.describeEdits);

        const int details = grid->dataset()->recordCount();
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        EXPECT_EQ(passedOn.count, 0);
        EXPECT_EQ(grid->dataset()->recordCount(), details);
    }
}
