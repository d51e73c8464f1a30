#pragma once

#include <QObject>
#include <QPointer>

class QAction;

// The window's actions that a service controller enables by the service's state. An action is
// disabled as soon as it is given to the set.
class TSvcActionSet : public QObject
{
    Q_OBJECT

public:
    explicit TSvcActionSet(QObject* owner = nullptr);

    QAction* Start() const { return mStart; }
    QAction* Restart() const { return mRestart; }
    QAction* Stop() const { return mStop; }
    QAction* Pause() const { return mPause; }
    void SetStart(QAction* action);
    void SetRestart(QAction* action);
    void SetStop(QAction* action);
    void SetPause(QAction* action);

signals:
    void changed();

private:
    void take(QPointer<QAction>& slot, QAction* action);

    QPointer<QAction> mStart;
    QPointer<QAction> mRestart;
    QPointer<QAction> mStop;
    QPointer<QAction> mPause;
};
