// mail_open_vs_psql: opening the invitation composer for 1,000 ticked clients of the large emitent
// (it reads every login of each client with the shared logins query) against psql running the
// same logins query for the same 1,000 clients in one session.
#include "BenchSupport.h"
#include "ClientsQuery.h"
#include "ConsoleBenchSupport.h"
#include "DbHelpers.h"
#include "FrameworkFiles.h"
#include "InvitationList.h"
#include "Query.h"
#include "Session.h"
#include "SharedQueryTexts.h"
#include "SqlAdapter.h"
#include "TdmMain.h"
#include "TfmMailEdit.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

using bench::median;
using bench::timed;

namespace {

constexpr int kClients = 1000;

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int emitent = bench::benchEmitent();
    QTemporaryDir folder;
    bench::useAppFolder(folder, "[SCHEMES]\r\nTEV=1\r\n");
    TdmMain dm;
    bench::signIn(dm);
    db::Session* session = dm.session();

    // The first 1,000 clients of the large emitent, as the clients list hands them over.
    QObject owner;
    db::Query clients(&owner);
    ClientsQuery::Setup(clients);
    clients.setSession(session);
    fSetShemaForComponent(&clients, dm.ActiveScheme());
    clients.setParam(QString::fromLatin1(ClientsQuery::kEmitentParam), emitent);
    clients.setParam(QStringLiteral("rpt"), 0);
    clients.open();
    if (clients.recordCount() < kClients) {
        std::fprintf(stderr, "the bench emitent has %d clients\n", clients.recordCount());
        return 1;
    }
    TInvitationList handOver;
    QStringList ids;
    for (int row = 0; row < kClients; ++row) {
        clients.setCurrentRow(row);
        TInvitationEntry entry;
        entry.key = clients.asString(QString::fromLatin1(ClientsQuery::kIdField));
        entry.client.WBC_NAME_ANSI = clients.asString(QStringLiteral("WBC_NAME_ANSI"));
        entry.client.WBC_EMAIL = clients.asString(QStringLiteral("WBC_EMAIL"));
        entry.client.WBC_PETROL_ID = clients.asString(QStringLiteral("WBC_PETROL_ID"));
        handOver << entry;
        ids << entry.key;
    }
    clients.close();
    session->commit();

    // psql: the console's logins query in the PostgreSQL form the access layer sends, once per
    // client in one session.
    QString expanded = QString::fromLatin1(sqltext::oqLogins);
    expanded.replace(QStringLiteral("&shema."), dm.ActiveScheme() + QLatin1Char('.'));
    const QString adapted = db::adaptOracleSql(expanded).text;
    QString script;
    for (const QString& id : ids)
        script += QString(adapted).replace(QStringLiteral("$1"), id) + QStringLiteral(";\n");
    QFile file(folder.filePath("logins.sql"));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(script.toUtf8());
    file.close();
    const QString psql = qEnvironmentVariable("TEV_PG_BIN", QStringLiteral("/usr/lib/postgresql/15/bin")) +
                         QStringLiteral("/psql");
    auto psqlRun = [&] {
        return timed([&] {
            QProcess p;
            p.start(psql, {"-X", "-q", "-o", "/dev/null", "-v", "ON_ERROR_STOP=1", "-d", bench::conninfo(),
                           "-f", file.fileName()});
            p.waitForFinished(-1);
            if (p.exitCode() != 0)
                std::fprintf(stderr, "psql: %s\n", p.readAllStandardError().constData());
        });
    };
    auto openComposer = [&] {
        return timed([&] {
            TfmMailEdit composer(dm, handOver, nullptr);
            QCoreApplication::processEvents();
        });
    };

    openComposer(); // warms the server and the routine lookup
    std::vector<double> opens, runs;
    for (int i = 0; i < 3; ++i) {
        opens.push_back(openComposer());
        runs.push_back(psqlRun());
    }
    std::printf("# %d clients; composer open %.0f ms, psql %.0f ms\n", kClients, median(opens) / 1e6,
                median(runs) / 1e6);
    std::printf("mail_open_vs_psql: %.3f (target <= 2)\n", median(opens) / median(runs));
    return 0;
}
