-- The package tev_utils (2 of 5): web clients, logins and passwords,
-- subscriptions, visit journal and maximum limits.

------------------------------------------------------------------------------
-- Clients
------------------------------------------------------------------------------

-- The description field sends its lines each followed by CR LF; the last
-- line break carries nothing and would only eat the column's length.
CREATE FUNCTION tev_priv_description(p_text text) RETURNS text
LANGUAGE sql IMMUTABLE
SET search_path = __SCHEME__, pg_temp
AS $$ SELECT nullif(regexp_replace(p_text, '[\r\n]+$', ''), '') $$;

CREATE FUNCTION tev_priv_check_state(p_state integer) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF p_state IS NOT NULL AND p_state NOT BETWEEN 1 AND 5 THEN
        RAISE EXCEPTION 'ORA-20001: client state must be 1 to 5, not %', p_state;
    END IF;
END
$$;

-- Properties of one client, all at once.
CREATE PROCEDURE tev_utils__update_client(p_id integer, p_email text, p_state integer, p_description text,
                                          p_allow_dr integer, p_allow_oil integer, p_upd_email integer,
                                          p_allow_dd integer, p_allow_ch_holder integer,
                                          p_allow_lost_crd integer, p_allow_unblock_crd integer,
                                          p_allow_ch_onl_params integer, p_allow_sms integer,
                                          p_allow_use_api integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_old tev_web_clients;
    v_new tev_web_clients;
BEGIN
    PERFORM tev_priv_check_state(p_state);
    PERFORM tev_priv_check_flag(p_allow_dr, 'P_ALLOW_DR'), tev_priv_check_flag(p_allow_oil, 'P_ALLOW_OIL'),
            tev_priv_check_flag(p_upd_email, 'P_UPD_EMAIL'), tev_priv_check_flag(p_allow_dd, 'P_ALLOW_DD'),
            tev_priv_check_flag(p_allow_ch_holder, 'P_ALLOW_CH_HOLDER'),
            tev_priv_check_flag(p_allow_lost_crd, 'P_ALLOW_LOST_CRD'),
            tev_priv_check_flag(p_allow_unblock_crd, 'P_ALLOW_UNBLOCK_CRD'),
            tev_priv_check_flag(p_allow_ch_onl_params, 'P_ALLOW_CH_ONL_PARAMS'),
            tev_priv_check_flag(p_allow_sms, 'P_ALLOW_SMS'), tev_priv_check_flag(p_allow_use_api, 'P_ALLOW_USE_API');
    SELECT * INTO v_old FROM tev_web_clients WHERE wbc_id = p_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('client ' || coalesce(p_id::text, 'NULL'));
    END IF;
    UPDATE tev_web_clients
       SET wbc_email = tev_priv_text(p_email),
           wbc_client_state = p_state,
           wbc_description = tev_priv_description(p_description),
           allow_create_dr = p_allow_dr,
           allow_create_oil = p_allow_oil,
           wbc_update_email = p_upd_email,
           allow_create_dd = p_allow_dd,
           allow_change_holder = p_allow_ch_holder,
           allow_lost_card = p_allow_lost_crd,
           allow_unblock_card = p_allow_unblock_crd,
           allow_ch_onl_params = p_allow_ch_onl_params,
           allow_subscribe_on_sms = p_allow_sms,
           allow_use_api = p_allow_use_api
     WHERE wbc_id = p_id
    RETURNING * INTO v_new;
    PERFORM tev_priv_journal_diff(1, 'WEB_CLIENT ' || p_id, to_jsonb(v_old), to_jsonb(v_new), NULL, p_id);
END
$$;

-- Bulk edit of one client: a NULL argument leaves its property as it is;
-- the description "EmptyString" clears the description.
CREATE PROCEDURE tev_utils__update_client_from_group(p_tev_id integer, p_tev_state integer,
                                                     p_tev_description text,
                                                     p_tev_allow_create_dr integer,
                                                     p_tev_allow_create_oil integer,
                                                     p_tev_update_email integer,
                                                     p_allow_create_dd integer,
                                                     p_allow_change_holder integer,
                                                     p_allow_lost_card integer,
                                                     p_allow_unblock_card integer,
                                                     p_allow_ch_onl_params integer,
                                                     p_is_test_clients integer,
                                                     p_allow_subscribe_on_sms integer,
                                                     p_allow_use_api integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_old tev_web_clients;
    v_new tev_web_clients;
    v_clear boolean := p_tev_description = 'EmptyString';
    v_description text := tev_priv_description(p_tev_description);
BEGIN
    PERFORM tev_priv_check_state(p_tev_state);
    PERFORM tev_priv_check_flag(p_tev_allow_create_dr, 'P_TEV_ALLOW_CREATE_DR'),
            tev_priv_check_flag(p_tev_allow_create_oil, 'P_TEV_ALLOW_CREATE_OIL'),
            tev_priv_check_flag(p_tev_update_email, 'P_TEV_UPDATE_EMAIL'),
            tev_priv_check_flag(p_allow_create_dd, 'P_ALLOW_CREATE_DD'),
            tev_priv_check_flag(p_allow_change_holder, 'P_ALLOW_CHANGE_HOLDER'),
            tev_priv_check_flag(p_allow_lost_card, 'P_ALLOW_LOST_CARD'),
            tev_priv_check_flag(p_allow_unblock_card, 'P_ALLOW_UNBLOCK_CARD'),
            tev_priv_check_flag(p_allow_ch_onl_params, 'P_ALLOW_CH_ONL_PARAMS'),
            tev_priv_check_flag(p_is_test_clients, 'P_IS_TEST_CLIENTS'),
            tev_priv_check_flag(p_allow_subscribe_on_sms, 'P_ALLOW_SUBSCRIBE_ON_SMS'),
            tev_priv_check_flag(p_allow_use_api, 'P_ALLOW_USE_API');
    SELECT * INTO v_old FROM tev_web_clients WHERE wbc_id = p_tev_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('client ' || coalesce(p_tev_id::text, 'NULL'));
    END IF;
    UPDATE tev_web_clients
       SET wbc_client_state = coalesce(p_tev_state, wbc_client_state),
           wbc_description = CASE WHEN v_clear THEN NULL ELSE coalesce(v_description, wbc_description) END,
           allow_create_dr = coalesce(p_tev_allow_create_dr, allow_create_dr),
           allow_create_oil = coalesce(p_tev_allow_create_oil, allow_create_oil),
           wbc_update_email = coalesce(p_tev_update_email, wbc_update_email),
           allow_create_dd = coalesce(p_allow_create_dd, allow_create_dd),
           allow_change_holder = coalesce(p_allow_change_holder, allow_change_holder),
           allow_lost_card = coalesce(p_allow_lost_card, allow_lost_card),
           allow_unblock_card = coalesce(p_allow_unblock_card, allow_unblock_card),
           allow_ch_onl_params = coalesce(p_allow_ch_onl_params, allow_ch_onl_params),
           test_client = coalesce(p_is_test_clients, test_client),
           allow_subscribe_on_sms = coalesce(p_allow_subscribe_on_sms, allow_subscribe_on_sms),
           allow_use_api = coalesce(p_allow_use_api, allow_use_api)
     WHERE wbc_id = p_tev_id
    RETURNING * INTO v_new;
    PERFORM tev_priv_journal_diff(1, 'WEB_CLIENT ' || p_tev_id, to_jsonb(v_old), to_jsonb(v_new), NULL, p_tev_id);
END
$$;

-- The test mark of a client (the parameter carries the client's web id).
CREATE FUNCTION tev_priv_set_test_client(p_client_id integer, p_value integer) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_before integer;
BEGIN
    SELECT test_client INTO v_before FROM tev_web_clients WHERE wbc_id = p_client_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('client ' || coalesce(p_client_id::text, 'NULL'));
    END IF;
    UPDATE tev_web_clients SET test_client = p_value WHERE wbc_id = p_client_id;
    PERFORM tev_priv_journal(1, 'WEB_CLIENT ' || p_client_id, 'TEST_CLIENT', v_before::text, p_value::text,
                             NULL, p_client_id);
END
$$;

CREATE PROCEDURE tev_utils__ins_web_test_clients(p_wbl_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$ BEGIN PERFORM tev_priv_set_test_client(p_wbl_id, 1); END $$;

CREATE PROCEDURE tev_utils__del_web_test_clients(p_wbl_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$ BEGIN PERFORM tev_priv_set_test_client(p_wbl_id, 0); END $$;

-- An invitation was sent: a created client becomes invited; later states stay.
CREATE PROCEDURE tev_utils__upd_status(p_client_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_state integer;
BEGIN
    SELECT wbc_client_state INTO v_state FROM tev_web_clients WHERE wbc_id = p_client_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('client ' || coalesce(p_client_id::text, 'NULL'));
    END IF;
    IF v_state = 1 THEN
        UPDATE tev_web_clients SET wbc_client_state = 2 WHERE wbc_id = p_client_id;
        PERFORM tev_priv_journal(1, 'WEB_CLIENT ' || p_client_id, 'WBC_CLIENT_STATE', '1', '2', NULL, p_client_id);
    END IF;
END
$$;

-- Applies the client blocking of the subscriptions: while blocking is used
-- (TYPE_BLOCK_DESCRIBE 0 or more), a subscribed client whose subscriptions
-- have all ended is blocked. Other states are the administrator's.
CREATE PROCEDURE tev_utils__updateclients()
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    r record;
BEGIN
    IF tev_priv_config_int('TYPE_BLOCK_DESCRIBE', -1) < 0 THEN
        RETURN;
    END IF;
    FOR r IN
        SELECT c.wbc_id
          FROM tev_web_clients c
         WHERE c.wbc_client_state = 4
           AND EXISTS (SELECT 1 FROM tev_web_describes d WHERE d.wbd_client_id = c.wbc_id)
           AND NOT EXISTS (SELECT 1 FROM tev_web_describes d
                            WHERE d.wbd_client_id = c.wbc_id AND d.wbd_date_end >= localtimestamp)
         ORDER BY c.wbc_id
           FOR UPDATE
    LOOP
        UPDATE tev_web_clients SET wbc_client_state = 5 WHERE wbc_id = r.wbc_id;
        PERFORM tev_priv_journal(1, 'WEB_CLIENT ' || r.wbc_id, 'WBC_CLIENT_STATE', '4', '5', NULL, r.wbc_id);
    END LOOP;
END
$$;

------------------------------------------------------------------------------
-- Logins and passwords
------------------------------------------------------------------------------

CREATE FUNCTION tev_utils__client_login_exists(p_client_id integer) RETURNS integer
LANGUAGE sql STABLE SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
    SELECT CASE WHEN EXISTS (SELECT 1 FROM tev_web_logins
                              WHERE wbl_web_client_id = p_client_id AND card_holder_id IS NULL)
           THEN 1 ELSE 0 END
$$;

-- 1 when a login other than p_login_id already has the name (letter case
-- ignored, as the portal signs in).
CREATE FUNCTION tev_utils__dup_login(p_login_id integer, p_login text) RETURNS integer
LANGUAGE sql STABLE SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
    SELECT CASE WHEN EXISTS (SELECT 1 FROM tev_web_logins
                              WHERE upper(wbl_login_md5) = upper(p_login)
                                AND wbl_id IS DISTINCT FROM p_login_id)
           THEN 1 ELSE 0 END
$$;

-- A holder's access level lives with the holder.
CREATE FUNCTION tev_priv_set_stateholder(p_card_holder_id integer, p_stateholder integer) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_before integer;
    v_client integer;
BEGIN
    IF p_stateholder IS NULL OR p_stateholder NOT BETWEEN 0 AND 2 THEN
        RAISE EXCEPTION 'ORA-20001: access level must be 0 to 2, not %', coalesce(p_stateholder::text, 'NULL');
    END IF;
    SELECT stateholder, client_id_web INTO v_before, v_client
      FROM tev_card_holder WHERE card_holder_id = p_card_holder_id FOR UPDATE;
    UPDATE tev_card_holder SET stateholder = p_stateholder WHERE card_holder_id = p_card_holder_id;
    PERFORM tev_priv_journal(3, 'CARD_HOLDER ' || p_card_holder_id, 'STATEHOLDER',
                             v_before::text, p_stateholder::text, NULL, v_client);
END
$$;

-- A new login of a client (no holder) or of one of its card holders.
-- p_login_id is 0 on the way in and the new login's id on the way out; the
-- password is stored as calc_md5 of itself.
CREATE PROCEDURE tev_utils__createlogin(INOUT p_login_id integer, p_client_id integer,
                                        p_card_holder_id integer, p_login text, p_password text,
                                        p_is_active integer, p_is_journalising integer,
                                        p_stateholder integer, p_email text,
                                        p_is_temp_password integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_login text := tev_priv_text(p_login);
    v_password text := tev_priv_text(p_password);
BEGIN
    IF coalesce(p_login_id, 0) <> 0 THEN
        RAISE EXCEPTION 'ORA-20001: a new login has no id yet (P_LOGIN_ID = %)', p_login_id;
    END IF;
    IF NOT EXISTS (SELECT 1 FROM tev_web_clients WHERE wbc_id = p_client_id) THEN
        PERFORM tev_priv_no_parent('client ' || coalesce(p_client_id::text, 'NULL'));
    END IF;
    IF p_card_holder_id IS NOT NULL
       AND NOT EXISTS (SELECT 1 FROM tev_card_holder
                        WHERE card_holder_id = p_card_holder_id AND client_id_web = p_client_id) THEN
        PERFORM tev_priv_no_parent(format('card holder %s of client %s', p_card_holder_id, p_client_id));
    END IF;
    PERFORM tev_priv_check_flag(p_is_active, 'P_IS_ACTIVE'),
            tev_priv_check_flag(p_is_journalising, 'P_IS_JOURNALISING'),
            tev_priv_check_flag(p_is_temp_password, 'P_IS_TEMP_PASSWORD');
    IF v_login ~ '\s' THEN
        RAISE EXCEPTION 'ORA-20001: a login may not contain blanks';
    END IF;
    INSERT INTO tev_web_logins (wbl_web_client_id, card_holder_id, wbl_login_md5, wbl_password_md5,
                                wbl_is_active, wbl_is_journalising, email, wbl_temp_password,
                                wbl_date_password)
    VALUES (p_client_id, p_card_holder_id, v_login, tev_utils__calc_md5(v_password),
            p_is_active, p_is_journalising,
            CASE WHEN p_card_holder_id IS NULL THEN NULL ELSE tev_priv_text(p_email) END,
            coalesce(p_is_temp_password, 0), localtimestamp(0))
    RETURNING wbl_id INTO p_login_id;
    IF p_card_holder_id IS NOT NULL THEN
        PERFORM tev_priv_set_stateholder(p_card_holder_id, coalesce(p_stateholder, 0));
    END IF;
    PERFORM tev_priv_journal(2, 'WEB_LOGIN ' || p_login_id, 'WBL_LOGIN', NULL, v_login, NULL, p_client_id);
END
$$;

-- Name, flags and, for a holder's login, access level and e-mail. A
-- client login has neither: it uses the client's own address.
CREATE PROCEDURE tev_utils__update_login(p_id integer, p_login text, p_is_active integer,
                                         p_is_journalising integer, p_stateholder integer, p_email text)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_old tev_web_logins;
    v_new tev_web_logins;
    v_login text := tev_priv_text(p_login);
BEGIN
    PERFORM tev_priv_check_flag(p_is_active, 'P_IS_ACTIVE'),
            tev_priv_check_flag(p_is_journalising, 'P_IS_JOURNALISING');
    IF v_login ~ '\s' THEN
        RAISE EXCEPTION 'ORA-20001: a login may not contain blanks';
    END IF;
    SELECT * INTO v_old FROM tev_web_logins WHERE wbl_id = p_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('login ' || coalesce(p_id::text, 'NULL'));
    END IF;
    UPDATE tev_web_logins
       SET wbl_login_md5 = v_login,
           wbl_is_active = p_is_active,
           wbl_is_journalising = p_is_journalising,
           email = CASE WHEN card_holder_id IS NULL THEN NULL ELSE tev_priv_text(p_email) END
     WHERE wbl_id = p_id
    RETURNING * INTO v_new;
    IF v_old.card_holder_id IS NOT NULL THEN
        PERFORM tev_priv_set_stateholder(v_old.card_holder_id, coalesce(p_stateholder, 0));
    END IF;
    PERFORM tev_priv_journal_diff(3, 'WEB_LOGIN ' || p_id, to_jsonb(v_old), to_jsonb(v_new),
                                  NULL, v_old.wbl_web_client_id, ARRAY['wbl_password_md5']);
END
$$;

-- A new password (stored as its calc_md5); a set password also lifts the
-- lock of wrong attempts.
CREATE PROCEDURE tev_utils__update_pass_login(p_tev_id integer, p_tev_password text,
                                              p_is_temp_password integer DEFAULT 0)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_client integer;
BEGIN
    PERFORM tev_priv_check_flag(p_is_temp_password, 'P_IS_TEMP_PASSWORD');
    SELECT wbl_web_client_id INTO v_client FROM tev_web_logins WHERE wbl_id = p_tev_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('login ' || coalesce(p_tev_id::text, 'NULL'));
    END IF;
    UPDATE tev_web_logins
       SET wbl_password_md5 = tev_utils__calc_md5(tev_priv_text(p_tev_password)),
           wbl_temp_password = coalesce(p_is_temp_password, 0),
           wbl_failed_attempts = 0,
           wbl_locked_until = NULL,
           wbl_date_password = localtimestamp(0)
     WHERE wbl_id = p_tev_id;
    PERFORM tev_priv_journal(4, 'WEB_LOGIN ' || p_tev_id, 'WBL_PASSWORD', NULL,
                             CASE WHEN coalesce(p_is_temp_password, 0) = 1 THEN '*** (temporary)' ELSE '***' END,
                             NULL, v_client);
END
$$;

-- Clears the count of wrong passwords and the lock it caused.
CREATE PROCEDURE tev_utils__unlock_login(p_login_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_login tev_web_logins;
BEGIN
    SELECT * INTO v_login FROM tev_web_logins WHERE wbl_id = p_login_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('login ' || coalesce(p_login_id::text, 'NULL'));
    END IF;
    UPDATE tev_web_logins SET wbl_failed_attempts = 0, wbl_locked_until = NULL WHERE wbl_id = p_login_id;
    PERFORM tev_priv_journal(5, 'WEB_LOGIN ' || p_login_id, 'WBL_FAILED_ATTEMPTS',
                             v_login.wbl_failed_attempts::text, '0', NULL, v_login.wbl_web_client_id);
END
$$;

------------------------------------------------------------------------------
-- Visit journal
------------------------------------------------------------------------------

-- The comment of a journal line: the details its operation carries, with
-- their labels in the given language.
CREATE FUNCTION tev_utils__get_web_visit_journal_comment(p_operation_type integer, p_card_number text,
                                                         p_new_holder_name text, p_service_name text,
                                                         p_amount numeric, p_request_id integer,
                                                         p_lang_id integer) RETURNS text
LANGUAGE plpgsql STABLE SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_parts text[] := ARRAY[]::text[];
BEGIN
    IF p_request_id IS NOT NULL THEN
        v_parts := v_parts || (tev_utils__trans_text('Заявка №', p_lang_id, 1) || p_request_id);
    END IF;
    IF p_card_number IS NOT NULL THEN
        v_parts := v_parts || (tev_utils__trans_text('Карта', p_lang_id, 1) || ': ' || p_card_number);
    END IF;
    IF p_new_holder_name IS NOT NULL THEN
        v_parts := v_parts || (tev_utils__trans_text('Новый держатель', p_lang_id, 1) || ': ' || p_new_holder_name);
    END IF;
    IF p_service_name IS NOT NULL THEN
        v_parts := v_parts || (tev_utils__trans_text('Услуга', p_lang_id, 1) || ': '
                               || tev_utils__trans_text(p_service_name, p_lang_id, 1));
    END IF;
    IF p_amount IS NOT NULL THEN
        v_parts := v_parts || (tev_utils__trans_text('Количество', p_lang_id, 1) || ': ' || trim_scale(p_amount));
    END IF;
    RETURN nullif(array_to_string(v_parts, ', '), '');
END
$$;

------------------------------------------------------------------------------
-- Subscriptions
------------------------------------------------------------------------------

-- The client's blocking date as the invitation shows it: NULL when the
-- client is blocked (state 5, or every subscription has ended), a date in
-- the year 3030 when none applies (blocking not used, or no subscription).
CREATE FUNCTION tev_utils__get_describe_date_end(p_client_id integer) RETURNS varchar
LANGUAGE plpgsql STABLE SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_state integer;
    v_end timestamp;
BEGIN
    SELECT wbc_client_state INTO v_state FROM tev_web_clients WHERE wbc_id = p_client_id;
    IF NOT FOUND OR v_state = 5 THEN
        RETURN NULL;
    END IF;
    IF tev_priv_config_int('TYPE_BLOCK_DESCRIBE', -1) < 0 THEN
        RETURN '31.12.3030';
    END IF;
    SELECT max(wbd_date_end) INTO v_end FROM tev_web_describes WHERE wbd_client_id = p_client_id;
    IF v_end IS NULL THEN
        RETURN '31.12.3030';
    END IF;
    IF v_end < localtimestamp THEN
        RETURN NULL;
    END IF;
    RETURN to_char(v_end, 'DD.MM.YYYY');
END
$$;

-- Dates are kept to the second, as Oracle's DATE keeps them (truncated,
-- not rounded), so that the console finds the row by the date it sent.
CREATE FUNCTION tev_priv_date(p_date timestamp) RETURNS timestamp(0)
LANGUAGE sql IMMUTABLE
SET search_path = __SCHEME__, pg_temp
AS $$ SELECT date_trunc('second', p_date)::timestamp(0) $$;

-- p_error = 1 (and nothing added) when the client already has a
-- subscription with that blocking date.
CREATE PROCEDURE tev_utils__create_describe(p_client_id integer, p_date_end timestamp, p_comment text,
                                            INOUT p_error integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_date timestamp(0) := tev_priv_date(p_date_end);
    v_id integer;
BEGIN
    IF NOT EXISTS (SELECT 1 FROM tev_web_clients WHERE wbc_id = p_client_id) THEN
        PERFORM tev_priv_no_parent('client ' || coalesce(p_client_id::text, 'NULL'));
    END IF;
    IF EXISTS (SELECT 1 FROM tev_web_describes WHERE wbd_client_id = p_client_id AND wbd_date_end = v_date) THEN
        p_error := 1;
        RETURN;
    END IF;
    INSERT INTO tev_web_describes (wbd_client_id, wbd_date_end, wbd_comment)
    VALUES (p_client_id, v_date, tev_priv_text(p_comment))
    RETURNING wbd_id INTO v_id;
    p_error := 0;
    PERFORM tev_priv_journal(8, 'WEB_DESCRIBE ' || v_id, 'WBD_DATE_END', NULL,
                             to_char(v_date, 'DD.MM.YYYY HH24:MI:SS'), NULL, p_client_id);
END
$$;

CREATE PROCEDURE tev_utils__change_describe(p_describe_id integer, p_date_end timestamp, p_comment text)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_old tev_web_describes;
    v_new tev_web_describes;
BEGIN
    SELECT * INTO v_old FROM tev_web_describes WHERE wbd_id = p_describe_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('subscription ' || coalesce(p_describe_id::text, 'NULL'));
    END IF;
    UPDATE tev_web_describes
       SET wbd_date_end = tev_priv_date(p_date_end), wbd_comment = tev_priv_text(p_comment)
     WHERE wbd_id = p_describe_id
    RETURNING * INTO v_new;
    PERFORM tev_priv_journal_diff(8, 'WEB_DESCRIBE ' || p_describe_id, to_jsonb(v_old), to_jsonb(v_new),
                                  NULL, v_old.wbd_client_id);
END
$$;

CREATE PROCEDURE tev_utils__delete_describe(p_describe_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_old tev_web_describes;
BEGIN
    DELETE FROM tev_web_describes WHERE wbd_id = p_describe_id RETURNING * INTO v_old;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('subscription ' || coalesce(p_describe_id::text, 'NULL'));
    END IF;
    PERFORM tev_priv_journal(8, 'WEB_DESCRIBE ' || p_describe_id, 'WBD_DATE_END',
                             to_char(v_old.wbd_date_end, 'DD.MM.YYYY HH24:MI:SS'), NULL, NULL, v_old.wbd_client_id);
END
$$;

------------------------------------------------------------------------------
-- Maximum limits
------------------------------------------------------------------------------

CREATE FUNCTION tev_priv_check_limits(p_day numeric, p_week numeric, p_month numeric) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF p_day < 0 OR p_week < 0 OR p_month < 0 THEN
        RAISE EXCEPTION 'ORA-20001: a limit may not be negative';
    END IF;
END
$$;

-- The client's own maximum limits of one active service of its emitent.
CREATE PROCEDURE tev_utils__upd_client_max_limit(p_client_id integer, p_service_id_web integer,
                                                 p_max_day_limit numeric, p_max_week_limit numeric,
                                                 p_max_month_limit numeric)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_old tev_max_limits;
    v_new tev_max_limits;
BEGIN
    PERFORM tev_priv_check_limits(p_max_day_limit, p_max_week_limit, p_max_month_limit);
    IF NOT EXISTS (SELECT 1 FROM tev_web_clients c JOIN tev_service s ON s.emitent_id_web = c.wbc_emitent_id
                    WHERE c.wbc_id = p_client_id AND s.service_id_web = p_service_id_web) THEN
        PERFORM tev_priv_no_parent(format('service %s of the emitent of client %s', p_service_id_web, p_client_id));
    END IF;
    SELECT * INTO v_old FROM tev_max_limits
     WHERE client_id_web = p_client_id AND service_id_web = p_service_id_web FOR UPDATE;
    INSERT INTO tev_max_limits (client_id_web, service_id_web, max_day_limit, max_week_limit, max_month_limit)
    VALUES (p_client_id, p_service_id_web, p_max_day_limit, p_max_week_limit, p_max_month_limit)
    ON CONFLICT (client_id_web, service_id_web) DO UPDATE
       SET max_day_limit = excluded.max_day_limit,
           max_week_limit = excluded.max_week_limit,
           max_month_limit = excluded.max_month_limit
    RETURNING * INTO v_new;
    PERFORM tev_priv_journal_diff(9, 'SERVICE ' || p_service_id_web, to_jsonb(v_old), to_jsonb(v_new),
                                  NULL, p_client_id);
END
$$;

-- The emitent's maximum limits of one of its services.
CREATE PROCEDURE tev_utils__upd_emitent_max_limit(p_service_id_web integer, p_max_day_limit numeric,
                                                  p_max_week_limit numeric, p_max_month_limit numeric)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_old tev_service;
    v_new tev_service;
BEGIN
    PERFORM tev_priv_check_limits(p_max_day_limit, p_max_week_limit, p_max_month_limit);
    SELECT * INTO v_old FROM tev_service WHERE service_id_web = p_service_id_web FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('service ' || coalesce(p_service_id_web::text, 'NULL'));
    END IF;
    UPDATE tev_service
       SET max_day_limit = p_max_day_limit, max_week_limit = p_max_week_limit,
           max_month_limit = p_max_month_limit
     WHERE service_id_web = p_service_id_web
    RETURNING * INTO v_new;
    PERFORM tev_priv_journal_diff(9, 'SERVICE ' || p_service_id_web, to_jsonb(v_old), to_jsonb(v_new),
                                  v_old.emitent_id_web);
END
$$;

-- Back to the emitent's values for every service of the client.
CREATE PROCEDURE tev_utils__load_max_limits_defaults(p_client_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_count integer;
BEGIN
    IF NOT EXISTS (SELECT 1 FROM tev_web_clients WHERE wbc_id = p_client_id) THEN
        PERFORM tev_priv_no_data('client ' || coalesce(p_client_id::text, 'NULL'));
    END IF;
    DELETE FROM tev_max_limits WHERE client_id_web = p_client_id;
    GET DIAGNOSTICS v_count = ROW_COUNT;
    IF v_count > 0 THEN
        PERFORM tev_priv_journal(9, 'WEB_CLIENT ' || p_client_id, 'MAX_LIMITS', v_count::text, 'DEFAULT',
                                 NULL, p_client_id);
    END IF;
END
$$;
