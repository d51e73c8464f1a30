-- The views the console reads. Column names are those of the console's SQL
-- texts; the console sees them upper-cased.

CREATE VIEW v_tev_version_db AS
SELECT version FROM tev_version_db;

CREATE VIEW v_tev_langs AS
SELECT lng_id, lng_lang_name, lng_lang_name_trans, lng_code, lng_is_active
FROM tev_langs;

CREATE VIEW v_tev_configs AS
SELECT param_name, param_val FROM tev_configs;

CREATE VIEW v_tev_phrases AS
SELECT id, type_id, lang_id, phrase FROM tev_phrases;

CREATE VIEW v_tev_events_journal AS
SELECT j.journal_id, j.event_type_id, t.event_type_name, j.journal_date, j.user_name,
       j.param_name, j.param_value_before, j.param_value_after, j.object_name,
       j.emitent_id, j.filial_id, j.cln_type, j.owner_name
FROM tev_events_journal j
JOIN tev_event_types t ON t.event_type_id = j.event_type_id;

CREATE VIEW v_tev_emitent AS
SELECT emitent_id_web, emitent_number, filial_number, emitent_name,
       emitent_num_owner, filial_num_owner, unload, pos_visible, hide_discont,
       type_change, sharing_folder, e_mail, order_unload, order_download,
       use_http, http_server, http_port, use_http_proxy, http_proxy_server,
       http_proxy_port, use_http_proxy_auth, http_proxy_user, http_proxy_pswd,
       use_billing, billing_prefix, billing_service_name, billing_vat
FROM tev_emitent;

-- Emitents that are their own owners in the processing system.
CREATE VIEW v_tev_emitent_owner AS
SELECT emitent_id_web, emitent_number, filial_number, emitent_name
FROM tev_emitent
WHERE emitent_number = emitent_num_owner AND filial_number = filial_num_owner;

CREATE VIEW v_tev_emitent_params AS
SELECT emitent_id, use_import_crypt, use_export_crypt, export_key_data
FROM tev_emitent_params;

CREATE VIEW v_tev_web_clients AS
SELECT wbc_id, wbc_emitent_id, wbc_petrol_id, wbc_petrol_type_id, wbc_name,
       name_for_report, wbc_email, wbc_description, wbc_in_blacklist,
       wbc_client_state, clientislnr, clientisbonus, allow_create_dr,
       allow_create_oil, allow_create_dd, allow_change_holder, allow_lost_card,
       allow_ch_onl_params, allow_subscribe_on_sms, allow_unblock_card,
       allow_use_api, test_client, wbc_update_email, manager_email,
       wbc_date_create
FROM tev_web_clients;

CREATE VIEW v_tev_card_holder AS
SELECT card_holder_id, client_id_web, card_holder_name, stateholder
FROM tev_card_holder;

CREATE VIEW v_tev_web_logins AS
SELECT wbl_id, wbl_web_client_id, card_holder_id, wbl_login_md5, wbl_password_md5,
       wbl_is_active, wbl_is_journalising, email, wbl_temp_password,
       wbl_failed_attempts, wbl_locked_until, wbl_date_create, wbl_date_password
FROM tev_web_logins;

CREATE VIEW v_tev_web_visit_journals AS
SELECT wbvj_id, wbvj_login_id, wbvj_visit_date, operation_type, operation_name,
       card_number, new_holder_name, service_name, amount, request_id
FROM tev_web_visit_journals;

CREATE VIEW v_tev_web_describes AS
SELECT wbd_id, wbd_client_id, wbd_date_of, wbd_date_end, wbd_comment
FROM tev_web_describes;

CREATE VIEW v_tev_trntype_group AS
SELECT group_id, group_name FROM tev_trntype_group;

CREATE VIEW v_tev_trntype AS
SELECT trntype_number, trntype_name, mark, group_id FROM tev_trntype;

CREATE VIEW v_tev_trntype_emitent AS
SELECT emitent_id_web, trntype_number, isvisible FROM tev_trntype_emitent;

CREATE VIEW v_tev_pos AS
SELECT pos_num_web, emitent_id_web, emitent_id_web_owner, pos_number, pos_name,
       pos_address, isvisible, isupdate
FROM tev_pos;

CREATE VIEW v_tev_service AS
SELECT service_id_web, emitent_id_web, service_id, service_name, is_currency,
       service_is_active, max_day_limit, max_week_limit, max_month_limit
FROM tev_service;

CREATE VIEW v_tev_max_limits AS
SELECT client_id_web, service_id_web, max_day_limit, max_week_limit, max_month_limit
FROM tev_max_limits;

-- The console reads this with SELECT *: never show the password hash.
CREATE VIEW v_tev_manager AS
SELECT manager_id, manager_name FROM tev_manager;

CREATE VIEW v_emitent_tev_manager AS
SELECT m.manager_id, e.emitent_id_web, e.emitent_number, e.filial_number, e.emitent_name
FROM tev_manager_emitent m
JOIN tev_emitent e ON e.emitent_id_web = m.emitent_id_web;

CREATE VIEW v_tev_type_feedback_msg AS
SELECT type_id, type_name FROM tev_type_feedback_msg;

CREATE VIEW v_tev_feedback_msg AS
SELECT m.message_num, m.message_date, m.type_id, t.type_name, m.login_id,
       m.login_name, m.name_client, m.email_client, m.email_admin, m.ip_client,
       m.text_msg
FROM tev_feedback_msg m
JOIN tev_type_feedback_msg t ON t.type_id = m.type_id;

CREATE VIEW v_tev_feedback_templates AS
SELECT id, lang_id, template_header, template_message FROM tev_feedback_templates;

CREATE VIEW v_tev_help AS
SELECT tev_help_id, tev_help_lang_id, tev_help_name, tev_help_desc, tev_help_type
FROM tev_help;

CREATE VIEW v_news AS
SELECT news_id, headline_news, date_news, body_news, cardholder_visibility
FROM tev_news;

CREATE VIEW v_group_news AS
SELECT l.news_id, g.group_id, g.name_group
FROM tev_news_group_link l
JOIN tev_news_group g ON g.group_id = l.group_id;

CREATE VIEW v_subscribed_emitents AS
SELECT m.group_id, e.emitent_id_web, e.emitent_number, e.filial_number, e.emitent_name
FROM tev_group_emitent m
JOIN tev_emitent e ON e.emitent_id_web = m.emitent_id_web;

CREATE VIEW v_subscribed_clients AS
SELECT m.group_id, c.wbc_id, c.wbc_emitent_id, c.wbc_name, c.name_for_report,
       c.wbc_petrol_type_id, c.clientislnr, c.clientisbonus
FROM tev_group_client m
JOIN tev_web_clients c ON c.wbc_id = m.client_id_web;

CREATE VIEW v_archive_data AS
SELECT id, date_of, state, archive_date FROM tev_archive_data;

-- Logins for the administrator's report; a client login has no holder and
-- no access level of its own.
CREATE VIEW v_tev_logins AS
SELECT c.wbc_emitent_id AS emitent_id, e.emitent_number, e.filial_number,
       c.wbc_id, c.wbc_name AS client_name, c.wbc_client_state AS client_state,
       l.wbl_id, l.wbl_login_md5 AS login, l.wbl_is_active AS active_login,
       h.card_holder_name,
       CASE WHEN l.card_holder_id IS NOT NULL THEN
           CASE h.stateholder
               WHEN 0 THEN 'ко всем картам и счетам клиента'
               WHEN 1 THEN 'только к своим картам и всем счетам клиента'
               WHEN 2 THEN 'только к своим картам'
           END
       END AS stateholdername
FROM tev_web_logins l
JOIN tev_web_clients c ON c.wbc_id = l.wbl_web_client_id
JOIN tev_emitent e ON e.emitent_id_web = c.wbc_emitent_id
LEFT JOIN tev_card_holder h ON h.card_holder_id = l.card_holder_id;

-- The four kinds of web requests, with the columns the request viewer
-- unites: the client as "[processing number] name", the service as
-- "[service number] name", the client kind as 1 firm and 0 private person.
CREATE VIEW v_tev_dr_request AS
SELECT r.dr_request_id, c.wbc_emitent_id, c.wbc_id, 0 AS change_type, 'ОП'::varchar(30) AS change_type_str,
       ('[' || c.wbc_petrol_id || '] ' || c.wbc_name)::varchar(298) AS client_name,
       CASE WHEN c.wbc_petrol_type_id IN (1, 3) THEN 1 ELSE 0 END AS wbc_petrol_type_id,
       r.card_number, ('[' || s.service_id || '] ' || s.service_name)::varchar(298) AS service_name,
       r.amount, r.date_of, r.date_begin, r.date_end, r.request_state_id, r.send_oc,
       k.cancel_cause_name
FROM tev_dr_request r
JOIN tev_web_clients c ON c.wbc_id = r.client_id_web
JOIN tev_service s ON s.service_id_web = r.service_id_web
LEFT JOIN tev_cancel_cause k ON k.cancel_cause_id = r.cancel_cause_id;

CREATE VIEW v_tev_dd_request AS
SELECT r.dd_request_id, c.wbc_emitent_id, c.wbc_id, 1 AS change_type, 'ОС'::varchar(30) AS change_type_str,
       ('[' || c.wbc_petrol_id || '] ' || c.wbc_name)::varchar(298) AS client_name,
       CASE WHEN c.wbc_petrol_type_id IN (1, 3) THEN 1 ELSE 0 END AS wbc_petrol_type_id,
       r.card_number, ('[' || s.service_id || '] ' || s.service_name)::varchar(298) AS service_name,
       r.amount, r.date_of, r.date_begin, r.date_end, r.request_state_id, r.send_oc,
       k.cancel_cause_name
FROM tev_dd_request r
JOIN tev_web_clients c ON c.wbc_id = r.client_id_web
JOIN tev_service s ON s.service_id_web = r.service_id_web
LEFT JOIN tev_cancel_cause k ON k.cancel_cause_id = r.cancel_cause_id;

CREATE VIEW v_tev_oil_request AS
SELECT r.oil_request_id, c.wbc_emitent_id, c.wbc_id, 2 AS change_type, 'ОИЛ'::varchar(30) AS change_type_str,
       ('[' || c.wbc_petrol_id || '] ' || c.wbc_name)::varchar(298) AS client_name,
       CASE WHEN c.wbc_petrol_type_id IN (1, 3) THEN 1 ELSE 0 END AS wbc_petrol_type_id,
       r.card_number, ('[' || s.service_id || '] ' || s.service_name)::varchar(298) AS service_name,
       r.amount, r.date_of, r.date_begin, r.date_end, r.request_state_id, r.send_oc,
       k.cancel_cause_name
FROM tev_oil_request r
JOIN tev_web_clients c ON c.wbc_id = r.client_id_web
JOIN tev_service s ON s.service_id_web = r.service_id_web
LEFT JOIN tev_cancel_cause k ON k.cancel_cause_id = r.cancel_cause_id;

-- The service is set for limits of type 3 only.
CREATE VIEW v_tev_onl_limit_card_request AS
SELECT r.request_id, c.wbc_emitent_id, c.wbc_id, 3 AS change_type, 'ИЛО'::varchar(30) AS change_type_str,
       ('[' || c.wbc_petrol_id || '] ' || c.wbc_name)::varchar(298) AS client_name,
       CASE WHEN c.wbc_petrol_type_id IN (1, 3) THEN 1 ELSE 0 END AS wbc_petrol_type_id,
       r.card_num, r.limit_type_id,
       CASE WHEN s.service_id_web IS NOT NULL
            THEN ('[' || s.service_id || '] ' || s.service_name)::varchar(298) END AS service_name,
       -- joined into one text by the console: no trailing zeros, as Oracle writes numbers
       trim_scale(r.daily_limit) AS daily_limit, trim_scale(r.weekly_limit) AS weekly_limit,
       trim_scale(r.monthly_limit) AS monthly_limit,
       r.date_of, r.request_state_id, r.send_oc, k.cancel_cause_name
FROM tev_onl_limit_card_request r
JOIN tev_web_clients c ON c.wbc_id = r.client_id_web
LEFT JOIN tev_service s ON s.service_id_web = r.service_id_web
LEFT JOIN tev_cancel_cause k ON k.cancel_cause_id = r.cancel_cause_id;

CREATE VIEW v_tev_schema_for_web AS
SELECT schema_number, schema_type, schema_shortname FROM tev_schema_for_web;

CREATE VIEW v_tev_terms_for_web AS
SELECT term_id, term_shortname FROM tev_terms_for_web;

CREATE VIEW v_tev_ad_ranges AS
SELECT ad_ranges_id, bonus_type, left_range_border, right_range_border, percent FROM tev_ad_ranges;
