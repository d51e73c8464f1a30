#include "PgFixture.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>
#include <libpq-fe.h>
#include <stdexcept>
#include <unistd.h>

namespace {

QString runAdmin(const QString& conninfo, const QString& sql)
{
    PGconn* conn = PQconnectdb(conninfo.toUtf8().constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString message = QString::fromUtf8(PQerrorMessage(conn));
        PQfinish(conn);
        throw std::runtime_error(("admin connection failed: " + message).toStdString());
    }
    PGresult* r = PQexec(conn, sql.toUtf8().constData());
    const ExecStatusType status = PQresultStatus(r);
    QString value;
    if (status == PGRES_TUPLES_OK && PQntuples(r) > 0 && PQnfields(r) > 0)
        value = QString::fromUtf8(PQgetvalue(r, 0, 0));
    const QString error = QString::fromUtf8(PQresultErrorMessage(r));
    PQclear(r);
    PQfinish(conn);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        throw std::runtime_error(("admin statement failed: " + error + "\n" + sql).toStdString());
    return value;
}

} // namespace

PgFixture& PgFixture::instance()
{
    static PgFixture fixture;
    return fixture;
}

PgFixture::PgFixture()
{
    mHost = qEnvironmentVariable("TEV_TEST_PGHOST");
    mPort = qEnvironmentVariableIntValue("TEV_TEST_PGPORT");
    mAdminUser = qEnvironmentVariable("TEV_TEST_PGUSER", QStringLiteral("tev_admin"));
    mAdminPassword = qEnvironmentVariable("TEV_TEST_PGPASSWORD", QStringLiteral("tev_admin"));
    const QString templ = qEnvironmentVariable("TEV_TEST_PGTEMPLATE", QStringLiteral("tev_template"));
    if (mHost.isEmpty() || mPort == 0) {
        mReason = QStringLiteral("no PostgreSQL harness (run the tests through scripts/test.sh)");
        return;
    }
    mDatabase = QStringLiteral("t_%1_%2").arg(qint64(getpid())).arg(QRandomGenerator::global()->bounded(1000000));
    runAdmin(adminConninfo(QStringLiteral("postgres")),
             QStringLiteral("CREATE DATABASE %1 TEMPLATE %2").arg(mDatabase, templ));

    const QString serviceFile = mDir.filePath(QStringLiteral("pg_service.conf"));
    QFile f(serviceFile);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        throw std::runtime_error("cannot write the service file");
    QTextStream out(&f);
    out << "[" << serviceName() << "]\nhost=" << mHost << "\nport=" << mPort << "\ndbname=" << mDatabase
        << "\n\n[TEVNOHOST]\nhost=no-such-host.invalid\nport=" << mPort << "\ndbname=" << mDatabase << "\n";
    f.close();
    qputenv("PGSERVICEFILE", serviceFile.toLocal8Bit());
    qputenv("PGSYSCONFDIR", mDir.path().toLocal8Bit());
    mReady = true;
}

PgFixture::~PgFixture()
{
    if (!mReady)
        return;
    try {
        runAdmin(adminConninfo(QStringLiteral("postgres")),
                 QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(mDatabase));
    } catch (...) {
    }
}

QString PgFixture::adminConninfo(const QString& database) const
{
    return QStringLiteral("host=%1 port=%2 user=%3 password=%4 dbname=%5 connect_timeout=10")
        .arg(mHost)
        .arg(mPort)
        .arg(mAdminUser, mAdminPassword, database);
}

QString PgFixture::adminQuery(const QString& sql)
{
    return runAdmin(adminConninfo(mDatabase), sql);
}

std::unique_ptr<db::Session> PgFixture::connect(const QString& user, const QString& password)
{
    auto session = std::make_unique<db::Session>();
    session->setServer(serviceName());
    session->setUsername(user);
    session->setPassword(password.isEmpty() ? user : password);
    session->connect();
    return session;
}
