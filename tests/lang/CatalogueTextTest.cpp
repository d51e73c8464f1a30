#include "Catalogue.h"

#include <QVariant>
#include <gtest/gtest.h>
#include <ostream>

static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

TEST(CatalogueTextTest, LooksUpKeysWithoutRegardToCase)
{
    EXPECT_EQ(lang::tr(u"rstrCancel"), QStringLiteral("Отмена"));
    EXPECT_EQ(lang::tr(u"RSTRCANCEL"), QStringLiteral("Отмена"));
    EXPECT_EQ(lang::catalogueIndex(u"rstrcancel"), lang::catalogueIndex(u"rstrCancel"));
    EXPECT_EQ(lang::catalogueIndex(u"noSuchKey"), -1);

    // Keys that serve two entries: occurrence 0 and 1 are different entries.
    for (const char16_t* key : {u"rstrClient", u"vrstrEditTranslation"}) {
        const int first = lang::catalogueIndex(key, 0);
        const int second = lang::catalogueIndex(key, 1);
        ASSERT_GE(first, 0);
        ASSERT_GT(second, first);
        EXPECT_EQ(lang::catalogueIndex(key, 2), -1);
        lang::setCatalogueText(second, QStringLiteral("second"));
        EXPECT_EQ(lang::catalogueText(key, 0), lang::catalogueDefault(first));
        EXPECT_EQ(lang::catalogueText(key, 1), QStringLiteral("second"));
        lang::setCatalogueText(second, lang::catalogueDefault(second));
    }
}

TEST(CatalogueTextTest, FormatsAsDelphiFormat)
{
    struct Row
    {
        const char* name;
        QString pattern;
        QVariantList args;
        QString expected;
    };
    const Row rows[] = {
        {"text", "Соединение по схеме \"%s\"", {"TEV"}, "Соединение по схеме \"TEV\""},
        {"two texts", "с %s по %s", {"01.01.2024", "31.01.2024"}, "с 01.01.2024 по 31.01.2024"},
        {"integers", "Успешно отправлено: %d Ошибок: %d", {12, 0}, "Успешно отправлено: 12 Ошибок: 0"},
        {"negative integer", "%d", {-42}, "-42"},
        {"percent sign", "100%% готово, %s", {"да"}, "100% готово, да"},
        {"width and precision", "[%5.2f]", {3.14159}, "[ 3.14]"},
        {"left aligned", "[%-6s]", {"ab"}, "[ab    ]"},
        {"float default precision", "%f", {2.5}, "2.50"},
        {"integer precision pads with zeros", "%.4d", {-7}, "-0007"},
        {"hex upper case", "%x %.4x", {255, 10}, "FF 000A"},
        {"negative hex as 32 bits", "%x", {-1}, "FFFFFFFF"},
        {"text precision cuts", "%.3s", {"abcdef"}, "abc"},
        {"argument index", "%1:s %0:s %s", {"a", "b", "c"}, "b a b"},
        {"number with thousands", "%n", {1234567.5}, "1 234 567.50"},
        {"missing argument kept as written", "%s and %d", {"one"}, "one and %d"},
        {"unknown type kept", "%q %s", {"x"}, "%q x"},
        {"trailing percent", "50%", {}, "50%"},
        {"no placeholders", "Обновить данные", {"ignored"}, "Обновить данные"},
        {"LF CR kept", "a\n\rb %s", {"c"}, "a\n\rb c"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(lang::format(r.pattern, r.args), r.expected);
    }
}
