-- The package tev_utils, part 4: reference data and portal content —
-- service points, transaction types, help, feedback types and letters,
-- news and their groups, the coupons archive.

------------------------------------------------------------------------------
-- Service points and transaction types
------------------------------------------------------------------------------

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
