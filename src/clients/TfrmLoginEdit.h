#pragma once

#include "TTevBaseForm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TdmMain;

// A web login as the logins pane shows it.
struct WebLoginRow
{
    int id = 0;
    QString login;
    QString email;
    bool active = true;
    bool journalising = true;
    int access = 0;
    // A card holder's login: only then are the access level and e-mail its own.
    bool holderLogin = false;
};

// Name, flags and, for a card holder's login, access level and e-mail of one web login. OK
// refuses a name another login has, then updates and commits; an error is rolled back and shown,
// and the dialog stays open.
class TfrmLoginEdit : public TTevBaseForm
{
    Q_OBJECT

public:
    TfrmLoginEdit(TdmMain& dm, const WebLoginRow& row, QWidget* owner = nullptr);
    ~TfrmLoginEdit() override;

    QLineEdit* edtLogin() const { return mLogin; }
    QLineEdit* edtEmail() const { return mEmail; }
    QCheckBox* chkActive() const { return mActive; }
    QCheckBox* chkJournalising() const { return mJournalising; }
    QComboBox* cbAccess() const { return mAccess; }
    QPushButton* btnOk() const { return mOk; }

    void btnOkClick();

    // Through the modal seam; true when saved.
    static bool Execute(TdmMain& dm, const WebLoginRow& row, QWidget* owner);

protected:
    void SetupCaptions() override;
    void FormShow() override;

private:
    TdmMain& mDm;
    WebLoginRow mRow;
    QLabel* lblId;
    QLineEdit* mId;
    QLabel* lblLogin;
    QLineEdit* mLogin;
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
