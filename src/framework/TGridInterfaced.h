#pragma once

#include "IDBGrid.h"

#include <QList>
#include <QPointer>
#include <optional>

class DBGrid;

// What a window's adapter-class choice returns for a grid. TGridInterfaced stands for "no adapter
// class": the grid gets no adapter (for an extended grid the window reports that as an error).
enum class GridIntClass
{
    TGridInterfaced,
    TDBGridIntObj,
    TTntDBGridIntObj,
    TwwDBGridIntObj
};

// Common base of the grid adapters: the grid, its check field name, the dataset remembered from
// it, the handlers set through the interface, and the hiding of controls placed on the grid
// while it scrolls. The families differ in their columns and check-value rules only.
class TGridInterfaced : public IDBGrid
{
public:
    explicit TGridInterfaced(DBGrid* grid);
    ~TGridInterfaced() override;
    TGridInterfaced(const TGridInterfaced&) = delete;
    TGridInterfaced& operator=(const TGridInterfaced&) = delete;

    DBGrid* grid() const;

    GridOptions GetOptions() const override;
    void SetOptions(GridOptions options) override;
    QFont GetFont() const override;
    QString GetHint() const override;

    DrawCellHandler GetOnDrawCell() const override { return mOnDrawCell; }
    void SetOnDrawCell(DrawCellHandler handler) override;
    CellClickHandler GetOnCellClick() const override { return mOnCellClick; }
    void SetOnCellClick(CellClickHandler handler) override;
    KeyDownHandler GetOnKeyDown() const override { return mOnKeyDown; }
    void SetOnKeyDown(KeyDownHandler handler) override;
    ResizeHandler GetOnResize() const override { return mOnResize; }
    void SetOnResize(ResizeHandler handler) override;
    DataSetChangeHandler GetOnDataSetChange() const override { return mOnDataSetChange; }
    void SetOnDataSetChange(DataSetChangeHandler handler) override { mOnDataSetChange = std::move(handler); }

    db::Dataset* GetDataSet() const override;
    void SetDataSet(db::Dataset* dataset) override;
    QTableView* GetControl() const override;

    QString GetCheckFieldName() const override { return mCheckFieldName; }
    void SetCheckFieldName(const QString& name) override;

    void CheckAll() override;
    void UncheckAll() override;
    void InvertAll() override;
    void CheckRange(int a, int b, int c, int d) override;
    void UncheckRange(int a, int b, int c, int d) override;
    void InvertRange(int a, int b, int c, int d) override;

    void FitColumn(int index, int minimum) override;
    void FitLastColumn(int minimum) override;

    // The width FitColumn gives a column, or nothing when the free width is below the minimum
    // or below 20 pixels. The free width is the client width less the other columns, the
    // indicator and one pixel per column and one for the grid lines.
    static std::optional<int> fitColumnWidth(int clientWidth, int otherColumnsWidth, int indicatorWidth,
                                             int columnCount, int minimum);

protected:
    // The field shown in a grid column, as the family counts its columns.
    virtual db::Field* clickedField(int column) const;
    void range(int mode, int a, int b, int c, int d);

    QPointer<DBGrid> mGrid;
    QString mCheckFieldName;
    QPointer<db::Dataset> mDataset;

private:
    void hidePlacedControls();
    void showPlacedControls();

    DrawCellHandler mOnDrawCell;
    CellClickHandler mOnCellClick;
    KeyDownHandler mOnKeyDown;
    ResizeHandler mOnResize;
    DataSetChangeHandler mOnDataSetChange;
    bool mDrawHookInstalled = false;
    bool mClickHookInstalled = false;
    QList<QPointer<QWidget>> mHidden;
    QList<QMetaObject::Connection> mConnections;
};
