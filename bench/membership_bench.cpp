// Including 10,000 ticked clients of the bench emitent into a news subscriber group, from ">" to
// both lists refreshed, against psql making the same INS_CLIENT_IN_GROUP calls in one transaction,
// in the same run. Each run uses a group of its own, so both sides start from an empty group.
#include "BenchSupport.h"
#include "ConsoleBenchSupport.h"
#include "Package.h"
#include "Query.h"
#include "SharedQueries.h"
#include "TdmMain.h"
#include "TfmSubscriberSelect.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

namespace {

constexpr int kTicked = 10000;

int newGroup(TdmMain& dm, const QString& name)
{
    db::Package* utils = dm.queries().TEV_UTILS;
    utils->execProc(QStringLiteral("create_group_for_news"), {name, QVariant()});
    const int id = utils->paramByName(QStringLiteral("P_GROUP_ID")).value().toInt();
    dm.session()->commit();
    return id;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int emitent = bench::benchEmitent();
    QTemporaryDir folder;
    bench::useAppFolder(folder, "[SCHEMES]\r\nTEV=1\r\n");

    TdmMain dm;
    bench::signIn(dm);
    // The window starts on the main window's emitent: the bench emitent.
    db::Query* emitents = dm.queries().oqEmitentSelect;
    emitents->setParam(QString::fromLatin1(SharedQueries::EmitentSelect::kAllEmitentParam), 1);
    emitents->setParam(QString::fromLatin1(SharedQueries::EmitentSelect::kManagerParam), -1);
    emitents->open();
    if (!emitents->locate(QString::fromLatin1(SharedQueries::EmitentSelect::kIdField), emitent)) {
        std::fprintf(stderr, "membership_bench: emitent %d is not in the emitent list\n", emitent);
        return 2;
    }
    const QString psql = qEnvironmentVariable("TEV_PG_BIN", QStringLiteral("/usr/lib/postgresql/15/bin")) +
                         QStringLiteral("/psql");

    std::vector<double> console, reference;
    for (int run = 0; run < 3; ++run) {
        // The console: tick the first 10,000 candidates, then ">".
        const int group = newGroup(dm, QStringLiteral("bench console %1").arg(run));
        TfmSubscriberSelect window(dm, group);
        window.show();
        db::Dataset* free = window.list(TfmSubscriberSelect::FreeClients);
        if (free->recordCount() < kTicked) {
            std::fprintf(stderr, "membership_bench: the emitent has %d clients, not %d\n",
                         free->recordCount(), kTicked);
            return 2;
        }
        const int tick = free->fieldIndex(QStringLiteral("ISVISIBLE"));
        const int idColumn = free->fieldIndex(QStringLiteral("WBC_ID"));
        QStringList ids;
        for (int row = 0; row < kTicked; ++row) {
            free->setValueAt(row, tick, 1);
            ids << free->value(row, idColumn).toString();
        }
        QAction* include = window.action(TfmSubscriberSelect::Cmd::acIncludeClients);
        console.push_back(bench::timed([&] { include->trigger(); }));
        const int members = window.list(TfmSubscriberSelect::MemberClients)->recordCount();
        window.close();
        if (members != kTicked) {
            std::fprintf(stderr, "membership_bench: %d members after the include, not %d\n", members,
                         kTicked);
            return 1;
        }

        // psql: the same calls for the same clients into a group of its own, one transaction.
        const int other = newGroup(dm, QStringLiteral("bench psql %1").arg(run));
        QString script = QStringLiteral("BEGIN;\n");
        for (const QString& id : ids)
            script += QStringLiteral("CALL tev.tev_utils__ins_client_in_group(%1, %2);\n").arg(other).arg(id);
        script += QStringLiteral("COMMIT;\n");
        const QString scriptPath = folder.filePath(QStringLiteral("include_%1.sql").arg(run));
        QFile file(scriptPath);
        if (!file.open(QIODevice::WriteOnly))
            return 2;
        file.write(script.toUtf8());
        file.close();
        reference.push_back(bench::timed([&] {
            QProcess p;
            p.start(psql, {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-d", bench::conninfo(), "-f", scriptPath});
            p.waitForFinished(-1);
            if (p.exitCode() != 0)
                std::fprintf(stderr, "psql failed: %s\n", p.readAllStandardError().constData());
        }));
    }
    std::printf("membership_include_vs_psql: %.2f (target <= 2)\n",
                bench::median(console) / bench::median(reference));
    return 0;
}
