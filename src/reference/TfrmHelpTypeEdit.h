#pragma once

#include "TfmMainTEV.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// One help item: name (at most 100 characters), description (at most 4000) and the client kinds it
// applies to. "Применить" is enabled only while the trimmed name is not empty, a kind is ticked and
// the description fits. A built-in item keeps its name and kinds (both greyed).
class TfrmHelpTypeEdit : public TfmMainTEV
{
    Q_OBJECT

public:
    static constexpr int kMaxNameLength = 100;
    static constexpr int kMaxDescLength = 4000;

    explicit TfrmHelpTypeEdit(QWidget* owner = nullptr);
    ~TfrmHelpTypeEdit() override;

    // Decoded texts and the type string ("101": processing centre and bonus club).
    void setItem(const QString& name, const QString& desc, const QString& type, bool builtIn);
    QString itemName() const;
    QString itemDesc() const;
    QString itemType() const;
    bool isValid() const;

    QLineEdit* edtName() const { return mName; }
    QPlainTextEdit* memDesc() const { return mDesc; }
    QCheckBox* kind(int index) const { return mKinds[index]; }
    QPushButton* btnApply() const { return mApply; }

    void accept() override;

protected:
    void SetupCaptions() override;

private:
    void updateApply();

    QLabel* mNameLabel;
    QLabel* mDescLabel;
    QLabel* mTypeLabel;
    QLineEdit* mName;
    QPlainTextEdit* mDesc;
    QCheckBox* mKinds[3];
    QPushButton* mApply;
    QPushButton* mCancel;
};
