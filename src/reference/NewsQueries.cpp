#include "NewsQueries.h"

QString NewsQueries::News::sql()
{
    return QStringLiteral(
        "SELECT news_id, headline_news, date_news, body_news, cardholder_visibility,\n"
        "       DECODE(cardholder_visibility, 0, &vNo, &vYes) AS cardholder_visibility_txt\n"
        "FROM &shema.v_news\n"
        "&ORDER &FIELD");
}

QString NewsQueries::NewsGroups::sql()
{
    return QStringLiteral("SELECT v.news_id, v.group_id, v.name_group\n"
                          "FROM &shema.V_GROUP_NEWS v\n"
                          "WHERE v.news_id = :news_id\n"
                          "&ORDER &FIELD");
}

QString NewsQueries::Emitents::membersSql()
{
    return QStringLiteral("SELECT 0 isvisible, v.emitent_id_web, v.emitent_number, v.filial_number, "
                          "v.emitent_name FROM &shema.V_SUBSCRIBED_EMITENTS v WHERE v.group_id = :group_id "
                          "&ORDER &FIELD");
}

QString NewsQueries::Clients::membersSql()
{
    return QStringLiteral(
        "SELECT 0 isvisible, NVL(DECODE(:rpt, 0, TRIM(v.wbc_name), TRIM(v.name_for_report)), v.wbc_name) AS "
        "wbc_name, v.wbc_id, DECODE(v.wbc_petrol_type_id, 3, 1, 4, 2, v.wbc_petrol_type_id) AS "
        "wbc_petrol_type_id, v.clientislnr, v.clientisbonus FROM &shema.V_SUBSCRIBED_CLIENTS v WHERE "
        "v.group_id = :group_id &ORDER &FIELD");
}

QString NewsQueries::EmitentChooser::sql()
{
    return QStringLiteral(
        "SELECT V.EMITENT_ID_WEB, V.EMITENT_NUMBER, V.FILIAL_NUMBER, V.EMITENT_NAME, '[' || "
        "V.EMITENT_NUMBER || ', ' || V.FILIAL_NUMBER || '] ' || V.EMITENT_NAME AS "
        "\"EM_FULL_NAME\" FROM &shema.V_TEV_EMITENT_OWNER V ORDER BY EMITENT_NUMBER");
}
