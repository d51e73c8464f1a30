#include "TfmTermsForWeb.h"

#include "ReferenceQueries.h"

using T = ReferenceQueries::Terms;

TfmTermsForWeb::TfmTermsForWeb(QWidget* owner, const QString& shema, db::Session* session, int languageId)
    : TfmWebNames(owner, shema, session, languageId,
                  Kind{"fmTermsForWeb", "acEditTermNameForWeb", u"vrstrTermsForWeb", u"vrstrTermsForWeb",
                       u"vrstrTermsForWeb", kMaxNameLength, T::sql(),
                       QStringList{QString::fromLatin1(T::kId)}, QString::fromLatin1(T::kShortName),
                       QString::fromLatin1(T::kName), QStringLiteral("UPD_TEV_TERMS_FOR_WEB")})
{
}

TfmTermsForWeb::~TfmTermsForWeb() = default;
