#include "ClientsQuery.h"

#include "Catalogue.h"
#include "DbHelpers.h"
#include "Query.h"
#include "SharedQueries.h"
#include "SharedQueryTexts.h"

namespace ClientsQuery {

namespace {

const QStringList& hiddenFields()
{
    static const QStringList fields = {
        kDescriptionField,    "ALLOW_CREATE_DR",     kLnrField,          "ALLOW_CREATE_DD",
        "ALLOW_CREATE_OIL",   "ALLOW_CHANGE_HOLDER", "ALLOW_LOST_CARD",  "ALLOW_CH_ONL_PARAMS",
        "CLIENTISBONUS",      "TEST_CLIENT",         "WBC_UPDATE_EMAIL", "ALLOW_SUBSCRIBE_ON_SMS",
        "ALLOW_UNBLOCK_CARD", "ALLOW_USE_API",       kNameField,         "WBC_PETROL_TYPE_ID"};
    return fields;
}

struct TextMacro
{
    const char* macro;
    const char16_t* key;
};

const TextMacro kClientMacros[] = {
    {"vYes", u"rstrYes"},
    {"vNo", u"rstrNo"},
    {"vCreated", u"rstrCreated"},
    {"vInvited", u"rstrInvited"},
    {"vNotSubscribes", u"rstrNotSubsc"},
    {"vSubscribe", u"rstrSubscribe"},
    {"vBlocked", u"rstrBlocked"},
    {"vUnknown", u"rstrUnknown"},
};

const TextMacro kLoginMacros[] = {
    {"vYes", u"rstrYes"},
    {"vNo", u"rstrNo"},
    {"vClientAccess", u"rstrClientAccess"},
    {"vAllCardsAllAccounts", u"rstrAllCardsAllAccounts"},
    {"vCardsAllAccounts", u"rstrCardsAllAccounts"},
    {"vCards", u"rstrCards"},
};

template <std::size_t N> void applyMacros(db::Query& query, const TextMacro (&macros)[N])
{
    for (const TextMacro& m : macros)
        query.setMacro(QString::fromLatin1(m.macro), SqlLiteral(lang::tr(m.key)));
}

} // namespace

const QList<Column>& Columns()
{
    static const QList<Column> columns = {
        {"ISVISIBLE", u"vrstrSelect", nullptr, 56},
        {"WBC_PETROL_ID", u"rstrNumber", nullptr, 64},
        {kDecodedNameField, u"rstrName", nullptr, 300},
        {"WBC_EMAIL", u"rstrEMail", nullptr, 220},
        {"STATE", u"rstrState", nullptr, 170},
        {"BLACK_LIST", u"rstrInBlackList", nullptr, 110},
        {kDescriptionField, u"rstrDescription", nullptr, 0},
        {kCreateDRTextField, u"rstrAllowCreateDR", nullptr, 100},
        {kCreateDDTextField, u"vrstrDDRequest", nullptr, 100},
        {kCreateOILTextField, u"rstrAllowCreateOIL", nullptr, 100},
        {"ALLOW_CHANGE_HOLDER_TXT", u"vrstrChangeHolders", nullptr, 120},
        {"ALLOW_LOST_CARD_TXT", u"vrstrLostCards", nullptr, 150},
        {"ALLOW_CH_ONL_PARAMS_TXT", u"vrstrAllowChOnlParams", nullptr, 150},
        {"TEST_CLIENT_STR", u"rstrTestClient", nullptr, 80},
        {"UPDATE_EMAIL_TXT", u"vrstrUpdateEmailTxt", nullptr, 110},
        {"MANAGER_EMAIL", u"vrstrManagerEMail", nullptr, 170},
        {kIdField, nullptr, "Web ID", 64},
        // Fixed Russian captions that the catalogue holds word for word: taken from there, so that
        // they follow the interface language too.
        {"ALLOW_SUBSCRIBE_ON_SMS_TXT", u"vrstrAllowSMS", nullptr, 150},
        {"ALLOW_UNBLOCK_CARD_TXT", u"vrstrAllowUnblockCard", nullptr, 150},
        {"ALLOW_USE_API_TXT", u"vrstrAllowUseAPI", nullptr, 150},
    };
    return columns;
}

QString Caption(const Column& column)
{
    return column.captionKey ? lang::tr(column.captionKey) : QString::fromUtf8(column.fixedCaption);
}

void Setup(db::Query& query)
{
    query.setObjectName(QStringLiteral("qryClients"));
    query.setSql(QString::fromUtf8(sqltext::qryClients));
    query.setRefreshSql(QStringLiteral("where wbc_id = :wbc_id"));
    query.setTakesLocalEdits(true);
    query.paramByName(QString::fromLatin1(kEmitentParam)).setDataType(db::DataType::Integer);
    query.paramByName(QString::fromLatin1(kReportNameParam)).setDataType(db::DataType::Integer);
    query.setMacro(QStringLiteral("ORDER"), QStringLiteral("ORDER BY"));
    query.setMacro(QStringLiteral("FIELD"), QStringLiteral("wbc_id"));
    query.addCalculatedField(QString::fromLatin1(kDecodedNameField), db::DataType::String,
                             [](const db::Dataset& d, int row) -> QVariant {
                                 return DecodedPortalText(
                                     d.physicalValue(row, d.fieldIndex(QString::fromLatin1(kNameField))));
                             },
                             500, {QString::fromLatin1(kNameField)});
    for (const QString& f : hiddenFields())
        query.defineField(f).setVisible(false);
    ApplyTexts(query);
}

void ApplyTexts(db::Query& query)
{
    applyMacros(query, kClientMacros);
    for (const Column& c : Columns())
        query.defineField(QString::fromLatin1(c.field)).setDisplayLabel(Caption(c));
}

void ApplyLoginsTexts(db::Query& query)
{
    applyMacros(query, kLoginMacros);
}

QString SqlLiteral(const QString& text)
{
    return QLatin1Char('\'') + QuoteSqlText(text) + QLatin1Char('\'');
}

int ReportNameSwitch(const QString& settingText)
{
    bool ok = false;
    const int value = settingText.trimmed().toInt(&ok);
    return ok ? value : 0;
}

} // namespace ClientsQuery
