#include "IniFile.h"

#include "Cp1251.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

using lang::IniError;
using lang::IniFile;

static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

static void PrintTo(const QByteArray& b, std::ostream* os)
{
    *os << '"' << b.toPercentEncoding(" []=;\"'").toStdString() << '"';
}

namespace {

QString fixture(const QString& name)
{
    return QStringLiteral(TEV_SOURCE_DIR "/tests/lang/fixtures/") + name;
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray cp(const QString& text)
{
    return lang::toCp1251(text);
}

// A working copy of a fixture in a folder of its own ("missing.ini" is never there).
struct Copy
{
    QTemporaryDir dir;
    QString path;
    QByteArray original;

    explicit Copy(const QString& name)
    {
        path = dir.filePath(name);
        if (QFile::exists(fixture(name))) {
            original = bytesOf(fixture(name));
            writeBytes(path, original);
        }
    }
};

QString repeated(int length)
{
    QString s;
    for (int i = 0; i < length; ++i)
        s += QChar(u'A' + i % 26);
    return s;
}

} // namespace

TEST(IniFileTest, ReadsValuesAsTheProfileFunctions)
{
    struct Row
    {
        const char* name;
        const char* file;
        QString section, key;
        QString expected;
    };
    const QString def = QStringLiteral("<default>");
    const Row rows[] = {
        {"missing file", "missing.ini", "CONNECTION", "server", def},
        {"empty file", "empty.ini", "CONNECTION", "server", def},
        {"last line without line break", "truncated.ini", "CONNECTION", "user", "tev_user"},
        {"blanks around the value dropped", "cp1251-crlf.ini", "CONNECTION", "server", "TEVDB"},
        {"blanks and tabs around key and value", "cp1251-crlf.ini", "CONNECTION", "user", "tev_user"},
        {"double quotes dropped, blanks inside kept", "cp1251-crlf.ini", "CONNECTION", "password",
         "  secret  "},
        {"single quotes dropped", "cp1251-crlf.ini", "CONNECTION", "quoted", "single"},
        {"unmatched quote kept", "cp1251-crlf.ini", "CONNECTION", "half", "\"open"},
        {"different quotes kept", "cp1251-crlf.ini", "CONNECTION", "mixed", "\"a'"},
        {"empty value is a value", "cp1251-crlf.ini", "CONNECTION", "empty", ""},
        {"section and key in other letter case", "cp1251-crlf.ini", "connection", "HOME", "1"},
        {"blanks around the asked names ignored", "cp1251-crlf.ini", " CONNECTION ", "\tserver ", "TEVDB"},
        {"line before any section belongs to none", "cp1251-crlf.ini", "CONNECTION", "orphan", def},
        {"cp1251 section, key and value", "cp1251-crlf.ini", "клиенты", "ИМЯ", "Пётр Иванович"},
        {"cp1251 punctuation", "cp1251-crlf.ini", "Клиенты", "punct", "«№ 5 — €»"},
        {"UTF-8 file: byte order mark skipped", "utf8.ini", "TITLE", "rstrLangId", "25"},
        {"UTF-8 file: read byte by byte as cp1251", "utf8.ini", "TITLE", "rstrLangName",
         lang::fromCp1251(QStringLiteral("Русский").toUtf8())},
        {"duplicate section: the first wins", "duplicate-sections.ini", "SCHEMES", "TEV", "1"},
        {"duplicate section: the second is not read", "duplicate-sections.ini", "schemes", "OTHER", def},
        {"line without = is no key", "no-equals.ini", "SCHEMES", "just some text", def},
        {"[ without ] is no header", "no-equals.ini", "SCHEMES", "TEV", "1"},
        {"comment line is no key", "no-equals.ini", "SCHEMES", ";comment", def},
        {"value over 2047 characters cut", "long-value.ini", "Content", "Subject", repeated(2047)},
        {"key after a long value", "long-value.ini", "Content", "After", "1"},
        {"NUL byte ends the value", "binary.ini", "DATA", "nul", "ab"},
        {"high bytes and the unmapped 0x98", "binary.ini", "DATA", "high", QStringLiteral("\uFFFDяЂ")},
        {"lone CR inside a value kept", "binary.ini", "DATA", "lone", "x\ry"},
        {"key after binary lines", "binary.ini", "DATA", "after", "ok"},
        {"LF line ends", "lf.ini", "MAIL", "smtpport", "25"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const IniFile ini(fixture(QString::fromLatin1(r.file)));
        EXPECT_EQ(ini.readString(r.section, r.key, def), r.expected);
    }
}

TEST(IniFileTest, ListsSectionsAndKeys)
{
    const IniFile dup(fixture(QStringLiteral("duplicate-sections.ini")));
    EXPECT_EQ(dup.readSections(), QStringList({"SCHEMES", "CONNECTION"}));
    EXPECT_EQ(dup.readSection(QStringLiteral("schemes")), QStringList({"TEV", "WEB2"}));

    const IniFile odd(fixture(QStringLiteral("no-equals.ini")));
    EXPECT_EQ(odd.readSections(), QStringList({"SCHEMES", "EMPTY", "LAST"}));
    EXPECT_EQ(odd.readSection(QStringLiteral("SCHEMES")), QStringList({"TEV"}));
    EXPECT_TRUE(odd.sectionExists(QStringLiteral("last")));
    EXPECT_FALSE(odd.sectionExists(QStringLiteral("EMPTY"))) << "a section without keys counts as missing";
    EXPECT_TRUE(odd.valueExists(QStringLiteral("LAST"), QStringLiteral("KEY")));
    EXPECT_FALSE(odd.valueExists(QStringLiteral("SCHEMES"), QStringLiteral("just some text")));

    const IniFile cp1251(fixture(QStringLiteral("cp1251-crlf.ini")));
    EXPECT_EQ(cp1251.readSections(), QStringList({"CONNECTION", "Клиенты", "LANG_REFERENCE"}));
    EXPECT_TRUE(cp1251.valueExists(QStringLiteral("CONNECTION"), QStringLiteral("EMPTY")));
    EXPECT_FALSE(cp1251.valueExists(QStringLiteral("CONNECTION"), QStringLiteral("orphan")));

    const IniFile binary(fixture(QStringLiteral("binary.ini")));
    EXPECT_EQ(binary.readSections(), QStringList({"DATA"}));
    EXPECT_EQ(binary.readSection(QStringLiteral("DATA")), QStringList({"nul", "high", "lone", "after"}));

    const IniFile missing(fixture(QStringLiteral("missing.ini")));
    EXPECT_TRUE(missing.readSections().isEmpty());
    EXPECT_FALSE(missing.sectionExists(QStringLiteral("CONNECTION")));
}

TEST(IniFileTest, ReadsIntegersAndBooleansAsTheRunTimeLibrary)
{
    struct Row
    {
        const char* text;
        bool ok;
        int value;
    };
    const Row rows[] = {
        {"42", true, 42},
        {"-7", true, -7},
        {"+3", true, 3},
        {"0x1F", true, 31},
        {"$ff", true, 255},
        {"0xFFFFFFFF", true, -1},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, INT_MIN},
        {"2147483648", false, 0},
        {"99999999999", false, 0},
        {"0x100000000", false, 0},
        {"12abc", false, 0},
        {"1.5", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"0x", false, 0},
        {"nine", false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        int value = 0;
        EXPECT_EQ(lang::parseIniInteger(QString::fromLatin1(r.text), &value), r.ok);
        if (r.ok) {
            EXPECT_EQ(value, r.value);
        }
    }

    Copy copy(QStringLiteral("settings.ini"));
    writeBytes(copy.path, "[CONNECTION]\r\nhome = 2 \r\nauto_connect=yes\r\nseparate_manage=0\r\nlast=\r\n");
    const IniFile ini(copy.path);
    EXPECT_EQ(ini.readInteger(QStringLiteral("CONNECTION"), QStringLiteral("home"), 1), 2);
    EXPECT_EQ(ini.readInteger(QStringLiteral("CONNECTION"), QStringLiteral("auto_connect"), -5), -5);
    EXPECT_EQ(ini.readInteger(QStringLiteral("CONNECTION"), QStringLiteral("last"), -1), -1);
    EXPECT_EQ(ini.readInteger(QStringLiteral("CONNECTION"), QStringLiteral("absent"), 7), 7);
    EXPECT_TRUE(ini.readBool(QStringLiteral("CONNECTION"), QStringLiteral("home")));
    EXPECT_FALSE(ini.readBool(QStringLiteral("CONNECTION"), QStringLiteral("separate_manage"), true));
    EXPECT_TRUE(ini.readBool(QStringLiteral("CONNECTION"), QStringLiteral("auto_connect"), true));
}

TEST(IniFileTest, WriteChangesOnlyItsLine)
{
    struct Row
    {
        const char* name;
        const char* file;
        std::function<void(IniFile&)> write;
        std::function<QByteArray(QByteArray)> expected;
    };
    const auto replace = [](QByteArray before, QByteArray after) {
        return [before, after](QByteArray b) {
            EXPECT_TRUE(b.contains(before)) << before.toStdString();
            return b.replace(before, after);
        };
    };
    const auto append = [](QByteArray tail) { return [tail](QByteArray b) { return b + tail; }; };
    const QString s = QStringLiteral("CONNECTION");
    const Row rows[] = {
        {"value replaced, key kept as spelled", "cp1251-crlf.ini",
         [&](IniFile& i) {
             i.writeString(QStringLiteral("connection"), QStringLiteral("SERVER"), QStringLiteral("НОВЫЙ"));
         },
         replace("server = TEVDB \r\n", "server=" + cp(QStringLiteral("НОВЫЙ")) + "\r\n")},
        {"indentation before the key kept", "cp1251-crlf.ini",
         [&](IniFile& i) { i.writeString(s, QStringLiteral("user"), QStringLiteral("admin")); },
         replace("  user\t=\ttev_user\r\n", "  user=admin\r\n")},
        {"new key after the section's last line, before the blank line", "cp1251-crlf.ini",
         [&](IniFile& i) { i.writeInteger(s, QStringLiteral("auto_connect"), 1); },
         replace("Home=1\r\n", "Home=1\r\nauto_connect=1\r\n")},
        {"new section at the end", "cp1251-crlf.ini",
         [&](IniFile& i) {
             i.writeInteger(QStringLiteral("CLIENT_CONFIGS"), QStringLiteral("LAST_SELECTED_EM"), -1);
         },
         append("[CLIENT_CONFIGS]\r\nLAST_SELECTED_EM=-1\r\n")},
        {"Cyrillic key and value in cp1251", "cp1251-crlf.ini",
         [&](IniFile& i) {
             i.writeString(QStringLiteral("КЛИЕНТЫ"), QStringLiteral("имя"), QStringLiteral("Ёлкин"));
         },
         replace(cp(QStringLiteral("Имя = Пётр Иванович\r\n")), cp(QStringLiteral("Имя=Ёлкин\r\n")))},
        {"characters without a byte become ?", "cp1251-crlf.ini",
         [&](IniFile& i) {
             i.writeString(QStringLiteral("Клиенты"), QStringLiteral("punct"), QStringLiteral("Jürgen ß"));
         },
         replace(cp(QStringLiteral("punct=«№ 5 — €»\r\n")), "punct=J?rgen ?\r\n")},
        {"line breaks in a value stay on its line", "cp1251-crlf.ini",
         [&](IniFile& i) { i.writeString(s, QStringLiteral("empty"), QStringLiteral("a\r\nb\nc\rd")); },
         replace("empty=\r\n", "empty=a b c d\r\n")},
        {"changed last line keeps having no line break", "truncated.ini",
         [&](IniFile& i) { i.writeString(s, QStringLiteral("user"), QStringLiteral("admin")); },
         replace("user=tev_user", "user=admin")},
        {"new key after a last line without line break", "truncated.ini",
         [&](IniFile& i) { i.writeInteger(s, QStringLiteral("home"), 1); }, append("\r\nhome=1")},
        {"new section after a last line without line break", "truncated.ini",
         [&](IniFile& i) { i.writeBool(QStringLiteral("SCHEMES"), QStringLiteral("TEV"), true); },
         append("\r\n[SCHEMES]\r\nTEV=1\r\n")},
        {"missing file created", "missing.ini",
         [&](IniFile& i) {
             i.writeInteger(QStringLiteral("LANG_REFERENCE"), QStringLiteral("CurrentLanguageId"), 25);
         },
         append("[LANG_REFERENCE]\r\nCurrentLanguageId=25\r\n")},
        {"empty file", "empty.ini",
         [&](IniFile& i) {
             i.writeString(QStringLiteral("Mail"), QStringLiteral("Tls"), QStringLiteral("1"));
         },
         append("[Mail]\r\nTls=1\r\n")},
        {"LF file gets LF", "lf.ini",
         [&](IniFile& i) {
             i.writeString(QStringLiteral("Mail"), QStringLiteral("Tls"), QStringLiteral("1"));
         },
         append("Tls=1\n")},
        {"duplicate sections: the first one is written", "duplicate-sections.ini",
         [&](IniFile& i) { i.writeBool(QStringLiteral("SCHEMES"), QStringLiteral("OTHER"), false); },
         replace("WEB2=0\r\n", "WEB2=0\r\nOTHER=0\r\n")},
        {"UTF-8 file: byte order mark and other bytes kept", "utf8.ini",
         [&](IniFile& i) { i.writeInteger(QStringLiteral("TITLE"), QStringLiteral("rstrLangId"), 9); },
         replace("rstrLangId=25\r\n", "rstrLangId=9\r\n")},
        {"lines without = kept", "no-equals.ini",
         [&](IniFile& i) { i.writeBool(QStringLiteral("SCHEMES"), QStringLiteral("TEV"), false); },
         replace("TEV=1\r\n", "TEV=0\r\n")},
        {"binary bytes around kept", "binary.ini",
         [&](IniFile& i) {
             i.writeString(QStringLiteral("DATA"), QStringLiteral("high"), QStringLiteral("Я"));
         },
         replace("high=\x98\xff\x80\r\n", "high=\xdf\r\n")},
        {"long value replaced", "long-value.ini",
         [&](IniFile& i) {
             i.writeString(QStringLiteral("Content"), QStringLiteral("Subject"), QStringLiteral("Тема"));
         },
         [](QByteArray) { return "[Content]\r\nSubject=" + cp(QStringLiteral("Тема")) + "\r\nAfter=1\r\n"; }},
        {"key deleted", "cp1251-crlf.ini", [&](IniFile& i) { i.deleteKey(s, QStringLiteral("QUOTED")); },
         replace("quoted='single'\r\n", "")},
        {"last key deleted", "truncated.ini", [&](IniFile& i) { i.deleteKey(s, QStringLiteral("user")); },
         replace("user=tev_user", "")},
        {"absent key: nothing written", "truncated.ini",
         [&](IniFile& i) { i.deleteKey(s, QStringLiteral("nope")); }, [](QByteArray b) { return b; }},
        {"section erased with its blank line", "cp1251-crlf.ini",
         [&](IniFile& i) { i.eraseSection(QStringLiteral("клиенты")); },
         replace(cp(QStringLiteral("[Клиенты]\r\nИмя = Пётр Иванович\r\npunct=«№ 5 — €»\r\n\r\n")), "")},
        {"every section of that name erased", "duplicate-sections.ini",
         [&](IniFile& i) { i.eraseSection(QStringLiteral("SCHEMES")); },
         [](QByteArray) { return QByteArray("[CONNECTION]\r\nuser=tev_user\r\n"); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Copy copy(QString::fromLatin1(r.file));
        IniFile ini(copy.path);
        ASSERT_NO_THROW(r.write(ini));
        EXPECT_EQ(bytesOf(copy.path), r.expected(copy.original));
    }
}

TEST(IniFileTest, WrittenValuesReadBack)
{
    Copy copy(QStringLiteral("cp1251-crlf.ini"));
    IniFile ini(copy.path);
    const IniFile other(copy.path);
    ini.writeString(QStringLiteral("CONNECTION"), QStringLiteral("password"),
                    QStringLiteral("\"  Пароль  \""));
    ini.writeInteger(QStringLiteral("SCHEMES"), QStringLiteral("web2"), 0);
    EXPECT_EQ(other.readString(QStringLiteral("CONNECTION"), QStringLiteral("password")),
              QStringLiteral("  Пароль  "));
    EXPECT_EQ(other.readInteger(QStringLiteral("schemes"), QStringLiteral("WEB2"), -1), 0);
    EXPECT_EQ(other.readString(QStringLiteral("CONNECTION"), QStringLiteral("server")),
              QStringLiteral("TEVDB"));

    // Changed behind our back, with the same size and within the same second: still read afresh.
    writeBytes(copy.path, "[A]\r\nk=1\r\n");
    EXPECT_EQ(other.readString(QStringLiteral("A"), QStringLiteral("k")), QStringLiteral("1"));
    writeBytes(copy.path, "[A]\r\nk=2\r\n");
    EXPECT_EQ(other.readString(QStringLiteral("A"), QStringLiteral("k")), QStringLiteral("2"));
    QFile::remove(copy.path);
    EXPECT_EQ(other.readString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("gone")),
              QStringLiteral("gone"));
}

TEST(IniFileTest, WriteReplacesTheFileKeepingItsMode)
{
    Copy copy(QStringLiteral("cp1251-crlf.ini"));
    ASSERT_EQ(::chmod(QFile::encodeName(copy.path).constData(), 0640), 0);
    struct stat before;
    ASSERT_EQ(::stat(QFile::encodeName(copy.path).constData(), &before), 0);

    IniFile ini(copy.path);
    ini.writeInteger(QStringLiteral("CONNECTION"), QStringLiteral("home"), 2);

    struct stat after;
    ASSERT_EQ(::stat(QFile::encodeName(copy.path).constData(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_NE(after.st_ino, before.st_ino) << "written through a new file renamed over the old one";
    EXPECT_EQ(QDir(copy.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"cp1251-crlf.ini"}))
        << "no temporary file left behind";

    // The same value again changes nothing on disk.
    ini.writeInteger(QStringLiteral("CONNECTION"), QStringLiteral("home"), 2);
    struct stat again;
    ASSERT_EQ(::stat(QFile::encodeName(copy.path).constData(), &again), 0);
    EXPECT_EQ(again.st_ino, after.st_ino);
}

TEST(IniFileTest, WriteThroughASymbolicLinkChangesItsTarget)
{
    Copy copy(QStringLiteral("truncated.ini"));
    const QString link = copy.dir.filePath(QStringLiteral("link.ini"));
    ASSERT_TRUE(QFile::link(QStringLiteral("truncated.ini"), link));
    IniFile ini(link);
    ini.writeString(QStringLiteral("CONNECTION"), QStringLiteral("user"), QStringLiteral("admin"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(bytesOf(copy.path), QByteArray("[CONNECTION]\r\nserver=TEVDB\r\nuser=admin"));
}

TEST(IniFileTest, UnwritableFileOrFolderThrows)
{
    struct Row
    {
        const char* name;
        QString relativePath; // below the copy's folder
        mode_t folderMode;
        mode_t fileMode;
    };
    const Row rows[] = {
        {"read-only folder", QStringLiteral("DEDAdize.ini"), 0555, 0644},
        {"read-only file", QStringLiteral("DEDAdize.ini"), 0755, 0444},
        {"missing folder", QStringLiteral("absent/DEDAdize.ini"), 0755, 0644},
        {"folder is a file", QStringLiteral("DEDAdize.ini/x.ini"), 0755, 0644},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("DEDAdize.ini"));
        const QByteArray original("[CONNECTION]\r\nuser=tev_user\r\n");
        writeBytes(file, original);
        ::chmod(QFile::encodeName(file).constData(), r.fileMode);
        ::chmod(QFile::encodeName(dir.path()).constData(), r.folderMode);

        const QString path = dir.filePath(r.relativePath);
        IniFile ini(path);
        try {
            ini.writeString(QStringLiteral("CONNECTION"), QStringLiteral("user"), QStringLiteral("admin"));
            ADD_FAILURE() << "no IniError";
        } catch (const IniError& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(path)) << e.what();
        }
        EXPECT_EQ(bytesOf(file), original);
        EXPECT_EQ(
            ini.readString(QStringLiteral("CONNECTION"), QStringLiteral("user"), QStringLiteral("none")),
            r.relativePath == QStringLiteral("DEDAdize.ini") ? QStringLiteral("tev_user")
                                                             : QStringLiteral("none"));
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList({"DEDAdize.ini"}));
    }
}

TEST(IniFileTest, UnreadableFileIsNotOverwritten)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    Copy copy(QStringLiteral("cp1251-crlf.ini"));
    ASSERT_EQ(::chmod(QFile::encodeName(copy.path).constData(), 0200), 0);
    IniFile ini(copy.path);
    EXPECT_EQ(ini.readString(QStringLiteral("CONNECTION"), QStringLiteral("server"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_THROW(ini.writeString(QStringLiteral("CONNECTION"), QStringLiteral("server"), QStringLiteral("x")),
                 IniError);
    ::chmod(QFile::encodeName(copy.path).constData(), 0644);
    EXPECT_EQ(bytesOf(copy.path), copy.original);
}

TEST(IniFileTest, RefusesNamesThatWouldNotReadBack)
{
    Copy copy(QStringLiteral("truncated.ini"));
    IniFile ini(copy.path);
    const QPair<QString, QString> bad[] = {
        {"CONNECTION", ""},       {"CONNECTION", "  "}, {"CONNECTION", "a=b"}, {"CONNECTION", "a\r\nb=1"},
        {"CONNECTION", "[head]"}, {"CONNECTION", ";c"}, {"", "key"},           {"A\nB", "key"},
    };
    for (const auto& [section, key] : bad) {
        SCOPED_TRACE((section + "/" + key).toStdString());
        EXPECT_THROW(ini.writeString(section, key, QStringLiteral("v")), IniError);
    }
    EXPECT_EQ(bytesOf(copy.path), copy.original);
}

TEST(IniFileTest, NamesWithANoBreakSpaceReadAsListed)
{
    // Byte 0xA0 (no-break space) is no blank in the file: a name keeps it, and every listed
    // section and key reads and writes by the name the list gives.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nbsp.ini"));
    writeBytes(path, "[S\xA0]\r\nUser\xA0= tev\r\n\xA0k=1\r\n[S]\r\nUser=plain\r\n");
    IniFile ini(path);
    const QString nbspSection = QStringLiteral("S\u00A0");
    EXPECT_EQ(ini.readSections(), QStringList({nbspSection, "S"}));
    const QStringList keys = ini.readSection(nbspSection);
    EXPECT_EQ(keys, QStringList({QStringLiteral("User\u00A0"), QStringLiteral("\u00A0k")}));
    const QStringList values = {"tev", "1"};
    for (int i = 0; i < keys.size(); ++i) {
        EXPECT_TRUE(ini.valueExists(nbspSection, keys[i]));
        EXPECT_EQ(ini.readString(nbspSection, keys[i]), values[i]);
    }
    EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("User")), QStringLiteral("plain"));
    ini.writeString(nbspSection, keys[0], QStringLiteral("new"));
    EXPECT_EQ(bytesOf(path), QByteArray("[S\xA0]\r\nUser\xA0=new\r\n\xA0k=1\r\n[S]\r\nUser=plain\r\n"));
}

TEST(IniFileTest, GarbageFilesStayReadableAndWritable)
{
    // Seeded mixtures of INI pieces and stray bytes: a write must read back and leave every other
    // key as it was.
    const QByteArray pieces[] = {
        "[S]",      "[s ]",         "[T]", "[", "]",    "k=", "K = v", "x=1",
        "=",        ";k=2",         "\"",  "'", "\r\n", "\n", "\r",    QByteArray(1, '\0'),
        "\x98\xff", "\xEF\xBB\xBF", " ",   "\t"};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("garbage.ini"));
    quint32 seed = 12345;
    const auto next = [&seed](quint32 n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        QByteArray bytes;
        for (quint32 i = 0, n = next(40); i < n; ++i)
            bytes += next(5) == 0 ? QByteArray(1, char(next(256))) : pieces[next(std::size(pieces))];
        writeBytes(path, bytes);
        IniFile ini(path);
        QHash<QString, QString> before;
        for (const QString& section : ini.readSections()) {
            for (const QString& key : ini.readSection(section))
                before.insert(section.toCaseFolded() + '/' + key.toCaseFolded(),
                              ini.readString(section, key));
        }
        ASSERT_NO_THROW(ini.writeString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("written")));
        EXPECT_EQ(ini.readString(QStringLiteral("S"), QStringLiteral("K")), QStringLiteral("written"));
        before.insert(QStringLiteral("s/k"), QStringLiteral("written"));
        QHash<QString, QString> after;
        for (const QString& section : ini.readSections()) {
            for (const QString& key : ini.readSection(section))
                after.insert(section.toCaseFolded() + '/' + key.toCaseFolded(), ini.readString(section, key));
        }
        EXPECT_EQ(after, before) << bytes.toPercentEncoding().toStdString();
    }
}

TEST(IniFileTest, BatchWritesTheFileOnceAtItsEnd)
{
    Copy c("missing.ini");
    lang::IniFile ini(c.path);
    ini.writeString("S", "kept", "1");
    const QByteArray before = bytesOf(c.path);
    {
        lang::IniFile::Batch outer(c.path);
        {
            lang::IniFile::Batch inner(c.path);
            ini.writeString("S", "a_def", "x");
            ini.writeString("T", "b", "y");
            ini.deleteKey("S", "kept");
            inner.finish();
        }
        // Held, yet read back as written; the file is untouched until the outer batch ends.
        EXPECT_EQ(ini.readString("S", "a_def"), "x");
        EXPECT_EQ(ini.readString("T", "b"), "y");
        EXPECT_FALSE(ini.valueExists("S", "kept"));
        EXPECT_EQ(bytesOf(c.path), before);
        outer.finish();
    }
    EXPECT_EQ(bytesOf(c.path), QByteArray("[S]\r\na_def=x\r\n[T]\r\nb=y\r\n"));
    EXPECT_EQ(lang::IniFile(c.path).readString("T", "b"), "y");

    // A batch that ends by an exception still writes what it held.
    try {
        lang::IniFile::Batch batch(c.path);
        ini.writeString("T", "c", "z");
        throw std::runtime_error("failed part-way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(lang::IniFile(c.path).readString("T", "c"), "z");
}
