#include "ExchangeParams.h"

#include "ScrambleText.h"

namespace {

int integer(const QString& text, int def)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : def;
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

const QList<const char*>& ExchangeParams::Keys()
{
    static const QList<const char*> keys = {"ServerNameWeb",
                                            "ShemaWeb",
                                            "IntervalWeb",
                                            "IntervalWebInSrvc",
                                            "FolderOutWeb",
                                            "FolderWebExport",
                                            "FolderWebImport",
                                            "FolderSharing",
                                            "FolderWebInSrvc",
                                            "TypeChange",
                                            "OraHomeWeb",
                                            "WebExtendedLogs",
                                            "GenerateLogin",
                                            "PasswordIsLogin",
                                            "CardGrNumToLogin",
                                            "GenerateLoginForFirm",
                                            "CardGrNumToLoginFirm",
                                            "CheckTrnExists",
                                            "Pop3Enable",
                                            "TimeOutIntervalWeb",
                                            "TimeOutCountWeb",
                                            "SMTPUseAuthentication",
                                            "SMTPPort",
                                            "SMTPServer",
                                            "SMTPLogin",
                                            "SMTPPass",
                                            "SMTPSender",
                                            "POP3Port",
                                            "POP3Server",
                                            "POP3Login",
                                            "POP3Pass",
                                            "POP3Get",
                                            "CheckEmailThreadSeparate",
                                            "UrgentRepeatTime",
                                            "UrgentRepeatTimeHMS",
                                            "SAVE_TO_BACKUP",
                                            "SMTPSsl",
                                            "POP3Ssl"};
    return keys;
}

ExchangeParams ExchangeParams::Read(const std::function<QString(const QString&)>& value,
                                    const QString& server, const QString& scheme, int oraHome)
{
    ExchangeParams p;
    p.ServerNameWeb = server;
    p.ShemaWeb = scheme;
    p.OraHomeWeb = oraHome;
    auto text = [&](const char* key, const QString& def) {
        const QString v = value(QString::fromLatin1(key));
        return v.isEmpty() ? def : v;
    };
    auto number = [&](const char* key, int def) { return integer(value(QString::fromLatin1(key)), def); };
    auto onlyOne = [&](const char* key) {
        return value(QString::fromLatin1(key)).trimmed() == QLatin1String("1");
    };
    auto numericFlag = [&](const char* key, bool def) { return number(key, def ? 1 : 0) != 0; };

    p.IntervalWeb = number("IntervalWeb", p.IntervalWeb);
    p.IntervalWebInSrvc = number("IntervalWebInSrvc", p.IntervalWebInSrvc);
    p.FolderWebImport = text("FolderWebImport", p.FolderWebImport);
    p.FolderSharing = text("FolderSharing", p.FolderSharing);
    p.FolderWebExport = text("FolderWebExport", p.FolderWebExport);
    p.FolderWebInSrvc = text("FolderWebInSrvc", {});
    p.FolderOutWeb = text("FolderOutWeb", {});
    p.WebExtendedLogs = onlyOne("WebExtendedLogs");
    p.GenerateLogin = numericFlag("GenerateLogin", true);
    p.CardGrNumToLogin = number("CardGrNumToLogin", 0) == 1 ? 1 : 0;
    p.PasswordIsLogin = numericFlag("PasswordIsLogin", false);
    p.GenerateLoginForFirm = numericFlag("GenerateLoginForFirm", true);
    p.CardGrNumToLoginFirm = number("CardGrNumToLoginFirm", 0) == 1 ? 1 : 0;
    p.CheckTrnExists = numericFlag("CheckTrnExists", false);
    p.Pop3Enable = numericFlag("Pop3Enable", false);
    p.CheckEmailThreadSeparate = numericFlag("CheckEmailThreadSeparate", true);
    p.SAVE_TO_BACKUP = onlyOne("SAVE_TO_BACKUP");
    p.SMTPServer = text("SMTPServer", {});
    p.SMTPPort = number("SMTPPort", 25);
    p.SMTPUseAuthentication = numericFlag("SMTPUseAuthentication", false);
    p.SMTPLogin = ScrambleText::Apply(text("SMTPLogin", {}));
    p.SMTPPass = ScrambleText::Apply(text("SMTPPass", {}));
    p.SMTPSender = text("SMTPSender", {});
    p.SMTPSsl = onlyOne("SMTPSsl");
    p.POP3Server = text("POP3Server", {});
    p.POP3Port = number("POP3Port", 110);
    p.POP3Login = ScrambleText::Apply(text("POP3Login", {}));
    p.POP3Pass = ScrambleText::Apply(text("POP3Pass", {}));
    p.POP3Get = text("POP3Get", {});
    p.POP3Ssl = onlyOne("POP3Ssl");
    p.TimeOutIntervalWeb = number("TimeOutIntervalWeb", 90);
    p.TimeOutCountWeb = std::clamp(number("TimeOutCountWeb", 3), 0, kMaxTimeOutCount);
    p.TypeChange = text("TypeChange", p.TypeChange);
    p.UrgentRepeatTime = text("UrgentRepeatTime", p.UrgentRepeatTime);
    p.UrgentRepeatTimeHMS = text("UrgentRepeatTimeHMS", p.UrgentRepeatTimeHMS);
    return p;
}

QList<QPair<QString, QString>> ExchangeParams::Values() const
{
    auto n = [](int v) { return QString::number(v); };
    const QList<QString> values = {
        ServerNameWeb,
        ShemaWeb,
        n(IntervalWeb),
        n(IntervalWebInSrvc),
        FolderOutWeb,
        FolderWebExport,
        FolderWebImport,
        FolderSharing,
        FolderWebInSrvc,
        TypeChange,
        n(OraHomeWeb),
        flag(WebExtendedLogs),
        flag(GenerateLogin),
        flag(PasswordIsLogin),
        n(CardGrNumToLogin),
        flag(GenerateLoginForFirm),
        n(CardGrNumToLoginFirm),
        flag(CheckTrnExists),
        flag(Pop3Enable),
        n(TimeOutIntervalWeb),
        n(std::clamp(TimeOutCountWeb, 0, kMaxTimeOutCount)),
        flag(SMTPUseAuthentication),
        n(SMTPPort),
        SMTPServer,
        ScrambleText::Apply(SMTPLogin),
        ScrambleText::Apply(SMTPPass),
        SMTPSender,
        n(POP3Port),
        POP3Server,
        ScrambleText::Apply(POP3Login),
        ScrambleText::Apply(POP3Pass),
        POP3Get,
        flag(CheckEmailThreadSeparate),
        UrgentRepeatTime,
        UrgentRepeatTimeHMS,
        flag(SAVE_TO_BACKUP),
        flag(SMTPSsl),
        flag(POP3Ssl),
    };
    QList<QPair<QString, QString>> pairs;
    const QList<const char*>& keys = Keys();
    for (qsizetype i = 0; i < keys.size(); ++i)
        pairs.append({QString::fromLatin1(keys[i]), values[i]});
    return pairs;
}

void ExchangeParams::Write(const std::function<void(const QString&, const QString&)>& write) const
{
    for (const auto& [key, value] : Values())
        write(key, value);
}

QString ExchangeAccount(const QString& defaultUser)
{
    const QString user = defaultUser.trimmed();
    return user.isEmpty() ? QStringLiteral("TEVWEBEXPORTLOGIN") : user;
}
