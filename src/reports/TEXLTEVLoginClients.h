#pragma once

#include "TEXLTEVBaseReport.h"

namespace db {
class Query;
}

// The logins of the portal's clients, of every client or of those in one state; grouped by client
// (sheet TEVLogins) or as a plain list (TEVLoginsSimple).
class TEXLTEVLoginClients : public TEXLTEVBaseReport
{
    Q_OBJECT

public:
    static constexpr char kGroupedSheet[] = "TEVLogins";
    static constexpr char kSimpleSheet[] = "TEVLoginsSimple";
    static constexpr char kClientStateParam[] = "CLIENT_STATE";
    // The column of the master-data band that shows the active flag.
    static constexpr int kActiveColumn = 5;
    static const QString kSql;

    TEXLTEVLoginClients(QObject* owner, const QString& shema, db::Session* session, bool groupByClient);

    bool groupByClient() const { return mGrouped; }
    // -1 every client, else the client_state to show (see reports::loginStateFilter).
    int clientState() const { return mClientState; }
    void setClientState(int state) { mClientState = state; }

    db::Query* query() const { return mQuery; }

protected:
    void setOwnValues() override;
    void fill() override;
    db::Dataset* rowSource() const override;
    QList<DatasetReportTable::Column> rowColumns() const override;

private:
    db::Query* mQuery;
    bool mGrouped;
    int mClientState = -1;
};
