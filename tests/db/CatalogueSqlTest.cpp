// Every shared SQL text of the console runs unchanged against the portal schema, as the
// administrator account, through the access layer.
#include "PgFixture.h"
#include "Query.h"
#include "Script.h"
#include "Session.h"
#include "core/SharedQueryTexts.h"

#include <gtest/gtest.h>

using namespace db;

namespace {

struct Case
{
    const char* name;
    const char* sql;
    QList<QPair<QString, QString>> macros; // besides the schema macro
    QList<QPair<QString, QString>> params; // name, probe query giving its value ("" -> NULL, "=x" -> literal)
    QStringList columns;                   // columns the console reads
    QStringList cursorParams = {};
    bool expectRows = true;
};

const QList<QPair<QString, QString>> kYesNo = {{"vNo", "'Нет'"}, {"vYes", "'Да'"}};
QList<Case> cases()
{
    const QString anyClient = "select min(l.wbl_web_client_id) from tev.v_tev_web_logins l";
    const QString journalClient = "select min(l.wbl_web_client_id) from tev.v_tev_web_logins l join "
                                  "tev.v_tev_web_visit_journals j on j.wbvj_login_id = l.wbl_id";
    const QString describedClient = "select min(wbd_client_id) from tev.v_tev_web_describes";
    const QString ownerEmitent = "select min(emitent_id_web_owner) from tev.v_tev_pos";
    const QString aquirerOwner = "select min(p.emitent_id_web_owner) from tev.v_tev_pos p "
                                 "where p.emitent_id_web <> p.emitent_id_web_owner";
    const QString holderClient = "select min(h.client_id_web) from tev.v_tev_card_holder h where not exists "
                                 "(select 1 from tev.v_tev_web_logins l where l.card_holder_id = h.card_holder_id)";
    const QString serviceEmitent = "select min(emitent_id_web) from tev.v_tev_service where service_is_active = 1";
    const QString limitClient = "select min(c.wbc_id) from tev.v_tev_web_clients c join tev.v_tev_service s "
                                "on s.emitent_id_web = c.wbc_emitent_id and s.service_is_active = 1";
    const QString clientsEmitent = "select min(wbc_emitent_id) from tev.v_tev_web_clients";
    const QString templ = "select min(id) from tev.v_tev_feedback_templates";
    const QString templLang = "select min(lang_id) from tev.v_tev_feedback_templates";
    return {
        {"qryLogins", sqltext::qryLogins,
         kYesNo + QList<QPair<QString, QString>>{{"ORDER", ""}, {"FIELD", "ID"},
                                                  {"vClientAccess", "'КЛИЕНТСКИЙ ДОСТУП'"},
                                                  {"vAllCardsAllAccounts", "'ко всем картам и счетам клиента'"},
                                                  {"vCardsAllAccounts", "'только к своим картам и всем счетам клиента'"},
                                                  {"vCards", "'только к своим картам'"}},
         {{"pID", anyClient}},
         {"ID", "WBL_LOGIN", "IS_ACTIVE", "IS_JOURNALISING", "CARD_HOLDER_NAME", "STATEHOLDERNAME", "EMAIL",
          "CARD_HOLDER_ID", "STATEHOLDER", "WBL_IS_ACTIVE", "WBL_IS_JOURNALISING", "IS_TEMP"}},
        {"qryJournal", sqltext::qryJournal, {{"ORDER", "ORDER BY"}, {"FIELD", "visit_date"}},
         {{"pLangId", "=25"}, {"pID", journalClient}},
         {"LOGIN_ID", "WBL_LOGIN_MD5", "VISIT_DATE", "OPERATION_NAME", "WJ_COMMENT"}},
        {"oqDescribes", sqltext::oqDescribes, {{"ORDER", "ORDER BY"}, {"FIELD", "wbd.WBD_DATE_END DESC"}},
         {{"id", describedClient}}, {"WBD_ID", "WBD_DATE_OF", "WBD_DATE_END", "WBD_COMMENT"}},
        {"oqEmitentSelect", sqltext::oqEmitentSelect, {}, {{"P_ALL_EMITENT", "=1"}, {"P_MANAGER_ID", ""}},
         {"UNLOAD", "ISVISIBLE", "HIDE_DISCONT", "EMITENT_NUMBER", "FILIAL_NUMBER", "EMITENT_NAME", "TYPE_CHANGE",
          "SHARING_FOLDER", "E_MAIL", "ORDER_UNLOAD", "EMITENT_ID_WEB", "USE_HTTP", "HTTP_SERVER", "HTTP_PORT",
          "USE_HTTP_PROXY", "HTTP_PROXY_SERVER", "HTTP_PROXY_PORT", "USE_HTTP_PROXY_AUTH", "HTTP_PROXY_USER",
          "HTTP_PROXY_PSWD", "BILLING_PREFIX", "BILLING_SERVICE_NAME", "BILLING_VAT", "USE_BILLING"},
         {"P_EMITENT_LIST"}},
        {"oquPOSes", sqltext::oquPOSes, {{"ORDER", "ORDER BY"}, {"FIELD", "EMITENT_NUMBER,FILIAL_NUMBER,POS_NUMBER"}},
         {{"emitent_id", ownerEmitent}},
         {"POS_NUM_WEB", "EMITENT_NUMBER", "FILIAL_NUMBER", "POS_NUMBER", "POS_NAME", "POS_ADDRESS", "ISVISIBLE",
          "ISUPDATE"}},
        {"oquTrnTypes", sqltext::oquTrnTypes, {{"LangID", "25"}, {"ORDER", "ORDER BY"}, {"FIELD", "TRNTYPE_NUMBER"}},
         {{"emitent_id", ownerEmitent}}, {"TRNTYPE_NUMBER", "TRNTYPE_NAME", "ISVISIBLE", "MARK"}},
        {"oquHoldersForLogin", sqltext::oquHoldersForLogin, {{"ORDER", "ORDER BY"}, {"FIELD", "CARD_HOLDER_NAME"}},
         {{"P_CLIENT_ID", holderClient}}, {"CARD_HOLDER_ID", "CARD_HOLDER_NAME"}},
        {"oqLogins", sqltext::oqLogins, {}, {{"pid", anyClient}},
         {"WBL_ID", "LGN", "PWD", "FLG", "BDD", "CLN", "IS_TEMP"}},
        {"oqHelpType", sqltext::oqHelpType, {{"langid", "25"}, {"ORDER", "ORDER BY"}, {"FIELD", "tev_help_id"}}, {},
         {"TEV_HELP_ID", "TEV_HELP_NAME", "TEV_HELP_DESC", "TEV_HELP_TYPE"}},
        {"oqEmitentPos", sqltext::oqEmitentPos,
         {{"ORDER", "ORDER BY"}, {"FIELD", "E.EMITENT_NUMBER,\r\nE.FILIAL_NUMBER"}},
         {{"P_EMITENT_ID_WEB_OWNER", aquirerOwner}}, {"ISVISIBLE", "EMITENT_NAME", "EMITENT_NUM", "EMITENT_ID_WEB"}},
        {"oqOrderUnload", sqltext::oqOrderUnload,
         {{"ORDER", "ORDER BY"}, {"FIELD", "order_unload,\r\nemitent_number,\r\nfilial_number"}}, {},
         {"ORDER_UNLOAD", "EMITENT_NUMBER", "FILIAL_NUMBER", "EMITENT_NAME", "EMITENT_ID_WEB"}},
        {"oqOrderDownload", sqltext::oqOrderDownload,
         {{"ORDER", "ORDER BY"}, {"FIELD", "order_download,\r\nemitent_number,\r\nfilial_number"}}, {},
         {"ORDER_DOWNLOAD", "EMITENT_NUMBER", "FILIAL_NUMBER", "EMITENT_NAME", "EMITENT_ID_WEB", "HAS_ORDER"}},
        {"oqMaxLimitsEmitent", sqltext::oqMaxLimitsEmitent, {}, {{"pEmitentIDWeb", serviceEmitent}},
         {"SERVICE_ID_WEB", "SERVICE_ID", "SERVICE_NAME", "IS_CURRENCY", "MAX_DAY_LIMIT", "MAX_WEEK_LIMIT",
          "MAX_MONTH_LIMIT"}},
        {"oqMaxLimitsClient", sqltext::oqMaxLimitsClient, {}, {{"pClientIDWeb", limitClient}},
         {"SERVICE_ID_WEB", "SERVICE_ID", "SERVICE_NAME", "IS_CURRENCY", "MAX_DAY_LIMIT", "IS_DAY_DEF_VAL",
          "MAX_WEEK_LIMIT", "IS_WEEK_DEF_VAL", "MAX_MONTH_LIMIT", "IS_MONTH_DEF_VAL"}},
        {"oqManager", sqltext::oqManager, {}, {}, {"MANAGER_ID", "MANAGER_NAME"}},
        {"oqFeedBackTypes", sqltext::oqFeedBackTypes, {{"ORDER", "ORDER BY"}, {"FIELD", "type_id"}},
         {{"pLang", "=9"}}, {"TYPE_ID", "TYPE_NAME"}},
        {"oqMessageTemplates", sqltext::oqMessageTemplates, {{"ORDER", ""}, {"FIELD", ""}},
         {{"pLangID", templLang}, {"pID", templ}}, {"ID", "TEMPLATE_HEADER", "TEMPLATE_MESSAGE"}},
        {"oqLangs", sqltext::oqLangs, {{"ORDER", ""}, {"FIELD", ""}}, {}, {"LNG_ID", "LANG_NAME", "IS_DEFAULT"}},
        {"oqEmitentSecurity", sqltext::oqEmitentSecurity, {}, {},
         {"EMITENT_NAME", "EMITENT_NUM", "USE_IMPORT_CRYPT", "USE_EXPORT_CRYPT", "EXPORT_KEY_DATA", "EMITENT_ID_WEB"}},
        {"oqTEVConfigs", sqltext::oqTEVConfigs, {}, {}, {"PARAM_NAME", "PARAM_VAL"}},
        {"oqDBVersion", sqltext::oqDBVersion, {{"ORDER", ""}, {"FIELD", ""}}, {}, {"VERSION"}},
        {"qryClients", sqltext::qryClients,
         kYesNo + QList<QPair<QString, QString>>{{"ORDER", "ORDER BY"}, {"FIELD", "wbc_id"},
                                                  {"vCreated", "'создан'"}, {"vInvited", "'выслано приглашение'"},
                                                  {"vNotSubscribes", "'без подписки'"}, {"vSubscribe", "'с подпиской'"},
                                                  {"vBlocked", "'заблокирован'"}, {"vUnknown", "'неизвестное'"}},
         {{"emitent_id", clientsEmitent}, {"rpt", "=0"}},
         {"ISVISIBLE", "WBC_NAME", "WBC_EMAIL", "WBC_DESCRIPTION", "BLACK_LIST", "STATE", "WBC_ID", "WBC_PETROL_ID",
          "WBC_PETROL_TYPE_ID", "CLIENTISLNR", "CLIENTISBONUS", "ALLOW_USE_API_TXT", "ALLOW_UNBLOCK_CARD_TXT",
          "ALLOW_SUBSCRIBE_ON_SMS_TXT", "ALLOW_CREATE_DR_TXT", "ALLOW_CREATE_DD_TXT", "ALLOW_CREATE_OIL_TXT",
          "TEST_CLIENT_STR", "TEST_CLIENT", "WBC_UPDATE_EMAIL", "UPDATE_EMAIL_TXT", "ALLOW_CHANGE_HOLDER_TXT",
          "ALLOW_LOST_CARD_TXT", "ALLOW_CH_ONL_PARAMS_TXT", "MANAGER_EMAIL"}},
    };
}

} // namespace

TEST(CatalogueSql, EverySharedQueryOpensOnThePortal)
{
    REQUIRE_PG();
    auto session = PgFixture::instance().connect();
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        Query q(session.get());
        q.setSql(QString::fromUtf8(c.sql));
        for (int i = 0; i < q.macros().count(); ++i)
            if (q.macros().at(i).name().compare("shema", Qt::CaseInsensitive) == 0)
                q.macros().at(i).setValue("tev");
        for (const auto& m : c.macros)
            q.setMacro(m.first, m.second);
        for (const auto& p : c.params) {
            if (p.second.isEmpty()) {
                q.paramByName(p.first).setDataType(DataType::Integer);
            } else if (p.second.startsWith('=')) {
                q.setParam(p.first, p.second.mid(1).toInt());
            } else {
                const QString value = PgFixture::instance().adminQuery(p.second);
                ASSERT_FALSE(value.isEmpty()) << "demo data has no row for " << p.second.toStdString();
                q.setParam(p.first, value.toLongLong());
            }
        }
        for (const QString& cursor : c.cursorParams)
            q.paramByName(cursor).setDirection(ParamDirection::CursorOut);
        try {
            q.open();
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what() << "\n" << q.finalSql().toStdString();
            continue;
        }
        for (const QString& column : c.columns)
            EXPECT_NE(q.findField(column), nullptr) << column.toStdString();
        if (c.expectRows) {
            EXPECT_GT(q.recordCount(), 0);
        }
        session->commit();
    }
}

TEST(CatalogueSql, CallAndScriptTextsRun)
{
    REQUIRE_PG();
    auto session = PgFixture::instance().connect();
    // The call text is a template callers replace; the shipped text names a routine that may be absent.
    Query call(session.get());
    call.setSql(QString::fromUtf8(sqltext::qryCallProc).replace("UpdateClients()", "UPD_STATUS(:P_CLIENT_ID)"));
    call.setMacro("shema", "tev");
    call.setParam("P_CLIENT_ID", PgFixture::instance().adminQuery("select min(wbc_id) from tev.v_tev_web_clients").toInt());
    EXPECT_NO_THROW(call.execSql());
    session->rollback();
}
