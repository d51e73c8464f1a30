#include "ZipWriter.h"

#include "TEXLReportError.h"
#include "ZipReader.h"

#include <QFile>
#include <zip.h>

namespace xlsx {

ZipWriter::ZipWriter(const QString& path) : mPath(path)
{
    int code = 0;
    mZip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!mZip) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const QString reason = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        throw TEXLReportError(QStringLiteral("Cannot create the workbook \"%1\": %2").arg(path, reason));
    }
}

ZipWriter::~ZipWriter()
{
    if (mZip)
        zip_discard(mZip);
}

void ZipWriter::addSource(const QString& name, zip_source* source)
{
    if (!source)
        throw TEXLReportError(QStringLiteral("Cannot add \"%1\" to \"%2\": %3")
                                  .arg(name, mPath, QString::fromUtf8(zip_strerror(mZip))));
    const zip_int64_t index =
        zip_file_add(mZip, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        throw TEXLReportError(QStringLiteral("Cannot add \"%1\" to \"%2\": %3")
                                  .arg(name, mPath, QString::fromUtf8(zip_strerror(mZip))));
    }
}

void ZipWriter::add(const QString& name, const QByteArray& data, int level)
{
    mBuffers.push_back(data);
    const QByteArray& kept = mBuffers.back();
    addSource(name, zip_source_buffer(mZip, kept.constData(), zip_uint64_t(kept.size()), 0));
    const zip_int64_t index = zip_name_locate(mZip, name.toUtf8().constData(), ZIP_FL_ENC_UTF_8);
    if (index >= 0)
        zip_set_file_compression(mZip, zip_uint64_t(index), ZIP_CM_DEFLATE, zip_uint32_t(level));
}

void ZipWriter::copyRaw(const ZipReader& from, const QString& name)
{
    const long long index = from.index(name);
    if (index < 0)
        throw TEXLReportError(QStringLiteral("The template has no part \"%1\"").arg(name));
    addSource(name, zip_source_zip(mZip, from.handle(), zip_uint64_t(index), ZIP_FL_COMPRESSED, 0, -1));
}

void ZipWriter::close()
{
    if (zip_close(mZip) != 0) {
        const QString reason = QString::fromUtf8(zip_strerror(mZip));
        throw TEXLReportError(QStringLiteral("Cannot write the workbook \"%1\": %2").arg(mPath, reason));
    }
    mZip = nullptr;
    mBuffers.clear();
}

} // namespace xlsx
