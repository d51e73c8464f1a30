#include "TGridInterfaced.h"

#include "CheckValueRules.h"
#include "DBGrid.h"
#include "Dataset.h"
#include "DatasetTableModel.h"
#include "GridTools.h"

#include <QScrollBar>

TGridInterfaced::TGridInterfaced(DBGrid* grid) : mGrid(grid)
{
    if (!grid)
        return;
    mDataset = grid->dataset();
    mCheckFieldName = grid->checkFieldName();
    // Controls placed on the grid would be dragged along with the cells; they sit out the scroll.
    mConnections << QObject::connect(grid, &DBGrid::scrollStarted, grid, [this] { hidePlacedControls(); });
    mConnections << QObject::connect(grid, &DBGrid::scrollFinished, grid, [this] { showPlacedControls(); });
    grid->datasetModel()->setCheckRules(
        [this](const db::Field& f, const QVariant& v) { return IsCheckedValue(f, v); },
        [this](const db::Field& f, bool marked) { return CheckValueFor(f, marked); });
}

TGridInterfaced::~TGridInterfaced()
{
    for (const auto& c : mConnections)
        QObject::disconnect(c);
    if (!mGrid)
        return;
    // Nothing of this adapter may outlive it on the grid.
    if (mDrawHookInstalled)
        mGrid->setDrawCellHook({});
    if (mClickHookInstalled)
        mGrid->setCellClickHook({});
    if (mOnKeyDown)
        mGrid->setKeyDownHook({});
    if (mOnResize)
        mGrid->setResizeHook({});
    mGrid->datasetModel()->setCheckRules(
        [](const db::Field& f, const QVariant& v) { return gridtools::isCheckedValue(f.dataType(), v); },
        [](const db::Field& f, bool marked) { return gridtools::checkValueFor(f.dataType(), marked); });
    showPlacedControls();
}

DBGrid* TGridInterfaced::grid() const
{
    return mGrid;
}

GridOptions TGridInterfaced::GetOptions() const
{
    return mGrid ? mGrid->options() : GridOptions();
}

void TGridInterfaced::SetOptions(GridOptions options)
{
    if (mGrid)
        mGrid->setOptions(options);
}

QFont TGridInterfaced::GetFont() const
{
    return mGrid ? mGrid->font() : QFont();
}

QString TGridInterfaced::GetHint() const
{
    return mGrid ? mGrid->hint() : QString();
}

void TGridInterfaced::SetOnDrawCell(DrawCellHandler handler)
{
    mOnDrawCell = std::move(handler);
    // A painting hook the grid already has stays in charge.
    if (!mGrid || mDrawHookInstalled || mGrid->drawCellHook())
        return;
    mGrid->setDrawCellHook(
        [this](const DrawCellContext& cell) { return mOnDrawCell && mOnDrawCell(*this, cell); });
    mDrawHookInstalled = true;
}

void TGridInterfaced::SetOnCellClick(CellClickHandler handler)
{
    mOnCellClick = std::move(handler);
    if (!mGrid || mClickHookInstalled || mGrid->cellClickHook())
        return;
    mGrid->setCellClickHook([this](int, int column) {
        if (mOnCellClick)
            mOnCellClick(*this, clickedField(column));
    });
    mClickHookInstalled = true;
}

db::Field* TGridInterfaced::clickedField(int column) const
{
    return mGrid ? mGrid->columnField(column) : nullptr;
}

void TGridInterfaced::SetOnKeyDown(KeyDownHandler handler)
{
    mOnKeyDown = std::move(handler);
    if (!mGrid)
        return;
    if (!mOnKeyDown)
        mGrid->setKeyDownHook({});
    else
        mGrid->setKeyDownHook([this](QKeyEvent* e) { return mOnKeyDown && mOnKeyDown(*this, e); });
}

void TGridInterfaced::SetOnResize(ResizeHandler handler)
{
    mOnResize = std::move(handler);
    if (!mGrid)
        return;
    if (!mOnResize)
        mGrid->setResizeHook({});
    else
        mGrid->setResizeHook([this] {
            if (mOnResize)
                mOnResize(*this);
        });
}

db::Dataset* TGridInterfaced::GetDataSet() const
{
    if (mGrid && mGrid->dataset())
        return mGrid->dataset();
    return mDataset;
}

void TGridInterfaced::SetDataSet(db::Dataset* dataset)
{
    if (mOnDataSetChange && dataset != mDataset)
        mOnDataSetChange(*this, dataset);
    mDataset = dataset;
    if (mGrid)
        mGrid->setDataset(dataset);
}

QTableView* TGridInterfaced::GetControl() const
{
    return mGrid;
}

void TGridInterfaced::SetCheckFieldName(const QString& name)
{
    mCheckFieldName = name;
    if (mGrid)
        mGrid->setCheckFieldName(name);
}

void TGridInterfaced::CheckAll()
{
    gridtools::runSelectGrid(*this, smCheck, mCheckFieldName);
}

void TGridInterfaced::UncheckAll()
{
    gridtools::runSelectGrid(*this, smUncheck, mCheckFieldName);
}

void TGridInterfaced::InvertAll()
{
    gridtools::runSelectGrid(*this, smInvert, mCheckFieldName);
}

void TGridInterfaced::range(int mode, int a, int b, int c, int d)
{
    if (db::Dataset* ds = GetDataSet())
        gridtools::runMySelect(*ds, mode, c, d, a, b, mCheckFieldName, this);
}

void TGridInterfaced::CheckRange(int a, int b, int c, int d)
{
    range(smCheck, a, b, c, d);
}

void TGridInterfaced::UncheckRange(int a, int b, int c, int d)
{
    range(smUncheck, a, b, c, d);
}

void TGridInterfaced::InvertRange(int a, int b, int c, int d)
{
    range(smInvert, a, b, c, d);
}

std::optional<int> TGridInterfaced::fitColumnWidth(int clientWidth, int otherColumnsWidth, int indicatorWidth,
                                                   int columnCount, int minimum)
{
    const int free = clientWidth - otherColumnsWidth - indicatorWidth - columnCount - 1;
    if (free < minimum || free < 20)
        return std::nullopt;
    return free;
}

void TGridInterfaced::FitColumn(int index, int minimum)
{
    if (!mGrid || index < 0 || index >= mGrid->gridColumnCount())
        return;
    int others = 0;
    int shown = 0;
    for (int c = 0; c < mGrid->gridColumnCount(); ++c) {
        if (mGrid->isColumnHidden(c))
            continue;
        ++shown;
        if (c != index)
            others += mGrid->columnWidth(c);
    }
    // The view keeps the indicator outside its viewport; the client width counts it, as the rule does.
    const int indicator = mGrid->indicatorWidth();
    const int client = mGrid->viewport()->width() + indicator;
    if (const auto width = fitColumnWidth(client, others, indicator, shown, minimum))
        mGrid->setColumnWidth(index, *width);
}

void TGridInterfaced::FitLastColumn(int minimum)
{
    if (mGrid)
        FitColumn(mGrid->gridColumnCount() - 1, minimum);
}

void TGridInterfaced::hidePlacedControls()
{
    if (!mGrid)
        return;
    for (QWidget* w : mGrid->placedControls())
        if (w->isVisible()) {
            w->hide();
            mHidden << w;
        }
}

void TGridInterfaced::showPlacedControls()
{
    const auto hidden = mHidden;
    mHidden.clear();
    for (const auto& w : hidden)
        if (w)
            w->show();
}
