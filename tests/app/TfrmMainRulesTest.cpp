#include "CommandTable.h"
#include "MainRules.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace MainRules;

TEST(TfrmMainRules, RoleByTheUpperCasedUserName)
{
    struct Row
    {
        const char* user;
        Role role;
    } rows[] = {
        {"TEV_OPERATOR", Role::Operator},       {"tev_operator", Role::Operator},
        {"Tev_Operator", Role::Operator},       {"TEV_MANAGER", Role::Manager},
        {"tev_manager", Role::Manager},         {"TEV_USER", Role::Administrator},
        {"TEV_OPERATOR2", Role::Administrator}, {"", Role::Administrator},
    };
    for (const Row& r : rows)
        EXPECT_EQ(RoleOf(r.user), r.role) << r.user;
}

TEST(TfrmMainRules, RightsOfTheThreeRoles)
{
    EXPECT_EQ(HiddenCommands(Role::Operator), QStringList({"acSettings", "acEmitentSelect", "acPOSes",
                                                           "acTrnTypes", "acHelp", "actManager"}));
    EXPECT_EQ(HiddenCommands(Role::Manager), QStringList({"acSettings", "acHelp", "acSchemesForWeb",
                                                          "acTermsForWeb", "acTrnTypeGroup", "actManager"}));
    EXPECT_TRUE(HiddenCommands(Role::Administrator).isEmpty());
    EXPECT_TRUE(InterfaceLanguagesHidden(Role::Operator));
    EXPECT_FALSE(InterfaceLanguagesHidden(Role::Manager));
    EXPECT_TRUE(WebLanguagesHidden(Role::Operator));
    EXPECT_TRUE(WebLanguagesHidden(Role::Manager));
    EXPECT_FALSE(WebLanguagesHidden(Role::Administrator));
    EXPECT_FALSE(AllEmitents(Role::Manager));
    EXPECT_TRUE(AllEmitents(Role::Operator));
    // every command a role loses is reset before the rights are applied, and is a menu command
    for (Role role : {Role::Operator, Role::Manager})
        for (const QString& name : HiddenCommands(role)) {
            EXPECT_TRUE(RightsCommands().contains(name)) << name.toStdString();
            EXPECT_TRUE(std::any_of(MainCommands().begin(), MainCommands().end(), [&](const MainCommand& c) {
                return name == QLatin1String(c.name);
            })) << name.toStdString();
        }
}

TEST(TfrmMainRules, ServicesBoundToThisComputer)
{
    struct Row
    {
        const char* name;
        bool in, out;
        const char* hostIn;
        const char* hostOut;
        int binding, local;
    } rows[] = {
        {"nothing installed", false, false, "PC1", "PC1", 0, 0},
        {"both here, both ours", true, true, "pc1", "PC1", 3, 3},
        {"both here, import ours", true, true, "PC1", "PC2", 1, 3},
        {"both here, export ours", true, true, "PC2", "Pc1", 2, 3},
        {"both here, none ours", true, true, "PC2", "", 0, 3},
        {"import only, ours", true, false, "PC1", "PC1", 1, 1},
        {"export only, ours", false, true, "PC1", "PC1", 2, 2},
        {"export only, setting names another", false, true, "PC1", "PC2", 0, 2},
        {"settings name us, nothing installed", false, false, "PC1", "PC1", 0, 0},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ServiceBinding(r.in, r.out, r.hostIn, r.hostOut, "PC1"), r.binding) << r.name;
        EXPECT_EQ(LocalServices(r.in, r.out), r.local) << r.name;
    }
}

TEST(TfrmMainRules, OnlyTheFirstSevenCharactersOfTheVersionCount)
{
    struct Row
    {
        const char* version;
        bool matches;
    } rows[] = {
        {"2.9.5.1", true},  {"2.9.5.1.3", true}, {"2.9.5.10", true}, {"2.9.5.1 build 7", true},
        {"2.9.5.2", false}, {"2.9.5", false},    {"", false},        {" 2.9.5.1", false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(VersionMatches(r.version), r.matches) << r.version;
}
