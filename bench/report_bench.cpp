// The whole login report over 100,000 logins (query, fetch, fill, write; the desktop opener
// stubbed) against psql's \copy of the same select to CSV, in the same run.
#include "BenchSupport.h"
#include "FileOpener.h"
#include "TEXLTEVLoginClients.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

using namespace bench;

namespace {

// Gives every client of the bench emitent its own login for the run; removed again at the end so
// the other benchmarks see the database as bench/run left it.
const char kMarker[] = "benchrep_";

void adminSql(const QString& sql)
{
    QProcess p;
    p.start("psql", {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-c", sql,
                     qEnvironmentVariable("TEV_BENCH_ADMIN_CONNINFO")});
    if (!p.waitForFinished(600000) || p.exitCode() != 0) {
        std::fprintf(stderr, "report_bench: psql failed: %s\n", p.readAllStandardError().constData());
        std::exit(1);
    }
}

class StubOpener : public framework::FileOpener
{
public:
    bool open(const QString&) override { return true; }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int emitent = benchEmitent();
    adminSql(
        QStringLiteral(
            "INSERT INTO tev.tev_web_logins (wbl_web_client_id, wbl_login_md5, wbl_password_md5) "
            "SELECT c.wbc_id, '%1' || c.wbc_id, md5(c.wbc_id::text) FROM tev.tev_web_clients c "
            "WHERE c.wbc_emitent_id = %2 AND NOT EXISTS (SELECT 1 FROM tev.tev_web_logins l "
            "WHERE l.wbl_web_client_id = c.wbc_id AND l.card_holder_id IS NULL); ANALYZE tev.tev_web_logins")
            .arg(QLatin1String(kMarker))
            .arg(emitent));
    struct Cleanup
    {
        ~Cleanup()
        {
            adminSql(QStringLiteral("DELETE FROM tev.tev_web_logins WHERE wbl_login_md5 LIKE '%1%%'")
                         .arg(QLatin1String(kMarker)));
        }
    } cleanup;

    const auto session = connectBenchDatabase();
    StubOpener opener;
    framework::setFileOpener(&opener);
    QTemporaryDir dir;

    QString copySql = TEXLTEVLoginClients::kSql;
    copySql.replace(QStringLiteral("&shema."), QStringLiteral("tev."))
        .replace(QStringLiteral(":client_state"), QStringLiteral("-1"));
    const QString copy = QStringLiteral("\\copy (%1) to '%2' csv").arg(copySql, dir.filePath("logins.csv"));

    int rows = 0;
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int run = 0; run < 3; ++run) {
        ours.push_back(timed([&] {
            TEXLTEVLoginClients report(nullptr, QStringLiteral("TEV"), session.get(), false);
            report.setTemplateFile(QStringLiteral(TEV_REPORT_TEMPLATE));
            report.setOutputFile(dir.filePath("logins.xlsx"));
            if (!report.build()) {
                std::fprintf(stderr, "report_bench: the login report found no rows\n");
                std::exit(1);
            }
            rows = report.rows()->rowCount();
            framework::openWithDesktop(report.outputFile());
        }));
        theirs.push_back(timed([&] {
            QProcess p;
            p.start("psql", {"-X", "-q", "-c", copy, conninfo()});
            if (!p.waitForFinished(600000) || p.exitCode() != 0) {
                std::fprintf(stderr, "report_bench: psql failed: %s\n", p.readAllStandardError().constData());
                std::exit(1);
            }
        }));
    }
    framework::setFileOpener(nullptr);
    std::fprintf(stderr, "report_bench: %d logins; report %.3f s, psql \\copy %.3f s (medians of 3)\n", rows,
                 median(ours) / 1e9, median(theirs) / 1e9);
    std::printf("report_build_vs_psql_copy: %.3f (target <= 15)\n", median(ours) / median(theirs));
    return 0;
}
