#include "EmitentRules.h"

#include "PortalCodec.h"

#include <gtest/gtest.h>

using namespace emitentrules;

TEST(EmitentRules, SwapFlagTurnsZeroAndOneAndBringsOddValuesBack)
{
    const struct
    {
        int current, swapped;
    } cases[] = {{0, 1}, {1, 0}, {2, 1}, {5, 4}, {-1, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(SwapFlag(c.current), c.swapped) << c.current;
}

TEST(EmitentRules, VatTakesCommaOrDotFromZeroToHundredWithTwoDecimals)
{
    const struct
    {
        const char* typed;
        std::optional<double> value;
    } cases[] = {
        {"20", 20.0},     {"18,5", 18.5},      {"18.5", 18.5},         {"0", 0.0},
        {"100", 100.0},   {"100.00", 100.0},   {"", 0.0},              {" 7 ", 7.0},
        {"12.", 12.0},    {"150", std::nullopt}, {"100.01", std::nullopt}, {"abc", std::nullopt},
        {"12.345", std::nullopt}, {",5", std::nullopt}, {"1,2,3", std::nullopt}, {"-5", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(ParseVat(QString::fromUtf8(c.typed)), c.value);
    }
    EXPECT_EQ(VatText(QVariant(20.0)), QStringLiteral("20"));
    EXPECT_EQ(VatText(QVariant(QStringLiteral("18.50"))), QStringLiteral("18.5"));
    EXPECT_EQ(VatText(QVariant()), QString());
}

TEST(EmitentRules, BillingValuesAreRefusedForWhatTheColumnsCannotHold)
{
    const QString hundredCyrillic(100, QChar(0x0416));
    const struct
    {
        const char* name;
        BillingValues values;
        BillingProblem problem;
    } cases[] = {
        {"letters digits hyphen", {true, "A1-", "Fuel", "20"}, BillingProblem::None},
        {"slash", {true, "A/B", "Fuel", "20"}, BillingProblem::PrefixInvalidChar},
        {"quote", {true, "A\"", "Fuel", "20"}, BillingProblem::PrefixInvalidChar},
        {"four characters", {true, "ABCD", "Fuel", "20"}, BillingProblem::PrefixTooLong},
        {"100 Cyrillic letters", {true, "NS", hundredCyrillic, "20"}, BillingProblem::None},
        {"101 characters", {true, "NS", hundredCyrillic + "x", "20"}, BillingProblem::ServiceNameTooLong},
        {"VAT above 100", {true, "NS", "Fuel", "150"}, BillingProblem::BadVat},
        {"billing off, still checked", {false, "ABCD", "", ""}, BillingProblem::PrefixTooLong},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckBilling(c.values), c.problem) << c.name;
}

TEST(EmitentRules, BillingComparesTheStoredFormsAndVatAsNumbers)
{
    const QString name = QStringLiteral("Услуги «Нефтьсервис» – топливо");
    const QString stored = EncodeUnicodeEscapes(name);
    EXPECT_FALSE(BillingChanged({true, "NS", name, "18"}, true, "NS", stored, QVariant(18.0)));
    EXPECT_FALSE(BillingChanged({true, "NS", name, "18,00"}, true, "NS", stored, QVariant(QStringLiteral("18.00"))));
    EXPECT_FALSE(BillingChanged({false, "", "", ""}, false, "", "", QVariant()));
    EXPECT_TRUE(BillingChanged({true, "NS", name, "18.5"}, true, "NS", stored, QVariant(18.0)));
    EXPECT_TRUE(BillingChanged({false, "NS", name, "18"}, true, "NS", stored, QVariant(18.0)));
    EXPECT_TRUE(BillingChanged({true, "NS", name + "!", "18"}, true, "NS", stored, QVariant(18.0)));
    EXPECT_TRUE(BillingChanged({false, "", "", "0"}, false, "", "", QVariant()));
}

TEST(EmitentRules, ExchangeParametersNeedAnAddressOnlyForMail)
{
    ExchangeParams folder;
    folder.typeChange = 0;
    ExchangeParams mail;
    mail.typeChange = 1;
    QString bad;
    EXPECT_EQ(CheckExchangeParams(folder), ExchangeProblem::None) << "an empty folder is allowed";
    folder.email = QStringLiteral("not an address"); // carried as stored
    EXPECT_EQ(CheckExchangeParams(folder), ExchangeProblem::None);
    EXPECT_EQ(CheckExchangeParams(mail), ExchangeProblem::NeedEmailAddress);
    mail.email = QStringLiteral("  ");
    EXPECT_EQ(CheckExchangeParams(mail), ExchangeProblem::NeedEmailAddress);
    mail.email = QStringLiteral("exchange@neftservice.example; backup@neftservice.example");
    EXPECT_EQ(CheckExchangeParams(mail), ExchangeProblem::None);
    mail.email = QStringLiteral("exchange@neftservice.example;backup");
    EXPECT_EQ(CheckExchangeParams(mail, &bad), ExchangeProblem::BadEmailAddress);
    EXPECT_EQ(bad, QStringLiteral("backup"));
    mail.email = QString(250, QLatin1Char('a')) + QStringLiteral("@b.example");
    EXPECT_EQ(CheckExchangeParams(mail), ExchangeProblem::EmailTooLong);
    folder.sharingFolder = QLatin1Char('/') + QString(255, QLatin1Char('d'));
    EXPECT_EQ(CheckExchangeParams(folder), ExchangeProblem::FolderTooLong);

    ExchangeParams a, b;
    a.httpPort = 8443;
    b.httpPort = QStringLiteral("8443");
    EXPECT_TRUE(a == b);
    b.httpProxyPort = 0;
    EXPECT_FALSE(a == b) << "no port is not port 0";
}
