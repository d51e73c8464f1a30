#include "ConnectionSettings.h"

#include "IniFile.h"
#include "IniSecret.h"

namespace {

const QString kConnection = QString::fromLatin1(ConnectionSettings::kConnection);

// The on/off keys of CONNECTION count as on only for the integer 1.
bool isOne(const lang::IniFile& ini, const char* key, int def)
{
    return ini.readInteger(kConnection, QString::fromLatin1(key), def) == 1;
}

} // namespace

QString ConnectionSettings::server() const
{
    return mIni.readString(kConnection, QStringLiteral("server"), QString::fromLatin1(kDefaultServer));
}

void ConnectionSettings::setServer(const QString& server)
{
    mIni.writeString(kConnection, QStringLiteral("server"), server);
}

QString ConnectionSettings::user() const
{
    return mIni.readString(kConnection, QStringLiteral("user"), QString::fromLatin1(kDefaultUser));
}

void ConnectionSettings::setUser(const QString& user)
{
    mIni.writeString(kConnection, QStringLiteral("user"), user);
}

int ConnectionSettings::home() const
{
    return mIni.readInteger(kConnection, QStringLiteral("home"), kDefaultHome);
}

void ConnectionSettings::setHome(int home)
{
    mIni.writeInteger(kConnection, QStringLiteral("home"), home);
}

QString ConnectionSettings::savedPassword() const
{
    return crypto::IniSecret::read(mIni, kConnection, QStringLiteral("password")).value_or(QString());
}

void ConnectionSettings::setSavedPassword(const QString& password)
{
    // Hexadecimal text has no blanks or quotes to protect, so it goes in as it is; the reader still
    // drops one pair of enclosing quotes, which old quoted raw values need.
    crypto::IniSecret::write(mIni, kConnection, QStringLiteral("password"), password);
}

bool ConnectionSettings::autoConnect() const
{
    return isOne(mIni, "auto_connect", 0);
}

void ConnectionSettings::setAutoConnect(bool on)
{
    mIni.writeBool(kConnection, QStringLiteral("auto_connect"), on);
}

bool ConnectionSettings::separateManage() const
{
    return isOne(mIni, "separate_manage", 0);
}

int ConnectionSettings::lastManagerId() const
{
    return mIni.readInteger(kConnection, QStringLiteral("last_manager_id"), -1);
}

void ConnectionSettings::setLastManagerId(int id)
{
    mIni.writeInteger(kConnection, QStringLiteral("last_manager_id"), id);
}

bool ConnectionSettings::showConnectSetup() const
{
    return isOne(mIni, "show_connect_setup", 1);
}

QString ConnectionSettings::defaultUser() const
{
    return mIni.readString(kConnection, QStringLiteral("default_user"));
}

bool ConnectionSettings::hasLanguageSection() const
{
    return mIni.sectionExists(QString::fromLatin1(kLangReference));
}

int ConnectionSettings::languageId() const
{
    return mIni.readInteger(QString::fromLatin1(kLangReference), QStringLiteral("CurrentLanguageId"),
                            kDefaultLanguageId);
}

void ConnectionSettings::setLanguageId(int id)
{
    mIni.writeInteger(QString::fromLatin1(kLangReference), QStringLiteral("CurrentLanguageId"), id);
}

QStringList ConnectionSettings::schemes() const
{
    return mIni.readSection(QString::fromLatin1(kSchemes));
}

QString ConnectionSettings::flaggedScheme() const
{
    const QString section = QString::fromLatin1(kSchemes);
    for (const QString& scheme : mIni.readSection(section)) {
        if (mIni.readBool(section, scheme))
            return scheme;
    }
    return {};
}

void ConnectionSettings::setActiveScheme(const QString& scheme)
{
    const QString section = QString::fromLatin1(kSchemes);
    if (mIni.sectionExists(section)) {
        for (const QString& key : mIni.readSection(section))
            mIni.writeBool(section, key, false);
    }
    mIni.writeBool(section, scheme, true);
}

void ConnectionSettings::addScheme(const QString& scheme)
{
    mIni.writeBool(QString::fromLatin1(kSchemes), scheme, false);
}

void ConnectionSettings::removeScheme(const QString& scheme)
{
    mIni.deleteKey(QString::fromLatin1(kSchemes), scheme);
}

int ConnectionSettings::lastSelectedEmitent() const
{
    return mIni.readInteger(QString::fromLatin1(kClientConfigs), QStringLiteral("LAST_SELECTED_EM"), -1);
}

void ConnectionSettings::setLastSelectedEmitent(int emitentId)
{
    mIni.writeInteger(QString::fromLatin1(kClientConfigs), QStringLiteral("LAST_SELECTED_EM"), emitentId);
}
