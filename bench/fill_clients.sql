-- Bench data: one new emitent with many web clients, for timing the
-- clients list. Run after portal-schema/install, as the installing user:
--
--   psql -v ON_ERROR_STOP=1 -X -q -d CONNINFO -v scheme=tev -v emitent=100 \
--        [-v clients=100000] [-v logins=N] -f bench/fill_clients.sql
--
-- scheme   the portal scheme (tev or web2)
-- emitent  web id of the new emitent (must not exist yet; emitent_id works too)
-- clients  how many clients (default 100000)
-- logins   logins per client (default 0): the client login, then one per
--          card holder created for it
-- Deterministic: everything is derived from the row number.

\if :{?scheme}
\else
    \echo 'fill_clients.sql: set -v scheme=...'
    \quit
\endif
\if :{?emitent}
\elif :{?emitent_id}
    \set emitent :emitent_id
\else
    \echo 'fill_clients.sql: set -v emitent=...'
    \quit
\endif
\if :{?clients}
\else
    \set clients 100000
\endif
\if :{?logins}
\else
    \set logins 0
\endif

SELECT :logins > 0 AS fill_logins \gset

BEGIN;
SET LOCAL search_path = :"scheme", pg_temp;
SET LOCAL standard_conforming_strings = on;

INSERT INTO tev_emitent (emitent_id_web, emitent_number, filial_number, emitent_name,
                         emitent_num_owner, filial_num_owner)
VALUES (:emitent, 9000 + :emitent % 1000, 0, 'Бенчмарк ' || :emitent, 9000 + :emitent % 1000, 0);

INSERT INTO tev_web_clients (wbc_emitent_id, wbc_petrol_id, wbc_petrol_type_id, wbc_name, name_for_report,
                             wbc_email, wbc_description, wbc_in_blacklist, wbc_client_state, clientislnr,
                             clientisbonus, allow_create_dr, allow_create_oil, allow_create_dd,
                             allow_change_holder, allow_lost_card, allow_ch_onl_params,
                             allow_subscribe_on_sms, allow_unblock_card, allow_use_api, test_client,
                             wbc_update_email, manager_email)
SELECT :emitent, i,
       CASE WHEN i % 13 = 0 THEN 4 WHEN i % 9 = 0 THEN 3 WHEN i % 3 = 0 THEN 2 ELSE 1 END,
       CASE
           WHEN i % 17 = 7 THEN 'Caf\u00E9 \u0391\u03B8\u03AE\u03BD\u03B1 ' || i
           WHEN i % 23 = 11 THEN 'M\u00FCller & S\u00F6hne GmbH ' || i
           WHEN i % 3 = 0 THEN
               (ARRAY['Иванов', 'Смирнов', 'Кузнецов', 'Попов', 'Васильев', 'Петров', 'Соколов',
                      'Михайлов', 'Новиков', 'Фёдоров'])[1 + i % 10] || ' '
               || (ARRAY['А.', 'Б.', 'В.', 'Г.', 'Д.', 'Е.'])[1 + (i / 10) % 6]
               || (ARRAY['И.', 'М.', 'П.', 'С.'])[1 + i % 4] || ' ' || i
           ELSE
               (ARRAY['ООО', 'АО', 'ИП', 'ЗАО'])[1 + i % 4] || ' «'
               || (ARRAY['Северная', 'Быстрая', 'Надёжная', 'Первая', 'Городская', 'Волжская',
                         'Уральская', 'Сибирская'])[1 + (i / 4) % 8] || ' '
               || (ARRAY['логистика', 'перевозка', 'доставка', 'компания', 'автобаза'])[1 + (i / 32) % 5]
               || '» ' || i
       END,
       CASE WHEN i % 5 = 0 THEN 'Общество с ограниченной ответственностью № ' || i END,
       CASE i % 4
           WHEN 0 THEN NULL
           WHEN 1 THEN format('buh%s@bench.example;director%s@bench.example', i, i)
           ELSE format('client%s@bench.example', i)
       END,
       CASE WHEN i % 7 = 0 THEN 'Договор № ' || i END,
       (i % 50 = 0)::integer,
       1 + i % 5,
       (i % 7 = 3)::integer, (i % 11 = 5)::integer,
       (i % 2 = 0)::integer, (i % 3 = 0)::integer, (i % 4 = 0)::integer, (i % 5 < 3)::integer,
       (i % 2 = 1)::integer, (i % 6 < 2)::integer, (i % 7 < 4)::integer, (i % 8 < 2)::integer,
       (i % 9 = 1)::integer, (i % 100 = 0)::integer, (i % 4 <> 0)::integer,
       CASE WHEN i % 10 = 0 THEN 'manager@bench.example' END
FROM generate_series(1, :clients) AS i;

\if :fill_logins
-- Holders for the logins beyond the client's own one.
INSERT INTO tev_card_holder (client_id_web, card_holder_name, stateholder)
SELECT c.wbc_id, 'Держатель ' || c.wbc_petrol_id || '-' || n, n % 3
FROM tev_web_clients c
CROSS JOIN generate_series(1, :logins - 1) AS n
WHERE c.wbc_emitent_id = :emitent;

INSERT INTO tev_web_logins (wbl_web_client_id, card_holder_id, wbl_login_md5, wbl_password_md5)
SELECT c.wbc_id, NULL, 'b' || :emitent || '_' || c.wbc_petrol_id,
       tev_utils__calc_md5(c.wbc_id || ('b' || :emitent || '_' || c.wbc_petrol_id))
FROM tev_web_clients c
WHERE c.wbc_emitent_id = :emitent
UNION ALL
SELECT h.client_id_web, h.card_holder_id, 'b' || :emitent || '_h' || h.card_holder_id,
       tev_utils__calc_md5('b' || :emitent || '_h' || h.card_holder_id)
FROM tev_card_holder h
JOIN tev_web_clients c ON c.wbc_id = h.client_id_web
WHERE c.wbc_emitent_id = :emitent;
\endif

SELECT setval(pg_get_serial_sequence('tev_emitent', 'emitent_id_web'),
              (SELECT max(emitent_id_web) FROM tev_emitent)) AS emitent_seq \gset
COMMIT;

ANALYZE :"scheme".tev_emitent;
ANALYZE :"scheme".tev_web_clients;
\if :fill_logins
ANALYZE :"scheme".tev_card_holder;
ANALYZE :"scheme".tev_web_logins;
\endif
