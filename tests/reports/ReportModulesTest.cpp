// The report modules against the test portal; workbooks read back by openpyxl.
#include "Catalogue.h"
#include "OraError.h"
#include "PortalCodec.h"
#include "ReportsTestSupport.h"
#include "TEXLTEVClientVisitsReport.h"
#include "TEXLTEVCountClientsWorkInWeb.h"
#include "TEXLTEVLoginClients.h"

#include <QFileInfo>

namespace {

// Visits of March 2001, a month the demo portal has none in: the first two clients of emitent 1
// (2 and 3 sign-ins) and the first client of emitent 2 (1 sign-in on the period's last second);
// a sign-out and a sign-in of April that must not count.
const char kVisitsFixture[] = R"(
WITH picks AS (
  SELECT l.wbl_id, e.emitent_number,
         row_number() OVER (PARTITION BY e.emitent_number ORDER BY c.wbc_id) AS n
    FROM tev.tev_web_logins l
    JOIN tev.tev_web_clients c ON c.wbc_id = l.wbl_web_client_id
    JOIN tev.tev_emitent e ON e.emitent_id_web = c.wbc_emitent_id
   WHERE l.card_holder_id IS NULL AND e.emitent_number IN (1, 2))
INSERT INTO tev.tev_web_visit_journals (wbvj_login_id, wbvj_visit_date, operation_type, operation_name)
SELECT p.wbl_id, v.at::timestamp, v.op, 'test'
  FROM picks p
  JOIN (VALUES (1, 1, '2001-03-05 10:00:00', 1), (1, 1, '2001-03-20 18:30:00', 1),
               (1, 1, '2001-03-21 09:00:00', 2), (1, 1, '2001-04-01 00:00:00', 1),
               (1, 2, '2001-03-01 00:00:00', 1), (1, 2, '2001-03-02 12:00:00', 1),
               (1, 2, '2001-03-03 08:15:00', 1),
               (2, 1, '2001-03-31 23:59:59', 1)) AS v(em, n, at, op)
    ON v.em = p.emitent_number AND v.n = p.n
RETURNING 1
)";

QString clientName(int emitent, int n)
{
    return DecodeUnicodeEscapes(
        admin(QStringLiteral("SELECT c.wbc_name FROM tev.tev_web_clients c JOIN tev.tev_emitent e ON "
                             "e.emitent_id_web = c.wbc_emitent_id "
                             "WHERE e.emitent_number = %1 AND EXISTS (SELECT 1 FROM tev.tev_web_logins l "
                             "WHERE l.wbl_web_client_id = c.wbc_id "
                             "AND l.card_holder_id IS NULL) ORDER BY c.wbc_id OFFSET %2 LIMIT 1")
                  .arg(emitent)
                  .arg(n - 1)));
}

class ReportModules : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (PgFixture::instance().available() && admin("SELECT count(*) FROM tev.tev_web_visit_journals "
                                                       "WHERE operation_name = 'test'") == "0")
            admin(QString::fromLatin1(kVisitsFixture));
    }
    void SetUp() override
    {
        REQUIRE_PG();
        session = PgFixture::instance().connect();
    }
    static QDateTime march(int day, QTime time) { return QDateTime(QDate(2001, 3, day), time); }

    template <class R> void setMarch(R& report)
    {
        report.setPeriodBegin(march(1, QTime(0, 0)));
        report.setPeriodEnd(march(31, QTime(23, 59, 59, 999)));
    }

    ReportFolders folders;
    std::unique_ptr<db::Session> session;
};

TEST_F(ReportModules, VisitsReportGroupsByEmitentWithTypedCellsAndTotals)
{
    TEXLTEVClientVisitsReport report(nullptr, QStringLiteral("TEV"), session.get());
    setMarch(report);
    ASSERT_TRUE(report.build());
    EXPECT_FALSE(report.noData());
    EXPECT_TRUE(report.outputFile().startsWith(folders.reportsPath() + "/"));
    const Workbook book = readWorkbook(report.outputFile());
    EXPECT_EQ(book.sheets(), QStringList{"TEVCountVisit"});

    EXPECT_EQ(book.text(1, "A"), QStringLiteral("Количество посещений за период"));
    EXPECT_TRUE(book.text(2, "A").startsWith(QStringLiteral("с "))) << book.text(2, "A").toStdString();
    EXPECT_EQ(book.text(3, "A"), QStringLiteral("\"ООО «ТЭВ Процессинг»\""));
    EXPECT_EQ(book.text(7, "B"), QStringLiteral("Наименование клиента"));

    // Master rows: the emitent and the count are numbers, the last visit a date-time.
    const QList<int> masters = book.rowsWithType("E", "d");
    ASSERT_EQ(masters.size(), 3);
    QMap<QString, QPair<int, QString>> byClient;
    for (int row : masters) {
        EXPECT_EQ(book.cell(row, "A").value("type"), "n");
        EXPECT_EQ(book.cell(row, "F").value("type"), "n");
        EXPECT_EQ(book.cell(row, "B").value("type"), "s");
        byClient[book.text(row, "B")] = {book.cell(row, "F").value("value").toInt(), book.text(row, "E")};
    }
    EXPECT_EQ(byClient.value(clientName(1, 1)), qMakePair(2, QStringLiteral("2001-03-20T18:30:00")));
    EXPECT_EQ(byClient.value(clientName(1, 2)), qMakePair(3, QStringLiteral("2001-03-03T08:15:00")));
    EXPECT_EQ(byClient.value(clientName(2, 1)), qMakePair(1, QStringLiteral("2001-03-31T23:59:59")));

    // Two group totals and the report total, the latter not counting the former twice.
    const QList<int> totals = book.rowsWithType("F", "f");
    ASSERT_EQ(totals.size(), 3);
    QList<int> cached;
    for (int row : totals) {
        const QJsonObject f = book.cell(row, "F");
        EXPECT_TRUE(f.value("value").toString().startsWith("=SUBTOTAL(9,"));
        EXPECT_EQ(f.value("cached"), f.value("recomputed"));
        cached << f.value("cached").toInt();
    }
    EXPECT_EQ(cached, (QList<int>{5, 1, 6}));
    EXPECT_EQ(book.text(totals.last(), "A"), QStringLiteral("Итого по отчету"));
    EXPECT_EQ(book.text(totals.first(), "A"), QStringLiteral("Итого по эмитенту 1"));
}

TEST_F(ReportModules, EmitentsReportCountsClientsPerEmitent)
{
    TEXLTEVCountClientsWorkInWeb report(nullptr, QStringLiteral("TEV"), session.get());
    setMarch(report);
    ASSERT_TRUE(report.build());
    const Workbook book = readWorkbook(report.outputFile());
    EXPECT_EQ(book.sheets(), QStringList{"TEVCountVisitByEmitent"});
    const QList<int> masters = book.rowsWithType("D", "n");
    ASSERT_EQ(masters.size(), 2);
    EXPECT_TRUE(book.text(masters[0], "A").startsWith("[0001, ")) << book.text(masters[0], "A").toStdString();
    EXPECT_EQ(book.cell(masters[0], "D").value("value").toInt(), 2);
    EXPECT_TRUE(book.text(masters[1], "A").startsWith("[0002, "));
    EXPECT_EQ(book.cell(masters[1], "D").value("value").toInt(), 1);
    const QList<int> totals = book.rowsWithType("D", "f");
    ASSERT_EQ(totals.size(), 1);
    EXPECT_EQ(book.cell(totals[0], "D").value("cached").toInt(), 3);

    // Emitent names come decoded from the portal's escaped form, as client names do.
    TEXLTEVCountClientsWorkInWeb demo(nullptr, QStringLiteral("TEV"), session.get());
    demo.setPeriodBegin(QDate(2025, 1, 1).startOfDay());
    demo.setPeriodEnd(QDate(2026, 12, 31).endOfDay());
    ASSERT_TRUE(demo.build());
    const Workbook all = readWorkbook(demo.outputFile());
    QStringList names;
    for (int row : all.rowsWithType("D", "n"))
        names << all.text(row, "A");
    EXPECT_TRUE(names.contains(QStringLiteral("[0003, 0] Café Petrol"))) << names.join(" | ").toStdString();
    EXPECT_FALSE(names.join(QString()).contains(QStringLiteral("\\u")));
}

TEST_F(ReportModules, LoginReportsGroupedAndSimpleWithStateFilter)
{
    const struct
    {
        const char* name;
        bool grouped;
        int state;
        const char* sheet;
    } cases[] = {
        {"every client, simple", false, -1, "TEVLoginsSimple"},
        {"subscribed, grouped", true, 4, "TEVLogins"},
        {"invited, simple", false, 2, "TEVLoginsSimple"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TEXLTEVLoginClients report(nullptr, QStringLiteral("TEV"), session.get(), c.grouped);
        report.setClientState(c.state);
        ASSERT_TRUE(report.build());
        const Workbook book = readWorkbook(report.outputFile());
        EXPECT_EQ(book.sheets(), QStringList{c.sheet});

        const QString where =
            c.state < 0 ? QString() : QStringLiteral(" WHERE client_state = %1").arg(c.state);
        const int logins = admin("SELECT count(*) FROM tev.v_tev_logins" + where).toInt();
        const int active = admin("SELECT count(*) FROM tev.v_tev_logins" + where +
                                 (where.isEmpty() ? " WHERE " : " AND ") + "active_login = 1")
                               .toInt();
        const int clients = admin("SELECT count(DISTINCT wbc_id) FROM tev.v_tev_logins" + where).toInt();

        // Every login is a row with its login in column B and "Да"/"Нет" in column E.
        int yes = 0, no = 0, headers = 0;
        for (auto it = book.rows.begin(); it != book.rows.end(); ++it) {
            if (it.key() <= 4)
                continue;
            const QString e = it.value().value("E").value("value").toString();
            yes += e == QStringLiteral("Да");
            no += e == QStringLiteral("Нет");
            headers += it.value().value("A").value("value").toString().startsWith(
                QStringLiteral("Наименование клиента: "));
        }
        ASSERT_GT(active, 0);
        if (c.state < 0) {
            ASSERT_GT(logins, active) << "some login to write as Нет";
        }
        EXPECT_EQ(yes, active);
        EXPECT_EQ(no, logins - active);
        EXPECT_EQ(headers, c.grouped ? clients : 0);
    }
}

TEST_F(ReportModules, ReportWithoutRowsWritesNothing)
{
    TEXLTEVClientVisitsReport report(nullptr, QStringLiteral("TEV"), session.get());
    report.setPeriodBegin(QDateTime(QDate(1990, 1, 1), QTime(0, 0)));
    report.setPeriodEnd(QDateTime(QDate(1990, 1, 31), QTime(23, 59)));
    EXPECT_FALSE(report.build());
    EXPECT_TRUE(report.noData());
    EXPECT_TRUE(report.outputFile().isEmpty());
    EXPECT_TRUE(folders.reportFiles().isEmpty());
}

TEST_F(ReportModules, UnknownSchemaFailsWithTheDatabaseError)
{
    TEXLTEVLoginClients report(nullptr, QStringLiteral("NO_SUCH"), session.get(), false);
    EXPECT_THROW(report.build(), db::OraError);
    EXPECT_TRUE(folders.reportFiles().isEmpty());
}

} // namespace
