// Figures of the access layer against the database's own client, in one run:
// opening the clients list of one large emitent through db::Query versus psql fetching the same
// rewritten SQL, and the memory the open dataset holds versus the rows as psql's unaligned text.
#include "MacroExpander.h"
#include "core/SharedQueryTexts.h"
#include "PortalCodec.h"
#include "Query.h"
#include "Session.h"
#include "SqlAdapter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {


QMap<QString, QString> parseConninfo(const QString& conninfo)
{
    QMap<QString, QString> kv;
    for (const QString& part : conninfo.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        kv.insert(part.section(QLatin1Char('='), 0, 0), part.section(QLatin1Char('='), 1));
    return kv;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void setupClients(db::Query& q, int emitent)
{
    q.setSql(QString::fromUtf8(sqltext::qryClients));
    q.setMacro("shema", "tev");
    q.setMacro("ORDER", "ORDER BY");
    q.setMacro("FIELD", "wbc_id");
    const QList<QPair<const char*, const char*>> texts = {
        {"vNo", "Нет"}, {"vYes", "Да"}, {"vCreated", "создан"}, {"vInvited", "выслано приглашение"},
        {"vNotSubscribes", "без подписки"}, {"vSubscribe", "с подпиской"}, {"vBlocked", "заблокирован"},
        {"vUnknown", "неизвестное"}};
    for (const auto& t : texts)
        q.setMacro(QString::fromLatin1(t.first), QStringLiteral("'%1'").arg(QString::fromUtf8(t.second)));
    q.setParam("emitent_id", emitent);
    q.setParam("rpt", 0);
    q.addCalculatedField("WBC_NAME_ANSI", db::DataType::String,
                         [](const db::Dataset& ds, int row) {
                             return QVariant(DecodeUnicodeEscapes(ds.physicalValue(row, 1).toString()));
                         },
                         500, {"WBC_NAME"});
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString conninfo = qEnvironmentVariable("TEV_BENCH_CONNINFO");
    const int emitent = qEnvironmentVariableIntValue("TEV_BENCH_EMITENT");
    if (conninfo.isEmpty() || emitent == 0) {
        std::fprintf(stderr, "TEV_BENCH_CONNINFO and TEV_BENCH_EMITENT must be set (bench/run sets them)\n");
        return 2;
    }
    const auto kv = parseConninfo(conninfo);
    db::Session session;
    session.setServer(QStringLiteral("%1:%2/%3").arg(kv.value("host"), kv.value("port"), kv.value("dbname")));
    session.setUsername(kv.value("user"));
    session.setPassword(kv.value("password"));
    session.connect();

    db::Query q(&session);
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
        psqlSql.replace(QStringLiteral("$%1").arg(i), q.paramByName(adapted.params[i - 1]).value().toString());

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
        session.commit();
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
