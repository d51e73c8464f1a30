#pragma once

#include "TClientInfoObj.h"

#include <QList>
#include <QString>

namespace db {
class Dataset;
}

// One entry of the invitation hand-over list, keyed by the client's WBC_ID as text.
struct TInvitationEntry
{
    QString key;
    TClientInfoObj client;
};
using TInvitationList = QList<TInvitationEntry>;

// The ticked clients the list shows under its current filter, in list order. Filter, filtering
// state and current client of the dataset are as before afterwards.
TInvitationList BuildInvitationList(db::Dataset& clients);
