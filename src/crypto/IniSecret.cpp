#include "IniSecret.h"

#include "Cp1251.h"
#include "CryptConfig.h"
#include "IniFile.h"
#include "TEnDeCrypt.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace crypto {

namespace {

// The hexadecimal form of a whole number of cipher blocks.
bool isHexForm(const QString& text)
{
    if (text.isEmpty() || text.size() % 16 != 0)
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f')))
            return false;
    }
    return true;
}

void makeOwnerOnly(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return;
    }
    if (errno == EEXIST && ::chmod(native.constData(), S_IRUSR | S_IWUSR) == 0)
        return;
    throw lang::IniError(QStringLiteral("Cannot make %1 readable by its owner only: %2")
                             .arg(path, QString::fromLocal8Bit(strerror(errno)))
                             .toStdString());
}

} // namespace

QString IniSecret::encode(const QString& secret, const QString& passPhrase)
{
    TEnDeCrypt crypt;
    crypt.SetPassPhrase(passPhrase);
    return crypt.EncryptText(secret, false, true);
}

std::optional<QString> IniSecret::decode(const QString& stored, const QString& passPhrase)
{
    if (stored.isEmpty())
        return std::nullopt;
    TEnDeCrypt crypt;
    crypt.SetPassPhrase(passPhrase);
    QString secret;
    if (isHexForm(stored)) {
        secret = crypt.DecryptText(stored, false, true);
    } else {
        // An old raw value: the INI reader gave us the code-page bytes as characters.
        bool lossless = true;
        const QByteArray bytes = lang::toCp1251(stored, &lossless);
        if (!lossless)
            return std::nullopt;
        secret = crypt.DecryptText(QString::fromLatin1(bytes), false, false);
    }
    if (!crypt.LastError().isEmpty())
        return std::nullopt;
    return secret;
}

void IniSecret::write(lang::IniFile& ini, const QString& section, const QString& key, const QString& secret)
{
    const QString stored = encode(secret, CryptConfig::defaultPassPhrase());
    if (stored.isEmpty())
        throw lang::IniError(
            QStringLiteral("Cannot encrypt the value of %1 for %2").arg(key, ini.path()).toStdString());
    makeOwnerOnly(ini.path());
    ini.writeString(section, key, stored);
}

std::optional<QString> IniSecret::read(const lang::IniFile& ini, const QString& section, const QString& key)
{
    return decode(ini.readString(section, key), CryptConfig::defaultPassPhrase());
}

} // namespace crypto
