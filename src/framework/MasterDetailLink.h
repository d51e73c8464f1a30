#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>

namespace db {
class Dataset;
class Query;
} // namespace db

// Keeps something (a detail list, a text box, a counter) following the current row of a master
// dataset: `follow` runs with the master's key value whenever the current row's key changes, and
// with a null key when the master closes or becomes empty. A master that opens again (re-read)
// always follows, since the detail may have changed with it.
//
// Walks over the master can suspend the link; resuming follows the row current then, once.
class MasterDetailLink : public QObject
{
    Q_OBJECT

public:
    using Follow = std::function<void(const QVariant& key)>;

    MasterDetailLink(db::Dataset* master, const QString& keyField, Follow follow, QObject* parent = nullptr);
    ~MasterDetailLink() override;

    // A detail query that is closed and reopened with `param` = the master's key; it stays closed
    // while there is no key. `afterFollow` (optional) runs after every follow.
    static MasterDetailLink* reopenQuery(db::Dataset* master, const QString& keyField, db::Query* detail,
                                         const QString& param, QObject* parent, Follow afterFollow = {});

    // The key the detail follows now; null when the master is closed or empty.
    QVariant currentKey() const { return mKey; }
    // The master's current key as it stands (null when closed or empty).
    QVariant masterKey() const;
    // Follows the current row again even when its key did not change (the detail's data did).
    void refollow();
    void setSuspended(bool on);
    bool isSuspended() const { return mSuspended; }

private:
    void masterMoved(bool force);

    QPointer<db::Dataset> mMaster;
    QString mKeyField;
    Follow mFollow;
    QVariant mKey;
    bool mFollowedOnce = false;
    bool mSuspended = false;
    QList<QMetaObject::Connection> mConnections;
};
