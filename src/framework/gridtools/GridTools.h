#pragma once

#include "CheckValueRules.h"
#include "IDBGrid.h"

#include <QString>

namespace db {
class Dataset;
class Query;
} // namespace db

// The grid tools' entry points, as the framework calls them. Every dialog is opened through
// framework::modalRunner() and every message goes through lang's presenter; langId is the interface
// language id (25 Russian), the title is the grid's hint.
namespace gridtools {

// Find in the dataset's marked fields. fieldIndex (a dataset field index) is where the dialog
// starts and comes back as the field last searched on. The found row becomes current; returns
// whether a row was found.
bool findByDBGrid(db::Dataset& dataset, const QString& title, int& fieldIndex, int langId);

// Sort a query by its marked fields: the chosen order goes into the `&FIELD` macro (with `&ORDER`
// active; both inactive for no order) and the query is reopened. Returns whether it was.
bool sortDBGrid(db::Query& query, const QString& title, int langId);

// Filter a query by conditions on its marked fields: the query's SQL filter text becomes the
// condition, with values bound as :FLT_n ("((1=1)aNd(1=1))" for none), and the query is
// reopened. Returns whether it was.
bool filterByDBGrid(db::Query& query, const QString& title, int langId);
// The conditions the filter dialog last applied to the query (empty when none).
struct FilterState;
FilterState lastFilterState(const db::Query& query);

// Print preview of the dataset's marked columns, with the detail dataset's rows when given.
void gridReport(db::Dataset& dataset, db::Dataset* detail, const QString& title, int langId);

// Mark (0), unmark (1) or invert (3) the check field of every row of the grid's dataset, by the
// adapter's check rules. An empty field name means the adapter's check field.
void runSelectGrid(IDBGrid& grid, int mode, const QString& checkField);
// The same over the rows between the bound pairs (a, b) and (c, d) (row, column each); the
// rules are the adapter's when one is given, else the standard ones.
void runMySelect(db::Dataset& dataset, int mode, int a, int b, int c, int d, const QString& checkField,
                 const IDBGrid* rules = nullptr);

} // namespace gridtools
