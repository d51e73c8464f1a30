-- Accounts of the portal. Roles belong to the cluster, so they are created
-- only when missing; their passwords and attributes are reset on every run so
-- that a reinstall always leaves the documented credentials.

DO $$
DECLARE
    r record;
BEGIN
    FOR r IN
        SELECT *
        FROM (VALUES
            -- scheme owners: own every object, refused by the console
            ('tev',               'tev',               true),
            ('web2',              'web2',              true),
            -- console accounts
            ('tev_user',          'tev_user',          true),
            ('tev_operator',      'tev_operator',      true),
            ('tev_manager',       'tev_manager',       true),
            -- account of the exchange services
            ('tevwebexportlogin', 'tevwebexportlogin', true),
            -- group roles the coupons archive looks for among the connections
            ('tev_admin_web',     NULL,                false),
            ('tev_web_user',      NULL,                false),
            -- every portal account holds it, as every Oracle user holds CONNECT:
            -- it puts the scheme owners into dba_role_privs too
            ('tev_connect',       NULL,                false),
            -- owns the compatibility view of the connections, which must see
            -- every connection of the database
            ('tev_dictionary',    NULL,                false)
        ) AS t(name, pass, login)
    LOOP
        IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = r.name) THEN
            EXECUTE format('CREATE ROLE %I', r.name);
        END IF;
        EXECUTE format('ALTER ROLE %I NOSUPERUSER NOCREATEDB NOREPLICATION NOBYPASSRLS INHERIT %s',
                       r.name, CASE WHEN r.login THEN 'LOGIN' ELSE 'NOLOGIN' END);
        IF r.pass IS NULL THEN
            EXECUTE format('ALTER ROLE %I PASSWORD NULL', r.name);
        ELSE
            EXECUTE format('ALTER ROLE %I PASSWORD %L', r.name, r.pass);
        END IF;
    END LOOP;

    -- The administrator sets the exchange account's password from the
    -- console (ALTER USER ... IDENTIFIED BY), which needs CREATEROLE here.
    ALTER ROLE tev_user CREATEROLE;
    ALTER ROLE tev_operator NOCREATEROLE;
    ALTER ROLE tev_manager NOCREATEROLE;
    ALTER ROLE tevwebexportlogin NOCREATEROLE;
    ALTER ROLE tev NOCREATEROLE;
    ALTER ROLE web2 NOCREATEROLE;

    -- Console accounts are portal administrators, the exchange account is a
    -- web user; sessions holding these roles block the coupons archive.
    GRANT tev_admin_web TO tev_user, tev_operator, tev_manager;
    GRANT tev_web_user TO tevwebexportlogin;
    GRANT tev_connect TO tev, web2, tev_user, tev_operator, tev_manager, tevwebexportlogin;
    GRANT pg_read_all_stats TO tev_dictionary;
END
$$;
