-- The package tev_utils (5 of 5): the administrator's reports. A visit is a
-- sign-in (operation 1 of the visit journal) of any login of the client;
-- the period includes both of its ends.

CREATE FUNCTION tev_priv_check_period(p_start timestamp, p_end timestamp) RETURNS void
LANGUAGE plpgsql
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    IF p_start IS NULL OR p_end IS NULL THEN
        RAISE EXCEPTION 'ORA-01400: the report period needs a beginning and an end';
    END IF;
END
$$;

-- Per client with visits in the period: the emitent number, the client's
-- name, the last visit of the period and the number of visits in it.
CREATE PROCEDURE tev_utils__get_count_web_clients_visits(p_date_of_start timestamp, p_date_of_end timestamp,
                                                         INOUT p_report refcursor)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    PERFORM tev_priv_check_period(p_date_of_start, p_date_of_end);
    OPEN p_report FOR
        SELECT e.emitent_number AS emitent, c.wbc_name AS client_name,
               max(j.wbvj_visit_date) AS last_visit_date, count(*)::integer AS count_visits_on_period
          FROM tev_web_visit_journals j
          JOIN tev_web_logins l ON l.wbl_id = j.wbvj_login_id
          JOIN tev_web_clients c ON c.wbc_id = l.wbl_web_client_id
          JOIN tev_emitent e ON e.emitent_id_web = c.wbc_emitent_id
         WHERE j.operation_type = 1
           AND j.wbvj_visit_date BETWEEN p_date_of_start AND p_date_of_end
         GROUP BY e.emitent_number, c.wbc_id, c.wbc_name
         ORDER BY e.emitent_number, c.wbc_name, c.wbc_id;
END
$$;

-- Per emitent with such clients: "[0001, 0] name" and how many of its
-- clients visited the web in the period.
CREATE PROCEDURE tev_utils__get_count_visits_by_emitent(p_date_of_start timestamp, p_date_of_end timestamp,
                                                        INOUT p_report refcursor)
LANGUAGE plpgsql SECURITY DEFINER
SET search_path = __SCHEME__, pg_temp
AS $$
BEGIN
    PERFORM tev_priv_check_period(p_date_of_start, p_date_of_end);
    OPEN p_report FOR
        SELECT ('[' || to_char(e.emitent_number, 'FM0000') || ', ' || coalesce(e.filial_number, 0) || '] '
                || e.emitent_name)::varchar(255) AS emitent,
               count(DISTINCT c.wbc_id)::integer AS clients_count
          FROM tev_web_visit_journals j
          JOIN tev_web_logins l ON l.wbl_id = j.wbvj_login_id
          JOIN tev_web_clients c ON c.wbc_id = l.wbl_web_client_id
          JOIN tev_emitent e ON e.emitent_id_web = c.wbc_emitent_id
         WHERE j.operation_type = 1
           AND j.wbvj_visit_date BETWEEN p_date_of_start AND p_date_of_end
         GROUP BY e.emitent_id_web, e.emitent_number, e.filial_number, e.emitent_name
         ORDER BY e.emitent_number, e.filial_number, e.emitent_id_web;
END
$$;
