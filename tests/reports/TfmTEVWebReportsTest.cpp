// The report window driven through its actions, with the modal seam, the message presenter, the
// clock and the file opener answered by the test.
#include "TfmTEVWebReports.h"

#include "Catalogue.h"
#include "Clock.h"
#include "DateRangeSelector.h"
#include "LostConnection.h"
#include "RecordingPresenter.h"
#include "ReportCatalogue.h"
#include "ReportsTestSupport.h"
#include "ScriptedModalRunner.h"
#include "TdmMain.h"
#include "TfmTEVReportWithoutData.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QWheelEvent>

namespace {

// Installs a fixed clock for its lifetime.
class ClockAt
{
public:
    explicit ClockAt(const QDateTime& at) : mClock(at), mPrevious(framework::setClock(&mClock)) {}
    ~ClockAt() { framework::setClock(mPrevious); }

private:
    framework::FixedClock mClock;
    const framework::Clock* mPrevious;
};

class ReportWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_PG();
        session = PgFixture::instance().connect();
    }
    std::unique_ptr<TfmTEVWebReports> makeWindow()
    {
        auto w = std::make_unique<TfmTEVWebReports>(nullptr, QStringLiteral("TEV"), session.get());
        w->show();
        return w;
    }
    // A period with the demo portal's own visits.
    static void setVisitedPeriod(TfmTEVWebReports& w)
    {
        w.periodSelector()->setPeriod(QDate(2025, 1, 1).startOfDay(), QDate(2026, 12, 31).endOfDay());
    }

    ClockAt clock{QDateTime(QDate(2025, 1, 20), QTime(10, 0))};
    ReportFolders folders;
    RecordingOpener opener;
    RecordingPresenter presenter;
    ScriptedModalRunner runner;
    std::unique_ptr<db::Session> session;
};

TEST_F(ReportWindow, OpensWithTheListPagesAndThePreviousMonth)
{
    auto w = makeWindow();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Отчеты TEV"));
    ASSERT_EQ(w->reportList()->count(), 3);
    EXPECT_EQ(w->reportList()->item(2)->text(), QStringLiteral("Логины клиентов"));
    EXPECT_EQ(w->reportList()->currentRow(), 0);
    EXPECT_EQ(w->pageBox(1)->title(),
              QStringLiteral(" Количество клиентов у эмитента, работающих в web за период "));
    EXPECT_TRUE(w->stateButton(0)->isChecked());
    EXPECT_EQ(w->groupByClient()->text(), QStringLiteral("Группировать по клиентам"));
    // In January the default period is the whole previous December.
    EXPECT_EQ(w->periodSelector()->begin(), QDateTime(QDate(2024, 12, 1), QTime(0, 0)));
    EXPECT_EQ(w->periodSelector()->end(), QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59, 999)));
    EXPECT_EQ(w->action("actShowReport")->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));
    EXPECT_EQ(w->action("actRevertAll")->toolTip(), QStringLiteral("Обратить выделение"));

    // The period shows for reports 0 and 1 only; the wheel steps through the list and stops.
    const struct
    {
        int wheel;
        int row;
        bool period;
    } steps[] = {{-120, 1, true}, {-120, 2, false}, {-120, 2, false}, {240, 0, true}};
    for (const auto& s : steps) {
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, s.wheel), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(w->reportList()->viewport(), &wheel);
        EXPECT_EQ(w->reportList()->currentRow(), s.row);
        EXPECT_EQ(w->pages()->currentIndex(), s.row);
        EXPECT_EQ(w->periodGroup()->isVisible(), s.period) << s.row;
    }
}

TEST_F(ReportWindow, CheckActionsTickUntickAndInvert)
{
    auto w = makeWindow();
    w->setChecked(1, true);
    w->action("actRevertAll")->trigger();
    EXPECT_EQ(QList<bool>({w->isChecked(0), w->isChecked(1), w->isChecked(2)}),
              QList<bool>({true, false, true}));
    w->action("actCheckAll")->trigger();
    EXPECT_TRUE(w->isChecked(0) && w->isChecked(1) && w->isChecked(2));
    w->action("actUncheckAll")->trigger();
    EXPECT_FALSE(w->isChecked(0) || w->isChecked(1) || w->isChecked(2));
}

TEST_F(ReportWindow, InputChecksStopTheRunWithAMessage)
{
    const struct
    {
        const char* name;
        QList<int> ticked;
        bool reversed;
        QString message;
    } cases[] = {
        {"begin after end, only logins ticked",
         {2},
         true,
         QStringLiteral("Дата начала больше даты окончания периода")},
        {"nothing ticked", {}, false, QStringLiteral("Нет выбранных отчетов")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        presenter.clear();
        auto w = makeWindow();
        for (int n : c.ticked)
            w->setChecked(n, true);
        if (c.reversed)
            w->periodSelector()->setPeriod(QDate(2025, 2, 1).startOfDay(), QDate(2025, 1, 1).startOfDay());
        w->action("actShowReport")->trigger();
        ASSERT_EQ(presenter.count(), 1);
        EXPECT_EQ(presenter.last().text, c.message);
        EXPECT_TRUE(folders.reportFiles().isEmpty());
        EXPECT_TRUE(opener.opened.isEmpty());
        EXPECT_TRUE(runner.dialogs.isEmpty());
    }
}

TEST_F(ReportWindow, EveryTickedReportIsWrittenToItsOwnFileAndOpened)
{
    auto w = makeWindow();
    w->action("actCheckAll")->trigger();
    setVisitedPeriod(*w);
    w->groupByClient()->setChecked(true);
    w->action("actShowReport")->trigger();
    EXPECT_EQ(opener.opened, w->producedFiles());
    ASSERT_EQ(opener.opened.size(), 3);
    EXPECT_EQ(folders.reportFiles().size(), 3);
    EXPECT_TRUE(runner.dialogs.isEmpty()) << "no list of reports without data";
    EXPECT_EQ(presenter.count(), 0);
    EXPECT_EQ(readWorkbook(opener.opened[2]).sheets(), QStringList{"TEVLogins"});
}

TEST_F(ReportWindow, ReportWithoutRowsOpensNothingAndIsListed)
{
    auto w = makeWindow();
    w->setChecked(0, true);
    w->setChecked(2, true);
    // A period whose begin equals its end is accepted.
    const QDateTime moment(QDate(1990, 1, 1), QTime(12, 0));
    w->periodSelector()->setPeriod(moment, moment);
    QString listed;
    runner.answer = answerDialog<TfmTEVReportWithoutData>([&](TfmTEVReportWithoutData& d) {
        listed = d.memo()->toPlainText();
        EXPECT_TRUE(d.memo()->isReadOnly());
        return int(QDialog::Accepted);
    });
    w->action("actShowReport")->trigger();
    EXPECT_EQ(runner.titles, QStringList{"Список несформированных отчетов"});
    EXPECT_EQ(listed, QStringLiteral("Нет данных для отчета:\n\tКоличество посещений за период"));
    EXPECT_EQ(w->reportsWithoutData(), QStringList{"Количество посещений за период"});
    ASSERT_EQ(opener.opened.size(), 1) << "only the login report";
    EXPECT_EQ(readWorkbook(opener.opened[0]).sheets(), QStringList{"TEVLoginsSimple"});
}

TEST_F(ReportWindow, WorkbookNoProgramOpensIsNamedInAMessage)
{
    opener.result = false;
    auto w = makeWindow();
    w->setChecked(2, true);
    w->action("actShowReport")->trigger();
    ASSERT_EQ(opener.opened.size(), 1);
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_TRUE(presenter.last().text.contains(opener.opened[0])) << presenter.last().text.toStdString();
    EXPECT_TRUE(QFileInfo::exists(opener.opened[0]));
}

} // namespace

namespace {

// A lost connection: every run names it with the catalogue's text and writes no workbook; after
// re-registration the same run works.
TEST_F(ReportWindow, LostConnectionIsNamedOnEveryRunAndTheRunWorksAfterReRegistration)
{
    // The console's session shows the catalogue's text for connection errors.
    session->setErrorHook([](db::Session&, db::OraError& error) {
        if (const QString text = TdmMain::ConnectErrorText(error.code()); !text.isNull())
            error.setMessage(text);
    });
    auto w = makeWindow();
    w->setChecked(2, true);
    endConnection(*session);
    const QString lost = lang::tr(u"rstrNotConnectByLan");
    for (int attempt = 0; attempt < 2; ++attempt) {
        userAction([&] { w->action("actShowReport")->trigger(); });
        ASSERT_EQ(presenter.count(), attempt + 1);
        EXPECT_TRUE(presenter.last().text.contains(lost)) << presenter.last().text.toStdString();
        EXPECT_FALSE(presenter.last().text.contains("ORA-03114")) << presenter.last().text.toStdString();
    }
    EXPECT_TRUE(opener.opened.isEmpty());
    EXPECT_TRUE(folders.reportFiles().isEmpty());

    session->connectAttempt();
    w->action("actShowReport")->trigger();
    EXPECT_EQ(presenter.count(), 2);
    ASSERT_EQ(opener.opened.size(), 1);
    EXPECT_EQ(readWorkbook(opener.opened[0]).sheets(), QStringList{"TEVLoginsSimple"});
}

} // namespace
