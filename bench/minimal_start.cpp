// The reference of startup_vs_minimal: the least a Qt program of this build does to show data from
// the portal — one window, one libpq connection, one query — then it quits.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <libpq-fe.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QByteArray conninfo = qgetenv("TEV_BENCH_CONNINFO");
    PGconn* conn = PQconnectdb(conninfo.constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        std::fprintf(stderr, "minimal_start: %s", PQerrorMessage(conn));
        PQfinish(conn);
        return 1;
    }
    PGresult* result = PQexec(conn, "select count(*) from tev.v_tev_web_clients where wbc_emitent_id = 1");
    const bool ok = PQresultStatus(result) == PGRES_TUPLES_OK;
    QLabel window(ok ? QString::fromLatin1(PQgetvalue(result, 0, 0)) : QStringLiteral("?"));
    PQclear(result);
    PQfinish(conn);
    if (!ok)
        return 1;
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
