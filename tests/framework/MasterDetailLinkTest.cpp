#include "MasterDetailLink.h"

#include "MemDataset.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// A master of three rows keyed 10, 20, 20 (two rows share a key) and a record of what followed.
struct LinkedMaster
{
    LinkedMaster()
    {
        master.addColumn(QStringLiteral("ID"), db::DataType::Integer);
        for (int id : {10, 20, 20})
            master.appendRow({id});
    }
    QStringList followed;
    db::MemDataset master;
    MasterDetailLink link{&master, QStringLiteral("ID"), [this](const QVariant& key) {
                              followed << (key.isNull() ? QStringLiteral("none") : key.toString());
                          }};
};

} // namespace

TEST(MasterDetailLinkTest, FollowsKeyChangesOnlyAndEveryReopen)
{
    LinkedMaster m;
    m.master.open();
    EXPECT_EQ(m.followed, QStringList({"10"}));
    m.master.next(); // 20
    m.master.next(); // 20 again: same key, nothing to follow
    EXPECT_EQ(m.followed, QStringList({"10", "20"}));
    EXPECT_EQ(m.link.currentKey().toInt(), 20);

    m.link.refollow();
    EXPECT_EQ(m.followed.size(), 3);

    m.master.close();
    EXPECT_EQ(m.followed.last(), QStringLiteral("none"));
    EXPECT_TRUE(m.link.currentKey().isNull());
    m.master.open(); // re-read: follows even on the same first key
    m.master.close();
    m.master.open();
    EXPECT_EQ(m.followed, QStringList({"10", "20", "20", "none", "10", "none", "10"}));
}

TEST(MasterDetailLinkTest, SuspendedWalkFollowsOnceAtTheEnd)
{
    LinkedMaster m;
    m.master.open();
    m.link.setSuspended(true);
    for (m.master.first(); !m.master.eof(); m.master.next()) {
    }
    m.master.first();
    m.master.next();
    EXPECT_EQ(m.followed, QStringList({"10"}));
    m.link.setSuspended(false);
    EXPECT_EQ(m.followed, QStringList({"10", "20"}));
}

TEST(MasterDetailLinkTest, EmptyMasterFollowsNoKey)
{
    db::MemDataset master;
    master.addColumn(QStringLiteral("ID"), db::DataType::Integer);
    QList<QVariant> keys;
    MasterDetailLink link(&master, QStringLiteral("ID"), [&](const QVariant& key) { keys << key; });
    master.open();
    ASSERT_EQ(keys.size(), 1);
    EXPECT_TRUE(keys.first().isNull());
}
