#pragma once

#include "MemDataset.h"

#include <QList>
#include <QString>

// The emitent picker's own list, held in memory: web id, caption "[number, filial] name" and the
// two numbers, sorted by emitent number, then filial number.
class EmitentPickList : public db::MemDataset
{
    Q_OBJECT

public:
    struct Row
    {
        int emitentId = 0;
        QString caption;
        QVariant emitentNumber; // null when the portal has none
        QVariant filialNumber;
    };

    explicit EmitentPickList(QObject* parent = nullptr);

    // Takes the rows of the emitent list (nothing when it is not open); the rows are sorted here
    // and shown on the next open.
    void setRows(QList<Row> rows);
    // One row per row of an open emitent list (EMITENT_ID_WEB, EMITENT_NUMBER, FILIAL_NUMBER,
    // EMITENT_NAME_ANSI).
    static QList<Row> rowsOf(const db::Dataset& emitents);
    static QString caption(const QVariant& emitentNumber, const QVariant& filialNumber, const QString& name);

    // Columns, in this order; only the caption is shown.
    static constexpr char kIdField[] = "EMITENT_ID_WEB";
    static constexpr char kCaptionField[] = "EMITENT";
    static constexpr char kNumberField[] = "EMITENT_NUMBER";
    static constexpr char kFilialField[] = "FILIAL_NUMBER";
};
