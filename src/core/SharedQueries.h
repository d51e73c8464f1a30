#pragma once

#include <QObject>
#include <QStringList>

namespace db {
class Dataset;
class Package;
class Query;
class Script;
class Session;
class StoredProc;
} // namespace db

// The queries, stored procedures and the package object that several windows share. They are
// created as direct children of the data module (so schema and session binding reach them), closed,
// and bound only after sign-in.
class SharedQueries
{
public:
    // Names of fields and parameters that windows use, next to their query.
    struct Logins // qryLogins
    {
        static constexpr char kClientParam[] = "pID";
        static constexpr char kIdField[] = "ID";
        static constexpr char kLoginField[] = "WBL_LOGIN";
        static constexpr char kEmailField[] = "EMAIL";
        static constexpr char kActiveField[] = "WBL_IS_ACTIVE";
        static constexpr char kJournalisingField[] = "WBL_IS_JOURNALISING";
        static constexpr char kAccessField[] = "STATEHOLDER";
        static constexpr char kHolderField[] = "CARD_HOLDER_ID";
    };
    struct Journal // qryJournal
    {
        static constexpr char kClientParam[] = "pID";
        static constexpr char kLanguageParam[] = "pLangId";
    };
    struct Describes // oqDescribes
    {
        static constexpr char kClientParam[] = "id";
    };
    struct EmitentSelect // oqEmitentSelect
    {
        static constexpr char kIdField[] = "EMITENT_ID_WEB";
        static constexpr char kNumberField[] = "EMITENT_NUMBER";
        static constexpr char kFilialField[] = "FILIAL_NUMBER";
        static constexpr char kFullNameField[] = "FULL_EM_NAME";
        static constexpr char kAllEmitentParam[] = "P_ALL_EMITENT";
        static constexpr char kManagerParam[] = "P_MANAGER_ID";
    };
    struct EmitentData // oquPOSes, oquTrnTypes
    {
        static constexpr char kEmitentParam[] = "emitent_id";
    };

    explicit SharedQueries(QObject* owner);

    db::Query* qryLogins;
    db::Query* qryJournal;
    db::Query* oqDescribes;
    db::Query* oqEmitentSelect;
    db::Query* oquPOSes;
    db::Query* oquTrnTypes;
    db::Query* oquHoldersForLogin;
    db::Query* oqLogins;
    db::Query* oqHelpType;
    db::Query* oqEmitentPos;
    db::Query* oqOrderUnload;
    db::Query* oqOrderDownload;
    db::Query* oqMaxLimitsEmitent;
    db::Query* oqMaxLimitsClient;
    db::Query* oqManager;
    db::Query* oqFeedBackTypes;
    db::Query* oqMessageTemplates;
    db::Query* oqLangs;
    db::Query* oqEmitentSecurity;
    db::Query* oqTEVConfigs;
    db::Query* oqDBVersion;
    db::Query* qryCallProc;
    db::StoredProc* ospGetFreeEmitent;
    db::StoredProc* ospGetGroupList;
    db::StoredProc* ospUpdStatus;
    db::StoredProc* ospAddEmForManager;
    db::StoredProc* ospUpdMessageTemplate;
    db::StoredProc* ospUpdateEmitentParams;
    db::StoredProc* ospUpdBillingParams;
    db::StoredProc* ospSetTEVConfigs;
    db::StoredProc* ospUnlockLogin;
    db::StoredProc* ospAddNews;
    db::StoredProc* ospUpdNews;
    db::StoredProc* ospDelNews;
    db::StoredProc* ospBindGroupToNews;
    db::StoredProc* ospAddGroup;
    db::StoredProc* ospUpdGroup;
    db::StoredProc* ospDelGroup;
    db::StoredProc* ospGeneratePassword;
    db::StoredProc* ospUpdateLoginPassword;
    db::StoredProc* ospCheckPasswordSecurity;
    db::StoredProc* ospUpdEmitentCrypt;
    db::StoredProc* ospUpdEmitentExportKey;
    db::StoredProc* ospArchiveCoupons;
    db::Script* oscrChangePassword;
    db::Package* TEV_UTILS;
    // The second session, without a prompt, of the connection test.
    db::Session* osTestConnection;

    // Shown columns of a shared dataset in display order (fields not listed are hidden).
    static QStringList displayColumns(const QString& componentName);
    // Run-time column captions from the message catalogue.
    void ApplyCaptions();
    // Every shared dataset, for binding and for closing at sign-out.
    QList<db::Dataset*> datasets() const;

private:
    QObject* mOwner;
};

// The calculated _ANSI texts: portal text decoded from its "\u" escapes, and the same text as the
// single-byte code page can show it (characters it lacks become "?").
QString DecodedPortalText(const QVariant& stored);
QString SingleBytePortalText(const QVariant& stored);
// The type column of the help items: "ОЦ", "ЛНР", "БК" for the three flag characters, joined by "/".
QString HelpTypeText(const QString& flags);
