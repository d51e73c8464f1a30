-- Demo portal of scheme web2: a second, small portal for the schemes
-- dialog — one emitent with a filial and a few clients.

INSERT INTO tev_emitent (emitent_id_web, emitent_number, filial_number, emitent_name,
                         emitent_num_owner, filial_num_owner, sharing_folder, order_unload, order_download)
VALUES
    (1, 10, 0, 'Второй портал', 10, 0, '/srv/web2/exchange/0010_0', 1, 0),
    (2, 10, 1, 'Второй портал, филиал «Восток»', 10, 0, '/srv/web2/exchange/0010_1', 0, 0);

INSERT INTO tev_emitent_params (emitent_id) VALUES (1);

INSERT INTO tev_web_clients (wbc_id, wbc_emitent_id, wbc_petrol_id, wbc_petrol_type_id, wbc_name,
                             wbc_email, wbc_client_state, clientislnr, allow_create_dr, allow_change_holder,
                             wbc_date_create)
SELECT n, 1 + n % 2, 500 + n, CASE WHEN n % 3 = 0 THEN 2 ELSE 1 END,
       CASE WHEN n % 3 = 0 THEN (ARRAY['Орлов', 'Зуева', 'Титов'])[1 + n % 3] || ' К.Л. ' || n
            ELSE 'ООО «Восток-' || n || '»' END,
       CASE WHEN n % 4 <> 0 THEN format('web2client%s@client.example', n) END,
       1 + n % 5, CASE WHEN n = 7 THEN 1 ELSE 0 END, n % 2, 1,
       timestamp '2024-03-01 09:00:00' + n * interval '1 day'
FROM generate_series(1, 12) AS n;

INSERT INTO tev_web_logins (wbl_web_client_id, wbl_login_md5, wbl_password_md5, wbl_date_create)
SELECT c.wbc_id, 'w2client' || c.wbc_id, tev_utils__calc_md5(c.wbc_id || 'w2client' || c.wbc_id),
       c.wbc_date_create + interval '1 day'
FROM tev_web_clients c WHERE c.wbc_id % 3 <> 0
ORDER BY c.wbc_id;

INSERT INTO tev_service (emitent_id_web, service_id, service_name, is_currency, max_day_limit,
                         max_week_limit, max_month_limit)
SELECT e, s.id, s.name, s.currency, s.day, s.week, s.month
FROM generate_series(1, 2) AS e
CROSS JOIN (VALUES (1, 'Деньги', 1, 20000.00, 100000.00, 300000.00),
                   (2, 'АИ-95', 0, 300.000, 1500.000, 5000.000)) AS s(id, name, currency, day, week, month)
ORDER BY e, s.id;

INSERT INTO tev_pos (emitent_id_web, emitent_id_web_owner, pos_number, pos_name, pos_address)
SELECT 1, 1, n, 'АЗС № ' || n || ' «Восток»', 'г. Владивосток, ул. Светланская, д. ' || n
FROM generate_series(1, 3) AS n;

INSERT INTO tev_manager (manager_id, manager_name, manager_password_md5) VALUES
    (1, 'Сидоров Пётр', tev_utils__calc_md5('manager1'));
INSERT INTO tev_manager_emitent (manager_id, emitent_id_web) VALUES (1, 2);

-- The second portal has no bonus module, so the console hides its commands
-- there (get_ad_presence looks for get_ad_ranges).
DROP PROCEDURE tev_utils__get_ad_ranges(integer, refcursor);
DROP PROCEDURE tev_utils__ins_ad_range(integer, integer, numeric, integer, integer);
DROP PROCEDURE tev_utils__upd_ad_range(text, integer, integer, numeric, integer);
DROP PROCEDURE tev_utils__del_ad_range(text);
