#include "ExchangeOrderModels.h"

#include <gtest/gtest.h>

namespace {

using E = DownloadOrderModel::Emitent;

// Emitent number n (filial 0, web id n) at a stored level; level 0 is no priority.
E emitent(int number, int storedLevel, int noPriorityAs = 99)
{
    E e;
    e.emitentNumber = number;
    e.filialNumber = 0;
    e.name = QStringLiteral("E%1").arg(number);
    e.emitentIdWeb = number;
    e.hasOrder = storedLevel != 0;
    e.level = storedLevel != 0 ? storedLevel : noPriorityAs;
    return e;
}

// "level: numbers | level: numbers", the last level included.
QString levels(const DownloadOrderModel& m)
{
    QStringList parts;
    for (int level = 1; level <= m.levelCount(); ++level) {
        QStringList numbers;
        for (const E& e : m.emitentsOf(level))
            numbers << e.emitentNumber.toString();
        parts << QStringLiteral("%1: %2").arg(level).arg(numbers.join(QLatin1Char(',')));
    }
    return parts.join(QStringLiteral(" | "));
}

// "number=value" per call.
QString calls(const QList<OrderWrite>& writes)
{
    QStringList parts;
    for (const OrderWrite& w : writes)
        parts << QStringLiteral("%1=%2").arg(w.emitentNumber.toString()).arg(w.value);
    return parts.join(QLatin1Char(' '));
}

UnloadOrderModel unload(const QList<int>& stored)
{
    QList<UnloadOrderModel::Row> rows;
    for (int i = 0; i < stored.size(); ++i)
        rows.append({i + 1, 0, QStringLiteral("E%1").arg(i + 1), i + 1, stored[i]});
    UnloadOrderModel m;
    m.load(rows);
    return m;
}

} // namespace

TEST(UnloadOrderModel, WritesOnlyPositionsThatDifferFromWhatIsStored)
{
    EXPECT_EQ(calls(unload({1, 2, 3}).writes()), QString()) << "already 1..n";
    EXPECT_EQ(calls(unload({10, 20, 30}).writes()), QStringLiteral("1=1 2=2 3=3"));
    EXPECT_EQ(calls(unload({0, 0, 3}).writes()), QStringLiteral("1=1 2=2"));

    UnloadOrderModel m = unload({1, 2, 3});
    EXPECT_FALSE(m.canUp(0));
    EXPECT_FALSE(m.canDown(2));
    EXPECT_EQ(m.up(2), 1);
    EXPECT_EQ(calls(m.writes()), QStringLiteral("3=2 2=3"));
    EXPECT_EQ(m.down(1), 2) << "and back";
    EXPECT_EQ(calls(m.writes()), QString());
}

TEST(DownloadOrderModel, StoredLevelsWithGapsAreRenumberedAndTheLastLevelHasNoPriority)
{
    DownloadOrderModel m;
    m.load({emitent(1, 1), emitent(2, 3), emitent(3, 7), emitent(4, 0, 8), emitent(5, 3)});
    EXPECT_EQ(levels(m), QStringLiteral("1: 1 | 2: 2,5 | 3: 3 | 4: 4"));
    EXPECT_EQ(m.levelText(3, QStringLiteral("Без приоритета")), QStringLiteral("3"));
    EXPECT_EQ(m.levelText(4, QStringLiteral("Без приоритета")), QStringLiteral("4 ( Без приоритета)"));
    EXPECT_FALSE(m.changed());
    // Written as renumbered, without priority as 0.
    EXPECT_EQ(calls(m.writes()), QStringLiteral("1=1 2=2 3=3 4=0 5=2"));
}

TEST(DownloadOrderModel, EveryEmitentWithPriorityGivesAnEmptyLastLevelNoneGivesOneLevel)
{
    DownloadOrderModel all;
    all.load({emitent(1, 1), emitent(2, 2)});
    EXPECT_EQ(levels(all), QStringLiteral("1: 1 | 2: 2 | 3: "));

    DownloadOrderModel none;
    none.load({emitent(1, 0, 1), emitent(2, 0, 1)});
    EXPECT_EQ(levels(none), QStringLiteral("1: 1,2"));
    EXPECT_FALSE(none.canUp(1));
    EXPECT_FALSE(none.canDown(1));
    EXPECT_FALSE(none.canDeletePriority(1));
    EXPECT_FALSE(none.canAddEmitent(1));
    EXPECT_FALSE(none.canDeleteEmitent(1));
}

TEST(DownloadOrderModel, LevelsMoveAddAndLoseEmitents)
{
    DownloadOrderModel m;
    m.load({emitent(1, 1), emitent(2, 2), emitent(3, 3), emitent(4, 0)});
    ASSERT_EQ(levels(m), QStringLiteral("1: 1 | 2: 2 | 3: 3 | 4: 4"));
    EXPECT_FALSE(m.canUp(1));
    EXPECT_FALSE(m.canUp(4)) << "the no-priority level stays last";
    EXPECT_FALSE(m.canDown(3)) << "nothing moves below the no-priority level";

    EXPECT_EQ(m.up(3), 2);
    EXPECT_EQ(levels(m), QStringLiteral("1: 1 | 2: 3 | 3: 2 | 4: 4"));
    EXPECT_EQ(m.down(1), 2);
    EXPECT_EQ(levels(m), QStringLiteral("1: 3 | 2: 1 | 3: 2 | 4: 4"));
    EXPECT_TRUE(m.changed());

    EXPECT_EQ(m.addPriority(), 4);
    EXPECT_EQ(levels(m), QStringLiteral("1: 3 | 2: 1 | 3: 2 | 4:  | 5: 4"));
    EXPECT_EQ(m.addEmitents(4, {4}), 4);
    EXPECT_EQ(levels(m), QStringLiteral("1: 3 | 2: 1 | 3: 2 | 4: 4 | 5: "));

    // Removing the only emitent of a level removes the level; the levels after it move up.
    EXPECT_EQ(m.deleteEmitent(2, 1), 2);
    EXPECT_EQ(levels(m), QStringLiteral("1: 3 | 2: 2 | 3: 4 | 4: 1"));
    EXPECT_EQ(m.deletePriority(1), 1);
    EXPECT_EQ(levels(m), QStringLiteral("1: 2 | 2: 4 | 3: 1,3"));
    EXPECT_EQ(calls(m.writes()), QStringLiteral("1=0 2=1 3=0 4=2"));
}

TEST(DownloadOrderModel, EmptyPriorityLevelsAreDroppedBeforeWriting)
{
    DownloadOrderModel m;
    m.load({emitent(1, 1), emitent(2, 2), emitent(3, 0)});
    m.addPriority();
    m.addPriority();
    ASSERT_EQ(levels(m), QStringLiteral("1: 1 | 2: 2 | 3:  | 4:  | 5: 3"));
    m.dropEmptyLevels();
    EXPECT_EQ(levels(m), QStringLiteral("1: 1 | 2: 2 | 3: 3"));
    EXPECT_EQ(calls(m.writes()), QStringLiteral("1=1 2=2 3=0"));
}

TEST(DownloadOrderModel, RemovingTheLastEmitentOfTheLastPriorityLevelSelectsTheLevelThatTakesItsPlace)
{
    DownloadOrderModel m;
    m.load({emitent(1, 1), emitent(2, 2), emitent(3, 0)});
    EXPECT_EQ(m.deleteEmitent(2, 2), 2);
    EXPECT_EQ(levels(m), QStringLiteral("1: 1 | 2: 2,3"));
    EXPECT_EQ(m.lastLevel(), 2);
    EXPECT_EQ(m.deleteEmitent(1, 1), 1);
    EXPECT_EQ(levels(m), QStringLiteral("1: 1,2,3"));
    EXPECT_EQ(calls(m.writes()), QStringLiteral("1=0 2=0 3=0"));
}
