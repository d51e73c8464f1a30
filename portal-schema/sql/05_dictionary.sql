-- What the console expects of the Oracle data dictionary and of Oracle's
-- built-in functions, in the shared schema public: the console names these
-- objects without a scheme, so they must be on every account's search path.
-- Installed once per database, before the schemes; replaced on every run.

BEGIN;
SET LOCAL search_path = public, pg_catalog;

DROP VIEW IF EXISTS "v$session";
DROP VIEW IF EXISTS dba_role_privs;
DROP FUNCTION IF EXISTS tev_dictionary_sessions();

-- The connections of this database (an Oracle instance holds one database,
-- a PostgreSQL cluster many). Read through a function of tev_dictionary,
-- which may see every connection: the connections of other accounts would
-- otherwise show no state.
CREATE FUNCTION tev_dictionary_sessions()
RETURNS TABLE (sid integer, username text, status text, machine text, program text, module text,
               logon_time timestamp(0))
LANGUAGE plpgsql STABLE SECURITY DEFINER
SET search_path = pg_catalog, pg_temp
AS $$
BEGIN
    -- A transaction would otherwise keep seeing the connections of its start.
    PERFORM pg_stat_clear_snapshot();
    RETURN QUERY
        SELECT a.pid,
               upper(a.usename::text),
               CASE WHEN a.state = 'active' THEN 'ACTIVE' ELSE 'INACTIVE' END,
               coalesce(host(a.client_addr), 'localhost'),
               -- the console's own connections under the program name its query
               -- leaves out, as Oracle reports the program's file name
               CASE WHEN a.application_name = 'TEV Web Admin' THEN 'DEDAdize.exe'
                    ELSE coalesce(nullif(a.application_name, ''), 'libpq') END,
               nullif(a.application_name, ''),
               date_trunc('second', a.backend_start)::timestamp(0)
          FROM pg_stat_activity a
         WHERE a.datname = current_database()
           AND a.backend_type = 'client backend'
           AND a.usename IS NOT NULL;
END
$$;
ALTER FUNCTION tev_dictionary_sessions() OWNER TO tev_dictionary;
REVOKE ALL ON FUNCTION tev_dictionary_sessions() FROM PUBLIC;

CREATE VIEW "v$session" AS
SELECT sid, username, status, machine, program, module, logon_time
FROM tev_dictionary_sessions();
ALTER VIEW "v$session" OWNER TO tev_dictionary;

-- Roles granted to accounts, names upper-cased as Oracle keeps them.
CREATE VIEW dba_role_privs AS
SELECT upper(m.rolname::text) AS grantee,
       upper(r.rolname::text) AS granted_role,
       CASE WHEN a.admin_option THEN 'YES' ELSE 'NO' END AS admin_option,
       'YES'::text AS default_role
FROM pg_auth_members a
JOIN pg_roles r ON r.oid = a.roleid
JOIN pg_roles m ON m.oid = a.member;

REVOKE ALL ON "v$session", dba_role_privs FROM PUBLIC;
GRANT SELECT ON "v$session", dba_role_privs TO tev_user, tev_operator, tev_manager, tev, web2;
-- A view's functions run with the rights of whoever reads the view.
GRANT EXECUTE ON FUNCTION tev_dictionary_sessions() TO tev_user, tev_operator, tev_manager, tev, web2;

-- Oracle's one-argument TO_CHAR of a number: the shortest text, no
-- trailing zeros, no zero before the decimal point ("0.5" is ".5").
CREATE OR REPLACE FUNCTION to_char(p_number numeric) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE
SET search_path = pg_catalog, pg_temp
AS $$ SELECT regexp_replace(trim_scale(p_number)::text, '^(-?)0\.', '\1.') $$;

COMMIT;
