// Figures of the grid layer on the clients list of one large emitent, each against the time the
// list takes to open through db::Query in the same run: ticking every row through a grid adapter
// (the grid tools' mass selection), and applying the list's in-memory filter, both with the list
// shown in a grid.
#include "BenchSupport.h"
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

using namespace bench;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int emitent = benchEmitent();
    const auto session = connectBenchDatabase();

    db::Query q(session.get());
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
        session->commit();
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
