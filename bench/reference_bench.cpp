// "Выделить все" of the service-point window over the 5,000 points bench/run adds to its emitent,
// from the action to the refreshed list, against psql making the same 5,000 UPDATE_POS calls in one
// transaction, in the same run.
#include "BenchSupport.h"
#include "ReferenceQueries.h"
#include "SharedQueries.h"
#include "TdmMain.h"
#include "TfmPOSes.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

QString quoted(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    QString text = value.toString();
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("E'") + text.replace(QLatin1Char('\\'), QStringLiteral("\\\\")) + QLatin1Char('\'');
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int emitent = bench::benchEmitent();
    const auto kv = bench::parseConninfo(bench::conninfo());

    QTemporaryDir folder;
    qputenv("TEV_APP_DIR", folder.path().toLocal8Bit());
    QFile ini(folder.filePath(QStringLiteral("DEDAdize.ini")));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[SCHEMES]\r\nTEV=1\r\n");
    ini.close();

    TdmMain dm;
    dm.session()->setServer(
        QStringLiteral("%1:%2/%3").arg(kv.value("host"), kv.value("port"), kv.value("dbname")));
    dm.session()->setUsername(kv.value("user"));
    dm.session()->setPassword(kv.value("password"));
    dm.session()->connectAttempt();
    dm.BindToSession();
    db::Query* emitents = dm.queries().oqEmitentSelect;
    emitents->setParam(QString::fromLatin1(SharedQueries::EmitentSelect::kAllEmitentParam), 1);
    emitents->setParam(QString::fromLatin1(SharedQueries::EmitentSelect::kManagerParam), -1);
    emitents->open();
    dm.queries().oquPOSes->setParam(QString::fromLatin1(SharedQueries::EmitentData::kEmitentParam), emitent);

    TfmPOSes window(dm);
    window.show();
    db::Query* list = window.list();
    if (list->recordCount() < 5000) {
        std::fprintf(stderr, "reference_bench: the emitent has %d service points, not 5,000\n",
                     list->recordCount());
        return 2;
    }

    // The psql script: the same calls with the same values, one transaction.
    using P = ReferenceQueries::POSes;
    QString script = QStringLiteral("BEGIN;\n");
    for (int row = 0; row < list->recordCount(); ++row)
        script += QStringLiteral("CALL tev.tev_utils__update_pos(%1, %2, %3, 1, %4);\n")
                      .arg(list->value(row, list->fieldIndex(QString::fromLatin1(P::kId))).toString(),
                           quoted(list->value(row, list->fieldIndex(QString::fromLatin1(P::kName)))),
                           quoted(list->value(row, list->fieldIndex(QString::fromLatin1(P::kAddress)))),
                           list->value(row, list->fieldIndex(QString::fromLatin1(P::kUpdate))).toString());
    script += QStringLiteral("COMMIT;\n");
    const QString scriptPath = folder.filePath(QStringLiteral("update_pos.sql"));
    QFile file(scriptPath);
    if (!file.open(QIODevice::WriteOnly))
        return 2;
    file.write(script.toUtf8());
    file.close();
    const QString psql = qEnvironmentVariable("TEV_PG_BIN", QStringLiteral("/usr/lib/postgresql/15/bin")) +
                         QStringLiteral("/psql");

    QAction* uncheck = window.action(TfmPOSes::Cmd::acUnCheckAll);
    QAction* checkAll = window.action(TfmPOSes::Cmd::acCheckAll);
    std::vector<double> console, reference;
    for (int run = 0; run < 3; ++run) {
        uncheck->trigger();
        console.push_back(bench::timed([&] { checkAll->trigger(); }));
        uncheck->trigger();
        reference.push_back(bench::timed([&] {
            QProcess p;
            p.start(psql, {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-d", bench::conninfo(), "-f", scriptPath});
            p.waitForFinished(-1);
            if (p.exitCode() != 0)
                std::fprintf(stderr, "psql failed: %s\n", p.readAllStandardError().constData());
        }));
    }
    window.close();
    std::printf("pos_check_all_vs_psql: %.2f (target <= 2)\n",
                bench::median(console) / bench::median(reference));
    return 0;
}
