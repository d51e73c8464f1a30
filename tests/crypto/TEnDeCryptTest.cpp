#include "TEnDeCrypt.h"

#include "Cp1251.h"
#include "CryptConfig.h"
#include "CryptErrors.h"
#include "CryptTestSupport.h"
#include "IniFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using crypto::TEnDeCrypt;
using namespace cryptTest;

namespace {

const QString kPhrase = QStringLiteral("TestPhrase1");
const QString kText = QStringLiteral("TEVWEBEXPORTLOGIN");
const QString kVector = QStringLiteral("FD42E8112141E02808B725BD49437B35964C336D52A5F046");
const QString kBadData = QStringLiteral("Error CryptDecrypt: NTE_BAD_DATA");

TEnDeCrypt withPhrase(const QString& phrase)
{
    TEnDeCrypt crypt(QStringLiteral("/nonexistent"));
    crypt.SetPassPhrase(phrase);
    return crypt;
}

// Every character of code page 1251 except NUL and 0x98, which has none.
QString everyCodePageCharacter()
{
    QByteArray bytes;
    for (int b = 1; b < 256; ++b) {
        if (b != 0x98)
            bytes += char(b);
    }
    return lang::fromCp1251(bytes);
}

struct Form
{
    const char* name;
    bool base64;
    bool hex;
};

constexpr Form kForms[] = {
    {"raw", false, false},
    {"base64", true, false},
    {"hex", false, true},
    {"hex of base64", true, true},
};

} // namespace

TEST(TEnDeCrypt, WorkedVector)
{
    TEnDeCrypt crypt = withPhrase(kPhrase);
    EXPECT_EQ(crypt.EncryptText(kText, false, true), kVector);
    EXPECT_EQ(crypt.DecryptText(kVector, false, true), kText);
    EXPECT_EQ(crypt.LastError(), QString());

    QString error = QStringLiteral("stale");
    EXPECT_EQ(crypto::EncryptString(kText, kPhrase, false, true, &error), kVector);
    EXPECT_EQ(error, QString());
}

// Each text in each form against pycryptodome's RC2 (effective key length 128) and Python's own
// cp1251, Base64 and hex: the same cipher text both ways, and each side decrypts the other's.
TEST(TEnDeCrypt, AgreesWithIndependentImplementation)
{
    struct Row
    {
        const char* name;
        QString phrase;
        QString text;
    };
    const Row rows[] = {
        {"empty text", kPhrase, QString()},
        {"one whole block", kPhrase, QStringLiteral("ABCDEFGH")},
        {"worked vector text", kPhrase, kText},
        {"long text", kPhrase, QStringLiteral("Длинный текст, long text %1; ").repeated(20)},
        {"cyrillic text", kPhrase, QStringLiteral("Пароль ёЁ №7 «вход» — Ўў")},
        {"cyrillic pass phrase", QStringLiteral("ТевWebКод5"), QStringLiteral("tev_exchange")},
        {"cyrillic both", QStringLiteral("Ключ ъЪ"), QStringLiteral("Сервер базы данных")},
        {"every code page character", kPhrase, everyCodePageCharacter()},
    };

    QJsonArray cases;
    QStringList names;
    for (const Row& row : rows) {
        for (const Form& form : kForms) {
            TEnDeCrypt crypt = withPhrase(row.phrase);
            const QString ours = crypt.EncryptText(row.text, form.base64, form.hex);
            EXPECT_EQ(crypt.LastError(), QString()) << row.name << ", " << form.name;
            cases.append(QJsonObject{{"phrase", row.phrase},
                                     {"text", row.text},
                                     {"base64", form.base64},
                                     {"hex", form.hex},
                                     {"ours", ours}});
            names << QStringLiteral("%1, %2").arg(QLatin1String(row.name), QLatin1String(form.name));
        }
    }
    const ProcessResult oracle =
        runProcess(kPython, {sourceFile("rc2_oracle.py")}, QJsonDocument(cases).toJson());
    ASSERT_TRUE(oracle.started);
    ASSERT_EQ(oracle.exitCode, 0) << oracle.err.toStdString();
    const QJsonArray answers = QJsonDocument::fromJson(oracle.out).array();
    ASSERT_EQ(answers.size(), cases.size());

    for (qsizetype i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(names.at(i).toStdString());
        const QJsonObject c = cases.at(i).toObject();
        const QJsonObject a = answers.at(i).toObject();
        EXPECT_EQ(a.value("decrypted").toString(), c.value("text").toString());
        EXPECT_EQ(a.value("theirs").toString(), c.value("ours").toString());
        TEnDeCrypt crypt = withPhrase(c.value("phrase").toString());
        EXPECT_EQ(crypt.DecryptText(a.value("theirs").toString(), c.value("base64").toBool(),
                                    c.value("hex").toBool()),
                  c.value("text").toString());
        EXPECT_EQ(crypt.LastError(), QString());
    }
}

TEST(TEnDeCrypt, BadInputIsBadDataNeverGarbage)
{
    QString tamperedLastBlock = kVector;
    tamperedLastBlock[tamperedLastBlock.size() - 1] = QLatin1Char('7');
    struct Row
    {
        const char* name;
        QString phrase;
        QString text;
        bool base64;
        bool hex;
    };
    const Row rows[] = {
        {"wrong pass phrase", QStringLiteral("TestPhrase2"), kVector, false, true},
        {"wrong pass phrase, letter case", QStringLiteral("testphrase1"), kVector, false, true},
        {"empty pass phrase", QString(), kVector, false, true},
        {"cyrillic wrong pass phrase", QStringLiteral("ТестФраза1"), kVector, false, true},
        {"tampered last block", kPhrase, tamperedLastBlock, false, true},
        {"bad hex digit", kPhrase, QStringLiteral("FD42E8112141E0G808B725BD49437B35964C336D52A5F046"), false,
         true},
        {"hex with a blank", kPhrase, QStringLiteral("FD42E811 2141E02808B725BD49437B35964C336D52A5F046"),
         false, true},
        {"one byte short", kPhrase, kVector.left(kVector.size() - 2), false, true},
        {"empty hex", kPhrase, QString(), false, true},
        {"empty raw", kPhrase, QString(), false, false},
        {"raw beyond one byte per character", kPhrase, QStringLiteral("Пароль12"), false, false},
        {"bad base64 character", kPhrase, QStringLiteral("/ULoESFB4CgItyW9SUN7NZZMM21SpfBG*\r\n"), true,
         false},
        {"base64 padding in the middle", kPhrase, QStringLiteral("/ULo=SFB4CgItyW9SUN7NZZMM21SpfBG\r\n"),
         true, false},
        {"hex of bad base64", kPhrase, QStringLiteral("2A2A2A2A"), true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TEnDeCrypt crypt = withPhrase(row.phrase);
        EXPECT_EQ(crypt.DecryptText(row.text, row.base64, row.hex), QString());
        EXPECT_EQ(crypt.LastError(), kBadData);
    }
}

TEST(TEnDeCrypt, LenientDecoding)
{
    struct Row
    {
        const char* name;
        QString text;
        bool base64;
        bool hex;
    };
    const Row rows[] = {
        {"lower-case hex", kVector.toLower(), false, true},
        {"last single hex digit ignored", kVector + QLatin1Char('A'), false, true},
        {"base64 without its line break", QStringLiteral("/ULoESFB4CgItyW9SUN7NZZMM21SpfBG"), true, false},
        {"base64 broken over lines", QStringLiteral("/ULoESFB\r\n4CgItyW9SUN7\nNZZMM21SpfBG\r\n"), true,
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TEnDeCrypt crypt = withPhrase(kPhrase);
        EXPECT_EQ(crypt.DecryptText(row.text, row.base64, row.hex), kText);
        EXPECT_EQ(crypt.LastError(), QString());
    }
}

TEST(TEnDeCrypt, RefusesWhatCodePage1251CannotHold)
{
    TEnDeCrypt crypt = withPhrase(kPhrase);
    EXPECT_EQ(crypt.EncryptText(QStringLiteral("pass\U0001F600"), false, true), QString());
    EXPECT_EQ(crypt.LastError(), QStringLiteral("Error CryptEncrypt: NTE_BAD_DATA"));

    TEnDeCrypt badPhrase = withPhrase(QStringLiteral("phrase 中"));
    EXPECT_EQ(badPhrase.EncryptText(kText, false, true), QString());
    EXPECT_EQ(badPhrase.LastError(), QStringLiteral("Error CryptHashData: NTE_BAD_DATA"));
    EXPECT_EQ(badPhrase.DecryptText(kVector, false, true), QString());
    EXPECT_EQ(badPhrase.LastError(), QStringLiteral("Error CryptHashData: NTE_BAD_DATA"));

    QString error;
    EXPECT_EQ(crypto::EncryptString(QStringLiteral("中"), kPhrase, false, true, &error), QString());
    EXPECT_EQ(error, QStringLiteral("Error CryptEncrypt: NTE_BAD_DATA"));
}

TEST(TEnDeCrypt, ErrorNames)
{
    const std::pair<std::uint32_t, const char*> rows[] = {
        {6, "ERROR_INVALID_HANDLE"},   {259, "ERROR_NO_MORE_ITEMS"},   {0x80090005, "NTE_BAD_DATA"},
        {0x8009000D, "NTE_NO_KEY"},    {0x80090016, "NTE_BAD_KEYSET"}, {0x80090020, "NTE_FAIL"},
        {0x80090007, "unknown error"}, // NTE_BAD_VER: not among the names reported
        {0, "unknown error"},          {5, "unknown error"},
    };
    for (const auto& [code, name] : rows)
        EXPECT_EQ(TEnDeCrypt::ErrorName(code), QLatin1String(name)) << std::hex << code;
}

TEST(TEnDeCrypt, PassPhrasesAndStoreComeFromTheInstallation)
{
    QTemporaryDir app;
    ASSERT_TRUE(app.isValid());
    AppFolderOverride folder(app.path());

    // Nothing set: the built-in values.
    EXPECT_EQ(TEnDeCrypt().PassPhrase(), crypto::CryptConfig::builtInDefaultPassPhrase());
    EXPECT_EQ(crypto::CryptConfig::connectionPassPhrase(),
              crypto::CryptConfig::builtInConnectionPassPhrase());
    EXPECT_EQ(TEnDeCrypt().KeyStoreFolder(), app.path() + QStringLiteral("/KeyStore"));
    EXPECT_EQ(crypto::CryptConfig::builtInDefaultPassPhrase().size(), 15);
    EXPECT_EQ(crypto::CryptConfig::builtInConnectionPassPhrase().size(), 10);

    lang::IniFile ini(app.filePath(QLatin1String(crypto::CryptConfig::kFileName)));
    ini.writeString(QStringLiteral("PASS_PHRASES"), QStringLiteral("Default"), kPhrase);
    ini.writeString(QStringLiteral("PASS_PHRASES"), QStringLiteral("Connection"), QStringLiteral("Связь 2"));
    ini.writeString(QStringLiteral("KEYS"), QStringLiteral("Store"), QStringLiteral("keys/exchange"));

    TEnDeCrypt crypt;
    EXPECT_EQ(crypt.PassPhrase(), kPhrase);
    EXPECT_EQ(crypt.EncryptText(kText, false, true), kVector);
    EXPECT_EQ(crypto::CryptConfig::connectionPassPhrase(), QStringLiteral("Связь 2"));
    EXPECT_EQ(crypt.KeyStoreFolder(), app.path() + QStringLiteral("/keys/exchange"));
}
