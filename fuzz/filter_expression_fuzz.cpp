// Client-side filter texts (stored settings, typed by a user): any text compiles or is refused
// with db::DbError, and a compiled one runs over rows of every value type.

#include "DbError.h"
#include "FilterExpression.h"
#include "FuzzSupport.h"

#include <QDate>
#include <QDateTime>
#include <QVariant>
#include <cstdio>

namespace {

const QStringList kFields = {QStringLiteral("ID"),      QStringLiteral("NAME"), QStringLiteral("AMOUNT"),
                             QStringLiteral("CREATED"), QStringLiteral("DAY"),  QStringLiteral("FLAG")};

const QList<QVariantList>& rows()
{
    static const QList<QVariantList> r = {
        {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
        {1, QStringLiteral("Иванов"), 10.5, QDateTime(QDate(2024, 1, 5), QTime(10, 30)), QDate(2024, 1, 5),
         true},
        {-2147483647 - 1, QString(), -0.0, QDateTime(), QDate(), false},
        {qlonglong(9007199254740993LL), QStringLiteral("'quoted' \"x\""), 1e308,
         QDateTime::fromSecsSinceEpoch(0), QDate(1, 1, 1), QStringLiteral("1")},
    };
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = fuzz::utf8(data, size);
    db::FilterExpression filter;
    try {
        filter = db::FilterExpression::compile(
            text, [](const QString& name) { return int(kFields.indexOf(name)); });
    } catch (const db::DbError&) {
        return 0;
    }
    for (int field : filter.fields())
        FUZZ_CHECK(field >= 0 && field < kFields.size());
    for (const QVariantList& row : rows())
        (void)filter.matches([&row](int i) { return row.value(i); });
    return 0;
}
