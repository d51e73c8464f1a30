#pragma once

#include <QList>
#include <QString>

// Every key of the settings window with a stored value that is valid and differs from the key's
// default, so a window that opens and saves it back shows whether anything changed on the way.
struct PortalSettingValue
{
    const char* key;
    QString stored;
};

inline const QList<PortalSettingValue>& NonDefaultPortalSettings()
{
    static const QList<PortalSettingValue> values = {
        {"EMT_NAME", QStringLiteral("ООО «Тест» \\u2116 1")},
        {"EMT_CONTACTS", QStringLiteral("тел. 123\r\nsupport@test.example\r\n\tофис 5")},
        {"APP_TITLE", QStringLiteral("Кабинет")},
        {"CAN_DR_ON_WEB", QStringLiteral("1")},
        {"CAN_OIL_ON_WEB", QStringLiteral("1")},
        {"CAN_CH_ONL_PARAMS", QStringLiteral("1")},
        {"SHOW_REPORT_NAME", QStringLiteral("1")},
        {"TYPE_BLOCK_DESCRIBE", QStringLiteral("1")},
        {"SHOW_MAX_CONSUMPTION", QStringLiteral("1")},
        {"SHOW_PETROLTANK", QStringLiteral("1")},
        {"SHOW_ODOMETR", QStringLiteral("1")},
        {"CAN_DD_ON_WEB", QStringLiteral("1")},
        {"CAN_CHANGE_HOLDER", QStringLiteral("1")},
        {"CAN_LOST_CARD", QStringLiteral("1")},
        {"ALLOW_UNBLOCK_CARD", QStringLiteral("1")},
        {"ALLOW_API", QStringLiteral("1")},
        {"POPUP_CARD_SELECTION", QStringLiteral("1")},
        {"CAN_SEND_OC_IMM", QStringLiteral("2")},
        {"REPORT_ORDER_BY", QStringLiteral("2")},
        {"DR_ORDER_BY", QStringLiteral("3")},
        {"HIDE_TIME", QStringLiteral("1")},
        {"USE_FEEDBACK", QStringLiteral("1")},
        {"FB_SMTP_SERVER", QStringLiteral("mail.test.example")},
        {"FB_SMTP_PORT", QStringLiteral("587")},
        {"FB_USE_AUTH", QStringLiteral("1")},
        {"FB_SMTP_LOGIN", QStringLiteral("fb-user")},
        {"FB_SMTP_PASSWORD", QStringLiteral(" p@ss word ")},
        {"FB_SMTP_USE_SSL", QStringLiteral("1")},
        {"FB_SENDER_EMAIL", QStringLiteral("from@test.example")},
        {"FB_SENDER_NAME", QStringLiteral("Портал")},
        {"FB_RECEIVER_EMAIL", QStringLiteral("a@test.example; b@test.example")},
        {"FB_SEND_TO_MANAGER", QStringLiteral("1")},
        {"USE_PASS_RECOVERY", QStringLiteral("1")},
        {"PR_SMTP_SERVER", QStringLiteral("smtp2.test.example")},
        {"PR_SMTP_PORT", QStringLiteral("465")},
        {"PR_USE_AUTH", QStringLiteral("1")},
        {"PR_SMTP_LOGIN", QStringLiteral("pr-user")},
        {"PR_SMTP_PASSWORD", QStringLiteral("Секрет")},
        {"PR_SMTP_USE_SSL", QStringLiteral("1")},
        {"PR_SENDER_EMAIL", QStringLiteral("recovery@test.example")},
        {"PR_SENDER_NAME", QStringLiteral("Восстановление")},
        {"PR_PASSWORD_LENGTH", QStringLiteral("10")},
        {"PR_ORG_SENDER", QStringLiteral("ТЭВ")},
        {"AMOUNT_DECIMAL_COUNT", QStringLiteral("3")},
        {"COST_DECIMAL_COUNT", QStringLiteral("0")},
        {"CURR_DECIMAL_COUNT", QStringLiteral("4")},
        {"CH_HOLDER_AFTER_SEND", QStringLiteral("1")},
        {"SHOW_INVSBL_POS_TRN", QStringLiteral("1")},
        {"DONT_SHOW_LNR_HOLDER", QStringLiteral("1")},
        {"USE_BLOCK_WARNING", QStringLiteral("1")},
        {"BLOCK_WARNING_DAYS", QStringLiteral("180")},
        {"PSW_ATTEMPTS_COUNT", QStringLiteral("1000")},
        {"ALERT_FAILED_LOGINS", QStringLiteral("7")},
        {"LOGIN_BLOCK_TIMEOUT", QStringLiteral("0")},
        {"LOGIN_BLOCK_TO_HMS", QStringLiteral("2")},
        {"ADV_PASS_SECUR", QStringLiteral("1")},
        {"PSW_NUMBERS_REQ", QStringLiteral("1")},
        {"PSW_CAPITALS_REQ", QStringLiteral("1")},
        {"TEV_SYMBOLS_REQ", QStringLiteral("1")},
        {"PSW_CHARS_REQ", QStringLiteral("1")},
        {"PSW_MIN_LENGTH", QStringLiteral("30")},
        {"USE_EMITENT_PATH", QStringLiteral("0")},
        {"HIDE_LOCATOR", QStringLiteral("1")},
    };
    return values;
}
