#include "TfmLoginPassEdit.h"

#include "Catalogue.h"
#include "ErrorText.h"
#include "LoginPasswordCheck.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "TdmMain.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kFieldLength = 250;
} // namespace

TfmLoginPassEdit::TfmLoginPassEdit(TdmMain& dm, int loginId, const QString& login, QWidget* owner)
    : TTevBaseForm(owner), mDm(dm), mLoginId(loginId), mLoginName(login)
{
    setObjectName(QStringLiteral("TfmLoginPassEdit"));
    lblLogin = new QLabel(this);
    mLogin = new QLineEdit(login, this);
    lblPassword = new QLabel(this);
    mPassword = new QLineEdit(this);
    lblConfirm = new QLabel(this);
    mConfirm = new QLineEdit(this);
    mOk = new QPushButton(this);
    mCancel = new QPushButton(this);
    mLogin->setReadOnly(true);
    for (QLineEdit* e : {mPassword, mConfirm}) {
        e->setMaxLength(kFieldLength);
        e->setEchoMode(QLineEdit::Password);
        connect(e, &QLineEdit::textChanged, this, [this] {
            mOk->setEnabled(!mPassword->text().trimmed().isEmpty() && !mConfirm->text().trimmed().isEmpty());
        });
    }
    auto* grid = new QGridLayout;
    grid->addWidget(lblLogin, 0, 0);
    grid->addWidget(mLogin, 0, 1);
    grid->addWidget(lblPassword, 1, 0);
    grid->addWidget(mPassword, 1, 1);
    grid->addWidget(lblConfirm, 2, 0);
    grid->addWidget(mConfirm, 2, 1);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mOk);
    buttons->addWidget(mCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    mOk->setDefault(true);
    mOk->setEnabled(false);
    resize(460, 160);
    connect(mOk, &QPushButton::clicked, this, &TfmLoginPassEdit::btnOkClick);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    ensureCreated();
    mPassword->setFocus();
}

TfmLoginPassEdit::~TfmLoginPassEdit() = default;

void TfmLoginPassEdit::SetupCaptions()
{
    setWindowTitle(lang::tr(u"rstrChangePassForLogin"));
    lblLogin->setText(lang::tr(u"rstrLogin") + QLatin1Char(':'));
    lblPassword->setText(lang::tr(u"rstrPass") + QLatin1Char(':'));
    lblConfirm->setText(lang::tr(u"rstrPassConfirmation") + QLatin1Char(':'));
    mOk->setText(lang::tr(u"rstrOk"));
    mCancel->setText(lang::tr(u"rstrCancel"));
}

void TfmLoginPassEdit::btnOkClick()
{
    if (!mOk->isEnabled())
        return;
    const QString password = mPassword->text();
    if (password != mConfirm->text()) {
        lang::ShowMsgBox(this, lang::tr(u"rstrPassesSetNotAgreed"), 2);
        return;
    }
    try {
        if (!LoginPasswordCheck::Confirm(mDm, this, password, u"vrstrMesPasswordIsNotSecure"))
            return;
        mDm.SetLoginPassword(mLoginId, password, false);
    } catch (const std::exception& e) {
        // The message never holds the password: only the portal's error text.
        lang::ShowMsgBoxCaption(this, lang::tr(u"rstrErrorChangeLogin") + QStringLiteral(": ") + ErrorText(e),
                                lang::tr(u"rstrError"), 1);
        return;
    }
    accept();
}

bool TfmLoginPassEdit::Execute(TdmMain& dm, int loginId, const QString& login, QWidget* owner)
{
    TfmLoginPassEdit dialog(dm, loginId, login, owner);
    return framework::execModal(dialog) == QDialog::Accepted;
}
