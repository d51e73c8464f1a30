// The bulk edit of ticked clients of the large emitent, from the command to the refreshed list:
// - 5,000 clients against psql running the same 5,000 calls in one transaction plus the db::Query
//   open of the clients query;
// - 10,000 clients against 5,000 (the cost per client must not grow with the list).
#include "BenchSupport.h"
#include "ClientPermissions.h"
#include "ClientsQuery.h"
#include "ClientsWorkArea.h"
#include "ConsoleBenchSupport.h"
#include "DbHelpers.h"
#include "FrameworkFiles.h"
#include "Query.h"
#include "Session.h"
#include "TdmMain.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

using bench::median;
using bench::timed;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int emitent = bench::benchEmitent();
    QTemporaryDir folder;
    bench::useAppFolder(folder,
                        QStringLiteral("[SCHEMES]\r\nTEV=1\r\n[CLIENT_CONFIGS]\r\nLAST_SELECTED_EM=%1\r\n")
                            .arg(emitent)
                            .toLatin1());
    TdmMain dm;
    bench::signIn(dm);
    db::Session* session = dm.session();

    QWidget window;
    window.resize(1200, 760);
    auto* area = new ClientsWorkArea(dm, &window);
    area->resize(window.size());
    fSetSession(&window, session);
    fSetShema(&window, dm.ActiveScheme());
    area->ChooseStartEmitent();
    area->OpenEmitentList(area->CurrentEmitentId());
    area->OpenEmitentData();
    window.show();
    QCoreApplication::processEvents();
    db::Query& clients = *area->qryClients();
    if (clients.recordCount() < 10000) {
        std::fprintf(stderr, "the bench emitent has %d clients\n", clients.recordCount());
        return 1;
    }

    QObject owner;
    db::Query reference(&owner);
    ClientsQuery::Setup(reference);
    reference.setSession(session);
    fSetShemaForComponent(&reference, dm.ActiveScheme());
    reference.setParam("emitent_id", emitent);
    reference.setParam("rpt", 0);

    const int idColumn = clients.fieldIndex(QString::fromLatin1(ClientsQuery::kIdField));
    int flag = 0;
    auto edit = [&](int count) {
        for (int row = 0; row < count; ++row)
            area->SetTick(row, 1);
        ClientPermissions::GroupChoice choice;
        flag = 1 - flag;
        choice.boxes[ClientPermissions::SubscribeSMS] =
            flag ? ClientPermissions::Box::Ticked : ClientPermissions::Box::Unticked;
        return timed([&] {
            area->ApplyGroupEdit(choice);
            QCoreApplication::processEvents();
        });
    };
    // psql runs the same calls for the first `count` clients in one transaction.
    const QString psql = qEnvironmentVariable("TEV_PG_BIN", QStringLiteral("/usr/lib/postgresql/15/bin")) +
                         QStringLiteral("/psql");
    auto psqlRun = [&](int count) {
        QString script = QStringLiteral("BEGIN;\n");
        flag = 1 - flag;
        for (int row = 0; row < count; ++row)
            script += QStringLiteral(
                          "CALL %1.tev_utils__update_client_from_group(%2, NULL, NULL, NULL, NULL, NULL, "
                          "NULL, NULL, NULL, NULL, NULL, NULL, %3, NULL);\n")
                          .arg(dm.ActiveScheme().toLower())
                          .arg(clients.value(row, idColumn).toInt())
                          .arg(flag);
        script += QStringLiteral("COMMIT;\n");
        QFile file(folder.filePath("calls.sql"));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(script.toUtf8());
        file.close();
        return timed([&] {
            QProcess p;
            p.start(psql,
                    {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-d", bench::conninfo(), "-f", file.fileName()});
            p.waitForFinished(-1);
            if (p.exitCode() != 0)
                std::fprintf(stderr, "psql: %s\n", p.readAllStandardError().constData());
        });
    };

    edit(5000); // warms the server and the routine lookup
    std::vector<double> five, ten, calls, opens;
    for (int i = 0; i < 3; ++i) {
        five.push_back(edit(5000));
        ten.push_back(edit(10000));
        calls.push_back(psqlRun(5000));
        opens.push_back(timed([&] { reference.open(); }));
        reference.close();
        session->commit();
    }
    const double reference5000 = median(calls) + median(opens);
    std::printf(
        "# %d clients; edit of 5000 %.0f ms, of 10000 %.0f ms; psql 5000 calls %.0f ms + open %.0f ms\n",
        clients.recordCount(), median(five) / 1e6, median(ten) / 1e6, median(calls) / 1e6,
        median(opens) / 1e6);
    std::printf("group_edit_vs_psql: %.3f (target <= 2)\n", median(five) / reference5000);
    std::printf("group_edit_2n_vs_n: %.3f (target <= 2.3)\n", median(ten) / median(five));
    return 0;
}
