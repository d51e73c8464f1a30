#pragma once

#include "TTevBaseForm.h"

#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TdmMain;

// A new web login of a client: the client's own login or that of one of its card holders that
// has none yet. OK checks the passwords, the portal's password rules, the owner and the name, then
// creates the login and commits; every refusal keeps the dialog open with what was typed.
class TfmLoginAdd : public TTevBaseForm
{
    Q_OBJECT

public:
    enum Owner
    {
        OwnerClient = 0,
        OwnerHolder = 1
    };

    TfmLoginAdd(TdmMain& dm, int clientId, QWidget* owner = nullptr);
    ~TfmLoginAdd() override;

    // The new login's identifier once OK has created it.
    int loginId() const { return mLoginId; }

    void setOwnerKind(Owner owner);
    Owner ownerKind() const;
    // Holder entries: decoded name, CARD_HOLDER_ID as item data; none chosen at first.
    QComboBox* cbHolders() const { return mHolders; }
    QComboBox* cbAccess() const { return mAccess; }
    QLineEdit* edtLogin() const { return mLogin; }
    QLineEdit* edtPassword() const { return mPassword; }
    QLineEdit* edtConfirm() const { return mConfirm; }
    QLineEdit* edtEmail() const { return mEmail; }
    QCheckBox* chkActive() const { return mActive; }
    QCheckBox* chkJournalising() const { return mJournalising; }
    QPushButton* btnOk() const { return mOk; }

    // Runs the checks and creates the login; a database error is rolled back and passed on.
    void btnOkClick();

    // Access levels of a card-holder login; the value stored is the position.
    static QStringList AccessLevels();
    // Colours a field that the owner choice enables or disables, as the window does.
    static void markEnabled(QWidget* field, bool enabled);

    // Through the modal seam: the new login's identifier, nothing when cancelled.
    static std::optional<int> Execute(TdmMain& dm, int clientId, QWidget* owner);

protected:
    void SetupCaptions() override;
    void FormShow() override;

private:
    void rgLoginTypeClick();
    void updateOk();
    void refuse(const char16_t* key);

    TdmMain& mDm;
    int mClientId;
    int mLoginId = 0;
    QLabel* mTypeTitle;
    QRadioButton* mOwnerClient;
    QRadioButton* mOwnerHolder;
    QButtonGroup* mOwnerGroup;
    QLabel* lblHolder;
    QComboBox* mHolders;
    QLabel* lblLogin;
    QLineEdit* mLogin;
    QLabel* lblPassword;
    QLineEdit* mPassword;
    QLabel* lblConfirm;
    QLineEdit* mConfirm;
    QCheckBox* mActive;
    QCheckBox* mJournalising;
    QLabel* lblAccess;
    QComboBox* mAccess;
    QLabel* lblEmail;
    QLineEdit* mEmail;
    QLabel* lblFootnote;
    QPushButton* mOk;
    QPushButton* mCancel;
};
