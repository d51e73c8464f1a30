#pragma once

#include "TTevBaseForm.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Edits one service point: its numbers shown read-only, name and address (decoded, at most 255
// characters each) and the two flags. The caller writes what was accepted.
class TfmPOSUpd : public TTevBaseForm
{
    Q_OBJECT

public:
    static constexpr int kMaxTextLength = 255;

    explicit TfmPOSUpd(QWidget* owner = nullptr);
    ~TfmPOSUpd() override;

    void setValues(const QString& emitent, const QString& filial, const QString& posNumber,
                   const QString& name, const QString& address, bool visible, bool update);
    QString posName() const;
    QString posAddress() const;
    bool isVisibleOnWeb() const;
    bool updatesFromCentre() const;

    QLineEdit* edtEmitent() const { return mEmitent; }
    QLineEdit* edtFilial() const { return mFilial; }
    QLineEdit* edtPosNumber() const { return mPosNumber; }
    QLineEdit* edtName() const { return mName; }
    QLineEdit* edtAddress() const { return mAddress; }
    QCheckBox* chkVisible() const { return mVisible; }
    QCheckBox* chkUpdate() const { return mUpdate; }
    QPushButton* btnApply() const { return mApply; }

protected:
    void SetupCaptions() override;

private:
    QLabel* mLabels[5] = {};
    QLineEdit* mEmitent;
    QLineEdit* mFilial;
    QLineEdit* mPosNumber;
    QLineEdit* mName;
    QLineEdit* mAddress;
    QCheckBox* mVisible;
    QCheckBox* mUpdate;
    QPushButton* mApply;
    QPushButton* mCancel;
};
