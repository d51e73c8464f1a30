#pragma once

#include <QString>

// SQL texts of the news and subscriber-group windows and the names of their fields and parameters.
struct NewsQueries
{
    // The news items with their visibility for card holders as "Да"/"Нет".
    struct News
    {
        static constexpr char kId[] = "NEWS_ID";
        static constexpr char kHeadline[] = "HEADLINE_NEWS";
        static constexpr char kHeadlineShown[] = "HEADLINE_NEWS_ANSI";
        static constexpr char kDate[] = "DATE_NEWS";
        static constexpr char kBody[] = "BODY_NEWS";
        static constexpr char kBodyShown[] = "BODY_NEWS_ANSI";
        static constexpr char kVisibility[] = "CARDHOLDER_VISIBILITY";
        static constexpr char kVisibilityText[] = "CARDHOLDER_VISIBILITY_TXT";
        static constexpr char kYesMacro[] = "vYes";
        static constexpr char kNoMacro[] = "vNo";
        static QString sql();
    };
    // The groups a news item is bound to.
    struct NewsGroups
    {
        static constexpr char kNewsId[] = "NEWS_ID";
        static constexpr char kGroupId[] = "GROUP_ID";
        static constexpr char kName[] = "NAME_GROUP";
        static constexpr char kNameShown[] = "NAME_GROUP_ANSI";
        static constexpr char kNewsParam[] = "news_id";
        static QString sql();
    };
    // Every group with ISVISIBLE = 1 where it is bound to the news item (ospGetGroupList).
    struct GroupList
    {
        static constexpr char kCheck[] = "ISVISIBLE";
        static constexpr char kGroupId[] = "GROUP_ID";
        static constexpr char kName[] = "NAME_GROUP";
        static constexpr char kNameShown[] = "NAME_GROUP_ANSI";
        static constexpr char kNewsParam[] = "P_NEWS_ID";
    };
    // Emitents of the membership window: those not in the group (a cursor) and the members.
    struct Emitents
    {
        static constexpr char kCheck[] = "ISVISIBLE";
        static constexpr char kId[] = "EMITENT_ID_WEB";
        static constexpr char kNumber[] = "EMITENT_NUMBER";
        static constexpr char kFilial[] = "FILIAL_NUMBER";
        static constexpr char kName[] = "EMITENT_NAME";
        static constexpr char kNameShown[] = "EMITENT_NAME_ANSI";
        static constexpr char kFreeProc[] = "GET_FREE_EMITENTS_FOR_GROUP";
        static constexpr char kFreeGroupParam[] = "P_GROUP_ID";
        static constexpr char kMemberGroupParam[] = "group_id";
        static QString membersSql();
    };
    // Web clients of the membership window: those of one emitent not in the group, and the members.
    struct Clients
    {
        static constexpr char kCheck[] = "ISVISIBLE";
        static constexpr char kId[] = "WBC_ID";
        static constexpr char kName[] = "WBC_NAME";
        static constexpr char kNameShown[] = "WBC_NAME_ANSI";
        static constexpr char kPetrolType[] = "WBC_PETROL_TYPE_ID";
        static constexpr char kLnr[] = "CLIENTISLNR";
        static constexpr char kBonus[] = "CLIENTISBONUS";
        static constexpr char kFreeProc[] = "GET_FREE_CLIENTS_FOR_GROUP";
        static constexpr char kFreeGroupParam[] = "P_GROUP_ID";
        static constexpr char kFreeEmitentParam[] = "P_EMITENT_ID";
        static constexpr char kFreeReportNameParam[] = "P_USE_NAME_FOR_REPORT";
        static constexpr char kMemberGroupParam[] = "group_id";
        static constexpr char kMemberReportNameParam[] = "rpt";
        static QString membersSql();
    };
    // The emitent chooser of the clients tab.
    struct EmitentChooser
    {
        static constexpr char kId[] = "EMITENT_ID_WEB";
        static constexpr char kFullName[] = "EM_FULL_NAME";
        static constexpr char kFullNameShown[] = "EM_FULL_NAME_ANSI";
        static QString sql();
    };
};
