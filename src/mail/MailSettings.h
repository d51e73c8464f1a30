#pragma once

#include <QString>

namespace lang {
class IniFile;
}

// The composer's SMTP settings in DEDAdize.ini: every section, key and default of them is spelled
// here and nowhere else.
struct MailSettings
{
    static constexpr char kMailSection[] = "Mail";
    static constexpr char kContentSection[] = "Content";
    static constexpr char kSaveOnExit[] = "SaveOnExit";
    static constexpr char kAuthRequired[] = "AuthRequired";
    static constexpr char kTls[] = "Tls";
    static constexpr char kAuthUser[] = "AuthUser";
    static constexpr char kAuthPassword[] = "AuthPassword";
    static constexpr char kMailSender[] = "MailSender";
    static constexpr char kSmtpHost[] = "SMTPHost";
    static constexpr char kSmtpPort[] = "SMTPPort";
    static constexpr char kSubject[] = "Subject";

    static constexpr char kDefaultSaveOnExit[] = "0";
    static constexpr char kDefaultAuthRequired[] = "NO";
    static constexpr char kDefaultTls[] = "0";
    static constexpr char kDefaultPort[] = "25";
    // The subject's default is the catalogue text rstrSubject.

    bool saveOnExit = false;
    bool authRequired = false;
    bool tls = false;
    QString authUser;
    QString authPassword; // kept in clear text, as administrators expect to find it
    QString mailSender;
    QString smtpHost;
    QString smtpPort = QString::fromLatin1(kDefaultPort);
    QString subject;

    static MailSettings read(const lang::IniFile& ini);
    // Only the SaveOnExit flag: it is written at every closing.
    static void writeSaveOnExit(lang::IniFile& ini, bool on); // throws lang::IniError
    // Everything but SaveOnExit.
    void write(lang::IniFile& ini) const; // throws lang::IniError
};
