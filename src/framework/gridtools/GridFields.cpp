#include "GridFields.h"

#include "Dataset.h"
#include "IDBGrid.h"

#include <QRegularExpression>

namespace gridtools {

QList<int> markedFields(const db::Dataset& dataset)
{
    QList<int> result;
    for (int i = 0; i < dataset.fieldCount(); ++i)
        if (isGridToolsField(dataset.field(i).tag()))
            result << i;
    return result;
}

QList<int> serverFields(const db::Dataset& dataset)
{
    QList<int> result;
    for (int i : markedFields(dataset))
        if (!dataset.field(i).isCalculated())
            result << i;
    return result;
}

QList<int> reportFields(const db::Dataset& dataset)
{
    QList<int> result;
    for (int i : markedFields(dataset)) {
        const db::Field& f = dataset.field(i);
        if (f.isVisible() && f.name().compare(QLatin1String("RCHECK"), Qt::CaseInsensitive) != 0)
            result << i;
    }
    return result;
}

QString sqlIdentifier(const QString& fieldName)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_$#]*$"));
    if (plain.match(fieldName).hasMatch())
        return fieldName;
    QString quoted = fieldName.toLower();
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace gridtools
