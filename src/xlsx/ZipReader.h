#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

struct zip;

namespace xlsx {

// A zip package opened read-only with libzip. Throws TEXLReportError.
class ZipReader
{
public:
    explicit ZipReader(const QString& path);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // Entry names in the package's order.
    const QStringList& names() const { return mNames; }
    bool contains(const QString& name) const { return mIndex.contains(name); }
    QByteArray read(const QString& name) const;

    zip* handle() const { return mZip; }
    long long index(const QString& name) const { return mIndex.value(name, -1); }

private:
    QString mPath;
    zip* mZip = nullptr;
    QStringList mNames;
    QHash<QString, long long> mIndex;
};

} // namespace xlsx
