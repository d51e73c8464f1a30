#include "Session.h"

#include "DbError.h"
#include "ErrorMapping.h"
#include "ServiceFile.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QMap>
#include <libpq-fe.h>
#include <netdb.h>
#include <vector>

namespace db {

namespace {

QHash<QString, ConnectDialogFactory>& dialogRegistry()
{
    static QHash<QString, ConnectDialogFactory> registry;
    return registry;
}

constexpr Oid INT4OID = 23, INT8OID = 20, NUMERICOID = 1700, DATEOID = 1082, TIMESTAMPOID = 1114,
              BYTEAOID = 17, REFCURSOROID = 1790;

bool resolvable(const QString& host)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    addrinfo* found = nullptr;
    const int rc = getaddrinfo(host.toUtf8().constData(), nullptr, &hints, &found);
    if (found)
        freeaddrinfo(found);
    return rc == 0;
}

// Connection keywords for a server name: a service of the service files, else host[:port][/database].
struct Target
{
    QMap<QString, QString> keywords;
    bool fromService = false;
    int unknownCode = 0;
};

Target targetFor(const QString& server)
{
    Target t;
    const QString name = server.trimmed();
    if (name.isEmpty()) {
        t.unknownCode = 12154;
        return t;
    }
    if (const auto service = ServiceFile::findName(name)) {
        t.keywords.insert(QStringLiteral("service"), *service);
        t.fromService = true;
        return t;
    }
    QString host = name;
    const int slash = host.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        t.keywords.insert(QStringLiteral("dbname"), host.mid(slash + 1));
        host = host.left(slash);
    }
    const int colon = host.lastIndexOf(QLatin1Char(':'));
    const bool explicitForm = slash >= 0 || colon >= 0;
    if (colon >= 0) {
        t.keywords.insert(QStringLiteral("port"), host.mid(colon + 1));
        host = host.left(colon);
    }
    // A bare word that names no service and no host is an unknown net service name.
    if (!explicitForm && !resolvable(host)) {
        t.unknownCode = 12154;
        return t;
    }
    t.keywords.insert(QStringLiteral("host"), host);
    return t;
}

QString pgMessage(PGconn* conn)
{
    return QString::fromUtf8(PQerrorMessage(conn)).trimmed();
}

} // namespace

Session::Session(QObject* parent) : QObject(parent) {}

Session::~Session()
{
    if (mConn)
        PQfinish(mConn);
}

void Session::registerConnectDialog(const QString& className, ConnectDialogFactory factory)
{
    dialogRegistry().insert(className, std::move(factory));
}

bool Session::isConnectDialogRegistered(const QString& className)
{
    return dialogRegistry().contains(className);
}

QStringList Session::serviceNames() { return ServiceFile::names(); }

void Session::fail(OraError error)
{
    if (mOnError)
        mOnError(*this, error);
    throw error;
}

void Session::connect()
{
    if (connected())
        return;
    if (mPrompt && !mDialogClass.isEmpty()) {
        auto it = dialogRegistry().constFind(mDialogClass);
        if (it == dialogRegistry().constEnd())
            throw DbError(QStringLiteral("Sign-in dialog '%1' is not registered").arg(mDialogClass).toStdString());
        std::unique_ptr<ConnectDialog> dialog = (*it)();
        if (!dialog->execute(*this) || !connected())
            throw Abort();
        return;
    }
    connectAttempt(false);
}

void Session::connectAttempt(bool)
{
    if (mBeforeConnect)
        mBeforeConnect(*this);
    if (connected())
        disconnect();

    const Target target = targetFor(mServer);
    if (target.unknownCode)
        fail(OraError(target.unknownCode,
                      OraError::formatMessage(target.unknownCode,
                                              QStringLiteral("TNS:could not resolve the connect identifier "
                                                             "specified (%1)")
                                                  .arg(mServer))));
    QMap<QString, QString> kw = target.keywords;
    kw.insert(QStringLiteral("user"), mUsername);
    kw.insert(QStringLiteral("password"), mPassword);
    if (!kw.contains(QStringLiteral("connect_timeout")))
        kw.insert(QStringLiteral("connect_timeout"), QStringLiteral("10"));
    kw.insert(QStringLiteral("client_encoding"), QStringLiteral("UTF8"));
    kw.insert(QStringLiteral("application_name"), QStringLiteral("TEV Web Admin"));
    kw.insert(QStringLiteral("options"), QStringLiteral("-c DateStyle=ISO,DMY -c bytea_output=hex -c "
                                                        "extra_float_digits=1"));
    // libpq would otherwise fall back to PGPASSWORD or a password file for an empty password.
    kw.insert(QStringLiteral("passfile"), QStringLiteral("/nonexistent/tev-web-admin/no-passfile"));

    std::vector<QByteArray> keys, values;
    for (auto it = kw.constBegin(); it != kw.constEnd(); ++it) {
        keys.push_back(it.key().toUtf8());
        values.push_back(it.value().toUtf8());
    }
    std::vector<const char*> k, v;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        k.push_back(keys[i].constData());
        v.push_back(values[i].constData());
    }
    k.push_back(nullptr);
    v.push_back(nullptr);

    PGconn* conn = PQconnectdbParams(k.data(), v.data(), 0);
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString message = pgMessage(conn);
        PQfinish(conn);
        const int code = mPassword.isEmpty() && message.contains(QLatin1String("password"))
                             ? 1005
                             : oraCodeForConnect(message, target.fromService);
        fail(OraError(code, OraError::formatMessage(code, message)));
    }
    mConn = conn;
    mInTransaction = false;
    if (mOnConnectionChange)
        mOnConnectionChange(*this, true);
    emit connectionChanged(true);
}

void Session::dropConnection()
{
    if (!mConn)
        return;
    PQfinish(mConn);
    mConn = nullptr;
    mInTransaction = false;
    if (mOnConnectionChange)
        mOnConnectionChange(*this, false);
    emit connectionChanged(false);
}

void Session::disconnect()
{
    if (mConn && mInTransaction && PQstatus(mConn) == CONNECTION_OK)
        PQclear(PQexec(mConn, "ROLLBACK"));
    dropConnection();
}

void Session::ensureConnected() const
{
    if (!mConn)
        throw OraError(3114, QStringLiteral("ORA-03114: not connected to ORACLE"));
}

OraError Session::errorFromResult(pg_result* result)
{
    const bool lost = PQstatus(mConn) != CONNECTION_OK;
    QString state, message;
    if (result) {
        state = QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE));
        message = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY));
    }
    if (message.isEmpty())
        message = pgMessage(mConn);
    const int code = oraCodeForStatement(state, message, lost);
    if (lost)
        dropConnection();
    return OraError(code, OraError::formatMessage(code, message));
}

void Session::runControl(const char* sql)
{
    ensureConnected();
    PGresult* r = PQexec(mConn, sql);
    const ExecStatusType status = PQresultStatus(r);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        OraError e = errorFromResult(r);
        PQclear(r);
        fail(e);
    }
    PQclear(r);
}

void Session::startTransaction()
{
    ensureConnected();
    if (!mInTransaction) {
        runControl("BEGIN");
        mInTransaction = true;
    }
}

void Session::commit()
{
    ensureConnected();
    if (!mInTransaction)
        return;
    mInTransaction = false;
    runControl("COMMIT");
}

void Session::rollback()
{
    ensureConnected();
    if (!mInTransaction)
        return;
    mInTransaction = false;
    runControl("ROLLBACK");
}

static QByteArray quotedIdentifier(const QString& name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return ("\"" + n + "\"").toUtf8();
}

void Session::savepoint(const QString& name)
{
    startTransaction();
    runControl(("SAVEPOINT " + quotedIdentifier(name.toLower())).constData());
}

void Session::rollbackToSavepoint(const QString& name)
{
    ensureConnected();
    runControl(("ROLLBACK TO SAVEPOINT " + quotedIdentifier(name.toLower())).constData());
}

int Session::backendPid() const { return mConn ? PQbackendPID(mConn) : 0; }

PgResult Session::execute(const QString& pgSql, const QList<BoundValue>& values,
                          const std::function<void(const PgResult&)>& inside)
{
    ensureConnected();
    runControl(mInTransaction ? "SAVEPOINT tev_statement" : "BEGIN; SAVEPOINT tev_statement");
    mInTransaction = true;

    const int n = int(values.size());
    std::vector<QByteArray> texts(n);
    std::vector<const char*> ptrs(n, nullptr);
    std::vector<int> lengths(n, 0), formats(n, 0);
    std::vector<Oid> types(n, 0);
    for (int i = 0; i < n; ++i) {
        const QVariant& v = values[i].value;
        DataType t = values[i].type;
        if (t == DataType::Unknown && !v.isNull()) {
            switch (v.metaType().id()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::Bool: t = DataType::Integer; break;
            case QMetaType::Double: t = DataType::Float; break;
            case QMetaType::QDateTime: t = DataType::DateTime; break;
            case QMetaType::QDate: t = DataType::Date; break;
            case QMetaType::QByteArray: t = DataType::Blob; break;
            default: t = DataType::String;
            }
        }
        // Oracle has no empty strings: an empty text is a null.
        const bool isNull = v.isNull() || (t == DataType::String && v.toString().isEmpty());
        switch (t) {
        case DataType::Integer:
        case DataType::Boolean: {
            const qlonglong x = v.metaType().id() == QMetaType::Bool ? (v.toBool() ? 1 : 0) : v.toLongLong();
            types[i] = (x >= INT32_MIN && x <= INT32_MAX) ? INT4OID : INT8OID;
            texts[i] = QByteArray::number(x);
            break;
        }
        case DataType::Float:
            types[i] = NUMERICOID;
            texts[i] = QByteArray::number(v.toDouble(), 'g', 17);
            break;
        case DataType::Date:
            types[i] = DATEOID;
            texts[i] = v.toDate().toString(Qt::ISODate).toLatin1();
            break;
        case DataType::DateTime:
            types[i] = TIMESTAMPOID;
            texts[i] = v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")).toLatin1();
            break;
        case DataType::Blob:
            types[i] = BYTEAOID;
            texts[i] = v.toByteArray();
            formats[i] = 1;
            break;
        case DataType::Cursor: types[i] = REFCURSOROID; break;
        default: texts[i] = v.toString().toUtf8();
        }
        if (!isNull && t != DataType::Cursor) {
            ptrs[i] = texts[i].constData();
            lengths[i] = int(texts[i].size());
        }
    }

    const QByteArray sql = pgSql.toUtf8();
    PGresult* raw = PQexecParams(mConn, sql.constData(), n, types.data(), ptrs.data(), lengths.data(),
                                 formats.data(), 0);
    const ExecStatusType status = PQresultStatus(raw);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        OraError e = errorFromResult(raw);
        PQclear(raw);
        if (mConn)
            PQclear(PQexec(mConn, "ROLLBACK TO SAVEPOINT tev_statement; RELEASE SAVEPOINT tev_statement"));
        fail(e);
    }
    PgResult result(raw);
    if (inside) {
        try {
            inside(result);
        } catch (...) {
            if (mConn)
                PQclear(PQexec(mConn, "ROLLBACK TO SAVEPOINT tev_statement; RELEASE SAVEPOINT tev_statement"));
            throw;
        }
    }
    runControl("RELEASE SAVEPOINT tev_statement");
    return result;
}

PgResult Session::executeNested(const QString& pgSql)
{
    ensureConnected();
    PGresult* raw = PQexec(mConn, pgSql.toUtf8().constData());
    const ExecStatusType status = PQresultStatus(raw);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        OraError e = errorFromResult(raw);
        PQclear(raw);
        fail(e);
    }
    return PgResult(raw);
}

} // namespace db
