-- Demo portal of scheme tev: emitents with filials and acquirers, a few
-- hundred clients of every kind and state, logins with initial, changed and
-- temporary passwords, holders, subscriptions, journals, service points,
-- services with limits, managers, news, feedback, coupons, requests of all
-- four kinds and bonus ranges.
-- Everything is derived from row numbers: the same data on every install,
-- except the recent activity at the end, which is dated back from the day
-- of the install so that the windows that open on the last weeks (events
-- journal, feedback, reports of the previous month) show something.

-- Emitents. Numbers 1, 2 and 4 have filials; [0003] has no filial number;
-- [0006] only acquires (its service points appear in other lists).
INSERT INTO tev_emitent (emitent_id_web, emitent_number, filial_number, emitent_name,
                         emitent_num_owner, filial_num_owner, unload, pos_visible, hide_discont,
                         type_change, sharing_folder, e_mail, order_unload, order_download,
                         use_http, http_server, http_port, use_http_proxy, http_proxy_server,
                         http_proxy_port, use_http_proxy_auth, http_proxy_user, http_proxy_pswd,
                         use_billing, billing_prefix, billing_service_name, billing_vat)
VALUES
    (1, 1, 0, 'ТЭВ-Центр', 1, 0, 1, 1, 0, 0, '/srv/tev/exchange/0001_0', NULL, 1, 1,
     0, NULL, NULL, 0, NULL, NULL, 0, NULL, NULL, 1, 'TEV', 'Топливо по топливным картам', 20),
    (2, 1, 1, 'ТЭВ-Центр, филиал «Север»', 1, 0, 1, 1, 0, 0, '/srv/tev/exchange/0001_1', NULL, 0, 0,
     0, NULL, NULL, 0, NULL, NULL, 0, NULL, NULL, 0, NULL, NULL, NULL),
    (3, 1, 2, 'ТЭВ-Центр, филиал «Юг»', 1, 0, 0, 1, 0, 0, NULL, NULL, 0, 0,
     0, NULL, NULL, 0, NULL, NULL, 0, NULL, NULL, 0, NULL, NULL, NULL),
    (4, 2, 0, 'Нефтьсервис', 2, 0, 1, 1, 1, 1, NULL,
     'exchange@neftservice.example;backup@neftservice.example', 2, 0,
     1, 'gw.neftservice.example', 8443, 1, 'proxy.neftservice.example', 3128, 1, 'tev', 'proxy-secret',
     1, 'NS', tev_priv_encode_escapes('Услуги АЗС «Нефтьсервис» – топливо'), 18),
    (5, 2, 1, 'Нефтьсервис, Тверь', 2, 0, 1, 0, 0, 0, '/srv/tev/exchange/0002_1', NULL, 0, 0,
     0, NULL, NULL, 0, NULL, NULL, 0, NULL, NULL, 0, NULL, NULL, NULL),
    (6, 3, NULL, 'Caf\u00E9 Petrol', 3, NULL, 1, 1, 0, 0, NULL, NULL, 0, 0,
     0, NULL, NULL, 0, NULL, NULL, 0, NULL, NULL, 0, NULL, NULL, NULL),
    (7, 4, 0, 'Балтийская топливная компания', 4, 0, 1, 0, 1, 0, '\\fileserver\exchange\0004', NULL, 3, 2,
     0, NULL, NULL, 0, NULL, NULL, 0, NULL, NULL, 1, 'BTK', 'Топливо', 20),
    (8, 5, 0, '\u0391\u03B8\u03AE\u03BD\u03B1 Fuel', 5, 0, 1, 1, 0, 1, NULL, 'fuel@athina.example', 4, 1,
     0, NULL, NULL, 0, NULL, NULL, 0, NULL, NULL, 0, NULL, NULL, NULL),
    (9, 6, 0, 'АЗС «Дорожная»', 6, 0, 0, 1, 0, 0, NULL, NULL, 5, 0,
     0, NULL, NULL, 0, NULL, NULL, 0, NULL, NULL, 0, NULL, NULL, NULL);

-- Encryption of the owner emitents' exchange.
INSERT INTO tev_emitent_params (emitent_id, use_import_crypt, use_export_crypt, export_key_data) VALUES
    (1, 1, 1, upper(encode(sha512('demo key of [0001, 0]'::bytea) || sha256('demo'::bytea), 'hex'))),
    (4, 0, 0, NULL),
    (7, 1, 0, NULL),
    (8, 0, 0, NULL),
    (9, 0, 0, NULL);

-- Clients: the web ids run through the emitents in blocks.
CREATE TEMP TABLE demo_client_block (emitent_id integer, first_id integer, last_id integer) ON COMMIT DROP;
INSERT INTO demo_client_block VALUES
    (1, 1, 120), (2, 121, 160), (3, 161, 180), (4, 181, 240),
    (5, 241, 255), (6, 256, 265), (7, 266, 315), (8, 316, 335);

INSERT INTO tev_web_clients (wbc_id, wbc_emitent_id, wbc_petrol_id, wbc_petrol_type_id, wbc_name,
                             name_for_report, wbc_email, wbc_description, wbc_in_blacklist,
                             wbc_client_state, clientislnr, clientisbonus, allow_create_dr,
                             allow_create_oil, allow_create_dd, allow_change_holder, allow_lost_card,
                             allow_ch_onl_params, allow_subscribe_on_sms, allow_unblock_card,
                             allow_use_api, test_client, wbc_update_email, manager_email,
                             wbc_date_create)
SELECT c.id, b.emitent_id, 10000 + c.id - b.first_id + 1, c.kind,
       c.name,
       -- the name for reports spells out the legal form
       CASE WHEN c.kind IN (1, 3) AND c.id % 2 = 0 THEN
           regexp_replace(regexp_replace(regexp_replace(regexp_replace(c.name,
               '^ООО ', 'Общество с ограниченной ответственностью '),
               '^ЗАО ', 'Закрытое акционерное общество '),
               '^АО ', 'Акционерное общество '),
               '^ИП ', 'Индивидуальный предприниматель ')
       END,
       CASE c.id % 6
           WHEN 0 THEN NULL
           WHEN 1 THEN format('buh%s@client.example;director%s@client.example', c.id, c.id)
           WHEN 2 THEN format('office%s@client.example; fleet%s@client.example;cards%s@client.example', c.id, c.id, c.id)
           ELSE format('client%s@client.example', c.id)
       END,
       CASE c.id % 5
           WHEN 0 THEN format('Договор № %s/%s от 01.02.2023', c.id, 2023)
           WHEN 1 THEN format(E'Договор № %s\r\nОплата по счетам ежемесячно', c.id)
       END,
       CASE WHEN c.id % 17 = 0 THEN 1 ELSE 0 END,
       CASE c.id % 10 WHEN 0 THEN 1 WHEN 1 THEN 1 WHEN 2 THEN 2 WHEN 3 THEN 2 WHEN 4 THEN 3
                      WHEN 8 THEN 5 ELSE 4 END,
       c.lnr, c.bonus,
       (c.id % 2 = 0)::integer, (c.id % 3 = 0)::integer, (c.id % 4 = 0)::integer,
       (c.id % 5 < 3)::integer, (c.id % 2 = 1)::integer, (c.id % 6 < 2)::integer,
       (c.id % 7 < 4)::integer, (c.id % 8 < 2)::integer, (c.id % 9 = 1)::integer,
       (c.id % 25 = 0)::integer, (c.id % 6 <> 0 AND c.id % 11 <> 0)::integer,
       CASE WHEN c.id % 4 = 0 THEN format('manager%s@tev.example', 1 + c.id % 3) END,
       timestamp '2023-01-10 09:00:00' + c.id * interval '1 day 3 hours'
FROM demo_client_block b
CROSS JOIN LATERAL generate_series(b.first_id, b.last_id) AS g(id)
CROSS JOIN LATERAL (
    SELECT g.id,
           CASE WHEN g.id % 13 = 0 THEN 4 WHEN g.id % 9 = 0 THEN 3 WHEN g.id % 3 = 0 THEN 2 ELSE 1 END AS kind,
           CASE WHEN g.id % 7 = 3 THEN 1 ELSE 0 END AS lnr,
           CASE WHEN g.id % 11 = 5 THEN 1 ELSE 0 END AS bonus
) k
CROSS JOIN LATERAL (
    SELECT k.id, k.kind, k.lnr, k.bonus,
           CASE
               -- names the Windows Cyrillic code page cannot hold
               WHEN k.id % 17 = 7 THEN 'Caf\u00E9 \u0391\u03B8\u03AE\u03BD\u03B1 ' || k.id
               WHEN k.id % 23 = 11 THEN 'M\u00FCller & S\u00F6hne GmbH ' || k.id
               WHEN k.id % 29 = 4 THEN '\u0130stanbul Petrol Ltd. ' || k.id
               WHEN k.kind IN (1, 3) THEN
                   (ARRAY['ООО', 'АО', 'ООО', 'ИП', 'ЗАО'])[1 + k.id % 5] || ' «'
                   || (ARRAY['Северная', 'Быстрая', 'Надёжная', 'Первая', 'Городская', 'Волжская',
                             'Уральская', 'Сибирская', 'Транспортная', 'Южная'])[1 + k.id % 10] || ' '
                   || (ARRAY['логистика', 'перевозка', 'доставка', 'компания', 'автобаза',
                             'служба', 'линия', 'экспедиция'])[1 + (k.id / 10) % 8] || '»'
                   || CASE WHEN k.id > 80 THEN ' ' || k.id ELSE '' END
               ELSE
                   (ARRAY['Иванов', 'Смирнов', 'Кузнецов', 'Попов', 'Васильев', 'Петров', 'Соколов',
                          'Михайлов', 'Новиков', 'Фёдоров', 'Морозов', 'Волков'])[1 + k.id % 12] || ' '
                   || (ARRAY['А.', 'Б.', 'В.', 'Г.', 'Д.', 'Е.', 'Ж.', 'З.', 'И.'])[1 + (k.id / 12) % 9]
                   || (ARRAY['А.', 'В.', 'И.', 'М.', 'П.', 'С.'])[1 + k.id % 6]
                   || CASE WHEN k.id > 140 THEN ' (' || k.id || ')' ELSE '' END
           END AS name
) c;

-- Card holders: most clients have one to three, some have none.
INSERT INTO tev_card_holder (client_id_web, card_holder_name, stateholder)
SELECT c.wbc_id,
       CASE WHEN (c.wbc_id + n) % 31 = 0 THEN 'J\u00F6rg ' || c.wbc_id || '-' || n
            ELSE (ARRAY['Алексеев', 'Белова', 'Громов', 'Давыдова', 'Егоров', 'Жукова', 'Зайцев',
                        'Ильина', 'Козлов', 'Лебедева', 'Макаров', 'Никитина'])[1 + (c.wbc_id + n) % 12]
                 || ' ' || (ARRAY['Андрей', 'Мария', 'Сергей', 'Ольга', 'Дмитрий', 'Елена'])[1 + (c.wbc_id * 2 + n) % 6]
       END,
       (c.wbc_id + n) % 3
FROM tev_web_clients c
CROSS JOIN LATERAL generate_series(1, 1 + c.wbc_id % 3) AS n
WHERE c.wbc_id % 4 <> 3
ORDER BY c.wbc_id, n;

-- Client logins. Passwords by row: the initial ones the invitation can
-- work out (client id followed by the login, or the login itself), changed
-- ones, and temporary ones.
INSERT INTO tev_web_logins (wbl_web_client_id, card_holder_id, wbl_login_md5, wbl_password_md5,
                            wbl_is_active, wbl_is_journalising, email, wbl_temp_password,
                            wbl_failed_attempts, wbl_locked_until, wbl_date_create, wbl_date_password)
SELECT c.wbc_id, NULL, l.login,
       tev_utils__calc_md5(CASE c.wbc_id % 5
                               WHEN 0 THEN c.wbc_id || l.login
                               WHEN 1 THEN l.login
                               WHEN 2 THEN 'Changed' || c.wbc_id
                               WHEN 3 THEN 'Temp' || c.wbc_id
                               ELSE c.wbc_id || l.login
                           END),
       CASE WHEN c.wbc_id % 20 = 4 THEN 0 ELSE 1 END,
       CASE WHEN c.wbc_id % 7 = 6 THEN 0 ELSE 1 END,
       NULL,
       CASE WHEN c.wbc_id % 5 = 3 THEN 1 ELSE 0 END,
       CASE WHEN c.wbc_id % 13 = 0 THEN 5 WHEN c.wbc_id % 13 = 1 THEN 2 ELSE 0 END,
       CASE WHEN c.wbc_id % 13 = 0 THEN timestamp '2030-01-01 00:00:00' END,
       c.wbc_date_create + interval '2 days',
       c.wbc_date_create + interval '2 days'
FROM tev_web_clients c
CROSS JOIN LATERAL (
    SELECT CASE WHEN c.wbc_id % 3 = 0 THEN 'buh' || c.wbc_id ELSE 'client' || c.wbc_id END AS login
) l
WHERE c.wbc_id % 10 <> 9
ORDER BY c.wbc_id;

-- Logins of the first holder of every second client with holders.
INSERT INTO tev_web_logins (wbl_web_client_id, card_holder_id, wbl_login_md5, wbl_password_md5,
                            wbl_is_active, wbl_is_journalising, email, wbl_temp_password,
                            wbl_date_create, wbl_date_password)
SELECT h.client_id_web, h.card_holder_id, 'holder' || h.card_holder_id,
       tev_utils__calc_md5(CASE WHEN h.card_holder_id % 4 = 0 THEN 'Holder#' || h.card_holder_id
                                ELSE 'holder' || h.card_holder_id END),
       1, CASE WHEN h.card_holder_id % 5 = 0 THEN 0 ELSE 1 END,
       CASE WHEN h.card_holder_id % 3 <> 0 THEN format('holder%s@mail.example', h.card_holder_id) END,
       CASE WHEN h.card_holder_id % 9 = 0 THEN 1 ELSE 0 END,
       timestamp '2024-02-01 10:00:00' + h.card_holder_id * interval '5 hours',
       timestamp '2024-02-01 10:00:00' + h.card_holder_id * interval '5 hours'
FROM tev_card_holder h
WHERE h.client_id_web % 2 = 0
  AND h.card_holder_id = (SELECT min(h2.card_holder_id) FROM tev_card_holder h2
                           WHERE h2.client_id_web = h.client_id_web)
ORDER BY h.card_holder_id;

-- Visit journals of two logins in three.
INSERT INTO tev_web_visit_journals (wbvj_login_id, wbvj_visit_date, operation_type, operation_name,
                                    card_number, new_holder_name, service_name, amount, request_id)
SELECT l.wbl_id,
       timestamp '2025-01-06 08:15:00' + (l.wbl_id * 37 + n * 11) * interval '1 hour' + n * interval '7 minutes',
       op.t,
       (ARRAY['Вход в систему', 'Выход из системы', 'Просмотр отчета', 'Смена держателя карты',
              'Блокировка карты', 'Создание заявки', 'Изменение лимита', 'Смена пароля'])[op.t],
       CASE WHEN op.t IN (4, 5, 6, 7) THEN format('7824%s', lpad((l.wbl_id * 10 + n)::text, 12, '0')) END,
       CASE WHEN op.t = 4 THEN (ARRAY['Орлов Павел', 'Сидорова Нина', 'Z\u00FCrich Fleet'])[1 + n % 3] END,
       CASE WHEN op.t IN (6, 7) THEN (ARRAY['АИ-92', 'АИ-95', 'ДТ', 'Деньги'])[1 + n % 4] END,
       CASE WHEN op.t IN (6, 7) THEN round((50 + (l.wbl_id * 13 + n * 7) % 450)::numeric + 0.5, 3) END,
       CASE WHEN op.t = 6 THEN 1000 + l.wbl_id * 10 + n END
FROM tev_web_logins l
CROSS JOIN LATERAL generate_series(1, 1 + l.wbl_id % 6) AS n
CROSS JOIN LATERAL (SELECT CASE WHEN n = 1 THEN 1 ELSE 1 + (l.wbl_id + n * 3) % 8 END AS t) op
WHERE l.wbl_id % 3 <> 0
ORDER BY l.wbl_id, n;

-- Subscriptions: subscribed clients have a current one (some an older one
-- too), blocked clients an ended one.
INSERT INTO tev_web_describes (wbd_client_id, wbd_date_of, wbd_date_end, wbd_comment)
SELECT c.wbc_id, timestamp '2025-01-15 12:00:00' + c.wbc_id * interval '1 hour',
       timestamp '2027-12-31 23:59:59' + (c.wbc_id % 4) * interval '1 year',
       CASE WHEN c.wbc_id % 3 = 0 THEN 'Оплачено по счёту № ' || (500 + c.wbc_id) END
FROM tev_web_clients c WHERE c.wbc_client_state = 4
UNION ALL
SELECT c.wbc_id, timestamp '2024-01-15 12:00:00', timestamp '2024-12-31 23:59:59', 'Предыдущий период'
FROM tev_web_clients c WHERE c.wbc_client_state = 4 AND c.wbc_id % 2 = 0
UNION ALL
SELECT c.wbc_id, timestamp '2023-06-01 09:00:00', timestamp '2024-03-31 00:00:00', 'Не продлена'
FROM tev_web_clients c WHERE c.wbc_client_state = 5;

-- Services of every emitent with clients, with the emitent's maximum limits.
INSERT INTO tev_service (emitent_id_web, service_id, service_name, is_currency, service_is_active,
                         max_day_limit, max_week_limit, max_month_limit)
SELECT e.emitent_id_web, s.id, s.name, s.currency,
       CASE WHEN s.id = 5 AND e.emitent_id_web % 2 = 0 THEN 0 ELSE 1 END,
       s.day, s.week, s.month
FROM tev_emitent e
CROSS JOIN (VALUES
    (1, 'Деньги', 1, 50000.00, 300000.00, 1000000.00),
    (2, 'АИ-92', 0, 500.000, 3000.000, 10000.000),
    (3, 'АИ-95', 0, 400.000, 2500.000, 8000.000),
    (4, 'ДТ', 0, 1000.000, NULL, 20000.000),
    (5, 'Газ (пропан)', 0, NULL, NULL, NULL)
) AS s(id, name, currency, day, week, month)
WHERE e.emitent_id_web <> 9
ORDER BY e.emitent_id_web, s.id;

-- Clients' own maximum limits; a NULL keeps the emitent's value.
INSERT INTO tev_max_limits (client_id_web, service_id_web, max_day_limit, max_week_limit, max_month_limit)
SELECT c.wbc_id, s.service_id_web,
       CASE WHEN s.service_id = 1 THEN 10000 + c.wbc_id * 10 ELSE 100 END,
       CASE WHEN s.service_id = 1 THEN 50000 END,
       CASE WHEN s.service_id = 1 THEN 150000 ELSE 2000.5 END
FROM tev_web_clients c
JOIN tev_service s ON s.emitent_id_web = c.wbc_emitent_id
WHERE (c.wbc_id % 8 = 0 AND s.service_id = 2) OR (c.wbc_id % 8 = 4 AND s.service_id = 1)
ORDER BY c.wbc_id, s.service_id_web;

-- Service points: each owner list shows its own points and some of other
-- emitents (acquirers).
INSERT INTO tev_pos (emitent_id_web, emitent_id_web_owner, pos_number, pos_name, pos_address,
                     isvisible, isupdate)
SELECT p.emitent, p.owner, n,
       CASE WHEN (p.emitent * 10 + n) % 11 = 0 THEN 'Station \u00C9toile ' || n
            ELSE 'АЗС № ' || n || ' «' || (ARRAY['Центральная', 'Кольцевая', 'Заречная', 'Лесная',
                                                  'Трассовая', 'Вокзальная'])[1 + (p.emitent + n) % 6] || '»'
       END,
       (ARRAY['г. Москва', 'г. Тверь', 'г. Санкт-Петербург', 'г. Калининград', 'г. Казань'])[1 + p.emitent % 5]
           || ', ' || (ARRAY['ул. Ленина', 'Ленинградское ш.', 'пр. Мира', 'ул. Садовая'])[1 + n % 4]
           || ', д. ' || (n * 7 + p.emitent),
       CASE WHEN (p.owner + n) % 5 = 0 THEN 0 ELSE 1 END,
       CASE WHEN (p.owner + n) % 4 = 0 THEN 0 ELSE 1 END
FROM (VALUES (1, 1, 6), (2, 1, 3), (3, 1, 2), (9, 1, 4), (7, 1, 2),
             (2, 2, 3),
             (4, 4, 5), (5, 4, 2), (9, 4, 3),
             (7, 7, 4), (1, 7, 2),
             (8, 8, 3), (6, 6, 2)) AS p(emitent, owner, cnt)
CROSS JOIN LATERAL generate_series(1, p.cnt) AS n
ORDER BY p.owner, p.emitent, n;

-- Transaction types an emitent shows differently from the default (visible).
INSERT INTO tev_trntype_emitent (emitent_id_web, trntype_number, isvisible) VALUES
    (1, 5, 0), (1, 6, 0), (1, 1, 1), (4, 7, 1), (7, 2, 0);

-- Regional managers: two with emitents, one without.
INSERT INTO tev_manager (manager_id, manager_name, manager_password_md5) VALUES
    (1, 'Иванов Иван', tev_utils__calc_md5('manager1')),
    (2, 'Петрова Анна', tev_utils__calc_md5('manager2')),
    (3, 'Manager \u00C9milie', tev_utils__calc_md5('manager3'));

INSERT INTO tev_manager_emitent (manager_id, emitent_id_web) VALUES
    (1, 1), (1, 2), (1, 3), (2, 4), (2, 5);

-- News with subscriber groups.
INSERT INTO tev_news (news_id, headline_news, date_news, body_news, cardholder_visibility) VALUES
    (1, 'Новые АЗС в сети', timestamp '2025-02-03 10:00:00',
     'С 1 марта карты принимаются на пяти новых АЗС в Тверской области.', 1),
    (2, 'Изменение цен на топливо', timestamp '2025-03-01 09:30:00',
     E'С 10 марта изменяются цены на АИ-92 и АИ-95.\r\nПодробности — в разделе «Цены».', 1),
    (3, 'Плановые работы', timestamp '2025-03-15 22:00:00',
     'Личный кабинет будет недоступен с 23:00 до 01:00.', 0),
    (4, 'Caf\u00E9 \u0391\u03B8\u03AE\u03BD\u03B1: new partner', timestamp '2025-04-20 12:00:00', NULL, 0),
    (5, 'Бонусная программа', timestamp '2025-05-05 08:00:00',
     'Начисляйте бонусы за каждую заправку.', 1);

INSERT INTO tev_news_group (group_id, name_group) VALUES
    (1, 'Все корпоративные клиенты'),
    (2, 'Клиенты филиала «Север»'),
    (3, 'VIP \u00C9lite');

INSERT INTO tev_news_group_link (news_id, group_id) VALUES
    (1, 1), (2, 1), (2, 2), (3, 1), (3, 2), (3, 3), (5, 3);

INSERT INTO tev_group_emitent (group_id, emitent_id_web) VALUES (1, 1), (1, 4), (3, 7);
INSERT INTO tev_group_client (group_id, client_id_web)
SELECT 2, g FROM generate_series(121, 125) g
UNION ALL SELECT 3, g FROM unnest(ARRAY[1, 5, 10, 182]) g;

-- Feedback from the portal's users.
INSERT INTO tev_feedback_msg (message_date, type_id, login_id, login_name, name_client, email_client,
                              email_admin, ip_client, text_msg)
SELECT timestamp '2025-03-01 10:00:00' + n * interval '2 days 5 hours', 1 + n % 3, l.wbl_id, l.wbl_login_md5,
       c.wbc_name, split_part(c.wbc_email, ';', 1), 'admin@tev.example', '192.0.2.' || (10 + n),
       (ARRAY['Не отображается баланс карты.', 'Просьба добавить выгрузку в Excel.',
              E'Транзакция от 12.03 не видна в отчёте.\r\nКарта 7824 0000 1234.',
              'Спасибо за удобный кабинет!'])[1 + n % 4]
FROM generate_series(1, 8) AS n
JOIN tev_web_logins l ON l.wbl_id = n * 9
JOIN tev_web_clients c ON c.wbc_id = l.wbl_web_client_id
ORDER BY n;

-- Coupons: an archived session, a later one that failed and was never
-- finished, and coupons still to archive.
INSERT INTO tev_archive_data (id, date_of, state, archive_date) VALUES
    (1, timestamp '2024-07-01 18:20:00', 3, timestamp '2024-01-01 00:00:00'),
    (2, timestamp '2025-11-03 19:05:00', 2, timestamp '2025-10-01 00:00:00');

INSERT INTO tev_coupons_archive (coupon_id, archive_id, emitent_id_web, client_id_web, coupon_number,
                                 service_name, amount, date_of)
SELECT n, 1, 1, 1 + n % 20, 'T-' || lpad(n::text, 8, '0'), 'АИ-95', 20, timestamp '2023-03-01 00:00:00' + n * interval '9 days'
FROM generate_series(1, 12) AS n;

INSERT INTO tev_coupons (coupon_id, emitent_id_web, client_id_web, coupon_number, service_name, amount, date_of)
SELECT n, CASE WHEN n % 3 = 0 THEN 4 ELSE 1 END,
       CASE WHEN n % 3 = 0 THEN 181 + n % 20 ELSE 1 + n % 20 END,
       'T-' || lpad(n::text, 8, '0'), (ARRAY['АИ-92', 'АИ-95', 'ДТ'])[1 + n % 3], 10 * (1 + n % 5),
       timestamp '2024-01-05 00:00:00' + (n - 12) * interval '11 days'
FROM generate_series(13, 90) AS n;

-- A few entries of the events journal as the portal would have written them.
INSERT INTO tev_events_journal (event_type_id, journal_date, user_name, param_name, param_value_before,
                                param_value_after, object_name, emitent_id, filial_id, cln_type, owner_name)
VALUES
    (6, timestamp '2025-01-10 09:00:00', 'TEV_USER', 'PARAM_VAL', '5', '8', 'PSW_MIN_LENGTH', NULL, NULL, NULL, NULL),
    (1, timestamp '2025-01-11 10:30:00', 'TEV_USER', 'WBC_CLIENT_STATE', '1', '2', 'WEB_CLIENT 2', 1, 0, 2,
     (SELECT wbc_name FROM tev_web_clients WHERE wbc_id = 2)),
    (7, timestamp '2025-01-12 14:45:00', 'TEV_OPERATOR', 'UNLOAD', '0', '1', 'EMITENT 4', 2, 0, NULL, 'Нефтьсервис'),
    (2, timestamp '2025-02-01 08:05:00', 'TEV_USER', 'WBL_LOGIN', NULL, 'client1', 'WEB_LOGIN 1', 1, 0, 1,
     (SELECT wbc_name FROM tev_web_clients WHERE wbc_id = 1)),
    (4, timestamp '2025-02-02 16:20:00', 'TEV_USER', 'WBL_PASSWORD', NULL, '***', 'WEB_LOGIN 2', 1, 0, 2,
     (SELECT wbc_name FROM tev_web_clients WHERE wbc_id = 2));

-- The administrator's own help item.
INSERT INTO tev_help (tev_help_id, tev_help_lang_id, tev_help_name, tev_help_desc, tev_help_type) VALUES
    (10000, 25, 'Как связаться с администратором', 'Напишите через форму обратной связи или позвоните по телефону из раздела «Контакты».', '111');

-- Bonus ranges of both kinds (percent of the month's volume, correction).
INSERT INTO tev_ad_ranges (bonus_type, left_range_border, right_range_border, percent) VALUES
    (0, 0, 999, 0), (0, 1000, 4999, 1.5), (0, 5000, 9999, 2.5), (0, 10000, 49999, 3.5),
    (0, 50000, 999999, 5),
    (1, 0, 499, -0.5), (1, 500, 1999, 0.75), (1, 2000, 99999, 1.25);

-- Requests of the four kinds in every state: by row number k = n % 9,
-- k = 0 not yet sent (whatever the state), 1..7 sent with the states 0 to
-- 6, 8 sent with a state the console does not know.
CREATE TEMP TABLE demo_request (n integer, client integer, login integer, service integer, kind integer,
                                send_oc integer, state integer, cause integer, date_of timestamp(0))
    ON COMMIT DROP;
INSERT INTO demo_request
SELECT n, c.wbc_id, l.wbl_id, s.service_id_web, c.wbc_petrol_type_id,
       CASE WHEN n % 9 = 0 THEN 0 ELSE 1 END,
       CASE WHEN n % 9 = 0 THEN n % 4 WHEN n % 9 = 8 THEN 7 ELSE n % 9 - 1 END,
       CASE WHEN n % 9 IN (5, 7) THEN 1 + n % 5 END,
       date_trunc('minute', localtimestamp(0)) - n * interval '17 hours' - (n % 7) * interval '13 minutes'
FROM generate_series(1, 180) AS n
-- clients of the first emitent more often, the others in turn
JOIN tev_web_clients c ON c.wbc_id = CASE WHEN n % 2 = 0 THEN 1 + (n * 7) % 120 ELSE 1 + (n * 37) % 335 END
JOIN tev_service s ON s.emitent_id_web = c.wbc_emitent_id AND s.service_id = 1 + n % 4
LEFT JOIN tev_web_logins l ON l.wbl_web_client_id = c.wbc_id AND l.card_holder_id IS NULL;

INSERT INTO tev_dr_request (client_id_web, login_id, card_number, service_id_web, amount, date_of,
                            date_begin, date_end, send_oc, request_state_id, cancel_cause_id)
SELECT client, login, '7824' || lpad((client * 100 + n % 7)::text, 12, '0'), service,
       round((100 + (n * 37) % 4900)::numeric, 2), date_of,
       date_trunc('day', date_of) + interval '1 day', date_trunc('day', date_of) + interval '1 month',
       send_oc, state, cause
FROM demo_request WHERE n % 4 = 0 ORDER BY n;

INSERT INTO tev_dd_request (client_id_web, login_id, card_number, service_id_web, amount, date_of,
                            date_begin, date_end, send_oc, request_state_id, cancel_cause_id)
SELECT client, login, '7824' || lpad((client * 100 + n % 5)::text, 12, '0'), service,
       round((20 + (n * 13) % 480)::numeric + 0.5, 3), date_of,
       date_trunc('day', date_of), date_trunc('day', date_of) + interval '7 days',
       send_oc, state, cause
FROM demo_request WHERE n % 4 = 1 ORDER BY n;

INSERT INTO tev_oil_request (client_id_web, login_id, card_number, service_id_web, amount, date_of,
                             date_begin, date_end, send_oc, request_state_id, cancel_cause_id)
SELECT client, login, 6390000000000000 + client * 100 + n % 9, service,
       round((50 + (n * 11) % 950)::numeric, 3), date_of,
       date_trunc('month', date_of), date_trunc('month', date_of) + interval '3 months' - interval '1 second',
       send_oc, state, cause
FROM demo_request WHERE n % 4 = 2 ORDER BY n;

-- Limits of type 1 count services, 2 sum them, 3 limit one service; a
-- limit left out stays as it is.
INSERT INTO tev_onl_limit_card_request (client_id_web, login_id, card_num, limit_type_id, service_id_web,
                                        daily_limit, weekly_limit, monthly_limit, date_of, send_oc,
                                        request_state_id, cancel_cause_id)
SELECT client, login, 7824000000000000 + client * 100 + n % 3, 1 + n % 3,
       CASE WHEN n % 3 = 2 THEN service END,
       CASE WHEN n % 5 <> 1 THEN (10 + n % 20) * CASE n % 3 WHEN 1 THEN 1000 ELSE 1 END END,
       CASE WHEN n % 5 <> 2 THEN (50 + n % 30) * CASE n % 3 WHEN 1 THEN 1000 ELSE 1 END END,
       CASE WHEN n % 5 <> 3 THEN (200 + n % 50) * CASE n % 3 WHEN 1 THEN 1000 ELSE 1 END END,
       date_of, send_oc, state, cause
FROM demo_request WHERE n % 4 = 3 ORDER BY n;

-- Recent activity, dated back from the day of the install.
-- Sign-ins and other visits of the last eleven weeks.
INSERT INTO tev_web_visit_journals (wbvj_login_id, wbvj_visit_date, operation_type, operation_name,
                                    card_number, new_holder_name, service_name, amount, request_id)
SELECT l.wbl_id,
       date_trunc('minute', localtimestamp(0)) - ((l.wbl_id * 5 + n * 9) % 77) * interval '1 day'
           - ((l.wbl_id + n) % 10) * interval '1 hour' - n * interval '3 minutes',
       op.t,
       (ARRAY['Вход в систему', 'Выход из системы', 'Просмотр отчета', 'Смена держателя карты',
              'Блокировка карты', 'Создание заявки', 'Изменение лимита', 'Смена пароля'])[op.t],
       CASE WHEN op.t IN (4, 5, 6, 7) THEN format('7824%s', lpad((l.wbl_web_client_id * 100 + n)::text, 12, '0')) END,
       CASE WHEN op.t = 4 THEN (ARRAY['Орлов Павел', 'Сидорова Нина', 'Z\u00FCrich Fleet'])[1 + n % 3] END,
       CASE WHEN op.t IN (6, 7) THEN (ARRAY['АИ-92', 'АИ-95', 'ДТ', 'Деньги'])[1 + n % 4] END,
       CASE WHEN op.t IN (6, 7) THEN round((40 + (l.wbl_id * 7 + n * 3) % 300)::numeric, 3) END,
       CASE WHEN op.t = 6 THEN 5000 + l.wbl_id * 10 + n END
FROM tev_web_logins l
CROSS JOIN LATERAL generate_series(1, 2 + l.wbl_id % 5) AS n
CROSS JOIN LATERAL (SELECT CASE WHEN n <= 2 THEN 1 ELSE 1 + (l.wbl_id + n * 5) % 8 END AS t) op
WHERE l.wbl_id % 4 = 1 AND l.wbl_is_journalising = 1
ORDER BY l.wbl_id, n;

-- Messages of the last weeks.
INSERT INTO tev_feedback_msg (message_date, type_id, login_id, login_name, name_client, email_client,
                              email_admin, ip_client, text_msg)
SELECT date_trunc('minute', localtimestamp(0)) - n * interval '3 days 7 hours', 1 + n % 4, l.wbl_id,
       l.wbl_login_md5, c.wbc_name, split_part(c.wbc_email, ';', 1), 'admin@tev.example',
       '198.51.100.' || (20 + n),
       (ARRAY['Прошу увеличить месячный лимит по карте.', 'Не приходит письмо для восстановления пароля.',
              E'Заявка на ОП висит в статусе «Отправлена» третий день.\r\nПросьба проверить.',
              'Добавьте, пожалуйста, АЗС на трассе М-11 в список.',
              'Caf\u00E9 Petrol: the station list shows no addresses.'])[1 + n % 5]
FROM generate_series(1, 9) AS n
JOIN tev_web_logins l ON l.wbl_id = 3 + n * 13
JOIN tev_web_clients c ON c.wbc_id = l.wbl_web_client_id
ORDER BY n;

-- Changes of the last weeks, as the package journals them.
INSERT INTO tev_events_journal (event_type_id, journal_date, user_name, param_name, param_value_before,
                                param_value_after, object_name, emitent_id, filial_id, cln_type, owner_name)
SELECT j.event, date_trunc('minute', localtimestamp(0)) - j.days_ago * interval '1 day' - j.n * interval '47 minutes',
       j.who, j.param, j.before, j.after, j.object,
       e.emitent_number, e.filial_number,
       CASE WHEN c.wbc_id IS NOT NULL THEN CASE WHEN c.wbc_petrol_type_id IN (1, 3) THEN 1 ELSE 2 END END,
       coalesce(c.wbc_name, e.emitent_name)
FROM (VALUES
    (1, 1, 28, 'TEV_USER', 'WBC_CLIENT_STATE', '2', '4', 'WEB_CLIENT 12', NULL, 12),
    (2, 8, 27, 'TEV_USER', 'WBD_DATE_END', NULL, '31.12.2027 23:59:59', 'WEB_DESCRIBE 40', NULL, 12),
    (3, 2, 25, 'TEV_OPERATOR', 'WBL_LOGIN', NULL, 'holder' || 61, 'WEB_LOGIN 400', NULL, 44),
    (4, 4, 24, 'TEV_OPERATOR', 'WBL_PASSWORD', NULL, '*** (temporary)', 'WEB_LOGIN 12', NULL, 13),
    (5, 7, 21, 'TEV_USER', 'HIDE_DISCONT', '0', '1', 'EMITENT 1', 1, NULL),
    (6, 7, 21, 'TEV_USER', 'E_MAIL', NULL, 'exchange@neftservice.example', 'EMITENT 4', 4, NULL),
    (7, 9, 19, 'TEV_MANAGER', 'MAX_DAY_LIMIT', '500', '750', 'SERVICE 2', 1, NULL),
    (8, 10, 17, 'TEV_MANAGER', 'ISVISIBLE', '1', '0', 'POS 3', 1, NULL),
    (9, 6, 15, 'TEV_USER', 'PARAM_VAL', '0', '1', 'ADV_PASS_SECUR', NULL, NULL),
    (10, 6, 15, 'TEV_USER', 'PARAM_VAL', 'smtp.old.example', 'smtp.tev.example', 'FB_SMTP_SERVER', NULL, NULL),
    (11, 14, 12, 'TEV_OPERATOR', 'HEADLINE_NEWS', NULL, 'Бонусная программа', 'NEWS 5', NULL, NULL),
    (12, 15, 10, 'TEV_USER', 'EMITENT_ID_WEB', NULL, '5', 'MANAGER 2', 5, NULL),
    (13, 11, 8, 'TEV_USER', 'MARK', '1', '-1', 'TRNTYPE 7', NULL, NULL),
    (14, 21, 7, 'TEV_USER', 'BONUS_RANGE', '1 000 - 4 999: 1%', '1 000 - 4 999: 1.5%', 'AD_RANGE 0/2', NULL, NULL),
    (15, 5, 5, 'TEV_OPERATOR', 'WBL_FAILED_ATTEMPTS', '5', '0', 'WEB_LOGIN 26', NULL, 26),
    (16, 17, 4, 'TEV_USER', 'COUPONS', NULL, '0', 'ARCHIVE 2', NULL, NULL),
    (17, 1, 2, 'TEV_USER', 'WBC_DESCRIPTION', NULL, E'Договор № 7\r\nОплата по счетам ежемесячно', 'WEB_CLIENT 7', NULL, 7),
    (18, 12, 1, 'TEV_USER', 'TEV_HELP_DESC', 'Введите логин и пароль.', 'Введите логин и пароль, выданные администратором.',
     'HELP 1/25', NULL, NULL),
    (19, 24, 0, 'TEV_USER', 'CLIENT_ID_WEB', NULL, '182', 'GROUP 3', NULL, 182)
) AS j(n, event, days_ago, who, param, before, after, object, emitent, client)
LEFT JOIN tev_web_clients c ON c.wbc_id = j.client
LEFT JOIN tev_emitent e ON e.emitent_id_web = coalesce(j.emitent, c.wbc_emitent_id)
ORDER BY j.n;
