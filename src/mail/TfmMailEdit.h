#pragma once

#include "InvitationList.h"
#include "InvitationText.h"
#include "MailSettings.h"
#include "TTevBaseForm.h"

#include <QList>
#include <QStringList>
#include <utility>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class TdmMain;
class TInvitation;
class TInvitationRun;

// The invitation composer: one letter per address of the ticked clients, filled with their web
// logins and passwords, sent through the SMTP gateways; each sent letter marks its client invited
// and applies the passwords it announced.
class TfmMailEdit : public TTevBaseForm
{
    Q_OBJECT

public:
    // Reads the logins, templates and settings; throws MailTemplateFiles::Error for a template file
    // that cannot be read.
    TfmMailEdit(TdmMain& dm, const TInvitationList& clients, QWidget* owner = nullptr);
    ~TfmMailEdit() override;

    // Opens the composer modally; a template that cannot be read is reported and nothing opens.
    static void Execute(TdmMain& dm, const TInvitationList& clients, QWidget* owner);

    // The letter of client number index with the templates as the window shows them. Not in preview
    // it may generate passwords (advanced security), and announced gets the pairs to apply.
    QString BuildMessage(int index, bool preview, QList<TLoginPassword>* announced = nullptr);

    void btnPreviewClick();
    void btnChangePasswordsClick();
    void btnSendClick();
    void btnSaveLogClick();

    int clientCount() const { return int(mClients.size()); }
    bool isSending() const;
    int sentCount() const;
    int failedCount() const;
    const QStringList& logLines() const { return mLogLines; }
    // The client's logins table rows, in login-name order.
    const QList<TLetterLogin>& logins(int index) const { return mLogins[index]; }
    bool advancedSecurity() const { return mAdvanced; }
    // Tests shorten the gateways' waits.
    void setTimeouts(int connectMs, int responseMs);

    QTabWidget* pages() const { return mPages; }
    QLineEdit* edHost() const { return mHost; }
    QLineEdit* edPort() const { return mPort; }
    QCheckBox* chkAuth() const { return mAuth; }
    QLineEdit* edUser() const { return mUser; }
    QLineEdit* edPassword() const { return mPassword; }
    QLineEdit* edSender() const { return mSender; }
    QCheckBox* chkTls() const { return mTls; }
    QCheckBox* chkDebug() const { return mDebug; }
    QLineEdit* edSubject() const { return mSubject; }
    QPlainTextEdit* memHeader() const { return mHeader; }
    QPlainTextEdit* memBody() const { return mBody; }
    QPlainTextEdit* memLoginAbsent() const { return mLoginAbsent; }
    QPlainTextEdit* memFooter() const { return mFooter; }
    QCheckBox* chkSaveOnExit() const { return mSaveOnExit; }
    QPlainTextEdit* memLog() const { return mLog; }
    QPushButton* btnPreview() const { return mBtnPreview; }
    QPushButton* btnChangePasswords() const { return mBtnChangePasswords; }
    QPushButton* btnSend() const { return mBtnSend; }
    QPushButton* btnSaveLog() const { return mBtnSaveLog; }
    QPushButton* btnExit() const { return mBtnExit; }

public slots:
    // Refused while letters are out: their outcomes still have to reach this window.
    void done(int result) override;

protected:
    void SetupCaptions() override;
    // Saves the templates and settings when asked to; throws on a file that cannot be written.
    void FormClose();

private:
    void loadLogins();
    void loadTemplates();
    void showSettings(const MailSettings& s);
    MailSettings settingsFromFields() const;
    TLetterTemplates templatesFromFields() const;
    void OnLetterSent(TInvitation* letter);
    void onRunFinished();
    void appendLog(const QString& line);
    void flushLog();
    void setIdle(bool idle);

    TdmMain& mDm;
    TInvitationList mClients;
    QList<QList<TLetterLogin>> mLogins; // per client, in login-name order
    bool mAdvanced = false;
    bool mAnyChanged = false;
    QString mEmitentNumber;
    QString mFilialNumber;
    TInvitationRun* mRun;
    int mConnectTimeout = 30000;
    int mResponseTimeout = 60000;
    QStringList mLogLines;
    QStringList mPendingLog;
    QTimer* mLogFlush;

    QTabWidget* mPages;
    QLineEdit* mHost;
    QLineEdit* mPort;
    QCheckBox* mAuth;
    QLineEdit* mUser;
    QLineEdit* mPassword;
    QLineEdit* mSender;
    QCheckBox* mTls;
    QCheckBox* mDebug;
    QLineEdit* mSubject;
    QPlainTextEdit* mHeader;
    QPlainTextEdit* mBody;
    QPlainTextEdit* mLoginAbsent;
    QPlainTextEdit* mFooter;
    QCheckBox* mSaveOnExit;
    QPlainTextEdit* mLog;
    QPushButton* mBtnPreview;
    QPushButton* mBtnChangePasswords;
    QPushButton* mBtnSend;
    QPushButton* mBtnSaveLog;
    QPushButton* mBtnExit;
    // Field labels and their catalogue keys, for a language switch.
    QList<std::pair<QLabel*, const char16_t*>> mCaptions;
};
