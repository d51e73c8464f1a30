#include "TfrmLoginEdit.h"

#include "Catalogue.h"
#include "ErrorText.h"
#include "LoginValidator.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "Package.h"
#include "Query.h"
#include "Session.h"
#include "TdmMain.h"
#include "TfmLoginAdd.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kFieldLength = 250;
constexpr char kUpdateLogin[] = "begin &shema.tev_utils.update_login(:pID, :pLogin, :pIsActive, "
                                ":pIsJournalising, :pStateHolder, :pEmail); end;";
} // namespace

TfrmLoginEdit::TfrmLoginEdit(TdmMain& dm, const WebLoginRow& row, QWidget* owner)
    : TTevBaseForm(owner), mDm(dm), mRow(row)
{
    setObjectName(QStringLiteral("TfrmLoginEdit"));
    lblId = new QLabel(this);
    mId = new QLineEdit(this);
    lblLogin = new QLabel(this);
    mLogin = new QLineEdit(this);
    mActive = new QCheckBox(this);
    mJournalising = new QCheckBox(this);
    lblAccess = new QLabel(this);
    mAccess = new QComboBox(this);
    lblEmail = new QLabel(this);
    mEmail = new QLineEdit(this);
    lblFootnote = new QLabel(this);
    mOk = new QPushButton(this);
    mCancel = new QPushButton(this);
    mId->setReadOnly(true);
    mLogin->setMaxLength(kFieldLength);
    mEmail->setMaxLength(kFieldLength);
    mLogin->setValidator(new LoginValidator(mLogin));

    auto* grid = new QGridLayout;
    int r = 0;
    grid->addWidget(lblId, r, 0);
    grid->addWidget(mId, r++, 1);
    grid->addWidget(lblLogin, r, 0);
    grid->addWidget(mLogin, r++, 1);
    grid->addWidget(mActive, r++, 1);
    grid->addWidget(mJournalising, r++, 1);
    grid->addWidget(lblAccess, r, 0);
    grid->addWidget(mAccess, r++, 1);
    grid->addWidget(lblEmail, r, 0);
    grid->addWidget(mEmail, r++, 1);
    grid->addWidget(lblFootnote, r++, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mOk);
    buttons->addWidget(mCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    mOk->setDefault(true);
    resize(540, 280);

    connect(mLogin, &QLineEdit::textChanged, this,
            [this] { mOk->setEnabled(!mLogin->text().trimmed().isEmpty()); });
    connect(mOk, &QPushButton::clicked, this, &TfrmLoginEdit::btnOkClick);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    ensureCreated();

    mId->setText(QString::number(mRow.id));
    mLogin->setText(mRow.login);
    mEmail->setText(mRow.email);
    mActive->setChecked(mRow.active);
    mJournalising->setChecked(mRow.journalising);
    mAccess->setCurrentIndex(qBound(0, mRow.access, 2));
    TfmLoginAdd::markEnabled(mAccess, mRow.holderLogin);
    TfmLoginAdd::markEnabled(mEmail, mRow.holderLogin);
}

TfrmLoginEdit::~TfrmLoginEdit() = default;

void TfrmLoginEdit::SetupCaptions()
{
    setWindowTitle(lang::tr(u"rstrChangeLogin") + QLatin1Char(':') + mRow.login);
    lblId->setText(QStringLiteral("ID:"));
    lblLogin->setText(lang::tr(u"rstrLogin") + QLatin1Char(':'));
    mActive->setText(lang::tr(u"rstrIsActive"));
    mJournalising->setText(lang::tr(u"rstrLogging"));
    lblAccess->setText(lang::tr(u"rstrAccess") + QLatin1Char(':'));
    const int access = mAccess->currentIndex();
    mAccess->clear();
    mAccess->addItems(TfmLoginAdd::AccessLevels());
    mAccess->setCurrentIndex(qMax(0, access));
    lblEmail->setText(lang::tr(u"rstrEmailAddr") + QStringLiteral(":*"));
    lblFootnote->setText(lang::tr(u"vrstrUsedForPassRecovery"));
    mOk->setText(lang::tr(u"rstrOk"));
    mCancel->setText(lang::tr(u"rstrCancel"));
}

void TfrmLoginEdit::FormShow()
{
    mLogin->setFocus();
}

void TfrmLoginEdit::btnOkClick()
{
    if (!mOk->isEnabled())
        return;
    const QString login = mLogin->text();
    if (mDm.queries().TEV_UTILS->execFunc(QStringLiteral("DUP_LOGIN"), {mRow.id, login}).toInt() == 1) {
        lang::ShowMsgBox(this, lang::tr(u"rstrLoginExistsInSystem"), 2);
        return;
    }
    db::Session* session = mDm.session();
    try {
        db::Query* call = mDm.queries().qryCallProc;
        call->close();
        call->setSql(QString::fromLatin1(kUpdateLogin));
        call->setMacro(QStringLiteral("shema"), mDm.ActiveScheme());
        call->setParam(QStringLiteral("pID"), mRow.id);
        call->setParam(QStringLiteral("pLogin"), login);
        call->setParam(QStringLiteral("pIsActive"), mActive->isChecked() ? 1 : 0);
        call->setParam(QStringLiteral("pIsJournalising"), mJournalising->isChecked() ? 1 : 0);
        call->setParam(QStringLiteral("pStateHolder"), mAccess->currentIndex());
        call->setParam(QStringLiteral("pEmail"), mEmail->text());
        call->execSql();
        session->commit();
    } catch (const std::exception& e) {
        if (session->connected())
            session->rollback();
        lang::ShowMsgBoxCaption(this, lang::tr(u"rstrLoginUpdateError") + QStringLiteral(": ") + ErrorText(e),
                                lang::tr(u"rstrError"), 1);
        return;
    }
    accept();
}

bool TfrmLoginEdit::Execute(TdmMain& dm, const WebLoginRow& row, QWidget* owner)
{
    TfrmLoginEdit dialog(dm, row, owner);
    return framework::execModal(dialog) == QDialog::Accepted;
}
