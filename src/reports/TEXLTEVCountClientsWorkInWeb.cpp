#include "TEXLTEVCountClientsWorkInWeb.h"

#include "Catalogue.h"
#include "StoredProc.h"

using xlsx::ColumnType;
using xlsx::TEXLBandType;

TEXLTEVCountClientsWorkInWeb::TEXLTEVCountClientsWorkInWeb(QObject* owner, const QString& shema,
                                                           db::Session* session)
    : TEXLTEVBaseReport(owner, shema, session), mProc(new db::StoredProc(this))
{
    mProc->setStoredProcName(QString::fromLatin1(kProcedure));
    setCaption(lang::tr(u"rstrCountClientsWorkInWeb"));
    xlsx::TEXLReport& e = *engine();
    e.setSheetName(QString::fromLatin1(kSheet));
    e.addBand(TEXLBandType::Title, QStringLiteral("A1:D7"));
    e.addBand(TEXLBandType::MasterData, QStringLiteral("A9:D9"));
    e.addBand(TEXLBandType::Summary, QStringLiteral("A11:D15"));
    bindComponents();
}

void TEXLTEVCountClientsWorkInWeb::setOwnValues()
{
    setValue(QStringLiteral("TotalByReport"), lang::tr(u"rstrTotalByReport"));
    setValue(QStringLiteral("Emitent"), lang::tr(u"rstrEmitent"));
    setValue(QStringLiteral("CountClients"), lang::tr(u"rstrCountClients"));
}

QList<DatasetReportTable::Column> TEXLTEVCountClientsWorkInWeb::rowColumns() const
{
    return {
        {QStringLiteral("EMITENT"), {}, ColumnType::Text, true},
        {QStringLiteral("CLIENTS_COUNT"), {}, ColumnType::Integer, false},
    };
}
