#pragma once

#include "TfmWebNames.h"

// Web names of the terms; a term's phrase id is its TERM_ID.
class TfmTermsForWeb : public TfmWebNames
{
    Q_OBJECT

public:
    static constexpr int kMaxNameLength = 255;

    TfmTermsForWeb(QWidget* owner, const QString& shema, db::Session* session, int languageId);
    ~TfmTermsForWeb() override;
};
