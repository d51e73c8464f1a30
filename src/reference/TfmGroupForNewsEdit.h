#pragma once

#include "TTevBaseForm.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The name of a news subscriber group, at most 255 characters; OK closes only with a name that is
// not blank. The caller stores what was accepted.
class TfmGroupForNewsEdit : public TTevBaseForm
{
    Q_OBJECT

public:
    static constexpr int kMaxNameLength = 255;

    // `adding` chooses the caption.
    explicit TfmGroupForNewsEdit(bool adding, QWidget* owner = nullptr);
    ~TfmGroupForNewsEdit() override;

    void setGroupName(const QString& name);
    // As typed, blanks around it removed.
    QString groupName() const;

    QLineEdit* edtName() const { return mName; }
    QPushButton* btnOk() const { return mOk; }
    QPushButton* btnCancel() const { return mCancel; }

    // Closes with OK when the name is not blank; otherwise says so and stays.
    void OkClick();

protected:
    void SetupCaptions() override;

private:
    bool mAdding;
    QLabel* mLabel;
    QLineEdit* mName;
    QPushButton* mOk;
    QPushButton* mCancel;
};
