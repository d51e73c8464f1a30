#pragma once

#include "TfmWebNames.h"

// Web names of the service schemes; a scheme's phrase id is its type × 100 + its number.
class TfmSchemesForWeb : public TfmWebNames
{
    Q_OBJECT

public:
    static constexpr int kMaxNameLength = 50;

    TfmSchemesForWeb(QWidget* owner, const QString& shema, db::Session* session, int languageId);
    ~TfmSchemesForWeb() override;
};
