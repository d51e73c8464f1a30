-- The package tev_utils (3 of 5): emitents, their exchange, billing and
-- encryption settings, the exchange order, regional managers.

------------------------------------------------------------------------------
-- Emitent lists
------------------------------------------------------------------------------

-- Emitents the signed-in user may work with: all of them (p_all_emitent =
-- 1) or those given to the regional manager.
CREATE PROCEDURE tev_utils__get_selected_emitent(p_all_emitent integer, p_manager_id integer,
                                                 INOUT p_emitent_list refcursor)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    OPEN p_emitent_list FOR
        SELECT e.unload, e.pos_visible AS isvisible, e.hide_discont, e.emitent_number, e.filial_number,
               e.emitent_name, e.type_change, e.sharing_folder, e.e_mail, e.order_unload,
               e.emitent_id_web, e.use_http, e.http_server, e.http_port, e.use_http_proxy,
               e.http_proxy_server, e.http_proxy_port, e.use_http_proxy_auth, e.http_proxy_user,
               e.http_proxy_pswd, e.billing_prefix, e.billing_service_name, e.billing_vat,
               e.use_billing
          FROM tev_emitent e
         WHERE p_all_emitent = 1
            OR EXISTS (SELECT 1 FROM tev_manager_emitent m
                        WHERE m.emitent_id_web = e.emitent_id_web AND m.manager_id = p_manager_id)
         ORDER BY e.emitent_number, e.filial_number, e.emitent_id_web;
END
$$;

-- Emitents that can still be given to the manager.
CREATE PROCEDURE tev_utils__get_free_emitent(p_manager_id integer, INOUT p_emitent_list refcursor)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    OPEN p_emitent_list FOR
        SELECT 0 AS isvisible, e.emitent_id_web, e.emitent_number, e.filial_number, e.emitent_name
          FROM tev_emitent e
         WHERE NOT EXISTS (SELECT 1 FROM tev_manager_emitent m
                            WHERE m.emitent_id_web = e.emitent_id_web AND m.manager_id = p_manager_id)
         ORDER BY e.emitent_number, e.filial_number, e.emitent_id_web;
END
$$;

-- The emitent shown first: the lowest emitent and filial number; -1 when
-- the portal has none.
CREATE FUNCTION tev_utils__get_first_emitent() RETURNS integer
LANGUAGE sql STABLE SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
    SELECT coalesce((SELECT emitent_id_web FROM tev_emitent
                      ORDER BY emitent_number, filial_number, emitent_id_web LIMIT 1), -1)
$$;

-- The emitent itself when the manager has it, otherwise the manager's
-- first emitent; -1 when the manager has none.
CREATE FUNCTION tev_utils__check_tev_manager_emitent(p_emitent_id integer, p_manager_id integer) RETURNS integer
LANGUAGE sql STABLE SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
    SELECT coalesce(
        (SELECT m.emitent_id_web FROM tev_manager_emitent m
          WHERE m.manager_id = p_manager_id AND m.emitent_id_web = p_emitent_id),
        (SELECT e.emitent_id_web FROM tev_manager_emitent m
           JOIN tev_emitent e ON e.emitent_id_web = m.emitent_id_web
          WHERE m.manager_id = p_manager_id
          ORDER BY e.emitent_number, e.filial_number, e.emitent_id_web LIMIT 1),
        -1)
$$;

------------------------------------------------------------------------------
-- Emitent settings
------------------------------------------------------------------------------

-- Changes one flag column of an emitent and journals it.
CREATE FUNCTION tev_priv_set_emitent_flag(p_emitent_id integer, p_column text, p_value integer) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_before integer;
BEGIN
    PERFORM tev_priv_check_flag(p_value, upper(p_column));
    EXECUTE format('SELECT %I FROM tev_emitent WHERE emitent_id_web = $1 FOR UPDATE', p_column)
       INTO v_before USING p_emitent_id;
    IF NOT EXISTS (SELECT 1 FROM tev_emitent WHERE emitent_id_web = p_emitent_id) THEN
        PERFORM tev_priv_no_data('emitent ' || coalesce(p_emitent_id::text, 'NULL'));
    END IF;
    EXECUTE format('UPDATE tev_emitent SET %I = $2 WHERE emitent_id_web = $1', p_column)
      USING p_emitent_id, p_value;
    PERFORM tev_priv_journal(7, 'EMITENT ' || p_emitent_id, upper(p_column), v_before::text, p_value::text,
                             p_emitent_id);
END
$$;

-- Whether new service points of the emitent become visible by themselves.
CREATE PROCEDURE tev_utils__set_pos_visible(p_emitent_id integer, p_pos_visible integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$ BEGIN PERFORM tev_priv_set_emitent_flag(p_emitent_id, 'pos_visible', p_pos_visible); END $$;

-- Takes the value the console shows and turns the flag to the other state.
CREATE PROCEDURE tev_utils__set_emitent_hide_discont(p_emitent_id integer, p_hide_discont integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    PERFORM tev_priv_set_emitent_flag(p_emitent_id, 'hide_discont',
                                      CASE WHEN p_hide_discont = 1 THEN 0 ELSE 1 END);
END
$$;

CREATE PROCEDURE tev_utils__change_emit_unload(p_emitent_id integer, p_unload integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$ BEGIN PERFORM tev_priv_set_emitent_flag(p_emitent_id, 'unload', p_unload); END $$;

-- Exchange parameters: folder or e-mail, and the HTTP channel.
CREATE PROCEDURE tev_utils__set_emitent_change_param(p_emitent_id integer, p_emit_type_change integer,
                                                     p_sharing_folder text, p_emit_email text,
                                                     p_use_http integer, p_http_server text,
                                                     p_http_port integer, p_use_http_proxy integer,
                                                     p_http_proxy_server text, p_http_proxy_port integer,
                                                     p_use_http_proxy_auth integer, p_http_proxy_user text,
                                                     p_http_proxy_pswd text)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_old tev_emitent;
    v_new tev_emitent;
BEGIN
    PERFORM tev_priv_check_flag(p_emit_type_change, 'P_EMIT_TYPE_CHANGE'),
            tev_priv_check_flag(p_use_http, 'P_USE_HTTP'),
            tev_priv_check_flag(p_use_http_proxy, 'P_USE_HTTP_PROXY'),
            tev_priv_check_flag(p_use_http_proxy_auth, 'P_USE_HTTP_PROXY_AUTH');
    IF p_emit_type_change = 1 AND tev_priv_text(p_emit_email) IS NULL THEN
        RAISE EXCEPTION 'ORA-20001: the exchange by e-mail needs an address';
    END IF;
    SELECT * INTO v_old FROM tev_emitent WHERE emitent_id_web = p_emitent_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('emitent ' || coalesce(p_emitent_id::text, 'NULL'));
    END IF;
    UPDATE tev_emitent
       SET type_change = p_emit_type_change,
           sharing_folder = tev_priv_text(p_sharing_folder),
           e_mail = tev_priv_text(p_emit_email),
           use_http = p_use_http,
           http_server = tev_priv_text(p_http_server),
           http_port = p_http_port,
           use_http_proxy = p_use_http_proxy,
           http_proxy_server = tev_priv_text(p_http_proxy_server),
           http_proxy_port = p_http_proxy_port,
           use_http_proxy_auth = p_use_http_proxy_auth,
           http_proxy_user = tev_priv_text(p_http_proxy_user),
           http_proxy_pswd = tev_priv_text(p_http_proxy_pswd)
     WHERE emitent_id_web = p_emitent_id
    RETURNING * INTO v_new;
    PERFORM tev_priv_journal_diff(7, 'EMITENT ' || p_emitent_id, to_jsonb(v_old), to_jsonb(v_new),
                                  p_emitent_id, NULL, ARRAY['http_proxy_pswd']);
END
$$;

-- Invoicing: the prefix is at most 3 characters, the VAT 0 to 100 percent.
CREATE PROCEDURE tev_utils__set_billing_param(p_emitent_web_id integer, p_use_billing integer,
                                              p_prefix text, p_service_name text, p_vat numeric)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_old tev_emitent;
    v_new tev_emitent;
BEGIN
    PERFORM tev_priv_check_flag(p_use_billing, 'P_USE_BILLING');
    IF length(p_prefix) > 3 THEN
        RAISE EXCEPTION 'ORA-12899: value too large for column "BILLING_PREFIX" (actual: %, maximum: 3)',
                        length(p_prefix);
    END IF;
    PERFORM tev_priv_check_length(p_service_name, '"TEV_EMITENT"."BILLING_SERVICE_NAME"', 100);
    IF p_prefix ~ '["*/:<>?\\|]' THEN
        RAISE EXCEPTION 'ORA-20001: the invoice prefix may not contain " * / : < > ? \ |';
    END IF;
    IF p_vat NOT BETWEEN 0 AND 100 THEN
        RAISE EXCEPTION 'ORA-20001: VAT must be 0 to 100 percent, not %', p_vat;
    END IF;
    SELECT * INTO v_old FROM tev_emitent WHERE emitent_id_web = p_emitent_web_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('emitent ' || coalesce(p_emitent_web_id::text, 'NULL'));
    END IF;
    UPDATE tev_emitent
       SET use_billing = p_use_billing,
           billing_prefix = tev_priv_text(p_prefix),
           billing_service_name = tev_priv_text(p_service_name),
           billing_vat = round(p_vat, 2)
     WHERE emitent_id_web = p_emitent_web_id
    RETURNING * INTO v_new;
    PERFORM tev_priv_journal_diff(7, 'EMITENT ' || p_emitent_web_id, to_jsonb(v_old), to_jsonb(v_new),
                                  p_emitent_web_id);
END
$$;

-- Encryption of the exchange files, per direction.
CREATE PROCEDURE tev_utils__upd_emitent_param_crypt(p_emitent_id integer, p_use_import_crypt integer,
                                                    p_use_export_crypt integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_old tev_emitent_params;
    v_new tev_emitent_params;
BEGIN
    PERFORM tev_priv_check_flag(p_use_import_crypt, 'P_USE_IMPORT_CRYPT'),
            tev_priv_check_flag(p_use_export_crypt, 'P_USE_EXPORT_CRYPT');
    IF NOT EXISTS (SELECT 1 FROM tev_emitent WHERE emitent_id_web = p_emitent_id) THEN
        PERFORM tev_priv_no_data('emitent ' || coalesce(p_emitent_id::text, 'NULL'));
    END IF;
    SELECT * INTO v_old FROM tev_emitent_params WHERE emitent_id = p_emitent_id FOR UPDATE;
    INSERT INTO tev_emitent_params (emitent_id, use_import_crypt, use_export_crypt)
    VALUES (p_emitent_id, p_use_import_crypt, p_use_export_crypt)
    ON CONFLICT (emitent_id) DO UPDATE
       SET use_import_crypt = excluded.use_import_crypt, use_export_crypt = excluded.use_export_crypt
    RETURNING * INTO v_new;
    PERFORM tev_priv_journal_diff(7, 'EMITENT ' || p_emitent_id, to_jsonb(v_old), to_jsonb(v_new), p_emitent_id);
END
$$;

-- The processing centre's public key, as hexadecimal text of the key file.
CREATE PROCEDURE tev_utils__upd_emitent_export_key(p_emitent_id integer, p_export_key_data text)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_key text := upper(tev_priv_text(p_export_key_data));
    v_before text;
BEGIN
    IF v_key !~ '^([0-9A-F]{2})+$' THEN
        RAISE EXCEPTION 'ORA-20001: the key data must be hexadecimal text';
    END IF;
    IF NOT EXISTS (SELECT 1 FROM tev_emitent WHERE emitent_id_web = p_emitent_id) THEN
        PERFORM tev_priv_no_data('emitent ' || coalesce(p_emitent_id::text, 'NULL'));
    END IF;
    SELECT export_key_data INTO v_before FROM tev_emitent_params WHERE emitent_id = p_emitent_id FOR UPDATE;
    INSERT INTO tev_emitent_params (emitent_id, export_key_data) VALUES (p_emitent_id, v_key)
    ON CONFLICT (emitent_id) DO UPDATE SET export_key_data = excluded.export_key_data;
    PERFORM tev_priv_journal(7, 'EMITENT ' || p_emitent_id, 'EXPORT_KEY_DATA',
                             CASE WHEN v_before IS NULL THEN NULL ELSE md5(v_before) END,
                             CASE WHEN v_key IS NULL THEN NULL ELSE md5(v_key) END, p_emitent_id);
END
$$;

------------------------------------------------------------------------------
-- Exchange order of the owner emitents
------------------------------------------------------------------------------

CREATE FUNCTION tev_priv_set_owner_order(p_emitent_number integer, p_filial_number integer,
                                         p_column text, p_value integer) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_id integer;
    v_before integer;
BEGIN
    IF p_value IS NULL OR p_value < 0 THEN
        RAISE EXCEPTION 'ORA-20001: % must be 0 or more, not %', upper(p_column), coalesce(p_value::text, 'NULL');
    END IF;
    EXECUTE format('SELECT emitent_id_web, %I FROM tev_emitent
                     WHERE emitent_number = $1 AND filial_number IS NOT DISTINCT FROM $2
                       AND emitent_num_owner = emitent_number
                       AND filial_num_owner IS NOT DISTINCT FROM filial_number
                     FOR UPDATE', p_column)
       INTO v_id, v_before USING p_emitent_number, p_filial_number;
    IF v_id IS NULL THEN
        PERFORM tev_priv_no_data(format('owner emitent [%s, %s]', p_emitent_number, p_filial_number));
    END IF;
    EXECUTE format('UPDATE tev_emitent SET %I = $2 WHERE emitent_id_web = $1', p_column) USING v_id, p_value;
    PERFORM tev_priv_journal(16, 'EMITENT ' || v_id, upper(p_column), v_before::text, p_value::text, v_id);
END
$$;

CREATE PROCEDURE tev_utils__set_order_update(p_emitent_number integer, p_filial_number integer,
                                             p_order_unload integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$ BEGIN PERFORM tev_priv_set_owner_order(p_emitent_number, p_filial_number, 'order_unload', p_order_unload); END $$;

-- Priority level of file downloads; 0 is no priority.
CREATE PROCEDURE tev_utils__set_order_download(p_emitent_number integer, p_filial_number integer,
                                               p_order_download integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$ BEGIN PERFORM tev_priv_set_owner_order(p_emitent_number, p_filial_number, 'order_download', p_order_download); END $$;

------------------------------------------------------------------------------
-- Regional managers
------------------------------------------------------------------------------

-- Succeeds for the manager's password; ORA-01403 for anything else.
CREATE PROCEDURE tev_utils__authentication_manager(p_manager_id integer, p_password text)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM tev_manager
                    WHERE manager_id = p_manager_id
                      AND manager_password_md5 = tev_utils__calc_md5(tev_priv_text(p_password))) THEN
        PERFORM tev_priv_no_data('manager or password');
    END IF;
END
$$;

-- A blank name or password is missing (ORA-01400), a name in use ORA-00001.
CREATE PROCEDURE tev_utils__create_manager(p_manager_name text, p_password text,
                                           INOUT p_new_manager_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_name text := tev_priv_text(btrim(p_manager_name));
BEGIN
    PERFORM tev_priv_check_length(v_name, '"TEV_MANAGER"."MANAGER_NAME"', 255);
    INSERT INTO tev_manager (manager_name, manager_password_md5)
    VALUES (v_name, tev_utils__calc_md5(tev_priv_text(p_password)))
    RETURNING manager_id INTO p_new_manager_id;
    PERFORM tev_priv_journal(15, 'MANAGER ' || p_new_manager_id, 'MANAGER_NAME', NULL, v_name);
END
$$;

CREATE PROCEDURE tev_utils__update_pass_manager(p_manager_id integer, p_new_password text)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    UPDATE tev_manager SET manager_password_md5 = tev_utils__calc_md5(tev_priv_text(p_new_password))
     WHERE manager_id = p_manager_id;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('manager ' || coalesce(p_manager_id::text, 'NULL'));
    END IF;
    PERFORM tev_priv_journal(15, 'MANAGER ' || p_manager_id, 'MANAGER_PASSWORD', NULL, '***');
END
$$;

-- The manager and the emitents given to it.
CREATE PROCEDURE tev_utils__delete_manager(p_manager_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_name text;
BEGIN
    DELETE FROM tev_manager_emitent WHERE manager_id = p_manager_id;
    DELETE FROM tev_manager WHERE manager_id = p_manager_id RETURNING manager_name INTO v_name;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('manager ' || coalesce(p_manager_id::text, 'NULL'));
    END IF;
    PERFORM tev_priv_journal(15, 'MANAGER ' || p_manager_id, 'MANAGER_NAME', v_name, NULL);
END
$$;

CREATE PROCEDURE tev_utils__add_emitent_for_manager(p_manager_id integer, p_emitent_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM tev_manager WHERE manager_id = p_manager_id) THEN
        PERFORM tev_priv_no_parent('manager ' || coalesce(p_manager_id::text, 'NULL'));
    END IF;
    IF NOT EXISTS (SELECT 1 FROM tev_emitent WHERE emitent_id_web = p_emitent_id) THEN
        PERFORM tev_priv_no_parent('emitent ' || coalesce(p_emitent_id::text, 'NULL'));
    END IF;
    INSERT INTO tev_manager_emitent (manager_id, emitent_id_web) VALUES (p_manager_id, p_emitent_id);
    PERFORM tev_priv_journal(15, 'MANAGER ' || p_manager_id, 'EMITENT_ID_WEB', NULL, p_emitent_id::text,
                             p_emitent_id);
END
$$;

CREATE PROCEDURE tev_utils__del_emitent_for_manager(p_manager_id integer, p_emitent_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    DELETE FROM tev_manager_emitent WHERE manager_id = p_manager_id AND emitent_id_web = p_emitent_id;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data(format('emitent %s of manager %s', p_emitent_id, p_manager_id));
    END IF;
    PERFORM tev_priv_journal(15, 'MANAGER ' || p_manager_id, 'EMITENT_ID_WEB', p_emitent_id::text, NULL,
                             p_emitent_id);
END
$$;
