#include "TextForms.h"

#include "CryptTestSupport.h"

using namespace crypto;

TEST(TextForms, Base64LinesOf64EndedByCrLf)
{
    struct Row
    {
        const char* name;
        int bytes;
    };
    const Row rows[] = {
        {"none", 0}, {"one byte", 1}, {"one full line", 48}, {"a character more", 49}, {"four lines", 150},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QByteArray bytes;
        for (int i = 0; i < row.bytes; ++i)
            bytes += char(i * 7 + 3);
        const QString text = BinToBase64(bytes);
        if (row.bytes == 0) {
            EXPECT_EQ(text, QString());
            continue;
        }
        EXPECT_TRUE(text.endsWith(QLatin1String("\r\n")));
        const QStringList lines = text.chopped(2).split(QLatin1String("\r\n"));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            EXPECT_LE(lines[i].size(), 64);
            if (i + 1 < lines.size()) {
                EXPECT_EQ(lines[i].size(), 64);
            }
        }
        EXPECT_EQ(QByteArray::fromBase64(text.toLatin1()), bytes);
        bool ok = false;
        EXPECT_EQ(Base64ToBin(text, &ok), bytes);
        EXPECT_TRUE(ok);
    }
}

TEST(TextForms, Base64Decoding)
{
    struct Row
    {
        const char* name;
        QString text;
        bool ok;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"padded", "QUJD\r\nRA==\r\n", true, "ABCD"},
        {"blanks and line feeds skipped", " QU JD\nRA==\t", true, "ABCD"},
        {"empty", "", true, ""},
        {"character outside the alphabet", "QUJD-A==", false, ""},
        {"incomplete group", "QUJDR", false, ""},
        {"three padding characters", "QU===", false, ""},
        {"padding before the end", "QQ==QUJD", false, ""},
        {"cyrillic letter", "QUJДRA==", false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bool ok = !row.ok;
        EXPECT_EQ(Base64ToBin(row.text, &ok), row.bytes);
        EXPECT_EQ(ok, row.ok);
    }
}

TEST(TextForms, Hexadecimal)
{
    EXPECT_EQ(BinToHex(QByteArray("\x00\x0f\xa5\xff", 4)), QStringLiteral("000FA5FF"));
    EXPECT_EQ(BinToHex({}), QString());

    struct Row
    {
        const char* name;
        QString text;
        bool ok;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"upper case", "000FA5FF", true, QByteArray("\x00\x0f\xa5\xff", 4)},
        {"lower case", "0a0b", true, "\x0a\x0b"},
        {"last single digit ignored", "41424", true, "AB"},
        {"single digit alone", "4", true, ""},
        {"empty", "", true, ""},
        {"letter past F", "4G", false, ""},
        {"separator", "41 42", false, ""},
        {"last single character not a digit", "4142Z", false, ""},
        {"fullwidth digit", "4１", false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bool ok = !row.ok;
        EXPECT_EQ(HexToBin(row.text, &ok), row.bytes);
        EXPECT_EQ(ok, row.ok);
    }
}
