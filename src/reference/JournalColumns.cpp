#include "JournalColumns.h"

#include "Dataset.h"
#include "PortalCodec.h"

namespace JournalColumns {

QString addDecoded(db::Dataset& dataset, const QString& source, int displayWidth)
{
    const QString name = source + QStringLiteral("_ANSI");
    dataset.addCalculatedField(name, db::DataType::String,
                               [source](const db::Dataset& d, int row) -> QVariant {
                                   const QVariant stored = d.physicalValue(row, d.fieldIndex(source));
                                   if (stored.isNull())
                                       return {};
                                   return DecodeUnicodeEscapes(stored.toString());
                               },
                               0, {source});
    dataset.defineField(source).setVisible(false);
    if (displayWidth > 0)
        dataset.defineField(name).setDisplayWidth(displayWidth);
    return name;
}

} // namespace JournalColumns
