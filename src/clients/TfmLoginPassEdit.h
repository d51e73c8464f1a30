#pragma once

#include "TTevBaseForm.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TdmMain;

// A new permanent password for one web login. The two fields must match exactly; a password the
// portal's rules refuse needs the administrator's Yes. An error is shown and the dialog stays open.
class TfmLoginPassEdit : public TTevBaseForm
{
    Q_OBJECT

public:
    TfmLoginPassEdit(TdmMain& dm, int loginId, const QString& login, QWidget* owner = nullptr);
    ~TfmLoginPassEdit() override;

    QLineEdit* edtPassword() const { return mPassword; }
    QLineEdit* edtConfirm() const { return mConfirm; }
    QPushButton* btnOk() const { return mOk; }

    void btnOkClick();

    // Through the modal seam; true when the password was set.
    static bool Execute(TdmMain& dm, int loginId, const QString& login, QWidget* owner);

protected:
    void SetupCaptions() override;

private:
    TdmMain& mDm;
    int mLoginId;
    QString mLoginName;
    QLabel* lblLogin;
    QLineEdit* mLogin;
    QLabel* lblPassword;
    QLineEdit* mPassword;
    QLabel* lblConfirm;
    QLineEdit* mConfirm;
    QPushButton* mOk;
    QPushButton* mCancel;
};
