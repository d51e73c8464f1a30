-- The package tev_utils (1 of 5): private helpers, hashing, translation,
-- settings and password rules.
--
-- Conventions of every tev_utils__* routine:
--   * an Oracle function is a FUNCTION returning a scalar, an Oracle procedure
--     a PROCEDURE whose out parameters are INOUT in their Oracle position and
--     whose cursors are INOUT refcursor parameters;
--   * SECURITY DEFINER with the search path pinned to its own scheme: the
--     console's accounts have no rights on the tables;
--   * portal errors are raised with texts that begin "ORA-NNNNN", the number
--     the console tests; constraint violations come from the tables;
--   * '' arguments are NULL (Oracle has no empty strings);
--   * changes are written to the events journal.
-- Helpers named tev_priv_* are not granted to anybody.

-- Turns Oracle's view of texts into ours: '' is NULL.
CREATE FUNCTION tev_priv_text(p_text text) RETURNS text
LANGUAGE sql IMMUTABLE
SET search_path = __SCHEME__, pg_temp
AS $$ SELECT nullif(p_text, '') $$;

CREATE FUNCTION tev_priv_no_data(p_what text) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    RAISE EXCEPTION 'ORA-01403: no data found' USING ERRCODE = 'no_data_found', DETAIL = p_what;
END
$$;

-- A reference to a row that does not exist.
CREATE FUNCTION tev_priv_no_parent(p_what text) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    RAISE EXCEPTION 'ORA-02291: integrity constraint violated - parent key not found (%)', p_what;
END
$$;

-- Flags are 0 or 1; NULL is left to the NOT NULL constraints (ORA-01400).
CREATE FUNCTION tev_priv_check_flag(p_value integer, p_name text) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF p_value IS NOT NULL AND p_value NOT IN (0, 1) THEN
        RAISE EXCEPTION 'ORA-20001: % must be 0 or 1, not %', p_name, p_value;
    END IF;
END
$$;

CREATE FUNCTION tev_priv_config(p_name text) RETURNS text
LANGUAGE sql STABLE
SET search_path = __SCHEME__, pg_temp
AS $$ SELECT param_val FROM tev_configs WHERE param_name = p_name $$;

-- A setting read as an integer; anything that is not one gives the default.
CREATE FUNCTION tev_priv_config_int(p_name text, p_default integer) RETURNS integer
LANGUAGE plpgsql STABLE
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v text := btrim(tev_priv_config(p_name));
BEGIN
    IF v ~ '^[+-]?[0-9]{1,9}$' THEN
        RETURN v::integer;
    END IF;
    RETURN p_default;
END
$$;

-- "\u" plus four hex digits back to the character.
CREATE FUNCTION tev_priv_decode_escapes(p_text text) RETURNS text
LANGUAGE plpgsql IMMUTABLE
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    result text := '';
    rest text := p_text;
    pos integer;
    code integer;
BEGIN
    IF p_text IS NULL THEN
        RETURN NULL;
    END IF;
    LOOP
        pos := position('\u' IN rest);
        EXIT WHEN pos = 0;
        result := result || substr(rest, 1, pos - 1);
        IF substr(rest, pos + 2, 4) ~ '^[0-9A-Fa-f]{4}$' THEN
            code := ('x' || lpad(substr(rest, pos + 2, 4), 8, '0'))::bit(32)::integer;
            -- NUL and lone surrogates are no characters here: they decode to nothing.
            IF code <> 0 AND code NOT BETWEEN 55296 AND 57343 THEN
                result := result || chr(code);
            END IF;
            rest := substr(rest, pos + 6);
        ELSE
            result := result || '\u';
            rest := substr(rest, pos + 2);
        END IF;
    END LOOP;
    RETURN result || rest;
END
$$;

-- One line of the events journal. The emitent and the client give the
-- emitent and filial numbers, the kind of client and the owner's name.
-- A parameter whose value did not change is not written.
CREATE FUNCTION tev_priv_journal(p_event_type_id integer, p_object_name text,
                                 p_param_name text, p_before text, p_after text,
                                 p_emitent_id_web integer DEFAULT NULL,
                                 p_client_id integer DEFAULT NULL) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_emitent integer := p_emitent_id_web;
    v_number integer;
    v_filial integer;
    v_cln_type integer;
    v_owner text;
BEGIN
    IF p_param_name IS NOT NULL AND p_before IS NOT DISTINCT FROM p_after THEN
        RETURN;
    END IF;
    IF p_client_id IS NOT NULL THEN
        SELECT c.wbc_emitent_id, CASE WHEN c.wbc_petrol_type_id IN (1, 3) THEN 1 ELSE 2 END, c.wbc_name
          INTO v_emitent, v_cln_type, v_owner
          FROM tev_web_clients c WHERE c.wbc_id = p_client_id;
    END IF;
    IF v_emitent IS NOT NULL THEN
        SELECT e.emitent_number, e.filial_number, coalesce(v_owner, e.emitent_name)
          INTO v_number, v_filial, v_owner
          FROM tev_emitent e WHERE e.emitent_id_web = v_emitent;
    END IF;
    INSERT INTO tev_events_journal (event_type_id, param_name, param_value_before, param_value_after,
                                    object_name, emitent_id, filial_id, cln_type, owner_name)
    VALUES (p_event_type_id, tev_priv_text(left(p_param_name, 255)),
            tev_priv_text(left(p_before, 4000)), tev_priv_text(left(p_after, 4000)),
            tev_priv_text(left(p_object_name, 255)), v_number, v_filial, v_cln_type,
            tev_priv_text(left(v_owner, 300)));
END
$$;

------------------------------------------------------------------------------
-- Hashing and translation (used inside the console's queries)
------------------------------------------------------------------------------

-- Password hashes: upper-case hex MD5 of the text.
CREATE FUNCTION tev_utils__calc_md5(p_text text) RETURNS varchar
LANGUAGE sql IMMUTABLE SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$ SELECT upper(md5(p_text)) $$;

-- Translation of a portal text into a web language by the dictionary.
--   p_escaped  1: the result keeps the portal's "\u" escapes; 0: decoded
--   p_default  returned when there is no translation; NULL: the text itself
--   p_split    1: each ";"-separated part is translated on its own
CREATE FUNCTION tev_utils__trans_text(p_text text, p_lang_id integer, p_escaped integer,
                                      p_default text, p_split integer) RETURNS text
LANGUAGE plpgsql STABLE SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_result text;
    v_part text;
    v_found boolean := false;
    v_parts text[];
BEGIN
    IF p_text IS NULL THEN
        RETURN p_default;
    END IF;
    IF coalesce(p_split, 0) = 1 AND position(';' IN p_text) > 0 THEN
        v_parts := ARRAY[]::text[];
        FOREACH v_part IN ARRAY string_to_array(p_text, ';') LOOP
            v_parts := v_parts || coalesce(
                (SELECT d.dct_translation FROM tev_dictionary d
                  WHERE md5(d.dct_text) = md5(btrim(v_part)) AND d.dct_text = btrim(v_part)
                    AND d.dct_lang_id = p_lang_id),
                v_part);
        END LOOP;
        v_result := array_to_string(v_parts, ';');
    ELSE
        SELECT d.dct_translation INTO v_result
          FROM tev_dictionary d
         WHERE md5(d.dct_text) = md5(p_text) AND d.dct_text = p_text AND d.dct_lang_id = p_lang_id;
        v_found := FOUND;
        IF NOT v_found THEN
            v_result := coalesce(p_default, p_text);
        END IF;
    END IF;
    IF coalesce(p_escaped, 1) = 0 THEN
        v_result := tev_priv_decode_escapes(v_result);
    END IF;
    RETURN v_result;
END
$$;

CREATE FUNCTION tev_utils__trans_text(p_text text, p_lang_id integer, p_escaped integer) RETURNS text
LANGUAGE sql STABLE SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$ SELECT tev_utils__trans_text(p_text, p_lang_id, p_escaped, NULL, 0) $$;

-- Translation of a processing-centre name: into the given language, else
-- into the portal's default web language, else the name itself.
CREATE FUNCTION tev_utils__trans_text_default(p_text text, p_lang_id integer, p_escaped integer) RETURNS text
LANGUAGE sql STABLE SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
    SELECT CASE WHEN coalesce(p_escaped, 1) = 0 THEN tev_priv_decode_escapes(t) ELSE t END
      FROM (SELECT coalesce(
                (SELECT d.dct_translation FROM tev_dictionary d
                  WHERE md5(d.dct_text) = md5(p_text) AND d.dct_text = p_text AND d.dct_lang_id = p_lang_id),
                (SELECT d.dct_translation FROM tev_dictionary d
                  WHERE md5(d.dct_text) = md5(p_text) AND d.dct_text = p_text
                    AND d.dct_lang_id = tev_priv_config_int('LANG_ID', 25)),
                p_text) AS t) tr
$$;

-- Makes a language the portal's current web language.
CREATE PROCEDURE tev_utils__change_current_lang(p_id_lang integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_before text := tev_priv_config('LANG_ID');
BEGIN
    IF NOT EXISTS (SELECT 1 FROM tev_langs WHERE lng_id = p_id_lang) THEN
        PERFORM tev_priv_no_parent('language ' || coalesce(p_id_lang::text, 'NULL'));
    END IF;
    INSERT INTO tev_configs (param_name, param_val) VALUES ('LANG_ID', p_id_lang::text)
    ON CONFLICT (param_name) DO UPDATE SET param_val = excluded.param_val;
    PERFORM tev_priv_journal(6, 'LANG_ID', 'PARAM_VAL', v_before, p_id_lang::text);
END
$$;

-- One translation of one phrase; an empty text removes the translation.
CREATE PROCEDURE tev_utils__upd_phrase_translation(p_id integer, p_lang_id integer,
                                                   p_type_id integer, p_phrase text)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_phrase text := tev_priv_text(p_phrase);
    v_before text;
BEGIN
    IF NOT EXISTS (SELECT 1 FROM tev_langs WHERE lng_id = p_lang_id) THEN
        PERFORM tev_priv_no_parent('language ' || coalesce(p_lang_id::text, 'NULL'));
    END IF;
    IF NOT EXISTS (SELECT 1 FROM tev_phrase_types WHERE type_id = p_type_id) THEN
        PERFORM tev_priv_no_parent('phrase type ' || coalesce(p_type_id::text, 'NULL'));
    END IF;
    IF p_id IS NULL THEN
        RAISE EXCEPTION 'ORA-01400: cannot insert NULL into ("TEV_PHRASES"."ID")';
    END IF;
    SELECT phrase INTO v_before FROM tev_phrases WHERE id = p_id AND type_id = p_type_id AND lang_id = p_lang_id;
    IF v_phrase IS NULL THEN
        DELETE FROM tev_phrases WHERE id = p_id AND type_id = p_type_id AND lang_id = p_lang_id;
    ELSE
        INSERT INTO tev_phrases (id, type_id, lang_id, phrase) VALUES (p_id, p_type_id, p_lang_id, v_phrase)
        ON CONFLICT (id, type_id, lang_id) DO UPDATE SET phrase = excluded.phrase;
    END IF;
    PERFORM tev_priv_journal(18, format('%s/%s/%s', p_type_id, p_id, p_lang_id), 'PHRASE', v_before, v_phrase);
END
$$;

------------------------------------------------------------------------------
-- Portal settings
------------------------------------------------------------------------------

-- Insert or replace one setting. Keys are at most 20 characters: a longer
-- key is stored under its first 20, the same key the console reads.
CREATE PROCEDURE tev_utils__set_tev_configs(p_param_name text, p_param_val text)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_name text := left(tev_priv_text(p_param_name), 20);
    v_val text := tev_priv_text(p_param_val);
    v_before text;
    v_secret boolean;
BEGIN
    IF v_name IS NULL THEN
        RAISE EXCEPTION 'ORA-01400: cannot insert NULL into ("TEV_CONFIGS"."PARAM_NAME")';
    END IF;
    v_before := tev_priv_config(v_name);
    INSERT INTO tev_configs (param_name, param_val) VALUES (v_name, v_val)
    ON CONFLICT (param_name) DO UPDATE SET param_val = excluded.param_val;
    -- Mail passwords are settings too; the journal must not show them.
    v_secret := v_name ~* '(pass|password)$';
    IF v_secret THEN
        IF v_before IS DISTINCT FROM v_val THEN
            PERFORM tev_priv_journal(6, v_name, 'PARAM_VAL', NULL,
                                     CASE WHEN v_val IS NULL THEN NULL ELSE '***' END);
        END IF;
    ELSE
        PERFORM tev_priv_journal(6, v_name, 'PARAM_VAL', v_before, v_val);
    END IF;
END
$$;

-- A value of the portal's own settings (the owner's name "EMT_NAME", its
-- contacts, its title), NULL when it is not set.
CREATE FUNCTION tev_utils__get_emitent_value(p_param_name text) RETURNS varchar
LANGUAGE sql STABLE SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$ SELECT tev_priv_config(left(p_param_name, 20)) $$;

-- The bonus-ranges module is present when its routines are installed.
CREATE PROCEDURE tev_utils__get_ad_presence(p_module integer, INOUT p_result integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    SELECT CASE WHEN EXISTS (
               SELECT 1 FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace
                WHERE n.nspname = '__SCHEME__' AND p.proname = 'tev_utils__get_ad_ranges')
           THEN 1 ELSE 0 END
      INTO p_result;
END
$$;

------------------------------------------------------------------------------
-- Password rules
------------------------------------------------------------------------------

-- Result codes: '0' accepted, '1' too short, '2' no lower-case letter,
-- '3' no capital, '4' no digit, '5' no symbol; otherwise the characters that
-- a password may not contain (anything but printable ASCII).
CREATE FUNCTION tev_utils__check_password_security(p_password text) RETURNS text
LANGUAGE plpgsql STABLE SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_bad text;
    v_min integer := greatest(tev_priv_config_int('PSW_MIN_LENGTH', 5), 1);
BEGIN
    SELECT string_agg(ch, '' ORDER BY first_pos) INTO v_bad
      FROM (SELECT ch, min(pos) AS first_pos
              FROM regexp_split_to_table(coalesce(p_password, ''), '') WITH ORDINALITY AS t(ch, pos)
             WHERE ch !~ '^[!-~]$'
             GROUP BY ch) bad;
    IF v_bad IS NOT NULL THEN
        RETURN v_bad;
    END IF;
    IF length(coalesce(p_password, '')) < v_min THEN
        RETURN '1';
    END IF;
    IF tev_priv_config_int('PSW_CHARS_REQ', 0) = 1 AND p_password !~ '[a-z]' THEN
        RETURN '2';
    END IF;
    IF tev_priv_config_int('PSW_CAPITALS_REQ', 0) = 1 AND p_password !~ '[A-Z]' THEN
        RETURN '3';
    END IF;
    IF tev_priv_config_int('PSW_NUMBERS_REQ', 0) = 1 AND p_password !~ '[0-9]' THEN
        RETURN '4';
    END IF;
    IF tev_priv_config_int('TEV_SYMBOLS_REQ', 0) = 1 AND p_password !~ '[^A-Za-z0-9]' THEN
        RETURN '5';
    END IF;
    RETURN '0';
END
$$;

-- A random password that passes check_password_security whatever the
-- settings: at least 8 characters (more when the minimum is higher), with a
-- lower-case letter, a capital, a digit and a symbol.
CREATE FUNCTION tev_utils__generate_new_password() RETURNS text
LANGUAGE plpgsql VOLATILE SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    lowers constant text := 'abcdefghijkmnopqrstuvwxyz';
    uppers constant text := 'ABCDEFGHJKLMNPQRSTUVWXYZ';
    digits constant text := '23456789';
    symbols constant text := '!#%*+-=?@_';
    v_all text := lowers || uppers || digits || symbols;
    v_len integer := least(greatest(tev_priv_config_int('PSW_MIN_LENGTH', 5), 8), 30);
    v_chars text[];
    v_tmp text;
    i integer;
    j integer;
BEGIN
    v_chars := ARRAY[substr(lowers, 1 + floor(random() * length(lowers))::integer, 1),
                     substr(uppers, 1 + floor(random() * length(uppers))::integer, 1),
                     substr(digits, 1 + floor(random() * length(digits))::integer, 1),
                     substr(symbols, 1 + floor(random() * length(symbols))::integer, 1)];
    WHILE cardinality(v_chars) < v_len LOOP
        v_chars := v_chars || substr(v_all, 1 + floor(random() * length(v_all))::integer, 1);
    END LOOP;
    FOR i IN REVERSE cardinality(v_chars)..2 LOOP
        j := 1 + floor(random() * i)::integer;
        v_tmp := v_chars[i];
        v_chars[i] := v_chars[j];
        v_chars[j] := v_tmp;
    END LOOP;
    RETURN array_to_string(v_chars, '');
END
$$;

-- Dates of a row image come as ISO text; the journal shows them the way
-- the console shows dates.
CREATE FUNCTION tev_priv_journal_value(p_value text) RETURNS text
LANGUAGE sql IMMUTABLE
SET search_path = __SCHEME__, pg_temp
AS $$
    SELECT regexp_replace(p_value, '^(\d{4})-(\d\d)-(\d\d)T(\d\d:\d\d:\d\d)$', '\3.\2.\1 \4')
$$;

-- Journals every column whose value differs between two images of a row.
CREATE FUNCTION tev_priv_journal_diff(p_event_type_id integer, p_object_name text,
                                      p_old jsonb, p_new jsonb,
                                      p_emitent_id_web integer DEFAULT NULL,
                                      p_client_id integer DEFAULT NULL,
                                      p_secret text[] DEFAULT '{}') RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    k text;
BEGIN
    FOR k IN SELECT jsonb_object_keys(coalesce(p_new, p_old)) ORDER BY 1 LOOP
        IF (p_old -> k) IS DISTINCT FROM (p_new -> k) THEN
            IF k = ANY (p_secret) THEN
                -- Only that a secret changed, never its value.
                PERFORM tev_priv_journal(p_event_type_id, p_object_name, upper(k), NULL,
                                         CASE WHEN p_new ->> k IS NULL THEN NULL ELSE '***' END,
                                         p_emitent_id_web, p_client_id);
            ELSE
                PERFORM tev_priv_journal(p_event_type_id, p_object_name, upper(k),
                                         tev_priv_journal_value(p_old ->> k), tev_priv_journal_value(p_new ->> k),
                                         p_emitent_id_web, p_client_id);
            END IF;
        END IF;
    END LOOP;
END
$$;

-- The portal's text form: characters the Windows Cyrillic code page lacks
-- are written as "\u" plus four upper-case hex digits (UTF-16 units).
CREATE FUNCTION tev_priv_encode_escapes(p_text text) RETURNS text
LANGUAGE plpgsql IMMUTABLE
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    result text := '';
    ch text;
    code integer;
BEGIN
    IF p_text IS NULL THEN
        RETURN NULL;
    END IF;
    FOREACH ch IN ARRAY regexp_split_to_array(p_text, '') LOOP
        code := ascii(ch);
        IF code < 128 THEN
            result := result || ch;
            CONTINUE;
        END IF;
        BEGIN
            PERFORM convert_to(ch, 'WIN1251');
            result := result || ch;
        EXCEPTION WHEN untranslatable_character OR character_not_in_repertoire THEN
            IF code > 65535 THEN
                code := code - 65536;
                result := result || '\u' || upper(lpad(to_hex(55296 + (code >> 10)), 4, '0'))
                                 || '\u' || upper(lpad(to_hex(56320 + (code & 1023)), 4, '0'));
            ELSE
                result := result || '\u' || upper(lpad(to_hex(code), 4, '0'));
            END IF;
        END;
    END LOOP;
    RETURN result;
END
$$;
