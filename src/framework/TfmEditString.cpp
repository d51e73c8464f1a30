#include "TfmEditString.h"

#include "Catalogue.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "PortalCodec.h"
#include "ui_TfmEditString.h"

#include <QLineEdit>
#include <QPushButton>

TfmEditString::TfmEditString(QWidget* owner) : TDesignForm(owner), ui(std::make_unique<Ui::TfmEditString>())
{
    ui->setupUi(ClientPanel());
    connect(ui->edtText, &QLineEdit::textChanged, this, &TfmEditString::updateOk);
    TfmEditString::SetupCaptions();
    updateOk();
}

TfmEditString::~TfmEditString() = default;

QLineEdit* TfmEditString::edtText() const
{
    return ui->edtText;
}

QString TfmEditString::text() const
{
    return ui->edtText->text();
}

void TfmEditString::setText(const QString& text)
{
    ui->edtText->setText(text);
}

void TfmEditString::setMaxLength(int length)
{
    ui->edtText->setMaxLength(length > 0 ? length : 32767);
}

void TfmEditString::SetupCaptions()
{
    TDesignForm::SetupCaptions();
    OkBtn()->setText(lang::tr(u"rstrApply"));
    CancelBtn()->setText(lang::tr(u"rstrCanceling"));
}

void TfmEditString::accept()
{
    if (ui->edtText->text().trimmed().isEmpty())
        return;
    TDesignForm::accept();
}

void TfmEditString::updateOk()
{
    OkBtn()->setEnabled(!ui->edtText->text().trimmed().isEmpty());
}

int EditStringDialog(const QString& caption, int maxLength, QString& text, QWidget* parent)
{
    TfmEditString dialog(parent);
    dialog.ensureCreated();
    dialog.setWindowTitle(caption);
    dialog.setMaxLength(maxLength);
    dialog.setText(DecodeUnicodeEscapes(text));
    if (framework::execModal(dialog) != QDialog::Accepted)
        return lang::mrCancel;
    text = EncodeUnicodeEscapes(dialog.text());
    return lang::mrOk;
}
