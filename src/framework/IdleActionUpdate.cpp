#include "IdleActionUpdate.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

IdleActionUpdate::IdleActionUpdate(QWidget* window, std::function<void()> update)
    : QObject(window), mWindow(window), mUpdate(std::move(update)), mTimer(new QTimer(this))
{
    mTimer->setSingleShot(true);
    mTimer->setInterval(0);
    connect(mTimer, &QTimer::timeout, this, &IdleActionUpdate::runNow);
    mFocus = connect(qApp, &QApplication::focusChanged, this, &IdleActionUpdate::onFocusChanged);
}

void IdleActionUpdate::request()
{
    if (!mStopped)
        mTimer->start();
}

void IdleActionUpdate::runNow()
{
    mTimer->stop();
    if (!mStopped)
        mUpdate();
}

void IdleActionUpdate::stop()
{
    mStopped = true;
    mTimer->stop();
    disconnect(mFocus);
}

void IdleActionUpdate::onFocusChanged(QWidget* old, QWidget* now)
{
    auto inside = [this](QWidget* w) { return w && (w == mWindow || mWindow->isAncestorOf(w)); };
    if (inside(old) || inside(now))
        request();
}
