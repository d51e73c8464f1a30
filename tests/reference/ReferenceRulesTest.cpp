#include "ReferenceRules.h"

#include <gtest/gtest.h>

using namespace reference;

TEST(ReferenceRulesTest, FlagSwapAndBulkValues)
{
    struct Row
    {
        const char* name;
        int current;
        int swapped;
    };
    const Row rows[] = {{"one becomes zero", 1, 0},
                        {"zero becomes one", 0, 1},
                        {"two goes down by one", 2, 1},
                        {"minus one becomes two", -1, 2}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(SwapFlag(r.current), r.swapped);
        EXPECT_EQ(BulkFlagValue(BulkFlag::Invert, r.current), r.swapped);
        EXPECT_EQ(BulkFlagValue(BulkFlag::CheckAll, r.current), 1);
        EXPECT_EQ(BulkFlagValue(BulkFlag::UncheckAll, r.current), 0);
    }
}

TEST(ReferenceRulesTest, SettingSwitchIsOnWhenItConvertsToOne)
{
    struct Row
    {
        const char* value;
        bool on;
    };
    const Row rows[] = {{"1", true},  {" 1", true}, {"01", true},   {"1 ", true},   {"", false},
                        {"0", false}, {"2", false}, {"yes", false}, {"1.0", false}, {"-1", false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        EXPECT_EQ(ConfigSwitchOn(QString::fromLatin1(r.value)), r.on);
    }
    EXPECT_EQ(ConfigSwitchText(true), QStringLiteral("1"));
    EXPECT_EQ(ConfigSwitchText(false), QStringLiteral("0"));
}

TEST(ReferenceRulesTest, HelpItemKindsAndBuiltInIds)
{
    EXPECT_EQ(HelpTypeString(true, false, true), QStringLiteral("101"));
    EXPECT_EQ(HelpTypeString(false, true, false), QStringLiteral("010"));
    EXPECT_TRUE(HelpTypeTicked(QStringLiteral("101"), 0));
    EXPECT_FALSE(HelpTypeTicked(QStringLiteral("101"), 1));
    EXPECT_TRUE(HelpTypeTicked(QStringLiteral("101"), 2));
    EXPECT_FALSE(HelpTypeTicked(QStringLiteral("1"), 2)); // short strings tick nothing beyond their end
    EXPECT_TRUE(IsBuiltInHelpItem(9999));
    EXPECT_FALSE(IsBuiltInHelpItem(10000));
}
