#include "ConnectionSettings.h"
#include "CoreTestSupport.h"
#include "IniFile.h"

#include <gtest/gtest.h>

TEST(ConnectionSettingsTest, MissingKeysTakeTheirDefaults)
{
    AppFolder folder;
    lang::IniFile ini(folder.ini());
    const ConnectionSettings s(ini);
    EXPECT_EQ(s.server(), "TEVDB");
    EXPECT_EQ(s.user(), "tev_user");
    EXPECT_EQ(s.home(), 1);
    EXPECT_EQ(s.savedPassword(), "");
    EXPECT_FALSE(s.autoConnect());
    EXPECT_FALSE(s.separateManage());
    EXPECT_EQ(s.lastManagerId(), -1);
    EXPECT_TRUE(s.showConnectSetup());
    EXPECT_EQ(s.defaultUser(), "");
    EXPECT_FALSE(s.hasLanguageSection());
    EXPECT_EQ(s.languageId(), 25);
    EXPECT_EQ(s.lastSelectedEmitent(), -1);
    EXPECT_EQ(s.flaggedScheme(), "");
    EXPECT_FALSE(QFile::exists(folder.ini())) << "reading must not create the file";
}

// The on/off keys of CONNECTION are on only for the integer 1.
TEST(ConnectionSettingsTest, SwitchesCompareWithOne)
{
    struct Row
    {
        const char* value;
        bool on;
    } rows[] = {{"1", true}, {"0", false}, {"2", false}, {"-1", false}, {"yes", false}, {"", false}};
    for (const Row& r : rows) {
        AppFolder folder;
        const QString v = QString::fromLatin1(r.value);
        folder.write({"[CONNECTION]", "auto_connect=" + v, "separate_manage=" + v, "show_connect_setup=" + v});
        lang::IniFile ini(folder.ini());
        const ConnectionSettings s(ini);
        EXPECT_EQ(s.autoConnect(), r.on) << r.value;
        EXPECT_EQ(s.separateManage(), r.on) << r.value;
        // Not a number reads as the default 1; any other number but 1 is off.
        EXPECT_EQ(s.showConnectSetup(), r.on || v == "yes" || v.isEmpty()) << r.value;
    }
}

TEST(ConnectionSettingsTest, SchemeFlags)
{
    struct Row
    {
        const char* name;
        QStringList lines;
        QString flagged;
    } rows[] = {
        {"no section", {"[CONNECTION]", "user=x"}, ""},
        {"empty section", {"[SCHEMES]"}, ""},
        {"none set", {"[SCHEMES]", "TEV=0", "WEB2=0"}, ""},
        {"first set wins", {"[SCHEMES]", "TEV=0", "WEB2=1", "WEB3=1"}, "WEB2"},
        {"any non-zero integer", {"[schemes]", "TEV=0", "WEB2=7"}, "WEB2"},
        {"not a number is off", {"[SCHEMES]", "TEV=yes", "WEB2=1"}, "WEB2"},
    };
    for (const Row& r : rows) {
        AppFolder folder;
        folder.write(r.lines);
        lang::IniFile ini(folder.ini());
        EXPECT_EQ(ConnectionSettings(ini).flaggedScheme(), r.flagged) << r.name;
    }

    AppFolder folder;
    folder.write({"[SCHEMES]", "TEV=1", "WEB2=0"});
    lang::IniFile ini(folder.ini());
    ConnectionSettings s(ini);
    s.setActiveScheme("WEB3");
    EXPECT_EQ(s.schemes(), QStringList({"TEV", "WEB2", "WEB3"}));
    EXPECT_EQ(ini.readInteger("SCHEMES", "TEV"), 0);
    EXPECT_EQ(ini.readInteger("SCHEMES", "WEB3"), 1);
    s.removeScheme("web3");
    EXPECT_EQ(s.schemes(), QStringList({"TEV", "WEB2"}));
    EXPECT_EQ(s.flaggedScheme(), "");
}
