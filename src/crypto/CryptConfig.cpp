#include "CryptConfig.h"

#include "AppFolder.h"
#include "IniFile.h"

#include <QDir>

namespace crypto {

namespace {

QString configured(const char* section, const char* key, const QString& builtIn)
{
    const lang::IniFile ini(CryptConfig::configFile());
    const QString value = ini.readString(QLatin1String(section), QLatin1String(key));
    return value.isEmpty() ? builtIn : value;
}

} // namespace

const QString& CryptConfig::builtInDefaultPassPhrase()
{
    static const QString phrase = QStringLiteral("TevWebAdminPass");
    return phrase;
}

const QString& CryptConfig::builtInConnectionPassPhrase()
{
    static const QString phrase = QStringLiteral("ТевWebКод5");
    return phrase;
}

QString CryptConfig::configFile()
{
    return lang::applicationFile(QLatin1String(kFileName));
}

QString CryptConfig::defaultPassPhrase()
{
    return configured(kPassPhrases, kDefaultKey, builtInDefaultPassPhrase());
}

QString CryptConfig::connectionPassPhrase()
{
    return configured(kPassPhrases, kConnectionKey, builtInConnectionPassPhrase());
}

QString CryptConfig::keyStoreFolder()
{
    const QString folder = configured(kKeys, kStoreKey, QString());
    if (folder.isEmpty())
        return lang::applicationFile(QLatin1String(kBuiltInStoreFolder));
    // A relative folder is taken from the application folder, not from wherever the tool was started.
    return QDir::cleanPath(QDir(lang::applicationFolder()).absoluteFilePath(folder));
}

} // namespace crypto
