// The SQL texts of the console's windows (beyond the data module's shared ones) run unchanged
// against the portal through the access layer: the schema macro takes the bare scheme name,
// text macros take quoted literals. Texts whose windows name only their columns and
// conditions are written here as those windows will send them.
#include "SchemaTestSupport.h"

#include <QDateTime>

using namespace db;

namespace {

QString lines(const QStringList& l)
{
    return l.join("\r\n");
}

struct Case
{
    const char* name;
    QString sql;
    QList<QPair<QString, QString>> macros; // besides the schema macro
    QVariantMap params;
    QStringList columns;
    int minRows = 1;
    int exactRows = -1;
};

const QList<QPair<QString, QString>> kOrder(const QString& field)
{
    return {{"ORDER", "ORDER BY"}, {"FIELD", field}};
}

QList<Case> cases()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime monthAgo = now.addDays(-30);
    const QList<QPair<QString, QString>> requestMacros = {
        {"DRSt0", "'Создана'"},      {"DRSt1", "'Отправлена'"}, {"DRSt3", "'Принята'"},
        {"DRSt4", "'Отклонена'"},    {"NotFound", "'Не определено'"},
        {"OnlLimitType0", "'Количество обслуживаний'"}, {"OnlLimitType1", "'Сумма обслуживаний'"},
        {"ORDER", "ORDER BY"},       {"FIELD", "1"}};
    const QString requestState = "DECODE(send_oc, 0, &DRSt0, DECODE(request_state_id, 0, &DRSt1, 1, &DRSt1, 2, "
                                 "&DRSt1, 3, &DRSt3, 5, &DRSt3, 4, &DRSt4, 6, %1, &NotFound)) AS request_state_name";
    const QString requestTail = "&shema.tev_utils.trans_text(cancel_cause_name, :plangid, 1) AS cancel_cause_name";
    const QString requests =
        "SELECT dr_request_id, change_type, &shema.tev_utils.trans_text(change_type_str, :plangid, 1) AS "
        "change_type_str, client_name, wbc_petrol_type_id, card_number, service_name, TO_CHAR(amount) AS amount, "
        "date_of, request_state_id, send_oc, " + requestState.arg("&DRSt1") + ", " + requestTail +
        ", date_begin, date_end FROM &shema.v_tev_dr_request WHERE wbc_emitent_id = :pemitentid "
        "UNION ALL SELECT dd_request_id, change_type, &shema.tev_utils.trans_text(change_type_str, :plangid, 1), "
        "client_name, wbc_petrol_type_id, card_number, service_name, TO_CHAR(amount), date_of, request_state_id, "
        "send_oc, " + requestState.arg("&DRSt4") + ", " + requestTail +
        ", date_begin, date_end FROM &shema.v_tev_dd_request WHERE wbc_emitent_id = :pemitentid "
        "UNION ALL SELECT oil_request_id, change_type, &shema.tev_utils.trans_text(change_type_str, :plangid, 1), "
        "client_name, wbc_petrol_type_id, TO_CHAR(card_number), service_name, TO_CHAR(amount), date_of, "
        "request_state_id, send_oc, " + requestState.arg("&DRSt4") + ", " + requestTail +
        ", date_begin, date_end FROM &shema.v_tev_oil_request WHERE wbc_emitent_id = :pemitentid "
        "UNION ALL SELECT request_id, change_type, &shema.tev_utils.trans_text(change_type_str, :plangid, 1), "
        "client_name, wbc_petrol_type_id, TO_CHAR(card_num), DECODE(limit_type_id, 3, service_name, 1, "
        "&OnlLimitType0, 2, &OnlLimitType1, &NotFound), daily_limit || '/' || weekly_limit || '/' || monthly_limit, "
        "date_of, request_state_id, send_oc, " + requestState.arg("&DRSt4") + ", " + requestTail +
        ", NULL, NULL FROM &shema.v_tev_onl_limit_card_request WHERE wbc_emitent_id = :pemitentid &ORDER &FIELD";

    return {
        // Web languages and phrases.
        {"web-language list",
         lines({" SELECT &shema.tev_utils.trans_text(lng.lng_lang_name, :p_lang_id, 1) AS lng_lang_name,",
                "       decode(lng.lng_id,", "                v.lng_id, 1,", "              0", "             ),",
                "        lng.lng_id ", "FROM   &shema.v_tev_langs lng,", "       (SELECT cnf.PARAM_VAL AS LNG_ID ",
                "        FROM &shema.v_tev_configs cnf", "        WHERE cnf.param_name = 'LANG_ID'", "       ) v"}),
         {}, {{"p_lang_id", 9}}, {"LNG_LANG_NAME", "LNG_ID"}, 3, 3},
        {"phrase translations",
         lines({"SELECT l.lng_id,", "       l.lng_lang_name_trans,", "       p.phrase",
                "FROM   &shema.v_tev_phrases p,", "       &shema.v_tev_langs   l", "WHERE  p.lang_id(+) = l.lng_id",
                "AND    p.type_id(+) = :pTypeId", "AND    p.id(+) = :pPhraseId", "&ORDER &FIELD"}),
         kOrder("lng_id"), {{"pTypeId", 3}, {"pPhraseId", 3}}, {"LNG_ID", "LNG_LANG_NAME_TRANS", "PHRASE"}, 3, 3},
        {"switch of the web language", lines({"begin", "  tev.TEV_UTILS.change_current_lang(:P_ID_LANG);", "end;"}),
         {}, {{"P_ID_LANG", 9}}, {}, 0},
        // Clients and logins: the shipped call text with its procedure, and the texts callers put in.
        {"UpdateClients", "begin &shema.tev_utils.UpdateClients(); end;", {}, {}, {}, 0},
        {"client properties",
         "begin tev.tev_utils.update_client(:pID, :pEMail, :pState, :pDescription, :pAllowDR, :pAllowOIL, "
         ":pUpdEmail, :pAllowDD, :pAllowChHolder, :pAllowLostCrd, :pAllowUnblockCrd, :pAllowChOnlParams, :pAllowSMS, "
         ":pAllowUseAPI); end;",
         {},
         {{"pID", 3}, {"pEMail", QString()}, {"pState", 2}, {"pDescription", QString("\r\n")}, {"pAllowDR", 0},
          {"pAllowOIL", 0}, {"pUpdEmail", 1}, {"pAllowDD", 0}, {"pAllowChHolder", 0}, {"pAllowLostCrd", 0},
          {"pAllowUnblockCrd", 0}, {"pAllowChOnlParams", 0}, {"pAllowSMS", 0}, {"pAllowUseAPI", 0}},
         {}, 0},
        {"login edit",
         "begin &shema.tev_utils.update_login(:pID, :pLogin, :pIsActive, :pIsJournalising, :pStateHolder, :pEmail); "
         "end;",
         {}, {{"pID", 1}, {"pLogin", QString("client1")}, {"pIsActive", 1}, {"pIsJournalising", 1},
              {"pStateHolder", 0}, {"pEmail", QString("client1@client.example")}},
         {}, 0},
        // Transaction groups.
        {"transaction groups",
         "SELECT v.group_id, DECODE(p.phrase, NULL, v.group_name, p.phrase) AS group_name FROM "
         "&shema.v_tev_trntype_group v, &shema.v_tev_phrases p WHERE p.id(+) = v.group_id AND p.type_id(+) = 3 AND "
         "p.lang_id(+) = :pLang ORDER BY v.group_id",
         {}, {{"pLang", 9}}, {"GROUP_ID", "GROUP_NAME"}, 3, 3},
        {"group members",
         "SELECT t.trntype_number, &shema.tev_utils.TRANS_TEXT(t.trntype_name, :pLangId, 1) AS trntype_name FROM "
         "&shema.V_TEV_TRNTYPE t WHERE t.group_id = :group_id ORDER BY 2",
         {}, {{"pLangId", 9}, {"group_id", 1}}, {"TRNTYPE_NUMBER", "TRNTYPE_NAME"}, 2, 2},
        {"types without a group", "SELECT COUNT(*) AS cnt FROM &shema.V_TEV_TRNTYPE WHERE GROUP_ID IS NULL", {}, {},
         {"CNT"}, 1, 1},
        {"member choice",
         "SELECT DECODE(t.group_id, :group_id, '+', '-') AS choice, t.trntype_number, "
         "&shema.tev_utils.TRANS_TEXT(t.trntype_name, :pLangId, 1) AS trntype_name FROM &shema.V_TEV_TRNTYPE t "
         "WHERE NVL(t.GROUP_ID, :group_id) = :group_id ORDER BY 3",
         {}, {{"group_id", 1}, {"pLangId", 25}}, {"CHOICE", "TRNTYPE_NUMBER", "TRNTYPE_NAME"}, 4, 4},
        // Web names of schemes and terms; a scheme without a name in the language is not listed.
        {"schemes in Greek",
         "SELECT s.schema_number, s.schema_type, &shema.tev_utils.TRANS_TEXT_DEFAULT(s.schema_shortname, :pLangId, 1) "
         "AS schema_shortname, p.phrase AS schema_name FROM &shema.V_TEV_SCHEMA_FOR_WEB s, &shema.v_tev_phrases p "
         "WHERE p.id = s.schema_type * 100 + s.schema_number AND p.type_id = 2 AND p.lang_id = :pWebLang ORDER BY "
         "s.schema_number, s.schema_type",
         {}, {{"pLangId", 9}, {"pWebLang", 8}}, {"SCHEMA_NUMBER", "SCHEMA_TYPE", "SCHEMA_SHORTNAME", "SCHEMA_NAME"}, 5,
         5},
        {"terms in English",
         "SELECT t.term_id, &shema.tev_utils.TRANS_TEXT_DEFAULT(t.term_shortname, :pLangId, 1) AS term_shortname, "
         "p.phrase AS term_name FROM &shema.V_TEV_TERMS_FOR_WEB t, &shema.v_tev_phrases p WHERE p.id = t.term_id AND "
         "p.type_id = 1 AND p.lang_id = :pWebLang ORDER BY t.term_id",
         {}, {{"pLangId", 25}, {"pWebLang", 9}}, {"TERM_ID", "TERM_SHORTNAME", "TERM_NAME"}, 7, 7},
        {"web languages of a window", "SELECT lng_id, lng_lang_name_trans FROM &shema.v_tev_langs", {}, {},
         {"LNG_ID", "LNG_LANG_NAME_TRANS"}, 3, 3},
        // News.
        {"news",
         "SELECT news_id, headline_news, date_news, body_news, cardholder_visibility, DECODE(cardholder_visibility, 0, "
         "&vNo, &vYes) AS cardholder_visibility_txt FROM &shema.v_news &ORDER &FIELD",
         QList<QPair<QString, QString>>{{"vNo", "'Нет'"}, {"vYes", "'Да'"}} + kOrder("date_news"), {},
         {"NEWS_ID", "HEADLINE_NEWS", "DATE_NEWS", "BODY_NEWS", "CARDHOLDER_VISIBILITY", "CARDHOLDER_VISIBILITY_TXT"},
         5},
        {"groups of a news item", "SELECT * FROM &shema.V_GROUP_NEWS WHERE NEWS_ID = :NEWS_ID", {},
         {{"NEWS_ID", 3}}, {"NEWS_ID", "GROUP_ID", "NAME_GROUP"}, 3, 3},
        // Regional managers.
        {"managers", "SELECT * FROM &shema.V_TEV_MANAGER &ORDER &FIELD", kOrder("manager_name"), {},
         {"MANAGER_ID", "MANAGER_NAME"}, 3},
        {"emitents of a manager",
         "select * from &shema.v_emitent_tev_manager t WHERE t.manager_id = :MANAGER_ID &order &field",
         kOrder("EMITENT_NUMBER, FILIAL_NUMBER"), {{"MANAGER_ID", 1}},
         {"MANAGER_ID", "EMITENT_ID_WEB", "EMITENT_NUMBER", "FILIAL_NUMBER", "EMITENT_NAME"}, 3, 3},
        // Requests, events journal, feedback.
        {"requests of an emitent", requests, requestMacros, {{"plangid", 9}, {"pemitentid", 1}},
         {"DR_REQUEST_ID", "CHANGE_TYPE", "CHANGE_TYPE_STR", "CLIENT_NAME", "WBC_PETROL_TYPE_ID", "CARD_NUMBER",
          "SERVICE_NAME", "AMOUNT", "DATE_OF", "REQUEST_STATE_ID", "SEND_OC", "REQUEST_STATE_NAME",
          "CANCEL_CAUSE_NAME", "DATE_BEGIN", "DATE_END"},
         40},
        {"requests of an emitent without any", requests, requestMacros, {{"plangid", 25}, {"pemitentid", 9}}, {}, 0, 0},
        {"events journal",
         "SELECT EJ.JOURNAL_ID, EJ.EVENT_TYPE_ID, &SHEMA.TEV_UTILS.TRANS_TEXT(EJ.EVENT_TYPE_NAME, :pLangId, 1) AS "
         "EVENT_TYPE_NAME, EJ.JOURNAL_DATE, EJ.USER_NAME, &SHEMA.TEV_UTILS.TRANS_TEXT(EJ.PARAM_NAME, :pLangId, 1) AS "
         "PARAM_NAME, &SHEMA.TEV_UTILS.TRANS_TEXT(EJ.PARAM_VALUE_BEFORE, :pLangId, 1, null, 0) AS PARAM_VALUE_BEFORE, "
         "&SHEMA.TEV_UTILS.TRANS_TEXT(EJ.PARAM_VALUE_AFTER, :pLangId, 1, null, 0) AS PARAM_VALUE_AFTER, "
         "EJ.OBJECT_NAME, EJ.EMITENT_ID, EJ.FILIAL_ID, EJ.CLN_TYPE, DECODE(EJ.CLN_TYPE, 1, "
         "&SHEMA.TEV_UTILS.TRANS_TEXT('Фирма', :pLangId, 1), 2, &SHEMA.TEV_UTILS.TRANS_TEXT('ЧЛ', :pLangId, 1), "
         "NULL) AS CLN_TYPE_STR, &SHEMA.TEV_UTILS.TRANS_TEXT(EJ.OWNER_NAME, :pLangId, 1, null, 0) AS OWNER_NAME FROM "
         "&SHEMA.V_TEV_EVENTS_JOURNAL EJ WHERE EJ.JOURNAL_DATE BETWEEN :pDateBegin AND :pDateEnd &ORDER &FIELD",
         kOrder("journal_date"), {{"pLangId", 9}, {"pDateBegin", monthAgo}, {"pDateEnd", now}},
         {"JOURNAL_ID", "EVENT_TYPE_ID", "EVENT_TYPE_NAME", "JOURNAL_DATE", "USER_NAME", "PARAM_NAME",
          "PARAM_VALUE_BEFORE", "PARAM_VALUE_AFTER", "OBJECT_NAME", "EMITENT_ID", "FILIAL_ID", "CLN_TYPE",
          "CLN_TYPE_STR", "OWNER_NAME"},
         10},
        {"feedback messages",
         "SELECT v.MESSAGE_NUM, v.MESSAGE_DATE, DECODE(p.PHRASE, NULL, v.type_name, p.PHRASE) AS TYPE_NAME, "
         "v.LOGIN_NAME, v.NAME_CLIENT, v.EMAIL_CLIENT, v.EMAIL_ADMIN, v.IP_CLIENT, v.TEXT_MSG FROM "
         "&Shema.v_tev_feedback_msg v, &Shema.v_tev_phrases p WHERE p.id(+) = v.type_id AND p.lang_id(+) = :pLangID "
         "AND p.type_id(+) = 4 AND v.MESSAGE_DATE between :pDateStart and :pDateEnd AND (v.TYPE_ID = :pTypeID or "
         ":pTypeID = -1) &ORDER &FIELD",
         kOrder("message_num"), {{"pLangID", 8}, {"pDateStart", monthAgo}, {"pDateEnd", now}, {"pTypeID", -1}},
         {"MESSAGE_NUM", "MESSAGE_DATE", "TYPE_NAME", "LOGIN_NAME", "NAME_CLIENT", "EMAIL_CLIENT", "EMAIL_ADMIN",
          "IP_CLIENT", "TEXT_MSG"},
         5},
        {"feedback types to choose",
         "SELECT -1 AS type_id, &resAll AS type_name FROM DUAL UNION ALL SELECT V.type_id, DECODE(p.PHRASE, NULL, "
         "v.TYPE_NAME, p.PHRASE) FROM &shema.V_TEV_TYPE_FEEDBACK_MSG V, &shema.V_TEV_PHRASES P WHERE v.TYPE_ID = "
         "p.id(+) AND p.TYPE_ID(+) = 4 AND p.LANG_ID(+) = :pLang &ORDER &FIELD",
         QList<QPair<QString, QString>>{{"resAll", "'Все'"}} + kOrder("type_id"), {{"pLang", 8}},
         {"TYPE_ID", "TYPE_NAME"}, 5, 5},
        // Coupons archive.
        {"archive sessions",
         "SELECT id, date_of, state, decode(state, 3, &vComplete, &vError) as state_text, archive_date FROM "
         "&shema.V_ARCHIVE_DATA &ORDER &FIELD",
         QList<QPair<QString, QString>>{{"vComplete", "'Завершено'"}, {"vError", "'Ошибка при архивировании'"}} +
             kOrder("date_of"),
         {}, {"ID", "DATE_OF", "STATE", "STATE_TEXT", "ARCHIVE_DATE"}, 2, 2},
        {"active connections",
         "SELECT s.* FROM v$session s, dba_role_privs priv WHERE s.username = priv.grantee AND (priv.granted_role IN "
         "('TEV_ADMIN_WEB', 'TEV_WEB_USER') OR s.username = UPPER(:p_shema)) AND UPPER(program) NOT IN "
         "('DEDADIZE.EXE', 'RODODUZIRU.EXE') AND status <> 'KILLED'",
         {}, {{"p_shema", QString("tev")}}, {"USERNAME", "PROGRAM", "STATUS"}, 0},
        // Members of subscriber groups.
        {"member emitents",
         "SELECT 0 isvisible, v.emitent_id_web, v.emitent_number, v.filial_number, v.emitent_name FROM "
         "&shema.V_SUBSCRIBED_EMITENTS v WHERE v.group_id = :group_id &ORDER &FIELD",
         kOrder("emitent_id_web"), {{"group_id", 1}},
         {"ISVISIBLE", "EMITENT_ID_WEB", "EMITENT_NUMBER", "FILIAL_NUMBER", "EMITENT_NAME"}, 2, 2},
        {"member clients",
         "SELECT 0 isvisible, NVL(DECODE(:rpt, 0, TRIM(v.wbc_name), TRIM(v.name_for_report)), v.wbc_name) AS wbc_name, "
         "v.wbc_id, DECODE(v.wbc_petrol_type_id, 3, 1, 4, 2, v.wbc_petrol_type_id) AS wbc_petrol_type_id, "
         "v.clientislnr, v.clientisbonus FROM &shema.V_SUBSCRIBED_CLIENTS v WHERE v.group_id = :group_id &ORDER "
         "&FIELD",
         kOrder("wbc_id"), {{"rpt", 1}, {"group_id", 3}},
         {"ISVISIBLE", "WBC_NAME", "WBC_ID", "WBC_PETROL_TYPE_ID", "CLIENTISLNR", "CLIENTISBONUS"}, 4, 4},
        {"emitent chooser",
         "SELECT V.EMITENT_ID_WEB, V.EMITENT_NUMBER, V.FILIAL_NUMBER, V.EMITENT_NAME, '[' || V.EMITENT_NUMBER || ', ' "
         "|| V.FILIAL_NUMBER || '] ' || V.EMITENT_NAME AS \"EM_FULL_NAME\" FROM &shema.V_TEV_EMITENT_OWNER V ORDER BY "
         "EMITENT_NUMBER",
         {}, {}, {"EMITENT_ID_WEB", "EMITENT_NUMBER", "FILIAL_NUMBER", "EMITENT_NAME", "EM_FULL_NAME"}, 5},
        // Administrator's reports.
        {"logins report",
         "select t.client_name, t.client_state, t.login, t.active_login, t.card_holder_name, t.stateholdername from "
         "&shema.v_tev_logins t where ((-1 = :client_state) or t.client_state = :client_state) order by "
         "t.emitent_id, t.client_name",
         {}, {{"client_state", 4}},
         {"CLIENT_NAME", "CLIENT_STATE", "LOGIN", "ACTIVE_LOGIN", "CARD_HOLDER_NAME", "STATEHOLDERNAME"}, 50},
    };
}

} // namespace

TEST_F(SchemaTest, EveryWindowTextRunsOnThePortal)
{
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        Query q(session.get());
        q.setSql(c.sql);
        for (int i = 0; i < q.macros().count(); ++i)
            if (q.macros().at(i).name().compare("shema", Qt::CaseInsensitive) == 0)
                q.macros().at(i).setValue("tev");
        for (const auto& m : c.macros)
            q.setMacro(m.first, m.second);
        for (auto it = c.params.begin(); it != c.params.end(); ++it)
            q.setParam(it.key(), it.value());
        try {
            if (c.columns.isEmpty())
                q.execSql();
            else
                q.open();
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what() << "\n" << q.finalSql().toStdString();
            continue;
        }
        for (const QString& column : c.columns)
            EXPECT_NE(q.findField(column), nullptr) << column.toStdString();
        if (c.columns.isEmpty())
            continue;
        EXPECT_GE(q.recordCount(), c.minRows);
        if (c.exactRows >= 0) {
            EXPECT_EQ(q.recordCount(), c.exactRows);
        }
    }
}

// What the request viewer shows of each kind and state.
TEST_F(SchemaTest, RequestRowsCarryKindStateAndAmount)
{
    const QString states =
        "SELECT change_type || ':' || send_oc || ':' || request_state_id AS k FROM (SELECT change_type, send_oc, "
        "request_state_id FROM tev.v_tev_dr_request UNION SELECT change_type, send_oc, request_state_id FROM "
        "tev.v_tev_dd_request UNION SELECT change_type, send_oc, request_state_id FROM tev.v_tev_oil_request UNION "
        "SELECT change_type, send_oc, request_state_id FROM tev.v_tev_onl_limit_card_request) s ORDER BY 1";
    const QStringList combos = column(states);
    for (int kind = 0; kind < 4; ++kind) {
        SCOPED_TRACE(kind);
        for (int state = 0; state <= 7; ++state)
            EXPECT_TRUE(combos.contains(QStringLiteral("%1:1:%2").arg(kind).arg(state))) << state;
        EXPECT_TRUE(std::any_of(combos.begin(), combos.end(),
                                [&](const QString& k) { return k.startsWith(QStringLiteral("%1:0:").arg(kind)); }));
    }
    // Amounts and limits read as Oracle writes numbers; an empty limit leaves its place empty.
    EXPECT_EQ(one("select TO_CHAR(12.500) || ' ' || TO_CHAR(0.25) || ' ' || TO_CHAR(7)").toString(), "12.5 .25 7");
    const QString limits = one("select daily_limit || '/' || weekly_limit || '/' || monthly_limit from "
                               "tev.v_tev_onl_limit_card_request where daily_limit is null order by request_id")
                               .toString();
    EXPECT_TRUE(limits.startsWith('/')) << limits.toStdString();
    EXPECT_FALSE(limits.contains(".000")) << limits.toStdString();
    // Clients are "[number] name", firms 1 and private persons 0.
    EXPECT_EQ(column("select distinct wbc_petrol_type_id from tev.v_tev_dr_request order by 1"),
              QStringList({"0", "1"}));
    EXPECT_TRUE(one("select client_name from tev.v_tev_oil_request order by oil_request_id").toString().startsWith("[1"));
    EXPECT_TRUE(one("select cancel_cause_name from tev.v_tev_dd_request where request_state_id in (4, 6) and "
                    "cancel_cause_name is not null")
                    .isValid());
}
