#include "TfmLoginAdd.h"

#include "Catalogue.h"
#include "LoginPasswordCheck.h"
#include "LoginValidator.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "Package.h"
#include "Query.h"
#include "Session.h"
#include "TdmMain.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr int kFieldLength = 250;
} // namespace

TfmLoginAdd::TfmLoginAdd(TdmMain& dm, int clientId, QWidget* owner)
    : TTevBaseForm(owner), mDm(dm), mClientId(clientId)
{
    setObjectName(QStringLiteral("TfmLoginAdd"));
    mTypeTitle = new QLabel(this);
    mOwnerClient = new QRadioButton(this);
    mOwnerHolder = new QRadioButton(this);
    mOwnerGroup = new QButtonGroup(this);
    mOwnerGroup->addButton(mOwnerClient, OwnerClient);
    mOwnerGroup->addButton(mOwnerHolder, OwnerHolder);
    lblHolder = new QLabel(this);
    mHolders = new QComboBox(this);
    lblLogin = new QLabel(this);
    mLogin = new QLineEdit(this);
    lblPassword = new QLabel(this);
    mPassword = new QLineEdit(this);
    lblConfirm = new QLabel(this);
    mConfirm = new QLineEdit(this);
    mActive = new QCheckBox(this);
    mJournalising = new QCheckBox(this);
    lblAccess = new QLabel(this);
    mAccess = new QComboBox(this);
    lblEmail = new QLabel(this);
    mEmail = new QLineEdit(this);
    lblFootnote = new QLabel(this);
    mOk = new QPushButton(this);
    mCancel = new QPushButton(this);

    for (QLineEdit* e : {mLogin, mPassword, mConfirm, mEmail})
        e->setMaxLength(kFieldLength);
    mLogin->setValidator(new LoginValidator(mLogin));
    mPassword->setEchoMode(QLineEdit::Password);
    mConfirm->setEchoMode(QLineEdit::Password);

    auto* owners = new QHBoxLayout;
    owners->addWidget(mTypeTitle);
    owners->addWidget(mOwnerClient);
    owners->addWidget(mOwnerHolder);
    owners->addStretch();
    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(lblHolder, row, 0);
    grid->addWidget(mHolders, row++, 1);
    grid->addWidget(lblLogin, row, 0);
    grid->addWidget(mLogin, row++, 1);
    grid->addWidget(lblPassword, row, 0);
    grid->addWidget(mPassword, row++, 1);
    grid->addWidget(lblConfirm, row, 0);
    grid->addWidget(mConfirm, row++, 1);
    grid->addWidget(mActive, row++, 1);
    grid->addWidget(mJournalising, row++, 1);
    grid->addWidget(lblAccess, row, 0);
    grid->addWidget(mAccess, row++, 1);
    grid->addWidget(lblEmail, row, 0);
    grid->addWidget(mEmail, row++, 1);
    grid->addWidget(lblFootnote, row++, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mOk);
    buttons->addWidget(mCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(owners);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    mOk->setDefault(true);
    resize(560, 360);

    connect(mOwnerGroup, &QButtonGroup::idClicked, this, &TfmLoginAdd::rgLoginTypeClick);
    for (QLineEdit* e : {mLogin, mPassword, mConfirm})
        connect(e, &QLineEdit::textChanged, this, &TfmLoginAdd::updateOk);
    connect(mOk, &QPushButton::clicked, this, &TfmLoginAdd::btnOkClick);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);

    ensureCreated();

    // Holders of the client that have no login yet.
    db::Query* holders = mDm.queries().oquHoldersForLogin;
    holders->close();
    holders->setParam(QStringLiteral("P_CLIENT_ID"), mClientId);
    holders->open();
    const int nameColumn = holders->fieldIndex(QStringLiteral("CARD_HOLDER_NAME_ANSI"));
    const int idColumn = holders->fieldIndex(QStringLiteral("CARD_HOLDER_ID"));
    for (int r = 0; r < holders->recordCount(); ++r)
        mHolders->addItem(holders->value(r, nameColumn).toString(), holders->value(r, idColumn));
    holders->close();

    mOwnerClient->setChecked(true);
    mActive->setChecked(true);
    mJournalising->setChecked(true);
    rgLoginTypeClick();
    updateOk();
}

TfmLoginAdd::~TfmLoginAdd() = default;

QStringList TfmLoginAdd::AccessLevels()
{
    return {lang::tr(u"rstrAllCardsAllAccounts"), lang::tr(u"rstrCardsAllAccounts"), lang::tr(u"rstrCards")};
}

void TfmLoginAdd::markEnabled(QWidget* field, bool enabled)
{
    field->setEnabled(enabled);
    QPalette p = field->palette();
    const QPalette standard;
    p.setColor(QPalette::Base, standard.color(enabled ? QPalette::Base : QPalette::Button));
    field->setPalette(p);
}

void TfmLoginAdd::SetupCaptions()
{
    setWindowTitle(lang::tr(u"rstrAddLogin"));
    mTypeTitle->setText(lang::tr(u"rstrLoginType").trimmed() + QLatin1Char(':'));
    mOwnerClient->setText(lang::tr(u"rstrClient"));
    mOwnerHolder->setText(lang::tr(u"rstrHolder"));
    lblHolder->setText(lang::tr(u"rstrHolder") + QLatin1Char(':'));
    lblLogin->setText(lang::tr(u"rstrLogin") + QLatin1Char(':'));
    lblPassword->setText(lang::tr(u"rstrPass") + QLatin1Char(':'));
    lblConfirm->setText(lang::tr(u"rstrPassConfirmation") + QLatin1Char(':'));
    mActive->setText(lang::tr(u"rstrIsActive"));
    mJournalising->setText(lang::tr(u"rstrLogging"));
    lblAccess->setText(lang::tr(u"rstrAccess") + QLatin1Char(':'));
    const int access = mAccess->currentIndex();
    mAccess->clear();
    mAccess->addItems(AccessLevels());
    mAccess->setCurrentIndex(qMax(0, access));
    lblEmail->setText(lang::tr(u"rstrEmailAddr") + QStringLiteral(":*"));
    lblFootnote->setText(lang::tr(u"vrstrUsedForPassRecovery"));
    mOk->setText(lang::tr(u"rstrOk"));
    mCancel->setText(lang::tr(u"rstrCancel"));
}

void TfmLoginAdd::FormShow()
{
    mLogin->setFocus();
}

void TfmLoginAdd::setOwnerKind(Owner owner)
{
    (owner == OwnerHolder ? mOwnerHolder : mOwnerClient)->setChecked(true);
    rgLoginTypeClick();
}

TfmLoginAdd::Owner TfmLoginAdd::ownerKind() const
{
    return mOwnerHolder->isChecked() ? OwnerHolder : OwnerClient;
}

void TfmLoginAdd::rgLoginTypeClick()
{
    const bool holder = ownerKind() == OwnerHolder;
    for (QWidget* w :
         {static_cast<QWidget*>(mHolders), static_cast<QWidget*>(mAccess), static_cast<QWidget*>(mEmail)})
        markEnabled(w, holder);
    if (!holder) {
        mHolders->setCurrentIndex(-1);
        mAccess->setCurrentIndex(0);
    }
}

void TfmLoginAdd::updateOk()
{
    mOk->setEnabled(!mLogin->text().trimmed().isEmpty() && !mPassword->text().trimmed().isEmpty() &&
                    !mConfirm->text().trimmed().isEmpty());
}

void TfmLoginAdd::refuse(const char16_t* key)
{
    lang::MessageDlgLang(lang::tr(key), lang::MsgDlgType::Error, lang::mbOK);
}

void TfmLoginAdd::btnOkClick()
{
    if (!mOk->isEnabled())
        return;
    const QString login = mLogin->text();
    const QString password = mPassword->text();
    // Compared exactly: a confirmation that differs by blanks would store a password nobody
    // confirmed.
    if (password != mConfirm->text())
        return refuse(u"rstrPassesSetNotAgreed");
    if (!LoginPasswordCheck::Confirm(mDm, this, password, u"vrstrMesPasswordIsNotSecure2"))
        return;
    db::Package* pkg = mDm.queries().TEV_UTILS;
    const bool holder = ownerKind() == OwnerHolder;
    if (!holder) {
        if (pkg->execFunc(QStringLiteral("CLIENT_LOGIN_EXISTS"), {mClientId}).toInt() == 1)
            return refuse(u"rstrClientLoginExists");
    } else if (mHolders->currentIndex() < 0) {
        return refuse(u"rstrHolderNotSet");
    }
    if (pkg->execFunc(QStringLiteral("DUP_LOGIN"), {0, login}).toInt() == 1)
        return refuse(u"rstrLoginExistsInSystem");

    db::Session* session = mDm.session();
    try {
        pkg->execProc(QStringLiteral("CREATELOGIN"),
                      {0, mClientId, holder ? mHolders->currentData() : QVariant(), login, password,
                       mActive->isChecked() ? 1 : 0, mJournalising->isChecked() ? 1 : 0,
                       holder ? mAccess->currentIndex() : 0, holder ? mEmail->text() : QString(), 0});
        mLoginId = pkg->paramByName(QStringLiteral("P_LOGIN_ID")).value().toInt();
        session->commit();
    } catch (...) {
        if (session->connected())
            session->rollback();
        throw;
    }
    accept();
}

std::optional<int> TfmLoginAdd::Execute(TdmMain& dm, int clientId, QWidget* owner)
{
    TfmLoginAdd dialog(dm, clientId, owner);
    if (framework::execModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.loginId();
}
