#pragma once

#include "DataType.h"
#include "Field.h"
#include "OraError.h"
#include "PgResult.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

struct pg_conn;

namespace db {

class Session;

// A sign-in dialog the session shows when it is told to prompt; it makes the attempts itself
// through Session::connectAttempt and returns whether the session ended up connected.
class ConnectDialog
{
public:
    virtual ~ConnectDialog() = default;
    virtual bool execute(Session& session) = 0;
};
using ConnectDialogFactory = std::function<std::unique_ptr<ConnectDialog>()>;

// A value bound to $n; `type` decides how PostgreSQL is told its type.
struct BoundValue
{
    QVariant value;
    DataType type = DataType::Unknown;
};

// One database connection. Nothing it does is durable before commit(): a transaction is opened
// before the first statement, and a failed statement undoes only itself.
class Session : public QObject
{
    Q_OBJECT

public:
    using BeforeConnectHook = std::function<void(Session&)>; // throw db::Abort to give up silently
    using ErrorHook = std::function<void(Session&, OraError&)>;
    using ConnectionChangeHook = std::function<void(Session&, bool connected)>;

    explicit Session(QObject* parent = nullptr);
    ~Session() override;

    QString server() const { return mServer; }
    void setServer(const QString& server) { mServer = server; }
    QString username() const { return mUsername; }
    void setUsername(const QString& username) { mUsername = username; }
    QString password() const { return mPassword; }
    void setPassword(const QString& password) { mPassword = password; }
    int homeNumber() const { return mHome; }
    void setHomeNumber(int home) { mHome = home; }

    // Sign-in dialogs by class name, registered once at start-up.
    static void registerConnectDialog(const QString& className, ConnectDialogFactory factory);
    static bool isConnectDialogRegistered(const QString& className);
    void setConnectDialogClass(const QString& className) { mDialogClass = className; }
    QString connectDialogClass() const { return mDialogClass; }
    void setConnectPrompt(bool prompt) { mPrompt = prompt; }
    bool connectPrompt() const { return mPrompt; }
    int connectDialogRetries() const { return mRetries; }
    void setConnectDialogRetries(int retries) { mRetries = retries; }

    // Connects, through the registered dialog when prompting; a cancelled dialog throws db::Abort.
    void connect();
    // One attempt with the current server, user and password: before-connect hook, connection,
    // error hook. Throws OraError on failure.
    void connectAttempt(bool retry = false);
    void disconnect();
    bool connected() const { return mConn != nullptr; }

    void startTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return mInTransaction; }
    void savepoint(const QString& name);
    void rollbackToSavepoint(const QString& name);

    // Names of the services of the connection service files.
    static QStringList serviceNames();

    void setBeforeConnectHook(BeforeConnectHook hook) { mBeforeConnect = std::move(hook); }
    void setErrorHook(ErrorHook hook) { mOnError = std::move(hook); }
    void setConnectionChangeHook(ConnectionChangeHook hook) { mOnConnectionChange = std::move(hook); }

    // Runs one PostgreSQL statement under its own savepoint. `inside`, when given, runs after the
    // statement succeeded and before the savepoint is released (cursor fetches go there).
    PgResult execute(const QString& pgSql, const QList<BoundValue>& values = {},
                     const std::function<void(const PgResult&)>& inside = {});
    // Runs a statement inside the current statement's savepoint (only from an `inside` callback).
    PgResult executeNested(const QString& pgSql);
    // The columns the statement would return, asked of the server without running it; a bad
    // statement fails as running it would, undoing only itself.
    QList<FieldDef> describe(const QString& pgSql, const QList<BoundValue>& values = {});
    // Sets the password of a role (its name as the server knows it) in the open transaction. The
    // server receives a SCRAM-SHA-256 verifier made here, never the password itself.
    void alterRolePassword(const QString& role, const QString& password);

    // Server process id of the connection (lets tests and diagnostics find it).
    int backendPid() const;

signals:
    void connectionChanged(bool connected);

private:
    [[noreturn]] void fail(OraError error);
    OraError errorFromResult(pg_result* result);
    void runControl(const char* sql);
    // Opens the statement savepoint (and the transaction before it when none is open).
    void beginStatement();
    // Undoes the current statement; the error when that failed and the transaction had to end.
    std::optional<OraError> rollbackStatement();
    // Rolls the failed statement back to its savepoint and throws its error.
    [[noreturn]] void undoStatement(OraError error);
    // The statement under its savepoint in one round trip; nothing when pipelining is unavailable.
    std::optional<PgResult> executePipelined(const QByteArray& sql, const QList<BoundValue>& values);
    void dropConnection();
    void ensureConnected() const;

    QString mServer;
    QString mUsername;
    QString mPassword;
    int mHome = 1;
    QString mDialogClass;
    bool mPrompt = false;
    int mRetries = 3;
    pg_conn* mConn = nullptr;
    bool mInTransaction = false;
    BeforeConnectHook mBeforeConnect;
    ErrorHook mOnError;
    ConnectionChangeHook mOnConnectionChange;
};

} // namespace db
