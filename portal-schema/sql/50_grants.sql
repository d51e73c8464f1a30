-- The console's accounts read the views and call the package; the tables
-- stay the owner's. The administrator (tev_user) may call every routine of
-- the package. The operator and the regional manager may not call what
-- backs the commands their roles do not have:
--   operator: portal settings, emitent settings and exchange order, service
--     points, transaction types, help, regional managers, the web language;
--   regional manager: portal settings, help, web names of schemes and terms,
--     transaction groups and phrase translations, regional managers, the web
--     language, the exchange order.

-- PostgreSQL lets PUBLIC execute every new routine; the portal does not.
REVOKE EXECUTE ON ALL ROUTINES IN SCHEMA __SCHEME__ FROM PUBLIC;

GRANT USAGE ON SCHEMA __SCHEME__ TO tev_user, tev_operator, tev_manager;

DO $$
DECLARE
    -- Names without the tev_utils__ prefix.
    settings constant text[] := ARRAY['set_current_type_sort', 'ins_feedback_type', 'upd_feedback_type',
                                      'del_feedback_type', 'upd_message_template'];
    managers constant text[] := ARRAY['create_manager', 'update_pass_manager', 'delete_manager',
                                      'add_emitent_for_manager', 'del_emitent_for_manager', 'get_free_emitent'];
    help constant text[] := ARRAY['ins_help_type', 'upd_help_type', 'del_help_type'];
    exchange_order constant text[] := ARRAY['set_order_update', 'set_order_download'];
    operator_denied constant text[] :=
        settings || managers || help || exchange_order
        || ARRAY['change_emit_unload', 'set_pos_visible', 'set_emitent_hide_discont', 'set_emitent_change_param',
                 'set_billing_param', 'upd_emitent_max_limit', 'update_pos', 'update_trntype',
                 'change_mark_of_trntype', 'change_current_lang', 'authentication_manager'];
    manager_denied constant text[] :=
        settings || managers || help || exchange_order
        || ARRAY['upd_tev_schema_for_web', 'upd_tev_terms_for_web', 'ins_trntype_group', 'upd_trntype_group',
                 'del_trntype_group', 'del_trntype_in_group', 'ins_trntype_in_group', 'upd_phrase_translation',
                 'change_current_lang'];
    r record;
    v_name text;
    v_kind text;
BEGIN
    FOR r IN
        SELECT c.relname
        FROM pg_class c
        WHERE c.relnamespace = '__SCHEME__'::regnamespace AND c.relkind = 'v'
        ORDER BY 1
    LOOP
        EXECUTE format('GRANT SELECT ON %I TO tev_user, tev_operator, tev_manager', r.relname);
    END LOOP;
    -- Only the package: the tev_priv_* helpers run inside it and are
    -- nobody's to call.
    FOR r IN
        SELECT p.oid::regprocedure AS sig, p.prokind, p.proname
        FROM pg_proc p
        WHERE p.pronamespace = '__SCHEME__'::regnamespace AND p.proname LIKE 'tev\_utils\_\_%'
        ORDER BY 1
    LOOP
        v_name := substr(r.proname, length('tev_utils__') + 1);
        v_kind := CASE r.prokind WHEN 'p' THEN 'PROCEDURE' ELSE 'FUNCTION' END;
        EXECUTE format('GRANT EXECUTE ON %s %s TO tev_user', v_kind, r.sig);
        IF NOT v_name = ANY (operator_denied) THEN
            EXECUTE format('GRANT EXECUTE ON %s %s TO tev_operator', v_kind, r.sig);
        END IF;
        IF NOT v_name = ANY (manager_denied) THEN
            EXECUTE format('GRANT EXECUTE ON %s %s TO tev_manager', v_kind, r.sig);
        END IF;
    END LOOP;
    -- A name in the lists that the package lacks is a typo that would grant
    -- nothing away silently.
    FOR v_name IN SELECT unnest(operator_denied || manager_denied) LOOP
        IF NOT EXISTS (SELECT 1 FROM pg_proc p
                        WHERE p.pronamespace = '__SCHEME__'::regnamespace
                          AND p.proname = 'tev_utils__' || v_name) THEN
            RAISE EXCEPTION 'grants: no routine tev_utils__%', v_name;
        END IF;
    END LOOP;
END
$$;
