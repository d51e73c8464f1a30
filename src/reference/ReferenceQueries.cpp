#include "ReferenceQueries.h"

QString ReferenceQueries::Groups::sql()
{
    return QStringLiteral(
        "SELECT v.group_id, DECODE(p.phrase, NULL, v.group_name, p.phrase) AS group_name\r\n"
        "FROM &shema.v_tev_trntype_group v, &shema.v_tev_phrases p\r\n"
        "WHERE p.id(+) = v.group_id AND p.type_id(+) = 3 AND p.lang_id(+) = :pLang\r\n"
        "ORDER BY v.group_id");
}

QString ReferenceQueries::Members::sql()
{
    return QStringLiteral(
        "SELECT t.trntype_number, &shema.tev_utils.TRANS_TEXT(t.trntype_name, :pLangId, 1) AS "
        "trntype_name\r\n"
        "FROM &shema.V_TEV_TRNTYPE t\r\n"
        "WHERE t.group_id = :group_id\r\n"
        "ORDER BY 2");
}

QString ReferenceQueries::FreeTypes::sql()
{
    return QStringLiteral("SELECT COUNT(*) AS cnt FROM &shema.V_TEV_TRNTYPE WHERE GROUP_ID IS NULL");
}

QString ReferenceQueries::MemberChoice::sql()
{
    return QStringLiteral(
        "SELECT DECODE(t.group_id, :group_id, '+', '-') AS rcheck, t.trntype_number,\r\n"
        "       &shema.tev_utils.TRANS_TEXT(t.trntype_name, :pLangId, 1) AS trntype_name\r\n"
        "FROM &shema.V_TEV_TRNTYPE t\r\n"
        "WHERE NVL(t.GROUP_ID, :group_id) = :group_id\r\n"
        "ORDER BY 3");
}

QString ReferenceQueries::Schemes::sql()
{
    return QStringLiteral(
        "SELECT s.schema_number, s.schema_type,\r\n"
        "       &shema.tev_utils.TRANS_TEXT_DEFAULT(s.schema_shortname, :pLangId, 1) AS schema_shortname,\r\n"
        "       p.phrase AS schema_name\r\n"
        "FROM &shema.V_TEV_SCHEMA_FOR_WEB s, &shema.v_tev_phrases p\r\n"
        "WHERE p.id = s.schema_type * 100 + s.schema_number AND p.type_id = 2 AND p.lang_id = :pWebLang\r\n"
        "ORDER BY s.schema_number, s.schema_type");
}

QString ReferenceQueries::Terms::sql()
{
    return QStringLiteral("SELECT t.term_id, &shema.tev_utils.TRANS_TEXT_DEFAULT(t.term_shortname, :pLangId, "
                          "1) AS term_shortname,\r\n"
                          "       p.phrase AS term_name\r\n"
                          "FROM &shema.V_TEV_TERMS_FOR_WEB t, &shema.v_tev_phrases p\r\n"
                          "WHERE p.id = t.term_id AND p.type_id = 1 AND p.lang_id = :pWebLang\r\n"
                          "ORDER BY t.term_id");
}
