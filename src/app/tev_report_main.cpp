// tev-report: one administrator report written to an xlsx file without the console, for scripts
// and timers. Uses the report modules and the template of the console's application folder.

#include "OraError.h"
#include "ReportCatalogue.h"
#include "ReportRules.h"
#include "Session.h"
#include "TEXLReportError.h"
#include "TEXLTEVBaseReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <optional>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kWritten = 0;
constexpr int kSignInFailed = 1;
constexpr int kUsage = 2;
constexpr int kNoRows = 3;
constexpr int kReportFailed = 4;
constexpr int kFileFailed = 5;

const char kHelp[] =
    "Usage: tev-report --service NAME --user USER [--scheme S] --report visits|emitents|logins\n"
    "                  [--from YYYY-MM-DD --to YYYY-MM-DD] [--state all|subscribed|invited]\n"
    "                  [--grouped] --out FILE.xlsx\n"
    "\n"
    "Writes one administrator report of the portal to FILE.xlsx.\n"
    "\n"
    "  --service NAME   the portal's PostgreSQL service (pg_service.conf), as the console's server\n"
    "  --user USER      the account to sign in with; the password is taken from the environment\n"
    "                   variable TEV_PASSWORD, else asked for on the terminal\n"
    "  --scheme S       the portal schema (default TEV)\n"
    "  --report R       visits: visits per client in the period, by emitent;\n"
    "                   emitents: clients per emitent who worked on the web in the period;\n"
    "                   logins: the logins of the clients\n"
    "  --from, --to     the period, both days included (default: the whole previous month);\n"
    "                   for visits and emitents\n"
    "  --state S        logins only: all clients (default), subscribed, or invited\n"
    "  --grouped        logins only: grouped by client\n"
    "  --out FILE       the workbook to write; an existing file is replaced only when the report\n"
    "                   is complete\n"
    "  --help           shows this text\n"
    "\n"
    "The template is ReportTemplates/TEVReports.xlsx of the console's application folder\n"
    "($TEV_APP_DIR, else the folder of this program when writable, else\n"
    "$XDG_CONFIG_HOME/tev-web-admin).\n"
    "\n"
    "Exit status: 0 written; 3 the report found no rows (nothing written); 1 the sign-in failed;\n"
    "2 wrong usage; 4 the report failed (schema, database, template); 5 the file cannot be written.\n";

void printError(const QString& text)
{
    const QByteArray bytes = (QStringLiteral("tev-report: ") + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

int usageError(const QString& text)
{
    printError(text);
    printError(QStringLiteral("try 'tev-report --help'"));
    return kUsage;
}

// Reads a line from the terminal without echoing it; nothing when there is no terminal.
std::optional<QString> promptPassword(const QString& user)
{
    FILE* tty = std::fopen("/dev/tty", "r+");
    if (!tty)
        return std::nullopt;
    const int fd = fileno(tty);
    const QByteArray prompt = QStringLiteral("Password for %1: ").arg(user).toUtf8();
    std::fwrite(prompt.constData(), 1, size_t(prompt.size()), tty);
    std::fflush(tty);
    termios saved{};
    const bool isTerminal = tcgetattr(fd, &saved) == 0;
    if (isTerminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(fd, TCSAFLUSH, &quiet);
    }
    QByteArray line;
    for (int c = std::fgetc(tty); c != EOF && c != '\n'; c = std::fgetc(tty))
        line.append(char(c));
    if (isTerminal)
        tcsetattr(fd, TCSAFLUSH, &saved);
    std::fputc('\n', tty);
    std::fclose(tty);
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

std::optional<QDate> parseDay(const QString& text)
{
    const QDate day = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        return std::nullopt;
    return day;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);

    QString service, user, scheme = QStringLiteral("TEV"), report, from, to, state = QStringLiteral("all"),
                           out;
    bool grouped = false;
    const QStringList valued = {"--service", "--user", "--scheme", "--report",
                                "--from",    "--to",   "--state",  "--out"};
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::fputs(kHelp, stdout);
            return kWritten;
        }
        if (a == QLatin1String("--grouped")) {
            grouped = true;
            continue;
        }
        QString name = a, value;
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        if (a.startsWith(QLatin1String("--")) && eq > 0) {
            name = a.left(eq);
            value = a.mid(eq + 1);
        } else if (valued.contains(a)) {
            if (i + 1 >= args.size())
                return usageError(QStringLiteral("%1 needs a value").arg(a));
            value = args[++i];
        }
        if (!valued.contains(name))
            return usageError(QStringLiteral("unknown argument '%1'").arg(a));
        QString* target = name == QLatin1String("--service")  ? &service
                          : name == QLatin1String("--user")   ? &user
                          : name == QLatin1String("--scheme") ? &scheme
                          : name == QLatin1String("--report") ? &report
                          : name == QLatin1String("--from")   ? &from
                          : name == QLatin1String("--to")     ? &to
                          : name == QLatin1String("--state")  ? &state
                                                              : &out;
        *target = value;
    }
    if (service.isEmpty() || user.isEmpty() || report.isEmpty() || out.isEmpty())
        return usageError(QStringLiteral("--service, --user, --report and --out are required"));
    if (scheme.isEmpty())
        return usageError(QStringLiteral("--scheme needs a name"));

    const QStringList reportNames = {"visits", "emitents", "logins"};
    reports::ReportRequest request;
    request.number = int(reportNames.indexOf(report));
    if (request.number < 0)
        return usageError(QStringLiteral("unknown report '%1' (visits, emitents or logins)").arg(report));
    const QStringList stateNames = {"all", "subscribed", "invited"};
    const int stateChoice = int(stateNames.indexOf(state));
    if (stateChoice < 0)
        return usageError(QStringLiteral("unknown state '%1' (all, subscribed or invited)").arg(state));
    request.clientState = reports::loginStateFilter(stateChoice);
    request.groupByClient = grouped;

    auto [begin, end] = reports::defaultPeriod(QDate::currentDate());
    if (!from.isEmpty()) {
        const std::optional<QDate> day = parseDay(from);
        if (!day)
            return usageError(QStringLiteral("--from: '%1' is not a date YYYY-MM-DD").arg(from));
        begin = day->startOfDay();
    }
    if (!to.isEmpty()) {
        const std::optional<QDate> day = parseDay(to);
        if (!day)
            return usageError(QStringLiteral("--to: '%1' is not a date YYYY-MM-DD").arg(to));
        end = day->endOfDay();
    }
    if (begin > end)
        return usageError(QStringLiteral("the period begins after it ends"));
    request.begin = begin;
    request.end = end;

    const QFileInfo target(out);
    const QFileInfo folder(target.absolutePath());
    if (target.isDir() || !folder.isDir() || !folder.isWritable()) {
        printError(QStringLiteral("cannot write %1: %2")
                       .arg(out, target.isDir()    ? QStringLiteral("it is a folder")
                                 : !folder.isDir() ? QStringLiteral("no such folder")
                                                   : QStringLiteral("the folder is not writable")));
        return kFileFailed;
    }

    QString password = qEnvironmentVariable("TEV_PASSWORD");
    if (!qEnvironmentVariableIsSet("TEV_PASSWORD")) {
        const std::optional<QString> typed = promptPassword(user);
        if (!typed) {
            printError(QStringLiteral("no password: set TEV_PASSWORD or run on a terminal"));
            return kSignInFailed;
        }
        password = *typed;
    }

    db::Session session;
    session.setServer(service);
    session.setUsername(user);
    session.setPassword(password);
    session.setConnectPrompt(false);
    try {
        session.connect();
    } catch (const std::exception& e) {
        printError(
            QStringLiteral("sign-in to %1 as %2 failed: %3").arg(service, user, QString::fromUtf8(e.what())));
        return kSignInFailed;
    }

    try {
        std::unique_ptr<TEXLTEVBaseReport> module =
            reports::createReport(request, scheme.toUpper(), &session);
        module->setOutputFile(target.absoluteFilePath());
        if (!module->build()) {
            printError(QStringLiteral("the report found no rows; nothing written"));
            return kNoRows;
        }
    } catch (const xlsx::TEXLReportError& e) {
        printError(QStringLiteral("the report could not be written: %1").arg(e.message()));
        return kReportFailed;
    } catch (const std::exception& e) {
        printError(QStringLiteral("the report failed: %1").arg(QString::fromUtf8(e.what())));
        return kReportFailed;
    }
    return kWritten;
}
