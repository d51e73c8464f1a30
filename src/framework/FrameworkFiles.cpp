#include "FrameworkFiles.h"

#include "AppFolder.h"
#include "IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

struct Paths
{
    bool fixed = false;
    QString folder;
    QString sortOrder;
    QString settings;
    QString debug;
    QString program;
};

Paths& paths()
{
    static Paths p;
    return p;
}

QString resolve(const QDir& dir, const QString& name)
{
    return lang::fileInFolder(dir.path(), name);
}

QString runningProgramFileName()
{
    if (QCoreApplication::instance())
        return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).fileName();
}

const Paths& fixedPaths()
{
    if (!paths().fixed)
        FrameworkFiles::setFolder(lang::applicationFolder());
    return paths();
}

} // namespace

namespace FrameworkFiles {

void setFolder(const QString& folder)
{
    Paths& p = paths();
    const QDir dir(folder);
    p.folder = dir.absolutePath();
    p.sortOrder = resolve(dir, QStringLiteral("ZadUvazUDU.INI"));
    p.settings = resolve(dir, QStringLiteral("Settings.ini"));
    p.debug = resolve(dir, QStringLiteral("Debug.ini"));
    p.program = runningProgramFileName();
    p.fixed = true;
}

QString folder()
{
    return fixedPaths().folder;
}

QString sortOrderFile()
{
    return fixedPaths().sortOrder;
}

QString settingsFile()
{
    return fixedPaths().settings;
}

QString debugFile()
{
    return fixedPaths().debug;
}

QString programFileName()
{
    return fixedPaths().program;
}

} // namespace FrameworkFiles

bool IsDebugMode()
{
    return QFileInfo(FrameworkFiles::debugFile()).isFile();
}

bool CanShowGridDebug()
{
    return lang::IniFile(FrameworkFiles::settingsFile())
        .readBool(QStringLiteral("DBG_SETTINGS"), QStringLiteral("CAN"), false);
}
