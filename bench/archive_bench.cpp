// The coupons archive run in the console's window, from "Переместить талоны в архив" to its final
// message, against psql calling the same archive procedure, each on a fresh copy of the same coupons
// (100,000 of them older than the day, added by bench/fill_coupons.sql), alternately in one run.
#include "BenchSupport.h"
#include "Catalogue.h"
#include "ConsoleBenchSupport.h"
#include "FrameworkFiles.h"
#include "MessageDialogs.h"
#include "Session.h"
#include "TdmMain.h"
#include "TfrmCouponsArchive.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <vector>

namespace {

// Answers every box with its first button and remembers the last text.
class FirstButton : public lang::MessagePresenter
{
public:
    int show(const lang::MessageRequest& request) override
    {
        last = request.text;
        return request.buttons.isEmpty() ? lang::mrOk : request.buttons.first().first;
    }
    QString last;
};

// Each statement in a -c of its own (VACUUM runs outside a transaction).
bool runPsql(const QString& psql, const QString& conninfo, const QStringList& statements)
{
    QStringList args = {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-d", conninfo};
    for (const QString& sql : statements)
        args << "-c" << sql;
    QProcess p;
    p.start(psql, args);
    if (!p.waitForFinished(600000) || p.exitCode() != 0) {
        std::fprintf(stderr, "psql failed: %s\n", p.readAllStandardError().constData());
        return false;
    }
    return true;
}

// The coupons and sessions as the fill left them; kept aside once, put back before every run.
const QStringList kSnapshot = {"DROP TABLE IF EXISTS public.bench_coupons, public.bench_sessions",
                               "CREATE TABLE public.bench_coupons AS SELECT * FROM tev.tev_coupons",
                               "CREATE TABLE public.bench_sessions AS SELECT * FROM tev.tev_archive_data"};
const QStringList kRestore = {
    "BEGIN; DELETE FROM tev.tev_coupons_archive WHERE archive_id NOT IN (SELECT id FROM "
    "public.bench_sessions); "
    "DELETE FROM tev.tev_archive_data WHERE id NOT IN (SELECT id FROM public.bench_sessions); "
    "TRUNCATE tev.tev_coupons; INSERT INTO tev.tev_coupons SELECT * FROM public.bench_coupons; COMMIT",
    "VACUUM ANALYZE tev.tev_coupons", "VACUUM ANALYZE tev.tev_coupons_archive",
    "VACUUM ANALYZE tev.tev_archive_data"};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QString admin = qEnvironmentVariable("TEV_BENCH_ADMIN_CONNINFO");
    const QString user = bench::conninfo();
    const QString psql = QStandardPaths::findExecutable(QStringLiteral("psql"));
    if (admin.isEmpty() || user.isEmpty() || psql.isEmpty()) {
        std::fprintf(stderr,
                     "TEV_BENCH_CONNINFO, TEV_BENCH_ADMIN_CONNINFO and psql are needed (bench/run)\n");
        return 2;
    }
    QTemporaryDir folder;
    bench::useAppFolder(folder, "[SCHEMES]\r\nTEV=1\r\n");
    if (!runPsql(psql, admin, kSnapshot))
        return 1;

    TdmMain dm;
    bench::signIn(dm, user);
    FirstButton presenter;
    lang::setMessagePresenter(&presenter);

    const QDate day = QDate::currentDate().addDays(-1);
    const QString call = QStringLiteral("CALL tev.tev_utils__archive_coupons(timestamp '%1', 0)")
                             .arg(day.toString(QStringLiteral("yyyy-MM-dd")));
    std::vector<double> console;
    std::vector<double> reference;
    for (int round = 0; round < 5; ++round) {
        if (!runPsql(psql, admin, kRestore))
            return 1;
        TfrmCouponsArchive window(dm);
        window.show();
        window.ArchiveDate()->setDate(day);
        QCoreApplication::processEvents();
        // The reference's psql may still be leaving the server's list of connections.
        for (int i = 0; i < 200 && window.HasActiveConnections(); ++i)
            QThread::msleep(10);
        presenter.last.clear();
        console.push_back(bench::timed([&] { window.acArchive()->trigger(); }));
        if (presenter.last != lang::tr(u"vrstrArchiveComplete")) {
            std::fprintf(stderr, "the console's run did not finish: %s\n",
                         presenter.last.toUtf8().constData());
            return 1;
        }
        window.hide();

        if (!runPsql(psql, admin, kRestore))
            return 1;
        reference.push_back(bench::timed([&] {
            if (!runPsql(psql, user, {call}))
                std::exit(1);
        }));
    }
    runPsql(psql, admin, kRestore);
    lang::setMessagePresenter(nullptr);
    std::printf("archive_vs_psql: %.2f (target <= 1.3)\n", bench::median(console) / bench::median(reference));
    return 0;
}
