// Figures of the grid layer on the clients list of one large emitent, each against the time the
// list takes to open through db::Query in the same run: ticking every row through a grid adapter
// (the grid tools' mass selection), and applying the list's in-memory filter, both with the list
// shown in a grid.
#include "DBGrid.h"
#include "PortalCodec.h"
#include "Query.h"
#include "Session.h"
#include "TDBGridIntObj.h"
#include "core/SharedQueryTexts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

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

double timed(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed());
}

void setupClients(db::Query& q, int emitent)
{
    q.setSql(QString::fromUtf8(sqltext::qryClients));
    q.setMacro("shema", "tev");
    q.setMacro("ORDER", "ORDER BY");
    q.setMacro("FIELD", "wbc_id");
    const QList<QPair<const char*, const char*>> texts = {{"vNo", "Нет"},
                                                          {"vYes", "Да"},
                                                          {"vCreated", "создан"},
                                                          {"vInvited", "выслано приглашение"},
                                                          {"vNotSubscribes", "без подписки"},
                                                          {"vSubscribe", "с подпиской"},
                                                          {"vBlocked", "заблокирован"},
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
    q.setTakesLocalEdits(true);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
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
    q.open(); // warm the server's caches
    const int rows = q.recordCount();

    DBGrid grid;
    grid.resize(1000, 700);
    grid.setDataset(&q);
    grid.show();
    QApplication::processEvents();
    TDBGridIntObj adapter(&grid);
    adapter.SetCheckFieldName(QStringLiteral("ISVISIBLE"));

    std::vector<double> opens, ticks, filters;
    const QString filter =
        QStringLiteral("wbc_petrol_type_id = 1 AND (clientislnr = 0) AND (clientisbonus = 0)");
    for (int i = 0; i < 5; ++i) {
        opens.push_back(timed([&] {
            q.open();
            QApplication::processEvents();
        }));
        session.commit();
        ticks.push_back(timed([&] {
            adapter.CheckAll();
            QApplication::processEvents();
        }));
        adapter.UncheckAll();
        filters.push_back(timed([&] {
            q.setFilter(filter);
            q.setFiltered(true);
            QApplication::processEvents();
        }));
        q.setFiltered(false);
        q.setFilter(QString());
    }
    q.setFilter(filter);
    q.setFiltered(true);
    const int filtered = q.recordCount();
    std::printf("# %d rows (%d under the filter); open %.1f ms, tick all %.1f ms, filter %.1f ms\n", rows,
                filtered, median(opens) / 1e6, median(ticks) / 1e6, median(filters) / 1e6);
    std::printf("grid_tick_all_vs_open: %.3f (target <= 0.05)\n", median(ticks) / median(opens));
    std::printf("grid_filter_vs_open: %.3f (target <= 0.05)\n", median(filters) / median(opens));
    return 0;
}
