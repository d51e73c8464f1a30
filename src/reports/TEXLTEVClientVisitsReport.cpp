#include "TEXLTEVClientVisitsReport.h"

#include "Catalogue.h"
#include "StoredProc.h"

using xlsx::ColumnType;
using xlsx::TEXLBandType;

TEXLTEVClientVisitsReport::TEXLTEVClientVisitsReport(QObject* owner, const QString& shema,
                                                     db::Session* session)
    : TEXLTEVBaseReport(owner, shema, session), mProc(new db::StoredProc(this))
{
    mProc->setStoredProcName(QString::fromLatin1(kProcedure));
    setCaption(lang::tr(u"rstrCountVisits"));
    xlsx::TEXLReport& e = *engine();
    e.setSheetName(QString::fromLatin1(kSheet));
    e.addBand(TEXLBandType::Title, QStringLiteral("A1:F7"));
    e.addBand(TEXLBandType::GroupHeader, QStringLiteral("A9:F9"), QStringLiteral("EMITENT"));
    e.addBand(TEXLBandType::MasterData, QStringLiteral("A11:F11"));
    e.addBand(TEXLBandType::GroupFooter, QStringLiteral("A13:F13"), QStringLiteral("EMITENT"));
    e.addBand(TEXLBandType::Summary, QStringLiteral("A14:F18"));
    bindComponents();
}

void TEXLTEVClientVisitsReport::setOwnValues()
{
    setValue(QStringLiteral("TotalByEmitent"), lang::tr(u"rstrTotalByEmitent"));
    setValue(QStringLiteral("TotalByReport"), lang::tr(u"rstrTotalByReport"));
    setValue(QStringLiteral("Emitent"), lang::tr(u"rstrEmitent"));
    setValue(QStringLiteral("NameOfClient"), lang::tr(u"rstrNameOfClient"));
    setValue(QStringLiteral("DateLastVisit"), lang::tr(u"rstrDateLastVisit"));
    setValue(QStringLiteral("CountVisitsByClient"), lang::tr(u"rstrCountVisitsByClient"));
}

QList<DatasetReportTable::Column> TEXLTEVClientVisitsReport::rowColumns() const
{
    return {
        {QStringLiteral("EMITENT"), {}, ColumnType::Integer, false},
        {QStringLiteral("CLIENT_NAME"), {}, ColumnType::Text, true},
        {QStringLiteral("LAST_VISIT_DATE"), {}, ColumnType::DateTime, false},
        {QStringLiteral("COUNT_VISITS"), QStringLiteral("COUNT_VISITS_ON_PERIOD"), ColumnType::Integer,
         false},
    };
}
