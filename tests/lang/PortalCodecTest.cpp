#include "PortalCodec.h"

#include "Cp1251.h"

#include <gtest/gtest.h>
#include <ostream>

static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

TEST(PortalCodecTest, DecodesEscapes)
{
    struct Row
    {
        const char* name;
        QString text;
        QString expected;
    };
    const Row rows[] = {
        {"escape between letters", QStringLiteral("A\\u00e9B"), QStringLiteral("AéB")},
        {"Cyrillic escape", QStringLiteral("\\u041f"), QStringLiteral("П")},
        {"upper-case digits", QStringLiteral("\\u041F\\u0440"), QStringLiteral("Пр")},
        {"text without escapes unchanged", QStringLiteral("Пример, text 1251 — №5"),
         QStringLiteral("Пример, text 1251 — №5")},
        {"non-hex group counts as 0", QStringLiteral("a\\uZZZZb"),
         QStringLiteral("a") + QChar(0) + QStringLiteral("b")},
        {"partly hex group counts as 0 and is skipped whole", QStringLiteral("\\u12G4x"),
         QString(QChar(0)) + QStringLiteral("x")},
        {"fewer than four digits at the end", QStringLiteral("x\\u41"), QStringLiteral("xA")},
        {"bare escape at the end", QStringLiteral("x\\u"), QStringLiteral("x") + QChar(0)},
        {"capital U is no escape", QStringLiteral("\\U0041"), QStringLiteral("\\U0041")},
        {"lone backslash kept", QStringLiteral("C:\\temp\\"), QStringLiteral("C:\\temp\\")},
        {"escaped backslash", QStringLiteral("\\u005Cuser"), QStringLiteral("\\user")},
        {"surrogate pair", QStringLiteral("\\uD83D\\uDE00"), QStringLiteral("😀")},
        {"empty", QString(), QString()},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(DecodeUnicodeEscapes(r.text), r.expected);
    }
}

TEST(PortalCodecTest, EncodesWhatTheCodePageCannotHold)
{
    struct Row
    {
        const char* name;
        QString text;
        QString expected;
    };
    const Row rows[] = {
        {"accented letter of the portal's list", QStringLiteral("café"), QStringLiteral("caf\\u00E9")},
        {"Cyrillic stays", QStringLiteral("Привет, Ёжик"), QStringLiteral("Привет, Ёжик")},
        {"Greek alpha", QStringLiteral("α"), QStringLiteral("\\u03B1")},
        // The code page has no ß: converting it would store "?" and lose the letter.
        {"sharp s is escaped, not lost", QStringLiteral("Straße"), QStringLiteral("Stra\\u00DFe")},
        {"Nordic and German letters", QStringLiteral("øåäÄ"), QStringLiteral("\\u00F8\\u00E5\\u00E4\\u00C4")},
        {"Cyrillic letters outside the code page", QStringLiteral("Ѐѝ"), QStringLiteral("\\u0400\\u045D")},
        {"code page punctuation stays", QStringLiteral("«№ 5 — €» ©"), QStringLiteral("«№ 5 — €» ©")},
        {"C1 control without a byte", QString(QChar(0x98)), QStringLiteral("\\u0098")},
        {"surrogate pair unit by unit", QStringLiteral("😀"), QStringLiteral("\\uD83D\\uDE00")},
        // Left alone, "\u" typed by a user would read back as an escape.
        {"backslash before u", QStringLiteral("C:\\users\\ucs"), QStringLiteral("C:\\u005Cusers\\u005Cucs")},
        {"other backslashes stay", QStringLiteral("C:\\temp\\x"), QStringLiteral("C:\\temp\\x")},
        {"empty", QString(), QString()},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(EncodeUnicodeEscapes(r.text), r.expected);
    }
}

TEST(PortalCodecTest, EscapesEveryLetterOfThePortalList)
{
    const int listed[] = {193, 199, 201, 205, 209, 211, 214, 218, 220, 224, 225, 226, 231,
                          232, 233, 234, 235, 237, 239, 241, 243, 246, 249, 250, 251, 252};
    for (int u : listed) {
        SCOPED_TRACE(u);
        EXPECT_EQ(EncodeUnicodeEscapes(QString(QChar(u))),
                  QStringLiteral("\\u") + QStringLiteral("%1").arg(u, 4, 16, QLatin1Char('0')).toUpper());
    }
}

TEST(PortalCodecTest, EveryCodeUnitSurvivesTheRoundTrip)
{
    QString all;
    for (int u = 1; u <= 0xFFFF; ++u)
        all += QChar(char16_t(u));
    all += QStringLiteral("\\u0041 \\uZZ \\\\u");
    const QString encoded = EncodeUnicodeEscapes(all);
    bool lossless = false;
    lang::toCp1251(encoded, &lossless);
    EXPECT_TRUE(lossless) << "the encoded text fits the portal's code page";
    EXPECT_EQ(DecodeUnicodeEscapes(encoded), all);
}
