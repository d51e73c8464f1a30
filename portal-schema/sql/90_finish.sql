-- Demo rows carry explicit ids; the identity sequences continue after the
-- highest id so that the package's inserts never collide with them.
DO $$
DECLARE
    r record;
    v_max bigint;
BEGIN
    FOR r IN
        SELECT c.table_name, c.column_name, pg_get_serial_sequence(quote_ident(c.table_name), c.column_name) AS seq
        FROM information_schema.columns c
        WHERE c.table_schema = current_schema() AND c.is_identity = 'YES'
    LOOP
        EXECUTE format('SELECT max(%I) FROM %I', r.column_name, r.table_name) INTO v_max;
        IF v_max IS NULL THEN
            PERFORM setval(r.seq, 1, false);
        ELSE
            PERFORM setval(r.seq, v_max, true);
        END IF;
    END LOOP;
    SELECT max(tev_help_id) INTO v_max FROM tev_help WHERE tev_help_id >= 10000;
    IF v_max IS NULL THEN
        PERFORM setval('tev_help_seq', 10000, false);
    ELSE
        PERFORM setval('tev_help_seq', v_max, true);
    END IF;
END
$$;

-- Fresh statistics for the planner (only this scheme's tables).
DO $$
DECLARE
    t text;
BEGIN
    FOR t IN SELECT tablename FROM pg_tables WHERE schemaname = current_schema() ORDER BY 1 LOOP
        EXECUTE format('ANALYZE %I', t);
    END LOOP;
END
$$;
