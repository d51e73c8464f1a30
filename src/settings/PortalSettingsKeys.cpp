#include "PortalSettingsKeys.h"

#include <QRegularExpression>
#include <algorithm>
#include <stdexcept>

namespace PortalSettingsKeys {

namespace {

KeyDef text(const char* key, Page page)
{
    return {key, Kind::Text, page};
}

KeyDef flag(const char* key, Page page)
{
    return {key, Kind::Flag, page};
}

KeyDef choice(const char* key, Page page, QStringList choices, int defaultChoice)
{
    return {key, Kind::Choice, page, std::move(choices), defaultChoice};
}

KeyDef number(const char* key, Page page, int min, int max, int defaultNumber)
{
    return {key, Kind::Number, page, {}, -1, min, max, defaultNumber};
}

std::optional<int> integer(const QString& stored)
{
    bool ok = false;
    const int value = stored.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// A box with two choices stored as one number: the first choice's value and the next one set the
// box; anything else (its "clear" value and odd texts alike) leaves it clear.
ControlState boxWithChoices(const QString& stored, int firstChoiceValue)
{
    const std::optional<int> v = integer(stored);
    if (v && (*v == firstChoiceValue || *v == firstChoiceValue + 1))
        return {true, *v - firstChoiceValue};
    return {};
}

} // namespace

const QList<KeyDef>& Keys()
{
    const QStringList decimals = {QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("3")};
    static const QList<KeyDef> keys = {
        text("EMT_NAME", GeneralPage),
        {"EMT_CONTACTS", Kind::Lines, GeneralPage},
        text("APP_TITLE", GeneralPage),
        flag("CAN_DR_ON_WEB", GeneralPage),
        flag("CAN_OIL_ON_WEB", GeneralPage),
        flag("CAN_CH_ONL_PARAMS", GeneralPage),
        flag("SHOW_REPORT_NAME", GeneralPage),
        {"TYPE_BLOCK_DESCRIBE", Kind::Blocking, GeneralPage},
        flag("SHOW_MAX_CONSUMPTION", GeneralPage),
        flag("SHOW_PETROLTANK", GeneralPage),
        flag("SHOW_ODOMETR", GeneralPage),
        flag("CAN_DD_ON_WEB", GeneralPage),
        flag("CAN_CHANGE_HOLDER", GeneralPage),
        flag("CAN_LOST_CARD", GeneralPage),
        flag("ALLOW_UNBLOCK_CARD", GeneralPage),
        flag("ALLOW_API", GeneralPage),
        flag("POPUP_CARD_SELECTION", GeneralPage),
        {"CAN_SEND_OC_IMM", Kind::SendMode, GeneralPage},
        choice("REPORT_ORDER_BY", GeneralPage, {QStringLiteral("1"), QStringLiteral("2")}, 0),
        choice("DR_ORDER_BY", GeneralPage, {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}, 0),
        flag("HIDE_TIME", GeneralPage),
        flag("USE_FEEDBACK", FeedbackPage),
        text("FB_SMTP_SERVER", FeedbackPage),
        {"FB_SMTP_PORT", Kind::Port, FeedbackPage},
        flag("FB_USE_AUTH", FeedbackPage),
        text("FB_SMTP_LOGIN", FeedbackPage),
        {"FB_SMTP_PASSWORD", Kind::Password, FeedbackPage},
        flag("FB_SMTP_USE_SSL", FeedbackPage),
        text("FB_SENDER_EMAIL", FeedbackPage),
        text("FB_SENDER_NAME", FeedbackPage),
        text("FB_RECEIVER_EMAIL", FeedbackPage),
        flag("FB_SEND_TO_MANAGER", FeedbackPage),
        flag("USE_PASS_RECOVERY", RecoveryPage),
        text("PR_SMTP_SERVER", RecoveryPage),
        {"PR_SMTP_PORT", Kind::Port, RecoveryPage},
        flag("PR_USE_AUTH", RecoveryPage),
        text("PR_SMTP_LOGIN", RecoveryPage),
        {"PR_SMTP_PASSWORD", Kind::Password, RecoveryPage},
        flag("PR_SMTP_USE_SSL", RecoveryPage),
        text("PR_SENDER_EMAIL", RecoveryPage),
        text("PR_SENDER_NAME", RecoveryPage),
        // The portal needs it; without a stored value the window shows a usual length.
        number("PR_PASSWORD_LENGTH", RecoveryPage, 4, 10, 8),
        text("PR_ORG_SENDER", RecoveryPage),
        choice("AMOUNT_DECIMAL_COUNT", GeneralPage, decimals, -1),
        choice("COST_DECIMAL_COUNT", GeneralPage, decimals, -1),
        choice("CURR_DECIMAL_COUNT", GeneralPage, decimals + QStringList{QStringLiteral("4")}, -1),
        flag("CH_HOLDER_AFTER_SEND", GeneralPage),
        flag("SHOW_INVSBL_POS_TRN", GeneralPage),
        flag("DONT_SHOW_LNR_HOLDER", GeneralPage),
        flag("USE_BLOCK_WARNING", GeneralPage),
        number("BLOCK_WARNING_DAYS", GeneralPage, 0, 180, 30),
        number("PSW_ATTEMPTS_COUNT", SecurityPage, 0, 1000, 5),
        number("ALERT_FAILED_LOGINS", SecurityPage, 0, 1000, 0),
        number("LOGIN_BLOCK_TIMEOUT", SecurityPage, 0, 1000, 5),
        choice("LOGIN_BLOCK_TO_HMS", SecurityPage, {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")}, 0),
        flag("ADV_PASS_SECUR", SecurityPage),
        flag("PSW_NUMBERS_REQ", SecurityPage),
        flag("PSW_CAPITALS_REQ", SecurityPage),
        flag("TEV_SYMBOLS_REQ", SecurityPage),
        flag("PSW_CHARS_REQ", SecurityPage),
        number("PSW_MIN_LENGTH", SecurityPage, 5, 30, 5),
        choice("USE_EMITENT_PATH", GeneralPage, {QStringLiteral("0"), QStringLiteral("1")}, 1),
        flag("HIDE_LOCATOR", GeneralPage),
    };
    return keys;
}

const KeyDef& Key(const QString& key)
{
    for (const KeyDef& def : Keys())
        if (key == QLatin1String(def.key))
            return def;
    throw std::out_of_range("not a key of the settings window: " + key.toStdString());
}

ControlState DefaultState(const KeyDef& def)
{
    ControlState s;
    switch (def.kind) {
    case Kind::Choice:
        s.choice = def.defaultChoice;
        break;
    case Kind::Number:
        s.number = def.defaultNumber;
        break;
    default:
        break;
    }
    return s;
}

bool IsValid(const KeyDef& def, const QString& stored)
{
    if (stored.isEmpty())
        return true;
    const std::optional<int> v = integer(stored);
    switch (def.kind) {
    case Kind::Text:
    case Kind::Lines:
    case Kind::Password:
        return stored.size() <= kMaxStoredLength;
    case Kind::Flag:
        return v && (*v == 0 || *v == 1);
    case Kind::Choice:
        return def.choices.contains(stored.trimmed());
    case Kind::Number:
        return v && *v >= def.min && *v <= def.max;
    case Kind::Port:
        return IsPort(stored.trimmed());
    case Kind::SendMode:
        return v && *v >= 0 && *v <= 2;
    case Kind::Blocking:
        return v && *v >= -1 && *v <= 1;
    }
    return false;
}

ControlState FromStored(const KeyDef& def, const QString& stored)
{
    ControlState s = DefaultState(def);
    const std::optional<int> v = integer(stored);
    switch (def.kind) {
    case Kind::Text:
    case Kind::Password:
        s.text = stored;
        break;
    case Kind::Lines:
        s.text = QString(stored).replace(QLatin1String("\r\n"), QLatin1String("\n"));
        break;
    case Kind::Flag:
        s.checked = v == 1;
        break;
    case Kind::Choice:
        if (const qsizetype i = def.choices.indexOf(stored.trimmed()); i >= 0)
            s.choice = int(i);
        break;
    case Kind::Number:
        if (v && *v >= def.min && *v <= def.max)
            s.number = *v;
        break;
    case Kind::Port:
        if (IsPort(stored.trimmed()))
            s.text = stored.trimmed();
        break;
    case Kind::SendMode:
        s = boxWithChoices(stored, 1);
        break;
    case Kind::Blocking:
        s = boxWithChoices(stored, 0);
        break;
    }
    return s;
}

std::optional<QString> ToStored(const KeyDef& def, const ControlState& s)
{
    switch (def.kind) {
    case Kind::Text:
    case Kind::Port:
        return s.text.trimmed();
    case Kind::Password:
        return s.text;
    case Kind::Lines:
        return s.text.trimmed().replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(
            QLatin1Char('\n'), QLatin1String("\r\n"));
    case Kind::Flag:
        return s.checked ? QStringLiteral("1") : QStringLiteral("0");
    case Kind::Choice:
        if (s.choice < 0 || s.choice >= def.choices.size())
            return std::nullopt;
        return def.choices.at(s.choice);
    case Kind::Number:
        return QString::number(std::clamp(s.number, def.min, def.max));
    case Kind::SendMode:
        if (!s.checked)
            return QStringLiteral("0");
        if (s.choice < 0 || s.choice > 1)
            return std::nullopt;
        return QString::number(s.choice + 1);
    case Kind::Blocking:
        if (!s.checked || s.choice < 0 || s.choice > 1)
            return QStringLiteral("-1");
        return QString::number(s.choice);
    }
    return std::nullopt;
}

bool IsPort(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    if (!digits.match(text).hasMatch())
        return false;
    const int port = text.toInt();
    return port >= 1 && port <= 65535;
}

bool IsAddress(const QString& text)
{
    // Printable ASCII without blanks and the characters that separate or quote addresses.
    static const QRegularExpression address(
        QStringLiteral("^[A-Za-z0-9!#$%&'*+/=?^_`{|}~.-]+@[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)+$"));
    return address.match(text).hasMatch() && !text.startsWith(QLatin1Char('.')) &&
           !text.contains(QLatin1String("..")) && !text.contains(QLatin1String(".@"));
}

bool IsAddressList(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[;,]"));
    const QStringList parts = text.split(separators);
    for (const QString& part : parts)
        if (!IsAddress(part.trimmed()))
            return false;
    return !parts.isEmpty();
}

} // namespace PortalSettingsKeys
