#include "DRRequestQuery.h"

#include "Catalogue.h"
#include "DbHelpers.h"
#include "Query.h"

#include <QStringList>

namespace {

QString literal(const char16_t* key)
{
    return QLatin1Char('\'') + QuoteSqlText(lang::tr(key)) + QLatin1Char('\'');
}

} // namespace

QString DRRequestQuery::Sql()
{
    // The first view keeps state 6 as "sent"; the three others show it as refused.
    static const char* const lines[] = {
        "SELECT dr_request_id, change_type,",
        "       &shema.tev_utils.trans_text(change_type_str, :plangid, 1) AS change_type_str,",
        "       client_name, wbc_petrol_type_id, card_number, service_name, TO_CHAR(amount) AS amount, "
        "date_of,",
        "       request_state_id, send_oc,",
        "       DECODE(send_oc, 0, &DRSt0, DECODE(request_state_id, 0, &DRSt1, 1, &DRSt1, 2, &DRSt1, 3, "
        "&DRSt3,",
        "              5, &DRSt3, 4, &DRSt4, 6, &DRSt1, &NotFound)) AS request_state_name,",
        "       &shema.tev_utils.trans_text(cancel_cause_name, :plangid, 1) AS cancel_cause_name,",
        "       date_begin, date_end",
        "FROM   &shema.v_tev_dr_request",
        "WHERE  wbc_emitent_id = :pemitentid",
        "UNION ALL",
        "SELECT dd_request_id, change_type, &shema.tev_utils.trans_text(change_type_str, :plangid, 1),",
        "       client_name, wbc_petrol_type_id, card_number, service_name, TO_CHAR(amount), date_of,",
        "       request_state_id, send_oc,",
        "       DECODE(send_oc, 0, &DRSt0, DECODE(request_state_id, 0, &DRSt1, 1, &DRSt1, 2, &DRSt1, 3, "
        "&DRSt3,",
        "              5, &DRSt3, 4, &DRSt4, 6, &DRSt4, &NotFound)),",
        "       &shema.tev_utils.trans_text(cancel_cause_name, :plangid, 1),",
        "       date_begin, date_end",
        "FROM   &shema.v_tev_dd_request",
        "WHERE  wbc_emitent_id = :pemitentid",
        "UNION ALL",
        "SELECT oil_request_id, change_type, &shema.tev_utils.trans_text(change_type_str, :plangid, 1),",
        "       client_name, wbc_petrol_type_id, TO_CHAR(card_number), service_name, TO_CHAR(amount), "
        "date_of,",
        "       request_state_id, send_oc,",
        "       DECODE(send_oc, 0, &DRSt0, DECODE(request_state_id, 0, &DRSt1, 1, &DRSt1, 2, &DRSt1, 3, "
        "&DRSt3,",
        "              5, &DRSt3, 4, &DRSt4, 6, &DRSt4, &NotFound)),",
        "       &shema.tev_utils.trans_text(cancel_cause_name, :plangid, 1),",
        "       date_begin, date_end",
        "FROM   &shema.v_tev_oil_request",
        "WHERE  wbc_emitent_id = :pemitentid",
        "UNION ALL",
        "SELECT request_id, change_type, &shema.tev_utils.trans_text(change_type_str, :plangid, 1),",
        "       client_name, wbc_petrol_type_id, TO_CHAR(card_num),",
        "       DECODE(limit_type_id, 3, service_name, 1, &OnlLimitType0, 2, &OnlLimitType1, &NotFound),",
        "       daily_limit || '/' || weekly_limit || '/' || monthly_limit, date_of,",
        "       request_state_id, send_oc,",
        "       DECODE(send_oc, 0, &DRSt0, DECODE(request_state_id, 0, &DRSt1, 1, &DRSt1, 2, &DRSt1, 3, "
        "&DRSt3,",
        "              5, &DRSt3, 4, &DRSt4, 6, &DRSt4, &NotFound)),",
        "       &shema.tev_utils.trans_text(cancel_cause_name, :plangid, 1),",
        "       NULL, NULL",
        "FROM   &shema.v_tev_onl_limit_card_request",
        "WHERE  wbc_emitent_id = :pemitentid",
        "&ORDER &FIELD"};
    QString text;
    for (const char* line : lines)
        text += QString::fromUtf8(line) + QLatin1String("\r\n");
    return text;
}

void DRRequestQuery::Setup(db::Query& query)
{
    query.setSql(Sql());
    query.setMacro(QStringLiteral("ORDER"), QStringLiteral("ORDER BY"));
    query.setMacro(QStringLiteral("FIELD"), QStringLiteral("1"));
    query.paramByName(QString::fromLatin1(kLangParam)).setDataType(db::DataType::Integer);
    query.paramByName(QString::fromLatin1(kEmitentParam)).setDataType(db::DataType::Integer);
    SetTextMacros(query);
}

void DRRequestQuery::SetTextMacros(db::Query& query)
{
    const std::pair<const char*, const char16_t*> macros[] = {{"DRSt0", u"vrstrDRState0"},
                                                              {"DRSt1", u"vrstrDRState1"},
                                                              {"DRSt3", u"vrstrDRState3"},
                                                              {"DRSt4", u"vrstrDRState4"},
                                                              {"NotFound", u"vrstrNotFound"},
                                                              {"OnlLimitType0", u"vrstrOnlLimitType0"},
                                                              {"OnlLimitType1", u"vrstrOnlLimitType1"}};
    for (const auto& [name, key] : macros)
        query.setMacro(QString::fromLatin1(name), literal(key));
}

QString DRRequestQuery::FilterText(Kind kind, ClientType clientType, State state)
{
    QStringList conditions;
    switch (kind) {
    case Kind::OI:
        conditions << QStringLiteral("(CHANGE_TYPE = 0 OR CHANGE_TYPE = 1)");
        break;
    case Kind::OIL:
        conditions << QStringLiteral("CHANGE_TYPE = 2");
        break;
    case Kind::ILO:
        conditions << QStringLiteral("CHANGE_TYPE = 3");
        break;
    case Kind::All:
        break;
    }
    switch (clientType) {
    case ClientType::Firms:
        conditions << QStringLiteral("WBC_PETROL_TYPE_ID = ") + QString::number(1);
        break;
    case ClientType::Private:
        conditions << QStringLiteral("WBC_PETROL_TYPE_ID = ") + QString::number(0);
        break;
    case ClientType::All:
        break;
    }
    switch (state) {
    case State::Created:
        conditions << QStringLiteral("SEND_OC = 0");
        break;
    case State::Sent:
        conditions << QStringLiteral(
            "(SEND_OC = 1 AND (REQUEST_STATE_ID = 0 OR REQUEST_STATE_ID = 1 OR REQUEST_STATE_ID = 2))");
        break;
    case State::Accepted:
        conditions << QStringLiteral("(SEND_OC = 1 AND (REQUEST_STATE_ID = 3 OR REQUEST_STATE_ID = 5))");
        break;
    case State::Rejected:
        conditions << QStringLiteral("(SEND_OC = 1 AND (REQUEST_STATE_ID = 4 OR REQUEST_STATE_ID = 6))");
        break;
    case State::All:
        break;
    }
    return conditions.join(QStringLiteral(" AND "));
}

std::optional<QColor> DRRequestQuery::KindColor(const QVariant& changeType)
{
    if (changeType.isNull())
        return std::nullopt;
    bool ok = false;
    const int kind = changeType.toInt(&ok);
    if (!ok)
        return std::nullopt;
    switch (kind) {
    case 0:
        return QColor(206, 206, 255);
    case 1:
        return QColor(255, 255, 128);
    case 2:
        return QColor(221, 255, 221);
    case 3:
        return QColor(245, 215, 203);
    default:
        return std::nullopt;
    }
}
