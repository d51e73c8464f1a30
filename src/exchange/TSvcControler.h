#pragma once

#include "SvcRules.h"
#include "TSvcActionSet.h"

#include <QComboBox>
#include <QLabel>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <memory>

class QTimer;

// Watches one service: every 100 ms it asks the service manager for the service's state (on a
// worker, one query in flight at a time), shows it in its label and start-type list and enables
// the actions of its action set by the rules. Commands go to the worker queue of
// TSvcThreadControler; the controller never waits for them.
class TSvcControler : public QObject
{
    Q_OBJECT

public:
    static constexpr int kWatchInterval = 100;

    explicit TSvcControler(QObject* owner = nullptr);
    ~TSvcControler() override;

    const QString& ServiceName() const { return mServiceName; }
    // Queries the service at once.
    void SetServiceName(const QString& name);
    const QString& ExePath() const { return mInfo.ExePath; }
    const QString& DisplayName() const { return mInfo.DisplayName; }
    TSvcStatus Status() const { return mInfo.Status; }
    TSvcRunType RunType() const { return mInfo.RunType; }
    TSvcAccesses AccessTypes() const { return mInfo.Accesses; }
    TSvcLabelSet LabelSet() const { return mLabelSet; }
    void SetLabelSet(TSvcLabelSet labels);
    QLabel* ServiceLabel() const { return mLabel; }
    void SetServiceLabel(QLabel* label);
    bool RunTypeInLabel() const { return mRunTypeInLabel; }
    void SetRunTypeInLabel(bool on);
    QComboBox* ComboRunType() const { return mCombo; }
    void SetComboRunType(QComboBox* combo);
    TSvcActionSet* Actions() const { return mActions; }
    void SetActions(TSvcActionSet* actions);
    QTimer* Timer() const { return mTimer; }

    // Start a stopped service or continue a paused one.
    void Start();
    void Stop();
    void Pause();
    void Restart();
    void SetRunType(TSvcRunType type);
    // Queries the service now, on the calling thread.
    void UpdateStatus();

signals:
    void OnBeforeStatusUpdate();
    void OnAfterStatusUpdate(TSvcStatus status);
    void OnBeforeSvcStart();
    void OnAfterSvcStart();

private:
    struct Pending;
    void tick();
    void apply(const TSvcInfo& info);
    void rebuildRunTypeList();
    void refreshLabel();
    void updateActions();
    void connectActions();

    QString mServiceName;
    TSvcInfo mInfo;
    bool mFirst = true;
    TSvcLabelSet mLabelSet = slsRussian;
    QPointer<QLabel> mLabel;
    bool mRunTypeInLabel = false;
    QPointer<QComboBox> mCombo;
    QPointer<TSvcActionSet> mActions;
    QList<QMetaObject::Connection> mActionConnections;
    QMetaObject::Connection mComboConnection;
    QTimer* mTimer;
    std::shared_ptr<Pending> mPending;
};
