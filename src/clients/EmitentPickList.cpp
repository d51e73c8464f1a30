#include "EmitentPickList.h"

#include "PgResult.h"

#include <QByteArray>
#include <algorithm>
#include <libpq-fe.h>
#include <vector>

namespace {

constexpr unsigned kInt4Oid = 23;
constexpr unsigned kVarcharOid = 1043;

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

EmitentPickList::EmitentPickList(QObject* parent) : db::Dataset(parent)
{
    setObjectName(QStringLiteral("mdEmitents"));
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
    mRows = std::move(rows);
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

void EmitentPickList::open()
{
    PGresult* result = PQmakeEmptyPGresult(nullptr, PGRES_TUPLES_OK);
    const char* names[] = {"emitent_id_web", "emitent", "emitent_number", "filial_number"};
    const unsigned types[] = {kInt4Oid, kVarcharOid, kInt4Oid, kInt4Oid};
    PGresAttDesc attrs[4];
    for (int c = 0; c < 4; ++c) {
        attrs[c] = PGresAttDesc{};
        attrs[c].name = const_cast<char*>(names[c]);
        attrs[c].typid = types[c];
        attrs[c].typlen = -1;
        attrs[c].atttypmod = -1;
    }
    PQsetResultAttrs(result, 4, attrs);
    for (int r = 0; r < int(mRows.size()); ++r) {
        const Row& row = mRows[r];
        const QVariant values[] = {row.emitentId, row.caption, row.emitentNumber, row.filialNumber};
        for (int c = 0; c < 4; ++c) {
            if (values[c].isNull()) {
                PQsetvalue(result, r, c, nullptr, -1);
                continue;
            }
            QByteArray bytes = values[c].toString().toUtf8();
            PQsetvalue(result, r, c, bytes.data(), int(bytes.size()));
        }
    }
    loadResult(db::PgResult(result));
    field(0).setVisible(false);
    field(2).setVisible(false);
    field(3).setVisible(false);
    finishOpen(0);
}
