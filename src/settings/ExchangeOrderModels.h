#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// The two exchange orders of the owner emitents as local copies: changed in memory, written only
// when the administrator applies them. Free of widgets and database so the tests drive them alone.

// One call of the order procedures: emitent number, filial number, the new value.
struct OrderWrite
{
    QVariant emitentNumber;
    QVariant filialNumber;
    int value = 0;
    bool operator==(const OrderWrite& o) const
    {
        return emitentNumber == o.emitentNumber && filialNumber == o.filialNumber && value == o.value;
    }
};

// The unload order: a strict sequence; positions 1..n.
class UnloadOrderModel
{
public:
    struct Row
    {
        QVariant emitentNumber;
        QVariant filialNumber;
        QString name; // decoded
        int emitentIdWeb = 0;
        int oldOrder = 0; // as stored
    };

    // Rows in the stored order; they take the positions 1, 2, 3, ...
    void load(const QList<Row>& rows) { mRows = rows; }
    int count() const { return int(mRows.size()); }
    const Row& at(int index) const { return mRows[index]; }
    int position(int index) const { return index + 1; }
    int indexOf(int emitentIdWeb) const;

    bool canUp(int index) const { return index > 0 && index < count(); }
    bool canDown(int index) const { return index >= 0 && index < count() - 1; }
    // The row moves; returns its new index.
    int up(int index);
    int down(int index);

    // Every row whose position differs from what is stored, in position order.
    QList<OrderWrite> writes() const;

private:
    QList<Row> mRows;
};

// The download order: priority levels 1..k, each a set of emitents; the last level k holds the
// emitents without priority (and may be empty).
class DownloadOrderModel
{
public:
    struct Emitent
    {
        QVariant emitentNumber;
        QVariant filialNumber;
        QString name; // decoded
        int emitentIdWeb = 0;
        int level = 0;    // as read
        bool hasOrder = false;
        int oldLevel = 0; // as read
    };

    // The rows as read. Levels of the emitents with a priority are renumbered 1..m in their order
    // (stored levels may have gaps); the emitents without priority form level m + 1.
    void load(const QList<Emitent>& rows);

    int levelCount() const { return mLevels; }
    int lastLevel() const { return mLevels; }
    // "3" for a priority level, "4 ( Без приоритета)" for the last one; `noPriority` is that text.
    QString levelText(int level, const QString& noPriority) const;
    // Emitents of a level, sorted by emitent number and filial number.
    QList<Emitent> emitentsOf(int level) const;
    const QList<Emitent>& emitents() const { return mEmitents; }
    bool changed() const { return mChanged; }

    bool canUp(int level) const { return level > 1 && level < mLevels; }
    bool canDown(int level) const { return level >= 1 && level < mLevels - 1; }
    bool canDeletePriority(int level) const { return level >= 1 && level < mLevels; }
    bool canAddEmitent(int level) const { return level >= 1 && level < mLevels; }
    bool canDeleteEmitent(int level) const { return canAddEmitent(level) && !emitentsOf(level).isEmpty(); }

    // Each returns the level to select afterwards.
    int up(int level);
    int down(int level);
    // A new empty level just before the no-priority one.
    int addPriority();
    // The level's emitents go to the no-priority level and the level disappears; the levels after
    // it move up by one.
    int deletePriority(int level);
    // These emitents (by web id) join the level.
    int addEmitents(int level, const QList<int>& emitentIdWeb);
    // The emitent goes to the no-priority level; a level left empty disappears.
    int deleteEmitent(int level, int emitentIdWeb);

    // Drops the empty priority levels (before applying).
    void dropEmptyLevels();
    // One call per emitent (all of them): its level, or 0 for no priority.
    QList<OrderWrite> writes() const;

private:
    void swapLevels(int a, int b);
    void removeLevel(int level);

    QList<Emitent> mEmitents;
    int mLevels = 1;
    bool mChanged = false;
};
