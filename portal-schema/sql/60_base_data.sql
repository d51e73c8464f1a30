-- Reference data every scheme starts with: version, web languages,
-- settings, journal event types, translations, transaction types, feedback
-- types and letters, built-in help. Texts outside the Windows Cyrillic code
-- page are written readable here and stored in the portal's escaped form.

INSERT INTO tev_version_db (version) VALUES ('2.9.5.1');

INSERT INTO tev_langs (lng_id, lng_lang_name, lng_lang_name_trans, lng_code) VALUES
    (25, 'Русский',    'Русский',                            'ru'),
    (9,  'Английский', 'English',                            'en'),
    (8,  'Греческий',  tev_priv_encode_escapes('Ελληνικά'), 'el');

INSERT INTO tev_web_settings (id, pos_sort_type) VALUES (1, 0);

INSERT INTO tev_phrase_types (type_id, type_name) VALUES
    (1, 'Термин'), (2, 'Схема обслуживания'), (3, 'Группа транзакций'), (4, 'Тип обращения');

INSERT INTO tev_event_types (event_type_id, event_type_name) VALUES
    (1,  'Изменение клиента'),
    (2,  'Создание логина'),
    (3,  'Изменение логина'),
    (4,  'Смена пароля логина'),
    (5,  'Разблокировка логина'),
    (6,  'Изменение настроек портала'),
    (7,  'Изменение настроек эмитента'),
    (8,  'Изменение подписок клиента'),
    (9,  'Изменение максимальных лимитов'),
    (10, 'Изменение точек обслуживания'),
    (11, 'Изменение типов транзакций'),
    (12, 'Изменение системы помощи'),
    (13, 'Изменение типов обращений'),
    (14, 'Изменение новостей'),
    (15, 'Изменение региональных администраторов'),
    (16, 'Изменение порядка обмена'),
    (17, 'Перенос талонов в архив'),
    (18, 'Изменение переводов'),
    (19, 'Изменение шаблонов писем'),
    (20, 'Изменение групп подписчиков'),
    (21, 'Изменение диапазонов бонусов'),
    (22, 'Изменение групп транзакций'),
    (23, 'Изменение названий схем и терминов'),
    (24, 'Изменение состава групп подписчиков');

-- Settings (keys of more than 20 characters are kept by their first 20,
-- as the console reads and writes them).
INSERT INTO tev_configs (param_name, param_val)
SELECT left(k, 20), v FROM (VALUES
    ('LANG_ID', '25'),
    ('EMT_NAME', 'ООО «ТЭВ Процессинг»'),
    ('EMT_CONTACTS', E'тел. +7 (495) 123-45-67\r\nsupport@tev.example'),
    ('APP_TITLE', 'Личный кабинет клиента'),
    ('CAN_DR_ON_WEB', '1'),
    ('CAN_DD_ON_WEB', '1'),
    ('CAN_OIL_ON_WEB', '1'),
    ('CAN_CHANGE_HOLDER', '1'),
    ('CAN_LOST_CARD', '1'),
    ('ALLOW_UNBLOCK_CARD', '0'),
    ('CAN_CH_ONL_PARAMS', '1'),
    ('CAN_SEND_OC_IMM', '1'),
    ('SHOW_REPORT_NAME', '0'),
    ('SHOW_MAX_CONSUMPTION', '1'),
    ('SHOW_PETROLTANK', '0'),
    ('SHOW_ODOMETR', '1'),
    ('SHOW_INVSBL_POS_TRN', '0'),
    ('DONT_SHOW_LNR_HOLDER', '0'),
    ('POPUP_CARD_SELECTION', '0'),
    ('HIDE_LOCATOR', '0'),
    ('ALLOW_API', '1'),
    ('AMOUNT_DECIMAL_COUNT', '2'),
    ('COST_DECIMAL_COUNT', '2'),
    ('CURR_DECIMAL_COUNT', '2'),
    ('TYPE_BLOCK_DESCRIBE', '0'),
    ('USE_BLOCK_WARNING', '1'),
    ('BLOCK_WARNING_DAYS', '10'),
    ('REPORT_ORDER_BY', '1'),
    ('DR_ORDER_BY', '1'),
    ('HIDE_TIME', '0'),
    ('CH_HOLDER_AFTER_SEND', '0'),
    ('USE_EMITENT_PATH', '1'),
    ('USE_FEEDBACK', '1'),
    ('FB_SMTP_SERVER', 'smtp.tev.example'),
    ('FB_SMTP_PORT', '25'),
    ('FB_USE_AUTH', '0'),
    ('FB_SMTP_LOGIN', 'portal'),
    ('FB_SMTP_PASSWORD', 'Smtp-Feedback-7'),
    ('FB_SMTP_USE_SSL', '0'),
    ('FB_SENDER_EMAIL', 'portal@tev.example'),
    ('FB_SENDER_NAME', 'TEV Web'),
    ('FB_RECEIVER_EMAIL', 'admin@tev.example'),
    ('FB_SEND_TO_MANAGER', '0'),
    ('USE_PASS_RECOVERY', '1'),
    ('PR_SMTP_SERVER', 'smtp.tev.example'),
    ('PR_SMTP_PORT', '25'),
    ('PR_USE_AUTH', '1'),
    ('PR_SMTP_LOGIN', 'recovery'),
    ('PR_SMTP_PASSWORD', 'Smtp-Recovery-3'),
    ('PR_SMTP_USE_SSL', '0'),
    ('PR_SENDER_EMAIL', 'portal@tev.example'),
    ('PR_SENDER_NAME', 'TEV Web'),
    ('PR_ORG_SENDER', 'ООО «ТЭВ Процессинг»'),
    ('PR_PASSWORD_LENGTH', '8'),
    ('ALERT_FAILED_LOGINS', '0'),
    ('PSW_ATTEMPTS_COUNT', '5'),
    ('LOGIN_BLOCK_TIMEOUT', '15'),
    ('LOGIN_BLOCK_TO_HMS', '1'),
    ('ADV_PASS_SECUR', '0'),
    ('PSW_CHARS_REQ', '1'),
    ('PSW_NUMBERS_REQ', '1'),
    ('PSW_CAPITALS_REQ', '0'),
    ('TEV_SYMBOLS_REQ', '0'),
    ('PSW_MIN_LENGTH', '8'),
    ('USE_SCHEME_FOR_WEB', '0'),
    ('USE_TERMS_FOR_WEB', '0'),
    ('USE_TRNTYPE_GROUP', '1'),
    -- exchange services
    ('IntervalWeb', '5'),
    ('IntervalWebInSrvc', '300'),
    ('FolderWebImport', 'Import'),
    ('FolderSharing', 'Sharing'),
    ('FolderWebExport', 'Export'),
    ('WebExtendedLogs', '0'),
    ('GenerateLogin', '1'),
    ('CardGrNumToLogin', '0'),
    ('PasswordIsLogin', '0'),
    ('GenerateLoginForFirm', '1'),
    ('CardGrNumToLoginFirm', '0'),
    ('CheckTrnExists', '0'),
    ('Pop3Enable', '0'),
    ('CheckEmailThreadSeparate', '1'),
    ('SAVE_TO_BACKUP', '0'),
    ('SMTPPort', '25'),
    ('SMTPUseAuthentication', '0'),
    ('SMTPSsl', '0'),
    ('POP3Port', '110'),
    ('POP3Ssl', '0'),
    ('TimeOutIntervalWeb', '90'),
    ('TimeOutCountWeb', '3'),
    ('TypeChange', '0'),
    ('UrgentRepeatTime', '60'),
    ('UrgentRepeatTimeHMS', '0')
) AS t(k, v);

-- Translations for trans_text: Russian source texts into English and Greek.
INSERT INTO tev_dictionary (dct_text, dct_lang_id, dct_translation)
SELECT src, lang, tev_priv_encode_escapes(dst) FROM (VALUES
    ('Русский', 9, 'Russian'), ('Русский', 8, 'Ρωσικά'),
    ('Английский', 9, 'English'), ('Английский', 8, 'Αγγλικά'),
    ('Греческий', 9, 'Greek'), ('Греческий', 8, 'Ελληνικά'),
    ('Фирма', 9, 'Firm'), ('Фирма', 8, 'Εταιρεία'),
    ('ЧЛ', 9, 'Private person'), ('ЧЛ', 8, 'Ιδιώτης'),
    -- transaction types
    ('Обслуживание', 9, 'Service'), ('Обслуживание', 8, 'Εξυπηρέτηση'),
    ('Возврат', 9, 'Refund'), ('Возврат', 8, 'Επιστροφή'),
    ('Пополнение счета', 9, 'Account top-up'), ('Пополнение счета', 8, 'Ανανέωση λογαριασμού'),
    ('Списание со счета', 9, 'Account debit'),
    ('Коррекция', 9, 'Correction'), ('Коррекция', 8, 'Διόρθωση'),
    ('Списание со счета', 8, 'Χρέωση λογαριασμού'),
    ('Бонусное начисление', 9, 'Bonus accrual'), ('Бонусное начисление', 8, 'Πίστωση μπόνους'),
    ('Перевод между картами', 9, 'Card-to-card transfer'), ('Перевод между картами', 8, 'Μεταφορά μεταξύ καρτών'),
    ('Отмена обслуживания', 9, 'Service cancellation'), ('Отмена обслуживания', 8, 'Ακύρωση εξυπηρέτησης'),
    -- visit journal
    ('Вход в систему', 9, 'Sign-in'), ('Вход в систему', 8, 'Σύνδεση'),
    ('Выход из системы', 9, 'Sign-out'), ('Выход из системы', 8, 'Αποσύνδεση'),
    ('Просмотр отчета', 9, 'Report viewed'),
    ('Смена держателя карты', 9, 'Card holder changed'),
    ('Блокировка карты', 9, 'Card blocked'),
    ('Создание заявки', 9, 'Request created'),
    ('Изменение лимита', 9, 'Limit changed'),
    ('Смена пароля', 9, 'Password changed'),
    ('Заявка №', 9, 'Request #'), ('Заявка №', 8, 'Αίτηση #'),
    ('Карта', 9, 'Card'), ('Карта', 8, 'Κάρτα'),
    ('Новый держатель', 9, 'New holder'),
    ('Услуга', 9, 'Service'), ('Услуга', 8, 'Υπηρεσία'),
    ('Количество', 9, 'Quantity'),
    ('АИ-92', 9, 'Petrol 92'), ('АИ-95', 9, 'Petrol 95'), ('ДТ', 9, 'Diesel'),
    ('Деньги', 9, 'Money'), ('Газ (пропан)', 9, 'LPG'),
    -- events journal
    ('Изменение клиента', 9, 'Client changed'),
    ('Создание логина', 9, 'Login created'),
    ('Изменение логина', 9, 'Login changed'),
    ('Смена пароля логина', 9, 'Login password changed'),
    ('Разблокировка логина', 9, 'Login unlocked'),
    ('Изменение настроек портала', 9, 'Portal settings changed'),
    ('Изменение настроек эмитента', 9, 'Emitent settings changed'),
    ('Изменение подписок клиента', 9, 'Client subscriptions changed'),
    ('Изменение максимальных лимитов', 9, 'Maximum limits changed'),
    ('Изменение точек обслуживания', 9, 'Service points changed'),
    ('Изменение типов транзакций', 9, 'Transaction types changed'),
    ('Изменение системы помощи', 9, 'Help changed'),
    ('Изменение типов обращений', 9, 'Feedback types changed'),
    ('Изменение новостей', 9, 'News changed'),
    ('Изменение региональных администраторов', 9, 'Regional managers changed'),
    ('Изменение порядка обмена', 9, 'Exchange order changed'),
    ('Перенос талонов в архив', 9, 'Coupons archived'),
    ('Изменение переводов', 9, 'Translations changed'),
    ('Изменение шаблонов писем', 9, 'Letter templates changed'),
    ('Изменение групп подписчиков', 9, 'Subscriber groups changed'),
    ('Изменение диапазонов бонусов', 9, 'Bonus ranges changed'),
    ('Изменение групп транзакций', 9, 'Transaction groups changed'),
    ('Изменение названий схем и терминов', 9, 'Scheme and term names changed'),
    ('Изменение состава групп подписчиков', 9, 'Subscriber group members changed'),
    -- reasons of refused requests
    ('Недостаточно средств на счете', 9, 'Insufficient funds'), ('Недостаточно средств на счете', 8, 'Ανεπαρκές υπόλοιπο'),
    ('Карта заблокирована', 9, 'The card is blocked'), ('Карта заблокирована', 8, 'Η κάρτα είναι μπλοκαρισμένη'),
    ('Превышен максимальный лимит', 9, 'Maximum limit exceeded'),
    ('Неверные данные заявки', 9, 'Wrong request data'),
    ('Отклонено оператором', 9, 'Refused by the operator'),
    -- short names of service schemes and terms
    ('ДЕБЕТ', 9, 'DEBIT'), ('КРЕДИТ', 9, 'CREDIT'), ('ЛИМИТ', 9, 'LIMIT'), ('ЛИМИТ', 8, 'ΟΡΙΟ'),
    ('ТАЛОН', 9, 'COUPON'), ('БОНУС', 9, 'BONUS'),
    ('Держатель', 9, 'Holder'), ('Эмитент', 9, 'Issuer'), ('Точка обслуживания', 9, 'Service point'),
    ('Лимит', 9, 'Limit'), ('Счет', 9, 'Account')
) AS t(src, lang, dst)
ON CONFLICT DO NOTHING;

-- Transaction types and their web groups (two types belong to no group).
INSERT INTO tev_trntype_group (group_id, group_name) VALUES
    (1, 'Покупки'), (2, 'Платежи'), (3, 'Бонусы');

INSERT INTO tev_phrases (id, type_id, lang_id, phrase)
SELECT id, 3, lang, tev_priv_encode_escapes(phrase) FROM (VALUES
    (1, 25, 'Покупки'), (1, 9, 'Purchases'), (1, 8, 'Αγορές'),
    (2, 25, 'Платежи'), (2, 9, 'Payments'), (2, 8, 'Πληρωμές'),
    (3, 9, 'Bonuses')
) AS t(id, lang, phrase);

INSERT INTO tev_trntype (trntype_number, trntype_name, mark, group_id) VALUES
    (1, 'Обслуживание', -1, 1),
    (2, 'Возврат', 1, NULL),
    (3, 'Пополнение счета', 1, 2),
    (4, 'Списание со счета', -1, 2),
    (5, 'Коррекция', 1, 2),
    (6, 'Бонусное начисление', 1, 3),
    (7, 'Перевод между картами', -1, NULL),
    (8, 'Отмена обслуживания', 1, 1);

-- Feedback types with their names per web language; the last one has no
-- Greek name and falls back to its own.
INSERT INTO tev_type_feedback_msg (type_id, type_name) VALUES
    (1, 'Вопрос по картам'),
    (2, 'Вопрос по транзакциям'),
    (3, 'Предложение по работе портала'),
    (4, 'Жалоба');

INSERT INTO tev_phrases (id, type_id, lang_id, phrase)
SELECT id, 4, lang, tev_priv_encode_escapes(phrase) FROM (VALUES
    (1, 25, 'Вопрос по картам'), (1, 9, 'Cards'), (1, 8, 'Κάρτες'),
    (2, 25, 'Вопрос по транзакциям'), (2, 9, 'Transactions'), (2, 8, 'Συναλλαγές'),
    (3, 25, 'Предложение по работе портала'), (3, 9, 'Suggestion'), (3, 8, 'Πρόταση'),
    (4, 25, 'Жалоба'), (4, 9, 'Complaint')
) AS t(id, lang, phrase);

INSERT INTO tev_feedback_templates (id, lang_id, template_header, template_message)
SELECT id, lang, convert_to(header, 'UTF8'), convert_to(body, 'UTF8') FROM (VALUES
    (1, 25, 'Обращение №%1$s', E'Клиент: %2$s\r\nЛогин: %6$s\r\nТип обращения: %5$s\r\n\r\n%4$s\r\n\r\nОтвет направьте на %3$s'),
    (1, 9, 'Feedback #%1$s', E'Client: %2$s\r\nLogin: %6$s\r\nType: %5$s\r\n\r\n%4$s\r\n\r\nReply to %3$s'),
    (2, 25, 'Восстановление доступа', E'<<<Логин: %1$s\r\nВременный пароль: %2$s\r\nВладелец: %3$s\r\n>>>'),
    (2, 9, 'Access recovery', E'<<<Login: %1$s\r\nTemporary password: %2$s\r\nOwner: %3$s\r\n>>>'),
    (3, 25, 'Подтверждение восстановления доступа', E'Для восстановления доступа перейдите по ссылке:\r\n%4$s'),
    (3, 9, 'Confirm access recovery', E'To recover access follow the link:\r\n%4$s')
) AS t(id, lang, header, body);

-- Built-in help items in every web language.
INSERT INTO tev_help (tev_help_id, tev_help_lang_id, tev_help_name, tev_help_desc, tev_help_type)
SELECT id, lang, tev_priv_encode_escapes(name), tev_priv_encode_escapes(descr), kind FROM (VALUES
    (1, 25, 'Вход в личный кабинет', 'Введите логин и пароль, выданные администратором.', '110'),
    (1, 9, 'Signing in', 'Enter the login and password the administrator gave you.', '110'),
    (1, 8, 'Σύνδεση', 'Εισάγετε το όνομα χρήστη και τον κωδικό σας.', '110'),
    (2, 25, 'Карты', 'Список карт клиента с их состоянием и лимитами.', '111'),
    (2, 9, 'Cards', 'The client''s cards with their state and limits.', '111'),
    (2, 8, 'Κάρτες', 'Οι κάρτες του πελάτη.', '111'),
    (3, 25, 'Транзакции', 'Обслуживания по картам за выбранный период.', '110'),
    (3, 9, 'Transactions', 'Services on the cards in the chosen period.', '110'),
    (4, 25, 'Отчеты', 'Отчеты по картам и счетам клиента.', '100'),
    (4, 9, 'Reports', 'Reports on the client''s cards and accounts.', '100'),
    (5, 25, 'Заявки', 'Заявки на изменение лимитов и держателей карт.', '110'),
    (5, 9, 'Requests', 'Requests to change limits and card holders.', '110'),
    (6, 25, 'Бонусная программа', 'Начисление и списание бонусов.', '001'),
    (6, 9, 'Bonus programme', 'Earning and spending bonuses.', '001')
) AS t(id, lang, name, descr, kind);

-- Reasons the processing centre gives for a refused request.
INSERT INTO tev_cancel_cause (cancel_cause_id, cancel_cause_name) VALUES
    (1, 'Недостаточно средств на счете'),
    (2, 'Карта заблокирована'),
    (3, 'Превышен максимальный лимит'),
    (4, 'Неверные данные заявки'),
    (5, 'Отклонено оператором');

-- Service schemes and terms of the processing centre, with their web names
-- (the last scheme has no Greek name and is not listed in Greek).
INSERT INTO tev_schema_for_web (schema_number, schema_type, schema_shortname) VALUES
    (1, 0, 'ДЕБЕТ'), (2, 0, 'КРЕДИТ'), (3, 0, 'ЛИМИТ'), (1, 1, 'ТАЛОН'), (2, 1, 'БОНУС'), (5, 0, 'ЛИМИТ-СЧЕТ');

INSERT INTO tev_phrases (id, type_id, lang_id, phrase)
SELECT id, 2, lang, tev_priv_encode_escapes(phrase) FROM (VALUES
    (1, 25, 'Дебетовая схема'), (1, 9, 'Debit scheme'), (1, 8, 'Χρεωστικό σχήμα'),
    (2, 25, 'Кредитная схема'), (2, 9, 'Credit scheme'), (2, 8, 'Πιστωτικό σχήμα'),
    (3, 25, 'Лимит на карту'), (3, 9, 'Card limit'), (3, 8, 'Όριο κάρτας'),
    (101, 25, 'Топливные талоны'), (101, 9, 'Fuel coupons'), (101, 8, 'Κουπόνια καυσίμων'),
    (102, 25, 'Бонусная программа'), (102, 9, 'Bonus programme'), (102, 8, 'Πρόγραμμα μπόνους'),
    (5, 25, 'Лимит на счёт клиента'), (5, 9, 'Client account limit')
) AS t(id, lang, phrase);

INSERT INTO tev_terms_for_web (term_id, term_shortname) VALUES
    (1, 'Карта'), (2, 'Держатель'), (3, 'Эмитент'), (4, 'Точка обслуживания'), (5, 'Услуга'),
    (6, 'Лимит'), (7, 'Счет');

INSERT INTO tev_phrases (id, type_id, lang_id, phrase)
SELECT id, 1, lang, tev_priv_encode_escapes(phrase) FROM (VALUES
    (1, 25, 'Топливная карта'), (1, 9, 'Fuel card'), (1, 8, 'Κάρτα καυσίμων'),
    (2, 25, 'Водитель'), (2, 9, 'Driver'), (2, 8, 'Οδηγός'),
    (3, 25, 'Компания-эмитент'), (3, 9, 'Issuing company'), (3, 8, 'Εκδότρια εταιρεία'),
    (4, 25, 'АЗС'), (4, 9, 'Filling station'), (4, 8, 'Πρατήριο καυσίμων'),
    (5, 25, 'Вид топлива'), (5, 9, 'Fuel'), (5, 8, 'Καύσιμο'),
    (6, 25, 'Лимит отпуска'), (6, 9, 'Dispensing limit'),
    (7, 25, 'Лицевой счёт'), (7, 9, 'Account'), (7, 8, 'Λογαριασμός')
) AS t(id, lang, phrase);
