#include "PortalSettingsKeys.h"
#include "PortalSettingsTestValues.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace PortalSettingsKeys;

TEST(PortalSettingsKeysTest, EveryKeyOnceAndEveryNonDefaultValueComesBackUnchanged)
{
    QSet<QString> keys;
    for (const KeyDef& def : Keys())
        keys.insert(QString::fromLatin1(def.key));
    EXPECT_EQ(keys.size(), Keys().size());
    EXPECT_EQ(keys.size(), 63);
    ASSERT_EQ(NonDefaultPortalSettings().size(), Keys().size());
    for (const PortalSettingValue& v : NonDefaultPortalSettings()) {
        SCOPED_TRACE(v.key);
        const KeyDef& def = Key(QString::fromLatin1(v.key));
        EXPECT_TRUE(IsValid(def, v.stored));
        const ControlState shown = FromStored(def, v.stored);
        EXPECT_NE(shown, DefaultState(def));
        EXPECT_EQ(ToStored(def, shown), std::optional<QString>(v.stored));
    }
    EXPECT_THROW(Key(QStringLiteral("LANG_ID")), std::out_of_range);
}

TEST(PortalSettingsKeysTest, MissingAndOddStoredTextsShowTheDefault)
{
    struct Row
    {
        const char* key;
        QString stored;
        ControlState shown;
        std::optional<QString> storedBack; // what the shown state would store
    };
    const auto none = std::optional<QString>();
    auto text = [](const char* t) { return std::optional<QString>(QString::fromUtf8(t)); };
    const QList<Row> rows = {
        {"CAN_SEND_OC_IMM", "7", {}, text("0")},
        {"CAN_SEND_OC_IMM", "", {}, text("0")},
        {"CAN_SEND_OC_IMM", "1", {true, 0}, text("1")},
        {"TYPE_BLOCK_DESCRIBE", "", {}, text("-1")},
        {"TYPE_BLOCK_DESCRIBE", "0", {true, 0}, text("0")},
        {"TYPE_BLOCK_DESCRIBE", "5", {}, text("-1")},
        {"AMOUNT_DECIMAL_COUNT", "1", {false, -1}, none},
        {"CURR_DECIMAL_COUNT", "", {false, -1}, none},
        {"CURR_DECIMAL_COUNT", " 4 ", {false, 3}, text("4")},
        {"REPORT_ORDER_BY", "", {false, 0}, text("1")},
        {"USE_EMITENT_PATH", "", {false, 1}, text("1")},
        {"USE_EMITENT_PATH", "x", {false, 1}, text("1")},
        {"LOGIN_BLOCK_TO_HMS", "3", {false, 0}, text("0")},
        {"PSW_MIN_LENGTH", "", {false, -1, 5}, text("5")},
        {"PSW_MIN_LENGTH", "99", {false, -1, 5}, text("5")},
        {"PSW_MIN_LENGTH", "4", {false, -1, 5}, text("5")},
        {"BLOCK_WARNING_DAYS", "", {false, -1, 30}, text("30")},
        {"BLOCK_WARNING_DAYS", "abc", {false, -1, 30}, text("30")},
        {"PSW_ATTEMPTS_COUNT", "", {false, -1, 5}, text("5")},
        {"PR_PASSWORD_LENGTH", "", {false, -1, 8}, text("8")},
        {"PR_PASSWORD_LENGTH", "long", {false, -1, 8}, text("8")},
        {"USE_FEEDBACK", "yes", {}, text("0")},
        {"USE_FEEDBACK", "2", {}, text("0")},
        {"USE_FEEDBACK", " 1", {true}, text("1")},
        {"FB_SMTP_PORT", "70000", {}, text("")},
        {"FB_SMTP_PORT", "0", {}, text("")},
        {"FB_SMTP_PORT", "25a", {}, text("")},
        {"EMT_CONTACTS", "a\r\nb", {false, -1, 0, "a\nb"}, text("a\r\nb")},
        {"EMT_NAME", "  Имя  ", {false, -1, 0, "  Имя  "}, text("Имя")},
        {"FB_SMTP_PASSWORD", " p ", {false, -1, 0, " p "}, text(" p ")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.key) + " = '" + r.stored.toStdString() + "'");
        const KeyDef& def = Key(QString::fromLatin1(r.key));
        const ControlState shown = FromStored(def, r.stored);
        EXPECT_EQ(shown.checked, r.shown.checked);
        EXPECT_EQ(shown.choice, r.shown.choice);
        EXPECT_EQ(shown.number, r.shown.number);
        EXPECT_EQ(shown.text, r.shown.text);
        EXPECT_EQ(ToStored(def, shown), r.storedBack);
    }
}

TEST(PortalSettingsKeysTest, ControlsStoreTheirTexts)
{
    auto stored = [](const char* key, ControlState s) { return ToStored(Key(QString::fromLatin1(key)), s); };
    // The send box set without a choice has nothing to store; clear, it stores "0" whatever it shows.
    EXPECT_EQ(stored("CAN_SEND_OC_IMM", {true, -1}), std::nullopt);
    EXPECT_EQ(stored("CAN_SEND_OC_IMM", {false, 1}), QStringLiteral("0"));
    EXPECT_EQ(stored("TYPE_BLOCK_DESCRIBE", {false, 1}), QStringLiteral("-1"));
    EXPECT_EQ(stored("TYPE_BLOCK_DESCRIBE", {true, 1}), QStringLiteral("1"));
    // Lines are stored with CR LF, whatever the edit gave, and the whole text trimmed.
    EXPECT_EQ(stored("EMT_CONTACTS", {false, -1, 0, QStringLiteral("\n a\nb\r\nc \n")}), QStringLiteral("a\r\nb\r\nc"));
    EXPECT_EQ(stored("FB_SMTP_PORT", {false, -1, 0, QStringLiteral(" 25 ")}), QStringLiteral("25"));
    EXPECT_EQ(stored("PSW_MIN_LENGTH", {false, -1, 31}), QStringLiteral("30"));
}

TEST(PortalSettingsKeysTest, PortsAndAddresses)
{
    for (const char* good : {"1", "25", "00465", "65535"})
        EXPECT_TRUE(IsPort(QString::fromLatin1(good))) << good;
    for (const char* bad : {"", "0", "65536", "123456", "-1", "2 5", "x"})
        EXPECT_FALSE(IsPort(QString::fromLatin1(bad))) << bad;
    for (const char* good : {"a@b.ru", "first.last+tag@mail.test.example", "x_y@d-1.example"})
        EXPECT_TRUE(IsAddress(QString::fromLatin1(good))) << good;
    for (const char* bad : {"", "a", "a@b", "@b.ru", "a@.ru", "a b@c.ru", "a@b.ru;", ".a@b.ru", "a..b@c.ru",
                            "a.@b.ru", "Имя <a@b.ru>"})
        EXPECT_FALSE(IsAddress(QString::fromUtf8(bad))) << bad;
    EXPECT_TRUE(IsAddressList(QStringLiteral("a@b.ru")));
    EXPECT_TRUE(IsAddressList(QStringLiteral("a@b.ru; c@d.ru ,e@f.ru")));
    EXPECT_FALSE(IsAddressList(QStringLiteral("a@b.ru; c@d")));
    EXPECT_FALSE(IsAddressList(QStringLiteral("a@b.ru;")));
    EXPECT_FALSE(IsAddressList(QStringLiteral("a@b.ru c@d.ru")));
}
