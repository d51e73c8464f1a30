// The data module's operations on the portal: settings store, version, service hosts, passwords
// and the visibility switches of emitents and acquirers.
#include "ComputerName.h"
#include "DbHelpers.h"
#include "Package.h"
#include "PasswordSecurity.h"
#include "Query.h"
#include "Script.h"
#include "ServiceManager.h"
#include "Session.h"
#include "StoredProc.h"
#include "TdmMain.h"

namespace {
constexpr int kConfigKeyLength = 20;
constexpr int kConfigValueLength = 255;
} // namespace

void TdmMain::BindToSession()
{
    fSetSession(this, mSession);
    fSetShema(this, mActiveScheme);
}

QString TdmMain::GetConfigValue(const QString& key)
{
    db::Query* q = mQueries->oqTEVConfigs;
    if (!q->isOpen())
        q->open();
    const QString name = key.left(kConfigKeyLength);
    const int nameColumn = q->fieldIndex(QStringLiteral("PARAM_NAME"));
    const int valueColumn = q->fieldIndex(QStringLiteral("PARAM_VAL"));
    for (int row = 0; row < q->recordCount(); ++row)
        if (q->value(row, nameColumn).toString() == name)
            return q->value(row, valueColumn).toString();
    return {};
}

void TdmMain::SetConfigValue(const QString& key, const QString& value)
{
    db::StoredProc* sp = mQueries->ospSetTEVConfigs;
    inOwnTransaction([&] {
        sp->setParam(QStringLiteral("P_PARAM_NAME"), key.left(kConfigKeyLength));
        sp->setParam(QStringLiteral("P_PARAM_VAL"), value.left(kConfigValueLength));
        sp->execProc();
    });
    if (mQueries->oqTEVConfigs->isOpen())
        mQueries->oqTEVConfigs->refresh();
}

QString TdmMain::GetDBVersion()
{
    db::Query* q = mQueries->oqDBVersion;
    try {
        q->open();
        const QString version = q->isEmpty() ? QString() : q->asString(QStringLiteral("VERSION"));
        q->close();
        return version;
    } catch (...) {
        q->close();
        throw;
    }
}

QString TdmMain::serviceHost(const char* settingKey, const char* serviceName)
{
    const QString key = QString::fromLatin1(settingKey);
    const QString host = GetConfigValue(key);
    if (!host.trimmed().isEmpty() || ServiceBinaryPath(QString::fromLatin1(serviceName)).trimmed().isEmpty())
        return host;
    const QString computer = ComputerName().toUpper();
    SetConfigValue(key, computer);
    return computer;
}

QString TdmMain::GetServiceHostIn()
{
    return serviceHost("PC_SRV_NAME_WEB_IN", "srvTEVWebInSrvc");
}

QString TdmMain::GetServiceHostOut()
{
    return serviceHost("PC_SRV_NAME_WEB_OUT", "srvTEVWebOutSrvc");
}

QString TdmMain::GenerateLoginPassword()
{
    db::StoredProc* sp = mQueries->ospGeneratePassword;
    sp->execProc();
    return sp->paramByName(QStringLiteral("RESULT")).asString();
}

QString TdmMain::CheckPasswordSecurity(const QString& password)
{
    db::StoredProc* sp = mQueries->ospCheckPasswordSecurity;
    sp->setParam(QStringLiteral("P_PASSWORD"), password);
    sp->execProc();
    return PasswordSecurity::MessageForCode(sp->paramByName(QStringLiteral("RESULT")).asString());
}

bool TdmMain::PasswordCheckEnabled()
{
    return PasswordSecurity::CheckEnabled(GetConfigValue(QStringLiteral("ADV_PASS_SECUR")));
}

void TdmMain::SetLoginPassword(int loginId, const QString& password, bool temporary)
{
    db::StoredProc* sp = mQueries->ospUpdateLoginPassword;
    inOwnTransaction([&] {
        sp->setParam(QStringLiteral("P_TEV_ID"), loginId);
        sp->setParam(QStringLiteral("P_TEV_PASSWORD"), password);
        sp->setParam(QStringLiteral("P_IS_TEMP_PASSWORD"), temporary ? 1 : 0);
        sp->execProc();
    });
}

void TdmMain::ChangeUserPassword(const QString& password, const QString& user)
{
    // ALTER USER is durable at once, as Oracle's DDL is. Oracle also commits whatever the session
    // had pending; here the change runs on a short-lived connection of its own instead, so the
    // session's uncommitted work is neither committed by it nor able to undo it by a rollback.
    if (!mSession->connected())
        throw db::OraError(3114, ConnectErrorText(3114));
    db::Session own;
    own.setServer(mSession->server());
    own.setUsername(mSession->username());
    own.setPassword(mSession->password());
    own.setHomeNumber(mSession->homeNumber());
    own.setErrorHook([](db::Session&, db::OraError& error) {
        const QString text = ConnectErrorText(error.code());
        if (!text.isNull())
            error.setMessage(text);
    });
    own.connectAttempt();

    db::Script* script = mQueries->oscrChangePassword;
    struct SessionBack
    {
        db::Script* script;
        db::Session* session;
        ~SessionBack() { script->setSession(session); }
    } back{script, script->session()};
    script->setSession(&own);
    script->setMacro(QStringLiteral("User"), user);
    // A double quote inside is doubled, or it would end the quoted password early.
    QString quoted = password;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    script->setMacro(QStringLiteral("new_password"), QLatin1Char('"') + quoted + QLatin1Char('"'));
    script->execute();
    own.commit();
    own.disconnect();
    // A later reconnect (or the next change) signs in with what the server now expects.
    if (user.trimmed().compare(mSession->username().trimmed(), Qt::CaseInsensitive) == 0)
        mSession->setPassword(password);
}

void TdmMain::inOwnTransaction(const std::function<void()>& call)
{
    mSession->startTransaction();
    try {
        call();
        mSession->commit();
    } catch (...) {
        if (mSession->connected())
            mSession->rollback();
        throw;
    }
}

void TdmMain::silently(const std::function<void()>& call)
{
    try {
        inOwnTransaction(call);
    } catch (const std::exception&) {
        // Rolled back; the grid keeps its value after the refresh.
    }
}

void TdmMain::setVisibility(db::Dataset* dataset, const char* procedure, int value)
{
    if (!dataset->isOpen() || dataset->isEmpty())
        return;
    int v = value;
    if (value > 1) {
        const int current = int(dataset->asInteger(QStringLiteral("ISVISIBLE")));
        v = current == 0 ? 1 : current - 1;
    }
    const QVariant id = dataset->value(QStringLiteral("EMITENT_ID_WEB"));
    silently([&] { mQueries->TEV_UTILS->execProc(QString::fromLatin1(procedure), {id, v}); });
}

void TdmMain::SetAcquirerVisibility(int value)
{
    setVisibility(mQueries->oqEmitentPos, "SET_POS_VISIBLE", value);
}

void TdmMain::SetAllAcquirersVisibility(int value)
{
    db::Query* q = mQueries->oqEmitentPos;
    if (!q->isOpen() || q->isEmpty())
        return;
    const int recNo = q->recNo();
    for (q->first(); !q->eof(); q->next())
        SetAcquirerVisibility(value);
    q->refresh();
    q->setRecNo(recNo);
}

void TdmMain::ToggleAcquirerVisibility()
{
    db::Query* q = mQueries->oqEmitentPos;
    const int recNo = q->recNo();
    SetAcquirerVisibility(2);
    q->refresh();
    q->setRecNo(recNo);
}

void TdmMain::SetNewPosVisibility(int value)
{
    setVisibility(mQueries->oqEmitentSelect, "SET_POS_VISIBLE", value);
}

void TdmMain::ToggleNewPosVisibility()
{
    db::Query* q = mQueries->oqEmitentSelect;
    const int recNo = q->recNo();
    SetNewPosVisibility(2);
    q->refresh();
    q->setRecNo(recNo);
}

void TdmMain::ToggleHideDiscount()
{
    db::Query* q = mQueries->oqEmitentSelect;
    if (!q->isOpen() || q->isEmpty())
        return;
    const int recNo = q->recNo();
    const QVariant id = q->value(QStringLiteral("EMITENT_ID_WEB"));
    const QVariant hide = q->value(QStringLiteral("HIDE_DISCONT"));
    silently([&] { mQueries->TEV_UTILS->execProc(QStringLiteral("SET_EMITENT_HIDE_DISCONT"), {id, hide}); });
    q->refresh();
    q->setRecNo(recNo);
}

void TdmMain::SetEmitentCrypt(int emitentId, int importFlag, int exportFlag)
{
    db::StoredProc* sp = mQueries->ospUpdEmitentCrypt;
    inOwnTransaction([&] {
        sp->setParam(QStringLiteral("P_EMITENT_ID"), emitentId);
        sp->setParam(QStringLiteral("P_USE_IMPORT_CRYPT"), importFlag);
        sp->setParam(QStringLiteral("P_USE_EXPORT_CRYPT"), exportFlag);
        sp->execProc();
    });
}

void TdmMain::SetEmitentExportKey(int emitentId, const QString& keyData)
{
    db::StoredProc* sp = mQueries->ospUpdEmitentExportKey;
    inOwnTransaction([&] {
        sp->setParam(QStringLiteral("P_EMITENT_ID"), emitentId);
        sp->setParam(QStringLiteral("P_EXPORT_KEY_DATA"), keyData);
        sp->execProc();
    });
}
