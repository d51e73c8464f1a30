#pragma once

#include <QObject>
#include <functional>

class QTimer;
class QWidget;

// The idle-time update of a window's actions: requests gather into one run once the event loop is
// idle, and focus moving into or out of the window asks for one too.
class IdleActionUpdate : public QObject
{
    Q_OBJECT

public:
    IdleActionUpdate(QWidget* window, std::function<void()> update);

    void request();
    // Runs the update at once, dropping a pending request.
    void runNow();
    // No more runs; the window calls it before its widgets go.
    void stop();

private:
    void onFocusChanged(QWidget* old, QWidget* now);

    QWidget* mWindow;
    std::function<void()> mUpdate;
    QTimer* mTimer;
    QMetaObject::Connection mFocus;
    bool mStopped = false;
};
