#pragma once

#include "MemDataset.h"
#include "PgResult.h"

#include <QList>
#include <QStringList>
#include <optional>

// A dataset whose rows are given in the test, in the server's text form (nullopt for NULL), so
// grid tests run without a database.
class GridTestDataset : public db::MemDataset
{
public:
    struct Column
    {
        QString name;
        db::DataType type = db::DataType::String;
    };
    using Row = QList<std::optional<QString>>;

    GridTestDataset(const QList<Column>& columns, const QList<Row>& rows, QObject* parent = nullptr)
        : db::MemDataset(parent)
    {
        setObjectName(QStringLiteral("qryTest"));
        QList<db::FieldDef> defs;
        for (const Column& c : columns)
            defs.append(db::FieldDef{c.name.toUpper(), c.type, 0});
        setColumns(defs);
        for (const Row& row : rows) {
            QVariantList values;
            for (int c = 0; c < columns.size(); ++c) {
                const std::optional<QString> text = c < row.size() ? row[c] : std::nullopt;
                if (!text) {
                    values.append(QVariant());
                    continue;
                }
                const QByteArray bytes = text->toUtf8();
                values.append(db::decodeTextValue(columns[c].type, bytes.constData(), int(bytes.size())));
            }
            appendRow(values);
        }
    }
};
