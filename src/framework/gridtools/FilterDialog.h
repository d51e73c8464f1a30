#pragma once

#include "FilterSql.h"

#include <QDialog>
#include <memory>

namespace Ui {
class FilterDialog;
}
namespace db {
class Dataset;
}

namespace gridtools {

// What a filter dialog holds: the conditions and how they join.
struct FilterState
{
    QList<FilterCondition> conditions;
    bool useOr = false;
    bool caseSensitive = false;
};

// Asks for conditions on the dataset's marked fields that the server can filter by; the caller
// builds the filter text (buildFilterSql) and reopens the query.
class FilterDialog : public QDialog
{
    Q_OBJECT

public:
    FilterDialog(const db::Dataset& dataset, const QString& title, const FilterState& state, int langId,
                 QWidget* parent = nullptr);
    ~FilterDialog() override;

    // Dataset indexes of the fields offered.
    const QList<int>& fields() const { return mFields; }

    FilterState state() const;
    void setState(const FilterState& state);
    FilterSql filterSql() const;

    // Keeps the dialog open while the conditions do not make a filter.
    void accept() override;

private:
    void addRow(const FilterCondition& condition);
    void fillOperators(int row);

    std::unique_ptr<Ui::FilterDialog> ui;
    const db::Dataset& mDataset;
    QList<int> mFields;
    int mLangId;
};

} // namespace gridtools
