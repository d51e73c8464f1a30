#include "TEXLTEVLoginClients.h"

#include "Catalogue.h"
#include "Query.h"
#include "ReportRules.h"

using xlsx::ColumnType;
using xlsx::TEXLBandType;

const QString TEXLTEVLoginClients::kSql = QStringLiteral(
    "select t.client_name, t.client_state, t.login, t.active_login, t.card_holder_name, t.stateholdername "
    "from &shema.v_tev_logins t where ((-1 = :client_state) or t.client_state = :client_state) "
    "order by t.emitent_id, t.client_name");

TEXLTEVLoginClients::TEXLTEVLoginClients(QObject* owner, const QString& shema, db::Session* session,
                                         bool groupByClient)
    : TEXLTEVBaseReport(owner, shema, session), mQuery(new db::Query(this)), mGrouped(groupByClient)
{
    mQuery->setSql(kSql);
    setCaption(lang::tr(u"rstrLoginClients"));
    xlsx::TEXLReport& e = *engine();
    e.setSheetName(QString::fromLatin1(groupByClient ? kGroupedSheet : kSimpleSheet));
    e.addBand(TEXLBandType::Title, QStringLiteral("A1:G4"));
    e.addBand(TEXLBandType::GroupHeader, QStringLiteral("A5:G5"), QStringLiteral("CLIENT_NAME"));
    e.addBand(TEXLBandType::MasterData, QStringLiteral("A6:G6"));
    e.addBand(TEXLBandType::Summary, QStringLiteral("A7:G9"));
    e.setBeforeBuild([this](xlsx::TEXLReport& report) {
        if (mGrouped)
            return;
        for (int i = 0; i < report.bandCount(); ++i)
            if (report.band(i).type == TEXLBandType::GroupHeader) {
                report.removeBand(i);
                break;
            }
    });
    e.setCellValueHandler([](const xlsx::TEXLBand& band, int column, QVariant& value) {
        if (band.type == TEXLBandType::MasterData && column == kActiveColumn)
            value = reports::activeLoginText(value);
    });
    bindComponents();
}

void TEXLTEVLoginClients::setOwnValues()
{
    setValue(QStringLiteral("Name"), lang::tr(u"rstrNameOfClient"));
    setValue(QStringLiteral("Login"), lang::tr(u"rstrLogin"));
    setValue(QStringLiteral("Holder"), lang::tr(u"rstrHolder"));
    setValue(QStringLiteral("Active"), lang::tr(u"rstrIsActive"));
}

void TEXLTEVLoginClients::fill()
{
    mQuery->close();
    mQuery->setParam(QString::fromLatin1(kClientStateParam), mClientState);
    mQuery->open();
}

db::Dataset* TEXLTEVLoginClients::rowSource() const
{
    return mQuery;
}

QList<DatasetReportTable::Column> TEXLTEVLoginClients::rowColumns() const
{
    return {
        {QStringLiteral("CLIENT_NAME"), {}, ColumnType::Text, true},
        {QStringLiteral("LOGIN"), {}, ColumnType::Text, false},
        {QStringLiteral("ACTIVE_LOGIN"), {}, ColumnType::Integer, false},
        {QStringLiteral("CARD_HOLDER_NAME"), {}, ColumnType::Text, true},
        {QStringLiteral("STATEHOLDERNAME"), {}, ColumnType::Text, false},
    };
}
