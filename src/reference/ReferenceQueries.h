#pragma once

#include <QString>

// SQL texts of the reference-data windows and the names of their fields and parameters.
struct ReferenceQueries
{
    // oquPOSes (data module): the list of service points of the current emitent.
    struct POSes
    {
        static constexpr char kId[] = "POS_NUM_WEB";
        static constexpr char kName[] = "POS_NAME";
        static constexpr char kAddress[] = "POS_ADDRESS";
        static constexpr char kVisible[] = "ISVISIBLE";
        static constexpr char kUpdate[] = "ISUPDATE";
        static constexpr char kEmitentNumber[] = "EMITENT_NUMBER";
        static constexpr char kFilialNumber[] = "FILIAL_NUMBER";
        static constexpr char kPosNumber[] = "POS_NUMBER";
        static constexpr char kCaption[] = "POS_CAPTION_ANSI";
        static constexpr char kAddressShown[] = "POS_ADDRESS_ANSI";
        // Re-reads one row by its id.
        static constexpr char kRefreshSql[] = "WHERE POS_NUM_WEB = :POS_NUM_WEB";
    };
    // oquTrnTypes (data module).
    struct TrnTypes
    {
        static constexpr char kNumber[] = "TRNTYPE_NUMBER";
        static constexpr char kVisible[] = "ISVISIBLE";
        static constexpr char kNameShown[] = "ANSI";
        static constexpr char kMark[] = "MARK";
        static constexpr char kRefreshSql[] = "WHERE TRNTYPE_NUMBER = :TRNTYPE_NUMBER";
    };
    // The transaction groups, named in the interface language when a phrase exists.
    struct Groups
    {
        static constexpr char kId[] = "GROUP_ID";
        static constexpr char kName[] = "GROUP_NAME";
        static constexpr char kNameShown[] = "GROUP_NAME_ANSI";
        static constexpr char kLangParam[] = "pLang";
        static QString sql();
    };
    // Transaction types of one group.
    struct Members
    {
        static constexpr char kNumber[] = "TRNTYPE_NUMBER";
        static constexpr char kName[] = "TRNTYPE_NAME";
        static constexpr char kNameShown[] = "TRNTYPE_NAME_ANSI";
        static constexpr char kLangParam[] = "pLangId";
        static constexpr char kGroupParam[] = "group_id";
        static QString sql();
    };
    // The number of transaction types in no group.
    struct FreeTypes
    {
        static constexpr char kCount[] = "CNT";
        static QString sql();
    };
    // The types a group may take (its own and those in no group), its own marked "+".
    struct MemberChoice
    {
        static constexpr char kChoice[] = "RCHECK";
        static constexpr char kNumber[] = "TRNTYPE_NUMBER";
        static constexpr char kName[] = "TRNTYPE_NAME";
        static constexpr char kNameShown[] = "TRNTYPE_NAME_ANSI";
        static constexpr char kLangParam[] = "pLangId";
        static constexpr char kGroupParam[] = "group_id";
        static QString sql();
    };
    // Web names of the service schemes in one web language.
    struct Schemes
    {
        static constexpr char kNumber[] = "SCHEMA_NUMBER";
        static constexpr char kType[] = "SCHEMA_TYPE";
        static constexpr char kShortName[] = "SCHEMA_SHORTNAME";
        static constexpr char kName[] = "SCHEMA_NAME";
        static constexpr char kShortNameShown[] = "SCHEMA_SHORTNAME_ANSI";
        static constexpr char kNameShown[] = "SCHEMA_NAME_ANSI";
        static QString sql();
    };
    // Web names of the terms in one web language.
    struct Terms
    {
        static constexpr char kId[] = "TERM_ID";
        static constexpr char kShortName[] = "TERM_SHORTNAME";
        static constexpr char kName[] = "TERM_NAME";
        static constexpr char kShortNameShown[] = "TERM_SHORTNAME_ANSI";
        static constexpr char kNameShown[] = "TERM_NAME_ANSI";
        static QString sql();
    };
    // Parameters of the scheme and term lists.
    static constexpr char kInterfaceLangParam[] = "pLangId";
    static constexpr char kWebLangParam[] = "pWebLang";

    // oqHelpType (data module).
    struct Help
    {
        static constexpr char kId[] = "TEV_HELP_ID";
        static constexpr char kName[] = "TEV_HELP_NAME";
        static constexpr char kDesc[] = "TEV_HELP_DESC";
        static constexpr char kType[] = "TEV_HELP_TYPE";
        static constexpr char kNameShown[] = "TEV_HELPNAME_ANSI";
        static constexpr char kTypeShown[] = "TEV_HELP_TYPE_STR";
        static constexpr char kLangMacro[] = "langid";
    };
};
