#include "SharedQueries.h"

#include "Catalogue.h"
#include "Cp1251.h"
#include "Package.h"
#include "PortalCodec.h"
#include "Query.h"
#include "Script.h"
#include "Session.h"
#include "SharedQueryTexts.h"
#include "StoredProc.h"

#include <QHash>

QString DecodedPortalText(const QVariant& stored)
{
    if (stored.isNull())
        return {};
    return DecodeUnicodeEscapes(stored.toString());
}

QString SingleBytePortalText(const QVariant& stored)
{
    if (stored.isNull())
        return {};
    return lang::fromCp1251(lang::toCp1251(DecodeUnicodeEscapes(stored.toString())));
}

namespace {

db::Query* makeQuery(QObject* owner, const char* name, const char* sql, bool localEdits)
{
    auto* q = new db::Query(owner);
    q->setObjectName(QString::fromLatin1(name));
    q->setSql(QString::fromUtf8(sql));
    q->setTakesLocalEdits(localEdits);
    return q;
}

void sortBy(db::Query* q, const QString& field, bool orderActive = true)
{
    q->setMacro(QStringLiteral("ORDER"), QStringLiteral("ORDER BY"), orderActive);
    q->setMacro(QStringLiteral("FIELD"), field);
}

void integerParams(db::Query* q, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        q->paramByName(QString::fromLatin1(n)).setDataType(db::DataType::Integer);
}

void label(db::Dataset* ds, const char* field, const char* caption, int width = 0)
{
    db::Field& f = ds->defineField(QString::fromLatin1(field));
    f.setDisplayLabel(QString::fromUtf8(caption));
    if (width > 0)
        f.setDisplayWidth(width);
}

void hide(db::Dataset* ds, std::initializer_list<const char*> fields)
{
    for (const char* f : fields)
        ds->defineField(QString::fromLatin1(f)).setVisible(false);
}

// A calculated column holding the decoded text of a stored one.
void ansi(db::Dataset* ds, const char* name, const char* source, bool singleByte, int size = 0)
{
    const QString src = QString::fromLatin1(source);
    ds->addCalculatedField(
        QString::fromLatin1(name), db::DataType::String,
        [src, singleByte](const db::Dataset& d, int row) -> QVariant {
            const QVariant v = d.physicalValue(row, d.fieldIndex(src));
            if (v.isNull())
                return {};
            return singleByte ? SingleBytePortalText(v) : DecodedPortalText(v);
        },
        size, {src});
}

db::StoredProc* makeProc(QObject* owner, const char* name, const char* routine, bool localEdits = false)
{
    auto* sp = new db::StoredProc(owner);
    sp->setObjectName(QString::fromLatin1(name));
    sp->setStoredProcName(QStringLiteral("TEV.TEV_UTILS.") + QString::fromLatin1(routine));
    sp->setTakesLocalEdits(localEdits);
    return sp;
}

QString joinedNumbers(const db::Dataset& d, int row, std::initializer_list<const char*> fields)
{
    QStringList parts;
    for (const char* f : fields) {
        const QVariant v = d.physicalValue(row, d.fieldIndex(QString::fromLatin1(f)));
        parts << (v.isNull() ? QString() : QString::number(v.toLongLong()));
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

SharedQueries::SharedQueries(QObject* owner) : mOwner(owner)
{
    qryLogins = makeQuery(owner, "qryLogins", sqltext::qryLogins, true);
    qryLogins->setRefreshSql(QStringLiteral("WHERE ID = :ID"));
    sortBy(qryLogins, QStringLiteral("ID"), false);
    integerParams(qryLogins, {"pID"});
    label(qryLogins, "ID", "Идентификатор");
    label(qryLogins, "WBL_LOGIN", "Логин");
    label(qryLogins, "IS_ACTIVE", "Активен", 3);
    label(qryLogins, "IS_JOURNALISING", "Журналирование");
    label(qryLogins, "CARD_HOLDER_NAME_ANSI", "Держатель");
    label(qryLogins, "STATEHOLDERNAME", "Доступ");
    label(qryLogins, "EMAIL", "Email");
    hide(qryLogins, {"CARD_HOLDER_ID", "CARD_HOLDER_NAME", "STATEHOLDER", "WBL_IS_ACTIVE", "WBL_IS_JOURNALISING", "IS_TEMP"});
    ansi(qryLogins, "CARD_HOLDER_NAME_ANSI", "CARD_HOLDER_NAME", false);

    qryJournal = makeQuery(owner, "qryJournal", sqltext::qryJournal, true);
    sortBy(qryJournal, QStringLiteral("visit_date"));
    integerParams(qryJournal, {"pLangId", "pID"});
    label(qryJournal, "WBL_LOGIN_MD5", "Логин");
    label(qryJournal, "VISIT_DATE", "Дата посещения");
    qryJournal->defineField(QStringLiteral("VISIT_DATE")).setDisplayFormat(QStringLiteral("DD.MM.YYYY HH:NN:SS"));
    label(qryJournal, "LOGIN_ID", "Номер");
    hide(qryJournal, {"LOGIN_ID", "OPERATION_NAME", "WJ_COMMENT"});
    ansi(qryJournal, "OPERATION_NAME_ANSI", "OPERATION_NAME", true, 4000);
    ansi(qryJournal, "WJ_COMMENT_ANSI", "WJ_COMMENT", false, 4000);

    oqDescribes = makeQuery(owner, "oqDescribes", sqltext::oqDescribes, false);
    sortBy(oqDescribes, QStringLiteral("wbd.WBD_DATE_END DESC"));
    integerParams(oqDescribes, {"id"});
    label(oqDescribes, "WBD_DATE_OF", "Дата создания");
    label(oqDescribes, "WBD_DATE_END", "Дата блокировки");
    label(oqDescribes, "WBD_COMMENT", "Примечание", 255);
    hide(oqDescribes, {"WBD_ID"});

    oqEmitentSelect = makeQuery(owner, "oqEmitentSelect", sqltext::oqEmitentSelect, true);
    integerParams(oqEmitentSelect, {"P_ALL_EMITENT", "P_MANAGER_ID"});
    oqEmitentSelect->paramByName(QStringLiteral("P_EMITENT_LIST")).setDirection(db::ParamDirection::CursorOut);
    label(oqEmitentSelect, "UNLOAD", "Выгружать");
    label(oqEmitentSelect, "ISVISIBLE", "Видимость новых ТО");
    label(oqEmitentSelect, "HIDE_DISCONT", "Показывать скидку");
    label(oqEmitentSelect, "EMITENT_NUMBER", "Номер");
    label(oqEmitentSelect, "FILIAL_NUMBER", "Филиал");
    label(oqEmitentSelect, "EMITENT_NAME_ANSI", "Название", 500);
    label(oqEmitentSelect, "TYPE_CHANGE_STR", "Тип обмена");
    label(oqEmitentSelect, "SHARING_FOLDER", "Каталог обмена");
    label(oqEmitentSelect, "E_MAIL", "Адрес эл. почты");
    label(oqEmitentSelect, "ORDER_UNLOAD", "Порядок выгрузки");
    hide(oqEmitentSelect, {"EMITENT_ID_WEB", "EMITENT_NAME", "TYPE_CHANGE", "FULL_EM_NAME", "USE_HTTP", "HTTP_SERVER",
                           "HTTP_PORT", "USE_HTTP_PROXY", "HTTP_PROXY_SERVER", "HTTP_PROXY_PORT", "USE_HTTP_PROXY_AUTH",
                           "HTTP_PROXY_USER", "HTTP_PROXY_PSWD", "BILLING_PREFIX", "BILLING_SERVICE_NAME",
                           "BILLING_VAT", "USE_BILLING"});
    ansi(oqEmitentSelect, "EMITENT_NAME_ANSI", "EMITENT_NAME", false, 500);
    oqEmitentSelect->addCalculatedField(
        QStringLiteral("TYPE_CHANGE_STR"), db::DataType::String,
        [](const db::Dataset& d, int row) -> QVariant {
            const QVariant v = d.physicalValue(row, d.fieldIndex(QStringLiteral("TYPE_CHANGE")));
            return v.toLongLong() == 0 && !v.isNull() ? lang::tr(u"rstrByLan") : lang::tr(u"rstrByEMail");
        },
        0, {QStringLiteral("TYPE_CHANGE")});
    oqEmitentSelect->addCalculatedField(
        QStringLiteral("FULL_EM_NAME"), db::DataType::String,
        [](const db::Dataset& d, int row) -> QVariant {
            const QVariant number = d.physicalValue(row, d.fieldIndex(QStringLiteral("EMITENT_NUMBER")));
            const QVariant filial = d.physicalValue(row, d.fieldIndex(QStringLiteral("FILIAL_NUMBER")));
            return QStringLiteral("[%1, %2] %3")
                .arg(number.isNull() ? QString() : number.toString(), filial.isNull() ? QString() : filial.toString(),
                     DecodedPortalText(d.physicalValue(row, d.fieldIndex(QStringLiteral("EMITENT_NAME")))));
        },
        0, {QStringLiteral("EMITENT_NUMBER"), QStringLiteral("FILIAL_NUMBER"), QStringLiteral("EMITENT_NAME")});

    oquPOSes = makeQuery(owner, "oquPOSes", sqltext::oquPOSes, true);
    sortBy(oquPOSes, QStringLiteral("EMITENT_NUMBER,FILIAL_NUMBER,POS_NUMBER"));
    integerParams(oquPOSes, {"emitent_id"});
    label(oquPOSes, "POS_CAPTION_ANSI", "Точка обслуживания");
    label(oquPOSes, "POS_ADDRESS_ANSI", "Адрес");
    label(oquPOSes, "ISVISIBLE", "Видимость");
    label(oquPOSes, "ISUPDATE", "Обновлять");
    label(oquPOSes, "EMITENT_NUMBER", "№ эмитента");
    label(oquPOSes, "FILIAL_NUMBER", "№ филиала");
    label(oquPOSes, "POS_NUMBER", "№ ТО");
    label(oquPOSes, "POS_NAME", "Название", 1530);
    label(oquPOSes, "POS_ADDRESS", "Адрес", 1530);
    hide(oquPOSes, {"POS_NUM_WEB", "EMITENT_NUMBER", "FILIAL_NUMBER", "POS_NUMBER", "POS_NAME", "POS_ADDRESS",
                    "POS_NAME_ANSI", "POS_CAPTION"});
    oquPOSes->addCalculatedField(
        QStringLiteral("POS_CAPTION_ANSI"), db::DataType::String,
        [](const db::Dataset& d, int row) -> QVariant {
            return QStringLiteral("[") + joinedNumbers(d, row, {"EMITENT_NUMBER", "FILIAL_NUMBER", "POS_NUMBER"}) +
                   QStringLiteral("] ") + DecodedPortalText(d.physicalValue(row, d.fieldIndex(QStringLiteral("POS_NAME"))));
        },
        0, {QStringLiteral("EMITENT_NUMBER"), QStringLiteral("FILIAL_NUMBER"), QStringLiteral("POS_NUMBER"),
            QStringLiteral("POS_NAME")});
    ansi(oquPOSes, "POS_ADDRESS_ANSI", "POS_ADDRESS", false);
    ansi(oquPOSes, "POS_NAME_ANSI", "POS_NAME", false);
    oquPOSes->addCalculatedField(QStringLiteral("POS_CAPTION"), db::DataType::String,
                                 [](const db::Dataset&, int) { return QVariant(); }, 0, {QStringLiteral("-")});

    oquTrnTypes = makeQuery(owner, "oquTrnTypes", sqltext::oquTrnTypes, true);
    oquTrnTypes->setMacro(QStringLiteral("LangID"), QStringLiteral("25"));
    sortBy(oquTrnTypes, QStringLiteral("TRNTYPE_NUMBER"));
    integerParams(oquTrnTypes, {"emitent_id"});
    label(oquTrnTypes, "ISVISIBLE", "Видимость");
    label(oquTrnTypes, "ANSI", "Название", 50);
    label(oquTrnTypes, "MARK", "Знак");
    label(oquTrnTypes, "TRNTYPE_NUMBER", "№");
    hide(oquTrnTypes, {"TRNTYPE_NUMBER", "TRNTYPE_NAME"});
    ansi(oquTrnTypes, "ANSI", "TRNTYPE_NAME", true, 50);

    oquHoldersForLogin = makeQuery(owner, "oquHoldersForLogin", sqltext::oquHoldersForLogin, true);
    sortBy(oquHoldersForLogin, QStringLiteral("CARD_HOLDER_NAME"));
    integerParams(oquHoldersForLogin, {"P_CLIENT_ID"});
    label(oquHoldersForLogin, "CARD_HOLDER_NAME", "Держатель");
    label(oquHoldersForLogin, "CARD_HOLDER_NAME_ANSI", "Держатель");
    label(oquHoldersForLogin, "CARD_HOLDER_ID", "№");
    hide(oquHoldersForLogin, {"CARD_HOLDER_ID"});
    ansi(oquHoldersForLogin, "CARD_HOLDER_NAME_ANSI", "CARD_HOLDER_NAME", false);

    oqLogins = makeQuery(owner, "oqLogins", sqltext::oqLogins, false);
    integerParams(oqLogins, {"pid"});
    ansi(oqLogins, "CLN_ANSI", "CLN", false, 500);

    oqHelpType = makeQuery(owner, "oqHelpType", sqltext::oqHelpType, true);
    oqHelpType->setMacro(QStringLiteral("LangID"), QStringLiteral("25"));
    sortBy(oqHelpType, QStringLiteral("tev_help_id"));
    label(oqHelpType, "TEV_HELPNAME_ANSI", "Наименование");
    label(oqHelpType, "TEV_HELP_TYPE_STR", "Тип");
    label(oqHelpType, "TEV_HELP_ID", "№");
    label(oqHelpType, "TEV_HELP_DESC", "Описание", 4000);
    label(oqHelpType, "TEV_HELP_TYPE", "Тип", 3);
    hide(oqHelpType, {"TEV_HELP_ID", "TEV_HELP_NAME", "TEV_HELP_DESC", "TEV_HELP_DESC_ANSI", "TEV_HELP_TYPE"});
    ansi(oqHelpType, "TEV_HELPNAME_ANSI", "TEV_HELP_NAME", false);
    ansi(oqHelpType, "TEV_HELP_DESC_ANSI", "TEV_HELP_DESC", false, 4000);
    oqHelpType->addCalculatedField(
        QStringLiteral("TEV_HELP_TYPE_STR"), db::DataType::String,
        [](const db::Dataset& d, int row) -> QVariant {
            return HelpTypeText(d.physicalValue(row, d.fieldIndex(QStringLiteral("TEV_HELP_TYPE"))).toString());
        },
        0, {QStringLiteral("TEV_HELP_TYPE")});

    oqEmitentPos = makeQuery(owner, "oqEmitentPos", sqltext::oqEmitentPos, true);
    sortBy(oqEmitentPos, QStringLiteral("E.EMITENT_NUMBER,\r\nE.FILIAL_NUMBER"));
    integerParams(oqEmitentPos, {"P_EMITENT_ID_WEB_OWNER"});
    label(oqEmitentPos, "ISVISIBLE", "Видимость");
    label(oqEmitentPos, "EMITENT_NAME_ANSI", "Эмитент ТО", 305);
    hide(oqEmitentPos, {"EMITENT_NAME", "EMITENT_NUM", "EMITENT_ID_WEB"});
    ansi(oqEmitentPos, "EMITENT_NAME_ANSI", "EMITENT_NAME", false, 305);

    oqOrderUnload = makeQuery(owner, "oqOrderUnload", sqltext::oqOrderUnload, false);
    sortBy(oqOrderUnload, QStringLiteral("order_unload,\r\nemitent_number,\r\nfilial_number"));
    label(oqOrderUnload, "ORDER_UNLOAD", "Порядок выгрузки");
    label(oqOrderUnload, "EMITENT_NUMBER", "Номер Эмитента");
    label(oqOrderUnload, "FILIAL_NUMBER", "Номер Филиала");
    label(oqOrderUnload, "EMITENT_NAME", "Эмитент", 60);
    hide(oqOrderUnload, {"EMITENT_ID_WEB"});

    oqOrderDownload = makeQuery(owner, "oqOrderDownload", sqltext::oqOrderDownload, false);
    sortBy(oqOrderDownload, QStringLiteral("order_download,\r\nemitent_number,\r\nfilial_number"));
    label(oqOrderDownload, "EMITENT_NAME", "EMITENT_NAME", 255);

    oqMaxLimitsEmitent = makeQuery(owner, "oqMaxLimitsEmitent", sqltext::oqMaxLimitsEmitent, false);
    oqMaxLimitsClient = makeQuery(owner, "oqMaxLimitsClient", sqltext::oqMaxLimitsClient, false);
    integerParams(oqMaxLimitsEmitent, {"pEmitentIDWeb"});
    integerParams(oqMaxLimitsClient, {"pClientIDWeb"});
    for (db::Query* q : {oqMaxLimitsEmitent, oqMaxLimitsClient}) {
        label(q, "SERVICE_NAME_ANSI", "Наименование услуги");
        label(q, "MAX_DAY_LIMIT", "Дневной лимит");
        label(q, "MAX_WEEK_LIMIT", "Недельный лимит");
        label(q, "MAX_MONTH_LIMIT", "Месячный лимит");
        hide(q, {"SERVICE_ID_WEB", "SERVICE_ID", "IS_CURRENCY", "SERVICE_NAME"});
        ansi(q, "SERVICE_NAME_ANSI", "SERVICE_NAME", true);
    }
    hide(oqMaxLimitsClient, {"IS_DAY_DEF_VAL", "IS_WEEK_DEF_VAL", "IS_MONTH_DEF_VAL"});

    oqManager = makeQuery(owner, "oqManager", sqltext::oqManager, false);
    label(oqManager, "MANAGER_NAME", "MANAGER_NAME", 255);

    oqFeedBackTypes = makeQuery(owner, "oqFeedBackTypes", sqltext::oqFeedBackTypes, true);
    sortBy(oqFeedBackTypes, QStringLiteral("type_id"));
    integerParams(oqFeedBackTypes, {"pLang"});
    label(oqFeedBackTypes, "TYPE_NAME_ANSI", "Тип обращения");
    hide(oqFeedBackTypes, {"TYPE_ID", "TYPE_NAME"});
    ansi(oqFeedBackTypes, "TYPE_NAME_ANSI", "TYPE_NAME", true);

    oqMessageTemplates = makeQuery(owner, "oqMessageTemplates", sqltext::oqMessageTemplates, false);
    oqMessageTemplates->setMacro(QStringLiteral("ORDER"), QString());
    oqMessageTemplates->setMacro(QStringLiteral("FIELD"), QString());
    integerParams(oqMessageTemplates, {"pLangID", "pID"});

    oqLangs = makeQuery(owner, "oqLangs", sqltext::oqLangs, true);
    oqLangs->setMacro(QStringLiteral("ORDER"), QString());
    oqLangs->setMacro(QStringLiteral("FIELD"), QString());

    oqEmitentSecurity = makeQuery(owner, "oqEmitentSecurity", sqltext::oqEmitentSecurity, false);
    label(oqEmitentSecurity, "EMITENT_NAME_ANSI", "Эмитент");
    label(oqEmitentSecurity, "EMITENT_NAME", "EMITENT_NAME", 305);
    hide(oqEmitentSecurity, {"EMITENT_NAME", "EMITENT_NUM", "EMITENT_ID_WEB", "USE_IMPORT_CRYPT", "USE_EXPORT_CRYPT",
                             "EXPORT_KEY_DATA"});
    ansi(oqEmitentSecurity, "EMITENT_NAME_ANSI", "EMITENT_NAME", false);

    oqTEVConfigs = makeQuery(owner, "oqTEVConfigs", sqltext::oqTEVConfigs, false);
    oqDBVersion = makeQuery(owner, "oqDBVersion", sqltext::oqDBVersion, false);
    oqDBVersion->setMacro(QStringLiteral("ORDER"), QString());
    oqDBVersion->setMacro(QStringLiteral("FIELD"), QString());
    qryCallProc = makeQuery(owner, "qryCallProc", sqltext::qryCallProc, false);

    ospGetFreeEmitent = makeProc(owner, "ospGetFreeEmitent", "GET_FREE_EMITENT", true);
    hide(ospGetFreeEmitent, {"EMITENT_NAME", "EMITENT_ID_WEB"});
    ansi(ospGetFreeEmitent, "EMITENT_NAME_ANSI", "EMITENT_NAME", false);
    ospGetGroupList = makeProc(owner, "ospGetGroupList", "GET_GROUP_LIST_FOR_NEWS", true);
    label(ospGetGroupList, "ISVISIBLE", "Выбор");
    label(ospGetGroupList, "NAME_GROUP_ANSI", "Название");
    hide(ospGetGroupList, {"NAME_GROUP", "GROUP_ID"});
    ansi(ospGetGroupList, "NAME_GROUP_ANSI", "NAME_GROUP", false);

    ospUpdStatus = makeProc(owner, "ospUpdStatus", "UPD_STATUS");
    ospAddEmForManager = makeProc(owner, "ospAddEmForManager", "ADD_EMITENT_FOR_MANAGER");
    ospUpdMessageTemplate = makeProc(owner, "ospUpdMessageTemplate", "upd_message_template");
    ospUpdateEmitentParams = makeProc(owner, "ospUpdateEmitentParams", "set_emitent_change_param");
    ospUpdBillingParams = makeProc(owner, "ospUpdBillingParams", "set_billing_param");
    ospSetTEVConfigs = makeProc(owner, "ospSetTEVConfigs", "SET_TEV_CONFIGS");
    ospUnlockLogin = makeProc(owner, "ospUnlockLogin", "unlock_login");
    ospAddNews = makeProc(owner, "ospAddNews", "create_news");
    ospUpdNews = makeProc(owner, "ospUpdNews", "upd_news");
    ospDelNews = makeProc(owner, "ospDelNews", "del_news");
    ospBindGroupToNews = makeProc(owner, "ospBindGroupToNews", "BIND_GROUP_TO_NEWS");
    ospAddGroup = makeProc(owner, "ospAddGroup", "create_group_for_news");
    ospUpdGroup = makeProc(owner, "ospUpdGroup", "upd_group_for_news");
    ospDelGroup = makeProc(owner, "ospDelGroup", "del_group_for_news");
    ospGeneratePassword = makeProc(owner, "ospGeneratePassword", "generate_new_password");
    ospUpdateLoginPassword = makeProc(owner, "ospUpdateLoginPassword", "update_pass_login");
    ospCheckPasswordSecurity = makeProc(owner, "ospCheckPasswordSecurity", "check_password_security");
    ospUpdEmitentCrypt = makeProc(owner, "ospUpdEmitentCrypt", "upd_emitent_param_crypt");
    ospUpdEmitentExportKey = makeProc(owner, "ospUpdEmitentExportKey", "upd_emitent_export_key");
    ospArchiveCoupons = makeProc(owner, "ospArchiveCoupons", "ARCHIVE_COUPONS");

    oscrChangePassword = new db::Script(owner);
    oscrChangePassword->setObjectName(QStringLiteral("oscrChangePassword"));
    oscrChangePassword->setSql(QString::fromUtf8(sqltext::oscrChangePassword));

    TEV_UTILS = new db::Package(owner);
    TEV_UTILS->setObjectName(QStringLiteral("TEV_UTILS"));
    TEV_UTILS->setPackageName(QStringLiteral("TEV.TEV_UTILS"));

    osTestConnection = new db::Session(owner);
    osTestConnection->setObjectName(QStringLiteral("osTestConnection"));
}

QString HelpTypeText(const QString& flags)
{
    QStringList parts;
    if (flags.size() > 0 && flags[0] == QLatin1Char('1'))
        parts << lang::tr(u"rstrOC");
    if (flags.size() > 1 && flags[1] == QLatin1Char('1'))
        parts << lang::tr(u"rstrLNR");
    if (flags.size() > 2 && flags[2] == QLatin1Char('1'))
        parts << lang::tr(u"rstrBCShr");
    return parts.join(QLatin1Char('/'));
}

QStringList SharedQueries::displayColumns(const QString& componentName)
{
    static const QHash<QString, QStringList> columns = {
        {"qryLogins", {"ID", "WBL_LOGIN", "IS_ACTIVE", "IS_JOURNALISING", "CARD_HOLDER_NAME_ANSI", "STATEHOLDERNAME", "EMAIL"}},
        {"qryJournal", {"WBL_LOGIN_MD5", "VISIT_DATE", "OPERATION_NAME_ANSI", "WJ_COMMENT_ANSI"}},
        {"oqDescribes", {"WBD_DATE_OF", "WBD_DATE_END", "WBD_COMMENT"}},
        {"oqEmitentSelect", {"UNLOAD", "ISVISIBLE", "HIDE_DISCONT", "EMITENT_NUMBER", "FILIAL_NUMBER", "EMITENT_NAME_ANSI",
                             "TYPE_CHANGE_STR", "SHARING_FOLDER", "E_MAIL", "ORDER_UNLOAD"}},
        {"oquPOSes", {"POS_CAPTION_ANSI", "POS_ADDRESS_ANSI", "ISVISIBLE", "ISUPDATE"}},
        {"oquTrnTypes", {"ISVISIBLE", "ANSI", "MARK"}},
        {"oquHoldersForLogin", {"CARD_HOLDER_NAME", "CARD_HOLDER_NAME_ANSI"}},
        {"oqHelpType", {"TEV_HELPNAME_ANSI", "TEV_HELP_TYPE_STR"}},
        {"oqEmitentPos", {"ISVISIBLE", "EMITENT_NAME_ANSI"}},
        {"oqOrderUnload", {"ORDER_UNLOAD", "EMITENT_NUMBER", "FILIAL_NUMBER", "EMITENT_NAME"}},
        {"oqOrderDownload", {"ORDER_DOWNLOAD", "EMITENT_NUMBER", "FILIAL_NUMBER", "EMITENT_NAME"}},
        {"oqMaxLimitsEmitent", {"SERVICE_NAME_ANSI", "MAX_DAY_LIMIT", "MAX_WEEK_LIMIT", "MAX_MONTH_LIMIT"}},
        {"oqMaxLimitsClient", {"SERVICE_NAME_ANSI", "MAX_DAY_LIMIT", "MAX_WEEK_LIMIT", "MAX_MONTH_LIMIT"}},
        {"oqManager", {"MANAGER_ID", "MANAGER_NAME"}},
        {"oqFeedBackTypes", {"TYPE_NAME_ANSI"}},
        {"oqEmitentSecurity", {"EMITENT_NAME_ANSI"}},
        {"ospGetFreeEmitent", {"ISVISIBLE", "EMITENT_NUMBER", "FILIAL_NUMBER", "EMITENT_NAME_ANSI"}},
        {"ospGetGroupList", {"ISVISIBLE", "NAME_GROUP_ANSI"}},
    };
    return columns.value(componentName);
}

void SharedQueries::ApplyCaptions()
{
    struct Caption
    {
        db::Dataset* ds;
        const char* field;
        const char16_t* key;
    };
    const Caption captions[] = {
        {qryLogins, "ID", u"rstrIdentificator"},
        {qryLogins, "WBL_LOGIN", u"rstrLogin"},
        {qryLogins, "IS_ACTIVE", u"rstrIsActive"},
        {qryLogins, "IS_JOURNALISING", u"rstrLogging"},
        {qryLogins, "CARD_HOLDER_NAME", u"rstrHolder"},
        {qryLogins, "CARD_HOLDER_NAME_ANSI", u"rstrHolder"},
        {qryLogins, "STATEHOLDERNAME", u"rstrAccess"},
        {qryLogins, "EMAIL", u"rstrEMail"},
        {qryJournal, "LOGIN_ID", u"rstrNum"},
        {qryJournal, "WBL_LOGIN_MD5", u"rstrLogin"},
        {qryJournal, "VISIT_DATE", u"rstrDateVisit"},
        {qryJournal, "OPERATION_NAME_ANSI", u"vrstrJrnOperType"},
        {qryJournal, "WJ_COMMENT_ANSI", u"vrstrJrnComment"},
        {oqDescribes, "WBD_DATE_OF", u"rstrDescribeCreationDate"},
        {oqDescribes, "WBD_DATE_END", u"rstrDescribeDateEnd"},
        {oqDescribes, "WBD_COMMENT", u"rstrDescribeComment"},
        {oqEmitentSelect, "UNLOAD", u"rstrUnLoad"},
        {oqEmitentSelect, "ISVISIBLE", u"vrstrEmitentNewPosVisible"},
        {oqEmitentSelect, "HIDE_DISCONT", u"vrstrEmitentShowDiscount"},
        {oqEmitentSelect, "EMITENT_NUMBER", u"rstrNum"},
        {oqEmitentSelect, "FILIAL_NUMBER", u"rstrBranch"},
        {oqEmitentSelect, "EMITENT_NAME", u"rstrName"},
        {oqEmitentSelect, "EMITENT_NAME_ANSI", u"rstrName"},
        {oqEmitentSelect, "TYPE_CHANGE_STR", u"rstrTypeChange"},
        {oqEmitentSelect, "SHARING_FOLDER", u"rstrExchangeFolder"},
        {oqEmitentSelect, "E_MAIL", u"rstrEmailAddr"},
        {oqEmitentSelect, "ORDER_UNLOAD", u"rstrOrderUpdate"},
        {oquPOSes, "EMITENT_NUMBER", u"rstrEmitentNumber"},
        {oquPOSes, "FILIAL_NUMBER", u"rstrBranchNumber"},
        {oquPOSes, "POS_NUMBER", u"rstrPOSNumber"},
        {oquPOSes, "POS_NAME", u"rstrName"},
        {oquPOSes, "POS_CAPTION", u"rstrPOSfull"},
        {oquPOSes, "POS_ADDRESS", u"rstrAddress"},
        {oquPOSes, "ISVISIBLE", u"rstrVisibility"},
        {oquPOSes, "ISUPDATE", u"rstrRefreshing"},
        {oquHoldersForLogin, "CARD_HOLDER_ID", u"rstrNumber"},
        {oquHoldersForLogin, "CARD_HOLDER_NAME", u"rstrHolder"},
        {oquTrnTypes, "ISVISIBLE", u"rstrVisibility"},
        {oquTrnTypes, "TRNTYPE_NAME", u"rstrName"},
        {oquTrnTypes, "ANSI", u"rstrName"},
        {oquTrnTypes, "MARK", u"rstrMark"},
        {oqHelpType, "TEV_HELP_ID", u"rstrNumber"},
        {oqHelpType, "TEV_HELP_NAME", u"rstrName"},
        {oqHelpType, "TEV_HELPNAME_ANSI", u"rstrName"},
        {oqHelpType, "TEV_HELP_DESC", u"rstrDescription"},
        {oqHelpType, "TEV_HELP_DESC_ANSI", u"rstrDescription"},
        {oqHelpType, "TEV_HELP_TYPE", u"rstrType"},
        {oqHelpType, "TEV_HELP_TYPE_STR", u"rstrType"},
        {oqEmitentPos, "EMITENT_NAME", u"vrstrEmitentPos"},
        {oqEmitentPos, "EMITENT_NAME_ANSI", u"vrstrEmitentPos"},
        {oqEmitentPos, "ISVISIBLE", u"rstrVisibility"},
        {oqOrderUnload, "ORDER_UNLOAD", u"rstrOrderUpdate"},
        {oqOrderUnload, "EMITENT_NUMBER", u"rstrEmitentNumber"},
        {oqOrderUnload, "FILIAL_NUMBER", u"rstrBranchNumber"},
        {oqOrderUnload, "EMITENT_NAME", u"rstrName"},
        {oqOrderDownload, "ORDER_DOWNLOAD", u"rstrOrderDownload"},
        {oqOrderDownload, "EMITENT_NUMBER", u"rstrEmitentNumber"},
        {oqOrderDownload, "FILIAL_NUMBER", u"rstrBranchNumber"},
        {oqOrderDownload, "EMITENT_NAME", u"rstrName"},
        {oqMaxLimitsEmitent, "SERVICE_NAME_ANSI", u"vrstrServiceName"},
        {oqMaxLimitsEmitent, "MAX_DAY_LIMIT", u"vrstrDayLimit"},
        {oqMaxLimitsEmitent, "MAX_WEEK_LIMIT", u"vrstrWeekLimit"},
        {oqMaxLimitsEmitent, "MAX_MONTH_LIMIT", u"vrstrMonthLimit"},
        {oqMaxLimitsClient, "SERVICE_NAME_ANSI", u"vrstrServiceName"},
        {oqMaxLimitsClient, "MAX_DAY_LIMIT", u"vrstrDayLimit"},
        {oqMaxLimitsClient, "MAX_WEEK_LIMIT", u"vrstrWeekLimit"},
        {oqMaxLimitsClient, "MAX_MONTH_LIMIT", u"vrstrMonthLimit"},
    };
    for (const Caption& c : captions)
        c.ds->defineField(QString::fromLatin1(c.field)).setDisplayLabel(lang::tr(c.key));
}

QList<db::Dataset*> SharedQueries::datasets() const
{
    return mOwner->findChildren<db::Dataset*>(QString(), Qt::FindDirectChildrenOnly);
}
