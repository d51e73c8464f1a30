#pragma once

#include "TBaseForm.h"

class QPushButton;

namespace db {
class Package;
}

// List window: a data window with one button under its controls, `OkBtn` ("Выход"), that closes
// it. Closing commits the session's pending transaction. `PARAM_PACK` ("xxx.PARAM_PACK" until the
// schema is set) calls the portal package in the window's schema.
//
// A derived window puts its controls into ClientPanel() (ui->setupUi(ClientPanel()) with a
// QWidget-based .ui form) and its captions into SetupCaptions (calling the base's first).
class TMainBaseForm : public TBaseForm
{
    Q_OBJECT

public:
    TMainBaseForm(QWidget* owner, const QString& shema, db::Session* session);
    ~TMainBaseForm() override;

    QWidget* BottomPanel() const { return mBottomPanel; }
    QPushButton* OkBtn() const { return mOkBtn; }
    db::Package* PARAM_PACK() const { return mParamPack; }

protected:
    void SetupImages() override;
    void SetupCaptions() override;
    // Commits the session's work, then closes as every data window does.
    void done(int result) override;

private:
    QWidget* mBottomPanel = nullptr;
    QPushButton* mOkBtn = nullptr;
    db::Package* mParamPack = nullptr;
};
