#pragma once

#include "EmitentRules.h"
#include "TTevBaseForm.h"

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

// How files are exchanged with one emitent: through an exchange folder or by e-mail. The HTTP
// values have no control here and pass through unchanged. "Применить" checks the values and hands
// them to the writer; when the writer fails the dialog says so and stays open with the values.
class TfrmEditEmitChangeParams : public TTevBaseForm
{
    Q_OBJECT

public:
    using Writer = std::function<void(const emitentrules::ExchangeParams&)>;

    explicit TfrmEditEmitChangeParams(QWidget* owner = nullptr);
    ~TfrmEditEmitChangeParams() override;

    void setEmitentName(const QString& decodedName);
    void setParams(const emitentrules::ExchangeParams& params);
    emitentrules::ExchangeParams params() const;
    void setWriter(Writer writer) { mWriter = std::move(writer); }

    QRadioButton* rbFolder() const { return mFolderType; }
    QRadioButton* rbEmail() const { return mEmailType; }
    QLineEdit* edFolder() const { return mFolder; }
    QLineEdit* edEmail() const { return mEmail; }
    QToolButton* btnFolderSelect() const { return mFolderSelect; }
    QToolButton* btnFolderClear() const { return mFolderClear; }
    QPushButton* btnApply() const { return mApply; }
    QLabel* header() const { return mHeader; }

    void btnApplyClick();
    void btnFolderSelectClick();

protected:
    void SetupCaptions() override;

private:
    void typeChanged();

    QLabel* mHeader;
    QGroupBox* mTypeBox;
    QRadioButton* mFolderType;
    QRadioButton* mEmailType;
    QLabel* mFolderLabel;
    QLineEdit* mFolder;
    QToolButton* mFolderSelect;
    QToolButton* mFolderClear;
    QLabel* mEmailLabel;
    QLineEdit* mEmail;
    QPushButton* mApply;
    QPushButton* mCancel;
    QString mEmitentName;
    emitentrules::ExchangeParams mCarried; // the HTTP values
    Writer mWriter;
};
