#pragma once

#include "TInvitation.h"

#include <QList>
#include <QObject>
#include <functional>

class TSmtpGateway;

// One sending run of the invitation composer without its window: one gateway per valid address, the
// failure lines of empty and invalid addresses, the counters and the closing summary. Gateways are
// children of the run: destroying it aborts what is still out (and reports nothing to a window
// already gone).
class TInvitationRun : public QObject
{
    Q_OBJECT

public:
    struct Client
    {
        qint32 clientId = 0; // WBC_ID
        QString label;       // ClientLabel()
        QString email;       // the client's e-mail field
    };
    struct Settings
    {
        QString host;
        QString port = QStringLiteral("25");
        QString userName;
        QString password;
        bool authRequired = false; // AUTH LOGIN
        bool useTls = false;
        bool debug = false;
        QString sender;
        QString subject;
        int connectTimeout = 30000;
        int responseTimeout = 60000;
    };
    // The letter for client number index (not preview); announced gets the passwords it gives.
    using LetterBuilder = std::function<QString(int index, QList<TLoginPassword>* announced)>;

    explicit TInvitationRun(QObject* parent = nullptr);
    ~TInvitationRun() override;

    void start(const QList<Client>& clients, const Settings& settings, const LetterBuilder& buildLetter);
    bool isRunning() const { return mRunning > 0 || mStarting; }
    int running() const { return mRunning; }
    int sentCount() const { return mSent; }
    int failedCount() const { return mFailed; }

signals:
    void log(const QString& line);
    // Before it is counted: the place to report the client invited and apply letter->Passwords.
    void letterSent(TInvitation* letter);
    void finished(int sent, int failed);

private:
    void onLetterSent(TLetter* letter);
    void onLetterError(TLetter* letter);
    void checkEnd();

    int mRunning = 0;
    int mSent = 0;
    int mFailed = 0;
    bool mStarting = false;
};
