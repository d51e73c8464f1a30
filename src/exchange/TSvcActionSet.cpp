#include "TSvcActionSet.h"

#include <QAction>

TSvcActionSet::TSvcActionSet(QObject* owner) : QObject(owner) {}

void TSvcActionSet::take(QPointer<QAction>& slot, QAction* action)
{
    slot = action;
    if (action)
        action->setEnabled(false);
    emit changed();
}

void TSvcActionSet::SetStart(QAction* action)
{
    take(mStart, action);
}

void TSvcActionSet::SetRestart(QAction* action)
{
    take(mRestart, action);
}

void TSvcActionSet::SetStop(QAction* action)
{
    take(mStop, action);
}

void TSvcActionSet::SetPause(QAction* action)
{
    take(mPause, action);
}
