#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <functional>

// An aiosmtpd server of tests/mail/smtp_server.py in one of its modes, on 127.0.0.1, stopped with
// the object.
class SmtpServer
{
public:
    explicit SmtpServer(const QString& mode);
    ~SmtpServer();

    int port() const { return mPort; }
    QString portText() const { return QString::number(mPort); }
    // Received messages in order: the bytes as they arrived and the Python parser's reading.
    QList<QByteArray> rawMessages() const;
    QList<QJsonObject> messages() const;
    QJsonObject stats() const;
    // The counters once `ready` holds for them (the server writes them a moment after it answered
    // the client), or as they are after a few seconds.
    QJsonObject statsWhen(const std::function<bool(const QJsonObject&)>& ready) const;

    // A self-signed certificate and key made by the openssl tool, once per test program.
    static QString certificateFolder();

private:
    QTemporaryDir mDir;
    QProcess mProcess;
    int mPort = 0;
};
