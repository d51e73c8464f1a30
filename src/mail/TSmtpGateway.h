#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class SmtpConversation;
class TLetter;

// Sends its letters over one SMTP connection in the background and reports each letter on the GUI
// thread, in queue order, exactly once: OnLetterSent or OnLetterError. Conversations of all gateways
// share a pool of worker threads (maxConversations() at once).
//
// Use: create, connect the signals, set the fields, AddLetter, Start. Letters passed to the signals
// stay valid until the gateway is destroyed. Destroying or aborting a gateway, or quitting the
// program, reports every letter not yet reported as failed.
class TSmtpGateway : public QObject
{
    Q_OBJECT

public:
    enum AuthTypes
    {
        AuthNone = 0,
        AuthPlain = 1,
        AuthLogin = 2
    };

    explicit TSmtpGateway(QObject* parent = nullptr);
    ~TSmtpGateway() override;

    QString Host;
    QString Port = QStringLiteral("25"); // a number or a service name
    QString UserName;
    QString Password;
    int AuthType = AuthNone;
    bool UseTls = false;          // TLS from the first byte (implicit TLS); the certificate is not checked
    bool Debug = true;            // protocol lines to OnLog (credentials masked, the message never)
    int ConnectTimeout = 30000;   // ms
    int ResponseTimeout = 60000;  // ms a server may keep silent (counted in whole seconds)
    bool FreeOnTerminate = false; // deleteLater() once every letter is reported

    // Takes the letter; the queue is closed once the gateway is started.
    void AddLetter(TLetter* letter);
    void AddLetter(std::unique_ptr<TLetter> letter);
    void Start();
    // Stops the conversation; letters not yet reported fail with "Sending aborted".
    void Abort();

    // The gateway's number at the head of its log lines.
    int ThreadID() const { return mId; }
    bool isStarted() const { return mStarted; }
    bool isFinished() const { return mFinished; }
    int letterCount() const { return int(mLetters.size()); }

    static void setMaxConversations(int count);
    static int maxConversations();
    // Aborts every gateway of the process; runs by itself when the application is about to quit.
    static void abortAll();

    static const QString AbortedText;

signals:
    void OnLog(const QString& line);
    // letter is nullptr when the connection, greeting or login failed: then one such signal comes for
    // each letter of the queue, after one "ErrorCode = " line.
    void OnLetterError(TLetter* letter);
    void OnLetterSent(TLetter* letter);
    // Every letter has been reported.
    void Finished();

private:
    void drain();
    void logLine(const QString& line);
    void reportAborted();
    void finish();
    void stop();

    std::vector<std::unique_ptr<TLetter>> mLetters;
    std::shared_ptr<SmtpConversation> mConversation;
    size_t mNextReport = 0;
    int mId = 0;
    bool mStarted = false;
    bool mFinished = false;
};
