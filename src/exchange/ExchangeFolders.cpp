#include "ExchangeFolders.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace ExchangeFolders {

QString ServiceFolder(const QString& programFile)
{
    if (programFile.trimmed().isEmpty())
        return {};
    return QFileInfo(programFile).absolutePath();
}

QString DefaultFolder(Field field, const QString& importProgram, const QString& exportProgram)
{
    const QString in = ServiceFolder(importProgram);
    const QString out = ServiceFolder(exportProgram);
    switch (field) {
    case Field::ImportWork:
        return in.isEmpty() ? QString() : QDir(in).filePath(QStringLiteral("Import"));
    case Field::Sharing:
        return in.isEmpty() ? QString() : QDir(in).filePath(QStringLiteral("Sharing"));
    case Field::ImportLog:
        return in;
    case Field::ExportWork:
    case Field::ExportLog:
        return out;
    }
    return {};
}

bool EnsureFolder(const QString& folder)
{
    if (folder.trimmed().isEmpty())
        return false;
    return QDir().mkpath(folder);
}

bool IsWritable(const QString& folder, QString* error)
{
    const QByteArray dir = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    std::random_device random;
    int err = EEXIST;
    for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
        const QByteArray probe = dir + "/.tev-write-probe-" + QByteArray::number(quint64(random()), 16) +
                                 QByteArray::number(quint64(::getpid()));
        const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(probe.constData());
            return true;
        }
        err = errno;
    }
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(err));
    return false;
}

bool SameFolder(const QString& a, const QString& b)
{
    if (a.trimmed().isEmpty() || b.trimmed().isEmpty())
        return false;
    return QDir::cleanPath(QDir::fromNativeSeparators(a.trimmed())) ==
           QDir::cleanPath(QDir::fromNativeSeparators(b.trimmed()));
}

} // namespace ExchangeFolders
