-- The package tev_utils (4 of 5): reference data and portal content —
-- service points, transaction types and their groups, web names of schemes
-- and terms, help, feedback types and letters, news, their groups and the
-- groups' members, the coupons archive, bonus ranges.

------------------------------------------------------------------------------
-- Service points and transaction types
------------------------------------------------------------------------------

-- A text of at most p_max characters as the console counts them: escapes
-- decoded. NULL passes (NOT NULL is the columns' business).
CREATE FUNCTION tev_priv_check_length(p_text text, p_column text, p_max integer) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_length integer := length(tev_priv_decode_escapes(p_text));
BEGIN
    IF v_length > p_max THEN
        RAISE EXCEPTION 'ORA-12899: value too large for column % (actual: %, maximum: %)',
                        p_column, v_length, p_max;
    END IF;
END
$$;

CREATE PROCEDURE tev_utils__update_pos(p_pos_num_web integer, p_pos_name text, p_pos_address text,
                                       p_isvisible integer, p_isupdate integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_old tev_pos;
    v_new tev_pos;
BEGIN
    PERFORM tev_priv_check_flag(p_isvisible, 'P_ISVISIBLE'), tev_priv_check_flag(p_isupdate, 'P_ISUPDATE');
    PERFORM tev_priv_check_length(p_pos_name, '"TEV_POS"."POS_NAME"', 255),
            tev_priv_check_length(p_pos_address, '"TEV_POS"."POS_ADDRESS"', 255);
    SELECT * INTO v_old FROM tev_pos WHERE pos_num_web = p_pos_num_web FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('service point ' || coalesce(p_pos_num_web::text, 'NULL'));
    END IF;
    UPDATE tev_pos
       SET pos_name = tev_priv_text(p_pos_name), pos_address = tev_priv_text(p_pos_address),
           isvisible = p_isvisible, isupdate = p_isupdate
     WHERE pos_num_web = p_pos_num_web
    RETURNING * INTO v_new;
    PERFORM tev_priv_journal_diff(10, 'POS ' || p_pos_num_web, to_jsonb(v_old), to_jsonb(v_new),
                                  v_old.emitent_id_web_owner);
END
$$;

-- Visibility of a transaction type for one emitent.
CREATE PROCEDURE tev_utils__update_trntype(p_trntype_number integer, p_isvisible integer, p_emitent_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_before integer;
BEGIN
    PERFORM tev_priv_check_flag(p_isvisible, 'P_ISVISIBLE');
    IF NOT EXISTS (SELECT 1 FROM tev_trntype WHERE trntype_number = p_trntype_number) THEN
        PERFORM tev_priv_no_parent('transaction type ' || coalesce(p_trntype_number::text, 'NULL'));
    END IF;
    IF NOT EXISTS (SELECT 1 FROM tev_emitent WHERE emitent_id_web = p_emitent_id) THEN
        PERFORM tev_priv_no_parent('emitent ' || coalesce(p_emitent_id::text, 'NULL'));
    END IF;
    SELECT isvisible INTO v_before FROM tev_trntype_emitent
     WHERE emitent_id_web = p_emitent_id AND trntype_number = p_trntype_number FOR UPDATE;
    INSERT INTO tev_trntype_emitent (emitent_id_web, trntype_number, isvisible)
    VALUES (p_emitent_id, p_trntype_number, p_isvisible)
    ON CONFLICT (emitent_id_web, trntype_number) DO UPDATE SET isvisible = excluded.isvisible;
    PERFORM tev_priv_journal(11, 'TRNTYPE ' || p_trntype_number, 'ISVISIBLE',
                             coalesce(v_before, 1)::text, p_isvisible::text, p_emitent_id);
END
$$;

-- The sign of a transaction type turns to the other one.
CREATE PROCEDURE tev_utils__change_mark_of_trntype(p_trntype_number integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_mark integer;
BEGIN
    UPDATE tev_trntype SET mark = -mark WHERE trntype_number = p_trntype_number RETURNING mark INTO v_mark;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('transaction type ' || coalesce(p_trntype_number::text, 'NULL'));
    END IF;
    PERFORM tev_priv_journal(11, 'TRNTYPE ' || p_trntype_number, 'MARK', (-v_mark)::text, v_mark::text);
END
$$;

-- One translation of a reference object's name (phrase types 1 to 4).
CREATE FUNCTION tev_priv_set_phrase(p_type_id integer, p_id integer, p_lang_id integer, p_phrase text) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM tev_langs WHERE lng_id = p_lang_id) THEN
        PERFORM tev_priv_no_parent('language ' || coalesce(p_lang_id::text, 'NULL'));
    END IF;
    INSERT INTO tev_phrases (id, type_id, lang_id, phrase) VALUES (p_id, p_type_id, p_lang_id, p_phrase)
    ON CONFLICT (id, type_id, lang_id) DO UPDATE SET phrase = excluded.phrase;
END
$$;

-- A transaction group: the name given in a language becomes that
-- language's phrase (type 3) and the group's own name.
CREATE PROCEDURE tev_utils__ins_trntype_group(p_group_name text, p_lang_id integer, INOUT p_group_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_name text := tev_priv_text(btrim(p_group_name));
BEGIN
    PERFORM tev_priv_check_length(v_name, '"TEV_TRNTYPE_GROUP"."GROUP_NAME"', 100);
    INSERT INTO tev_trntype_group (group_name) VALUES (v_name) RETURNING group_id INTO p_group_id;
    PERFORM tev_priv_set_phrase(3, p_group_id, p_lang_id, v_name);
    PERFORM tev_priv_journal(22, 'TRNTYPE_GROUP ' || p_group_id, 'GROUP_NAME', NULL, v_name);
END
$$;

-- A rename in another than the portal's default language changes only that
-- language's phrase.
CREATE PROCEDURE tev_utils__upd_trntype_group(p_group_id integer, p_group_name text, p_lang_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_name text := tev_priv_text(btrim(p_group_name));
    v_before text;
BEGIN
    IF v_name IS NULL THEN
        RAISE EXCEPTION 'ORA-01400: cannot insert NULL into ("TEV_TRNTYPE_GROUP"."GROUP_NAME")';
    END IF;
    PERFORM tev_priv_check_length(v_name, '"TEV_TRNTYPE_GROUP"."GROUP_NAME"', 100);
    SELECT coalesce((SELECT phrase FROM tev_phrases WHERE id = g.group_id AND type_id = 3 AND lang_id = p_lang_id),
                    g.group_name)
      INTO v_before
      FROM tev_trntype_group g WHERE g.group_id = p_group_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('transaction group ' || coalesce(p_group_id::text, 'NULL'));
    END IF;
    PERFORM tev_priv_set_phrase(3, p_group_id, p_lang_id, v_name);
    IF p_lang_id = tev_priv_config_int('LANG_ID', 25) THEN
        UPDATE tev_trntype_group SET group_name = v_name WHERE group_id = p_group_id;
    END IF;
    PERFORM tev_priv_journal(22, 'TRNTYPE_GROUP ' || p_group_id, 'GROUP_NAME/' || p_lang_id, v_before, v_name);
END
$$;

-- The group, its translations; its transaction types belong to no group
-- afterwards.
CREATE PROCEDURE tev_utils__del_trntype_group(p_group_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_name text;
BEGIN
    SELECT group_name INTO v_name FROM tev_trntype_group WHERE group_id = p_group_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('transaction group ' || coalesce(p_group_id::text, 'NULL'));
    END IF;
    CALL tev_utils__del_trntype_in_group(p_group_id);
    DELETE FROM tev_phrases WHERE id = p_group_id AND type_id = 3;
    DELETE FROM tev_trntype_group WHERE group_id = p_group_id;
    PERFORM tev_priv_journal(22, 'TRNTYPE_GROUP ' || p_group_id, 'GROUP_NAME', v_name, NULL);
END
$$;

-- Detaches every transaction type from the group.
CREATE PROCEDURE tev_utils__del_trntype_in_group(p_group_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    r record;
BEGIN
    IF NOT EXISTS (SELECT 1 FROM tev_trntype_group WHERE group_id = p_group_id) THEN
        PERFORM tev_priv_no_data('transaction group ' || coalesce(p_group_id::text, 'NULL'));
    END IF;
    FOR r IN
        UPDATE tev_trntype SET group_id = NULL WHERE group_id = p_group_id RETURNING trntype_number
    LOOP
        PERFORM tev_priv_journal(22, 'TRNTYPE ' || r.trntype_number, 'GROUP_ID', p_group_id::text, NULL);
    END LOOP;
END
$$;

-- Attaches a transaction type that belongs to no group (or already to this
-- one) to the group.
CREATE PROCEDURE tev_utils__ins_trntype_in_group(p_group_id integer, p_trntype_number integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_before integer;
BEGIN
    IF NOT EXISTS (SELECT 1 FROM tev_trntype_group WHERE group_id = p_group_id) THEN
        PERFORM tev_priv_no_parent('transaction group ' || coalesce(p_group_id::text, 'NULL'));
    END IF;
    SELECT group_id INTO v_before FROM tev_trntype WHERE trntype_number = p_trntype_number FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('transaction type ' || coalesce(p_trntype_number::text, 'NULL'));
    END IF;
    IF v_before IS NOT NULL AND v_before <> p_group_id THEN
        RAISE EXCEPTION 'ORA-20001: transaction type % belongs to group %', p_trntype_number, v_before;
    END IF;
    UPDATE tev_trntype SET group_id = p_group_id WHERE trntype_number = p_trntype_number;
    PERFORM tev_priv_journal(22, 'TRNTYPE ' || p_trntype_number, 'GROUP_ID', v_before::text, p_group_id::text);
END
$$;

------------------------------------------------------------------------------
-- Help
------------------------------------------------------------------------------

CREATE FUNCTION tev_priv_check_help(p_type text, p_lang_id integer) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF p_type !~ '^[01]{3}$' THEN
        RAISE EXCEPTION 'ORA-20001: the help type is three characters 0 or 1, not "%"', p_type;
    END IF;
    IF NOT EXISTS (SELECT 1 FROM tev_langs WHERE lng_id = p_lang_id) THEN
        PERFORM tev_priv_no_parent('language ' || coalesce(p_lang_id::text, 'NULL'));
    END IF;
END
$$;

-- A help item of the administrator's own (id from 10000 on); the result is
-- its id.
CREATE FUNCTION tev_utils__ins_help_type(p_name text, p_desc text, p_type text, p_lang_id integer) RETURNS integer
LANGUAGE plpgsql VOLATILE SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_id integer;
BEGIN
    PERFORM tev_priv_check_help(p_type, p_lang_id);
    PERFORM tev_priv_check_length(p_name, '"TEV_HELP"."TEV_HELP_NAME"', 100),
            tev_priv_check_length(p_desc, '"TEV_HELP"."TEV_HELP_DESC"', 4000);
    v_id := nextval('tev_help_seq');
    INSERT INTO tev_help (tev_help_id, tev_help_lang_id, tev_help_name, tev_help_desc, tev_help_type)
    VALUES (v_id, p_lang_id, tev_priv_text(p_name), tev_priv_text(p_desc), p_type);
    PERFORM tev_priv_journal(12, format('HELP %s/%s', v_id, p_lang_id), 'TEV_HELP_NAME', NULL, p_name);
    RETURN v_id;
END
$$;

-- Built-in items (ids up to 9999) keep their name and type: only their
-- description changes.
CREATE PROCEDURE tev_utils__upd_help_type(p_id integer, p_name text, p_desc text, p_type text, p_lang_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_old tev_help;
    v_new tev_help;
BEGIN
    PERFORM tev_priv_check_help(p_type, p_lang_id);
    PERFORM tev_priv_check_length(p_name, '"TEV_HELP"."TEV_HELP_NAME"', 100),
            tev_priv_check_length(p_desc, '"TEV_HELP"."TEV_HELP_DESC"', 4000);
    SELECT * INTO v_old FROM tev_help WHERE tev_help_id = p_id AND tev_help_lang_id = p_lang_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data(format('help item %s in language %s', p_id, p_lang_id));
    END IF;
    UPDATE tev_help
       SET tev_help_name = CASE WHEN p_id <= 9999 THEN tev_help_name ELSE tev_priv_text(p_name) END,
           tev_help_type = CASE WHEN p_id <= 9999 THEN tev_help_type ELSE p_type END,
           tev_help_desc = tev_priv_text(p_desc)
     WHERE tev_help_id = p_id AND tev_help_lang_id = p_lang_id
    RETURNING * INTO v_new;
    PERFORM tev_priv_journal_diff(12, format('HELP %s/%s', p_id, p_lang_id), to_jsonb(v_old), to_jsonb(v_new));
END
$$;

-- Only the administrator's own items, in every language.
CREATE PROCEDURE tev_utils__del_help_type(p_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_name text;
BEGIN
    IF p_id <= 9999 THEN
        RAISE EXCEPTION 'ORA-20001: built-in help item % cannot be deleted', p_id;
    END IF;
    DELETE FROM tev_help WHERE tev_help_id = p_id RETURNING tev_help_name INTO v_name;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('help item ' || coalesce(p_id::text, 'NULL'));
    END IF;
    PERFORM tev_priv_journal(12, 'HELP ' || p_id, 'TEV_HELP_NAME', v_name, NULL);
END
$$;

------------------------------------------------------------------------------
-- Web names of service schemes and terms
------------------------------------------------------------------------------

-- A phrase of at most p_max characters of the console's field (decoded).
CREATE FUNCTION tev_priv_check_name(p_name text, p_column text, p_max integer) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF p_name IS NULL THEN
        RAISE EXCEPTION 'ORA-01400: cannot insert NULL into (%)', p_column;
    END IF;
    PERFORM tev_priv_check_length(p_name, p_column, p_max);
END
$$;

-- The web name of a scheme in one language (phrase type 2).
CREATE PROCEDURE tev_utils__upd_tev_schema_for_web(p_schema_number integer, p_schema_type integer,
                                                   p_schema_name text, p_lang_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_name text := tev_priv_text(p_schema_name);
    v_id integer := p_schema_type * 100 + p_schema_number;
    v_before text;
BEGIN
    PERFORM tev_priv_check_name(v_name, '"TEV_PHRASES"."PHRASE"', 50);
    IF NOT EXISTS (SELECT 1 FROM tev_schema_for_web
                    WHERE schema_number = p_schema_number AND schema_type = p_schema_type) THEN
        PERFORM tev_priv_no_data(format('scheme %s/%s', p_schema_number, p_schema_type));
    END IF;
    SELECT phrase INTO v_before FROM tev_phrases WHERE id = v_id AND type_id = 2 AND lang_id = p_lang_id;
    PERFORM tev_priv_set_phrase(2, v_id, p_lang_id, v_name);
    PERFORM tev_priv_journal(23, format('SCHEMA %s/%s', p_schema_number, p_schema_type),
                             'SCHEMA_NAME/' || p_lang_id, v_before, v_name);
END
$$;

-- The web name of a term in one language (phrase type 1).
CREATE PROCEDURE tev_utils__upd_tev_terms_for_web(p_term_id integer, p_term_name text, p_lang_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_name text := tev_priv_text(p_term_name);
    v_before text;
BEGIN
    PERFORM tev_priv_check_name(v_name, '"TEV_PHRASES"."PHRASE"', 255);
    IF NOT EXISTS (SELECT 1 FROM tev_terms_for_web WHERE term_id = p_term_id) THEN
        PERFORM tev_priv_no_data('term ' || coalesce(p_term_id::text, 'NULL'));
    END IF;
    SELECT phrase INTO v_before FROM tev_phrases WHERE id = p_term_id AND type_id = 1 AND lang_id = p_lang_id;
    PERFORM tev_priv_set_phrase(1, p_term_id, p_lang_id, v_name);
    PERFORM tev_priv_journal(23, 'TERM ' || p_term_id, 'TERM_NAME/' || p_lang_id, v_before, v_name);
END
$$;

------------------------------------------------------------------------------
-- Feedback types, letter templates, service-point order on the web
------------------------------------------------------------------------------

-- The name given in a language becomes that language's phrase (type 4);
-- in the portal's default language it is also the type's own name.
CREATE FUNCTION tev_priv_feedback_phrase(p_type_id integer, p_name text, p_lang_id integer) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM tev_langs WHERE lng_id = p_lang_id) THEN
        PERFORM tev_priv_no_parent('language ' || coalesce(p_lang_id::text, 'NULL'));
    END IF;
    INSERT INTO tev_phrases (id, type_id, lang_id, phrase) VALUES (p_type_id, 4, p_lang_id, p_name)
    ON CONFLICT (id, type_id, lang_id) DO UPDATE SET phrase = excluded.phrase;
END
$$;

CREATE PROCEDURE tev_utils__ins_feedback_type(p_type_name text, p_lang_id integer, INOUT p_type_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_name text := tev_priv_text(p_type_name);
BEGIN
    PERFORM tev_priv_check_length(v_name, '"TEV_TYPE_FEEDBACK_MSG"."TYPE_NAME"', 255);
    INSERT INTO tev_type_feedback_msg (type_name) VALUES (v_name) RETURNING type_id INTO p_type_id;
    PERFORM tev_priv_feedback_phrase(p_type_id, v_name, p_lang_id);
    PERFORM tev_priv_journal(13, 'FEEDBACK_TYPE ' || p_type_id, 'TYPE_NAME', NULL, v_name);
END
$$;

CREATE PROCEDURE tev_utils__upd_feedback_type(p_type_id integer, p_type_name text, p_lang_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_name text := tev_priv_text(p_type_name);
    v_before text;
BEGIN
    IF v_name IS NULL THEN
        RAISE EXCEPTION 'ORA-01400: cannot insert NULL into ("TEV_TYPE_FEEDBACK_MSG"."TYPE_NAME")';
    END IF;
    PERFORM tev_priv_check_length(v_name, '"TEV_TYPE_FEEDBACK_MSG"."TYPE_NAME"', 255);
    SELECT type_name INTO v_before FROM tev_type_feedback_msg WHERE type_id = p_type_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('feedback type ' || coalesce(p_type_id::text, 'NULL'));
    END IF;
    PERFORM tev_priv_feedback_phrase(p_type_id, v_name, p_lang_id);
    IF p_lang_id = tev_priv_config_int('LANG_ID', 25) THEN
        UPDATE tev_type_feedback_msg SET type_name = v_name WHERE type_id = p_type_id;
    END IF;
    PERFORM tev_priv_journal(13, 'FEEDBACK_TYPE ' || p_type_id, 'TYPE_NAME/' || p_lang_id, v_before, v_name);
END
$$;

-- Fails with a foreign-key violation (ORA-02292) while messages of the type exist.
CREATE PROCEDURE tev_utils__del_feedback_type(p_type_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_name text;
BEGIN
    DELETE FROM tev_type_feedback_msg WHERE type_id = p_type_id RETURNING type_name INTO v_name;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('feedback type ' || coalesce(p_type_id::text, 'NULL'));
    END IF;
    DELETE FROM tev_phrases WHERE id = p_type_id AND type_id = 4;
    PERFORM tev_priv_journal(13, 'FEEDBACK_TYPE ' || p_type_id, 'TYPE_NAME', v_name, NULL);
END
$$;

-- Insert or replace one letter template (UTF-8 text in both parts).
CREATE PROCEDURE tev_utils__upd_message_template(p_id integer, p_lang_id integer,
                                                 p_template_header bytea, p_template_message bytea)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF p_id IS NULL OR p_id NOT IN (1, 2, 3) THEN
        RAISE EXCEPTION 'ORA-20001: template number must be 1, 2 or 3, not %', coalesce(p_id::text, 'NULL');
    END IF;
    IF NOT EXISTS (SELECT 1 FROM tev_langs WHERE lng_id = p_lang_id) THEN
        PERFORM tev_priv_no_parent('language ' || coalesce(p_lang_id::text, 'NULL'));
    END IF;
    INSERT INTO tev_feedback_templates (id, lang_id, template_header, template_message)
    VALUES (p_id, p_lang_id, p_template_header, p_template_message)
    ON CONFLICT (id, lang_id) DO UPDATE
       SET template_header = excluded.template_header, template_message = excluded.template_message;
    PERFORM tev_priv_journal(19, format('TEMPLATE %s/%s', p_id, p_lang_id), NULL, NULL, NULL);
END
$$;

-- Order of service points on the web: 0 by number, 1 by name.
CREATE FUNCTION tev_utils__get_current_type_sort() RETURNS integer
LANGUAGE sql STABLE SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$ SELECT coalesce((SELECT pos_sort_type FROM tev_web_settings WHERE id = 1), 0) $$;

CREATE PROCEDURE tev_utils__set_current_type_sort(p_type_sort integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_before integer := tev_utils__get_current_type_sort();
BEGIN
    PERFORM tev_priv_check_flag(p_type_sort, 'P_TYPE_SORT');
    INSERT INTO tev_web_settings (id, pos_sort_type) VALUES (1, p_type_sort)
    ON CONFLICT (id) DO UPDATE SET pos_sort_type = excluded.pos_sort_type;
    PERFORM tev_priv_journal(6, 'POS_SORT_TYPE', 'POS_SORT_TYPE', v_before::text, p_type_sort::text);
END
$$;

------------------------------------------------------------------------------
-- News and subscriber groups
------------------------------------------------------------------------------

CREATE PROCEDURE tev_utils__create_news(p_headline text, p_newsdate timestamp, p_body text,
                                        p_cardholder_visibility integer, INOUT p_news_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    PERFORM tev_priv_check_flag(p_cardholder_visibility, 'P_CARDHOLDER_VISIBILITY');
    PERFORM tev_priv_check_length(p_headline, '"TEV_NEWS"."HEADLINE_NEWS"', 255),
            tev_priv_check_length(p_body, '"TEV_NEWS"."BODY_NEWS"', 4000);
    INSERT INTO tev_news (headline_news, date_news, body_news, cardholder_visibility)
    VALUES (tev_priv_text(p_headline), tev_priv_date(p_newsdate), tev_priv_text(p_body), p_cardholder_visibility)
    RETURNING news_id INTO p_news_id;
    PERFORM tev_priv_journal(14, 'NEWS ' || p_news_id, 'HEADLINE_NEWS', NULL, p_headline);
END
$$;

CREATE PROCEDURE tev_utils__upd_news(p_news_id integer, p_headline text, p_newsdate timestamp, p_body text,
                                     p_cardholder_visibility integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_old tev_news;
    v_new tev_news;
BEGIN
    PERFORM tev_priv_check_flag(p_cardholder_visibility, 'P_CARDHOLDER_VISIBILITY');
    PERFORM tev_priv_check_length(p_headline, '"TEV_NEWS"."HEADLINE_NEWS"', 255),
            tev_priv_check_length(p_body, '"TEV_NEWS"."BODY_NEWS"', 4000);
    SELECT * INTO v_old FROM tev_news WHERE news_id = p_news_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('news ' || coalesce(p_news_id::text, 'NULL'));
    END IF;
    UPDATE tev_news
       SET headline_news = tev_priv_text(p_headline), date_news = tev_priv_date(p_newsdate),
           body_news = tev_priv_text(p_body), cardholder_visibility = p_cardholder_visibility
     WHERE news_id = p_news_id
    RETURNING * INTO v_new;
    PERFORM tev_priv_journal_diff(14, 'NEWS ' || p_news_id, to_jsonb(v_old), to_jsonb(v_new));
END
$$;

-- The news item and its bindings to groups.
CREATE PROCEDURE tev_utils__del_news(p_news_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_headline text;
BEGIN
    DELETE FROM tev_news_group_link WHERE news_id = p_news_id;
    DELETE FROM tev_news WHERE news_id = p_news_id RETURNING headline_news INTO v_headline;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('news ' || coalesce(p_news_id::text, 'NULL'));
    END IF;
    PERFORM tev_priv_journal(14, 'NEWS ' || p_news_id, 'HEADLINE_NEWS', v_headline, NULL);
END
$$;

-- Every group, ISVISIBLE = 1 for those bound to the news item.
CREATE PROCEDURE tev_utils__get_group_list_for_news(p_news_id integer, INOUT p_group_list refcursor)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    OPEN p_group_list FOR
        SELECT CASE WHEN EXISTS (SELECT 1 FROM tev_news_group_link l
                                  WHERE l.news_id = p_news_id AND l.group_id = g.group_id)
                    THEN 1 ELSE 0 END AS isvisible,
               g.group_id, g.name_group
          FROM tev_news_group g
         ORDER BY g.group_id;
END
$$;

-- p_check_operation 1 binds the group to the news item, 0 unbinds it;
-- either is a no-op when already so.
CREATE PROCEDURE tev_utils__bind_group_to_news(p_news_id integer, p_group_id integer, p_check_operation integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    PERFORM tev_priv_check_flag(p_check_operation, 'P_CHECK_OPERATION');
    IF NOT EXISTS (SELECT 1 FROM tev_news WHERE news_id = p_news_id) THEN
        PERFORM tev_priv_no_parent('news ' || coalesce(p_news_id::text, 'NULL'));
    END IF;
    IF NOT EXISTS (SELECT 1 FROM tev_news_group WHERE group_id = p_group_id) THEN
        PERFORM tev_priv_no_parent('group ' || coalesce(p_group_id::text, 'NULL'));
    END IF;
    IF p_check_operation = 1 THEN
        INSERT INTO tev_news_group_link (news_id, group_id) VALUES (p_news_id, p_group_id)
        ON CONFLICT DO NOTHING;
        IF FOUND THEN
            PERFORM tev_priv_journal(14, 'NEWS ' || p_news_id, 'GROUP_ID', NULL, p_group_id::text);
        END IF;
    ELSIF p_check_operation = 0 THEN
        DELETE FROM tev_news_group_link WHERE news_id = p_news_id AND group_id = p_group_id;
        IF FOUND THEN
            PERFORM tev_priv_journal(14, 'NEWS ' || p_news_id, 'GROUP_ID', p_group_id::text, NULL);
        END IF;
    ELSE
        RAISE EXCEPTION 'ORA-01400: cannot insert NULL into ("P_CHECK_OPERATION")';
    END IF;
END
$$;

CREATE PROCEDURE tev_utils__create_group_for_news(p_group_name text, INOUT p_group_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    PERFORM tev_priv_check_length(p_group_name, '"TEV_NEWS_GROUP"."NAME_GROUP"', 255);
    INSERT INTO tev_news_group (name_group) VALUES (tev_priv_text(p_group_name)) RETURNING group_id INTO p_group_id;
    PERFORM tev_priv_journal(20, 'GROUP ' || p_group_id, 'NAME_GROUP', NULL, p_group_name);
END
$$;

CREATE PROCEDURE tev_utils__upd_group_for_news(p_group_id integer, p_group_name text)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_before text;
BEGIN
    PERFORM tev_priv_check_length(p_group_name, '"TEV_NEWS_GROUP"."NAME_GROUP"', 255);
    SELECT name_group INTO v_before FROM tev_news_group WHERE group_id = p_group_id FOR UPDATE;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('group ' || coalesce(p_group_id::text, 'NULL'));
    END IF;
    UPDATE tev_news_group SET name_group = tev_priv_text(p_group_name) WHERE group_id = p_group_id;
    PERFORM tev_priv_journal(20, 'GROUP ' || p_group_id, 'NAME_GROUP', v_before, p_group_name);
END
$$;

-- The group, its bindings to news and its members.
CREATE PROCEDURE tev_utils__del_group_for_news(p_group_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_name text;
BEGIN
    DELETE FROM tev_news_group_link WHERE group_id = p_group_id;
    DELETE FROM tev_group_emitent WHERE group_id = p_group_id;
    DELETE FROM tev_group_client WHERE group_id = p_group_id;
    DELETE FROM tev_news_group WHERE group_id = p_group_id RETURNING name_group INTO v_name;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('group ' || coalesce(p_group_id::text, 'NULL'));
    END IF;
    PERFORM tev_priv_journal(20, 'GROUP ' || p_group_id, 'NAME_GROUP', v_name, NULL);
END
$$;

------------------------------------------------------------------------------
-- Members of subscriber groups
------------------------------------------------------------------------------

CREATE FUNCTION tev_priv_check_group(p_group_id integer) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM tev_news_group WHERE group_id = p_group_id) THEN
        PERFORM tev_priv_no_data('group ' || coalesce(p_group_id::text, 'NULL'));
    END IF;
END
$$;

-- Emitents that are not members of the group.
CREATE PROCEDURE tev_utils__get_free_emitents_for_group(p_group_id integer, INOUT p_emitent_list refcursor)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    PERFORM tev_priv_check_group(p_group_id);
    OPEN p_emitent_list FOR
        SELECT 0 AS isvisible, e.emitent_id_web, e.emitent_number, e.filial_number, e.emitent_name
          FROM tev_emitent e
         WHERE NOT EXISTS (SELECT 1 FROM tev_group_emitent m
                            WHERE m.group_id = p_group_id AND m.emitent_id_web = e.emitent_id_web)
         ORDER BY e.emitent_number, e.filial_number, e.emitent_id_web;
END
$$;

-- Clients of the emitent, and of the emitents it owns, that are not members
-- of the group; the name is the name for reports when
-- p_use_name_for_report is not 0 and there is one.
CREATE PROCEDURE tev_utils__get_free_clients_for_group(p_group_id integer, p_emitent_id integer,
                                                       p_use_name_for_report integer,
                                                       INOUT p_client_list refcursor)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    PERFORM tev_priv_check_group(p_group_id);
    OPEN p_client_list FOR
        SELECT 0 AS isvisible,
               coalesce(CASE WHEN coalesce(p_use_name_for_report, 0) = 0 THEN btrim(c.wbc_name)
                             ELSE tev_priv_text(btrim(c.name_for_report)) END,
                        c.wbc_name)::varchar(255) AS wbc_name,
               c.wbc_id,
               CASE c.wbc_petrol_type_id WHEN 3 THEN 1 WHEN 4 THEN 2 ELSE c.wbc_petrol_type_id END
                   AS wbc_petrol_type_id,
               c.clientislnr, c.clientisbonus
          FROM tev_web_clients c
          JOIN tev_emitent ce ON ce.emitent_id_web = c.wbc_emitent_id
          JOIN tev_emitent o ON o.emitent_id_web = p_emitent_id
         WHERE (ce.emitent_id_web = o.emitent_id_web
                OR (o.emitent_num_owner = o.emitent_number
                    AND o.filial_num_owner IS NOT DISTINCT FROM o.filial_number
                    AND ce.emitent_num_owner = o.emitent_number
                    AND ce.filial_num_owner IS NOT DISTINCT FROM o.filial_number))
           AND NOT EXISTS (SELECT 1 FROM tev_group_client m
                            WHERE m.group_id = p_group_id AND m.client_id_web = c.wbc_id)
         ORDER BY c.wbc_id;
END
$$;

CREATE PROCEDURE tev_utils__ins_emitent_in_group(p_group_id integer, p_emitent_web_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM tev_news_group WHERE group_id = p_group_id) THEN
        PERFORM tev_priv_no_parent('group ' || coalesce(p_group_id::text, 'NULL'));
    END IF;
    IF NOT EXISTS (SELECT 1 FROM tev_emitent WHERE emitent_id_web = p_emitent_web_id) THEN
        PERFORM tev_priv_no_parent('emitent ' || coalesce(p_emitent_web_id::text, 'NULL'));
    END IF;
    INSERT INTO tev_group_emitent (group_id, emitent_id_web) VALUES (p_group_id, p_emitent_web_id);
    PERFORM tev_priv_journal(24, 'GROUP ' || p_group_id, 'EMITENT_ID_WEB', NULL, p_emitent_web_id::text,
                             p_emitent_web_id);
END
$$;

CREATE PROCEDURE tev_utils__del_emitent_from_group(p_group_id integer, p_emitent_web_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    DELETE FROM tev_group_emitent WHERE group_id = p_group_id AND emitent_id_web = p_emitent_web_id;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data(format('emitent %s in group %s', p_emitent_web_id, p_group_id));
    END IF;
    PERFORM tev_priv_journal(24, 'GROUP ' || p_group_id, 'EMITENT_ID_WEB', p_emitent_web_id::text, NULL,
                             p_emitent_web_id);
END
$$;

CREATE PROCEDURE tev_utils__ins_client_in_group(p_group_id integer, p_client_web_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM tev_news_group WHERE group_id = p_group_id) THEN
        PERFORM tev_priv_no_parent('group ' || coalesce(p_group_id::text, 'NULL'));
    END IF;
    IF NOT EXISTS (SELECT 1 FROM tev_web_clients WHERE wbc_id = p_client_web_id) THEN
        PERFORM tev_priv_no_parent('client ' || coalesce(p_client_web_id::text, 'NULL'));
    END IF;
    INSERT INTO tev_group_client (group_id, client_id_web) VALUES (p_group_id, p_client_web_id);
    PERFORM tev_priv_journal(24, 'GROUP ' || p_group_id, 'CLIENT_ID_WEB', NULL, p_client_web_id::text,
                             NULL, p_client_web_id);
END
$$;

CREATE PROCEDURE tev_utils__del_client_from_group(p_group_id integer, p_client_web_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    DELETE FROM tev_group_client WHERE group_id = p_group_id AND client_id_web = p_client_web_id;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data(format('client %s in group %s', p_client_web_id, p_group_id));
    END IF;
    PERFORM tev_priv_journal(24, 'GROUP ' || p_group_id, 'CLIENT_ID_WEB', p_client_web_id::text, NULL,
                             NULL, p_client_web_id);
END
$$;

------------------------------------------------------------------------------
-- Coupons archive
------------------------------------------------------------------------------

-- Moves the coupons created before p_date (a day) into the archive, in a
-- new session (p_cur_archive_id = 0) or continuing an unfinished one. The
-- whole move is one statement of the caller's transaction: it is finished
-- (state 3) or not there at all.
CREATE PROCEDURE tev_utils__archive_coupons(p_date timestamp, p_cur_archive_id integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_day timestamp(0) := date_trunc('day', p_date);
    v_id integer := p_cur_archive_id;
    v_state integer;
    v_count integer;
BEGIN
    IF v_day IS NULL THEN
        RAISE EXCEPTION 'ORA-01400: cannot insert NULL into ("TEV_ARCHIVE_DATA"."ARCHIVE_DATE")';
    END IF;
    IF v_day > current_date THEN
        RAISE EXCEPTION 'ORA-20001: the archive date may not be later than today';
    END IF;
    IF coalesce(v_id, 0) = 0 THEN
        INSERT INTO tev_archive_data (state, archive_date) VALUES (1, v_day) RETURNING id INTO v_id;
    ELSE
        SELECT state INTO v_state FROM tev_archive_data WHERE id = v_id FOR UPDATE;
        IF NOT FOUND THEN
            PERFORM tev_priv_no_data('archive session ' || v_id);
        END IF;
        IF v_state = 3 THEN
            RAISE EXCEPTION 'ORA-20001: archive session % is already finished', v_id;
        END IF;
        UPDATE tev_archive_data SET archive_date = v_day WHERE id = v_id;
    END IF;

    WITH moved AS (
        DELETE FROM tev_coupons WHERE date_of < v_day RETURNING *
    )
    INSERT INTO tev_coupons_archive (coupon_id, archive_id, emitent_id_web, client_id_web, coupon_number,
                                     service_name, amount, date_of)
    SELECT coupon_id, v_id, emitent_id_web, client_id_web, coupon_number, service_name, amount, date_of
      FROM moved;
    GET DIAGNOSTICS v_count = ROW_COUNT;

    UPDATE tev_archive_data SET state = 3 WHERE id = v_id;
    PERFORM tev_priv_journal(17, 'ARCHIVE ' || v_id, 'COUPONS', NULL, v_count::text);
END
$$;

------------------------------------------------------------------------------
-- Bonus ranges (the bonus module: get_ad_presence looks for get_ad_ranges)
------------------------------------------------------------------------------

-- "1 000 - 4 999": whole numbers with blanks between the thousands.
CREATE FUNCTION tev_priv_range_text(p_left integer, p_right integer) RETURNS text
LANGUAGE sql IMMUTABLE
SET search_path = __SCHEME__, pg_temp
AS $$
    SELECT replace(to_char(p_left, 'FM999,999,999,990'), ',', ' ') || ' - '
           || replace(to_char(p_right, 'FM999,999,999,990'), ',', ' ')
$$;

CREATE PROCEDURE tev_utils__get_ad_ranges(p_bonus_type integer, INOUT p_ad_ranges refcursor)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF p_bonus_type IS NULL OR p_bonus_type NOT IN (0, 1) THEN
        RAISE EXCEPTION 'ORA-20001: bonus type must be 0 or 1, not %', coalesce(p_bonus_type::text, 'NULL');
    END IF;
    OPEN p_ad_ranges FOR
        SELECT r.ad_ranges_id, r.left_range_border, r.right_range_border, r.percent,
               tev_priv_range_text(r.left_range_border, r.right_range_border)::varchar(60) AS bonus_range
          FROM tev_ad_ranges r
         WHERE r.bonus_type = p_bonus_type
         ORDER BY r.left_range_border, r.ad_ranges_id;
END
$$;

-- Result codes of the two writes: 0 done, 1 the range is not valid, 2 it
-- overlaps another range of its kind, 3 anything else that stops it (an
-- unknown kind or range).
CREATE FUNCTION tev_priv_check_range(p_id integer, p_bonus_type integer, p_left integer, p_right integer,
                                     p_percent numeric) RETURNS integer
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF p_left IS NULL OR p_right IS NULL OR p_percent IS NULL
       OR p_left < 0 OR p_left > p_right OR p_percent NOT BETWEEN -100 AND 100 THEN
        RETURN 1;
    END IF;
    -- Nobody else may add a range of the kind between the check and the write.
    LOCK TABLE tev_ad_ranges IN SHARE ROW EXCLUSIVE MODE;
    IF EXISTS (SELECT 1 FROM tev_ad_ranges r
                WHERE r.bonus_type = p_bonus_type AND r.ad_ranges_id IS DISTINCT FROM p_id
                  AND r.left_range_border <= p_right AND p_left <= r.right_range_border) THEN
        RETURN 2;
    END IF;
    RETURN 0;
END
$$;

CREATE PROCEDURE tev_utils__ins_ad_range(p_left_range_border integer, p_right_range_border integer,
                                         p_percent numeric, p_bonus_type integer, INOUT p_result integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_id integer;
BEGIN
    IF p_bonus_type IS NULL OR p_bonus_type NOT IN (0, 1) THEN
        p_result := 3;
        RETURN;
    END IF;
    p_result := tev_priv_check_range(NULL, p_bonus_type, p_left_range_border, p_right_range_border, p_percent);
    IF p_result <> 0 THEN
        RETURN;
    END IF;
    INSERT INTO tev_ad_ranges (bonus_type, left_range_border, right_range_border, percent)
    VALUES (p_bonus_type, p_left_range_border, p_right_range_border, round(p_percent, 2))
    RETURNING ad_ranges_id INTO v_id;
    PERFORM tev_priv_journal(21, format('AD_RANGE %s/%s', p_bonus_type, v_id), 'BONUS_RANGE', NULL,
                             tev_priv_range_text(p_left_range_border, p_right_range_border) || ': '
                             || trim_scale(round(p_percent, 2)) || '%');
END
$$;

-- The range's id comes as text, the way the console keeps it.
CREATE FUNCTION tev_priv_range_id(p_id text) RETURNS integer
LANGUAGE sql IMMUTABLE
SET search_path = __SCHEME__, pg_temp
AS $$ SELECT CASE WHEN btrim(p_id) ~ '^[0-9]{1,9}$' THEN btrim(p_id)::integer END $$;

CREATE PROCEDURE tev_utils__upd_ad_range(p_ad_ranges_id text, p_left_range_border integer,
                                         p_right_range_border integer, p_percent numeric,
                                         INOUT p_result integer)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_old tev_ad_ranges;
BEGIN
    SELECT * INTO v_old FROM tev_ad_ranges WHERE ad_ranges_id = tev_priv_range_id(p_ad_ranges_id) FOR UPDATE;
    IF NOT FOUND THEN
        p_result := 3;
        RETURN;
    END IF;
    p_result := tev_priv_check_range(v_old.ad_ranges_id, v_old.bonus_type, p_left_range_border,
                                     p_right_range_border, p_percent);
    IF p_result <> 0 THEN
        RETURN;
    END IF;
    UPDATE tev_ad_ranges
       SET left_range_border = p_left_range_border, right_range_border = p_right_range_border,
           percent = round(p_percent, 2)
     WHERE ad_ranges_id = v_old.ad_ranges_id;
    PERFORM tev_priv_journal(21, format('AD_RANGE %s/%s', v_old.bonus_type, v_old.ad_ranges_id), 'BONUS_RANGE',
                             tev_priv_range_text(v_old.left_range_border, v_old.right_range_border) || ': '
                             || trim_scale(v_old.percent) || '%',
                             tev_priv_range_text(p_left_range_border, p_right_range_border) || ': '
                             || trim_scale(round(p_percent, 2)) || '%');
END
$$;

CREATE PROCEDURE tev_utils__del_ad_range(p_ad_ranges_id text)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
DECLARE
    v_old tev_ad_ranges;
BEGIN
    DELETE FROM tev_ad_ranges WHERE ad_ranges_id = tev_priv_range_id(p_ad_ranges_id) RETURNING * INTO v_old;
    IF NOT FOUND THEN
        PERFORM tev_priv_no_data('bonus range ' || coalesce(p_ad_ranges_id, 'NULL'));
    END IF;
    PERFORM tev_priv_journal(21, format('AD_RANGE %s/%s', v_old.bonus_type, v_old.ad_ranges_id), 'BONUS_RANGE',
                             tev_priv_range_text(v_old.left_range_border, v_old.right_range_border) || ': '
                             || trim_scale(v_old.percent) || '%', NULL);
END
$$;
