#include "TSvcControler.h"

#include "ServiceManager.h"
#include "TSvcActionSet.h"
#include "TSvcThreadControler.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMutex>
#include <QSignalBlocker>
#include <QTimer>
#include <QWaitCondition>

// The query in flight: its answer goes to the controller only while the controller lives, and the
// controller waits for it when it goes.
struct TSvcControler::Pending
{
    QMutex mutex;
    QWaitCondition done;
    TSvcControler* target = nullptr;
    bool running = false;
};

TSvcControler::TSvcControler(QObject* owner)
    : QObject(owner), mTimer(new QTimer(this)), mPending(std::make_shared<Pending>())
{
    mPending->target = this;
    mTimer->setInterval(kWatchInterval);
    connect(mTimer, &QTimer::timeout, this, &TSvcControler::tick);
    mTimer->start();
}

TSvcControler::~TSvcControler()
{
    mTimer->stop();
    QMutexLocker lock(&mPending->mutex);
    mPending->target = nullptr;
    while (mPending->running)
        mPending->done.wait(&mPending->mutex);
}

void TSvcControler::SetServiceName(const QString& name)
{
    mServiceName = name;
    mFirst = true;
    UpdateStatus();
}

void TSvcControler::SetLabelSet(TSvcLabelSet labels)
{
    mLabelSet = labels;
    rebuildRunTypeList();
    refreshLabel();
}

void TSvcControler::SetServiceLabel(QLabel* label)
{
    mLabel = label;
    refreshLabel();
}

void TSvcControler::SetRunTypeInLabel(bool on)
{
    mRunTypeInLabel = on;
    refreshLabel();
}

void TSvcControler::SetComboRunType(QComboBox* combo)
{
    disconnect(mComboConnection);
    mCombo = combo;
    if (combo)
        mComboConnection = connect(combo, &QComboBox::activated, this, [this](int item) {
            if (mInfo.Status != svsNotInstalled && item >= 0 && item < 3)
                SetRunType(SvcRules::RunTypeOfItem(item));
        });
    rebuildRunTypeList();
}

void TSvcControler::SetActions(TSvcActionSet* actions)
{
    if (mActions)
        disconnect(mActions, nullptr, this, nullptr);
    mActions = actions;
    if (actions)
        connect(actions, &TSvcActionSet::changed, this, &TSvcControler::connectActions);
    connectActions();
}

void TSvcControler::connectActions()
{
    for (const QMetaObject::Connection& c : mActionConnections)
        disconnect(c);
    mActionConnections.clear();
    if (!mActions)
        return;
    const std::pair<QAction*, void (TSvcControler::*)()> pairs[] = {
        {mActions->Start(), &TSvcControler::Start},
        {mActions->Stop(), &TSvcControler::Stop},
        {mActions->Restart(), &TSvcControler::Restart},
        {mActions->Pause(), &TSvcControler::Pause}};
    for (const auto& [action, handler] : pairs)
        if (action)
            mActionConnections << connect(action, &QAction::triggered, this, handler);
    updateActions();
}

void TSvcControler::Start()
{
    mTimer->stop();
    emit OnBeforeSvcStart();
    mTimer->start();
    TSvcThreadControler::Run(mServiceName, mInfo.Status == svsPaused ? svcContinue : svcStart, mLabelSet);
    emit OnAfterSvcStart();
}

void TSvcControler::Stop()
{
    TSvcThreadControler::Run(mServiceName, svcStop, mLabelSet);
}

void TSvcControler::Pause()
{
    TSvcThreadControler::Run(mServiceName, svcPause, mLabelSet);
}

void TSvcControler::Restart()
{
    TSvcThreadControler::Run(mServiceName, svcRestart, mLabelSet);
}

void TSvcControler::SetRunType(TSvcRunType type)
{
    TSvcThreadControler::RunSetRunType(mServiceName, type);
}

void TSvcControler::UpdateStatus()
{
    if (mServiceName.isEmpty())
        return;
    TSvcInfo info;
    try {
        info = TSvcInfo::fromStatus(serviceManager().query(mServiceName));
    } catch (const std::exception&) {
        // Cannot be opened: not installed, no message.
    }
    mTimer->stop();
    emit OnBeforeStatusUpdate();
    apply(info);
    emit OnAfterStatusUpdate(mInfo.Status);
    mTimer->start();
}

void TSvcControler::tick()
{
    if (mServiceName.isEmpty())
        return;
    {
        QMutexLocker lock(&mPending->mutex);
        if (mPending->running)
            return;
        mPending->running = true;
    }
    mTimer->stop();
    emit OnBeforeStatusUpdate();
    mTimer->start();
    std::shared_ptr<Pending> pending = mPending;
    const QString name = mServiceName;
    TSvcThreadControler::RunQuery([pending, name] {
        TSvcInfo info;
        try {
            info = TSvcInfo::fromStatus(serviceManager().query(name));
        } catch (const std::exception&) {
        }
        QMutexLocker lock(&pending->mutex);
        if (TSvcControler* target = pending->target) {
            QMetaObject::invokeMethod(
                target,
                [target, info, name] {
                    if (name != target->mServiceName)
                        return;
                    target->apply(info);
                    target->mTimer->stop();
                    emit target->OnAfterStatusUpdate(target->mInfo.Status);
                    target->mTimer->start();
                },
                Qt::QueuedConnection);
        }
        pending->running = false;
        pending->done.wakeAll();
    });
}

void TSvcControler::apply(const TSvcInfo& info)
{
    const bool changed = mFirst || info.Status != mInfo.Status || info.RunType != mInfo.RunType;
    mInfo = info;
    mFirst = false;
    if (changed)
        rebuildRunTypeList();
    refreshLabel();
    updateActions();
}

void TSvcControler::rebuildRunTypeList()
{
    if (!mCombo)
        return;
    const QSignalBlocker block(mCombo);
    mCombo->clear();
    QStringList items = SvcRules::RunTypeItems(mLabelSet);
    if (mInfo.Status == svsNotInstalled) {
        mCombo->addItems(items);
        mCombo->setCurrentIndex(3);
        mCombo->setEnabled(false);
        return;
    }
    items.removeLast();
    mCombo->addItems(items);
    mCombo->setCurrentIndex(SvcRules::ItemOfRunType(mInfo.RunType));
    mCombo->setEnabled(true);
}

void TSvcControler::refreshLabel()
{
    if (mLabel)
        mLabel->setText(SvcRules::LabelText(mInfo.Status, mInfo.RunType, mLabelSet, mRunTypeInLabel));
}

void TSvcControler::updateActions()
{
    if (!mActions)
        return;
    const TSvcActionStates s = SvcRules::Actions(mInfo.Status, mInfo.RunType, mInfo.Accesses);
    const std::pair<QAction*, bool> pairs[] = {{mActions->Start(), s.Start},
                                               {mActions->Stop(), s.Stop},
                                               {mActions->Restart(), s.Restart},
                                               {mActions->Pause(), s.Pause}};
    for (const auto& [action, enabled] : pairs)
        if (action)
            action->setEnabled(enabled);
}
