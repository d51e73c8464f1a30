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
#include <optional>
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
    // A bare word that names no service and no host is an unknown net service name; a dotted
    // name is a host name whose lookup failed.
    if (!explicitForm && !resolvable(host)) {
        t.unknownCode = host.contains(QLatin1Char('.')) ? 12545 : 12154;
        return t;
    }
    t.keywords.insert(QStringLiteral("host"), host);
    return t;
}

QString pgMessage(const PGconn* conn)
{
    const char* text = conn ? PQerrorMessage(conn) : nullptr;
    return text ? QString::fromUtf8(text).trimmed() : QString();
}

QString unknownTargetText(int code, const QString& server)
{
    if (code == 12545)
        return QStringLiteral("Connect failed because target host or object does not exist (%1)").arg(server);
    return QStringLiteral("TNS:could not resolve the connect identifier specified (%1)").arg(server);
}

// Parameters of one statement in the form PQexecParams and PQprepare take them.
struct PgParams
{
    std::vector<QByteArray> texts;
    std::vector<const char*> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    std::vector<Oid> types;
};

PgParams pgParams(const QList<BoundValue>& bound)
{
    const int n = int(bound.size());
    PgParams p;
    p.texts.resize(n);
    p.values.assign(n, nullptr);
    p.lengths.assign(n, 0);
    p.formats.assign(n, 0);
    p.types.assign(n, 0);
    for (int i = 0; i < n; ++i) {
        const QVariant& v = bound[i].value;
        DataType t = bound[i].type;
        if (t == DataType::Unknown && !v.isNull()) {
            switch (v.metaType().id()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::Bool:
                t = DataType::Integer;
                break;
            case QMetaType::Double:
                t = DataType::Float;
                break;
            case QMetaType::QDateTime:
                t = DataType::DateTime;
                break;
            case QMetaType::QDate:
                t = DataType::Date;
                break;
            case QMetaType::QByteArray:
                t = DataType::Blob;
                break;
            default:
                t = DataType::String;
            }
        }
        // Oracle has no empty strings: an empty text is a null.
        const bool isNull = v.isNull() || (t == DataType::String && v.toString().isEmpty());
        switch (t) {
        case DataType::Integer:
        case DataType::Boolean: {
            const qlonglong x = v.metaType().id() == QMetaType::Bool ? (v.toBool() ? 1 : 0) : v.toLongLong();
            p.types[i] = (x >= INT32_MIN && x <= INT32_MAX) ? INT4OID : INT8OID;
            p.texts[i] = QByteArray::number(x);
            break;
        }
        case DataType::Float:
            p.types[i] = NUMERICOID;
            p.texts[i] = QByteArray::number(v.toDouble(), 'g', 17);
            break;
        case DataType::Date:
            p.types[i] = DATEOID;
            p.texts[i] = v.toDate().toString(Qt::ISODate).toLatin1();
            break;
        case DataType::DateTime:
            p.types[i] = TIMESTAMPOID;
            p.texts[i] = v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")).toLatin1();
            break;
        case DataType::Blob:
            p.types[i] = BYTEAOID;
            p.texts[i] = v.toByteArray();
            p.formats[i] = 1;
            break;
        case DataType::Cursor:
            p.types[i] = REFCURSOROID;
            break;
        default:
            p.texts[i] = v.toString().toUtf8();
        }
        if (!isNull && t != DataType::Cursor) {
            p.values[i] = p.texts[i].constData();
            p.lengths[i] = int(p.texts[i].size());
        }
    }
    return p;
}

bool succeeded(const PGresult* result)
{
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
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

QStringList Session::serviceNames()
{
    return ServiceFile::names();
}

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
            throw DbError(
                QStringLiteral("Sign-in dialog '%1' is not registered").arg(mDialogClass).toStdString());
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
        fail(OraError(
            target.unknownCode,
            OraError::formatMessage(target.unknownCode, unknownTargetText(target.unknownCode, mServer))));
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
    if (!conn)
        fail(OraError(
            12560, OraError::formatMessage(12560, QStringLiteral("out of memory allocating a connection"))));
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString message = pgMessage(conn);
        PQfinish(conn);
        const int code = mPassword.isEmpty() && message.contains(QLatin1String("password"))
                             ? 1005
                             : oraCodeForConnect(message);
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
    // The server rolls back whatever is open when the connection ends, so a failed ROLLBACK here
    // loses nothing that was not lost anyway.
    if (mConn && mInTransaction && PQstatus(mConn) == CONNECTION_OK)
        PQclear(PQexec(mConn, "ROLLBACK"));
    dropConnection();
}

void Session::ensureConnected() const
{
    // Through the error hook, as every other failure of a statement: the console shows its
    // connection message for this too, not the server's English text.
    if (!mConn)
        const_cast<Session*>(this)->fail(
            OraError(3114, QStringLiteral("ORA-03114: not connected to ORACLE")));
}

OraError Session::errorFromResult(pg_result* result)
{
    const bool lost = PQstatus(mConn) != CONNECTION_OK;
    QString state, message;
    if (result) {
        if (const char* field = PQresultErrorField(result, PG_DIAG_SQLSTATE))
            state = QString::fromLatin1(field);
        if (const char* field = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY))
            message = QString::fromUtf8(field);
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
    if (!succeeded(r)) {
        OraError e = errorFromResult(r);
        PQclear(r);
        fail(e);
    }
    PQclear(r);
}

std::optional<OraError> Session::rollbackStatement()
{
    if (!mConn)
        return std::nullopt;
    PGresult* r = PQexec(mConn, "ROLLBACK TO SAVEPOINT tev_statement; RELEASE SAVEPOINT tev_statement");
    std::optional<OraError> failure;
    if (!succeeded(r)) {
        // The transaction cannot go on: end it so the session stays usable.
        failure = errorFromResult(r);
        if (mConn) {
            PQclear(PQexec(mConn, "ROLLBACK"));
            mInTransaction = false;
        }
    }
    PQclear(r);
    return failure;
}

void Session::undoStatement(OraError error)
{
    // When the earlier uncommitted work is gone too, that is the error to report.
    if (std::optional<OraError> failure = rollbackStatement())
        error = *failure;
    fail(error);
}

void Session::beginStatement()
{
    ensureConnected();
    runControl(mInTransaction ? "SAVEPOINT tev_statement" : "BEGIN; SAVEPOINT tev_statement");
    mInTransaction = true;
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

int Session::backendPid() const
{
    return mConn ? PQbackendPID(mConn) : 0;
}

std::optional<PgResult> Session::executePipelined(const QByteArray& sql, const QList<BoundValue>& values)
{
    ensureConnected();
    if (PQenterPipelineMode(mConn) != 1)
        return std::nullopt;
    // Savepoint, statement and release go out together: one round trip instead of three.
    const PgParams p = pgParams(values);
    const bool begins = !mInTransaction;
    QList<const char*> sent;
    if (begins)
        sent << "BEGIN";
    sent << "SAVEPOINT tev_statement" << nullptr << "RELEASE SAVEPOINT tev_statement";
    bool queued = true;
    for (const char* control : sent) {
        const int ok = control ? PQsendQueryParams(mConn, control, 0, nullptr, nullptr, nullptr, nullptr, 0)
                               : PQsendQueryParams(mConn, sql.constData(), int(values.size()), p.types.data(),
                                                   p.values.data(), p.lengths.data(), p.formats.data(), 0);
        if (ok != 1) {
            queued = false;
            break;
        }
    }
    queued = queued && PQpipelineSync(mConn) == 1;

    // One result per command (each followed by a null one), then the sync.
    QList<PGresult*> results;
    bool complete = queued;
    for (int i = 0; complete && i < sent.size(); ++i) {
        PGresult* r = PQgetResult(mConn);
        if (!r) {
            complete = false;
            break;
        }
        while (PGresult* extra = PQgetResult(mConn))
            PQclear(extra);
        results << r;
    }
    if (complete) {
        PGresult* sync = PQgetResult(mConn);
        complete = sync && PQresultStatus(sync) == PGRES_PIPELINE_SYNC;
        PQclear(sync);
    }
    complete = complete && PQexitPipelineMode(mConn) == 1;

    // The first command that failed (those after it were skipped by the server).
    PGresult* failure = nullptr;
    for (PGresult* r : results)
        if (!failure && !succeeded(r) && PQresultStatus(r) != PGRES_PIPELINE_ABORTED)
            failure = r;
    const int statementIndex = begins ? 2 : 1;
    PGresult* statement = results.size() > statementIndex ? results[statementIndex] : nullptr;
    const bool begun = begins && !results.isEmpty() && succeeded(results.first());
    std::optional<OraError> error;
    if (failure)
        error = errorFromResult(failure);
    else if (!complete)
        error = errorFromResult(nullptr);
    for (PGresult* r : results)
        if (r != statement || error)
            PQclear(r);

    if (!complete) {
        // The conversation is out of step: the connection cannot be trusted with more work.
        if (mConn)
            dropConnection();
        fail(*error);
    }
    if (begun)
        mInTransaction = true;
    if (error) {
        if (!mConn || !mInTransaction)
            fail(*error);
        // Undo the failed statement only; earlier work of the transaction stays.
        undoStatement(*error);
    }
    return PgResult(statement);
}

PgResult Session::execute(const QString& pgSql, const QList<BoundValue>& values,
                          const std::function<void(const PgResult&)>& inside)
{
    if (!inside) {
        if (std::optional<PgResult> result = executePipelined(pgSql.toUtf8(), values))
            return std::move(*result);
    }
    beginStatement();
    const PgParams p = pgParams(values);
    const QByteArray sql = pgSql.toUtf8();
    PGresult* raw = PQexecParams(mConn, sql.constData(), int(values.size()), p.types.data(), p.values.data(),
                                 p.lengths.data(), p.formats.data(), 0);
    if (!succeeded(raw)) {
        OraError e = errorFromResult(raw);
        PQclear(raw);
        undoStatement(e);
    }
    PgResult result(raw);
    if (inside) {
        try {
            inside(result);
        } catch (...) {
            if (std::optional<OraError> failure = rollbackStatement())
                fail(*failure);
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
    if (!succeeded(raw)) {
        OraError e = errorFromResult(raw);
        PQclear(raw);
        fail(e);
    }
    return PgResult(raw);
}

QList<FieldDef> Session::describe(const QString& pgSql, const QList<BoundValue>& values)
{
    // Parsing may fail (a missing table): under the statement savepoint that undoes only itself.
    beginStatement();
    const PgParams p = pgParams(values);
    const QByteArray sql = pgSql.toUtf8();
    PGresult* prepared = PQprepare(mConn, "", sql.constData(), int(values.size()), p.types.data());
    if (!succeeded(prepared)) {
        OraError e = errorFromResult(prepared);
        PQclear(prepared);
        undoStatement(e);
    }
    PQclear(prepared);
    PGresult* raw = PQdescribePrepared(mConn, "");
    if (!succeeded(raw)) {
        OraError e = errorFromResult(raw);
        PQclear(raw);
        undoStatement(e);
    }
    const PgResult description(raw);
    QList<FieldDef> columns;
    for (int c = 0; c < description.columnCount(); ++c)
        columns.append(
            FieldDef{description.columnName(c), description.columnType(c), description.columnSize(c)});
    runControl("RELEASE SAVEPOINT tev_statement");
    return columns;
}

void Session::alterRolePassword(const QString& role, const QString& password)
{
    ensureConnected();
    // An empty password would remove the role's password; it is also what an unreadable
    // ALTER USER gives.
    if (password.isEmpty())
        throw DbError("ALTER USER: no password that could be set");
    const QByteArray name = role.toUtf8();
    // The server is sent the verifier only: a password in clear would land in its statement log.
    char* verifier =
        PQencryptPasswordConn(mConn, password.toUtf8().constData(), name.constData(), "scram-sha-256");
    if (!verifier) {
        const QString message = pgMessage(mConn);
        fail(OraError(20000, OraError::formatMessage(20000, message.isEmpty()
                                                                ? QStringLiteral("password encryption failed")
                                                                : message)));
    }
    QByteArray literal(verifier);
    PQfreemem(verifier);
    char* identifier = PQescapeIdentifier(mConn, name.constData(), std::size_t(name.size()));
    if (!identifier) {
        const QString message = pgMessage(mConn);
        fail(OraError(20000, OraError::formatMessage(20000, message)));
    }
    const QByteArray quotedRole(identifier);
    PQfreemem(identifier);
    literal.replace('\'', "''");
    execute(QString::fromUtf8("ALTER ROLE " + quotedRole + " PASSWORD '" + literal + "'"));
}

} // namespace db
