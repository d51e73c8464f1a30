#pragma once

#include <QFlags>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStyle>
#include <QVariant>
#include <functional>

class QKeyEvent;
class QPainter;
class QStyleOptionViewItem;
class QTableView;

namespace db {
class Dataset;
class Field;
} // namespace db

// Options of a data grid, the same set for the three grid families.
enum class GridOption
{
    Editing = 0x0001, // cells can be edited in place
    AlwaysShowEditor = 0x0002,
    Titles = 0x0004,    // column titles shown
    Indicator = 0x0008, // current-row indicator column shown
    ColumnResize = 0x0010,
    ColLines = 0x0020,
    RowLines = 0x0040,
    Tabs = 0x0080, // Tab moves between cells
    RowSelect = 0x0100,
    AlwaysShowSelection = 0x0200, // selection shown without focus
    ConfirmDelete = 0x0400,
    CancelOnExit = 0x0800,
    MultiSelect = 0x1000,
};
Q_DECLARE_FLAGS(GridOptions, GridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(GridOptions)

class IDBGrid;

// One cell about to be painted. `row` is the dataset row (index among its visible rows), `field`
// the column's field or nullptr when the column has none.
struct DrawCellContext
{
    QPainter* painter = nullptr;
    const QStyleOptionViewItem* option = nullptr;
    QRect rect;
    QStyle::State state;
    int row = -1;
    int column = -1;
    db::Field* field = nullptr;
};

// Returns true when it painted the cell itself; false lets the grid paint it.
using DrawCellHandler = std::function<bool(IDBGrid& grid, const DrawCellContext& cell)>;
// The clicked column's field (nullptr for a column without one); the clicked row is current by then.
using CellClickHandler = std::function<void(IDBGrid& grid, db::Field* field)>;
// Returns true when the key was handled and the grid must not act on it.
using KeyDownHandler = std::function<bool(IDBGrid& grid, QKeyEvent* event)>;
using ResizeHandler = std::function<void(IDBGrid& grid)>;
// Called before the grid is given another dataset.
using DataSetChangeHandler = std::function<void(IDBGrid& grid, db::Dataset* dataset)>;

// Field tags the grid tools work with: the window marks a dataset's fields before every find,
// sort, filter or report (see FieldMarking.h); other tags keep a field out of the tools.
constexpr int kGridToolsDataFieldTag = 255;
constexpr int kGridToolsOtherFieldTag = 252; // the check field and calculated fields

inline bool isGridToolsField(int tag)
{
    return tag == kGridToolsDataFieldTag || tag == kGridToolsOtherFieldTag;
}

// Mass-selection modes of RunSelectGrid / RunMySelect.
enum SelectMode
{
    smCheck = 0,
    smUncheck = 1,
    smInvert = 3
};

// What the framework and the grid tools need of a data grid, whatever its family. The adapters
// (TDBGridIntObj, TTntDBGridIntObj, TwwDBGridIntObj) differ in how they read columns and in their
// check-value rules; the window's TDBIntList owns them.
class IDBGrid
{
public:
    virtual ~IDBGrid() = default;

    // Columns, in the grid's order.
    virtual int ColumnCount() const = 0;
    virtual QString GetColumnTitle(int index) const = 0;
    virtual int GetColumnWidth(int index) const = 0;
    // The column's field, nullptr when the dataset is closed or has no such field.
    virtual db::Field* GetColumnField(int index) const = 0;
    virtual bool GetColumnVisible(int index) const = 0;

    virtual GridOptions GetOptions() const = 0;
    virtual void SetOptions(GridOptions options) = 0;
    virtual QFont GetFont() const = 0;
    // The grid's hint: the title the grid tools show.
    virtual QString GetHint() const = 0;

    virtual DrawCellHandler GetOnDrawCell() const = 0;
    virtual void SetOnDrawCell(DrawCellHandler handler) = 0;
    virtual CellClickHandler GetOnCellClick() const = 0;
    virtual void SetOnCellClick(CellClickHandler handler) = 0;
    virtual KeyDownHandler GetOnKeyDown() const = 0;
    virtual void SetOnKeyDown(KeyDownHandler handler) = 0;
    virtual ResizeHandler GetOnResize() const = 0;
    virtual void SetOnResize(ResizeHandler handler) = 0;
    virtual DataSetChangeHandler GetOnDataSetChange() const = 0;
    virtual void SetOnDataSetChange(DataSetChangeHandler handler) = 0;

    // The grid's current dataset, else the last one set through the adapter.
    virtual db::Dataset* GetDataSet() const = 0;
    virtual void SetDataSet(db::Dataset* dataset) = 0;
    virtual QTableView* GetControl() const = 0;

    // Check column ("RCHECK" in this console).
    virtual QString GetCheckFieldName() const = 0;
    virtual void SetCheckFieldName(const QString& name) = 0;
    virtual bool HasCheckField() const = 0;
    // The current row's mark; writing posts it.
    virtual bool GetCheckValue() const = 0;
    virtual void SetCheckValue(bool value) = 0;
    // The adapter's rules for one stored value: whether it reads as marked, and what to store for
    // a mark (an invalid QVariant: this field type cannot be marked).
    virtual bool IsCheckedValue(const db::Field& field, const QVariant& value) const = 0;
    virtual QVariant CheckValueFor(const db::Field& field, bool marked) const = 0;

    // Mass selection through the grid tools. A range is two bound pairs (a, b) and (c, d), each
    // (row, column) of the dataset's visible rows counted from 0; the rows between them, both
    // included and in either order, are worked.
    virtual void CheckAll() = 0;
    virtual void UncheckAll() = 0;
    virtual void InvertAll() = 0;
    virtual void CheckRange(int a, int b, int c, int d) = 0;
    virtual void UncheckRange(int a, int b, int c, int d) = 0;
    virtual void InvertRange(int a, int b, int c, int d) = 0;

    // Stretches a column over the grid's free width when that leaves it at least `minimum` (and
    // at least 20) pixels wide.
    virtual void FitColumn(int index, int minimum) = 0;
    virtual void FitLastColumn(int minimum) = 0;
};
