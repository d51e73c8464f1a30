// The events journal on the portal: its period, bounds included, read on "Задать фильтр", and the
// decoded values before and after a change.
#include "TfmEventsJournal.h"

#include "Clock.h"
#include "DBGrid.h"
#include "DateRangeSelector.h"
#include "JournalsTestSupport.h"

#include <QPlainTextEdit>

TEST_F(JournalsTest, EventsJournalReadsItsPeriodOnSetFilter)
{
    // Entries exactly on the bounds of a period in the past, one with escaped values.
    const QDateTime begin(QDate(2019, 3, 1), QTime(8, 0));
    const QDateTime end(QDate(2019, 3, 2), QTime(8, 0));
    adminValue(
        "insert into tev.tev_events_journal (event_type_id, journal_date, user_name, param_name, "
        "param_value_before, param_value_after, object_name) values "
        "(6, '2019-03-01 08:00:00', 'TEV_USER', 'PARAM_VAL', 'Z\\u00FCrich', 'caf\\u00E9', 'BOUND 1'), "
        "(6, '2019-03-02 08:00:00', 'TEV_USER', 'PARAM_VAL', NULL, 'b', 'BOUND 2'), "
        "(6, '2019-03-02 08:00:01', 'TEV_USER', 'PARAM_VAL', NULL, 'c', 'AFTER')");
    framework::FixedClock clock(end);
    const framework::Clock* previous = framework::setClock(&clock);

    TfmEventsJournal w(nullptr, shema(), session());
    w.ensureCreated();
    EXPECT_EQ(w.Period()->begin(), end.addDays(-30));
    EXPECT_EQ(w.Period()->end(), end);
    w.Period()->setPeriod(begin, end);
    w.show();
    db::Query& q = *w.OraQuery1();
    EXPECT_EQ(columnOf(q, "OBJECT_NAME"), QStringList({"BOUND 1", "BOUND 2"}));
    ASSERT_TRUE(q.locate("OBJECT_NAME", "BOUND 1"));
    EXPECT_EQ(w.BeforeValue()->toPlainText(), QString::fromUtf8("Zürich"));
    EXPECT_EQ(w.AfterValue()->toPlainText(), QString::fromUtf8("café"));
    q.last();
    EXPECT_EQ(w.BeforeValue()->toPlainText(), QString());
    EXPECT_EQ(w.AfterValue()->toPlainText(), "b");

    // Moving the end past the later entry lists it only once the filter is set again.
    w.Period()->setPeriod(begin, end.addSecs(1));
    EXPECT_EQ(q.recordCount(), 2);
    w.acSetFilter()->trigger();
    EXPECT_EQ(columnOf(q, "OBJECT_NAME"), QStringList({"BOUND 1", "BOUND 2", "AFTER"}));
    EXPECT_EQ(w.windowTitle(), lang::tr(u"vrstrEventsJrn"));
    EXPECT_EQ(w.dbgJournal()->hint(), w.windowTitle());
    framework::setClock(previous);
}
