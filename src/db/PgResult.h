#pragma once

#include "DataType.h"

#include <QString>
#include <memory>

struct pg_result;

namespace db {

// Owner of one libpq result; the only type outside the backend that sees result rows raw.
class PgResult
{
public:
    PgResult() = default;
    explicit PgResult(pg_result* result);

    bool isNull() const { return !mResult; }
    int rowCount() const;
    int columnCount() const;
    QString columnName(int column) const;
    DataType columnType(int column) const;
    // Declared length of a text column, 0 when unbounded.
    int columnSize(int column) const;
    const char* rawValue(int row, int column) const;
    int rawLength(int row, int column) const;
    bool isNullValue(int row, int column) const;
    int columnIndex(const QString& name) const;
    unsigned columnTypeOid(int column) const;

private:
    std::shared_ptr<pg_result> mResult;
};

// Converts a value in PostgreSQL's text output form to the value of the given type.
QVariant decodeTextValue(DataType type, const char* text, int length);

} // namespace db
