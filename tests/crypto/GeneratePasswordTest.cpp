#include "GeneratePassword.h"

#include "CryptTestSupport.h"

#include <QSet>

using namespace crypto;

namespace {

QSet<QChar> charactersOf(const QString& text)
{
    return QSet<QChar>(text.begin(), text.end());
}

} // namespace

TEST(GeneratePassword, AlphabetsFollowTheFlags)
{
    const QString lower = QLatin1String(kPasswordLowerCase);
    const QString capitals = QLatin1String(kPasswordCapitals);
    const QString digits = QLatin1String(kPasswordDigits);
    const QString symbols = QLatin1String(kPasswordSymbols);
    EXPECT_EQ(symbols, QStringLiteral("!@#$%^&*()_+=-|") + QChar(u'\\') + QStringLiteral("/?.,<>{}[]:;"));

    struct Row
    {
        const char* name;
        bool capitals;
        bool digits;
        bool symbols;
        QString allowed;
    };
    const Row rows[] = {
        {"lower case only", false, false, false, lower},
        {"with capitals", true, false, false, lower + capitals},
        {"with digits", false, true, false, lower + digits},
        {"with symbols", false, false, true, lower + symbols},
        {"everything", true, true, true, lower + capitals + digits + symbols},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QSet<QChar> seen;
        for (int i = 0; i < 400; ++i) {
            const QString password = GeneratePassword(10, row.capitals, row.digits, row.symbols);
            ASSERT_EQ(password.size(), 10);
            seen.unite(charactersOf(password));
        }
        // 4,000 draws: every allowed character turns up, nothing else does.
        EXPECT_EQ(seen, charactersOf(row.allowed));
    }
}

TEST(GeneratePassword, AlphabetsDrawnWithEqualChance)
{
    // With all flags each alphabet is a quarter of the characters, whatever its size.
    int counts[4] = {};
    const QString alphabets[] = {QLatin1String(kPasswordLowerCase), QLatin1String(kPasswordCapitals),
                                 QLatin1String(kPasswordDigits), QLatin1String(kPasswordSymbols)};
    const int total = 40000;
    const QString password = GeneratePassword(total, true, true, true);
    for (const QChar c : password) {
        for (int a = 0; a < 4; ++a) {
            if (alphabets[a].contains(c))
                ++counts[a];
        }
    }
    for (int a = 0; a < 4; ++a)
        EXPECT_NEAR(counts[a], total / 4, total / 40) << "alphabet " << a; // 10 standard deviations
}

TEST(GeneratePassword, NoLengthNoPassword)
{
    EXPECT_EQ(GeneratePassword(0, true, true, true), QString());
    EXPECT_EQ(GeneratePassword(-3, true, true, true), QString());
    EXPECT_NE(GeneratePassword(32, true, true, true), GeneratePassword(32, true, true, true));
}
