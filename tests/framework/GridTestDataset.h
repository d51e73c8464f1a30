#pragma once

#include "Dataset.h"
#include "PgResult.h"

#include <QList>
#include <QStringList>
#include <libpq-fe.h>
#include <optional>

// A dataset whose rows are given in the test, in the server's text form (nullopt for NULL), so
// grid tests run without a database.
class GridTestDataset : public db::Dataset
{
public:
    struct Column
    {
        QString name;
        db::DataType type = db::DataType::String;
    };
    using Row = QList<std::optional<QString>>;

    GridTestDataset(QList<Column> columns, QList<Row> rows, QObject* parent = nullptr)
        : db::Dataset(parent), mColumns(std::move(columns)), mRows(std::move(rows))
    {
        setObjectName(QStringLiteral("qryTest"));
        setTakesLocalEdits(true);
    }

    void open() override
    {
        loadResult(db::PgResult(makeResult()));
        finishOpen(0);
    }

private:
    static unsigned oidOf(db::DataType type)
    {
        switch (type) {
        case db::DataType::Integer:
            return 23;
        case db::DataType::Float:
            return 701;
        case db::DataType::Boolean:
            return 16;
        case db::DataType::Date:
            return 1082;
        case db::DataType::DateTime:
            return 1114;
        case db::DataType::Blob:
            return 17;
        default:
            return 1043;
        }
    }

    PGresult* makeResult() const
    {
        PGresult* r = PQmakeEmptyPGresult(nullptr, PGRES_TUPLES_OK);
        std::vector<QByteArray> names;
        std::vector<PGresAttDesc> attrs(mColumns.size());
        for (int c = 0; c < mColumns.size(); ++c)
            names.push_back(mColumns[c].name.toLower().toUtf8());
        for (int c = 0; c < mColumns.size(); ++c) {
            attrs[c] = PGresAttDesc{};
            attrs[c].name = names[c].data();
            attrs[c].typid = oidOf(mColumns[c].type);
            attrs[c].typlen = -1;
            attrs[c].atttypmod = -1;
        }
        PQsetResultAttrs(r, int(attrs.size()), attrs.data());
        for (int row = 0; row < mRows.size(); ++row)
            for (int c = 0; c < mColumns.size(); ++c) {
                const auto& v = c < mRows[row].size() ? mRows[row][c] : std::optional<QString>();
                if (!v) {
                    PQsetvalue(r, row, c, nullptr, -1);
                    continue;
                }
                QByteArray bytes = v->toUtf8();
                PQsetvalue(r, row, c, bytes.data(), int(bytes.size()));
            }
        return r;
    }

    QList<Column> mColumns;
    QList<Row> mRows;
};
