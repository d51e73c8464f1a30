#include "TfmNormalConnect.h"

#include "ui_TfmNormalConnect.h"

#include "Catalogue.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "OraError.h"
#include "TdmMain.h"


TfmNormalConnect::TfmNormalConnect(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfmNormalConnect>())
{
    ui->setupUi(this);
    connect(ui->btnConnect, &QPushButton::clicked, this, &TfmNormalConnect::btnConnectClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfmNormalConnect::~TfmNormalConnect() = default;

void TfmNormalConnect::prepare(db::Session& session)
{
    mSession = &session;
    mAttemptsLeft = session.connectDialogRetries();
    mRetry = false;

    const TdmMain* dm = TdmMain::ofSession(session);
    setWindowTitle(dm && !dm->ConnectCaption().isEmpty() ? dm->ConnectCaption() : lang::tr(u"rstrConnection"));
    ui->lblLogin->setText(lang::tr(u"rstrLogin"));
    ui->lblPass->setText(lang::tr(u"rstrPass"));
    ui->lblServer->setText(lang::tr(u"rstrServer"));
    ui->btnConnect->setText(lang::tr(u"rstrConnect"));
    ui->btnCancel->setText(lang::tr(u"rstrCancel"));

    // The data module has just given the session the saved server and user.
    ui->edtUser->setText(session.username());
    ui->edtPassword->clear();
    ui->cbServer->clear();
    ui->cbServer->addItems(db::Session::serviceNames());
    ui->cbServer->setCurrentText(session.server());

    if (!ui->edtUser->text().isEmpty() && ui->edtPassword->text().isEmpty())
        ui->edtPassword->setFocus();
    else
        ui->edtUser->setFocus();
}

bool TfmNormalConnect::execute(db::Session& session)
{
    prepare(session);
    return framework::execModal(*this) == QDialog::Accepted && session.connected();
}

void TfmNormalConnect::btnConnectClick()
{
    if (!mSession)
        return;
    const QString user = ui->edtUser->text().trimmed();
    ui->edtUser->setText(user);
    mSession->setPassword(ui->edtPassword->text());
    mSession->setServer(ui->cbServer->currentText().trimmed());
    mSession->setUsername(user);
    if (user.compare(QLatin1String("TEV_MANAGER"), Qt::CaseInsensitive) == 0)
        throw EManagerError(lang::tr(u"vrstrTEVMagagerEnterError").toStdString());

    try {
        mSession->connectAttempt(mRetry);
    } catch (const db::OraError& e) {
        --mAttemptsLeft;
        mRetry = true;
        lang::ShowMsgBox(this, TdmMain::SignInErrorText(e.code()), 1);
        if (mAttemptsLeft <= 0)
            reject();
        else
            ui->edtPassword->setFocus();
        return;
    }
    accept();
}
