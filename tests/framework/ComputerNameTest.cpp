#include "ComputerName.h"

#include <QSysInfo>
#include <gtest/gtest.h>

TEST(ComputerNameTest, ShortHostNameUpperCased)
{
    struct Case
    {
        QString host, expected;
    };
    const std::vector<Case> cases = {
        {"build-7.example.org", "BUILD-7"},
        {"tevsrv", "TEVSRV"},
        {"MiXeD.local", "MIXED"},
        {" office-pc \n", "OFFICE-PC"},
        {"", ""},
        {".", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ComputerNameFromHostName(c.host), c.expected) << c.host.toStdString();

    const QString name = ComputerName();
    EXPECT_FALSE(name.isEmpty());
    EXPECT_EQ(name, ComputerNameFromHostName(QSysInfo::machineHostName()));
    EXPECT_FALSE(name.contains('.'));
    EXPECT_EQ(name, name.toUpper());
}
