#include "DBGrid.h"
#include "DatasetTableModel.h"
#include "GridTestDataset.h"
#include "TDBGridIntObj.h"
#include "TDBIntList.h"
#include "TTntDBGridIntObj.h"
#include "TwwDBGridIntObj.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using db::DataType;

namespace {

std::unique_ptr<TGridInterfaced> makeAdapter(GridIntClass cls, DBGrid* grid)
{
    return TDBIntList::create(cls, grid);
}

// One row whose check column has the given type and text.
std::unique_ptr<GridTestDataset> checkDataset(DataType type, std::optional<QString> value)
{
    auto ds = std::make_unique<GridTestDataset>(
        QList<GridTestDataset::Column>{{"ID", DataType::Integer}, {"RCHECK", type}},
        QList<GridTestDataset::Row>{{QString("1"), value}});
    ds->open();
    return ds;
}

// Records the events a widget receives of the kinds asked for.
class EventLog : public QObject
{
public:
    QList<QEvent::Type> types;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Hide || e->type() == QEvent::Show)
            types << e->type();
        return false;
    }
};

} // namespace

TEST(GridAdapters, CheckValueRulesByFamily)
{
    struct Case
    {
        GridIntClass adapter;
        DataType type;
        std::optional<QString> stored;
        bool marked;
    };
    const auto S = GridIntClass::TDBGridIntObj, T = GridIntClass::TTntDBGridIntObj,
               W = GridIntClass::TwwDBGridIntObj;
    const Case cases[] = {
        {S, DataType::String, "+", true},         {S, DataType::String, "-", false},
        {S, DataType::String, "1", false},        {S, DataType::Integer, "1", true},
        {S, DataType::Integer, "2", false},       {S, DataType::Integer, "0", false},
        {S, DataType::Float, "1", true},          {S, DataType::Float, "0.5", false},
        {S, DataType::Boolean, "t", true},        {S, DataType::Boolean, "f", false},
        {S, DataType::Date, "2024-01-01", false}, {S, DataType::String, std::nullopt, false},
        {T, DataType::String, "+", true},         {T, DataType::Float, "1", true},
        {T, DataType::Integer, "2", false},       {W, DataType::String, "+", true},
        {W, DataType::String, "1", false},        {W, DataType::Integer, "1", true},
        {W, DataType::Integer, "2", false},       {W, DataType::Boolean, "t", true},
        {W, DataType::Float, "1", false},         {W, DataType::Integer, std::nullopt, false},
    };
    for (const Case& c : cases) {
        DBGrid grid;
        auto ds = checkDataset(c.type, c.stored);
        grid.setDataset(ds.get());
        auto adapter = makeAdapter(c.adapter, &grid);
        adapter->SetCheckFieldName("RCHECK");
        const std::string label = std::to_string(int(c.adapter)) + " " + db::dataTypeName(c.type) + " " +
                                  (c.stored ? c.stored->toStdString() : "null");
        EXPECT_EQ(adapter->GetCheckValue(), c.marked) << label;
        // The model's check box follows the same rules.
        const QModelIndex cell = grid.model()->index(0, 1);
        EXPECT_EQ(grid.model()->data(cell, Qt::CheckStateRole).toInt(),
                  c.marked ? Qt::Checked : Qt::Unchecked)
            << label;
    }
}

TEST(GridAdapters, WritingMarksByFamily)
{
    struct Case
    {
        GridIntClass adapter;
        DataType type;
        QVariant marked, unmarked; // invalid: the type cannot be marked
    };
    const Case cases[] = {
        {GridIntClass::TDBGridIntObj, DataType::String, QString("+"), QString("-")},
        {GridIntClass::TDBGridIntObj, DataType::Integer, 1, 0},
        {GridIntClass::TDBGridIntObj, DataType::Float, 1.0, 0.0},
        {GridIntClass::TDBGridIntObj, DataType::Boolean, true, false},
        {GridIntClass::TDBGridIntObj, DataType::Date, {}, {}},
        {GridIntClass::TwwDBGridIntObj, DataType::String, QString("+"), QString("-")},
        {GridIntClass::TwwDBGridIntObj, DataType::Integer, 1, 0},
        {GridIntClass::TwwDBGridIntObj, DataType::Boolean, true, false},
        {GridIntClass::TwwDBGridIntObj, DataType::Float, {}, {}},
    };
    for (const Case& c : cases) {
        DBGrid grid;
        auto ds = checkDataset(c.type, std::nullopt);
        grid.setDataset(ds.get());
        auto adapter = makeAdapter(c.adapter, &grid);
        adapter->SetCheckFieldName("RCHECK");
        const db::Field& f = ds->fieldByName("RCHECK");
        const std::string label = std::to_string(int(c.adapter)) + " " + db::dataTypeName(c.type);
        EXPECT_EQ(adapter->CheckValueFor(f, true).isValid(), c.marked.isValid()) << label;
        if (!c.marked.isValid())
            continue;
        EXPECT_EQ(adapter->CheckValueFor(f, true), c.marked) << label;
        EXPECT_EQ(adapter->CheckValueFor(f, false), c.unmarked) << label;
        adapter->SetCheckValue(true);
        EXPECT_TRUE(adapter->GetCheckValue()) << label;
        EXPECT_FALSE(ds->isEditing()) << label;
        adapter->SetCheckValue(false);
        EXPECT_FALSE(adapter->GetCheckValue()) << label;
    }
}

TEST(GridAdapters, SetCheckValuePostsOnlyWhatItStarted)
{
    DBGrid grid;
    auto ds = checkDataset(DataType::String, QString("-"));
    grid.setDataset(ds.get());
    TDBGridIntObj adapter(&grid);
    adapter.SetCheckFieldName("RCHECK");
    QSignalSpy changed(ds.get(), &db::Dataset::rowChanged);

    adapter.SetCheckValue(true);
    EXPECT_EQ(ds->value(0, 1).toString(), "+");
    EXPECT_EQ(changed.count(), 1);
    adapter.SetCheckValue(true); // already marked: nothing written, nothing posted
    EXPECT_EQ(changed.count(), 1);

    ds->edit(); // an edit the window started stays open
    adapter.SetCheckValue(false);
    EXPECT_TRUE(ds->isEditing());
    EXPECT_EQ(ds->value("RCHECK").toString(), "-");
    ds->post();
    EXPECT_EQ(ds->value(0, 1).toString(), "-");
}

TEST(GridAdapters, HasCheckFieldByFamily)
{
    DBGrid grid;
    grid.setObjectName("grdEvents");
    auto ds = checkDataset(DataType::String, QString("+"));
    ds->fieldByName("RCHECK").setVisible(false);
    grid.setDataset(ds.get());
    TDBGridIntObj standard(&grid);
    TTntDBGridIntObj unicode(&grid);
    standard.SetCheckFieldName("RCHECK");
    unicode.SetCheckFieldName("RCHECK");
    EXPECT_FALSE(standard.HasCheckField()); // hidden does not count for these two
    EXPECT_FALSE(unicode.HasCheckField());
    ds->fieldByName("RCHECK").setVisible(true);
    EXPECT_TRUE(standard.HasCheckField());
    standard.SetCheckFieldName("MISSING");
    EXPECT_FALSE(standard.HasCheckField());

    DBGrid extendedGrid(DBGrid::Family::Extended);
    extendedGrid.setObjectName("grdJournal");
    TwwDBGridIntObj extended(&extendedGrid);
    extended.SetCheckFieldName("RCHECK");
    try {
        extended.HasCheckField();
        ADD_FAILURE() << "no dataset must be reported";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(),
                     "TwwDBGridIntObj.GetIsNeedCheck: Not set DataSet for main Grid=\"grdJournal\"");
    }
    ds->fieldByName("RCHECK").setVisible(false);
    extended.SetDataSet(ds.get());
    EXPECT_TRUE(extended.HasCheckField()); // existence is enough
}

TEST(GridAdapters, ExtendedColumnsComeFromFields)
{
    GridTestDataset ds({{"ID", DataType::Integer}, {"NAME", DataType::String}},
                       {{QString("1"), QString("a")}});
    ds.defineField("NAME").setDisplayLabel(QStringLiteral("Название"));
    ds.defineField("NAME").setDisplayWidth(25);
    ds.open();
    DBGrid grid(DBGrid::Family::Extended);
    grid.setDataset(&ds);
    TwwDBGridIntObj extended(&grid);
    TDBGridIntObj standard(&grid);
    ASSERT_EQ(extended.ColumnCount(), 2);
    EXPECT_EQ(extended.GetColumnTitle(1), QStringLiteral("Название"));
    EXPECT_EQ(extended.GetColumnWidth(1), 25);                  // characters
    EXPECT_EQ(standard.GetColumnWidth(1), grid.columnWidth(1)); // pixels
    EXPECT_EQ(extended.GetColumnField(0), &ds.fieldByName("ID"));
    EXPECT_TRUE(extended.GetColumnVisible(0));

    // A persistent column list names the fields, shows its own titles and hides what it hides.
    DBGrid listed;
    listed.setDataset(&ds);
    listed.setColumns({{"NAME", "Client", 120, true}, {"ID", {}, 0, false}, {"GONE", "Gone", 50, true}});
    TDBGridIntObj adapter(&listed);
    ASSERT_EQ(adapter.ColumnCount(), 3);
    EXPECT_EQ(adapter.GetColumnTitle(0), "Client");
    EXPECT_EQ(adapter.GetColumnTitle(1), "ID");
    EXPECT_EQ(adapter.GetColumnWidth(0), 120);
    EXPECT_FALSE(adapter.GetColumnVisible(1));
    EXPECT_EQ(adapter.GetColumnField(2), nullptr);
    ds.close();
    EXPECT_EQ(adapter.GetColumnField(0), nullptr);
}

TEST(GridAdapters, FitColumnArithmetic)
{
    struct Case
    {
        const char* name;
        int client, others, indicator, columns, minimum;
        std::optional<int> width;
    };
    const Case cases[] = {
        {"three 100 px columns on 400 px", 400, 200, 0, 3, 0, 196},
        {"minimum equal to the free width", 400, 200, 0, 3, 196, 196},
        {"minimum above the free width", 400, 200, 0, 3, 197, std::nullopt},
        {"indicator takes its width", 400, 200, 11, 3, 0, 185},
        {"never below 20 pixels", 223, 200, 0, 3, 0, std::nullopt},
        {"exactly 20 pixels", 224, 200, 0, 3, 0, 20},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TGridInterfaced::fitColumnWidth(c.client, c.others, c.indicator, c.columns, c.minimum),
                  c.width)
            << c.name;
}

TEST(GridAdapters, FitColumnOnAGrid)
{
    GridTestDataset ds({{"A", DataType::String}, {"B", DataType::String}, {"C", DataType::String}},
                       {{QString("1"), QString("2"), QString("3")}});
    ds.open();
    DBGrid grid;
    grid.setFrameShape(QFrame::NoFrame);
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setOptions(grid.options() & ~GridOptions(GridOption::Indicator));
    grid.setDataset(&ds);
    for (int c = 0; c < 3; ++c)
        grid.setColumnWidth(c, 100);
    grid.resize(400, 200);
    grid.show();
    QApplication::processEvents();
    ASSERT_EQ(grid.viewport()->width(), 400);
    TDBGridIntObj adapter(&grid);
    adapter.FitColumn(1, 150);
    EXPECT_EQ(grid.columnWidth(1), 196);
    adapter.FitColumn(3, 0); // beyond the last column: nothing
    adapter.FitLastColumn(500);
    EXPECT_EQ(grid.columnWidth(2), 100);
}

TEST(GridAdapters, ControlsOnTheGridSitOutTheScroll)
{
    QList<GridTestDataset::Row> rows;
    for (int i = 0; i < 200; ++i)
        rows.append({QString::number(i)});
    GridTestDataset ds({{"N", DataType::Integer}}, rows);
    ds.open();
    DBGrid grid;
    grid.setDataset(&ds);
    grid.resize(200, 150);
    auto* button = new QPushButton("F", &grid);
    button->setObjectName("grd_SQLFilterButton");
    grid.show();
    QApplication::processEvents();
    ASSERT_TRUE(grid.placedControls().contains(button));
    ASSERT_EQ(grid.placedControls().size(), 1);

    TDBGridIntObj adapter(&grid);
    EventLog log;
    button->installEventFilter(&log);
    grid.verticalScrollBar()->setValue(50);
    EXPECT_EQ(log.types, (QList<QEvent::Type>{QEvent::Hide, QEvent::Show}));
    EXPECT_TRUE(button->isVisible());

    // A button the window hid stays hidden.
    button->hide();
    log.types.clear();
    grid.verticalScrollBar()->setValue(10);
    EXPECT_FALSE(button->isVisible());
    EXPECT_TRUE(log.types.isEmpty());
}

TEST(GridAdapters, HooksAndHandlers)
{
    QList<GridTestDataset::Row> rows;
    for (int i = 0; i < 5; ++i)
        rows.append({QString::number(i), QString("name %1").arg(i)});
    GridTestDataset ds({{"ID", DataType::Integer}, {"NAME", DataType::String}}, rows);
    ds.open();
    DBGrid grid;
    grid.setDataset(&ds);
    grid.resize(300, 200);
    grid.show();
    QApplication::processEvents();

    // A painting hook the grid already has keeps the adapter's handler out.
    int own = 0, handled = 0;
    grid.setDrawCellHook([&](const DrawCellContext&) {
        ++own;
        return false;
    });
    {
        TDBGridIntObj adapter(&grid);
        adapter.SetOnDrawCell([&](IDBGrid&, const DrawCellContext&) {
            ++handled;
            return false;
        });
        grid.grab();
        EXPECT_GT(own, 0);
        EXPECT_EQ(handled, 0);
    }
    grid.setDrawCellHook({});
    TDBGridIntObj adapter(&grid);
    QList<QString> painted;
    adapter.SetOnDrawCell([&](IDBGrid& g, const DrawCellContext& cell) {
        EXPECT_EQ(&g, &adapter);
        if (cell.field)
            painted << cell.field->name();
        return false;
    });
    grid.grab();
    EXPECT_TRUE(painted.contains("NAME"));

    // A click reports the clicked column's field with the clicked row already current.
    db::Field* clicked = nullptr;
    int rowAtClick = -1;
    adapter.SetOnCellClick([&](IDBGrid&, db::Field* f) {
        clicked = f;
        rowAtClick = ds.currentRow();
    });
    const QRect cell = grid.visualRect(grid.model()->index(3, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(clicked, &ds.fieldByName("NAME"));
    EXPECT_EQ(rowAtClick, 3);

    int keys = 0;
    adapter.SetOnKeyDown([&](IDBGrid&, QKeyEvent* e) {
        ++keys;
        return e->key() == Qt::Key_Space;
    });
    QTest::keyClick(&grid, Qt::Key_Space);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(keys, 2);
    EXPECT_EQ(ds.currentRow(), 4); // Down went on to the grid, Space did not

    // Another dataset: the handler hears of it first; the same one again says nothing.
    GridTestDataset other({{"X", DataType::String}}, {{QString("x")}});
    other.open();
    QList<db::Dataset*> announced, before;
    adapter.SetOnDataSetChange([&](IDBGrid& g, db::Dataset* d) {
        before << g.GetDataSet();
        announced << d;
    });
    adapter.SetDataSet(&other);
    adapter.SetDataSet(&other);
    EXPECT_EQ(announced, QList<db::Dataset*>{&other});
    EXPECT_EQ(before, QList<db::Dataset*>{&ds});
    EXPECT_EQ(grid.dataset(), &other);
    adapter.SetDataSet(nullptr);
    EXPECT_EQ(adapter.GetDataSet(), nullptr);
}

TEST(GridAdapters, ExtendedGridClickPassesTheSelectedField)
{
    GridTestDataset ds({{"ID", DataType::Integer}, {"NAME", DataType::String}},
                       {{QString("1"), QString("a")}, {QString("2"), QString("b")}});
    ds.open();
    DBGrid grid(DBGrid::Family::Extended);
    grid.setDataset(&ds);
    grid.resize(300, 200);
    grid.show();
    QApplication::processEvents();
    TwwDBGridIntObj adapter(&grid);
    QList<db::Field*> fields;
    adapter.SetOnCellClick([&](IDBGrid&, db::Field* f) { fields << f; });
    const QRect cell = grid.visualRect(grid.model()->index(1, 0));
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(fields.size(), 1); // on the press already
    EXPECT_EQ(fields.first(), &ds.fieldByName("ID"));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(fields.size(), 1);
}

TEST(GridAdapters, AdapterList)
{
    DBGrid a, b, c;
    TDBIntList list;
    EXPECT_EQ(list.add(GridIntClass::TGridInterfaced, &c), nullptr); // no adapter class, nothing kept
    TGridInterfaced* first = list.add(GridIntClass::TDBGridIntObj, &a);
    TGridInterfaced* second = list.add(GridIntClass::TwwDBGridIntObj, &b);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.FindByGrid(&a), first);
    EXPECT_EQ(list.FindByGrid(&b), second);
    EXPECT_EQ(list.FindByGrid(&c), nullptr);
    EXPECT_EQ(&list.GetItem(1), second);
    EXPECT_NE(dynamic_cast<TwwDBGridIntObj*>(&list.GetItem(1)), nullptr);
    try {
        list.GetItem(2);
        ADD_FAILURE() << "index 2 holds no adapter";
    } catch (const std::out_of_range& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  QStringLiteral("TDBIntList.GetItem(2): не смог взять интерфейс IDBGrid."));
    }
    // A released adapter leaves nothing of itself on the grid.
    first->SetOnCellClick([](IDBGrid&, db::Field*) {});
    first->SetOnKeyDown([](IDBGrid&, QKeyEvent*) { return true; });
    EXPECT_TRUE(bool(a.cellClickHook()));
    list.clear();
    EXPECT_FALSE(bool(a.cellClickHook()));
    EXPECT_FALSE(bool(a.keyDownHook()));
}
