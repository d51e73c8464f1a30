#include "AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lang {

namespace {

QString executableFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // Tools and tests without an application object.
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return exe.isEmpty() ? QString() : QFileInfo(exe).absolutePath();
}

QString clean(const QString& folder)
{
    QString f = QDir::cleanPath(folder);
    if (f.size() > 1 && f.endsWith(QLatin1Char('/')))
        f.chop(1);
    return f;
}

} // namespace

QString applicationFolder()
{
    const QString overridden = qEnvironmentVariable("TEV_APP_DIR");
    if (!overridden.isEmpty())
        return clean(QDir(overridden).absolutePath());
    const QString exeDir = executableFolder();
    if (!exeDir.isEmpty() && QFileInfo(exeDir).isWritable())
        return clean(exeDir);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/tev-web-admin");
    QDir().mkpath(config);
    return clean(config);
}

QString applicationFile(const QString& name)
{
    return fileInFolder(applicationFolder(), name);
}

QString fileInFolder(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    if (dir.exists(name))
        return dir.filePath(name);
    // A copy from Windows may arrive as "dedadize.ini"; that one is meant, not a new file beside it.
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return dir.filePath(name);
}

} // namespace lang
