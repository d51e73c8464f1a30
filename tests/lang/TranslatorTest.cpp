#include "AppFolder.h"
#include "Catalogue.h"
#include "Cp1251.h"
#include "TTranslator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>

using lang::TTranslator;

static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

struct LangFile
{
    QString name;
    QString text; // lines joined with \n; written in cp1251 with CR LF
};

struct Expect
{
    QString key;
    std::optional<QString> text; // nullopt: the entry's default
    int occurrence = 0;
};

// Language files of a scenario in a program folder of their own (TEV_APP_DIR).
class TranslatorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        mSavedAppDir = qgetenv("TEV_APP_DIR");
        qputenv("TEV_APP_DIR", QFile::encodeName(mDir.path()));
    }

    void TearDown() override
    {
        for (int i = 0; i < lang::catalogueSize(); ++i)
            lang::setCatalogueText(i, lang::catalogueDefault(i));
        if (mSavedAppDir.isNull())
            qunsetenv("TEV_APP_DIR");
        else
            qputenv("TEV_APP_DIR", mSavedAppDir);
    }

    void write(const LangFile& f)
    {
        QFile file(mDir.filePath(f.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QString text = f.text;
        file.write(
            lang::toCp1251(text.replace(QLatin1Char('\n'), QLatin1String("\r\n")) + QLatin1String("\r\n")));
    }

    static QString currentText(const Expect& e) { return lang::catalogueText(e.key, e.occurrence); }
    static QString defaultText(const Expect& e)
    {
        return lang::catalogueDefault(lang::catalogueIndex(e.key, e.occurrence));
    }
    static bool allDefaults()
    {
        for (int i = 0; i < lang::catalogueSize(); ++i) {
            const QString key = lang::catalogueKey(i);
            const int occurrence = lang::catalogueIndex(key, 0) == i ? 0 : 1;
            if (lang::catalogueText(key, occurrence) != lang::catalogueDefault(i))
                return false;
        }
        return true;
    }
    static QStringList listed(const TTranslator& t)
    {
        QStringList out;
        for (const lang::TLangRecord& r : t.languages())
            out << QStringLiteral("%1|%2|%3").arg(r.fileName, r.languageName).arg(r.languageId);
        return out;
    }

    QTemporaryDir mDir;
    QByteArray mSavedAppDir;
};

const QString kEnglish =
    QStringLiteral("[TITLE]\nrstrLangName=English\nrstrLangId=9\n[WORDS]\nrstrCancel=Cancel");

} // namespace

TEST_F(TranslatorTest, FillsTheCatalogueFromTheChosenLanguage)
{
    struct Row
    {
        const char* name;
        QList<LangFile> files;
        QList<int> ids; // SetLanguage calls, in order
        QStringList languages;
        bool defaults; // the defaults are in effect after the last call
        QList<Expect> expect;
    };
    const Row rows[] = {
        {"no language file", {}, {9}, {}, true, {{"rstrOk", "OK"}, {"rstrCancel", "Отмена"}}},
        {"English file with id 9",
         {{"DEDAdize_eng.ini", kEnglish}},
         {9},
         {"DEDAdize_eng.ini|English|9"},
         false,
         {{"rstrCancel", "Cancel"}, {"rstrYes", "Да"}}},
        {"key written in capitals",
         {{"DEDAdize_eng.ini", "[TITLE]\nrstrLangId=9\n[WORDS]\nRSTRCANCEL=Cancel"}},
         {9},
         {"DEDAdize_eng.ini||9"},
         false,
         {{"rstrCancel", "Cancel"}}},
        {"empty value gives an empty text",
         {{"DEDAdize_eng.ini", "[TITLE]\nrstrLangId=9\n[WORDS]\nrstrYes=\nrstrNo=No"}},
         {9},
         {"DEDAdize_eng.ini||9"},
         false,
         {{"rstrYes", ""}, {"rstrNo", "No"}}},
        {"switching back to an id without a file restores the defaults",
         {{"DEDAdize_eng.ini", kEnglish}},
         {9, 25},
         {"DEDAdize_eng.ini|English|9"},
         true,
         {{"rstrCancel", std::nullopt}}},
        {"two files with the same id: the one listed last wins",
         {{"DEDAdize_b.ini", "[TITLE]\nrstrLangName=B\nrstrLangId=9\n[WORDS]\nrstrCancel=from b"},
          {"DEDAdize_a.ini", "[TITLE]\nrstrLangName=A\nrstrLangId=9\n[WORDS]\nrstrCancel=from a"}},
         {9},
         {"DEDAdize_a.ini|A|9", "DEDAdize_b.ini|B|9"},
         false,
         {{"rstrCancel", "from b"}}},
        {"file without TITLE is no language",
         {{"DEDAdize_x.ini", "[WORDS]\nrstrCancel=Cancel"}},
         {9},
         {},
         true,
         {{"rstrCancel", std::nullopt}}},
        {"TITLE without keys is no language",
         {{"DEDAdize_x.ini", "[TITLE]\n[WORDS]\nrstrCancel=Cancel"}},
         {0},
         {},
         true,
         {{"rstrCancel", std::nullopt}}},
        {"id that is no number is listed as 0",
         {{"DEDAdize_x.ini", "[TITLE]\nrstrLangName=X\nrstrLangId=nine\n[WORDS]\nrstrCancel=Cancel"}},
         {0},
         {"DEDAdize_x.ini|X|0"},
         false,
         {{"rstrCancel", "Cancel"}}},
        {"a key serving two entries fills both",
         {{"DEDAdize_eng.ini",
           "[TITLE]\nrstrLangId=9\n[WORDS]\nrstrClient=Client\nvrstrEditTranslation=Edit"}},
         {9},
         {"DEDAdize_eng.ini||9"},
         false,
         {{"rstrClient", "Client", 0},
          {"rstrClient", "Client", 1},
          {"vrstrEditTranslation", "Edit", 0},
          {"vrstrEditTranslation", "Edit", 1}}},
        {"file names matched without regard to letter case",
         {{"dedadize_DE.INI", "[title]\nrstrLangName=Deutsch\nrstrLangId=7\n[words]\nrstrCancel=Abbrechen"}},
         {7},
         {"dedadize_DE.INI|Deutsch|7"},
         false,
         {{"rstrCancel", "Abbrechen"}}},
        {"other names are no language files",
         {{"DEDAdize.ini", kEnglish},
          {"DEDAdizeX_en.ini", kEnglish},
          {"DEDAdize_en.txt", kEnglish},
          {"Other_en.ini", kEnglish}},
         {9},
         {},
         true,
         {{"rstrCancel", std::nullopt}}},
        {"values in cp1251, trimmed, quotes dropped, no escapes",
         {{"DEDAdize_ukr.ini", "[TITLE]\nrstrLangName=Українська\nrstrLangId=34\n[WORDS]\n"
                               "rstrCancel =  Скасувати  \nrstrYes=\"  Так  \"\nrstrNo=Ні\\u0021"}},
         {34},
         {"DEDAdize_ukr.ini|Українська|34"},
         false,
         {{"rstrCancel", "Скасувати"}, {"rstrYes", "  Так  "}, {"rstrNo", "Ні\\u0021"}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        for (const QString& name : QDir(mDir.path()).entryList(QDir::Files))
            QFile::remove(mDir.filePath(name));
        for (const LangFile& f : r.files)
            write(f);
        TTranslator t;
        t.FindLanguages(QStringLiteral("DEDAdize"));
        EXPECT_EQ(listed(t), r.languages);
        for (int id : r.ids)
            t.SetLanguage(id);
        EXPECT_EQ(t.useDefaults(), r.defaults);
        for (const Expect& e : r.expect) {
            SCOPED_TRACE(e.key.toStdString());
            EXPECT_EQ(currentText(e), e.text ? *e.text : defaultText(e));
        }
        if (r.defaults) {
            EXPECT_TRUE(allDefaults());
        }
    }
}

TEST_F(TranslatorTest, GetWordFallsBackToTheDefault)
{
    TTranslator t;
    EXPECT_EQ(t.GetWord(QStringLiteral("rstrOk"), QStringLiteral("OK")), QStringLiteral("OK"))
        << "no file ever opened";
    write({"DEDAdize_eng.ini", kEnglish + "\nrstrEmpty="});
    t.FindLanguages(QStringLiteral("DEDAdize"));
    t.SetLanguage(9);
    EXPECT_EQ(t.GetWord(QStringLiteral("rstrCancel"), QStringLiteral("x")), QStringLiteral("Cancel"));
    EXPECT_EQ(t.GetWord(QStringLiteral("rstrOk"), QStringLiteral("OK")), QStringLiteral("OK"));
    EXPECT_EQ(t.GetWord(QStringLiteral("rstrEmpty"), QStringLiteral("x")), QString());
    t.SetLanguage(25);
    EXPECT_EQ(t.GetWord(QStringLiteral("rstrCancel"), QStringLiteral("x")), QStringLiteral("x"));
}

TEST_F(TranslatorTest, LanguageFileGoneAfterTheSearch)
{
    write({"DEDAdize_eng.ini", kEnglish});
    TTranslator t;
    t.FindLanguages(QStringLiteral("DEDAdize"));
    t.SetLanguage(9);
    ASSERT_EQ(lang::tr(u"rstrCancel"), QStringLiteral("Cancel"));
    ASSERT_TRUE(QFile::remove(mDir.filePath(QStringLiteral("DEDAdize_eng.ini"))));
    t.SetLanguage(9);
    EXPECT_TRUE(t.useDefaults());
    EXPECT_EQ(lang::tr(u"rstrCancel"), QStringLiteral("Отмена"));
    EXPECT_EQ(t.languages().size(), 1) << "the list stays until the next search";
}

TEST_F(TranslatorTest, ApplicationFolderComesFromTheEnvironment)
{
    EXPECT_EQ(lang::applicationFolder(), QDir(mDir.path()).absolutePath());
    EXPECT_EQ(lang::applicationFile(QStringLiteral("DEDAdize.ini")),
              mDir.filePath(QStringLiteral("DEDAdize.ini")));
    qputenv("TEV_APP_DIR", QFile::encodeName(mDir.path() + QStringLiteral("/")));
    EXPECT_EQ(lang::applicationFolder(), QDir(mDir.path()).absolutePath()) << "no trailing slash";

    qunsetenv("TEV_APP_DIR");
    // The test program's folder is writable here (a build folder), so it is the application folder.
    const QString exeFolder =
        QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
    if (QFileInfo(exeFolder).isWritable()) {
        EXPECT_EQ(lang::applicationFolder(), exeFolder);
    }
}
