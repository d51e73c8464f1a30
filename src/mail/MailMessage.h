#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class TLetter;

// What a message is made of: a copy of a letter's fields that a worker thread may own.
struct MailContent
{
    QString Sender;
    QString SenderName;
    QString Recipient;
    QString Subject;
    QStringList Body;
    QStringList Attachments;
};
MailContent mailContentOf(const TLetter& letter);

struct MailBox
{
    QString name;
    QString address;
};
// "Name <address>", "\"Name\" <address>", "<address>" or a bare address.
MailBox parseMailbox(const QString& text);

// The From mailbox: a "Name <address>" sender gives its address and, when no other display name is
// set, its name; a bare sender is the address with SenderName as display name.
MailBox senderMailbox(const QString& sender, const QString& senderName);

// Body items joined by line breaks, every break a single "\n"; the last line ends with one too.
QString mailBodyText(const QStringList& body);

// The whole message with CR LF line ends, 7-bit: text/plain in windows-1251 (utf-8 when the text has a
// character outside that code page), quoted-printable, encoded words in the headers. Attachments make it
// multipart/mixed. Empty with *error set when an attachment cannot be read.
QByteArray buildMimeMessage(const MailContent& content, QString* error);
