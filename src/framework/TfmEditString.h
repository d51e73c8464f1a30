#pragma once

#include "TDesignForm.h"

#include <memory>

class QLineEdit;

namespace Ui {
class TfmEditString;
}

// One-line text entry; OK is enabled only while the trimmed entry is not empty.
class TfmEditString : public TDesignForm
{
    Q_OBJECT

public:
    explicit TfmEditString(QWidget* owner = nullptr);
    ~TfmEditString() override;

    QLineEdit* edtText() const;
    QString text() const;
    void setText(const QString& text);
    // 0 or less: no limit of the dialog's own.
    void setMaxLength(int length);

    // Refused while the entry is blank.
    void accept() override;

protected:
    void SetupCaptions() override;

private:
    void updateOk();

    std::unique_ptr<Ui::TfmEditString> ui;
};

// Shows a TfmEditString (through the modal runner) with the caption, the text decoded from the
// portal's escapes and limited to maxLength characters; on OK the entry, encoded again, replaces
// `text`. Returns 1 for OK, 2 for Cancel.
int EditStringDialog(const QString& caption, int maxLength, QString& text, QWidget* parent = nullptr);
