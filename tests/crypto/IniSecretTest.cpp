#include "IniSecret.h"

#include "Cp1251.h"
#include "CryptConfig.h"
#include "CryptTestSupport.h"
#include "GeneratePassword.h"
#include "IniFile.h"
#include "TEnDeCrypt.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <sys/stat.h>

using crypto::IniSecret;
using namespace cryptTest;

namespace {

const QString kSection = QStringLiteral("CONNECTION");
const QString kKey = QStringLiteral("Password");

mode_t modeOf(const QString& path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

class IniSecretTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(mDir.isValid()); }

    QString iniPath() const { return mDir.filePath(QStringLiteral("DEDAdize.ini")); }

    QTemporaryDir mDir;
    AppFolderOverride mFolder{mDir.path()}; // the built-in pass phrases
};

} // namespace

TEST_F(IniSecretTest, RandomPasswordsSurviveTheIniFile)
{
    lang::IniFile ini(iniPath());
    ini.writeString(QStringLiteral("CONNECTION"), QStringLiteral("Server"), QStringLiteral("TEVDB"));
    const QString cyrillic = QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщъыьэюяАЯЁ№ ");
    QRandomGenerator random(12); // fixed seed: a failure can be replayed
    for (int i = 0; i < 1000; ++i) {
        QString password = crypto::GeneratePassword(1 + int(random.bounded(30)), true, true, true);
        if (i % 5 == 0) // some with Cyrillic letters and blanks, as a manager may type them
            password.insert(int(random.bounded(password.size() + 1)),
                            cyrillic.at(random.bounded(cyrillic.size())));
        IniSecret::write(ini, kSection, kKey, password);
        const std::optional<QString> back = IniSecret::read(ini, kSection, kKey);
        ASSERT_TRUE(back.has_value()) << i << ": " << password.toStdString();
        ASSERT_EQ(*back, password) << i;
    }
    EXPECT_EQ(ini.readString(kSection, QStringLiteral("Server")), QStringLiteral("TEVDB"));

    // An empty password is still a saved one.
    IniSecret::write(ini, kSection, kKey, QString());
    EXPECT_EQ(IniSecret::read(ini, kSection, kKey), std::optional<QString>(QString()));
}

TEST_F(IniSecretTest, StoredAsHexUnderTheDefaultPassPhrase)
{
    lang::IniFile ini(iniPath());
    IniSecret::write(ini, kSection, kKey, QStringLiteral("manager1"));
    crypto::TEnDeCrypt crypt;
    EXPECT_EQ(ini.readString(kSection, kKey), crypt.EncryptText(QStringLiteral("manager1"), false, true));
    EXPECT_EQ(crypt.PassPhrase(), crypto::CryptConfig::builtInDefaultPassPhrase());
}

TEST_F(IniSecretTest, OldRawValueIsStillRead)
{
    // The Windows console wrote the cipher bytes themselves, in quotes. Find a password whose bytes
    // an INI line can hold at all.
    crypto::TEnDeCrypt crypt;
    QString password;
    QByteArray raw;
    for (int i = 0; i < 1000; ++i) {
        password = QStringLiteral("пароль%1").arg(i);
        raw = crypt.EncryptText(password, false, false).toLatin1();
        if (!raw.contains('\r') && !raw.contains('\n') && !raw.contains('\0') && !raw.contains('\x98') &&
            !raw.contains('"'))
            break;
    }
    writeBytes(iniPath(), "[CONNECTION]\r\nServer=TEVDB\r\nPassword=\"" + raw + "\"\r\nAutoConnect=1\r\n");
    lang::IniFile ini(iniPath());
    EXPECT_EQ(IniSecret::read(ini, kSection, kKey), std::optional<QString>(password));

    // Saving again turns it into the hexadecimal form.
    IniSecret::write(ini, kSection, kKey, password);
    EXPECT_FALSE(readBytes(iniPath()).contains(raw));
    EXPECT_EQ(IniSecret::read(ini, kSection, kKey), std::optional<QString>(password));
}

TEST_F(IniSecretTest, UnreadableValueIsNoPassword)
{
    const QString otherPhrase = IniSecret::encode(QStringLiteral("secret"), QStringLiteral("Another phrase"));
    const QString good =
        IniSecret::encode(QStringLiteral("secret"), crypto::CryptConfig::builtInDefaultPassPhrase());
    struct Row
    {
        const char* name;
        QString stored;
    };
    const Row rows[] = {
        {"missing", QString()},
        {"plain text", QStringLiteral("secret")},
        {"hex under another pass phrase", otherPhrase},
        {"hex cut short", good.left(good.size() - 2)},
        {"hex with a bad digit", good.left(good.size() - 1) + QLatin1Char('X')},
        {"raw bytes cut short", QStringLiteral("\x01\x02\x03\x04\x05\x06\x07")},
        {"character the code page lacks", QStringLiteral("中中中中中中中中")},
    };
    lang::IniFile ini(iniPath());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.stored.isEmpty())
            ini.deleteKey(kSection, kKey);
        else
            ini.writeString(kSection, kKey, row.stored);
        EXPECT_EQ(IniSecret::read(ini, kSection, kKey), std::nullopt);
    }
    EXPECT_EQ(IniSecret::decode(good, crypto::CryptConfig::builtInDefaultPassPhrase()),
              std::optional<QString>(QStringLiteral("secret")));
}

TEST_F(IniSecretTest, FileWithASecretIsTheOwnersOnly)
{
    // A new file and an existing one readable by everybody; the other lines stay.
    lang::IniFile fresh(iniPath());
    IniSecret::write(fresh, kSection, kKey, QStringLiteral("one"));
    EXPECT_EQ(modeOf(iniPath()), mode_t(0600));

    const QString shared = mDir.filePath(QStringLiteral("shared.ini"));
    writeBytes(shared, "[SCHEMES]\r\nTEV=1\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 0644), 0);
    lang::IniFile existing(shared);
    IniSecret::write(existing, kSection, kKey, QStringLiteral("two"));
    EXPECT_EQ(modeOf(shared), mode_t(0600));
    EXPECT_EQ(existing.readString(QStringLiteral("SCHEMES"), QStringLiteral("TEV")), QStringLiteral("1"));
    EXPECT_EQ(IniSecret::read(existing, kSection, kKey), std::optional<QString>(QStringLiteral("two")));

    // What cannot be encrypted is not written.
    EXPECT_THROW(IniSecret::write(existing, kSection, kKey, QStringLiteral("中")), lang::IniError);
    EXPECT_EQ(IniSecret::read(existing, kSection, kKey), std::optional<QString>(QStringLiteral("two")));
}
