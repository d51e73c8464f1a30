#include "MailSettings.h"

#include "Catalogue.h"
#include "IniFile.h"

namespace {

QString l1(const char* text)
{
    return QString::fromLatin1(text);
}

QString mail(const lang::IniFile& ini, const char* key, const char* def = "")
{
    return ini.readString(l1(MailSettings::kMailSection), l1(key), l1(def));
}

} // namespace

MailSettings MailSettings::read(const lang::IniFile& ini)
{
    MailSettings s;
    s.saveOnExit = mail(ini, kSaveOnExit, kDefaultSaveOnExit).toUpper() == QLatin1String("1");
    s.authRequired = mail(ini, kAuthRequired, kDefaultAuthRequired).toUpper() == QLatin1String("YES");
    s.tls = mail(ini, kTls, kDefaultTls) == QLatin1String("1");
    s.authUser = mail(ini, kAuthUser);
    s.authPassword = mail(ini, kAuthPassword);
    s.mailSender = mail(ini, kMailSender);
    s.smtpHost = mail(ini, kSmtpHost);
    s.smtpPort = mail(ini, kSmtpPort, kDefaultPort);
    s.subject = ini.readString(l1(kContentSection), l1(kSubject), lang::tr(u"rstrSubject"));
    return s;
}

void MailSettings::writeSaveOnExit(lang::IniFile& ini, bool on)
{
    ini.writeString(l1(kMailSection), l1(kSaveOnExit), on ? QStringLiteral("1") : QStringLiteral("0"));
}

void MailSettings::write(lang::IniFile& ini) const
{
    const QString section = l1(kMailSection);
    ini.writeString(section, l1(kAuthRequired), authRequired ? QStringLiteral("YES") : QStringLiteral("NO"));
    ini.writeString(section, l1(kTls), tls ? QStringLiteral("1") : QStringLiteral("0"));
    ini.writeString(section, l1(kAuthUser), authUser);
    ini.writeString(section, l1(kAuthPassword), authPassword);
    ini.writeString(section, l1(kMailSender), mailSender);
    ini.writeString(section, l1(kSmtpHost), smtpHost);
    ini.writeString(section, l1(kSmtpPort), smtpPort);
    ini.writeString(l1(kContentSection), l1(kSubject), subject);
}
