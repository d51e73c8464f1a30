#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// One letter of a gateway's queue. The gateway owns it from AddLetter on.
class TLetter
{
public:
    TLetter();
    virtual ~TLetter();
    TLetter(const TLetter&) = delete;
    TLetter& operator=(const TLetter&) = delete;

    static const QString DefaultErrorFormat; // "Error: %1s"
    static const QString DefaultSentFormat;  // "The message has been sent to \"%s\"."

    QStringList Attachments; // file paths, attached whole
    QStringList Body;        // one item per line; an item may itself hold line breaks
    quint16 ErrorCode = 0;   // SMTP reply code of a refusal, else the transport's error number
    QString ErrorText;
    QString ErrorFormat;
    QString SentFormat;
    QString Sender;     // address, or "Name <address>"
    QString SenderName; // display name of From
    QString Subject;
    QString Recipient;
    // Where the result line goes; the gateway sets it when the letter is queued.
    std::function<void(const QString&)> OnLog;

    virtual void DoError();
    virtual void DoSent();

protected:
    void log(const QString& line) const;
};
