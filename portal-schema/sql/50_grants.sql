-- The console's accounts read the views and call the package; the tables
-- stay the owner's. (Operator and manager rights are the administrator's
-- for now.)

-- PostgreSQL lets PUBLIC execute every new routine; the portal does not.
REVOKE EXECUTE ON ALL ROUTINES IN SCHEMA __SCHEME__ FROM PUBLIC;

GRANT USAGE ON SCHEMA __SCHEME__ TO tev_user, tev_operator, tev_manager;

DO $$
DECLARE
    r record;
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
        SELECT p.oid::regprocedure AS sig, p.prokind
        FROM pg_proc p
        WHERE p.pronamespace = '__SCHEME__'::regnamespace AND p.proname LIKE 'tev\_utils\_\_%'
        ORDER BY 1
    LOOP
        EXECUTE format('GRANT EXECUTE ON %s %s TO tev_user, tev_operator, tev_manager',
                       CASE r.prokind WHEN 'p' THEN 'PROCEDURE' ELSE 'FUNCTION' END, r.sig);
    END LOOP;
END
$$;
