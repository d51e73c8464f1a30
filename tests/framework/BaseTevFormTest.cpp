#include "Catalogue.h"
#include "DBGrid.h"
#include "FieldMarking.h"
#include "FindDialog.h"
#include "GridReport.h"
#include "GridTestDataset.h"
#include "IDBGrid.h"
#include "PgFixture.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "RecordingPresenter.h"
#include "Session.h"
#include "SortDialog.h"
#include "TTevBaseForm.h"
#include "TfmMainTEV.h"
#include "TfrmMainTevBaseSelect.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

using db::DataType;

namespace {

std::unique_ptr<GridTestDataset> cities()
{
    auto ds = std::make_unique<GridTestDataset>(
        QList<GridTestDataset::Column>{{"ID", DataType::Integer},
                                       {"NAME", DataType::String},
                                       {"ISVISIBLE", DataType::Integer},
                                       {"SECRET", DataType::String}},
        QList<GridTestDataset::Row>{{QString("1"), QString("Москва"), QString("1"), QString("a")},
                                    {QString("2"), QString("Тверь"), QString("0"), QString("b")},
                                    {QString("3"), QString("Омск"), QString("0"), QString("c")}});
    ds->defineField("NAME").setDisplayLabel(QStringLiteral("Город"));
    ds->defineField("SECRET").setVisible(false);
    ds->open();
    return ds;
}

// A light list window: a grid, its navigator and an edit box.
class TevListWindow : public TfmMainTEV
{
public:
    explicit TevListWindow(db::Dataset* dataset)
    {
        auto* layout = new QVBoxLayout(this);
        grid = new DBGrid(this);
        grid->setObjectName("grdCities");
        grid->setHint(QStringLiteral("Города"));
        grid->setDataset(dataset);
        navigator = new RecordNavigator(this);
        navigator->setDataset(dataset);
        edit = new QLineEdit(this);
        layout->addWidget(grid);
        layout->addWidget(navigator);
        layout->addWidget(edit);
        resize(400, 300);
    }

    DBGrid* grid;
    RecordNavigator* navigator;
    QLineEdit* edit;
};

} // namespace

TEST(TTevBaseForm, NavigatorsGetTheCatalogueHintsAndGridsTheWheel)
{
    auto ds = cities();
    TevListWindow window(ds.get());
    window.ensureCreated();

    const QStringList hints = window.navigator->hints();
    ASSERT_EQ(hints.size(), RecordNavigator::kButtonCount);
    EXPECT_EQ(hints[RecordNavigator::nbFirst], lang::tr(u"rstrFirstRec"));
    EXPECT_EQ(hints[RecordNavigator::nbPrior], lang::tr(u"rstrPriorRec"));
    EXPECT_EQ(hints[RecordNavigator::nbNext], lang::tr(u"rstrNextRec"));
    EXPECT_EQ(hints[RecordNavigator::nbLast], lang::tr(u"rstrLastRec"));
    for (int b = RecordNavigator::nbInsert; b <= RecordNavigator::nbCancel; ++b)
        EXPECT_TRUE(hints[b].isEmpty()) << b;
    EXPECT_EQ(hints[RecordNavigator::nbRefresh], QStringLiteral("Обновить данные"));
    EXPECT_TRUE(window.navigator->showHints());
    EXPECT_EQ(window.navigator->button(RecordNavigator::nbNext)->toolTip(),
              QStringLiteral("На следующую запись"));

    // Towards the user: next record; away: previous; the turn is taken either way.
    ds->setCurrentRow(0);
    sendWheel(window.grid->viewport(), -120);
    EXPECT_EQ(ds->currentRow(), 1);
    sendWheel(window.grid->viewport(), -120);
    sendWheel(window.grid->viewport(), -120);
    EXPECT_EQ(ds->currentRow(), 2);
    sendWheel(window.grid->viewport(), 120);
    EXPECT_EQ(ds->currentRow(), 1);
}

TEST(TTevBaseForm, PaintsCheckBoxFieldsByFamily)
{
    DBGrid standard(DBGrid::Family::Standard);
    DBGrid unicode(DBGrid::Family::Unicode);
    struct Case
    {
        const DBGrid* grid;
        const char* field;
        bool box;
    } cases[] = {{&standard, "ISVISIBLE", true}, {&standard, "isupdate", true},
                 {&standard, "RCHECK", false},   {&standard, "NAME", false},
                 {&unicode, "RCHECK", true},     {&unicode, "ISVISIBLE", true}};
    for (const Case& c : cases)
        EXPECT_EQ(TTevBaseForm::isCheckBoxField(*c.grid, c.field), c.box) << c.field;

    // The window's painter takes the ISVISIBLE cells and leaves the others to the grid.
    auto ds = cities();
    TevListWindow window(ds.get());
    window.ensureCreated();
    ASSERT_TRUE(window.grid->drawCellHook());
    QImage image(40, 20, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    DrawCellContext cell;
    cell.painter = &painter;
    cell.option = &option;
    cell.rect = QRect(0, 0, 40, 20);
    cell.row = 0;
    cell.field = &ds->fieldByName("ISVISIBLE");
    EXPECT_TRUE(window.grid->drawCellHook()(cell));
    cell.field = &ds->fieldByName("NAME");
    EXPECT_FALSE(window.grid->drawCellHook()(cell));
    painter.end();
    // The other cell got the window colour before the grid painted it.
    EXPECT_EQ(image.pixelColor(20, 10), window.grid->palette().base().color());
}

TEST(TTevBaseForm, CtrlDelIsSwallowed)
{
    auto ds = cities();
    TevListWindow window(ds.get());
    QStringList keysSeen;
    window.grid->setKeyDownHook([&](QKeyEvent* e) {
        keysSeen << QKeySequence(e->keyCombination()).toString();
        return false;
    });
    ASSERT_TRUE(showActive(window));
    window.grid->setFocus();
    QSignalSpy swallowed(window.actCtrlDelBlock(), &QAction::triggered);
    QTest::keyClick(window.grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(swallowed.count(), 1);
    EXPECT_FALSE(keysSeen.contains("Ctrl+Del"));
    QTest::keyClick(window.grid, Qt::Key_Down);
    EXPECT_TRUE(keysSeen.contains("Down")); // other keys still reach the grid
    EXPECT_EQ(ds->recordCount(), 3);
}

TEST(TfmMainTEV, ShortcutsReachTheGridToolsWithMarkedFields)
{
    auto ds = cities();
    TevListWindow window(ds.get());
    ToolsRunner tools;
    RecordingPresenter presenter;
    ASSERT_TRUE(showActive(window));
    window.grid->setFocus();

    EXPECT_EQ(window.acFind()->text(), lang::tr(u"rstrFind"));
    EXPECT_EQ(window.acFind()->shortcut(), QKeySequence("Ctrl+F"));
    EXPECT_EQ(window.acSort()->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(window.acFilter()->shortcut(), QKeySequence("Ctrl+A"));
    EXPECT_EQ(window.acReport()->shortcut(), QKeySequence("Ctrl+R"));

    // Ctrl+F: the fields are marked before the dialog opens, which starts at the first field.
    tools.answer = answerAs<gridtools::FindDialog>([&](gridtools::FindDialog& d) {
        EXPECT_EQ(ds->fieldByName("NAME").tag(), kGridToolsDataFieldTag);
        EXPECT_EQ(ds->fieldByName("SECRET").tag(), 0); // hidden with a plain label
        EXPECT_EQ(d.criteria().fieldIndex, 0);
        d.setFieldIndex(ds->fieldIndex("NAME"));
        d.setSearchText(QStringLiteral("омск"));
        return int(QDialog::Accepted);
    });
    QTest::keyClick(window.grid, Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(tools.dialogs, QStringList{"gridtools::FindDialog"});
    EXPECT_TRUE(tools.titles.value(0).contains(QStringLiteral("Города")));
    EXPECT_EQ(ds->currentRow(), 2);
    EXPECT_EQ(window.SearchField(ds.get()), QStringLiteral("NAME"));

    // The next find starts at the remembered field.
    tools.answer = answerAs<gridtools::FindDialog>([&](gridtools::FindDialog& d) {
        EXPECT_EQ(d.criteria().fieldIndex, ds->fieldIndex("NAME"));
        return int(QDialog::Rejected);
    });
    window.acFind()->trigger();
    EXPECT_EQ(tools.dialogs.size(), 2);

    // Ctrl+R: the report of the marked columns.
    tools.answer = answerAs<gridtools::GridReport>([&](gridtools::GridReport& r) {
        EXPECT_EQ(r.table().title, QStringLiteral("Города"));
        return int(QDialog::Accepted);
    });
    QTest::keyClick(window.grid, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(tools.dialogs.size(), 3);

    // Ctrl+S on a dataset that is no query: a box, no dialog.
    tools.answer = nullptr;
    QTest::keyClick(window.grid, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, QStringLiteral("Сортировка представленных данных невозможна"));
    EXPECT_EQ(tools.dialogs.size(), 3);

    // With the focus elsewhere nothing happens; Ctrl+A stays the edit box's select-all.
    window.edit->setText("abc");
    window.edit->setFocus();
    QTest::keyClick(window.edit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(window.edit->selectedText(), "abc");
    window.acFind()->trigger();
    window.acReport()->trigger();
    window.acSort()->trigger();
    EXPECT_EQ(tools.dialogs.size(), 3);
    EXPECT_EQ(presenter.count(), 1);
}

TEST(TfmMainTEV, FindAndReportNeedRows)
{
    auto ds = std::make_unique<GridTestDataset>(QList<GridTestDataset::Column>{{"NAME", DataType::String}},
                                                QList<GridTestDataset::Row>{});
    ds->open();
    TevListWindow window(ds.get());
    ToolsRunner tools;
    window.ensureCreated();
    window.grid->setFocus();
    window.acFind()->trigger();
    window.acReport()->trigger();
    EXPECT_TRUE(tools.dialogs.isEmpty());
}

TEST(TfmMainTEV, SortsAndFiltersAPortalQuery)
{
    REQUIRE_PG();
    auto session = PgFixture::instance().connect();
    db::Query query(session.get());
    query.setObjectName("qryConfigs");
    query.setSql("SELECT param_name, param_val FROM tev.v_tev_configs\n&ORDER &FIELD");
    query.setMacro("ORDER", "ORDER BY");
    query.setMacro("FIELD", "PARAM_NAME");
    query.defineField("PARAM_NAME").setDisplayLabel(QStringLiteral("Параметр"));
    query.defineField("PARAM_VAL").setDisplayLabel(QStringLiteral("Значение"));
    query.open();
    ASSERT_GT(query.recordCount(), 1);
    TevListWindow window(&query);
    ToolsRunner tools;
    window.ensureCreated();
    window.grid->setFocus();

    tools.answer = answerAs<gridtools::SortDialog>([&](gridtools::SortDialog& d) {
        EXPECT_EQ(query.fieldByName("PARAM_VAL").tag(), kGridToolsDataFieldTag);
        d.setOrder({{"PARAM_NAME", true}});
        return int(QDialog::Accepted);
    });
    window.acSort()->trigger();
    EXPECT_EQ(query.macroByName("FIELD").value(), "PARAM_NAME DESC");
    ASSERT_TRUE(query.isOpen());
    EXPECT_GE(query.value(0, 0).toString(), query.value(query.recordCount() - 1, 0).toString());

    tools.answer = nullptr;
    window.acFilter()->trigger();
    EXPECT_EQ(tools.dialogs.last(), "gridtools::FilterDialog");
}

TEST(TfrmMainTevBaseSelect, ClickSpaceAndTheBulkActions)
{
    auto ds = cities();
    TfrmMainTevBaseSelect window;
    window.SetListDataset(ds.get());
    window.ensureCreated();
    EXPECT_TRUE(ds->takesLocalEdits());
    EXPECT_EQ(window.acCheckAll()->toolTip(), QStringLiteral("Выделить все"));
    EXPECT_EQ(window.acUnCheckAll()->toolTip(), QStringLiteral("Снять выделение"));
    EXPECT_EQ(window.acInvertCheck()->toolTip(), QStringLiteral("Обратить выделение"));
    EXPECT_EQ(window.btnOk()->text(), QStringLiteral("Выполнить"));
    EXPECT_EQ(window.btnCancel()->text(), QStringLiteral("Выход"));
    EXPECT_EQ(window.navList()->hint(RecordNavigator::nbFirst), lang::tr(u"rstrFirstRec"));

    const int check = ds->fieldIndex("ISVISIBLE");
    auto marks = [&] {
        QString s;
        for (int r = 0; r < ds->recordCount(); ++r)
            s += ds->value(r, check).isNull() ? QStringLiteral("n") : ds->value(r, check).toString();
        return s;
    };
    DBGrid* grid = window.grdList();
    grid->resize(400, 200);
    ASSERT_EQ(marks(), "100");

    // Space flips the current row; a click on the ISVISIBLE cell too, on other cells nothing.
    ds->setCurrentRow(1);
    ASSERT_TRUE(grid->keyDownHook());
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    EXPECT_TRUE(grid->keyDownHook()(&space));
    EXPECT_EQ(marks(), "110");
    int checkColumn = -1, nameColumn = -1;
    for (int c = 0; c < grid->gridColumnCount(); ++c) {
        if (grid->columnField(c) && grid->columnField(c)->name() == "ISVISIBLE")
            checkColumn = c;
        if (grid->columnField(c) && grid->columnField(c)->name() == "NAME")
            nameColumn = c;
    }
    ASSERT_GE(checkColumn, 0);
    grid->cellClickHook()(1, checkColumn);
    EXPECT_EQ(marks(), "100");
    grid->cellClickHook()(1, nameColumn);
    EXPECT_EQ(marks(), "100");

    // The bulk actions work past the list's own filter and keep the current row.
    ds->setFilter("ID > 1");
    ds->setFiltered(true);
    ds->setCurrentRow(1); // ID 3
    window.acCheckAll()->trigger();
    EXPECT_EQ(ds->recordCount(), 2);
    EXPECT_EQ(ds->value("ID").toInt(), 3);
    window.acInvertCheck()->trigger();
    window.acInvertCheck()->trigger();
    EXPECT_EQ(ds->value("ID").toInt(), 3);
    ds->setFiltered(false);
    EXPECT_EQ(marks(), "111");
    ds->setCurrentRow(1);
    window.acUnCheckAll()->trigger();
    EXPECT_EQ(marks(), "000");
    window.acInvertCheck()->trigger();
    EXPECT_EQ(marks(), "111");
    EXPECT_EQ(ds->value("ID").toInt(), 2);
}
