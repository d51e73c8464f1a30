#include "DatasetTableModel.h"

#include "DBGrid.h"
#include "GridTestDataset.h"
#include "MemDataset.h"
#include "PgFixture.h"
#include "Query.h"
#include "Session.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

using db::DataType;

namespace {

const char* kClients = "select g as id, 'client ' || g as name, g * 1.5 as amount, "
                       "date '2024-01-01' + g as day, case when g % 2 = 0 then '+' else '-' end as rcheck "
                       "from generate_series(1, :n) g &ORDER &FIELD";

class DatasetTableModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!PgFixture::instance().available())
            return;
        session = PgFixture::instance().connect("tev_user");
        query = std::make_unique<db::Query>(session.get());
        query->setSql(kClients);
        query->setMacro("ORDER", "ORDER BY");
        query->setMacro("FIELD", "id");
        query->setParam("n", 50);
        query->setTakesLocalEdits(true);
    }

    std::unique_ptr<db::Session> session;
    std::unique_ptr<db::Query> query;
};

} // namespace

TEST_F(DatasetTableModelTest, PassesTheModelTesterThroughTheDatasetsLife)
{
    REQUIRE_PG();
    DatasetTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    query->defineField("AMOUNT").setVisible(false);
    query->defineField("NAME").setDisplayLabel(QStringLiteral("Название"));
    model.setCheckFieldName("RCHECK");
    model.setDataset(query.get());
    EXPECT_EQ(model.rowCount(), 0); // closed

    query->open();
    ASSERT_EQ(model.rowCount(), 50);
    ASSERT_EQ(model.columnCount(), 4); // ID, NAME, DAY, RCHECK: AMOUNT is hidden
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Название"));
    EXPECT_EQ(model.data(model.index(2, 0)).toString(), "3");
    EXPECT_EQ(model.data(model.index(2, 2)).toString(), "04.01.2024"); // the field's display text
    EXPECT_EQ(model.data(model.index(2, 0), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
              Qt::AlignRight);
    EXPECT_FALSE(model.data(model.index(1, 3)).isValid()); // the check column shows only its box
    EXPECT_EQ(model.data(model.index(1, 3), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(model.data(model.index(2, 3), Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_FALSE(model.data(model.index(2, 1), Qt::CheckStateRole).isValid());

    // Edits go through the dataset and come back as a changed row.
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setCheckable(true);
    EXPECT_TRUE(model.flags(model.index(2, 3)).testFlag(Qt::ItemIsUserCheckable));
    EXPECT_TRUE(model.setData(model.index(2, 3), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(query->value(2, query->fieldIndex("RCHECK")).toString(), "+");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.first().at(0).toModelIndex().row(), 2);
    query->setValueAt(7, query->fieldIndex("NAME"), QString("renamed"));
    EXPECT_EQ(model.data(model.index(7, 1)).toString(), "renamed");
    EXPECT_EQ(changed.count(), 2);

    // A filter resets the rows; so do a reopen and a close.
    query->setFilter("RCHECK = '+'");
    query->setFiltered(true);
    EXPECT_EQ(model.rowCount(), 26);
    query->setFiltered(false);
    query->setParam("n", 10);
    query->open();
    EXPECT_EQ(model.rowCount(), 10);
    // Visibility changed after the open shows once the columns are taken again.
    query->fieldByName("AMOUNT").setVisible(true);
    model.refreshColumns();
    EXPECT_EQ(model.columnCount(), 5);
    const QVariant title = model.headerData(4, Qt::Horizontal);
    query->close();
    EXPECT_EQ(model.rowCount(), 0);
    // A closed dataset (or one that failed to reopen) keeps its columns and their captions.
    EXPECT_EQ(model.columnCount(), 5);
    EXPECT_EQ(model.headerData(4, Qt::Horizontal), title);
}

TEST_F(DatasetTableModelTest, ColumnListNamesTheFields)
{
    REQUIRE_PG();
    query->open();
    DatasetTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setDataset(query.get());
    model.setColumnFields({"NAME", "MISSING", "ID"}, {"Client", "", ""});
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Client");
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "ID");
    EXPECT_EQ(model.fieldAt(1), nullptr);
    EXPECT_FALSE(model.data(model.index(0, 1)).isValid());
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), "1");
    EXPECT_EQ(model.columnOfField(query->fieldIndex("ID")), 2);
    query->close();
    EXPECT_EQ(model.columnCount(), 3); // the list stays, its fields are gone
    EXPECT_EQ(model.fieldAt(0), nullptr);
}

// Rows added in code are shown by the same model as a query's, through every change of the set.
TEST(DatasetTableModelMem, PassesTheModelTesterOverAnInMemoryDataset)
{
    db::MemDataset ds;
    ds.setColumns({{"ID", DataType::Integer}, {"NAME", DataType::String}, {"MARK", DataType::String}});
    ds.defineField("ID").setVisible(false);
    ds.appendRow({1, "Centre", "+"});
    ds.appendRow({2, "North", "-"});
    DatasetTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setCheckFieldName("MARK");
    model.setCheckable(true);
    model.setDataset(&ds);
    EXPECT_EQ(model.rowCount(), 0);

    ds.open();
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 2); // NAME, MARK
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), "North");
    EXPECT_EQ(model.data(model.index(0, 1), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_TRUE(model.setData(model.index(1, 1), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(ds.value(1, 2).toString(), "+");

    ds.appendRow({3, "South", "-"});
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(2, 0)).toString(), "South");
    ds.setFilter("MARK = '+'");
    ds.setFiltered(true);
    EXPECT_EQ(model.rowCount(), 2);
    ds.appendRow({4, "West", "+"});
    ds.appendRow({5, "East", "-"});
    EXPECT_EQ(model.rowCount(), 3);
    ds.setOrderBy("NAME DESC");
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "West");
    ds.clearRows();
    EXPECT_EQ(model.rowCount(), 0);
    ds.close();
    EXPECT_EQ(model.rowCount(), 0);
}

// Rows are read from the dataset when shown, never copied: a large list costs the model nothing.
TEST(DatasetTableModelLarge, ReadsRowsOnDemand)
{
    QList<GridTestDataset::Row> rows;
    for (int i = 0; i < 100000; ++i)
        rows.append({QString::number(i)});
    GridTestDataset ds({{"N", DataType::Integer}}, rows);
    ds.open();
    const std::size_t before = ds.memoryUsage();
    DatasetTableModel model;
    model.setDataset(&ds);
    EXPECT_EQ(model.rowCount(), 100000);
    EXPECT_EQ(model.data(model.index(99999, 0)).toString(), "99999");
    EXPECT_EQ(ds.memoryUsage(), before);
}

TEST_F(DatasetTableModelTest, GridAndDatasetRowsFollowEachOther)
{
    REQUIRE_PG();
    query->open();
    DBGrid grid;
    grid.setDataset(query.get());
    grid.resize(400, 300);
    grid.show();
    QApplication::processEvents();
    EXPECT_EQ(grid.currentIndex().row(), 0);

    query->setCurrentRow(30); // the dataset moves: the grid follows
    EXPECT_EQ(grid.currentIndex().row(), 30);
    EXPECT_EQ(grid.model()->headerData(30, Qt::Vertical).toString(), QStringLiteral("\u25B6"));
    EXPECT_TRUE(grid.model()->headerData(0, Qt::Vertical).toString().isEmpty());

    grid.setCurrentIndex(grid.model()->index(12, 1)); // the grid moves: the dataset follows
    EXPECT_EQ(query->currentRow(), 12);
    EXPECT_EQ(query->asString("ID"), "13");

    query->last();
    EXPECT_EQ(grid.currentIndex().row(), 49);
    EXPECT_EQ(grid.currentIndex().column(), 1); // the column stays

    // After a reopen the grid is on the dataset's row again and keeps its column widths.
    grid.setColumnWidth(1, 177);
    query->refresh();
    EXPECT_EQ(grid.currentIndex().row(), query->currentRow());
    EXPECT_EQ(grid.columnWidth(1), 177);
}
