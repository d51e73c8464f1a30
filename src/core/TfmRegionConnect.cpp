#include "TfmRegionConnect.h"

#include "Catalogue.h"
#include "IniFile.h"
#include "ManagerPassword.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "OraError.h"
#include "Package.h"
#include "Query.h"
#include "SharedQueries.h"
#include "TdmMain.h"
#include "ui_TfmRegionConnect.h"

#include <QTimer>

namespace {

constexpr int kNoDataFound = 1403;

} // namespace

TfmRegionConnect::TfmRegionConnect(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfmRegionConnect>())
{
    ui->setupUi(this);
    setFixedWidth(width());
    connect(ui->btnEnter, &QPushButton::clicked, this, &TfmRegionConnect::btnEnterClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->btnSetupConnect, &QPushButton::clicked, this, &TfmRegionConnect::btnSetupConnectClick);
    connect(ui->btnConnect, &QPushButton::clicked, this, &TfmRegionConnect::btnConnectClick);
    connect(ui->btnSavePassword, &QPushButton::clicked, this, &TfmRegionConnect::btnSavePasswordClick);
    connect(ui->chbAutoConnect, &QCheckBox::toggled, this, &TfmRegionConnect::autoConnectToggled);
    connect(ui->edtPassword, &QLineEdit::textChanged, this, &TfmRegionConnect::passwordEdited);
    setStatus(lang::tr(u"vrstrNoConnection"));
}

TfmRegionConnect::~TfmRegionConnect() = default;

void TfmRegionConnect::prepare(db::Session& session)
{
    mSession = &session;
    mDm = TdmMain::ofSession(session);
    mAttemptsLeft = session.connectDialogRetries();
    mRetry = false;

    setWindowTitle(mDm && !mDm->ConnectCaption().isEmpty() ? mDm->ConnectCaption()
                                                           : lang::tr(u"rstrConnection"));
    applyCaptions();

    ui->edtUser->setText(QString::fromLatin1(kManagerAccount));
    ui->edtUser->setReadOnly(true);
    ui->cbServer->clear();
    ui->cbServer->addItems(db::Session::serviceNames());
    ui->edtManagerPassword->clear();
    ui->edtPassword->clear();
    clearManagers();

    bool autoConnect = false;
    bool showSetup = true;
    if (mDm) {
        const ConnectionSettings ini = mDm->settings();
        ui->cbServer->setCurrentText(ini.server());
        autoConnect = ini.autoConnect();
        showSetup = ini.showConnectSetup();
    } else {
        ui->cbServer->setCurrentText(session.server());
    }
    {
        // Only the person's own ticking is written back.
        const QSignalBlocker blocker(ui->chbAutoConnect);
        ui->chbAutoConnect->setChecked(autoConnect);
    }
    if (autoConnect)
        ui->edtPassword->setText(QString::fromLatin1(kSavedPasswordPlaceholder));
    // Set after the text: any change of the field gives the placeholder up.
    mShowsPlaceholder = autoConnect;
    ui->btnSavePassword->setEnabled(false);

    ui->pnlConnection->setVisible(false);
    setFixedHeight(kHeight);
    ui->btnSetupConnect->setVisible(showSetup);
    placeButtons();
    ui->edtManagerPassword->setFocus();
    mAutoConnectPending = autoConnect;
}

void TfmRegionConnect::applyCaptions()
{
    ui->lblLogin->setText(lang::tr(u"rstrLogin"));
    ui->lblPass->setText(lang::tr(u"rstrPass"));
    ui->lblServer->setText(lang::tr(u"rstrServer"));
    ui->btnConnect->setText(lang::tr(u"rstrConnect"));
    ui->btnCancel->setText(lang::tr(u"rstrCancel"));
    ui->lblManager->setText(lang::tr(u"vrstrAdministrator"));
    ui->lblManagerPass->setText(lang::tr(u"rstrPass") + QLatin1Char(':'));
    ui->btnEnter->setText(lang::tr(u"vrstrEnter"));
    ui->btnSetupConnect->setText(lang::tr(u"vrstrSetupConnect"));
    ui->chbAutoConnect->setText(lang::tr(u"vrstrAutoConnect"));
    ui->btnSavePassword->setText(lang::tr(u"vrstrSavePassword"));
}

void TfmRegionConnect::placeButtons()
{
    // Without the set-up button the two others close up to the right.
    const bool setup = !ui->btnSetupConnect->isHidden();
    ui->btnEnter->move(setup ? 12 : 100, ui->btnEnter->y());
    ui->btnCancel->move(setup ? 100 : 188, ui->btnCancel->y());
}

bool TfmRegionConnect::execute(db::Session& session)
{
    prepare(session);
    return framework::execModal(*this) == QDialog::Accepted && session.connected();
}

void TfmRegionConnect::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (mAutoConnectPending) {
        mAutoConnectPending = false;
        // Once the dialog is on screen, so that a failure is seen in its status line.
        QTimer::singleShot(0, this, &TfmRegionConnect::runAutomaticConnection);
    }
}

void TfmRegionConnect::runAutomaticConnection()
{
    try {
        ConnectToDatabase(true);
    } catch (const db::Abort&) {
        // The refusal has been shown; the dialog stays open.
    }
}

QString TfmRegionConnect::panelPassword() const
{
    if (mShowsPlaceholder && mDm)
        return mDm->settings().savedPassword();
    return ui->edtPassword->text();
}

void TfmRegionConnect::ConnectToDatabase(bool automatic)
{
    if (!mSession)
        return;
    QString password;
    if (automatic)
        password = mDm ? mDm->settings().savedPassword() : QString();
    else
        password = panelPassword();
    mSession->setPassword(password);
    mSession->setServer(ui->cbServer->currentText().trimmed());
    mSession->setUsername(ui->edtUser->text());
    ui->btnSavePassword->setEnabled(false);

    try {
        mSession->connectAttempt(mRetry);
        fillManagers();
    } catch (const db::OraError& e) {
        // A session whose managers cannot be read is of no use here, nor a list from before.
        mSession->disconnect();
        clearManagers();
        setStatus(lang::tr(u"vrstrConnectionError"));
        --mAttemptsLeft;
        mRetry = true;
        if (mAttemptsLeft <= 0)
            reject();
        setStatus(ConnectStatusText(e.code()));
        return;
    }
    setStatus(lang::tr(u"vrstrConnectionSuccessful"));
    if (!automatic)
        ui->btnSavePassword->setEnabled(true);
}

void TfmRegionConnect::clearManagers()
{
    ui->cbManager->clear();
    if (mDm)
        mDm->queries().oqManager->close();
}

void TfmRegionConnect::fillManagers()
{
    clearManagers();
    if (!mDm)
        return;
    db::Query* managers = mDm->queries().oqManager;
    managers->open();
    const int idColumn = managers->fieldIndex(QStringLiteral("MANAGER_ID"));
    const int nameColumn = managers->fieldIndex(QStringLiteral("MANAGER_NAME"));
    for (int row = 0; row < managers->recordCount(); ++row)
        ui->cbManager->addItem(DecodedPortalText(managers->value(row, nameColumn)),
                               managers->value(row, idColumn));
    const int last = mDm->settings().lastManagerId();
    if (managers->locate(QStringLiteral("MANAGER_ID"), last))
        ui->cbManager->setCurrentIndex(managers->currentRow());
    else
        ui->cbManager->setCurrentIndex(-1);
}

void TfmRegionConnect::btnEnterClick()
{
    db::Query* managers = mDm ? mDm->queries().oqManager : nullptr;
    if (!managers || !managers->isOpen()) {
        lang::ShowMsgBox(this, lang::tr(u"vrstrNoDBConnection"), 1);
        return;
    }
    if (managers->isEmpty()) {
        lang::ShowMsgBox(this, lang::tr(u"vrstrAdminLoginsNotCreated"), 1);
        return;
    }
    // No manager chosen is checked like any other pair and refused by the portal.
    const QVariant chosen = ui->cbManager->currentData();
    const int managerId = chosen.isValid() ? chosen.toInt() : -1;
    // The password is taken as typed. One that no manager can have been given (characters outside
    // the code page) is refused here with the reason; an empty one is the portal's to refuse.
    const QString password = ui->edtManagerPassword->text();
    const ManagerPassword::Problem problem = ManagerPassword::Check(password);
    if (problem == ManagerPassword::Problem::NotSingleByte) {
        lang::ShowMsgBox(this, ManagerPassword::ProblemText(problem), 1);
        ui->edtManagerPassword->setFocus();
        return;
    }
    try {
        mDm->queries().TEV_UTILS->execProc(QStringLiteral("AUTHENTICATION_MANAGER"), {managerId, password});
    } catch (const db::OraError& e) {
        if (e.code() == kNoDataFound) {
            lang::ShowMsgBox(this, lang::tr(u"vrstrWrongPassword"), 1);
            ui->edtManagerPassword->setFocus();
        } else {
            setStatus(e.message());
        }
        return;
    }
    mDm->SetManagerId(managerId);
    try {
        mDm->settings().setLastManagerId(managerId);
    } catch (const lang::IniError& e) {
        TdmMain::ReportIniError(e);
    }
    accept();
}

void TfmRegionConnect::btnSavePasswordClick()
{
    if (!mDm)
        return;
    try {
        mDm->settings().setSavedPassword(panelPassword());
    } catch (const lang::IniError& e) {
        TdmMain::ReportIniError(e);
    }
}

void TfmRegionConnect::btnSetupConnectClick()
{
    const bool show = !connectionPanelShown();
    ui->pnlConnection->setVisible(show);
    setFixedHeight(show ? kHeightWithConnection : kHeight);
}

bool TfmRegionConnect::connectionPanelShown() const
{
    return !ui->pnlConnection->isHidden();
}

QString TfmRegionConnect::statusText() const
{
    return ui->sbStatus->currentMessage();
}

void TfmRegionConnect::setStatus(const QString& text)
{
    ui->sbStatus->showMessage(text);
}

void TfmRegionConnect::autoConnectToggled(bool on)
{
    if (!mDm)
        return;
    try {
        mDm->settings().setAutoConnect(on);
    } catch (const lang::IniError& e) {
        TdmMain::ReportIniError(e);
    }
}

void TfmRegionConnect::passwordEdited()
{
    mShowsPlaceholder = false;
    ui->btnSavePassword->setEnabled(false);
}

QString TfmRegionConnect::ConnectStatusText(int oraCode)
{
    if (oraCode == 4043)
        return lang::tr(u"rstrPrivilage");
    const QString text = TdmMain::ConnectErrorText(oraCode);
    return text.isNull() ? lang::tr(u"vrstrConnectionError") : text;
}
