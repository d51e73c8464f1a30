#pragma once

#include "TEXLTEVBaseReport.h"

// How many clients of each emitent worked on the web in the period.
class TEXLTEVCountClientsWorkInWeb : public TEXLTEVBaseReport
{
    Q_OBJECT

public:
    static constexpr char kSheet[] = "TEVCountVisitByEmitent";
    static constexpr char kProcedure[] = "TEV.TEV_UTILS.GET_COUNT_VISITS_BY_EMITENT";

    TEXLTEVCountClientsWorkInWeb(QObject* owner, const QString& shema, db::Session* session);

protected:
    db::StoredProc* defaultStoredProc() const override { return mProc; }
    void setOwnValues() override;
    QList<DatasetReportTable::Column> rowColumns() const override;

private:
    db::StoredProc* mProc;
};
