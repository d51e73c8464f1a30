#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <functional>

// The exchange services' settings as the portal's settings store keeps them. Every key is text;
// numbers in decimal, flags "1" or "0". A missing or empty key reads as its default.
struct ExchangeParams
{
    // Keys in the order they are written.
    static const QList<const char*>& Keys();
    static constexpr int kMaxTimeOutCount = 10;

    // Not read from the store: the console's own connection.
    QString ServerNameWeb;
    QString ShemaWeb;
    int OraHomeWeb = 0;

    int IntervalWeb = 5;
    int IntervalWebInSrvc = 300;
    QString FolderWebImport = QStringLiteral("Import");
    QString FolderSharing = QStringLiteral("Sharing");
    QString FolderWebExport = QStringLiteral("Export");
    QString FolderWebInSrvc;
    QString FolderOutWeb;
    bool WebExtendedLogs = false;
    bool GenerateLogin = true;
    int CardGrNumToLogin = 0; // 0 the client's e-mail address, 1 the card's graphic number
    bool PasswordIsLogin = false;
    bool GenerateLoginForFirm = true;
    int CardGrNumToLoginFirm = 0;
    bool CheckTrnExists = false;
    bool Pop3Enable = false;
    bool CheckEmailThreadSeparate = true;
    bool SAVE_TO_BACKUP = false;
    QString SMTPServer;
    int SMTPPort = 25;
    bool SMTPUseAuthentication = false;
    QString SMTPLogin; // plain here, scrambled in the store
    QString SMTPPass;
    QString SMTPSender;
    bool SMTPSsl = false;
    QString POP3Server;
    int POP3Port = 110;
    QString POP3Login;
    QString POP3Pass;
    QString POP3Get;
    bool POP3Ssl = false;
    int TimeOutIntervalWeb = 90;
    int TimeOutCountWeb = 3;
    // Kept and written back unchanged.
    QString TypeChange = QStringLiteral("0");
    QString UrgentRepeatTime = QStringLiteral("60");
    QString UrgentRepeatTimeHMS = QStringLiteral("0");

    // Reads every key through `value` (the settings store); the connection fields are given.
    static ExchangeParams Read(const std::function<QString(const QString&)>& value, const QString& server,
                               const QString& scheme, int oraHome);
    // Key and stored text, in the write order.
    QList<QPair<QString, QString>> Values() const;
    // Writes every key through `write`, in order; an error passes on and stops the rest.
    void Write(const std::function<void(const QString&, const QString&)>& write) const;
};

// The database account the services sign in as: `default_user` of DEDAdize.ini when set.
QString ExchangeAccount(const QString& defaultUser);
