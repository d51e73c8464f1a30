#pragma once

// SQL texts of the shared queries, exactly as the portal's queries are written: the sort-order
// store keys saved orders by a checksum of the text, so a changed text orphans them.
namespace sqltext {

inline constexpr char qryLogins[] =
    "SELECT * FROM (SELECT L.WBL_ID AS ID, L.WBL_IS_ACTIVE, L.WBL_IS_JOURNALISING, "
    "DECODE(L.WBL_IS_ACTIVE, 0, &vNo, &vYes) AS IS_ACTIVE, DECODE(L.WBL_IS_JOURNALISING, 0, &vNo, "
    "&vYes) AS IS_JOURNALISING, L.WBL_LOGIN_MD5 AS WBL_LOGIN, DECODE(L.CARD_HOLDER_ID, NULL, "
    "c.wbc_email, l.email) AS email, L.CARD_HOLDER_ID, DECODE(L.CARD_HOLDER_ID, NULL, &vClientAccess, "
    "H.CARD_HOLDER_NAME ) AS CARD_HOLDER_NAME, NVL(H.STATEHOLDER, 0) AS STATEHOLDER, "
    "DECODE(NVL(H.STATEHOLDER, 0), 0, &vAllCardsAllAccounts, 1, &vCardsAllAccounts, 2, &vCards, NULL ) "
    "AS STATEHOLDERNAME, l.wbl_temp_password as is_temp FROM &shema.v_tev_WEB_LOGINS L, "
    "&shema.v_TEV_CARD_HOLDER H, &shema.V_TEV_WEB_CLIENTS c WHERE L.WBL_WEB_CLIENT_ID = :pID AND "
    "H.CARD_HOLDER_ID(+) = L.CARD_HOLDER_ID AND c.wbc_id = l.wbl_web_client_id ) &ORDER &FIELD";

inline constexpr char qryJournal[] =
    "SELECT * FROM (select vj.wbvj_login_id as login_id, l.wbl_login_md5 as wbl_login_md5, "
    "vj.wbvj_visit_date as visit_date, &shema.tev_utils.TRANS_TEXT(vj.operation_name, :pLangId, 1) AS "
    "operation_name, &shema.TEV_UTILS.get_web_visit_journal_comment(vj.operation_type, vj.card_number, "
    "vj.new_holder_name, vj.service_name, vj.amount, vj.request_id, :pLangId) AS wj_comment from "
    "&shema.v_tev_web_visit_journals vj, &shema.v_tev_web_logins l where vj.wbvj_login_id = l.wbl_id "
    "and l.wbl_web_client_id = :pID ) &ORDER &FIELD";

inline constexpr char oqDescribes[] =
    "select wbd.WBD_ID, wbd.WBD_DATE_OF, wbd.WBD_DATE_END, wbd.WBD_COMMENT from "
    "&shema.V_TEV_WEB_DESCRIBES wbd where wbd.wbd_client_id = :id &ORDER &FIELD";

inline constexpr char oqEmitentSelect[] =
    "begin &shema.TEV_UTILS.GET_SELECTED_EMITENT(:P_ALL_EMITENT, :P_MANAGER_ID, :P_EMITENT_LIST); end;";

inline constexpr char oquPOSes[] =
    "SELECT P.POS_NUM_WEB, E.EMITENT_NUMBER, E.FILIAL_NUMBER, P.POS_NUMBER, P.POS_NAME, P.POS_ADDRESS, "
    "P.ISVISIBLE, P.ISUPDATE FROM &shema.v_tev_POS P, &shema.v_tev_EMITENT E WHERE E.EMITENT_ID_WEB = "
    "P.EMITENT_ID_WEB AND P.emitent_id_web_owner = :emitent_id &ORDER &FIELD";

inline constexpr char oquTrnTypes[] =
    "SELECT TT.TRNTYPE_NUMBER, &shema.TEV_UTILS.TRANS_TEXT(TT.TRNTYPE_NAME, &LangID, 1) as "
    "TRNTYPE_NAME, NVL(TE.ISVISIBLE, 1) AS ISVISIBLE, DECODE(TT.MARK, 1, '+', '-' ) AS MARK FROM "
    "&shema.v_tev_TRNTYPE TT, &shema.v_tev_TRNTYPE_EMITENT TE WHERE TE.EMITENT_ID_WEB(+) = :emitent_id "
    "AND TE.TRNTYPE_NUMBER(+) = TT.TRNTYPE_NUMBER &ORDER &FIELD";

inline constexpr char oquHoldersForLogin[] =
    "SELECT H.CARD_HOLDER_ID, H.CARD_HOLDER_NAME FROM &shema.v_TEV_CARD_HOLDER H WHERE H.CLIENT_ID_WEB "
    "= :P_CLIENT_ID AND NOT EXISTS (SELECT 1 FROM &shema.v_tev_WEB_LOGINS L WHERE L.CARD_HOLDER_ID = "
    "H.CARD_HOLDER_ID ) &ORDER &FIELD";

inline constexpr char oqLogins[] =
    "SELECT wl.wbl_id, wl.wbl_login_md5 AS lgn, DECODE(wl.wbl_password_md5, "
    "&shema.tev_utils.calc_md5(wc.wbc_id || wl.wbl_login_md5), wc.wbc_id || wl.wbl_login_md5, "
    "&shema.tev_utils.calc_md5(wl.wbl_login_md5), wl.wbl_login_md5, wc.wbc_id || wl.wbl_login_md5) AS "
    "pwd, DECODE(wl.wbl_password_md5, &shema.tev_utils.calc_md5(wc.wbc_id || wl.wbl_login_md5), 0, "
    "&shema.tev_utils.calc_md5(wl.wbl_login_md5), 0, 1) AS flg, "
    "&shema.tev_utils.get_describe_date_end(wc.wbc_id) AS bdd, wc.wbc_name AS cln, "
    "wl.wbl_temp_password as is_temp FROM &shema.v_tev_web_clients wc, &shema.v_tev_web_logins wl "
    "WHERE wl.wbl_web_client_id = wc.wbc_id AND wc.wbc_id = :pid";

inline constexpr char oqHelpType[] =
    "SELECT t.tev_help_id, t.tev_help_name, t.tev_help_desc, t.tev_help_type FROM &shema.v_tev_help t "
    "WHERE t.tev_help_lang_id = &langid &ORDER &FIELD";

inline constexpr char oqEmitentPos[] =
    "SELECT NVL(E.POS_VISIBLE, 0) AS ISVISIBLE, '['||TO_CHAR(E.EMITENT_NUMBER,'FM0000')||', "
    "'||NVL(E.FILIAL_NUMBER,0)||'] '||E.EMITENT_NAME AS EMITENT_NAME, "
    "'['||TO_CHAR(E.EMITENT_NUMBER,'FM0000')||', '||NVL(E.FILIAL_NUMBER,0)||']' AS EMITENT_NUM, "
    "E.EMITENT_ID_WEB FROM &SHEMA.V_TEV_POS P, &SHEMA.V_TEV_EMITENT E WHERE E.EMITENT_ID_WEB = "
    "P.EMITENT_ID_WEB AND P.EMITENT_ID_WEB_OWNER = :P_EMITENT_ID_WEB_OWNER AND E.EMITENT_ID_WEB <> "
    ":P_EMITENT_ID_WEB_OWNER GROUP BY E.EMITENT_NUMBER, E.FILIAL_NUMBER, E.POS_VISIBLE, "
    "E.EMITENT_NAME, E.EMITENT_ID_WEB &ORDER &FIELD";

inline constexpr char oqOrderUnload[] =
    "SELECT t.order_unload, t.emitent_number, t.filial_number, t.emitent_name, t.emitent_id_web FROM "
    "&shema.v_tev_emitent t, (select t.emitent_num_owner, t.filial_num_owner from &shema.v_tev_emitent "
    "t GROUP BY t.emitent_num_owner, t.filial_num_owner ) v WHERE t.emitent_num_owner = "
    "v.emitent_num_owner AND t.filial_num_owner = v.filial_num_owner AND t.emitent_number = "
    "v.emitent_num_owner AND t.filial_number = v.filial_num_owner &ORDER &FIELD";

inline constexpr char oqOrderDownload[] =
    "SELECT DECODE(t.order_download, 0, (SELECT MAX(t1.order_download) FROM &shema.v_tev_emitent t1) + "
    "1, t.order_download) order_download, t.emitent_number, t.filial_number, t.emitent_name, "
    "t.emitent_id_web, DECODE(t.order_download, 0, 0, 1) has_order FROM &shema.v_tev_emitent t, "
    "(select t.emitent_num_owner, t.filial_num_owner from &shema.v_tev_emitent t GROUP BY "
    "t.emitent_num_owner, t.filial_num_owner ) v WHERE t.emitent_num_owner = v.emitent_num_owner AND "
    "t.filial_num_owner = v.filial_num_owner AND t.emitent_number = v.emitent_num_owner AND "
    "t.filial_number = v.filial_num_owner &ORDER &FIELD";

inline constexpr char oqMaxLimitsEmitent[] =
    "SELECT srv.service_id_web, srv.service_id, srv.service_name, srv.is_currency, "
    "NVL(srv.max_day_limit, 0) AS max_day_limit, NVL(srv.max_week_limit, 0) AS max_week_limit, "
    "NVL(srv.max_month_limit, 0) AS max_month_limit FROM &shema.v_tev_service srv WHERE "
    "srv.emitent_id_web = :pEmitentIDWeb AND srv.service_is_active = 1 ORDER BY srv.service_id";

inline constexpr char oqMaxLimitsClient[] =
    "SELECT t.service_id_web, t.service_id, t.service_name, t.is_currency, DECODE(t.max_day_limit, "
    "NULL, t.def_max_day_limit, t.max_day_limit) AS max_day_limit, DECODE(t.max_day_limit, NULL, 1, 0) "
    "AS is_day_def_val, DECODE(t.max_week_limit, NULL, t.def_max_week_limit, t.max_week_limit) AS "
    "max_week_limit, DECODE(t.max_week_limit, NULL, 1, 0) AS is_week_def_val, "
    "DECODE(t.max_month_limit, NULL, t.def_max_month_limit, t.max_month_limit) AS max_month_limit, "
    "DECODE(t.max_month_limit, NULL, 1, 0) AS is_month_def_val FROM (SELECT srv.service_id_web, "
    "srv.service_id, srv.service_name, srv.is_currency, lim.max_day_limit AS max_day_limit, "
    "NVL(srv.max_day_limit, 0) AS def_max_day_limit, lim.max_week_limit AS max_week_limit, "
    "NVL(srv.max_week_limit, 0) AS def_max_week_limit, lim.max_month_limit AS max_month_limit, "
    "NVL(srv.max_month_limit, 0) AS def_max_month_limit, :pClientIDWeb AS web_client_id, "
    "srv.emitent_id_web FROM &shema.v_tev_max_limits lim, &shema.v_tev_service srv WHERE "
    "lim.service_id_web(+) = srv.service_id_web AND lim.client_id_web(+) = :pClientIDWeb AND "
    "srv.service_is_active = 1) t, &shema.v_tev_web_clients cl WHERE cl.wbc_id = t.web_client_id AND "
    "cl.wbc_emitent_id = t.emitent_id_web ORDER BY t.service_id";

inline constexpr char oqManager[] =
    "SELECT * FROM &shema.v_tev_manager";

inline constexpr char oqFeedBackTypes[] =
    "SELECT V.type_id, DECODE(p.PHRASE, NULL, v.TYPE_NAME, p.PHRASE) type_name FROM "
    "&shema.V_TEV_TYPE_FEEDBACK_MSG V, &shema.V_TEV_PHRASES P WHERE v.TYPE_ID = p.id(+) AND "
    "p.TYPE_ID(+) = 4 AND p.LANG_ID(+) = :pLang &ORDER &FIELD";

inline constexpr char oqMessageTemplates[] =
    "select * from &shema.v_tev_feedback_templates t where t.lang_id = :pLangID AND t.id = :pID &ORDER "
    "&FIELD";

inline constexpr char oqLangs[] =
    "SELECT l.LNG_ID, l.LNG_LANG_NAME_TRANS lang_name, decode(l.lng_id, v.lng_id, 1, 0 ) is_default "
    "FROM &shema.v_tev_langs l, (SELECT cnf.PARAM_VAL AS LNG_ID FROM &shema.v_tev_configs cnf WHERE "
    "cnf.param_name = 'LANG_ID' ) v &ORDER &FIELD";

inline constexpr char oqEmitentSecurity[] =
    "SELECT '[' || TO_CHAR(e.emitent_number, 'FM0000') || ', ' || NVL(e.filial_number, 0) || '] ' || "
    "e.emitent_name AS emitent_name, '[' || TO_CHAR(e.emitent_number, 'FM0000') || ', ' || "
    "NVL(e.filial_number, 0) || ']' AS emitent_num, p.USE_IMPORT_CRYPT, p.use_export_crypt, "
    "p.EXPORT_KEY_DATA, e.emitent_id_web FROM &SHEMA.v_tev_emitent e, &SHEMA.v_tev_emitent_params p "
    "WHERE e.emitent_number = e.emitent_num_owner AND e.filial_number = e.filial_num_owner AND "
    "e.emitent_id_web = p.EMITENT_ID ORDER BY e.emitent_number, e.filial_number, e.emitent_name, "
    "e.emitent_id_web";

inline constexpr char oqTEVConfigs[] =
    "select * from &shema.v_tev_configs";

inline constexpr char oqDBVersion[] =
    "select * from &SHEMA.V_TEV_VERSION_DB t &ORDER &FIELD";

inline constexpr char qryCallProc[] =
    "begin &shema.tev_utils.UpdateClients(); end;";

inline constexpr char qryClients[] =
    "select 0 isvisible, tbl.* from (SELECT t.wbc_name, t.wbc_email, t.wbc_description, t.black_list, "
    "t.state, t.wbc_id, t.wbc_petrol_id, t.wbc_petrol_type_id, t.clientislnr, t.clientisbonus, "
    "t.allow_use_api, decode(t.clientislnr,1, '-', decode(t.allow_use_api, 0, &vNo, &vYes ) ) as "
    "allow_use_api_txt, t.allow_unblock_card, decode(t.clientislnr,1, '-', "
    "decode(t.allow_unblock_card, 0, &vNo, &vYes ) ) as allow_unblock_card_txt, "
    "t.allow_subscribe_on_sms, decode(t.clientislnr,1, '-', decode(t.allow_subscribe_on_sms, 0, &vNo, "
    "&vYes ) ) as allow_subscribe_on_sms_txt, t.allow_create_dr, decode(t.clientislnr,1, '-', "
    "decode(t.allow_create_dr, 0, &vNo, &vYes ) ) as allow_create_dr_txt, t.allow_create_dd, "
    "decode(t.clientislnr,1, '-', decode(t.allow_create_dd, 0, &vNo, &vYes ) ) as allow_create_dd_txt, "
    "t.allow_create_oil, decode(t.clientisbonus,1, '-', decode(t.clientislnr,1, '-', "
    "decode(t.allow_create_oil, 0, &vNo, &vYes ) ) ) as allow_create_oil_txt, decode(t.test_client, 0, "
    "&vNo, &vYes ) as test_client_str, t.test_client, t.WBC_UPDATE_EMAIL, decode(t.WBC_UPDATE_EMAIL, "
    "0,&vNo, &vYes ) as UPDATE_EMAIL_txt, t.ALLOW_CHANGE_HOLDER, decode(t.ALLOW_CHANGE_HOLDER, 0, "
    "&vNo, &vYes ) as ALLOW_CHANGE_HOLDER_TXT, t.ALLOW_LOST_CARD, decode(t.ALLOW_LOST_CARD, 0, &vNo, "
    "&vYes ) as ALLOW_LOST_CARD_TXT, t.allow_ch_onl_params, decode(t.clientisbonus,1, '-', "
    "decode(t.clientislnr,1, '-', decode(t.allow_ch_onl_params, 0, &vNo, &vYes ) ) ) as "
    "allow_ch_onl_params_txt, t.manager_email FROM (select nvl(decode(:rpt, 0, trim(v.wbc_name), "
    "trim(v.name_for_report)), v.wbc_name) as wbc_name, v.wbc_email, v.wbc_description, "
    "decode(v.wbc_in_blacklist, 0, &vNo, &vYes) as black_list, decode(v.wbc_client_state, 1, "
    "&vCreated, 2, &vInvited, 3, &vNotSubscribes, 4, &vSubscribe, 5, &vBlocked, &vUnknown) as state, "
    "v.wbc_id, v.wbc_petrol_id, DECODE(v.wbc_petrol_type_id, 3, 1, 4, 2, v.wbc_petrol_type_id) AS "
    "wbc_petrol_type_id, v.clientislnr, v.clientisbonus, v.allow_create_dr, v.allow_create_oil, "
    "v.test_client, v.WBC_UPDATE_EMAIL, V.ALLOW_CREATE_DD, V.ALLOW_CHANGE_HOLDER, V.ALLOW_LOST_CARD, "
    "V.allow_ch_onl_params, v.allow_subscribe_on_sms, v.allow_unblock_card, v.allow_use_api, "
    "v.manager_email from &shema.v_tev_web_clients v where wbc_emitent_id = :emitent_id ) t ) tbl "
    "&ORDER &FIELD";

inline constexpr char oscrChangePassword[] =
    "ALTER USER &User IDENTIFIED BY &new_password";

} // namespace sqltext
