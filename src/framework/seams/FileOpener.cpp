#include "FileOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace framework {

bool FileOpener::open(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

namespace {

FileOpener*& installedOpener()
{
    static FileOpener* installed = nullptr;
    return installed;
}

} // namespace

FileOpener& fileOpener()
{
    static FileOpener desktop;
    FileOpener* installed = installedOpener();
    return installed ? *installed : desktop;
}

FileOpener* setFileOpener(FileOpener* opener)
{
    FileOpener* previous = installedOpener();
    installedOpener() = opener;
    return previous;
}

bool openWithDesktop(const QString& path)
{
    return fileOpener().open(path);
}

} // namespace framework
