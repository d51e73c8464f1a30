#include "GridTools.h"

#include "Catalogue.h"
#include "DbError.h"
#include "ModalRunner.h"
#include "FilterDialog.h"
#include "FindDialog.h"
#include "GridFields.h"
#include "GridReport.h"
#include "GridToolsText.h"
#include "MassSelection.h"
#include "MessageDialogs.h"
#include "Query.h"
#include "Session.h"
#include "SortDialog.h"

#include <QApplication>
#include <QHash>
#include <QPointer>

namespace gridtools {

namespace {

QWidget* ownerWindow()
{
    return QApplication::activeWindow();
}

// What the find dialog last held for a dataset, so that the next search goes on from there.
QHash<const db::Dataset*, FindCriteria>& findMemory()
{
    static QHash<const db::Dataset*, FindCriteria> memory;
    return memory;
}

void rememberFind(db::Dataset& dataset, const FindCriteria& criteria)
{
    auto& memory = findMemory();
    if (!memory.contains(&dataset))
        QObject::connect(&dataset, &QObject::destroyed, [key = &dataset] { findMemory().remove(key); });
    memory.insert(&dataset, criteria);
}

// Conditions last applied per query; the entry goes when the query does.
QHash<const db::Query*, FilterState>& filterStates()
{
    static QHash<const db::Query*, FilterState> states;
    return states;
}

void rememberFilter(db::Query& query, const FilterState& state)
{
    auto& states = filterStates();
    if (!states.contains(&query))
        QObject::connect(&query, &QObject::destroyed, [key = &query] { filterStates().remove(key); });
    states.insert(&query, state);
}

MassSelection selectionFor(const IDBGrid* rules)
{
    if (!rules)
        return MassSelection();
    return MassSelection(
        [rules](const db::Field& f, const QVariant& v) { return rules->IsCheckedValue(f, v); },
        [rules](const db::Field& f, bool marked) { return rules->CheckValueFor(f, marked); });
}

bool selectable(const db::Dataset& dataset, const QString& checkField)
{
    return dataset.isOpen() && !dataset.isEmpty() && dataset.takesLocalEdits() && !checkField.isEmpty() &&
           dataset.findField(checkField);
}

} // namespace

bool findByDBGrid(db::Dataset& dataset, const QString& title, int& fieldIndex, int langId)
{
    if (!dataset.isOpen() || dataset.isEmpty())
        return false;
    if (markedFields(dataset).isEmpty()) {
        lang::ShowMsgBox(ownerWindow(),
                         gtText(langId, "Нет полей для поиска", "There are no fields to search in"), 0);
        return false;
    }
    FindDialog dialog(dataset, title, fieldIndex, langId, ownerWindow());
    FindCriteria start;
    start.fromStart = true;
    start = findMemory().value(&dataset, start);
    start.fieldIndex = dialog.criteria().fieldIndex; // the window's field wins
    dialog.setCriteria(start);
    if (framework::modalRunner().exec(dialog) != QDialog::Accepted)
        return false;
    FindCriteria criteria = dialog.criteria();
    fieldIndex = criteria.fieldIndex;
    const int row = FindDialog::findRow(dataset, criteria);
    // Once found, the next search goes on from the found row.
    criteria.fromStart = criteria.fromStart && row < 0;
    rememberFind(dataset, criteria);
    if (row < 0) {
        lang::ShowMsgBox(
            ownerWindow(),
            gtText(langId, "Значение \"%1\" не найдено", "\"%1\" was not found").arg(dialog.criteria().text),
            2);
        return false;
    }
    dataset.setCurrentRow(row);
    return true;
}

bool sortDBGrid(db::Query& query, const QString& title, int langId)
{
    db::Macro* order = query.macros().find(QStringLiteral("ORDER"));
    db::Macro* field = query.macros().find(QStringLiteral("FIELD"));
    if (!order || !field) {
        lang::ShowMsgBox(
            ownerWindow(),
            gtText(langId, "Сортировка представленных данных невозможна", "The data shown cannot be sorted"),
            0);
        return false;
    }
    if (!query.isOpen()) {
        query.open(); // the fields come from the open query
    }
    SortDialog dialog(query, title, field->isActive() ? field->value() : QString(), langId, ownerWindow());
    if (framework::modalRunner().exec(dialog) != QDialog::Accepted)
        return false;
    const QString text = SortDialog::formatOrder(dialog.order());
    const bool active = !text.isEmpty();
    if (active && !order->value().trimmed().startsWith(QLatin1String("ORDER"), Qt::CaseInsensitive))
        order->setValue(QStringLiteral("ORDER BY"));
    order->setActive(active);
    field->setValue(text);
    field->setActive(active);
    query.open();
    return true;
}

FilterState lastFilterState(const db::Query& query)
{
    return filterStates().value(&query);
}

bool filterByDBGrid(db::Query& query, const QString& title, int langId)
{
    if (!query.isOpen())
        query.open();
    FilterDialog dialog(query, title, lastFilterState(query), langId, ownerWindow());
    if (framework::modalRunner().exec(dialog) != QDialog::Accepted)
        return false;
    const FilterSql sql = dialog.filterSql();
    if (!sql.ok()) {
        lang::ShowMsgBox(ownerWindow(), sql.error, 0);
        return false;
    }
    const QString previousText = query.filterSql();
    const FilterState previous = lastFilterState(query);
    query.setFilterSql(sql.text, sql.values);
    try {
        query.open();
    } catch (...) {
        // The grid is not left empty by a filter the server refused.
        const FilterSql old =
            buildFilterSql(previous.conditions, previous.useOr, previous.caseSensitive, langId);
        query.setFilterSql(previousText, old.ok() ? old.values : QVariantMap());
        try {
            query.open();
        } catch (...) {
        }
        throw;
    }
    rememberFilter(query, dialog.state());
    return true;
}

void gridReport(db::Dataset& dataset, db::Dataset* detail, const QString& title, int langId)
{
    if (!dataset.isOpen())
        return;
    GridReport report(dataset, detail, title, langId, ownerWindow());
    framework::modalRunner().exec(report);
}

void runSelectGrid(IDBGrid& grid, int mode, const QString& checkField)
{
    db::Dataset* dataset = grid.GetDataSet();
    const QString name = checkField.isEmpty() ? grid.GetCheckFieldName() : checkField;
    if (!dataset || !selectable(*dataset, name))
        return;
    selectionFor(&grid).apply(*dataset, name, mode);
}

void runMySelect(db::Dataset& dataset, int mode, int a, int b, int c, int d, const QString& checkField,
                 const IDBGrid* rules)
{
    Q_UNUSED(b);
    Q_UNUSED(d);
    if (!selectable(dataset, checkField))
        return;
    selectionFor(rules).apply(dataset, checkField, mode, qMin(a, c), qMax(a, c));
}

} // namespace gridtools
