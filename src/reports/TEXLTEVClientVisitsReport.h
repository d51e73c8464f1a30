#pragma once

#include "TEXLTEVBaseReport.h"

// Visits per client in the period, grouped by emitent.
class TEXLTEVClientVisitsReport : public TEXLTEVBaseReport
{
    Q_OBJECT

public:
    static constexpr char kSheet[] = "TEVCountVisit";
    static constexpr char kProcedure[] = "TEV.TEV_UTILS.GET_COUNT_WEB_CLIENTS_VISITS";

    TEXLTEVClientVisitsReport(QObject* owner, const QString& shema, db::Session* session);

protected:
    db::StoredProc* defaultStoredProc() const override { return mProc; }
    void setOwnValues() override;
    QList<DatasetReportTable::Column> rowColumns() const override;

private:
    db::StoredProc* mProc;
};
