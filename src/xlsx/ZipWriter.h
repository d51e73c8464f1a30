#pragma once

#include <QByteArray>
#include <QString>
#include <list>

struct zip;
struct zip_source;

namespace xlsx {

class ZipReader;

// A new zip package written by libzip. Nothing is on disk until close(); a writer destroyed
// before that leaves nothing behind. Throws TEXLReportError.
class ZipWriter
{
public:
    explicit ZipWriter(const QString& path);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Deflated at the given level (1 fastest .. 9 smallest).
    void add(const QString& name, const QByteArray& data, int level = 6);
    // The entry's compressed bytes as they are, without inflating them again; the reader must stay
    // open until close().
    void copyRaw(const ZipReader& from, const QString& name);
    void close();

private:
    void addSource(const QString& name, ::zip_source* source);

    QString mPath;
    zip* mZip = nullptr;
    // libzip reads the buffers only when closing.
    std::list<QByteArray> mBuffers;
};

} // namespace xlsx
