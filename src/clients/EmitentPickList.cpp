#include "EmitentPickList.h"

#include <algorithm>

namespace {

QString numberText(const QVariant& v)
{
    return v.isNull() ? QString() : QString::number(v.toLongLong());
}

// Nulls sort first, as the emitent list itself sorts them.
bool numberLess(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && !b.isNull();
    return a.toLongLong() < b.toLongLong();
}

} // namespace

EmitentPickList::EmitentPickList(QObject* parent) : db::MemDataset(parent)
{
    setObjectName(QStringLiteral("mdEmitents"));
    setTakesLocalEdits(false);
    setColumns({{QLatin1String(kIdField), db::DataType::Integer},
                {QLatin1String(kCaptionField), db::DataType::String},
                {QLatin1String(kNumberField), db::DataType::Integer},
                {QLatin1String(kFilialField), db::DataType::Integer}});
    for (const char* hidden : {kIdField, kNumberField, kFilialField})
        defineField(QLatin1String(hidden)).setVisible(false);
}

void EmitentPickList::setRows(QList<Row> rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        if (numberLess(a.emitentNumber, b.emitentNumber))
            return true;
        if (numberLess(b.emitentNumber, a.emitentNumber))
            return false;
        return numberLess(a.filialNumber, b.filialNumber);
    });
    const bool wasOpen = isOpen();
    close();
    clearRows();
    for (const Row& row : rows)
        appendRow({row.emitentId, row.caption, row.emitentNumber, row.filialNumber});
    if (wasOpen)
        open();
}

QList<EmitentPickList::Row> EmitentPickList::rowsOf(const db::Dataset& emitents)
{
    QList<Row> rows;
    if (!emitents.isOpen())
        return rows;
    const int id = emitents.fieldIndex(QStringLiteral("EMITENT_ID_WEB"));
    const int number = emitents.fieldIndex(QStringLiteral("EMITENT_NUMBER"));
    const int filial = emitents.fieldIndex(QStringLiteral("FILIAL_NUMBER"));
    const int name = emitents.fieldIndex(QStringLiteral("EMITENT_NAME_ANSI"));
    for (int r = 0; r < emitents.recordCount(); ++r) {
        Row row;
        row.emitentId = emitents.value(r, id).toInt();
        row.emitentNumber = emitents.value(r, number);
        row.filialNumber = emitents.value(r, filial);
        row.caption = caption(row.emitentNumber, row.filialNumber, emitents.value(r, name).toString());
        rows.append(row);
    }
    return rows;
}

QString EmitentPickList::caption(const QVariant& emitentNumber, const QVariant& filialNumber,
                                 const QString& name)
{
    return QStringLiteral("[") + numberText(emitentNumber) + QStringLiteral(", ") + numberText(filialNumber) +
           QStringLiteral("] ") + name;
}
