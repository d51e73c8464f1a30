#pragma once

#include "ClientPermissions.h"
#include "TTevBaseForm.h"

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QPushButton;

// What to change for every ticked client: each permission box ticked (set), empty (clear) or grey
// (leave as is); state and description only when their own box is ticked. OK with nothing chosen
// is refused with a warning.
class TfmEditClientGroup : public TTevBaseForm
{
    Q_OBJECT

public:
    explicit TfmEditClientGroup(QWidget* owner = nullptr);
    ~TfmEditClientGroup() override;

    QCheckBox* box(ClientPermissions::Permission p) const { return mBoxes[p]; }
    QCheckBox* chkState() const { return mChkState; }
    QComboBox* cbState() const { return mState; }
    QCheckBox* chkDescription() const { return mChkDescription; }
    QPlainTextEdit* edtDescription() const { return mDescription; }
    QPushButton* btnOk() const { return mOk; }

    ClientPermissions::GroupChoice choice() const;
    void btnOkClick();

    // Through the modal seam: the choice, nothing when cancelled.
    static std::optional<ClientPermissions::GroupChoice> Execute(QWidget* owner);

protected:
    void SetupCaptions() override;

private:
    void updateEnabled();

    QCheckBox* mBoxes[ClientPermissions::Count];
    QCheckBox* mChkState;
    QComboBox* mState;
    QCheckBox* mChkDescription;
    QPlainTextEdit* mDescription;
    QPushButton* mOk;
    QPushButton* mCancel;
};
