#include "SmtpServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

QString SmtpServer::certificateFolder()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        made = true;
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"), {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days",
                                                  "1", "-subj", "/CN=localhost", "-keyout",
                                                  dir.filePath("key.pem"), "-out", dir.filePath("cert.pem")});
        openssl.waitForFinished(60000);
        EXPECT_EQ(openssl.exitCode(), 0) << openssl.readAllStandardError().toStdString();
    }
    return dir.path();
}

SmtpServer::SmtpServer(const QString& mode)
{
    QStringList args{QStringLiteral(TEV_SMTP_SERVER), mode, mDir.path()};
    if (mode == QLatin1String("tls"))
        args << certificateFolder() + "/cert.pem" << certificateFolder() + "/key.pem";
    mProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    mProcess.start(QStringLiteral("/usr/bin/python3"), args);
    while (mProcess.waitForReadyRead(20000) || mProcess.canReadLine()) {
        if (!mProcess.canReadLine())
            continue;
        const QByteArray line = mProcess.readLine().trimmed();
        if (line.startsWith("PORT ")) {
            mPort = line.mid(5).toInt();
            break;
        }
    }
    if (mPort == 0)
        ADD_FAILURE() << "smtp_server.py " << mode.toStdString() << " did not start";
}

SmtpServer::~SmtpServer()
{
    mProcess.kill();
    mProcess.waitForFinished(5000);
}

QList<QByteArray> SmtpServer::rawMessages() const
{
    QList<QByteArray> list;
    for (int n = 1; QFile::exists(mDir.filePath(QStringLiteral("msg-%1.eml").arg(n))); ++n)
        list.append(readFile(mDir.filePath(QStringLiteral("msg-%1.eml").arg(n))));
    return list;
}

QList<QJsonObject> SmtpServer::messages() const
{
    QList<QJsonObject> list;
    for (int n = 1; QFile::exists(mDir.filePath(QStringLiteral("msg-%1.json").arg(n))); ++n)
        list.append(
            QJsonDocument::fromJson(readFile(mDir.filePath(QStringLiteral("msg-%1.json").arg(n)))).object());
    return list;
}

QJsonObject SmtpServer::stats() const
{
    return QJsonDocument::fromJson(readFile(mDir.filePath("stats.json"))).object();
}

QJsonObject SmtpServer::statsWhen(const std::function<bool(const QJsonObject&)>& ready) const
{
    QElapsedTimer waited;
    waited.start();
    QJsonObject now = stats();
    while (!ready(now) && waited.elapsed() < 5000) {
        QThread::msleep(20);
        now = stats();
    }
    return now;
}
