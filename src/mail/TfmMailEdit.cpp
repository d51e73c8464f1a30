#include "TfmMailEdit.h"

#include "AppFolder.h"
#include "Catalogue.h"
#include "Clock.h"
#include "IniFile.h"
#include "MailTemplateFiles.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "OraError.h"
#include "Query.h"
#include "Session.h"
#include "SharedQueries.h"
#include "StoredProc.h"
#include "TInvitation.h"
#include "TInvitationRun.h"
#include "TdmMain.h"
#include "TfmMailPreview.h"
#include "TfmPassEdit.h"

#include <QCheckBox>
#include <QFile>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kLogBatchMs = 100;

QString field(const db::Dataset& d, int row, const char* name)
{
    return d.value(row, d.fieldIndex(QString::fromLatin1(name))).toString();
}

QVariant fieldValue(const db::Dataset& d, int row, const char* name)
{
    return d.value(row, d.fieldIndex(QString::fromLatin1(name)));
}

QString filePath(const char* name)
{
    return lang::applicationFile(QString::fromLatin1(name));
}

} // namespace

TfmMailEdit::TfmMailEdit(TdmMain& dm, const TInvitationList& clients, QWidget* owner)
    : TTevBaseForm(owner), mDm(dm), mClients(clients), mRun(new TInvitationRun(this)),
      mLogFlush(new QTimer(this)), mPages(new QTabWidget(this)), mHost(new QLineEdit), mPort(new QLineEdit),
      mAuth(new QCheckBox), mUser(new QLineEdit), mPassword(new QLineEdit), mSender(new QLineEdit),
      mTls(new QCheckBox), mDebug(new QCheckBox), mSubject(new QLineEdit), mHeader(new QPlainTextEdit),
      mBody(new QPlainTextEdit), mLoginAbsent(new QPlainTextEdit), mFooter(new QPlainTextEdit),
      mSaveOnExit(new QCheckBox), mLog(new QPlainTextEdit), mBtnPreview(new QPushButton),
      mBtnChangePasswords(new QPushButton), mBtnSend(new QPushButton), mBtnSaveLog(new QPushButton),
      mBtnExit(new QPushButton)
{
    setObjectName(QStringLiteral("TfmMailEdit"));
    mPassword->setEchoMode(QLineEdit::Password);
    mTls->setText(QStringLiteral("TLS"));
    mDebug->setText(QStringLiteral("Debug"));
    mLog->setObjectName(QStringLiteral("memLog"));
    mLog->setReadOnly(true);
    mLog->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* settingsPage = new QWidget;
    auto* grid = new QGridLayout(settingsPage);
    auto label = [this](const char16_t* key) {
        auto* l = new QLabel;
        mCaptions.append({l, key});
        return l;
    };
    grid->addWidget(label(u"rstrSMTPServer"), 0, 0);
    grid->addWidget(mHost, 0, 1);
    grid->addWidget(label(u"rstrPort"), 0, 2);
    grid->addWidget(mPort, 0, 3);
    grid->addWidget(mAuth, 1, 0, 1, 2);
    grid->addWidget(mTls, 1, 2);
    grid->addWidget(mDebug, 1, 3);
    grid->addWidget(label(u"rstrUser"), 2, 0);
    grid->addWidget(mUser, 2, 1);
    grid->addWidget(label(u"rstrPass"), 2, 2);
    grid->addWidget(mPassword, 2, 3);
    grid->addWidget(label(u"rstrSender"), 3, 0);
    grid->addWidget(mSender, 3, 1, 1, 3);
    grid->addWidget(label(u"rstrSubject"), 4, 0);
    grid->addWidget(mSubject, 4, 1, 1, 3);
    int row = 5;
    for (auto [key, memo] :
         {std::pair{u"rstrLetterHeader", mHeader}, std::pair{u"rstrLetterBody", mBody},
          std::pair{u"rstrLoginAbsent", mLoginAbsent}, std::pair{u"rstrLetterFooter", mFooter}}) {
        grid->addWidget(label(key), row++, 0, 1, 4);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->setTabChangesFocus(true);
        grid->addWidget(memo, row++, 0, 1, 4);
    }
    grid->addWidget(mSaveOnExit, row, 0, 1, 4);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 1);

    auto* logPage = new QWidget;
    auto* logLayout = new QVBoxLayout(logPage);
    logLayout->addWidget(mLog);
    mPages->addTab(settingsPage, QString());
    mPages->addTab(logPage, QString());

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {mBtnPreview, mBtnChangePasswords, mBtnSend, mBtnSaveLog})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(mBtnExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mPages, 1);
    layout->addLayout(buttons);

    connect(mAuth, &QCheckBox::toggled, mUser, &QWidget::setEnabled);
    connect(mAuth, &QCheckBox::toggled, mPassword, &QWidget::setEnabled);
    connect(mBtnPreview, &QPushButton::clicked, this, &TfmMailEdit::btnPreviewClick);
    connect(mBtnChangePasswords, &QPushButton::clicked, this, &TfmMailEdit::btnChangePasswordsClick);
    connect(mBtnSend, &QPushButton::clicked, this, &TfmMailEdit::btnSendClick);
    connect(mBtnSaveLog, &QPushButton::clicked, this, &TfmMailEdit::btnSaveLogClick);
    connect(mBtnExit, &QPushButton::clicked, this, &QDialog::reject);
    connect(mRun, &TInvitationRun::log, this, &TfmMailEdit::appendLog);
    connect(mRun, &TInvitationRun::letterSent, this, &TfmMailEdit::OnLetterSent);
    connect(mRun, &TInvitationRun::finished, this, &TfmMailEdit::onRunFinished);
    // Lines come in bursts while many letters are out: the log is painted in batches.
    mLogFlush->setSingleShot(true);
    mLogFlush->setInterval(kLogBatchMs);
    connect(mLogFlush, &QTimer::timeout, this, &TfmMailEdit::flushLog);

    const db::Query* emitents = mDm.queries().oqEmitentSelect;
    if (emitents->isOpen() && !emitents->isEmpty()) {
        mEmitentNumber = emitents->asString(QString::fromLatin1(SharedQueries::EmitentSelect::kNumberField));
        mFilialNumber = emitents->asString(QString::fromLatin1(SharedQueries::EmitentSelect::kFilialField));
    }
    mAdvanced = mDm.GetConfigValue(QStringLiteral("ADV_PASS_SECUR")) == QLatin1String("1");
    loadLogins();
    loadTemplates();
    showSettings(MailSettings::read(mDm.iniFile()));
    mBtnChangePasswords->setVisible(!mAdvanced);
    mBtnChangePasswords->setEnabled(mAnyChanged);

    resize(760, 720);
    ensureCreated();
}

TfmMailEdit::~TfmMailEdit() = default;

void TfmMailEdit::Execute(TdmMain& dm, const TInvitationList& clients, QWidget* owner)
{
    std::unique_ptr<TfmMailEdit> window;
    try {
        window = std::make_unique<TfmMailEdit>(dm, clients, owner);
    } catch (const MailTemplateFiles::Error& e) {
        lang::MessageDlgLang(QString::fromStdString(e.what()), lang::MsgDlgType::Error, lang::mbOK);
        return;
    }
    framework::execModal(*window);
}

void TfmMailEdit::SetupCaptions()
{
    setWindowTitle(lang::tr(u"vrstrInvitationSending"));
    for (const auto& [l, key] : mCaptions) {
        QString text = lang::tr(key);
        l->setText(text.endsWith(QLatin1Char(':')) ? text : text + QLatin1Char(':'));
    }
    mAuth->setText(lang::tr(u"rstrAuth"));
    mSaveOnExit->setText(lang::tr(u"rstrSaveOnExit"));
    mPages->setTabText(0, lang::tr(u"rstrSettings"));
    mPages->setTabText(1, lang::tr(u"vrstrJournal"));
    mBtnPreview->setText(lang::tr(u"rstrPreview"));
    mBtnChangePasswords->setText(lang::tr(u"rstrSetPassword"));
    mBtnSend->setText(lang::tr(u"rstrSend"));
    mBtnSaveLog->setText(lang::tr(u"vrstrSaveJournal"));
    mBtnExit->setText(lang::tr(u"rstrExitShort"));
}

void TfmMailEdit::loadLogins()
{
    db::Query* q = mDm.queries().oqLogins;
    const QString blocked = lang::tr(u"rstrUserBlocked");
    mLogins.clear();
    for (const TInvitationEntry& entry : mClients) {
        QList<TLetterLogin> rows;
        q->close();
        q->setParam(QStringLiteral("pid"), entry.key.toInt());
        q->open();
        for (int r = 0; r < q->recordCount(); ++r) {
            TLetterLogin row;
            row.wbl_id = fieldValue(*q, r, "WBL_ID").toInt();
            row.lgn = field(*q, r, "LGN");
            row.pwd = field(*q, r, "PWD");
            row.flg = fieldValue(*q, r, "FLG").toInt();
            const QVariant bdd = fieldValue(*q, r, "BDD");
            row.bdd = bdd.isNull() ? blocked : bdd.toString();
            row.cln_ansi = field(*q, r, "CLN_ANSI");
            row.is_temp = fieldValue(*q, r, "IS_TEMP").toInt();
            mAnyChanged = mAnyChanged || row.flg == 1;
            rows.append(row);
        }
        q->close();
        std::stable_sort(rows.begin(), rows.end(),
                         [](const TLetterLogin& a, const TLetterLogin& b) { return a.lgn < b.lgn; });
        mLogins.append(rows);
    }
}

void TfmMailEdit::loadTemplates()
{
    auto load = [](const char* file, const char16_t* key) {
        return MailTemplateFiles::load(filePath(file), ExpandTemplateDefault(lang::tr(key)));
    };
    mHeader->setPlainText(load(MailTemplateFiles::kHeaderFile, u"rstrMailHeaderDefault"));
    mLoginAbsent->setPlainText(load(MailTemplateFiles::kLoginAbsentFile, u"rstrMailLoginAbsentDefault"));
    mBody->setPlainText(load(MailTemplateFiles::kBodyFile, u"rstrMailBodyDefault"));
    mFooter->setPlainText(load(MailTemplateFiles::kFooterFile, u"rstrMailFooterDefault"));
}

void TfmMailEdit::showSettings(const MailSettings& s)
{
    mSaveOnExit->setChecked(s.saveOnExit);
    mAuth->setChecked(s.authRequired);
    mUser->setEnabled(s.authRequired);
    mPassword->setEnabled(s.authRequired);
    mTls->setChecked(s.tls);
    mUser->setText(s.authUser);
    mPassword->setText(s.authPassword);
    mSender->setText(s.mailSender);
    mHost->setText(s.smtpHost);
    mPort->setText(s.smtpPort);
    mSubject->setText(s.subject);
}

MailSettings TfmMailEdit::settingsFromFields() const
{
    MailSettings s;
    s.saveOnExit = mSaveOnExit->isChecked();
    s.authRequired = mAuth->isChecked();
    s.tls = mTls->isChecked();
    s.authUser = mUser->text();
    s.authPassword = mPassword->text();
    s.mailSender = mSender->text();
    s.smtpHost = mHost->text();
    s.smtpPort = mPort->text();
    s.subject = mSubject->text();
    return s;
}

TLetterTemplates TfmMailEdit::templatesFromFields() const
{
    return {TemplateText(mHeader->toPlainText()), TemplateText(mBody->toPlainText()),
            TemplateText(mLoginAbsent->toPlainText()), TemplateText(mFooter->toPlainText())};
}

QString TfmMailEdit::BuildMessage(int index, bool preview, QList<TLoginPassword>* announced)
{
    const QString name = mClients[index].client.WBC_NAME_ANSI;
    if (preview) {
        // A copy: looking at letters changes nothing.
        QList<TLetterLogin> rows = mLogins[index];
        return ::BuildMessage(templatesFromFields(), name, rows, true, mAdvanced, {}, nullptr);
    }
    return ::BuildMessage(
        templatesFromFields(), name, mLogins[index], false, mAdvanced,
        [this] { return mDm.GenerateLoginPassword(); }, announced);
}

void TfmMailEdit::btnPreviewClick()
{
    QStringList names;
    for (const TInvitationEntry& entry : mClients)
        names << entry.client.WBC_NAME_ANSI;
    TfmMailPreview preview(
        names, [this](int index) { return BuildMessage(index, true); }, this);
    framework::execModal(preview);
}

void TfmMailEdit::btnChangePasswordsClick()
{
    QList<const TLetterLogin*> changed;
    for (const QList<TLetterLogin>& rows : mLogins)
        for (const TLetterLogin& row : rows)
            if (row.flg == 1)
                changed.append(&row);
    std::stable_sort(changed.begin(), changed.end(),
                     [](const TLetterLogin* a, const TLetterLogin* b) { return a->lgn < b->lgn; });
    QList<LoginPassword> pairs;
    for (const TLetterLogin* row : changed)
        pairs.append({row->lgn, row->pwd});
    const auto edited = TfmPassEdit::Edit(this, pairs);
    if (!edited)
        return;
    for (const LoginPassword& pair : *edited)
        for (QList<TLetterLogin>& rows : mLogins)
            for (TLetterLogin& row : rows)
                if (row.lgn == pair.login) {
                    row.pwd = pair.password;
                    row.pwd_res = 1;
                }
}

void TfmMailEdit::btnSendClick()
{
    if (mRun->isRunning())
        return;
    // Each sent letter's state and passwords are stored as it goes out: a session that cannot
    // store them sends nothing.
    try {
        mDm.session()->execute(QStringLiteral("SELECT 1"));
    } catch (const db::OraError& e) {
        lang::ShowMsgBox(this, e.message(), 1);
        return;
    }
    setIdle(false);
    mLogLines.clear();
    mPendingLog.clear();
    mLog->clear();
    mPages->setCurrentIndex(1);
    // Passwords are generated afresh once per run, then every letter of the run announces them.
    for (QList<TLetterLogin>& rows : mLogins)
        for (TLetterLogin& row : rows)
            row.generatedThisRun = false;

    QList<TInvitationRun::Client> clients;
    for (const TInvitationEntry& entry : mClients)
        clients.append({entry.key.toInt(),
                        ClientLabel(mEmitentNumber, mFilialNumber, entry.client.WBC_PETROL_ID,
                                    entry.client.WBC_NAME_ANSI),
                        entry.client.WBC_EMAIL});
    TInvitationRun::Settings settings;
    settings.host = mHost->text();
    settings.port = mPort->text();
    settings.userName = mUser->text();
    settings.password = mPassword->text();
    settings.authRequired = mAuth->isChecked();
    settings.useTls = mTls->isChecked();
    settings.debug = mDebug->isChecked();
    settings.sender = mSender->text();
    settings.subject = mSubject->text();
    settings.connectTimeout = mConnectTimeout;
    settings.responseTimeout = mResponseTimeout;
    mRun->start(clients, settings, [this](int index, QList<TLoginPassword>* announced) {
        return BuildMessage(index, false, announced);
    });
}

void TfmMailEdit::OnLetterSent(TInvitation* letter)
{
    db::Session* session = mDm.session();
    db::StoredProc* sp = mDm.queries().ospUpdStatus;
    try {
        session->startTransaction();
        sp->setParam(QStringLiteral("P_CLIENT_ID"), letter->ClientId);
        sp->execProc();
        session->commit();
    } catch (const std::exception& e) {
        if (session->connected() && session->inTransaction())
            session->rollback();
        appendLog(TInvitation::errorLine(letter->Recipient, letter->ClientLabel,
                                         QStringLiteral("UPD_STATUS: ") + QString::fromUtf8(e.what())));
    }
    // Only what this letter announced, so a password nobody was told is never set.
    for (const TLoginPassword& p : letter->Passwords) {
        try {
            mDm.SetLoginPassword(p.WblId, p.Password, true);
        } catch (const std::exception& e) {
            appendLog(TInvitation::errorLine(letter->Recipient, letter->ClientLabel,
                                             p.Login + QStringLiteral(": ") + QString::fromUtf8(e.what())));
        }
    }
}

void TfmMailEdit::onRunFinished()
{
    flushLog();
    setIdle(true);
}

void TfmMailEdit::setIdle(bool idle)
{
    mBtnSend->setEnabled(idle);
    mBtnSaveLog->setEnabled(idle);
    mBtnExit->setEnabled(idle);
}

void TfmMailEdit::appendLog(const QString& line)
{
    mLogLines.append(line);
    mPendingLog.append(line);
    if (!mLogFlush->isActive())
        mLogFlush->start();
}

void TfmMailEdit::flushLog()
{
    mLogFlush->stop();
    if (mPendingLog.isEmpty())
        return;
    mLog->appendPlainText(mPendingLog.join(QLatin1Char('\n')));
    mPendingLog.clear();
    mLog->verticalScrollBar()->setValue(mLog->verticalScrollBar()->maximum());
}

void TfmMailEdit::btnSaveLogClick()
{
    flushLog();
    const QString path =
        lang::applicationFolder() + QLatin1Char('/') +
        SendLogFileName(mEmitentNumber.toLongLong(), mFilialNumber.toLongLong(), framework::now());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        lang::MessageDlgLang(path + QStringLiteral(": ") + file.errorString(), lang::MsgDlgType::Error,
                             lang::mbOK);
        return;
    }
    for (const QString& line : mLogLines)
        file.write(line.toUtf8() + '\n');
    file.close();
    lang::ShowMsgBox(this, lang::tr(u"vrstrLogSavedToFile") + QStringLiteral(": ") + path, 2);
}

bool TfmMailEdit::isSending() const
{
    return mRun->isRunning();
}

int TfmMailEdit::sentCount() const
{
    return mRun->sentCount();
}

int TfmMailEdit::failedCount() const
{
    return mRun->failedCount();
}

void TfmMailEdit::setTimeouts(int connectMs, int responseMs)
{
    mConnectTimeout = connectMs;
    mResponseTimeout = responseMs;
}

void TfmMailEdit::FormClose()
{
    lang::IniFile& ini = mDm.iniFile();
    MailSettings::writeSaveOnExit(ini, mSaveOnExit->isChecked());
    if (!mSaveOnExit->isChecked())
        return;
    MailTemplateFiles::save(filePath(MailTemplateFiles::kHeaderFile), mHeader->toPlainText());
    MailTemplateFiles::save(filePath(MailTemplateFiles::kBodyFile), mBody->toPlainText());
    MailTemplateFiles::save(filePath(MailTemplateFiles::kLoginAbsentFile), mLoginAbsent->toPlainText());
    MailTemplateFiles::save(filePath(MailTemplateFiles::kFooterFile), mFooter->toPlainText());
    settingsFromFields().write(ini);
}

void TfmMailEdit::done(int result)
{
    if (mRun->isRunning())
        return;
    try {
        FormClose();
    } catch (const MailTemplateFiles::Error& e) {
        // The edits stay in the window: mend the folder or untick "save on exit", then close again.
        lang::MessageDlgLang(QString::fromStdString(e.what()), lang::MsgDlgType::Error, lang::mbOK);
        return;
    } catch (const lang::IniError& e) {
        // A settings file that cannot be written must not keep the window open for good.
        TdmMain::ReportIniError(e);
    }
    TTevBaseForm::done(result);
}
