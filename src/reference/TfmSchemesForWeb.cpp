#include "TfmSchemesForWeb.h"

#include "ReferenceQueries.h"

using S = ReferenceQueries::Schemes;

TfmSchemesForWeb::TfmSchemesForWeb(QWidget* owner, const QString& shema, db::Session* session, int languageId)
    : TfmWebNames(owner, shema, session, languageId,
                  Kind{"fmSchemesForWeb", "acEditSchemaNameForWeb", u"vrstrSchemaforWeb", u"vrstrSFWSchema",
                       u"vrstrSFWSchema", kMaxNameLength, S::sql(),
                       QStringList{QString::fromLatin1(S::kNumber), QString::fromLatin1(S::kType)},
                       QString::fromLatin1(S::kShortName), QString::fromLatin1(S::kName),
                       QStringLiteral("UPD_TEV_SCHEMA_FOR_WEB")})
{
}

TfmSchemesForWeb::~TfmSchemesForWeb() = default;
