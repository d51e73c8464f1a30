#pragma once

#include "MailMessage.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

// One SMTP connection of a gateway, run on a worker thread: every letter of the gateway in turn over
// the same libcurl handle. It shares nothing with the GUI thread but its event list.
class SmtpConversation
{
public:
    struct Settings
    {
        QString host;
        QString port;
        QString userName;
        QString password;
        int authType = 0;
        bool useTls = false;
        bool debug = true;
        int connectTimeoutMs = 30000;
        int responseTimeoutMs = 60000;
        QString logPrefix; // "<id> "
    };
    struct Event
    {
        enum Kind
        {
            Log,
            LetterSent,
            LetterFailed,
            OpenFailed,
            Finished
        };
        Kind kind = Log;
        int letter = -1;
        int code = 0;
        QString text;
    };

    SmtpConversation(Settings settings, std::vector<MailContent> letters);
    ~SmtpConversation();

    // Worker thread.
    void run();
    // Any thread: stop at once; the socket is shut down so a waiting transfer returns.
    void cancel();
    bool isCancelled() const { return mCancelled; }
    // Called on the worker thread when events arrive and the last call has not been answered by
    // takeEvents(); cleared with nullptr, after which it is never called again.
    void setNotifier(std::function<void()> notifier);
    std::vector<Event> takeEvents();
    bool waitFinished(int ms);

private:
    struct Transfer;
    void push(Event event);
    void log(const QString& text);
    static int debugCallback(void* handle, int type, char* data, size_t size, void* self);
    static int openSocket(void* self, int purpose, void* address);
    static int closeSocket(void* self, int fd);
    void trace(bool sent, const QByteArray& bytes);

    Settings mSettings;
    std::vector<MailContent> mLetters;
    std::atomic<bool> mCancelled{false};
    std::mutex mMutex;
    std::condition_variable mFinishedCondition;
    bool mFinished = false;
    bool mNotifyPending = false;
    std::function<void()> mNotifier;
    std::vector<Event> mEvents;
    std::vector<int> mSockets;
    // Worker-thread state of the current transfer.
    bool mMailFromSent = false;
    bool mInAuth = false;
    QString mLastRefusal; // the server's last reply of 4xx or 5xx
};
