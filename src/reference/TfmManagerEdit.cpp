#include "TfmManagerEdit.h"

#include "Catalogue.h"
#include "ManagerPassword.h"
#include "MessageDialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfmManagerEdit::TfmManagerEdit(QWidget* owner, const QString& shema, db::Session* session)
    : TDlgBaseForm(owner, shema, session)
{
    setObjectName(QStringLiteral("fmManagerEdit"));
    mLoginLabel = new QLabel(ClientPanel());
    mPasswordLabel = new QLabel(ClientPanel());
    mLogin = new QLineEdit(ClientPanel());
    mLogin->setObjectName(QStringLiteral("edtLogin"));
    mLogin->setMaxLength(kMaxNameLength);
    mPassword = new QLineEdit(ClientPanel());
    mPassword->setObjectName(QStringLiteral("edtPassword"));
    mPassword->setMaxLength(kMaxPasswordLength);
    mPassword->setEchoMode(QLineEdit::Password);
    mPassword->setStyleSheet(
        QStringLiteral("QLineEdit { lineedit-password-character: %1; }").arg(int(kMaskCharacter)));
    mShowPassword = new QCheckBox(ClientPanel());
    mShowPassword->setObjectName(QStringLiteral("chbShowPassword"));
    connect(mShowPassword, &QCheckBox::clicked, this, &TfmManagerEdit::showPasswordClick);

    auto* form = new QFormLayout;
    form->addRow(mLoginLabel, mLogin);
    form->addRow(mPasswordLabel, mPassword);
    form->addRow(QString(), mShowPassword);
    auto* layout = new QVBoxLayout(ClientPanel());
    layout->addLayout(form);
    layout->addStretch(1);
    resize(420, 170);
}

TfmManagerEdit::~TfmManagerEdit() = default;

void TfmManagerEdit::setChangePasswordMode(bool on)
{
    mChangePassword = on;
    mLogin->setEnabled(!on);
    (on ? mPassword : mLogin)->setFocus();
}

void TfmManagerEdit::setManagerName(const QString& name)
{
    mLogin->setText(name);
}

QString TfmManagerEdit::managerName() const
{
    return mLogin->text();
}

QString TfmManagerEdit::password() const
{
    return mPassword->text();
}

void TfmManagerEdit::showPasswordClick()
{
    mPassword->setEchoMode(mPassword->echoMode() == QLineEdit::Password ? QLineEdit::Normal
                                                                        : QLineEdit::Password);
}

void TfmManagerEdit::accept()
{
    // A password the manager could never sign in with is not accepted in either mode.
    const ManagerPassword::Problem problem = ManagerPassword::Check(password());
    if (problem != ManagerPassword::Problem::None) {
        lang::MessageDlgLang(ManagerPassword::ProblemText(problem), lang::MsgDlgType::Error, lang::mbOK);
        mPassword->setFocus();
        return;
    }
    if (mChangePassword &&
        lang::MessageDlgLang(lang::format(lang::tr(u"vrstrChangeManagerPassword"), {mLogin->text()}),
                             lang::MsgDlgType::Confirmation, lang::mbOK | lang::mbCancel) != lang::mrOk)
        return;
    TDlgBaseForm::accept();
}

void TfmManagerEdit::SetupCaptions()
{
    TDlgBaseForm::SetupCaptions();
    mLoginLabel->setText(lang::tr(u"rstrLogin") + QLatin1Char(':'));
    mPasswordLabel->setText(lang::tr(u"rstrPass") + QLatin1Char(':'));
    mShowPassword->setText(lang::tr(u"vrstrShowPassword"));
    OkBtn()->setText(lang::tr(u"rstrOk"));
    CancelBtn()->setText(lang::tr(u"rstrCancel"));
}
