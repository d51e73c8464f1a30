#include "ManagerPassword.h"

#include <gtest/gtest.h>

TEST(ManagerPassword, KeptAsTypedNotEmptyAndSingleByte)
{
    using P = ManagerPassword::Problem;
    const struct
    {
        const char* what;
        QString password;
        P problem;
    } cases[] = {
        {"plain", QStringLiteral("secret"), P::None},
        {"blanks are characters", QStringLiteral("  "), P::None},
        {"Cyrillic, the numero sign and the euro are in the code page", QStringLiteral(" Пароль №1 € "),
         P::None},
        {"empty", QString(), P::Empty},
        {"Greek", QStringLiteral("pass\u03B2"), P::NotSingleByte},
        {"CJK", QStringLiteral("\u5BC6\u7801"), P::NotSingleByte},
        {"an emoji (two code units)", QStringLiteral("a\U0001F600"), P::NotSingleByte},
        {"NUL", QString(QChar(0)) + QStringLiteral("x"), P::NotSingleByte},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ManagerPassword::Check(c.password), c.problem);
    }
    EXPECT_EQ(ManagerPassword::ProblemText(P::None), QString());
    EXPECT_EQ(ManagerPassword::ProblemText(P::Empty),
              QStringLiteral("Пароль не может быть пустым. Задайте пароль."));
    EXPECT_EQ(ManagerPassword::ProblemText(P::NotSingleByte),
              QStringLiteral("Пароль содержит недопустимые символы"));
}
