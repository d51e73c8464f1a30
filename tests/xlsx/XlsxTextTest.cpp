#include "XlsxText.h"

#include <gtest/gtest.h>

using namespace xlsx;

namespace {

struct EscapeCase
{
    const char* name;
    QString text;
    QByteArray xml;
};

class EscapeTest : public testing::TestWithParam<EscapeCase>
{
};

TEST_P(EscapeTest, WritesAndReadsBack)
{
    QByteArray out;
    appendEscaped(out, GetParam().text);
    EXPECT_EQ(out, GetParam().xml);
    EXPECT_EQ(decodeEscapes(QString::fromUtf8(out))
                  .replace(QLatin1String("&amp;"), QLatin1String("&"))
                  .replace(QLatin1String("&lt;"), QLatin1String("<"))
                  .replace(QLatin1String("&gt;"), QLatin1String(">")),
              GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EscapeTest,
    testing::Values(EscapeCase{"Markup", QStringLiteral("a&b<c>\"d\""), "a&amp;b&lt;c&gt;\"d\""},
                    EscapeCase{"ControlCharacters",
                               QStringLiteral("a\x01"
                                              "b\x1f"),
                               "a_x0001_b_x001F_"},
                    EscapeCase{"TabAndNewLineStay", QStringLiteral("a\tb\nc"), "a\tb\nc"},
                    EscapeCase{"LiteralEscapeKeepsItsUnderscore", QStringLiteral("_x0041_"), "_x005F_x0041_"},
                    EscapeCase{"UnderscoreAlone", QStringLiteral("a_b_x12_"), "a_b_x12_"},
                    EscapeCase{"Cyrillic", QStringLiteral("Отчет"), QStringLiteral("Отчет").toUtf8()},
                    EscapeCase{"SurrogatePair", QString::fromUtf8("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80"},
                    EscapeCase{"LoneSurrogate", QString(QChar(0xD800)), "_xD800_"},
                    EscapeCase{"NonCharacter", QString(QChar(0xFFFF)), "_xFFFF_"}),
    [](const testing::TestParamInfo<EscapeCase>& info) { return info.param.name; });

TEST(XlsxText, CellAddressesAndRanges)
{
    EXPECT_EQ(columnLetters(1), "A");
    EXPECT_EQ(columnLetters(26), "Z");
    EXPECT_EQ(columnLetters(27), "AA");
    EXPECT_EQ(columnLetters(16384), "XFD");
    int c0, r0, c1, r1;
    ASSERT_TRUE(parseRange(u"A9:F13", &c0, &r0, &c1, &r1));
    EXPECT_EQ(std::make_tuple(c0, r0, c1, r1), std::make_tuple(1, 9, 6, 13));
    ASSERT_TRUE(parseRange(u"$B$2", &c0, &r0, &c1, &r1));
    EXPECT_EQ(std::make_tuple(c0, r0, c1, r1), std::make_tuple(2, 2, 2, 2));
    EXPECT_FALSE(parseRange(u"F9:A1", &c0, &r0, &c1, &r1));
    EXPECT_FALSE(parseRange(u"A0", &c0, &r0, &c1, &r1));
    EXPECT_FALSE(parseRange(u"A1048577", &c0, &r0, &c1, &r1));
    EXPECT_FALSE(parseRange(u"9A", &c0, &r0, &c1, &r1));
}

TEST(XlsxText, SerialsOfThe1900System)
{
    double serial = 0;
    ASSERT_TRUE(excelSerial(QDateTime(QDate(1900, 1, 1), QTime(0, 0)), &serial));
    EXPECT_EQ(serial, 1);
    ASSERT_TRUE(excelSerial(QDateTime(QDate(1900, 2, 28), QTime(0, 0)), &serial));
    EXPECT_EQ(serial, 59);
    ASSERT_TRUE(excelSerial(QDateTime(QDate(1900, 3, 1), QTime(0, 0)), &serial));
    EXPECT_EQ(serial, 61);
    ASSERT_TRUE(excelSerial(QDateTime(QDate(2024, 1, 5), QTime(18, 0)), &serial));
    EXPECT_EQ(serial, 45296.75);
    EXPECT_FALSE(excelSerial(QDateTime(QDate(1899, 12, 31), QTime(0, 0)), &serial));
}

} // namespace
