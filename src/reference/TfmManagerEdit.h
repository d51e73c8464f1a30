#pragma once

#include "TDlgBaseForm.h"

class QCheckBox;
class QLabel;
class QLineEdit;

// A regional manager's name and password. Nothing is written here: the managers' window stores
// what the dialog accepted. OK closes only with a password the manager can sign in with; in the
// change-password mode the name is fixed and OK asks first, and declining the question keeps the
// dialog open with what was typed.
class TfmManagerEdit : public TDlgBaseForm
{
    Q_OBJECT

public:
    static constexpr int kMaxNameLength = 255;
    static constexpr int kMaxPasswordLength = 20;
    // What a masked password shows for each character.
    static constexpr char16_t kMaskCharacter = u'*';

    TfmManagerEdit(QWidget* owner, const QString& shema, db::Session* session);
    ~TfmManagerEdit() override;

    // Set before showing: the name (decoded) is shown disabled and only the password changes.
    void setChangePasswordMode(bool on);
    bool changePasswordMode() const { return mChangePassword; }
    void setManagerName(const QString& name);

    // As typed: the name is trimmed only when stored, the password never.
    QString managerName() const;
    QString password() const;

    QLineEdit* edtLogin() const { return mLogin; }
    QLineEdit* edtPassword() const { return mPassword; }
    QCheckBox* chbShowPassword() const { return mShowPassword; }

    void accept() override;

protected:
    void SetupCaptions() override;

private:
    void showPasswordClick();

    bool mChangePassword = false;
    QLabel* mLoginLabel = nullptr;
    QLabel* mPasswordLabel = nullptr;
    QLineEdit* mLogin = nullptr;
    QLineEdit* mPassword = nullptr;
    QCheckBox* mShowPassword = nullptr;
};
