#include "MasterDetailLink.h"

#include "Dataset.h"
#include "Query.h"

MasterDetailLink::MasterDetailLink(db::Dataset* master, const QString& keyField, Follow follow,
                                   QObject* parent)
    : QObject(parent), mMaster(master), mKeyField(keyField), mFollow(std::move(follow))
{
    mConnections << connect(master, &db::Dataset::afterOpen, this, [this] { masterMoved(true); });
    mConnections << connect(master, &db::Dataset::afterClose, this, [this] { masterMoved(false); });
    mConnections << connect(master, &db::Dataset::afterScroll, this, [this] { masterMoved(false); });
    mConnections << connect(master, &db::Dataset::rowsReset, this, [this] { masterMoved(false); });
    mConnections << connect(master, &db::Dataset::rowChanged, this, [this] { masterMoved(false); });
}

MasterDetailLink::~MasterDetailLink()
{
    for (const QMetaObject::Connection& c : mConnections)
        disconnect(c);
}

MasterDetailLink* MasterDetailLink::reopenQuery(db::Dataset* master, const QString& keyField,
                                                db::Query* detail, const QString& param, QObject* parent,
                                                Follow afterFollow)
{
    QPointer<db::Query> target(detail);
    return new MasterDetailLink(
        master, keyField,
        [target, param, afterFollow](const QVariant& key) {
            if (target) {
                target->close();
                if (!key.isNull()) {
                    target->setParam(param, key);
                    target->open();
                }
            }
            if (afterFollow)
                afterFollow(key);
        },
        parent);
}

QVariant MasterDetailLink::masterKey() const
{
    if (!mMaster || !mMaster->isOpen() || mMaster->isEmpty() || mMaster->currentRow() < 0)
        return {};
    return mMaster->value(mKeyField);
}

void MasterDetailLink::refollow()
{
    masterMoved(true);
}

void MasterDetailLink::setSuspended(bool on)
{
    if (mSuspended == on)
        return;
    mSuspended = on;
    if (!on)
        masterMoved(false);
}

void MasterDetailLink::masterMoved(bool force)
{
    if (mSuspended)
        return;
    const QVariant key = masterKey();
    // Null and a value differ; two nulls are the same row (none).
    const bool same = mFollowedOnce && key.isNull() == mKey.isNull() && (key.isNull() || key == mKey);
    if (same && !force)
        return;
    mKey = key;
    mFollowedOnce = true;
    if (mFollow)
        mFollow(key);
}
