// startup_vs_minimal: tev-web-admin from its start to the signed-in main window showing the first
// emitent's clients, against bench/minimal_start (one window, one connection, one query), both as
// whole processes, alternating, on the offscreen platform.
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kRuns = 7;

double runOnce(const QString& program, const QProcessEnvironment& env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    process.start(program, {});
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::fprintf(stderr, "startup_bench: %s failed (exit code %d)\n", qPrintable(program),
                     process.exitCode());
        std::exit(1);
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bench::benchEmitent();
    const auto kv = bench::parseConninfo(bench::conninfo());
    const QString dir = QCoreApplication::applicationDirPath();
    const QString console = QDir(dir).filePath(QStringLiteral("../src/app/tev-web-admin"));
    const QString minimal = QDir(dir).filePath(QStringLiteral("minimal_start"));

    // An application folder of its own: the sign-in settings and nothing remembered.
    QTemporaryDir folder;
    QFile ini(folder.filePath(QStringLiteral("DEDAdize.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return 1;
    ini.write(QStringLiteral("[CONNECTION]\r\nserver=%1:%2/%3\r\nuser=%4\r\nhome=1\r\n[SCHEMES]\r\nTEV=1\r\n")
                  .arg(kv.value("host"), kv.value("port"), kv.value("dbname"), kv.value("user"))
                  .toLatin1());
    ini.close();
    for (const QString& language : QDir(QDir(dir).filePath(QStringLiteral("../src/app")))
                                       .entryList({QStringLiteral("DEDAdize_*.ini")}, QDir::Files))
        QFile::copy(QDir(dir).filePath(QStringLiteral("../src/app/") + language), folder.filePath(language));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcessEnvironment consoleEnv = env;
    consoleEnv.insert(QStringLiteral("TEV_APP_DIR"), folder.path());
    consoleEnv.insert(QStringLiteral("TEV_DEMO_PASSWORD"), kv.value("password"));
    consoleEnv.insert(QStringLiteral("TEV_DEMO_CONNECT"), QStringLiteral("1"));
    consoleEnv.insert(QStringLiteral("TEV_QUIT_WHEN_READY"), QStringLiteral("1"));

    // One of each first, unmeasured: the file cache and the server warm up for both alike.
    runOnce(console, consoleEnv);
    runOnce(minimal, env);
    std::vector<double> consoleMs, minimalMs;
    for (int i = 0; i < kRuns; ++i) {
        consoleMs.push_back(runOnce(console, consoleEnv));
        minimalMs.push_back(runOnce(minimal, env));
    }
    const double c = bench::median(consoleMs);
    const double m = bench::median(minimalMs);
    std::fprintf(stderr, "startup: console %.1f ms, minimal %.1f ms (medians of %d)\n", c, m, kRuns);
    std::printf("startup_vs_minimal: %.2f (target <= 2)\n", c / m);
    return 0;
}
