#pragma once

#include "ClientPermissions.h"
#include "TTevBaseForm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TdmMain;

namespace db {
class Dataset;
}

// Properties of one web client. Opened on the clients list's current row; OK updates the client
// and its test mark in one transaction and commits; an error is rolled back and shown, and the
// dialog stays open with what was typed.
class TfrmClientEdit : public TTevBaseForm
{
    Q_OBJECT

public:
    TfrmClientEdit(TdmMain& dm, const db::Dataset& clients, QWidget* owner = nullptr);
    ~TfrmClientEdit() override;

    QCheckBox* box(ClientPermissions::Permission p) const { return mBoxes[p]; }
    QLineEdit* edtName() const { return mName; }
    QLineEdit* edtEmail() const { return mEmail; }
    QComboBox* cbState() const { return mState; }
    QPlainTextEdit* edtDescription() const { return mDescription; }
    QPushButton* btnOk() const { return mOk; }

    void btnOkClick();

    // Through the modal seam; true when saved.
    static bool Execute(TdmMain& dm, const db::Dataset& clients, QWidget* owner);

protected:
    void SetupCaptions() override;

private:
    void emailChanged();

    TdmMain& mDm;
    int mClientId = 0;
    bool mRememberedUpdateEmail = false;
    QCheckBox* mBoxes[ClientPermissions::Count];
    QLabel* lblName;
    QLineEdit* mName;
    QLabel* lblEmail;
    QLineEdit* mEmail;
    QLabel* lblState;
    QComboBox* mState;
    QLabel* lblDescription;
    QPlainTextEdit* mDescription;
    QPushButton* mOk;
    QPushButton* mCancel;
};
