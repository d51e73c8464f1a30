#pragma once

#include <QString>
#include <QStringList>

namespace lang {
class IniFile;
}

// The keys of DEDAdize.ini that the data module and the sign-in dialogs use, each with its default,
// kept here so that no window spells a section, a key or a default of its own. Every read and write
// goes straight to the file; writes throw lang::IniError.
class ConnectionSettings
{
public:
    static constexpr char kFileName[] = "DEDAdize.ini";

    static constexpr char kConnection[] = "CONNECTION";
    static constexpr char kSchemes[] = "SCHEMES";
    static constexpr char kLangReference[] = "LANG_REFERENCE";
    static constexpr char kClientConfigs[] = "CLIENT_CONFIGS";

    // The database alias offered on a first start.
    static constexpr char kDefaultServer[] = "TEVDB";
    static constexpr char kDefaultUser[] = "tev_user";
    static constexpr int kDefaultHome = 1;
    static constexpr int kDefaultLanguageId = 25;
    // Scheme made active when SCHEMES names none (the data module's reading).
    static constexpr char kDefaultScheme[] = "TEV";

    explicit ConnectionSettings(lang::IniFile& ini) : mIni(ini) {}

    lang::IniFile& ini() const { return mIni; }

    QString server() const;
    void setServer(const QString& server);
    QString user() const;
    void setUser(const QString& user);
    int home() const;
    void setHome(int home);

    // The regional sign-in's saved password, kept encrypted as hexadecimal text (an old raw value
    // of the Windows console is still read). Empty when none is saved or it cannot be decrypted.
    QString savedPassword() const;
    // Makes the file readable by its owner only before the password goes in.
    void setSavedPassword(const QString& password);
    bool autoConnect() const;
    void setAutoConnect(bool on);
    bool separateManage() const;
    int lastManagerId() const;
    void setLastManagerId(int id);
    bool showConnectSetup() const;
    // Database account of the exchange services.
    QString defaultUser() const;

    bool hasLanguageSection() const;
    int languageId() const;
    void setLanguageId(int id);

    // SCHEMES: one key per scheme name, flag 1 for the active one.
    QStringList schemes() const; // file order
    // The first scheme whose flag is set (any non-zero integer), or an empty text.
    QString flaggedScheme() const;
    // Every key of the section is cleared, then the given scheme is flagged.
    void setActiveScheme(const QString& scheme);
    void addScheme(const QString& scheme); // flag 0
    void removeScheme(const QString& scheme);

    int lastSelectedEmitent() const;
    void setLastSelectedEmitent(int emitentId);

private:
    lang::IniFile& mIni;
};
