#include "CryptConfig.h"
#include "CryptTestSupport.h"
#include "IniFile.h"
#include "TEnDeCrypt.h"

#include <QDir>
#include <QTemporaryDir>
#include <sys/stat.h>

using namespace cryptTest;

namespace {

const QString kTool = QStringLiteral(TEV_CRYPT_PATH);
const QString kVector = QStringLiteral("FD42E8112141E02808B725BD49437B35964C336D52A5F046");

mode_t modeOf(const QString& path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// tev-crypt run with an application folder of its own and a pass phrase file holding "TestPhrase1".
class TevCryptTool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        ASSERT_TRUE(QDir().mkpath(appFolder()));
        writeBytes(phraseFile(), "TestPhrase1\n");
    }

    QString appFolder() const { return mDir.filePath(QStringLiteral("app")); }
    QString phraseFile() const { return mDir.filePath(QStringLiteral("phrase")); }
    QString path(const char* name) const { return mDir.filePath(QLatin1String(name)); }

    ProcessResult tool(const QStringList& args, const QByteArray& input = {}) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TEV_APP_DIR"), appFolder());
        const ProcessResult r = runProcess(kTool, args, input, env);
        EXPECT_TRUE(r.started) << kTool.toStdString();
        return r;
    }

    QStringList withPhrase(QStringList args) const
    {
        return args << QStringLiteral("--phrase-file") << phraseFile();
    }

    QTemporaryDir mDir;
};

} // namespace

TEST_F(TevCryptTool, EncryptsAndDecryptsInEveryForm)
{
    const ProcessResult hex = tool(withPhrase({"encrypt", "--hex"}), "TEVWEBEXPORTLOGIN\n");
    EXPECT_EQ(hex.exitCode, 0) << hex.err.toStdString();
    EXPECT_EQ(hex.out, kVector.toLatin1() + '\n');

    const ProcessResult back = tool(withPhrase({"decrypt", "--hex"}), hex.out);
    EXPECT_EQ(back.exitCode, 0) << back.err.toStdString();
    EXPECT_EQ(back.out, "TEVWEBEXPORTLOGIN\n");

    struct Row
    {
        const char* name;
        QStringList flags;
        QByteArray text; // UTF-8
        QByteArray lineEnd;
    };
    const Row rows[] = {
        {"raw bytes", {}, "Пароль №1", "\n"},
        {"base64", {"--base64"}, QByteArray("Длинный пароль ").repeated(10), "\r\n"},
        {"hex", {"--hex"}, "tev_exchange", ""},
        {"both", {"--base64", "--hex"}, "ёЁ «»", "\n"},
    };
    crypto::TEnDeCrypt library(mDir.path());
    library.SetPassPhrase(QStringLiteral("TestPhrase1"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const bool base64 = row.flags.contains(QLatin1String("--base64"));
        const bool hexForm = row.flags.contains(QLatin1String("--hex"));
        const ProcessResult sealed =
            tool(withPhrase(QStringList{"encrypt"} + row.flags), row.text + row.lineEnd);
        EXPECT_EQ(sealed.exitCode, 0) << sealed.err.toStdString();
        // The same as the library (checked against the independent implementation elsewhere).
        QByteArray expected = library.EncryptText(QString::fromUtf8(row.text), base64, hexForm).toLatin1();
        if (hexForm)
            expected += '\n';
        EXPECT_EQ(sealed.out, expected);

        const ProcessResult opened = tool(withPhrase(QStringList{"decrypt"} + row.flags), sealed.out);
        EXPECT_EQ(opened.exitCode, 0) << opened.err.toStdString();
        EXPECT_EQ(opened.out, row.text + '\n');
    }
}

TEST_F(TevCryptTool, ConfiguredConnectionPassPhrase)
{
    // Nothing configured: the built-in connection pass phrase.
    const ProcessResult builtIn = tool({"encrypt", "--hex"}, "tev_exchange");
    EXPECT_EQ(builtIn.exitCode, 0) << builtIn.err.toStdString();
    QString error;
    EXPECT_EQ(builtIn.out,
              crypto::EncryptString(QStringLiteral("tev_exchange"),
                                    crypto::CryptConfig::builtInConnectionPassPhrase(), false, true, &error)
                      .toLatin1() +
                  '\n');

    lang::IniFile ini(appFolder() + QStringLiteral("/TevCrypt.ini"));
    ini.writeString(QStringLiteral("PASS_PHRASES"), QStringLiteral("Connection"),
                    QStringLiteral("TestPhrase1"));
    const ProcessResult configured = tool({"encrypt", "--hex"}, "TEVWEBEXPORTLOGIN");
    EXPECT_EQ(configured.out, kVector.toLatin1() + '\n');
    const ProcessResult back = tool({"decrypt", "--hex"}, kVector.toLatin1());
    EXPECT_EQ(back.out, "TEVWEBEXPORTLOGIN\n");
}

TEST_F(TevCryptTool, RefusesWithAReason)
{
    writeBytes(path("empty-phrase"), "\n");
    struct Row
    {
        const char* name;
        QStringList args;
        QByteArray input;
        int exitCode;
        const char* message;
    };
    const Row rows[] = {
        {"wrong pass phrase",
         {"decrypt", "--hex", "--phrase-file", path("phrase")},
         "00112233445566778899AABBCCDDEEFF",
         1,
         "NTE_BAD_DATA"},
        {"not hexadecimal",
         {"decrypt", "--hex", "--phrase-file", path("phrase")},
         "this is not a cipher text",
         1,
         "NTE_BAD_DATA"},
        {"wrong form",
         {"decrypt", "--base64", "--phrase-file", path("phrase")},
         kVector.toLatin1(),
         1,
         "NTE_BAD_DATA"},
        {"text outside code page 1251",
         {"encrypt", "--hex", "--phrase-file", path("phrase")},
         "pass 中",
         1,
         "code page 1251"},
        {"input not UTF-8",
         {"encrypt", "--hex", "--phrase-file", path("phrase")},
         "\xff\xfe",
         1,
         "not UTF-8"},
        {"missing pass phrase file", {"encrypt", "--phrase-file", path("nowhere")}, "x", 1, "nowhere"},
        {"empty pass phrase file",
         {"encrypt", "--phrase-file", path("empty-phrase")},
         "x",
         1,
         "no pass phrase"},
        {"pass phrase on the command line", {"encrypt", "--phrase", "TestPhrase1"}, "x", 2, "--phrase-file"},
        {"pass phrase file name missing", {"encrypt", "--phrase-file"}, "x", 2, "--phrase-file"},
        {"extra argument", {"decrypt", "FD42"}, "", 2, "takes no other argument"},
        {"unknown command", {"sign"}, "", 2, "unknown command"},
        {"no command", {}, "", 2, "no command"},
        {"keygen without a name", {"keygen", "--store", path("store")}, "", 2, "container name"},
        {"store option on encrypt", {"encrypt", "--store", path("store")}, "", 2, "unknown option"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ProcessResult r = tool(row.args, row.input);
        EXPECT_EQ(r.exitCode, row.exitCode);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_TRUE(r.err.startsWith("tev-crypt: ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(row.message)) << r.err.toStdString();
    }
}

TEST_F(TevCryptTool, Help)
{
    const ProcessResult r = tool({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    for (const char* part :
         {"Usage: tev-crypt", "encrypt", "decrypt", "keygen", "export", "--phrase-file", "Exit status"})
        EXPECT_TRUE(r.out.contains(part)) << part;
    EXPECT_EQ(tool({"keygen", "--help"}).exitCode, 0);
}

TEST_F(TevCryptTool, KeyPairAndPublicKeyBlob)
{
    const QString store = path("keys");
    const ProcessResult made = tool({"keygen", "--store", store, "TEV_WEB_7"});
    EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
    const QString pem = store + QStringLiteral("/TEV_WEB_7.pem");
    EXPECT_EQ(modeOf(store), mode_t(0700));
    EXPECT_EQ(modeOf(pem), mode_t(0600));

    const ProcessResult exported = tool({"export", "--store", store, "TEV_WEB_7", path("web7.key")});
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(readBytes(path("web7.key")).size(), 84);
    const QByteArray modulus = pemModulus(pem);
    EXPECT_TRUE(modulus.startsWith("Modulus="));
    EXPECT_EQ(blobModulus(path("web7.key")), modulus);

    // Without --store: the configured store, by default KeyStore in the application folder.
    EXPECT_EQ(tool({"keygen", "TEV_WEB_8"}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(appFolder() + QStringLiteral("/KeyStore/TEV_WEB_8.pem")));
    EXPECT_EQ(tool({"export", "TEV_WEB_8", path("web8.key")}).exitCode, 0);
    EXPECT_EQ(blobModulus(path("web8.key")),
              pemModulus(appFolder() + QStringLiteral("/KeyStore/TEV_WEB_8.pem")));
}

TEST_F(TevCryptTool, KeyStoreFailures)
{
    const QString store = path("keys");
    ASSERT_TRUE(QDir().mkpath(store));
    writeBytes(store + QStringLiteral("/Empty.pem"), "");
    writeBytes(path("plain-file"), "x");
    struct Row
    {
        const char* name;
        QStringList args;
        const char* message;
    };
    const Row rows[] = {
        {"missing container",
         {"export", "--store", store, "TEV_WEB_9", path("out.key")},
         "has no container TEV_WEB_9"},
        {"container without a key",
         {"export", "--store", store, "Empty", path("out.key")},
         "holds no key pair"},
        {"store is a file, export",
         {"export", "--store", path("plain-file"), "TEV_WEB_1", path("out.key")},
         "is not a folder"},
        {"store is a file, keygen",
         {"keygen", "--store", path("plain-file"), "TEV_WEB_1"},
         "is not a folder"},
        {"name outside the alphabet", {"keygen", "--store", store, "../escape"}, "container names"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ProcessResult r = tool(row.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(row.message)) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("out.key")));
    EXPECT_FALSE(QFile::exists(path("escape.pem")));
    EXPECT_FALSE(QFile::exists(store + QStringLiteral("/TEV_WEB_9.pem")));
}
