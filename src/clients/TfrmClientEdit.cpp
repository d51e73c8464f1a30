#include "TfrmClientEdit.h"

#include "Catalogue.h"
#include "ClientStates.h"
#include "ClientsQuery.h"
#include "Dataset.h"
#include "DbHelpers.h"
#include "ErrorText.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "Package.h"
#include "Query.h"
#include "Session.h"
#include "TdmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace ClientPermissions;

namespace {
constexpr char kUpdateClient[] =
    "begin %1tev_utils.update_client(:pID, :pEMail, :pState, :pDescription, :pAllowDR, :pAllowOIL, "
    ":pUpdEmail, :pAllowDD, :pAllowChHolder, :pAllowLostCrd, :pAllowUnblockCrd, :pAllowChOnlParams, "
    ":pAllowSMS, :pAllowUseAPI); end;";
} // namespace

TfrmClientEdit::TfrmClientEdit(TdmMain& dm, const db::Dataset& clients, QWidget* owner)
    : TTevBaseForm(owner), mDm(dm)
{
    setObjectName(QStringLiteral("TfrmClientEdit"));
    lblName = new QLabel(this);
    mName = new QLineEdit(this);
    lblEmail = new QLabel(this);
    mEmail = new QLineEdit(this);
    lblState = new QLabel(this);
    mState = new QComboBox(this);
    lblDescription = new QLabel(this);
    mDescription = new QPlainTextEdit(this);
    mOk = new QPushButton(this);
    mCancel = new QPushButton(this);
    mName->setReadOnly(true);
    mEmail->setMaxLength(255);
    mDescription->setFixedHeight(70);

    auto* grid = new QGridLayout;
    grid->addWidget(lblName, 0, 0);
    grid->addWidget(mName, 0, 1);
    grid->addWidget(lblEmail, 1, 0);
    grid->addWidget(mEmail, 1, 1);
    grid->addWidget(lblState, 2, 0);
    grid->addWidget(mState, 2, 1);
    grid->addWidget(lblDescription, 3, 0, Qt::AlignTop);
    grid->addWidget(mDescription, 3, 1);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    for (int p = 0; p < Count; ++p) {
        mBoxes[p] = new QCheckBox(this);
        mBoxes[p]->setObjectName(QString::fromLatin1(row(Permission(p)).checkBox));
        layout->addWidget(mBoxes[p]);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mOk);
    buttons->addWidget(mCancel);
    layout->addLayout(buttons);
    mOk->setDefault(true);
    connect(mOk, &QPushButton::clicked, this, &TfrmClientEdit::btnOkClick);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    ensureCreated();

    const Settings settings = readSettings([&](const QString& key) { return mDm.GetConfigValue(key); });
    mClientId = int(clients.value(QString::fromLatin1(ClientsQuery::kIdField)).toInt());
    mName->setText(clients.value(QString::fromLatin1(ClientsQuery::kDecodedNameField)).toString());
    mName->setCursorPosition(0);
    mEmail->setText(clients.value(QStringLiteral("WBC_EMAIL")).toString());
    const bool lnr = clients.value(QStringLiteral("CLIENTISLNR")).toInt() == 1;
    const bool bonus = clients.value(QStringLiteral("CLIENTISBONUS")).toInt() == 1;
    for (int p = 0; p < Count; ++p) {
        const Permission perm = Permission(p);
        const int value = clients.value(QString::fromLatin1(row(perm).column)).toInt();
        mBoxes[p]->setChecked(perm == TestClient || perm == UpdateEmail ? value != 0 : value == 1);
        mBoxes[p]->setEnabled(settings.enabled[p]);
        mBoxes[p]->setVisible(visibleFor(perm, lnr, bonus));
    }
    mState->setCurrentIndex(
        int(ClientStateTexts().indexOf(clients.value(QStringLiteral("STATE")).toString())));
    QString description = clients.value(QString::fromLatin1(ClientsQuery::kDescriptionField)).toString();
    description.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    mDescription->setPlainText(description.trimmed());
    mRememberedUpdateEmail = mBoxes[UpdateEmail]->isChecked();
    if (mEmail->text().trimmed().isEmpty())
        mBoxes[UpdateEmail]->setEnabled(false);
    connect(mEmail, &QLineEdit::textChanged, this, &TfrmClientEdit::emailChanged);
    adjustSize();
}

TfrmClientEdit::~TfrmClientEdit() = default;

void TfrmClientEdit::SetupCaptions()
{
    setWindowTitle(lang::tr(u"rstrClient"));
    lblName->setText(lang::tr(u"rstrName") + QLatin1Char(':'));
    lblEmail->setText(lang::tr(u"rstrEMail") + QLatin1Char(':'));
    lblState->setText(lang::tr(u"rstrState") + QLatin1Char(':'));
    lblDescription->setText(lang::tr(u"rstrDescription") + QLatin1Char(':'));
    const int state = mState->currentIndex();
    mState->clear();
    mState->addItems(ClientStateTexts());
    mState->setCurrentIndex(state);
    for (int p = 0; p < Count; ++p)
        mBoxes[p]->setText(caption(Permission(p)));
    mOk->setText(lang::tr(u"rstrOk"));
    mCancel->setText(lang::tr(u"rstrCancel"));
}

void TfrmClientEdit::emailChanged()
{
    QCheckBox* box = mBoxes[UpdateEmail];
    if (mEmail->text().trimmed().isEmpty()) {
        if (box->isEnabled())
            mRememberedUpdateEmail = box->isChecked();
        box->setChecked(true);
        box->setEnabled(false);
    } else if (!box->isEnabled()) {
        box->setChecked(mRememberedUpdateEmail);
        box->setEnabled(true);
    }
}

void TfrmClientEdit::btnOkClick()
{
    const QString description = descriptionParam(mDescription->toPlainText());
    if (storedLength(description) > kDescriptionLength) {
        lang::ShowMsgBox(
            this,
            LocaleText(
                QString::fromUtf8("Описание длиннее %1 символов.").arg(kDescriptionLength),
                QStringLiteral("The description is longer than %1 characters.").arg(kDescriptionLength)),
            0);
        return;
    }
    auto flag = [this](Permission p) { return mBoxes[p]->isChecked() ? 1 : 0; };
    db::Session* session = mDm.session();
    try {
        db::Query* call = mDm.queries().qryCallProc;
        call->close();
        call->setSql(QString::fromLatin1(kUpdateClient).arg(mDm.ActiveScheme() + QLatin1Char('.')));
        call->setParam(QStringLiteral("pID"), mClientId);
        call->setParam(QStringLiteral("pEMail"), mEmail->text());
        call->setParam(QStringLiteral("pState"), mState->currentIndex() + 1);
        call->setParam(QStringLiteral("pDescription"), description);
        call->setParam(QStringLiteral("pAllowDR"), flag(CreateDR));
        call->setParam(QStringLiteral("pAllowOIL"), flag(CreateOIL));
        call->setParam(QStringLiteral("pUpdEmail"), flag(UpdateEmail));
        call->setParam(QStringLiteral("pAllowDD"), flag(CreateDD));
        call->setParam(QStringLiteral("pAllowChHolder"), flag(ChangeHolder));
        call->setParam(QStringLiteral("pAllowLostCrd"), flag(LostCard));
        call->setParam(QStringLiteral("pAllowUnblockCrd"), flag(UnblockCard));
        call->setParam(QStringLiteral("pAllowChOnlParams"), flag(ChOnlParams));
        call->setParam(QStringLiteral("pAllowSMS"), flag(SubscribeSMS));
        call->setParam(QStringLiteral("pAllowUseAPI"), flag(UseAPI));
        call->execSql();
        mDm.queries().TEV_UTILS->execProc(mBoxes[TestClient]->isChecked()
                                              ? QStringLiteral("INS_WEB_TEST_CLIENTS")
                                              : QStringLiteral("DEL_WEB_TEST_CLIENTS"),
                                          {mClientId});
        session->commit();
    } catch (const std::exception& e) {
        if (session->connected())
            session->rollback();
        lang::ShowMsgBox(this, lang::tr(u"rstrErrorUpdatingClient") + QStringLiteral(": ") + ErrorText(e), 1);
        return;
    }
    accept();
}

bool TfrmClientEdit::Execute(TdmMain& dm, const db::Dataset& clients, QWidget* owner)
{
    TfrmClientEdit dialog(dm, clients, owner);
    return framework::execModal(dialog) == QDialog::Accepted;
}
