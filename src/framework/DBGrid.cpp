#include "DBGrid.h"

#include "Dataset.h"
#include "DatasetTableModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

// Lets the grid's painting hook take a cell before the default painting.
class DBGridDelegate : public QStyledItemDelegate
{
public:
    explicit DBGridDelegate(DBGrid* grid) : QStyledItemDelegate(grid), mGrid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (mGrid->paintCell(painter, option, index))
            return;
        QStyledItemDelegate::paint(painter, option, index);
    }

private:
    DBGrid* mGrid;
};

DBGrid::DBGrid(QWidget* parent) : QTableView(parent)
{
    init();
}

DBGrid::DBGrid(Family family, QWidget* parent) : QTableView(parent), mFamily(family)
{
    init();
}

DBGrid::~DBGrid() = default;

void DBGrid::init()
{
    // Everything the view made for itself so far is its own; later children are placed controls.
    for (QObject* child : children())
        mOwnParts.insert(child);

    mModel = new DatasetTableModel(this);
    setModel(mModel);
    setItemDelegate(new DBGridDelegate(this));
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setMinimumWidth(14);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setOptions(defaultOptions());

    connect(mModel, &DatasetTableModel::currentRowChanged, this, &DBGrid::followDatasetRow);
    connect(mModel, &QAbstractItemModel::modelAboutToBeReset, this, &DBGrid::saveLayout);
    connect(mModel, &QAbstractItemModel::modelReset, this, &DBGrid::applyLayout);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        if (!mApplyingLayout && section < mColumns.size() && mModel->columnCount() == mColumns.size())
            mColumns[section].width = size;
    });
}

QString DBGrid::familyClassName(Family family)
{
    switch (family) {
    case Family::Standard:
        return QStringLiteral("TDBGrid");
    case Family::Unicode:
        return QStringLiteral("TTntDBGrid");
    case Family::Extended:
        return QStringLiteral("TwwDBGrid");
    }
    return {};
}

db::Dataset* DBGrid::dataset() const
{
    return mModel->dataset();
}

void DBGrid::setDataset(db::Dataset* dataset)
{
    if (dataset == mModel->dataset())
        return;
    mModel->setDataset(dataset);
    emit datasetChanged(dataset);
}

QList<DBGrid::Column> DBGrid::columns() const
{
    QList<Column> result;
    const int n = mModel->columnCount();
    if (!mColumns.isEmpty()) {
        result = mColumns;
        for (int c = 0; c < n && c < result.size(); ++c) {
            result[c].width = columnWidth(c);
            result[c].visible = !isColumnHidden(c);
        }
        return result;
    }
    for (int c = 0; c < n; ++c) {
        Column column;
        if (const db::Field* f = mModel->fieldAt(c)) {
            column.fieldName = f->name();
            column.title = f->displayLabel();
        }
        column.width = columnWidth(c);
        column.visible = !isColumnHidden(c);
        result.append(column);
    }
    return result;
}

void DBGrid::setColumns(const QList<Column>& columns)
{
    mColumns = columns;
    QStringList names, titles;
    for (const Column& c : columns) {
        names << c.fieldName;
        titles << c.title;
    }
    mSavedFields.clear();
    mModel->setColumnFields(names, titles);
}

int DBGrid::gridColumnCount() const
{
    return mModel->columnCount();
}

db::Field* DBGrid::columnField(int column) const
{
    return mModel->fieldAt(column);
}

void DBGrid::setColumnVisible(int column, bool visible)
{
    setColumnHidden(column, !visible);
    if (column >= 0 && column < mColumns.size())
        mColumns[column].visible = visible;
}

GridOptions DBGrid::defaultOptions()
{
    return GridOption::Editing | GridOption::Titles | GridOption::Indicator | GridOption::ColumnResize |
           GridOption::ColLines | GridOption::RowLines | GridOption::Tabs | GridOption::ConfirmDelete |
           GridOption::CancelOnExit;
}

GridOptions DBGrid::readOnlyOptions()
{
    return (defaultOptions() & ~GridOptions(GridOption::Editing)) | GridOption::AlwaysShowSelection;
}

void DBGrid::setOptions(GridOptions options)
{
    mOptions = options;
    horizontalHeader()->setVisible(options.testFlag(GridOption::Titles));
    verticalHeader()->setVisible(options.testFlag(GridOption::Indicator));
    horizontalHeader()->setSectionResizeMode(
        options.testFlag(GridOption::ColumnResize) ? QHeaderView::Interactive : QHeaderView::Fixed);
    setShowGrid(options.testFlag(GridOption::ColLines) || options.testFlag(GridOption::RowLines));
    setTabKeyNavigation(options.testFlag(GridOption::Tabs));
    setSelectionBehavior(options.testFlag(GridOption::RowSelect) ? SelectRows : SelectItems);
    setSelectionMode(options.testFlag(GridOption::MultiSelect) ? ExtendedSelection : SingleSelection);
    const bool editing = options.testFlag(GridOption::Editing);
    setEditTriggers(editing ? (DoubleClicked | EditKeyPressed | AnyKeyPressed) : NoEditTriggers);
    mModel->setEditable(editing);

    QPalette p = palette();
    const QPalette base = QApplication::palette(this);
    if (options.testFlag(GridOption::AlwaysShowSelection)) {
        p.setColor(QPalette::Inactive, QPalette::Highlight,
                   base.color(QPalette::Active, QPalette::Highlight));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   base.color(QPalette::Active, QPalette::HighlightedText));
    } else {
        p.setColor(QPalette::Inactive, QPalette::Highlight,
                   base.color(QPalette::Inactive, QPalette::Highlight));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   base.color(QPalette::Inactive, QPalette::HighlightedText));
    }
    setPalette(p);
}

QString DBGrid::checkFieldName() const
{
    return mModel->checkFieldName();
}

void DBGrid::setCheckFieldName(const QString& name)
{
    mModel->setCheckFieldName(name);
}

int DBGrid::indicatorWidth() const
{
    if (!mOptions.testFlag(GridOption::Indicator))
        return 0;
    const QHeaderView* h = verticalHeader();
    return h->isVisible() ? h->width() : h->sizeHint().width();
}

bool DBGrid::paintCell(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (!mDrawCell)
        return false;
    DrawCellContext cell;
    cell.painter = painter;
    cell.option = &option;
    cell.rect = option.rect;
    cell.state = option.state;
    cell.row = index.row();
    cell.column = index.column();
    cell.field = mModel->fieldAt(index.column());
    return mDrawCell(cell);
}

void DBGrid::setDrawCellHook(DrawCellHook hook)
{
    mDrawCell = std::move(hook);
    viewport()->update();
}

QList<QWidget*> DBGrid::placedControls() const
{
    QList<QWidget*> result;
    for (QObject* child : children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !mOwnParts.contains(child) && w != viewport() &&
                                                     w != horizontalHeader() && w != verticalHeader())
            result.append(w);
    return result;
}

void DBGrid::scrollContentsBy(int dx, int dy)
{
    emit scrollStarted();
    QTableView::scrollContentsBy(dx, dy);
    emit scrollFinished();
}

void DBGrid::keyPressEvent(QKeyEvent* event)
{
    if (mKeyDown && mKeyDown(event)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DBGrid::mousePressEvent(QMouseEvent* event)
{
    QTableView::mousePressEvent(event);
    mPressed = event->button() == Qt::LeftButton ? indexAt(event->position().toPoint()) : QModelIndex();
    if (mFamily == Family::Extended && mCellClick && mPressed.isValid()) {
        const QModelIndex current = currentIndex();
        if (current.isValid())
            mCellClick(current.row(), current.column());
    }
}

void DBGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    if (mFamily == Family::Extended || event->button() != Qt::LeftButton || !mCellClick)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index == mPressed)
        mCellClick(index.row(), index.column());
    mPressed = QModelIndex();
}

void DBGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    if (mResize)
        mResize();
}

void DBGrid::wheelEvent(QWheelEvent* event)
{
    if (mWheel && mWheel(event)) {
        event->accept();
        return;
    }
    QTableView::wheelEvent(event);
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    db::Dataset* ds = mModel->dataset();
    if (mSyncing || !ds || !current.isValid() || current.row() == ds->currentRow())
        return;
    mSyncing = true;
    ds->setCurrentRow(current.row());
    mSyncing = false;
}

void DBGrid::followDatasetRow(int row)
{
    if (mSyncing)
        return;
    mSyncing = true;
    if (row < 0 || row >= mModel->rowCount()) {
        selectionModel()->clearCurrentIndex();
    } else {
        int column = currentIndex().isValid() ? currentIndex().column() : -1;
        if (column < 0 || isColumnHidden(column)) {
            column = 0;
            while (column < mModel->columnCount() - 1 && isColumnHidden(column))
                ++column;
        }
        if (column < mModel->columnCount()) {
            const QModelIndex index = mModel->index(row, column);
            if (index != currentIndex()) {
                QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
                if (mOptions.testFlag(GridOption::RowSelect))
                    flags |= QItemSelectionModel::Rows;
                selectionModel()->setCurrentIndex(index, flags);
            }
        }
    }
    mSyncing = false;
}

void DBGrid::saveLayout()
{
    // A close leaves no columns; the widths before it are the ones to bring back.
    if (mModel->columnCount() == 0)
        return;
    mSavedFields.clear();
    mSavedWidths.clear();
    for (int c = 0; c < mModel->columnCount(); ++c) {
        mSavedFields << mModel->fieldNameAt(c);
        mSavedWidths << columnWidth(c);
    }
}

int DBGrid::autoWidth(const db::Field* field) const
{
    if (!field)
        return horizontalHeader()->defaultSectionSize();
    const QFontMetrics fm = fontMetrics();
    int width = field->displayWidth() * fm.horizontalAdvance(QLatin1Char('0')) + 8;
    if (mOptions.testFlag(GridOption::Titles))
        width = qMax(width, fm.horizontalAdvance(field->displayLabel()) + 12);
    return width;
}

void DBGrid::applyLayout()
{
    const int n = mModel->columnCount();
    QStringList fields;
    for (int c = 0; c < n; ++c)
        fields << mModel->fieldNameAt(c);
    const bool sameColumns = !mSavedFields.isEmpty() && fields == mSavedFields;
    mApplyingLayout = true;
    for (int c = 0; c < n; ++c) {
        if (c < mColumns.size()) {
            const Column& col = mColumns[c];
            setColumnWidth(c, col.width > 0 ? col.width : autoWidth(mModel->fieldAt(c)));
            setColumnHidden(c, !col.visible);
        } else {
            setColumnWidth(c, sameColumns ? mSavedWidths[c] : autoWidth(mModel->fieldAt(c)));
            setColumnHidden(c, false);
        }
    }
    mApplyingLayout = false;
}
