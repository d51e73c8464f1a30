#include "ExchangeOrderModels.h"

#include <algorithm>
#include <map>

// ---------------------------------------------------------------------------------------------
// Unload order

int UnloadOrderModel::indexOf(int emitentIdWeb) const
{
    for (int i = 0; i < count(); ++i)
        if (mRows[i].emitentIdWeb == emitentIdWeb)
            return i;
    return -1;
}

int UnloadOrderModel::up(int index)
{
    if (!canUp(index))
        return index;
    mRows.swapItemsAt(index, index - 1);
    return index - 1;
}

int UnloadOrderModel::down(int index)
{
    if (!canDown(index))
        return index;
    mRows.swapItemsAt(index, index + 1);
    return index + 1;
}

QList<OrderWrite> UnloadOrderModel::writes() const
{
    QList<OrderWrite> calls;
    for (int i = 0; i < count(); ++i)
        if (mRows[i].oldOrder != position(i))
            calls.append({mRows[i].emitentNumber, mRows[i].filialNumber, position(i)});
    return calls;
}

// ---------------------------------------------------------------------------------------------
// Download order

void DownloadOrderModel::load(const QList<Emitent>& rows)
{
    mEmitents = rows;
    std::map<int, int> renumbered;
    for (const Emitent& e : rows)
        if (e.hasOrder)
            renumbered.emplace(e.level, 0);
    int next = 0;
    for (auto& [stored, level] : renumbered)
        level = ++next;
    mLevels = next + 1;
    for (Emitent& e : mEmitents) {
        e.oldLevel = e.level;
        e.level = e.hasOrder ? renumbered[e.level] : mLevels;
    }
    mChanged = false;
}

QString DownloadOrderModel::levelText(int level, const QString& noPriority) const
{
    QString text = QString::number(level);
    if (level == mLevels)
        text += QStringLiteral(" ( ") + noPriority + QLatin1Char(')');
    return text;
}

QList<DownloadOrderModel::Emitent> DownloadOrderModel::emitentsOf(int level) const
{
    QList<Emitent> found;
    for (const Emitent& e : mEmitents)
        if (e.level == level)
            found.append(e);
    std::stable_sort(found.begin(), found.end(), [](const Emitent& a, const Emitent& b) {
        const qlonglong an = a.emitentNumber.toLongLong(), bn = b.emitentNumber.toLongLong();
        if (an != bn)
            return an < bn;
        return a.filialNumber.toLongLong() < b.filialNumber.toLongLong();
    });
    return found;
}

void DownloadOrderModel::swapLevels(int a, int b)
{
    for (Emitent& e : mEmitents) {
        if (e.level == a)
            e.level = b;
        else if (e.level == b)
            e.level = a;
    }
}

void DownloadOrderModel::removeLevel(int level)
{
    // The level's emitents are without priority now; the levels after it move up by one.
    for (Emitent& e : mEmitents) {
        if (e.level == level) {
            e.level = mLevels;
            e.hasOrder = false;
        }
    }
    for (Emitent& e : mEmitents)
        if (e.level > level)
            --e.level;
    --mLevels;
}

int DownloadOrderModel::up(int level)
{
    if (!canUp(level))
        return level;
    swapLevels(level, level - 1);
    mChanged = true;
    return level - 1;
}

int DownloadOrderModel::down(int level)
{
    if (!canDown(level))
        return level;
    swapLevels(level, level + 1);
    mChanged = true;
    return level + 1;
}

int DownloadOrderModel::addPriority()
{
    ++mLevels;
    for (Emitent& e : mEmitents)
        if (e.level == mLevels - 1)
            e.level = mLevels; // the no-priority level keeps the highest number
    mChanged = true;
    return mLevels - 1;
}

int DownloadOrderModel::deletePriority(int level)
{
    if (!canDeletePriority(level))
        return level;
    removeLevel(level);
    mChanged = true;
    return std::min(level, mLevels);
}

int DownloadOrderModel::addEmitents(int level, const QList<int>& emitentIdWeb)
{
    if (!canAddEmitent(level) || emitentIdWeb.isEmpty())
        return level;
    for (Emitent& e : mEmitents)
        if (e.level == mLevels && emitentIdWeb.contains(e.emitentIdWeb)) {
            e.level = level;
            e.hasOrder = true;
            mChanged = true;
        }
    return level;
}

int DownloadOrderModel::deleteEmitent(int level, int emitentIdWeb)
{
    if (!canDeleteEmitent(level))
        return level;
    for (Emitent& e : mEmitents)
        if (e.level == level && e.emitentIdWeb == emitentIdWeb) {
            e.level = mLevels;
            e.hasOrder = false;
            mChanged = true;
        }
    if (emitentsOf(level).isEmpty())
        return deletePriority(level);
    return level;
}

void DownloadOrderModel::dropEmptyLevels()
{
    for (int level = mLevels - 1; level >= 1; --level)
        if (emitentsOf(level).isEmpty())
            removeLevel(level);
}

QList<OrderWrite> DownloadOrderModel::writes() const
{
    QList<OrderWrite> calls;
    for (const Emitent& e : mEmitents)
        calls.append({e.emitentNumber, e.filialNumber, e.hasOrder ? e.level : 0});
    return calls;
}
