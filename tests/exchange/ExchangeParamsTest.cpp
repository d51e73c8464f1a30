#include "ExchangeParams.h"

#include "ConnectionFile.h"
#include "ExchangeFolders.h"
#include "ScrambleText.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ExchangeParamsTest, EmptyStoreGivesTheDefaults)
{
    const ExchangeParams p =
        ExchangeParams::Read([](const QString&) { return QString(); }, "TEVTEST", "TEV", 1);
    EXPECT_EQ(p.ServerNameWeb, "TEVTEST");
    EXPECT_EQ(p.ShemaWeb, "TEV");
    EXPECT_EQ(p.OraHomeWeb, 1);
    EXPECT_EQ(p.IntervalWeb, 5);
    EXPECT_EQ(p.IntervalWebInSrvc, 300);
    EXPECT_EQ(p.FolderWebImport, "Import");
    EXPECT_EQ(p.FolderSharing, "Sharing");
    EXPECT_EQ(p.FolderWebExport, "Export");
    EXPECT_TRUE(p.GenerateLogin);
    EXPECT_TRUE(p.GenerateLoginForFirm);
    EXPECT_TRUE(p.CheckEmailThreadSeparate);
    EXPECT_FALSE(p.Pop3Enable);
    EXPECT_EQ(p.SMTPPort, 25);
    EXPECT_EQ(p.POP3Port, 110);
    EXPECT_EQ(p.TimeOutIntervalWeb, 90);
    EXPECT_EQ(p.TimeOutCountWeb, 3);
    EXPECT_EQ(p.UrgentRepeatTime, "60");

    // Written back in the fixed order, every key once.
    const auto values = p.Values();
    ASSERT_EQ(values.size(), 38);
    EXPECT_EQ(values.first().first, "ServerNameWeb");
    EXPECT_EQ(values[9], (QPair<QString, QString>{"TypeChange", "0"}));
    EXPECT_EQ(values[10], (QPair<QString, QString>{"OraHomeWeb", "1"}));
    EXPECT_EQ(values.last().first, "POP3Ssl");
}

TEST(ExchangeParamsTest, StoredValuesAreReadByTheirRules)
{
    struct Case
    {
        const char* name;
        QHash<QString, QString> store;
        std::function<void(const ExchangeParams&)> check;
    };
    const Case cases[] = {
        {"SMTPSsl as \"true\" reads as off",
         {{"SMTPSsl", "true"}, {"POP3Ssl", "1"}},
         [](const ExchangeParams& p) {
             EXPECT_FALSE(p.SMTPSsl);
             EXPECT_TRUE(p.POP3Ssl);
         }},
        {"TimeOutCountWeb is at most 10",
         {{"TimeOutCountWeb", "25"}},
         [](const ExchangeParams& p) {
             EXPECT_EQ(p.TimeOutCountWeb, 10);
             EXPECT_EQ(p.Values()[20].second, "10");
         }},
        {"numeric flags switched off",
         {{"GenerateLogin", "0"}, {"CheckEmailThreadSeparate", "0"}},
         [](const ExchangeParams& p) {
             EXPECT_FALSE(p.GenerateLogin);
             EXPECT_FALSE(p.CheckEmailThreadSeparate);
         }},
        {"a number that is no number keeps the default",
         {{"IntervalWeb", "often"}, {"SMTPPort", " 587 "}},
         [](const ExchangeParams& p) {
             EXPECT_EQ(p.IntervalWeb, 5);
             EXPECT_EQ(p.SMTPPort, 587);
         }},
        {"extended logs on only for 1",
         {{"WebExtendedLogs", "2"}, {"SAVE_TO_BACKUP", "1"}},
         [](const ExchangeParams& p) {
             EXPECT_FALSE(p.WebExtendedLogs);
             EXPECT_TRUE(p.SAVE_TO_BACKUP);
         }},
        {"scrambled logins are read plain",
         {{"SMTPLogin", ScrambleText::Apply("mailer")}},
         [](const ExchangeParams& p) {
             EXPECT_EQ(p.SMTPLogin, "mailer");
             EXPECT_EQ(p.Values()[24].second, ScrambleText::Apply("mailer"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.check(ExchangeParams::Read([&](const QString& k) { return c.store.value(k); }, "S", "TEV", 0));
    }
}

TEST(ExchangeParamsTest, ScrambledTextsRoundTripAndStayStorable)
{
    const QStringList texts = {"user@example.org", "Пароль-2024!", "ёЁ №;%:?*()", "~`^{}|", ""};
    for (const QString& t : texts) {
        SCOPED_TRACE(t.toStdString());
        EXPECT_TRUE(ScrambleText::Accepts(t));
        const QString stored = ScrambleText::Apply(t);
        EXPECT_EQ(ScrambleText::Apply(stored), t);
        if (!t.isEmpty()) {
            EXPECT_NE(stored, t);
        }
        // No NUL for PostgreSQL, nothing outside code page 1251.
        EXPECT_FALSE(stored.contains(QChar(0)));
        EXPECT_FALSE(stored.contains(QChar(0xFFFD)));
    }
    // Characters outside the code page, or that would scramble to NUL or to the code page's hole at
    // their position: not accepted by the edits.
    EXPECT_FALSE(ScrambleText::Accepts(QStringLiteral("日本")));
    EXPECT_FALSE(ScrambleText::Accepts(QString(QChar(0x0409)))); // Љ is 0x8A, the key's first byte
    EXPECT_FALSE(ScrambleText::Accepts(QStringLiteral("\x12"))); // 0x12 ^ 0x8A = 0x98
    EXPECT_TRUE(ScrambleText::Accepts(QStringLiteral("a\x12")));
    // Even so, nothing unstorable comes out.
    const QString odd = ScrambleText::Apply(QStringLiteral("\x01\x1F\u0402\u201A"));
    EXPECT_FALSE(odd.contains(QChar(0)));
    EXPECT_FALSE(odd.contains(QChar(0xFFFD)));
}

TEST(ExchangeParamsTest, ExchangeAccount)
{
    EXPECT_EQ(ExchangeAccount(""), "TEVWEBEXPORTLOGIN");
    EXPECT_EQ(ExchangeAccount("  "), "TEVWEBEXPORTLOGIN");
    EXPECT_EQ(ExchangeAccount("web_exchange"), "web_exchange");
}

TEST(ConnectionFileTest, FilesByKindAndFolders)
{
    struct Case
    {
        const char* name;
        int kind;
        QString in, out;
        QList<ConnectionFile::Target> targets;
    };
    const QString inFile = "/opt/in/Connection.ini";
    const QString outFile = "/opt/out/Connection.ini";
    const QString shared = "/opt/tev/Connection.ini";
    const Case cases[] = {
        {"import only", 1, "/opt/in/in.sh", "/opt/out/out.sh", {{inFile, true, false}}},
        {"import only, one folder: both log keys",
         1,
         "/opt/tev/in.sh",
         "/opt/tev/out.sh",
         {{shared, true, true}}},
        {"export only", 2, "/opt/in/in.sh", "/opt/out/out.sh", {{outFile, false, true}}},
        {"export only, one folder", 2, "/opt/tev/in.sh", "/opt/tev/out.sh", {{shared, false, true}}},
        {"both, two folders",
         3,
         "/opt/in/in.sh",
         "/opt/out/out.sh",
         {{inFile, true, false}, {outFile, false, true}}},
        {"both, one folder", 3, "/opt/tev/in.sh", "/opt/tev/out.sh", {{shared, true, true}}},
        {"both, export not installed", 3, "/opt/in/in.sh", "", {{inFile, true, false}}},
        {"nothing configured", 0, "/opt/in/in.sh", "/opt/out/out.sh", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QList<ConnectionFile::Target> got = ConnectionFile::Targets(c.kind, c.in, c.out);
        ASSERT_EQ(got.size(), c.targets.size());
        for (qsizetype i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].Path, c.targets[i].Path);
            EXPECT_EQ(got[i].LogIn, c.targets[i].LogIn);
            EXPECT_EQ(got[i].LogOut, c.targets[i].LogOut);
        }
    }
}

TEST(ConnectionFileTest, NothingChangesWhenAFileCannotBeWritten)
{
    // The export program's folder is gone (the service moved): its file cannot be written.
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("in");
    int changes = 0;
    EXPECT_THROW(ConnectionFile::Generate(3, ExchangeParams(), dir.filePath("in/in.sh"),
                                          dir.filePath("out/out.sh"), "TEVWEBEXPORTLOGIN", "phrase",
                                          [&](const QString&, const QString&) { ++changes; }),
                 std::exception);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("in/Connection.ini")));
}

TEST(ExchangeFoldersTest, DefaultsAndTheWritabilityProbe)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("in/tev-in");
    const QString out = dir.filePath("out/tev-out");
    using ExchangeFolders::Field;
    EXPECT_EQ(ExchangeFolders::DefaultFolder(Field::ImportWork, in, out), dir.filePath("in/Import"));
    EXPECT_EQ(ExchangeFolders::DefaultFolder(Field::Sharing, in, out), dir.filePath("in/Sharing"));
    EXPECT_EQ(ExchangeFolders::DefaultFolder(Field::ImportLog, in, out), dir.filePath("in"));
    EXPECT_EQ(ExchangeFolders::DefaultFolder(Field::ExportWork, in, out), dir.filePath("out"));
    EXPECT_EQ(ExchangeFolders::DefaultFolder(Field::ExportLog, in, out), dir.filePath("out"));
    EXPECT_EQ(ExchangeFolders::DefaultFolder(Field::ExportLog, in, ""), "");

    // A user's own "temp.tmp" survives the probe, and the probe leaves nothing behind.
    QFile user(dir.filePath("temp.tmp"));
    ASSERT_TRUE(user.open(QIODevice::WriteOnly));
    user.write("keep me");
    user.close();
    EXPECT_TRUE(ExchangeFolders::IsWritable(dir.path()));
    EXPECT_TRUE(QFile::exists(dir.filePath("temp.tmp")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"temp.tmp"});
    QString reason;
    EXPECT_FALSE(ExchangeFolders::IsWritable(dir.filePath("missing"), &reason));
    EXPECT_FALSE(reason.isEmpty());

    EXPECT_TRUE(ExchangeFolders::SameFolder("/srv/tev/Import/", "/srv/tev/Import"));
    EXPECT_FALSE(ExchangeFolders::SameFolder("/srv/tev/Import", "/srv/tev/Sharing"));
}
