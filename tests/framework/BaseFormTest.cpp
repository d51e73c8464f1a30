#include "Component.h"
#include "DBGrid.h"
#include "DbHelpers.h"
#include "FilterDialog.h"
#include "FindDialog.h"
#include "FrameworkFiles.h"
#include "GridTestDataset.h"
#include "IniFile.h"
#include "Package.h"
#include "PgFixture.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "RecordingPresenter.h"
#include "Session.h"
#include "SortOrderStore.h"
#include "StoredProc.h"
#include "TBaseForm.h"
#include "TDBGridIntObj.h"
#include "TDBGridOfQuery.h"
#include "TDlgBaseForm.h"
#include "TMainBaseForm.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>

using db::DataType;

namespace {

const QString kConfigsSql =
    QStringLiteral("SELECT '-' AS rcheck, param_name, param_val FROM &shema.v_tev_configs\n"
                   "&ORDER &FIELD");
const QString kCrLf = QStringLiteral("\r\n");

// A list window over the portal's settings, with a check column, a navigator and a button.
class ConfigsWindow : public TMainBaseForm
{
public:
    ConfigsWindow(const QString& shema, db::Session* session, bool openAtCreation = true)
        : TMainBaseForm(nullptr, shema, session), mOpen(openAtCreation)
    {
        setObjectName("fmConfigs");
        qry = new db::Query(this);
        qry->setObjectName("qryConfigs");
        qry->setSql(kConfigsSql);
        qry->setMacro("ORDER", "ORDER BY");
        qry->setMacro("FIELD", "PARAM_NAME");
        qry->setTakesLocalEdits(true);
        qry->defineField("PARAM_NAME").setDisplayLabel(QStringLiteral("Параметр"));
        qry->defineField("PARAM_VAL").setDisplayLabel(QStringLiteral("Значение"));
        qry->defineField("RCHECK").setDisplayLabel(QStringLiteral("В отчет"));
        auto* layout = new QVBoxLayout(ClientPanel());
        grid = new DBGrid(ClientPanel());
        grid->setObjectName("grdConfigs");
        grid->setHint(QStringLiteral("Настройки"));
        grid->setDataset(qry);
        navigator = new RecordNavigator(ClientPanel());
        navigator->setDataset(qry);
        button = new QPushButton("button", ClientPanel());
        layout->addWidget(grid);
        layout->addWidget(navigator);
        layout->addWidget(button);
        SetCurrentQuery(qry);
        resize(500, 400);
    }

    using TBaseForm::ActionsUpdate;
    using TBaseForm::DrawCheckCell;

    bool HasSelectedRange() override { return range; }
    std::pair<int, int> GetRangeBoundA() override { return boundA; }
    std::pair<int, int> GetRangeBoundB() override { return boundB; }
    void RecordCountChanged(db::Dataset* dataset) override { countChanges << dataset; }
    void BeforeSaveSettings() override { ++saves; }
    void FormCreate() override
    {
        if (mOpen)
            qry->open();
        if (onCreate)
            onCreate();
    }

    db::Query* qry;
    DBGrid* grid;
    RecordNavigator* navigator;
    QPushButton* button;
    bool range = false;
    std::pair<int, int> boundA{0, 0};
    std::pair<int, int> boundB{0, 0};
    QList<db::Dataset*> countChanges;
    int saves = 0;
    std::function<void()> onCreate;

private:
    bool mOpen;
};

class BaseFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        FrameworkFiles::setFolder(mDir.path());
    }
    void TearDown() override { FrameworkFiles::setFolder(QString()); }

    std::unique_ptr<db::Session> connect() { return PgFixture::instance().connect(); }
    QString orderSection(const QString& scope) const
    {
        return scope + "/" + FrameworkFiles::programFileName() + "/OrderBy";
    }
    lang::IniFile store() const { return lang::IniFile(mDir.filePath("ZadUvazUDU.INI")); }
    void writeFile(const QString& name, const QByteArray& text)
    {
        QFile f(mDir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    static QString marks(const db::Dataset& ds)
    {
        QString s;
        for (int r = 0; r < ds.recordCount(); ++r)
            s += ds.value(r, ds.fieldIndex("RCHECK")).toString();
        return s;
    }

    QTemporaryDir mDir;
};

int columnOf(const DBGrid& grid, const QString& field)
{
    for (int c = 0; c < grid.gridColumnCount(); ++c)
        if (grid.columnField(c) && grid.columnField(c)->name() == field)
            return c;
    return -1;
}

} // namespace

TEST_F(BaseFormTest, BindsItsComponentsToTheSessionAndSchema)
{
    db::Session session;
    session.setUsername("WEB1");
    struct Case
    {
        const char* name;
        QString shema;
        QString expected;
    } cases[] = {{"empty schema: the user's", "", "WEB1"}, {"given schema, trimmed", "  tev ", "tev"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigsWindow window(c.shema, &session, false);
        auto* fixed = new db::Query(&window);
        fixed->setObjectName("qryFixed");
        fixed->setSql("SELECT * FROM &shema.v_tev_configs");
        fixed->setMacro("shema", "LNR");
        db::setComponentTag(fixed, 1);
        window.ensureCreated();
        EXPECT_TRUE(window.isBound());
        EXPECT_EQ(window.GetShema(), c.expected);
        EXPECT_EQ(window.qry->macroByName("shema").value(), c.expected);
        EXPECT_EQ(window.qry->session(), &session);
        EXPECT_EQ(window.OraQuery1()->session(), &session);
        EXPECT_EQ(window.PARAM_PACK()->packageName(), c.expected + ".PARAM_PACK");
        // A tagged query keeps its schema but takes the session.
        EXPECT_EQ(fixed->macroByName("shema").value(), "LNR");
        EXPECT_EQ(fixed->session(), &session);
    }

    // Later changes rebind everything at once.
    ConfigsWindow window("tev", &session, false);
    window.ensureCreated();
    window.SetShema("web2");
    EXPECT_EQ(window.qry->macroByName("shema").value(), "web2");
    EXPECT_EQ(window.PARAM_PACK()->packageName(), "web2.PARAM_PACK");
    db::Session other;
    window.SetSession(&other);
    EXPECT_EQ(window.qry->session(), &other);
}

TEST_F(BaseFormTest, WithoutASessionTheWindowsOwnSessionGuardsItsDatasets)
{
    RecordingPresenter presenter;
    ConfigsWindow window("", nullptr, false);
    window.ensureCreated();
    EXPECT_FALSE(window.isBound());
    EXPECT_EQ(window.qry->session(), window.MainSession());

    // Missing session and schema are reported in the window's own box and give nothing.
    EXPECT_EQ(window.GetSession(), nullptr);
    EXPECT_TRUE(window.GetShema().isEmpty());
    ASSERT_EQ(presenter.count(), 2);
    EXPECT_EQ(presenter.requests()[0].caption, "Отчеты");
    EXPECT_EQ(presenter.requests()[0].text, LocaleText("TBaseForm.GetSession: Сессия не определена!",
                                                       "TBaseForm.GetSession: Session is not defined!"));
    EXPECT_EQ(presenter.requests()[1].text, LocaleText("TBaseForm.GetShema: Схема не определена!",
                                                       "TBaseForm.GetShema: Scheme is not defined!"));

    // Its own session warns before it connects; the attempt itself goes ahead.
    presenter.clear();
    window.MainSession()->setServer("NO_SUCH_SERVICE");
    EXPECT_ANY_THROW(window.MainSession()->connect());
    ASSERT_EQ(presenter.count(), 1);
    const QString text = presenter.last().text;
    EXPECT_TRUE(text.contains("fmConfigs")) << text.toStdString();
    EXPECT_TRUE(text.contains("MainSession, Server = NO_SUCH_SERVICE")) << text.toStdString();
    EXPECT_TRUE(text.endsWith(kCrLf + "OraQuery1" + kCrLf + "qryConfigs")) << text.toStdString();
}

TEST_F(BaseFormTest, GridSetUpAndTheCheckColumn)
{
    REQUIRE_PG();
    auto session = connect();
    ConfigsWindow window("tev", session.get());
    window.ensureCreated();
    ASSERT_TRUE(window.isReady());
    db::Query& q = *window.qry;
    ASSERT_GE(q.recordCount(), 3);

    auto* adapter = dynamic_cast<TDBGridIntObj*>(window.GridAdapter(window.grid));
    ASSERT_NE(adapter, nullptr);
    const GridOptions options = window.grid->options();
    EXPECT_FALSE(options.testFlag(GridOption::Editing));
    EXPECT_FALSE(options.testFlag(GridOption::Tabs));
    EXPECT_TRUE(options.testFlag(GridOption::AlwaysShowSelection));
    EXPECT_EQ(adapter->GetCheckFieldName(), "RCHECK");
    EXPECT_EQ(q.fieldByName("RCHECK").displayWidth(), 7); // labelled "В отчет"
    EXPECT_EQ(q.fieldByName("PARAM_NAME").tag(), kGridToolsDataFieldTag);
    EXPECT_EQ(q.fieldByName("RCHECK").tag(), kGridToolsOtherFieldTag);

    // Space and a click on the check column flip the current row and post it.
    q.setCurrentRow(1);
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    ASSERT_TRUE(window.grid->keyDownHook());
    EXPECT_TRUE(window.grid->keyDownHook()(&space));
    EXPECT_FALSE(q.isEditing());
    EXPECT_EQ(marks(q).left(3), "-+-");
    window.grid->cellClickHook()(1, columnOf(*window.grid, "RCHECK"));
    EXPECT_EQ(marks(q).left(3), "---");
    window.grid->cellClickHook()(1, columnOf(*window.grid, "PARAM_NAME"));
    EXPECT_EQ(marks(q).left(3), "---");

    // The wheel moves an open dataset and leaves a closed one alone.
    q.setCurrentRow(0);
    sendWheel(window.grid->viewport(), -120);
    EXPECT_EQ(q.currentRow(), 1);
    sendWheel(window.grid->viewport(), 120);
    EXPECT_EQ(q.currentRow(), 0);
    q.close();
    sendWheel(window.grid->viewport(), -120);
    EXPECT_FALSE(q.isOpen());
    q.open();

    // The check cells are painted as check boxes.
    QImage image(30, 20, QImage::Format_ARGB32);
    QPainter painter(&image);
    DrawCellContext cell;
    cell.painter = &painter;
    cell.rect = QRect(0, 0, 30, 20);
    cell.row = 0;
    cell.field = &q.fieldByName("RCHECK");
    EXPECT_TRUE(window.DrawCheckCell(*adapter, cell));
    cell.field = &q.fieldByName("PARAM_NAME");
    EXPECT_FALSE(window.DrawCheckCell(*adapter, cell));
    painter.end();

    // A dataset that takes no edits, or has no rows, is left alone; no dataset is an error.
    q.setTakesLocalEdits(false);
    window.SetRCheck(&q);
    EXPECT_EQ(marks(q).left(3), "---");
    q.setTakesLocalEdits(true);
    q.setFilter("PARAM_NAME = 'no such key'");
    q.setFiltered(true);
    window.SetRCheck(&q);
    EXPECT_EQ(q.recordCount(), 0);
    EXPECT_FALSE(window.grid->keyDownHook()(&space) && q.isEditing());
    q.setFiltered(false);
    EXPECT_THROW(window.SetRCheck(nullptr), std::logic_error);
}

TEST_F(BaseFormTest, SharedActionsAndTheirShortcuts)
{
    REQUIRE_PG();
    auto session = connect();
    ConfigsWindow window("tev", session.get());
    RecordingPresenter presenter;
    ToolsRunner tools;
    ASSERT_TRUE(showActive(window));
    db::Query& q = *window.qry;
    // The grid of the current query took the focus when shown.
    EXPECT_EQ(window.FocusedGrid(), window.grid);

    struct Shortcut
    {
        QAction* action;
        const char* keys;
        const char* caption;
    } shortcuts[] = {{window.pFind(), "Ctrl+F", "Искать"},
                     {window.pSort(), "Ctrl+S", "Сортировать"},
                     {window.pReport(), "Ctrl+R", "Отчет"},
                     {window.pFilter(), "Ctrl+A", "Фильтровать"},
                     {window.pFirst(), "Ctrl+Alt+F", "На первую запись"},
                     {window.pPrev(), "Ctrl+Alt+P", "На предыдущую запись"},
                     {window.pNext(), "Ctrl+Alt+N", "На следующую запись"},
                     {window.pLast(), "Ctrl+Alt+L", "На последнюю запись"},
                     {window.pRefresh(), "Ctrl+Alt+R", "Обновить данные"},
                     {window.EmptyAction(), "Ctrl+Del", "EmptyAction"}};
    for (const Shortcut& s : shortcuts) {
        EXPECT_EQ(s.action->shortcut(), QKeySequence(s.keys)) << s.keys;
        EXPECT_EQ(s.action->text(), QString::fromUtf8(s.caption)) << s.keys;
    }

    // Record moves on the focused grid's dataset.
    QTest::keyClick(window.grid, Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(q.currentRow(), q.recordCount() - 1);
    QTest::keyClick(window.grid, Qt::Key_P, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(q.currentRow(), q.recordCount() - 2);
    QTest::keyClick(window.grid, Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(q.currentRow(), 0);
    QTest::keyClick(window.grid, Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(q.currentRow(), 1);

    // Find starts at the grid's selected column, marks the fields first and remembers the field.
    window.grid->setCurrentIndex(window.grid->model()->index(1, columnOf(*window.grid, "PARAM_VAL")));
    tools.answer = answerAs<gridtools::FindDialog>([&](gridtools::FindDialog& d) {
        EXPECT_EQ(d.criteria().fieldIndex, q.fieldIndex("PARAM_VAL"));
        EXPECT_EQ(q.fieldByName("PARAM_NAME").tag(), kGridToolsDataFieldTag);
        d.setFieldIndex(q.fieldIndex("PARAM_NAME"));
        d.setSearchText(q.value(2, q.fieldIndex("PARAM_NAME")).toString());
        return int(QDialog::Accepted);
    });
    QTest::keyClick(window.grid, Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(tools.dialogs.size(), 1);
    EXPECT_EQ(q.currentRow(), 2);
    EXPECT_EQ(window.SearchField(&q), "PARAM_NAME");

    // Ctrl+Del never reaches the grid.
    QSignalSpy swallowed(window.EmptyAction(), &QAction::triggered);
    QTest::keyClick(window.grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(swallowed.count(), 1);

    // Filter and sort run their dialogs on the query.
    tools.answer = nullptr;
    QTest::keyClick(window.grid, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(window.grid, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(tools.dialogs.mid(1), (QStringList{"gridtools::FilterDialog", "gridtools::SortDialog"}));
    EXPECT_EQ(presenter.count(), 0);

    // pFind and pReport only for a dataset with rows.
    window.updateActionsNow();
    EXPECT_TRUE(window.pFind()->isVisible());
    q.close();
    window.updateActionsNow();
    EXPECT_FALSE(window.pFind()->isVisible());
    EXPECT_FALSE(window.pReport()->isVisible());
    EXPECT_TRUE(window.pSort()->isVisible());
    q.open();
    window.updateActionsNow();
    EXPECT_TRUE(window.pReport()->isVisible());

    // The context menu belongs to the grids.
    window.button->setFocus();
    QContextMenuEvent onButton(QContextMenuEvent::Mouse, QPoint(5, 5), window.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&window, &onButton);
    EXPECT_FALSE(window.PopupMenu1()->isVisible());
    window.grid->setFocus();
    QContextMenuEvent onGrid(QContextMenuEvent::Mouse, QPoint(5, 5), window.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&window, &onGrid);
    EXPECT_TRUE(window.PopupMenu1()->isVisible());
    window.PopupMenu1()->hide();

    // Without a focused grid the actions only ask for one.
    window.button->setFocus();
    const int row = q.currentRow();
    window.pNext()->trigger();
    window.pFind()->trigger();
    EXPECT_EQ(q.currentRow(), row);
    ASSERT_EQ(presenter.count(), 2);
    EXPECT_EQ(presenter.last().text, LocaleText("Выберите таблицу", "Select the table"));
    EXPECT_EQ(presenter.last().icon, lang::MsgIcon::Warning);
    window.reject();
}

TEST_F(BaseFormTest, SortOnADatasetThatIsNoQuery)
{
    GridTestDataset ds({{"NAME", DataType::String}}, {{QString("a")}});
    ds.open();
    ConfigsWindow window("", nullptr, false);
    DBGrid* grid = new DBGrid(window.ClientPanel());
    grid->setDataset(&ds);
    window.ensureCreated();
    RecordingPresenter presenter;
    ToolsRunner tools;
    grid->setFocus();
    window.pSort()->trigger();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, "Сортировка представленных данных невозможна");
    EXPECT_TRUE(tools.dialogs.isEmpty());
}

TEST_F(BaseFormTest, MassSelectionOverAllRowsAndARange)
{
    REQUIRE_PG();
    auto session = connect();
    ConfigsWindow window("tev", session.get());
    window.ensureCreated();
    db::Query& q = *window.qry;
    const int n = q.recordCount();
    ASSERT_GE(n, 4);

    window.CheckAllRows(window.grid);
    EXPECT_EQ(marks(q), QString(n, '+'));
    EXPECT_TRUE(window.isEnabled());
    window.InvertCheckedRows(window.grid);
    EXPECT_EQ(marks(q), QString(n, '-'));
    window.range = true;
    window.boundA = {2, 0};
    window.boundB = {1, 1};
    window.CheckAllRows(window.grid);
    EXPECT_EQ(marks(q), "-++" + QString(n - 3, '-'));
    window.InvertCheckedRows(window.grid);
    EXPECT_EQ(marks(q), QString(n, '-'));
    window.range = false;
    window.CheckAllRows(window.grid);
    window.UncheckAllRows(window.grid);
    EXPECT_EQ(marks(q), QString(n, '-'));

    // A grid without an adapter (a Unicode grid the window chose none for) is left alone.
    auto* other = new DBGrid(DBGrid::Family::Unicode, window.ClientPanel());
    other->setDataset(&q);
    window.CheckAllRows(other);
    EXPECT_EQ(marks(q), QString(n, '-'));
}

TEST_F(BaseFormTest, SortOrdersAreRestoredAtOpenAndSavedAtClose)
{
    REQUIRE_PG();
    auto session = connect();
    QString key;
    {
        ConfigsWindow probe("tev", session.get(), false);
        key = QueryOrderKey(*probe.qry);
    }
    ASSERT_TRUE(key.startsWith("fmConfigs.qryConfigs."));
    const QString section = orderSection("TEV");
    store().writeString(section, key, "PARAM_NAME DESC");

    {
        ConfigsWindow window("tev", session.get());
        window.ensureCreated();
        EXPECT_EQ(window.qry->macroByName("FIELD").value(), "PARAM_NAME DESC");
        ASSERT_TRUE(window.qry->isOpen());
        EXPECT_GT(window.qry->value(0, 1).toString(), window.qry->value(1, 1).toString());
        // The design order is kept aside while the window is open.
        EXPECT_EQ(store().readString(section, key + "_def"), "PARAM_NAME");
        // The user sorts again; closing keeps that order.
        window.qry->setMacro("FIELD", "PARAM_VAL");
        window.reject();
        EXPECT_EQ(window.saves, 1);
        EXPECT_EQ(store().readString(section, key), "PARAM_VAL");
        EXPECT_FALSE(store().valueExists(section, key + "_def"));
    }

    {
        // Back to the design order: the saved order goes; a window never closed saves when destroyed.
        ConfigsWindow window("tev", session.get());
        window.ensureCreated();
        EXPECT_EQ(window.qry->macroByName("FIELD").value(), "PARAM_VAL");
        window.qry->setMacro("FIELD", "PARAM_NAME");
    }
    EXPECT_FALSE(store().valueExists(section, key));
    EXPECT_FALSE(store().valueExists(section, key + "_def"));

    // With SAVE off for the scope the store is not touched.
    store().writeBool("TEV_ORDERBY", "SAVE", false);
    store().writeString(section, key, "PARAM_VAL");
    {
        ConfigsWindow window("tev", session.get());
        window.ensureCreated();
        EXPECT_EQ(window.qry->macroByName("FIELD").value(), "PARAM_NAME");
        window.qry->setMacro("FIELD", "PARAM_NAME DESC");
        window.reject();
        EXPECT_EQ(window.saves, 0);
    }
    EXPECT_EQ(store().readString(section, key), "PARAM_VAL");
}

TEST_F(BaseFormTest, FilterIndicatorFollowsTheQuerysFilter)
{
    REQUIRE_PG();
    auto session = connect();
    ConfigsWindow window("tev", session.get());
    ToolsRunner tools;
    window.show();
    TDBGridOfQuery* indicator = window.FilterIndicator(window.grid);
    ASSERT_NE(indicator, nullptr);
    QToolButton* button = indicator->button();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->objectName(), "grdConfigs_SQLFilterButton");
    EXPECT_EQ(button->parentWidget(), window.grid);
    EXPECT_FALSE(button->isVisible());

    db::Query& q = *window.qry;
    struct Case
    {
        const char* name;
        QString filter;
        bool shown;
    } cases[] = {{"a condition", "PARAM_NAME = :FLT_1", true},
                 {"no condition", "", false},
                 {"the dialog's empty condition", "((1=1)aNd(1=1))", false},
                 {"a condition again", "PARAM_NAME <> :FLT_1", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        q.setFilterSql(c.filter, {{"FLT_1", q.value(0, 1)}});
        q.open();
        EXPECT_EQ(button->isVisible(), c.shown);
    }
    EXPECT_EQ(button->size(), QSize(24, 24));
    EXPECT_EQ(button->geometry().right(), window.grid->width() - window.grid->frameWidth() - 1);
    EXPECT_EQ(button->geometry().bottom(), window.grid->height() - window.grid->frameWidth() - 1);
    EXPECT_EQ(button->toolTip(), QStringLiteral(" \"Настройки\" Фильтровать"));
    EXPECT_EQ(button->text(), "F");

    // Clicking it focuses the grid and runs the filter action.
    window.button->setFocus();
    button->click();
    EXPECT_EQ(window.FocusedGrid(), window.grid);
    EXPECT_EQ(tools.dialogs, QStringList{"gridtools::FilterDialog"});

    q.close();
    EXPECT_FALSE(button->isVisible());
    window.reject();
}

TEST_F(BaseFormTest, PrepareErrorIsReportedAndTheWindowCarriesOn)
{
    REQUIRE_PG();
    auto session = connect();
    for (const bool debug : {false, true}) {
        SCOPED_TRACE(debug ? "with the debug block" : "plain");
        if (debug)
            writeFile("Settings.ini", "[DBG_SETTINGS]\r\nCAN=1\r\n");
        RecordingPresenter presenter;
        ConfigsWindow window("tev", session.get(), false);
        auto* bad = new db::Query(&window);
        bad->setObjectName("qryBad");
        bad->setSql("SELECT * FROM &shema.v_no_such_view\n&ORDER &FIELD");
        bad->setMacro("ORDER", "ORDER BY");
        bad->setMacro("FIELD", "ID");
        auto* badGrid = new DBGrid(window.ClientPanel());
        badGrid->setObjectName("grdBad");
        badGrid->setHint("Bad");
        badGrid->setDataset(bad);
        window.ensureCreated();
        EXPECT_TRUE(window.isReady());
        EXPECT_EQ(window.FilterIndicator(badGrid), nullptr);
        EXPECT_NE(window.FilterIndicator(window.grid), nullptr);
        ASSERT_EQ(presenter.count(), 1);
        EXPECT_EQ(presenter.last().icon, lang::MsgIcon::Error);
        const QStringList lines = presenter.last().text.split(kCrLf);
        ASSERT_GE(lines.size(), 8);
        EXPECT_EQ(lines[0], "\"QRYBAD\"");
        EXPECT_EQ(lines[1], "");
        EXPECT_EQ(lines[2], LocaleText("TBaseForm.SettDBGrid: Ошибка исполнения: ",
                                       "TBaseForm.SettDBGrid: Error of  executing: ") +
                                "fmConfigs.qryBad.Prepare:");
        EXPECT_EQ(lines[3], "");
        EXPECT_TRUE(lines[4].contains("v_no_such_view")) << lines[4].toStdString();
        EXPECT_EQ(lines[6], LocaleText("Возможные причины ошибки:", "Possible reasons of error:"));
        EXPECT_TRUE(lines[7].startsWith("1 - "));
        const QString text = presenter.last().text;
        EXPECT_EQ(text.contains("---debug" + QString(100, '-')), debug);
        EXPECT_EQ(text.contains(kCrLf + "SQL:" + kCrLf + bad->sql()), debug);
        EXPECT_EQ(text.contains(kCrLf + "FIELD = ID"), debug);
    }
}

TEST_F(BaseFormTest, DebugModeListsGridsWithoutAHint)
{
    writeFile("Debug.ini", "");
    RecordingPresenter presenter;
    GridTestDataset ds({{"NAME", DataType::String}}, {{QString("a")}});
    ds.open();
    ConfigsWindow window("", nullptr, false);
    auto* unnamed = new DBGrid(window.ClientPanel());
    unnamed->setObjectName("grdNoHint");
    unnamed->setDataset(&ds);
    window.ensureCreated();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, "grdNoHint");
    EXPECT_EQ(presenter.last().caption,
              "fmConfigs:" + LocaleText("У компонента TGrid не назначено свойство \"Hint\"",
                                        "For grid is not assigned property \"Hint\""));
    EXPECT_EQ(presenter.last().icon, lang::MsgIcon::Information);
}

TEST_F(BaseFormTest, NavigatorHintsRecordNoticesAndClosingDuringCreation)
{
    GridTestDataset ds({{"ID", DataType::Integer}}, {{QString("1")}, {QString("2")}});
    ds.open();
    ConfigsWindow window("", nullptr, false);
    window.grid->setDataset(&ds);
    window.navigator->setDataset(&ds);
    RecordingPresenter presenter;
    window.onCreate = [&] { window.reject(); }; // refused: the window is not ready yet
    window.ensureCreated();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, LocaleText("TBaseForm.Create: Приложение занято",
                                                "TBaseForm.Create: The application occupied"));
    EXPECT_EQ(presenter.last().caption, LocaleText("Закрытие окна", "Closing of the window"));

    EXPECT_EQ(
        window.navigator->hints(),
        (QStringList{"На первую запись", "На предыдущую запись", "На следующую запись", "На последнюю запись",
                     "Добавить", "Удалить", "Изменить", "Сохранить", "Отменить", "Обновить данные"}));
    EXPECT_TRUE(window.navigator->showHints());

    // Changes of the current query's rows reach RecordCountChanged; other datasets' do not.
    window.countChanges.clear();
    ds.next();
    EXPECT_TRUE(window.countChanges.isEmpty());
    window.SetCurrentQuery(nullptr);
}

TEST_F(BaseFormTest, RefreshKeepsThePositionOrGoesToTheLastRow)
{
    REQUIRE_PG();
    auto session = connect();
    ConfigsWindow window("tev", session.get());
    window.ensureCreated();
    // The row comes back by its first field's value.
    db::Query q(session.get());
    q.setSql("SELECT param_name, param_val FROM tev.v_tev_configs\n&ORDER &FIELD");
    q.setMacro("ORDER", "ORDER BY");
    q.setMacro("FIELD", "PARAM_NAME");
    q.open();
    ASSERT_GE(q.recordCount(), 4);
    q.setCurrentRow(1);
    const QString name = q.asString("PARAM_NAME");
    q.setMacro("FIELD", "PARAM_NAME DESC");
    window.RefreshKeepPosition(&q);
    EXPECT_EQ(q.asString("PARAM_NAME"), name);
    EXPECT_EQ(q.currentRow(), q.recordCount() - 2);
    window.RefreshToLast(&q);
    EXPECT_EQ(q.currentRow(), q.recordCount() - 1);

    // Reading the current query again reaches RecordCountChanged.
    window.countChanges.clear();
    window.RefreshToLast(window.qry);
    EXPECT_TRUE(window.countChanges.contains(window.qry));
}

TEST_F(BaseFormTest, MainBaseFormCommitsWhenClosed)
{
    REQUIRE_PG();
    auto session = connect();
    ConfigsWindow window("tev", session.get(), false);
    window.ensureCreated();
    EXPECT_EQ(window.OkBtn()->text(), "Выход");

    db::StoredProc proc(session.get());
    proc.setStoredProcName("tev.TEV_UTILS.SET_TEV_CONFIGS");
    proc.setParam("P_PARAM_NAME", "BASES_PROBE");
    proc.setParam("P_PARAM_VAL", "42");
    proc.execProc();
    const QString check = "SELECT coalesce(max(param_val), 'none') FROM tev.v_tev_configs "
                          "WHERE param_name = 'BASES_PROBE'";
    EXPECT_EQ(PgFixture::instance().adminQuery(check), "none");
    window.show();
    window.OkBtn()->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_EQ(PgFixture::instance().adminQuery(check), "42");
}

namespace {

class EditDialog : public TDlgBaseForm
{
public:
    EditDialog() : TDlgBaseForm(nullptr, "tev", nullptr) { setObjectName("fmEdit"); }
    using TDlgBaseForm::ButtonsGap;
};

} // namespace

TEST_F(BaseFormTest, DialogBaseButtonsAndActions)
{
    struct Case
    {
        int width, ok, cancel;
        std::optional<std::pair<int, int>> places;
    } cases[] = {{300, 100, 100, std::make_pair(30, 170)},
                 {301, 100, 100, std::make_pair(30, 170)}, // 130.5 and 170.5 round to even
                 {240, 100, 100, std::nullopt},            // OK would start at 0
                 {300, 60, 130, std::nullopt},             // Cancel would end at the edge
                 {500, 80, 120, std::make_pair(150, 270)}};
    for (const Case& c : cases)
        EXPECT_EQ(TDlgBaseForm::centredButtons(c.width, c.ok, c.cancel, 40), c.places) << c.width;

    EditDialog dialog;
    dialog.ensureCreated();
    EXPECT_EQ(dialog.ButtonsGap(), 40);
    EXPECT_EQ(dialog.OkBtn()->text(), "Применить");
    EXPECT_EQ(dialog.CancelBtn()->text(), "Отменить");
    EXPECT_EQ(dialog.PARAM_PACK()->packageName(), "xxx.PARAM_PACK"); // no session: not bound
    for (QAction* a : {dialog.pFirst(), dialog.pPrev(), dialog.pNext(), dialog.pLast(), dialog.pRefresh()})
        EXPECT_FALSE(a->isVisible()) << a->objectName().toStdString();
    EXPECT_EQ(dialog.PopupMenu1()->actions(),
              (QList<QAction*>{dialog.pFind(), dialog.pSort(), dialog.pReport(), dialog.pFilter()}));

    dialog.show();
    dialog.BottomPanel()->resize(300, dialog.BottomPanel()->height());
    dialog.OkBtn()->resize(100, dialog.OkBtn()->height());
    dialog.CancelBtn()->resize(100, dialog.CancelBtn()->height());
    dialog.centreButtons();
    EXPECT_EQ(dialog.OkBtn()->geometry().right() + 1, 130);
    EXPECT_EQ(dialog.CancelBtn()->x(), 170);
    dialog.OkBtn()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(TBaseForm, MaximizedGeometry)
{
    const QRect work(0, 0, 1920, 1040);
    QWidget main;
    main.setGeometry(0, 0, 1920, 200);
    const QRect below = TBaseForm::MaximizedGeometry(work, &main);
    EXPECT_EQ(below.top(), main.frameGeometry().top() + main.frameGeometry().height());
    EXPECT_EQ(below.height(), 1040 - below.top());
    EXPECT_EQ(below.width(), 1920);
    EXPECT_EQ(TBaseForm::MaximizedGeometry(work, nullptr), QRect(0, 500, 1920, 600));
}
