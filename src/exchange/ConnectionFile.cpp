#include "ConnectionFile.h"

#include "ExchangeFolders.h"
#include "ExchangeParams.h"
#include "GeneratePassword.h"
#include "IniFile.h"
#include "TEnDeCrypt.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace {

QString fileIn(const QString& program)
{
    return QDir(ExchangeFolders::ServiceFolder(program))
        .filePath(QString::fromLatin1(ConnectionFile::kFileName));
}

// Creates a missing file empty and owner-only; the INI writes keep a file's mode.
void createOwnerOnly(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return;
    }
    if (errno != EEXIST)
        throw lang::IniError(QStringLiteral("Cannot write \"%1\": %2")
                                 .arg(path, QString::fromLocal8Bit(std::strerror(errno)))
                                 .toStdString());
}

// What would stop a write, found before anything is changed.
void checkWritable(const QString& path)
{
    const QFileInfo info(path);
    QString reason;
    if (info.exists() && !info.isWritable())
        reason = QStringLiteral("the file is read-only");
    else if (!ExchangeFolders::IsWritable(info.absolutePath(), &reason))
        reason = QStringLiteral("the folder is not writable (%1)").arg(reason);
    if (!reason.isEmpty())
        throw lang::IniError(QStringLiteral("Cannot write \"%1\": %2").arg(path, reason).toStdString());
}

} // namespace

QList<ConnectionFile::Target> ConnectionFile::Targets(int kind, const QString& importProgram,
                                                      const QString& exportProgram)
{
    const bool importKind = kind == 1 || kind == 3;
    const bool exportKind = kind == 2 || kind == 3;
    // Exact comparison, as the program paths come from the service manager.
    const bool same = !importProgram.isEmpty() && ExchangeFolders::ServiceFolder(importProgram) ==
                                                      ExchangeFolders::ServiceFolder(exportProgram);
    QList<Target> targets;
    if (importKind && !importProgram.isEmpty())
        targets.append({fileIn(importProgram), true, same});
    if (exportKind && !exportProgram.isEmpty() && !(importKind && same))
        targets.append({fileIn(exportProgram), false, true});
    return targets;
}

void ConnectionFile::Write(const Target& target, const ExchangeParams& params, const QString& userName,
                           const QString& password)
{
    createOwnerOnly(target.Path);
    lang::IniFile ini(target.Path);
    const QString connection = QString::fromLatin1(kConnectionSection);
    const QString log = QString::fromLatin1(kLogSection);
    ini.writeString(connection, QStringLiteral("OraHome"), QString::number(params.OraHomeWeb));
    ini.writeString(connection, QStringLiteral("Server"), params.ServerNameWeb);
    ini.writeString(connection, QStringLiteral("Scheme"), params.ShemaWeb);
    ini.writeString(connection, QStringLiteral("UserName"), userName);
    ini.writeString(connection, QStringLiteral("Password"), password);
    if (target.LogIn)
        ini.writeString(log, QStringLiteral("LogInPath"), params.FolderWebInSrvc);
    if (target.LogOut)
        ini.writeString(log, QStringLiteral("LogOutPath"), params.FolderOutWeb);
    ini.writeString(log, QStringLiteral("ExtendedLog"),
                    params.WebExtendedLogs ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList
ConnectionFile::Generate(int kind, const ExchangeParams& params, const QString& importProgram,
                         const QString& exportProgram, const QString& account, const QString& passPhrase,
                         const std::function<void(const QString&, const QString&)>& changePassword)
{
    const QList<Target> targets = Targets(kind, importProgram, exportProgram);
    if (targets.isEmpty())
        return {};
    const QString password = crypto::GeneratePassword(10, true, true, true);
    QString error;
    const QString userName = crypto::EncryptString(account, passPhrase, false, true, &error);
    if (!error.isEmpty())
        throw std::runtime_error(("Error in encryption username: " + error).toStdString());
    const QString cipherPassword = crypto::EncryptString(password, passPhrase, false, true, &error);
    if (!error.isEmpty())
        throw std::runtime_error(("Error in encryption password: " + error).toStdString());
    for (const Target& t : targets)
        checkWritable(t.Path);

    changePassword(password, account);
    QStringList written;
    for (const Target& t : targets) {
        Write(t, params, userName, cipherPassword);
        written << t.Path;
    }
    return written;
}
