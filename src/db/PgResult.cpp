#include "PgResult.h"

#include <QDate>
#include <QDateTime>
#include <QVariant>
#include <charconv>
#include <libpq-fe.h>

namespace db {

namespace {
constexpr unsigned BOOLOID = 16, BYTEAOID = 17, INT8OID = 20, INT2OID = 21, INT4OID = 23, OIDOID = 26,
                   FLOAT4OID = 700, FLOAT8OID = 701, NUMERICOID = 1700, DATEOID = 1082, TIMESTAMPOID = 1114,
                   TIMESTAMPTZOID = 1184, BPCHAROID = 1042, VARCHAROID = 1043, REFCURSOROID = 1790;
}

PgResult::PgResult(pg_result* result) : mResult(result, [](pg_result* r) { PQclear(r); }) {}

int PgResult::rowCount() const { return mResult ? PQntuples(mResult.get()) : 0; }
int PgResult::columnCount() const { return mResult ? PQnfields(mResult.get()) : 0; }

QString PgResult::columnName(int column) const
{
    return QString::fromUtf8(PQfname(mResult.get(), column)).toUpper();
}

unsigned PgResult::columnTypeOid(int column) const { return PQftype(mResult.get(), column); }

DataType PgResult::columnType(int column) const
{
    const unsigned oid = PQftype(mResult.get(), column);
    switch (oid) {
    case INT2OID:
    case INT4OID:
    case INT8OID:
    case OIDOID: return DataType::Integer;
    case FLOAT4OID:
    case FLOAT8OID: return DataType::Float;
    case NUMERICOID: {
        // numeric(p,0) holds whole numbers: ids and flags read as integers.
        const int mod = PQfmod(mResult.get(), column);
        if (mod >= 4 && ((mod - 4) & 0xffff) == 0)
            return DataType::Integer;
        return DataType::Float;
    }
    case BOOLOID: return DataType::Boolean;
    case DATEOID: return DataType::Date;
    case TIMESTAMPOID:
    case TIMESTAMPTZOID: return DataType::DateTime;
    case BYTEAOID: return DataType::Blob;
    case REFCURSOROID: return DataType::Cursor;
    default: return DataType::String;
    }
}

int PgResult::columnSize(int column) const
{
    const unsigned oid = PQftype(mResult.get(), column);
    const int mod = PQfmod(mResult.get(), column);
    if ((oid == VARCHAROID || oid == BPCHAROID) && mod > 4)
        return mod - 4;
    return 0;
}

const char* PgResult::rawValue(int row, int column) const { return PQgetvalue(mResult.get(), row, column); }
int PgResult::rawLength(int row, int column) const { return PQgetlength(mResult.get(), row, column); }
bool PgResult::isNullValue(int row, int column) const { return PQgetisnull(mResult.get(), row, column); }

int PgResult::columnIndex(const QString& name) const
{
    for (int c = 0; c < columnCount(); ++c)
        if (columnName(c).compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

static int digits(const char* p, int n)
{
    int v = 0;
    for (int i = 0; i < n; ++i)
        v = v * 10 + (p[i] - '0');
    return v;
}

static QDateTime parseTimestamp(const char* s, int len)
{
    // "YYYY-MM-DD HH:MM:SS[.ffffff][+TZ]" as the server prints it with DateStyle ISO.
    if (len < 19)
        return QDateTime(QDate::fromString(QString::fromLatin1(s, len), Qt::ISODate), QTime(0, 0));
    QDate date(digits(s, 4), digits(s + 5, 2), digits(s + 8, 2));
    int msec = 0;
    if (len > 20 && s[19] == '.') {
        int scale = 100;
        for (int i = 20; i < len && s[i] >= '0' && s[i] <= '9'; ++i, scale /= 10)
            msec += (s[i] - '0') * scale;
    }
    return QDateTime(date, QTime(digits(s + 11, 2), digits(s + 14, 2), digits(s + 17, 2), msec));
}

// Values sit back to back in the dataset's buffers: parse within the given length only.
static double parseDouble(const char* text, int length)
{
    double v = 0;
    std::from_chars(text, text + length, v);
    return v;
}

QVariant decodeTextValue(DataType type, const char* text, int length)
{
    switch (type) {
    case DataType::Integer: {
        qlonglong v = 0;
        const auto r = std::from_chars(text, text + length, v);
        if (r.ec == std::errc() && r.ptr == text + length)
            return v;
        return qlonglong(parseDouble(text, length));
    }
    case DataType::Float: return parseDouble(text, length);
    case DataType::Boolean: return length > 0 && (text[0] == 't' || text[0] == '1');
    case DataType::Date: return QDate(digits(text, 4), digits(text + 5, 2), digits(text + 8, 2));
    case DataType::DateTime: return parseTimestamp(text, length);
    case DataType::Blob:
        if (length >= 2 && text[0] == '\\' && text[1] == 'x')
            return QByteArray::fromHex(QByteArray::fromRawData(text + 2, length - 2));
        return QByteArray(text, length);
    default: return QString::fromUtf8(text, length);
    }
}

} // namespace db
