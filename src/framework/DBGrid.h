#pragma once

#include "IDBGrid.h"

#include <QList>
#include <QPointer>
#include <QSet>
#include <QTableView>
#include <functional>

class DatasetTableModel;

namespace db {
class Dataset;
class Field;
} // namespace db

// The console's data grid: a table view over a dataset with a column list, options, a hint that
// the grid tools show as their title, and hooks through which the grid adapters paint cells and
// react to clicks, keys and resizing.
//
// The three grid families of the console (standard, Unicode, extended) are one class here; the
// family decides which adapter serves the grid and how a cell click is reported.
class DBGrid : public QTableView
{
    Q_OBJECT

public:
    enum class Family
    {
        Standard,
        Unicode,
        Extended
    };

    // A column of the grid; width in pixels, 0 for the width the field's display width gives.
    struct Column
    {
        QString fieldName;
        QString title; // empty: the field's display label
        int width = 0;
        bool visible = true;
    };

    // Painting hook: returns true when it painted the cell.
    using DrawCellHook = std::function<bool(const DrawCellContext& cell)>;
    using CellClickHook = std::function<void(int row, int column)>;
    // Returns true when the key was handled.
    using KeyDownHook = std::function<bool(QKeyEvent* event)>;
    using ResizeHook = std::function<void()>;
    // Returns true when the wheel turn was handled (the window moves the dataset instead).
    using WheelHook = std::function<bool(QWheelEvent* event)>;

    explicit DBGrid(QWidget* parent = nullptr);
    explicit DBGrid(Family family, QWidget* parent = nullptr);
    ~DBGrid() override;

    Family family() const { return mFamily; }
    void setFamily(Family family) { mFamily = family; }
    // The family's class name in the original program ("TDBGrid", "TTntDBGrid", "TwwDBGrid").
    static QString familyClassName(Family family);
    QString familyClassName() const { return familyClassName(mFamily); }

    const QString& hint() const { return mHint; }
    void setHint(const QString& hint) { mHint = hint; }

    db::Dataset* dataset() const;
    void setDataset(db::Dataset* dataset);
    DatasetTableModel* datasetModel() const { return mModel; }

    // Columns as the grid shows them: the persistent list when one is set, otherwise one column
    // per visible field of the dataset (rebuilt whenever the dataset opens).
    QList<Column> columns() const;
    void setColumns(const QList<Column>& columns);
    bool hasPersistentColumns() const { return !mColumns.isEmpty(); }
    int gridColumnCount() const;
    // The field shown in a grid column (nullptr when the dataset is closed or lacks it).
    db::Field* columnField(int column) const;
    bool isColumnVisible(int column) const { return !isColumnHidden(column); }
    void setColumnVisible(int column, bool visible);

    GridOptions options() const { return mOptions; }
    void setOptions(GridOptions options);
    static GridOptions defaultOptions();
    // The defaults of a list that is only looked at: no editing, the selection shown without focus.
    static GridOptions readOnlyOptions();

    // The check column's field name, shown as a check box.
    QString checkFieldName() const;
    void setCheckFieldName(const QString& name);

    // Width of the indicator column when the options show it, else 0.
    int indicatorWidth() const;

    DrawCellHook drawCellHook() const { return mDrawCell; }
    void setDrawCellHook(DrawCellHook hook);
    // Standard and Unicode grids report a click when the button is released on a cell, the
    // extended grid when it is pressed.
    CellClickHook cellClickHook() const { return mCellClick; }
    void setCellClickHook(CellClickHook hook) { mCellClick = std::move(hook); }
    KeyDownHook keyDownHook() const { return mKeyDown; }
    void setKeyDownHook(KeyDownHook hook) { mKeyDown = std::move(hook); }
    ResizeHook resizeHook() const { return mResize; }
    void setResizeHook(ResizeHook hook) { mResize = std::move(hook); }
    WheelHook wheelHook() const { return mWheel; }
    void setWheelHook(WheelHook hook) { mWheel = std::move(hook); }

    // Controls placed on the grid (children other than the view's own parts).
    QList<QWidget*> placedControls() const;

signals:
    // Around every scroll of the cells, horizontal or vertical.
    void scrollStarted();
    void scrollFinished();
    void datasetChanged(db::Dataset* dataset);

protected:
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    friend class DBGridDelegate;
    void init();
    void followDatasetRow(int row);
    void saveLayout();
    void applyLayout();
    int autoWidth(const db::Field* field) const;
    bool paintCell(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index);

    Family mFamily = Family::Standard;
    QString mHint;
    DatasetTableModel* mModel = nullptr;
    QList<Column> mColumns;
    GridOptions mOptions;
    DrawCellHook mDrawCell;
    CellClickHook mCellClick;
    KeyDownHook mKeyDown;
    ResizeHook mResize;
    WheelHook mWheel;
    QSet<QObject*> mOwnParts;
    bool mSyncing = false;
    bool mApplyingLayout = false;
    QModelIndex mPressed;
    // Column widths before a reset, kept when the same fields come back.
    QStringList mSavedFields;
    QList<int> mSavedWidths;
};
