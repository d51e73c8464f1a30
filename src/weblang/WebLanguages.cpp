#include "WebLanguages.h"

#include "DbHelpers.h"
#include "Package.h"
#include "PortalCodec.h"
#include "Query.h"
#include "Session.h"
#include "StoredProc.h"

#include <QStringList>

namespace {

QString designText(std::initializer_list<const char*> lines)
{
    QString text;
    for (const char* line : lines)
        text += QString::fromUtf8(line) + QLatin1String("\r\n");
    return text;
}

} // namespace

QString WebLanguagesSql()
{
    return designText(
        {" SELECT &shema.tev_utils.trans_text(lng.lng_lang_name, :p_lang_id, 1) AS lng_lang_name,",
         "       decode(lng.lng_id,", "                v.lng_id, 1,", "              0", "             ),",
         "        lng.lng_id ", "FROM   &shema.v_tev_langs lng,", "       (SELECT cnf.PARAM_VAL AS LNG_ID ",
         "        FROM &shema.v_tev_configs cnf", "        WHERE cnf.param_name = 'LANG_ID'", "       ) v"});
}

QList<WebLanguage> ReadWebLanguages(db::Session& session, const QString& shema, int interfaceLangId)
{
    db::Query query(&session);
    query.setObjectName(QStringLiteral("oqWebLangs"));
    query.setSql(WebLanguagesSql());
    fSetShemaForComponent(&query, shema);
    db::Param& lang = query.paramByName(QStringLiteral("p_lang_id"));
    lang.setDataType(db::DataType::Integer);
    lang.setValue(interfaceLangId);
    query.open();

    // The columns by position: the mark column has no name of its own.
    QList<WebLanguage> languages;
    for (int row = 0; row < query.recordCount(); ++row) {
        WebLanguage language;
        language.name = DecodeUnicodeEscapes(query.value(row, 0).toString());
        language.current = query.value(row, 1).toInt() == 1;
        language.id = query.value(row, 2).toInt();
        languages.append(language);
    }
    return languages;
}

void ChangeCurrentWebLanguage(db::Session& session, const QString& shema, int langId)
{
    db::StoredProc proc(&session);
    proc.setObjectName(QStringLiteral("ospChangeCurrentLang"));
    proc.setStoredProcName(QStringLiteral("tev.TEV_UTILS.change_current_lang"));
    fSetShemaForComponent(&proc, shema);
    session.startTransaction();
    try {
        proc.prepare();
        proc.setParam(QStringLiteral("P_ID_LANG"), langId);
        proc.execProc();
        session.commit();
    } catch (...) {
        if (session.connected())
            session.rollback();
        throw;
    }
}

QString TransText(db::Session& session, const QString& shema, const QString& text, int langId)
{
    db::Package package(&session);
    package.setObjectName(QStringLiteral("TEV_UTILS"));
    package.setPackageName(QStringLiteral("TEV.TEV_UTILS"));
    fSetShemaForComponent(&package, shema);
    return DecodeUnicodeEscapes(package.execFunc(QStringLiteral("trans_text"), {text, langId, 1}).toString());
}
