// The coupons archive on the portal: nothing lost or duplicated, the moved set exactly the coupons
// before the day, committed for everyone; a failed run changes nothing; other programs' connections
// refuse the run, a second console does not; the unfinished last session is offered and guarded.
#include "TfrmCouponsArchive.h"

#include "JournalsTestSupport.h"

#include <QDateEdit>
#include <QThread>
#include <libpq-fe.h>

namespace {

const char kChecksum[] =
    "select count(*) || ' ' || md5(string_agg(coupon_id || ':' || coupon_number || ':' || "
    "coalesce(amount::text, '') || ':' || date_of, ',' order by coupon_id)) from "
    "(select coupon_id, coupon_number, amount, date_of from tev.tev_coupons union all "
    "select coupon_id, coupon_number, amount, date_of from tev.tev_coupons_archive) c";

// A connection of another program (not the console) as an account of the portal.
class ForeignConnection
{
public:
    explicit ForeignConnection(const QString& user)
    {
        const PgFixture& f = PgFixture::instance();
        const QString info = QString("host=%1 port=%2 dbname=%3 user=%4 password=%4 application_name=psql")
                                 .arg(f.host())
                                 .arg(f.port())
                                 .arg(f.database(), user);
        mConn = PQconnectdb(info.toUtf8().constData());
    }
    ~ForeignConnection()
    {
        PQfinish(mConn);
        // Gone from the server's list of connections before the next test looks.
        for (int i = 0;
             i < 100 && adminValue("select count(*) from pg_stat_activity where application_name = "
                                   "'psql'")
                                .toInt() > 0;
             ++i)
            QThread::msleep(20);
    }
    bool ok() const { return PQstatus(mConn) == CONNECTION_OK; }

private:
    PGconn* mConn;
};

} // namespace

class CouponsArchiveTest : public JournalsTest
{
protected:
    void SetUp() override
    {
        JournalsTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        day = QDate::currentDate().addDays(-10);
        const QString d = day.toString("yyyy-MM-dd");
        // One finished session and coupons around the chosen day.
        adminValue("delete from tev.tev_coupons_archive; delete from tev.tev_coupons; "
                   "delete from tev.tev_archive_data");
        adminValue("insert into tev.tev_archive_data (id, date_of, state, archive_date) values "
                   "(1, '2024-07-01 18:20:00', 3, '2024-01-01')");
        adminValue(
            QString("insert into tev.tev_coupons (coupon_id, emitent_id_web, coupon_number, amount, date_of) "
                    "values (101, 1, 'C-101', 10, timestamp '%1' - interval '1 second'), "
                    "(102, 1, 'C-102', 20, timestamp '%1'), (103, 1, 'C-103', NULL, timestamp '%1' + "
                    "interval '12 hours'), (104, 1, 'C-104', 40, timestamp '%1' - interval '30 days'), "
                    "(105, 1, 'C-105', 50, timestamp '%1' + interval '3 days')")
                .arg(d));
        adminValue(
            "insert into tev.tev_coupons_archive (coupon_id, archive_id, emitent_id_web, coupon_number, "
            "date_of) values (1, 1, 1, 'A-1', '2023-01-01')");
    }

    std::unique_ptr<TfrmCouponsArchive> openWindow()
    {
        auto w = std::make_unique<TfrmCouponsArchive>(dm());
        w->show();
        w->ArchiveDate()->setDate(day);
        return w;
    }

    QString ids(const QString& where) const
    {
        return adminValue("select coalesce(string_agg(coupon_id::text, ',' order by coupon_id), '') from " +
                          where);
    }

    QDate day;
};

TEST_F(CouponsArchiveTest, MovesExactlyTheCouponsBeforeTheDayAndLosesNothing)
{
    const QString before = adminValue(kChecksum);
    // A second console is connected: that is no reason to refuse.
    auto secondConsole = PgFixture::instance().connect("tev_operator");
    RecordingPresenter presenter;
    auto w = openWindow();
    EXPECT_EQ(w->qryArchive()->recordCount(), 1);
    w->acArchive()->trigger();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, lang::tr(u"vrstrArchiveComplete"));

    EXPECT_EQ(adminValue(kChecksum), before);
    EXPECT_EQ(ids("tev.tev_coupons"), "102,103,105");
    EXPECT_EQ(ids("tev.tev_coupons_archive where archive_id <> 1"), "101,104");
    // The session is recorded, finished, and the list shows it.
    EXPECT_EQ(w->qryArchive()->recordCount(), 2);
    EXPECT_EQ(adminValue("select state || ' ' || archive_date::date from tev.tev_archive_data where id <> 1"),
              "3 " + day.toString("yyyy-MM-dd"));
    // Committed: another connection sees the move.
    db::Query seen(secondConsole.get());
    seen.setSql("select count(*) from tev.v_archive_data");
    seen.open();
    EXPECT_EQ(seen.value(0, 0).toInt(), 2);
    // Closing after a finished session asks nothing.
    w->reject();
    EXPECT_EQ(presenter.count(), 1);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(CouponsArchiveTest, FailureMidWayChangesNeitherTableNorTheSessions)
{
    // The archive already holds a row with the id of a live coupon to move.
    adminValue(
        "insert into tev.tev_coupons_archive (coupon_id, archive_id, emitent_id_web, coupon_number, date_of) "
        "values (104, 1, 1, 'DUP-104', '2023-01-01')");
    const QString live = ids("tev.tev_coupons");
    const QString archived = ids("tev.tev_coupons_archive");
    const QString sessions = adminValue("select count(*) from tev.tev_archive_data");
    RecordingPresenter presenter;
    auto w = openWindow();
    w->acArchive()->trigger();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().icon, lang::MsgIcon::Error);
    EXPECT_NE(presenter.last().text, lang::tr(u"vrstrArchiveComplete"));
    EXPECT_FALSE(presenter.last().text.isEmpty());
    EXPECT_EQ(ids("tev.tev_coupons"), live);
    EXPECT_EQ(ids("tev.tev_coupons_archive"), archived);
    EXPECT_EQ(adminValue("select count(*) from tev.tev_archive_data"), sessions);
}

TEST_F(CouponsArchiveTest, DateMayBeTodayNotTomorrow)
{
    RecordingPresenter presenter;
    auto w = openWindow();
    w->ArchiveDate()->setDate(QDate::currentDate().addDays(1));
    w->acArchive()->trigger();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, lang::tr(u"vrstrSelectDateWarning"));
    EXPECT_EQ(ids("tev.tev_coupons"), "101,102,103,104,105");

    w->ArchiveDate()->setDate(QDate::currentDate());
    w->acArchive()->trigger();
    EXPECT_EQ(presenter.last().text, lang::tr(u"vrstrArchiveComplete"));
    EXPECT_EQ(ids("tev.tev_coupons"), "");
    EXPECT_EQ(ids("tev.tev_coupons_archive where archive_id <> 1"), "101,102,103,104,105");
}

TEST_F(CouponsArchiveTest, UnfinishedLastSessionIsTheLatestWhateverTheListOrder)
{
    // The latest session (by date) is unfinished although its id is lower than a finished one's.
    adminValue("insert into tev.tev_archive_data (id, date_of, state, archive_date) values "
               "(7, '2025-01-01 10:00:00', 3, '2024-12-01'), (5, '2025-06-01 10:00:00', 2, '2025-05-01')");
    RecordingPresenter presenter({lang::mrCancel});
    auto w = openWindow();
    // The user sorted the list by id: its last row is the finished session 7.
    db::Query* list = w->qryArchive();
    list->close();
    list->setMacro("FIELD", "id");
    list->open();
    list->last();
    ASSERT_EQ(list->asInteger("ID"), 7);

    // Cancel calls nothing.
    w->acArchive()->trigger();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, lang::tr(u"vrstrLastSessionErrorCont"));
    EXPECT_EQ(ids("tev.tev_coupons"), "101,102,103,104,105");

    // OK continues session 5.
    w->acArchive()->trigger();
    EXPECT_EQ(presenter.last().text, lang::tr(u"vrstrArchiveComplete"));
    EXPECT_EQ(ids("tev.tev_coupons_archive where archive_id = 5"), "101,104");
    EXPECT_EQ(adminValue("select state from tev.tev_archive_data where id = 5"), "3");
}

TEST_F(CouponsArchiveTest, ClosingWithAnUnfinishedSessionAsks)
{
    adminValue("insert into tev.tev_archive_data (id, date_of, state, archive_date) values "
               "(5, '2025-06-01 10:00:00', 2, '2025-05-01')");
    RecordingPresenter presenter({lang::mrCancel, lang::mrOk});
    auto w = openWindow();
    w->reject();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, lang::tr(u"vrstrLastSessionErrorExit"));
    EXPECT_TRUE(w->isVisible());
    w->reject();
    EXPECT_EQ(presenter.count(), 2);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(CouponsArchiveTest, OtherProgramsOfPortalAccountsRefuseTheRun)
{
    const QString expected =
        lang::format(lang::tr(u"vrstrFoundActiveConnect"), {shema()}) + "\r\n" + lang::tr(u"vrstrNeedClose");
    for (const char* user : {"tev_operator", "tevwebexportlogin", "tev"}) {
        SCOPED_TRACE(user);
        ForeignConnection other{QString::fromLatin1(user)};
        ASSERT_TRUE(other.ok());
        RecordingPresenter presenter;
        auto w = openWindow();
        w->acArchive()->trigger();
        ASSERT_EQ(presenter.count(), 1);
        EXPECT_EQ(presenter.last().text, expected);
        EXPECT_TRUE(presenter.last().text.contains("(" + shema() + ")"));
        EXPECT_EQ(ids("tev.tev_coupons"), "101,102,103,104,105");
    }
}
