#include "ZipReader.h"

#include "TEXLReportError.h"

#include <QFile>
#include <zip.h>

namespace xlsx {

ZipReader::ZipReader(const QString& path) : mPath(path)
{
    int code = 0;
    mZip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!mZip) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const QString reason = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        throw TEXLReportError(QStringLiteral("Cannot open the workbook \"%1\": %2").arg(path, reason));
    }
    const zip_int64_t count = zip_get_num_entries(mZip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(mZip, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        if (!name)
            continue;
        const QString n = QString::fromUtf8(name);
        mNames.append(n);
        mIndex.insert(n, i);
    }
}

ZipReader::~ZipReader()
{
    if (mZip)
        zip_discard(mZip);
}

QByteArray ZipReader::read(const QString& name) const
{
    const long long i = index(name);
    zip_stat_t st;
    if (i < 0 || zip_stat_index(mZip, zip_uint64_t(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
        throw TEXLReportError(QStringLiteral("The workbook \"%1\" has no part \"%2\"").arg(mPath, name));
    zip_file_t* file = zip_fopen_index(mZip, zip_uint64_t(i), 0);
    if (!file)
        throw TEXLReportError(QStringLiteral("Cannot read \"%1\" of the workbook \"%2\": %3")
                                  .arg(name, mPath, QString::fromUtf8(zip_strerror(mZip))));
    QByteArray data(qsizetype(st.size), Qt::Uninitialized);
    const zip_int64_t got = zip_fread(file, data.data(), st.size);
    zip_fclose(file);
    if (got != zip_int64_t(st.size))
        throw TEXLReportError(
            QStringLiteral("Cannot read \"%1\" of the workbook \"%2\": it is damaged").arg(name, mPath));
    return data;
}

} // namespace xlsx
