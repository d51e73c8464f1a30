#pragma once

#include "ConnectionSettings.h"
#include "SharedQueries.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace db {
class Session;
}
namespace lang {
class IniFile;
class IniError;
} // namespace lang

// The console's data module: the one database session, DEDAdize.ini and what the sign-in leaves
// behind (active scheme, signed-in user, regional manager). Windows reach the portal through it.
class TdmMain : public QObject
{
    Q_OBJECT

public:
    static constexpr char kNormalConnect[] = "TfmNormalConnect";
    static constexpr char kRegionConnect[] = "TfmRegionConnect";
    static constexpr char kLanguageFilePrefix[] = "DEDAdize";

    // Runs DataModuleCreate; nothing is connected yet.
    explicit TdmMain(QObject* parent = nullptr);
    // Runs DataModuleDestroy unless it has run already.
    ~TdmMain() override;

    // Module initialisation: the sign-in dialogs by class name.
    static void RegisterConnectDialogs();
    // The data module that owns a session (the sign-in dialogs find it this way), or null.
    static TdmMain* ofSession(const db::Session& session);

    void DataModuleCreate();
    // Saves the interface language and closes the settings file.
    void DataModuleDestroy();
    // Runs the sign-in dialog of the configured mode; true when connected afterwards.
    bool Connect();
    void Disconnect();
    // The first flagged scheme of SCHEMES; with none, "TEV" is made active and returned.
    QString GetActiveScheme();
    void SetActiveScheme(const QString& scheme); // throws lang::IniError

    db::Session* session() const { return mSession; }
    lang::IniFile& iniFile() const { return *mIni; }
    ConnectionSettings settings() const { return ConnectionSettings(*mIni); }

    const QString& ActiveScheme() const { return mActiveScheme; }
    const QString& SignedInUser() const { return mSignedInUser; }
    int ManagerId() const { return mManagerId; }
    void SetManagerId(int id) { mManagerId = id; }
    bool RegisterMode() const { return mRegisterMode; }
    void SetRegisterMode(bool on) { mRegisterMode = on; }
    int LanguageId() const { return mLanguageId; }
    void SetLanguageId(int id) { mLanguageId = id; }
    // The shared queries, stored procedures and package object.
    SharedQueries& queries() { return *mQueries; }
    // Binds every shared component to the session and gives it the active scheme (after sign-in,
    // before any shared query opens).
    void BindToSession();
    // The managers query and the package object, which the regional sign-in uses before
    // BindToSession: bound to the session and the active scheme when the data module is created
    // and again at every Connect.
    void BindSignInComponents();

    // Portal settings: the value of the key's first 20 characters, empty when there is none.
    QString GetConfigValue(const QString& key);
    // Writes in a transaction of its own and re-reads the settings; errors roll back and pass on.
    void SetConfigValue(const QString& key, const QString& value);
    QString GetDBVersion();
    // The computer that runs the import (export) service; claimed for this computer when blank and
    // the service is installed here.
    QString GetServiceHostIn();
    QString GetServiceHostOut();
    QString GenerateLoginPassword();
    // Empty when the portal accepts the password, otherwise why it does not.
    QString CheckPasswordSecurity(const QString& password);
    // True when the portal setting ADV_PASS_SECUR asks for the password check.
    bool PasswordCheckEnabled();
    // Sets a web login's password (temporary or not) in a transaction of its own; a failure is
    // rolled back and passed on.
    void SetLoginPassword(int loginId, const QString& password, bool temporary);
    void ChangeUserPassword(const QString& password, const QString& user);
    // Visibility of an acquirer's service points (current row of oqEmitentPos): 0 or 1 sets, any
    // larger value toggles. Errors are dropped after rolling back.
    void SetAcquirerVisibility(int value);
    void SetAllAcquirersVisibility(int value);
    void ToggleAcquirerVisibility();
    // The same for the visibility of new service points of the current row of oqEmitentSelect.
    void SetNewPosVisibility(int value);
    void ToggleNewPosVisibility();
    void ToggleHideDiscount();
    void SetEmitentCrypt(int emitentId, int importFlag, int exportFlag);
    void SetEmitentExportKey(int emitentId, const QString& keyData);

    // Caption of the sign-in dialogs for the active scheme.
    const QString& ConnectCaption() const { return mConnectCaption; }

    // The catalogue text that replaces a session error's text, or a null text for numbers whose
    // text is kept.
    static QString ConnectErrorText(int oraCode);
    // What the sign-in dialogs report for a failed attempt.
    static QString SignInErrorText(int oraCode);
    // Shows a settings file that cannot be written and lets the program carry on.
    static void ReportIniError(const lang::IniError& error);

private:
    void installSessionHooks();

    QString serviceHost(const char* settingKey, const char* serviceName);
    // Runs portal calls in a transaction of their own: commit, or roll back and pass the error on.
    void inOwnTransaction(const std::function<void()>& call);
    // The same, with errors dropped after the roll-back.
    void silently(const std::function<void()>& call);
    void setVisibility(db::Dataset* dataset, const char* procedure, int value);

    db::Session* mSession;
    std::unique_ptr<SharedQueries> mQueries;
    std::unique_ptr<lang::IniFile> mIni;
    QString mActiveScheme;
    QString mSignedInUser;
    QString mConnectCaption;
    int mManagerId = -1;
    bool mRegisterMode = false;
    int mLanguageId = ConnectionSettings::kDefaultLanguageId;
    bool mDestroyed = false;
};
