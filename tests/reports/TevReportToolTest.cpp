// tev-report run as a process against the test portal, one case per exit status.
#include "ReportsTestSupport.h"

#include <QFileInfo>
#include <QProcessEnvironment>
#include <unistd.h>

namespace {

struct ToolRun
{
    int status = -1;
    QString errors;
    QString output;
};

ToolRun runTool(const QStringList& arguments, const QString& password)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (password.isNull())
        env.remove(QStringLiteral("TEV_PASSWORD"));
    else
        env.insert(QStringLiteral("TEV_PASSWORD"), password);
    p.setProcessEnvironment(env);
    // No terminal to prompt on: stdin closed and the tool started without a controlling one.
    p.setStandardInputFile(QProcess::nullDevice());
    p.setChildProcessModifier([] { ::setsid(); });
    p.start(QStringLiteral(TEV_REPORT_TOOL), arguments);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2,
            QString::fromUtf8(p.readAllStandardError()), QString::fromUtf8(p.readAllStandardOutput())};
}

TEST(TevReportTool, ExitStatusTellsWhatHappened)
{
    REQUIRE_PG();
    ReportFolders folders;
    const QString out = folders.out.filePath(QStringLiteral("r.xlsx"));
    const QStringList base = {"--service", PgFixture::serviceName(), "--user", "tev_user"};
    const struct
    {
        const char* name;
        QStringList args;
        QString password;
        int status;
        const char* message;
        bool written;
    } cases[] = {
        {"help", {"--help"}, "tev_user", 0, "", false},
        {"logins grouped",
         base + QStringList{"--report", "logins", "--grouped", "--state", "subscribed", "--out", out},
         "tev_user", 0, "", true},
        {"visits of a month without any",
         base + QStringList{"--report", "visits", "--from", "1990-01-01", "--to", "1990-01-31", "--out", out},
         "tev_user", 3, "no rows", false},
        {"wrong password", base + QStringList{"--report", "logins", "--out", out}, "wrong", 1, "sign-in",
         false},
        {"no password and no terminal", base + QStringList{"--report", "logins", "--out", out}, QString(), 1,
         "TEV_PASSWORD", false},
        {"unknown report", base + QStringList{"--report", "sales", "--out", out}, "tev_user", 2,
         "unknown report", false},
        {"bad date", base + QStringList{"--report", "visits", "--from", "2024-02-30", "--out", out},
         "tev_user", 2, "not a date", false},
        {"missing --out", base + QStringList{"--report", "logins"}, "tev_user", 2, "required", false},
        {"unknown scheme", base + QStringList{"--scheme", "NOPE", "--report", "logins", "--out", out},
         "tev_user", 4, "report failed", false},
        {"folder missing",
         base + QStringList{"--report", "logins", "--out", folders.out.filePath("none/r.xlsx")}, "tev_user",
         5, "no such folder", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(out);
        const ToolRun run = runTool(c.args, c.password);
        EXPECT_EQ(run.status, c.status) << run.errors.toStdString();
        EXPECT_TRUE(run.errors.contains(QLatin1String(c.message))) << run.errors.toStdString();
        EXPECT_EQ(QFileInfo::exists(out), c.written);
    }
    EXPECT_TRUE(runTool({"--help"}, "x").output.contains("Exit status"));
}

TEST(TevReportTool, WrittenWorkbookHoldsTheReport)
{
    REQUIRE_PG();
    ReportFolders folders;
    const QString out = folders.out.filePath(QStringLiteral("visits.xlsx"));
    const ToolRun run = runTool({"--service", PgFixture::serviceName(), "--user", "tev_user", "--report",
                                 "visits", "--from", "2025-01-01", "--to", "2026-12-31", "--out", out},
                                "tev_user");
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    const Workbook book = readWorkbook(out);
    EXPECT_EQ(book.sheets(), QStringList{"TEVCountVisit"});
    const QList<int> totals = book.rowsWithType("F", "f");
    ASSERT_FALSE(totals.isEmpty());
    const int expected =
        admin("SELECT count(*) FROM tev.tev_web_visit_journals WHERE operation_type = 1 AND wbvj_visit_date "
              "BETWEEN '2025-01-01' AND '2026-12-31 23:59:59.999'")
            .toInt();
    EXPECT_GT(expected, 0);
    EXPECT_EQ(book.cell(totals.last(), "F").value("cached").toInt(), expected);
    EXPECT_TRUE(folders.reportFiles().isEmpty()) << "--out, not the reports folder";
}

} // namespace
