#include "AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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

// The shipped files of an installed console: <prefix>/share/tev-web-admin beside <prefix>/bin,
// else the system's data folders.
QString shippedFolder()
{
    QStringList candidates;
    const QString exeDir = executableFolder();
    if (!exeDir.isEmpty())
        candidates << exeDir + QStringLiteral("/../share/tev-web-admin");
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        candidates << data + QStringLiteral("/tev-web-admin");
    for (const QString& c : candidates)
        if (QFileInfo(c).isDir())
            return clean(c);
    return QString();
}

void seedOnce(const QString& folder)
{
    static bool seeded = false;
    if (seeded)
        return;
    seeded = true;
    const QString shipped = shippedFolder();
    if (!shipped.isEmpty())
        seedApplicationFolder(folder, shipped);
}

} // namespace

int seedApplicationFolder(const QString& folder, const QString& shipped)
{
    int copied = 0;
    const QDir from(shipped);
    // Language files and letter templates at the top, the report templates in their own folder; the
    // portal schema stays where it is installed.
    for (const QString& sub : {QString(), QStringLiteral("ReportTemplates")}) {
        const QDir source(from.filePath(sub));
        if (!source.exists())
            continue;
        const QString target = sub.isEmpty() ? folder : folder + QLatin1Char('/') + sub;
        for (const QFileInfo& file : source.entryInfoList(QDir::Files)) {
            // Whatever the user has there, in whatever letter case, stays.
            if (QFileInfo::exists(fileInFolder(target, file.fileName())))
                continue;
            if (!QDir().mkpath(target))
                break;
            if (QFile::copy(file.filePath(), target + QLatin1Char('/') + file.fileName())) {
                QFile::setPermissions(target + QLatin1Char('/') + file.fileName(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
                ++copied;
            }
        }
    }
    return copied;
}

QString applicationFolder()
{
    const QString overridden = qEnvironmentVariable("TEV_APP_DIR");
    if (!overridden.isEmpty())
        return clean(QDir(overridden).absolutePath());
    const QString exeDir = executableFolder();
    // An installed program (its shipped files in ../share beside it) never writes beside itself,
    // even when run by root, for whom every folder is writable.
    const bool installed = !exeDir.isEmpty() && QFileInfo(exeDir + QStringLiteral("/../share/tev-web-admin")).isDir();
    if (!exeDir.isEmpty() && !installed && QFileInfo(exeDir).isWritable())
        return clean(exeDir);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/tev-web-admin");
    QDir().mkpath(config);
    seedOnce(clean(config));
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
