// Figures of the access layer against the database's own client, in one run:
// opening the clients list of one large emitent through db::Query versus psql fetching the same
// rewritten SQL, and the memory the open dataset holds versus the rows as psql's unaligned text.
#include "BenchSupport.h"
#include "MacroExpander.h"
#include "PortalCodec.h"
#include "Query.h"
#include "Session.h"
#include "SqlAdapter.h"
#include "core/SharedQueryTexts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace bench;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int emitent = benchEmitent();
    const QString conninfo = bench::conninfo();
    const auto session = connectBenchDatabase();
    db::Session& s = *session;

    db::Query q(&s);
    setupClients(q, emitent);
    q.open(); // warm the server's caches for both sides
    const int rows = q.recordCount();

    // The same text psql gets: rewritten, with the two parameters as literals.
    const QString expanded = db::expandMacros(q.sql(), [&](const QString& name) -> std::optional<QString> {
        return q.macroByName(name).expansion();
    });
    const db::AdaptedSql adapted = db::adaptOracleSql(expanded);
    QString psqlSql = adapted.text;
    for (int i = int(adapted.params.size()); i >= 1; --i)
        psqlSql.replace(QStringLiteral("$%1").arg(i),
                        q.paramByName(adapted.params[i - 1]).value().toString());

    QTemporaryDir dir;
    const QString textFile = dir.filePath("rows.txt");
    auto runPsql = [&](const QString& output) {
        QProcess p;
        p.start("psql", {"-X", "-q", "-A", "-t", "-o", output, "-c", psqlSql, conninfo});
        p.waitForFinished(-1);
        if (p.exitCode() != 0) {
            std::fprintf(stderr, "psql failed: %s\n", p.readAllStandardError().constData());
            std::exit(1);
        }
    };
    runPsql(textFile);
    const double textBytes = double(QFileInfo(textFile).size());

    std::vector<double> ours, theirs;
    for (int i = 0; i < 7; ++i) {
        QElapsedTimer t;
        t.start();
        q.open();
        ours.push_back(double(t.nsecsElapsed()));
        s.commit();
        t.restart();
        runPsql("/dev/null");
        theirs.push_back(double(t.nsecsElapsed()));
    }
    const double memory = double(q.memoryUsage());
    std::printf("# %d rows; db::Query open %.1f ms, psql %.1f ms; dataset %.1f MB, text %.1f MB\n", rows,
                median(ours) / 1e6, median(theirs) / 1e6, memory / 1e6, textBytes / 1e6);
    std::printf("db_open_vs_psql: %.3f (target <= 1.5)\n", median(ours) / median(theirs));
    std::printf("db_memory_vs_text: %.3f (target <= 3)\n", memory / textBytes);
    return 0;
}
