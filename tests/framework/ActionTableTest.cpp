#include "ActionTable.h"

#include "Catalogue.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

using framework::ActionRow;
using framework::ActionTable;
using framework::ActionText;

namespace {

// A window with a table of every kind of row: member handler, callable, callable told its action,
// a catalogue caption with and without its own hint, a fixed text, and a row without a handler.
class TableWindow : public QWidget
{
public:
    TableWindow() { table.create(this, rows()); }

    void findExecute() { calls << "find"; }

    static const QList<ActionRow<TableWindow>>& rows()
    {
        static const QList<ActionRow<TableWindow>> table = {
            {"acFind", u"rstrFind", {}, "edit-find", Qt::CTRL | Qt::Key_F, &TableWindow::findExecute},
            {"acSort", u"rstrSort", u"rstrReport", nullptr, {}, [](TableWindow& w) { w.calls << "sort"; }},
            {"pFirst",
             ActionText::fixed("На первую запись"),
             {},
             nullptr,
             Qt::CTRL | Qt::ALT | Qt::Key_F,
             [](TableWindow& w, QAction& a) { w.calls << a.objectName(); }},
            {"EmptyAction", {}, {}, nullptr, Qt::CTRL | Qt::Key_Delete, {}},
        };
        return table;
    }

    ActionTable table;
    QStringList calls;
};

// Sets a catalogue text for the scope, as a language switch does.
class CatalogueText
{
public:
    CatalogueText(const char16_t* key, const QString& text) : mIndex(lang::catalogueIndex(key))
    {
        lang::setCatalogueText(mIndex, text);
    }
    ~CatalogueText() { lang::setCatalogueText(mIndex, lang::catalogueDefault(mIndex)); }

private:
    int mIndex;
};

QStringList namesOf(const QList<QAction*>& actions)
{
    QStringList names;
    for (QAction* a : actions)
        names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return names;
}

} // namespace

TEST(ActionTable, CreatesTheActionsOfItsRowsAndRunsTheirHandlers)
{
    TableWindow w;
    ASSERT_EQ(w.table.size(), 4);
    EXPECT_EQ(namesOf(w.table.actions()), QStringList({"acFind", "acSort", "pFirst", "EmptyAction"}));
    EXPECT_EQ(namesOf(w.actions()), namesOf(w.table.actions())) << "shortcuts work in the window";
    for (QAction* a : w.table.actions())
        EXPECT_EQ(a->parent(), &w);

    struct Row
    {
        const char* name;
        QKeySequence shortcut;
        QStringList calls; // after triggering
    } rows[] = {
        {"acFind", QKeySequence("Ctrl+F"), {"find"}},
        {"acSort", QKeySequence(), {"sort"}},
        {"pFirst", QKeySequence("Ctrl+Alt+F"), {"pFirst"}},
        {"EmptyAction", QKeySequence("Ctrl+Del"), {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        QAction& a = w.table.action(r.name);
        EXPECT_EQ(a.objectName(), r.name);
        EXPECT_EQ(a.shortcut(), r.shortcut);
        w.calls.clear();
        a.trigger();
        EXPECT_EQ(w.calls, r.calls);
    }
}

TEST(ActionTable, TextsFollowTheCatalogueFixedTextsStay)
{
    TableWindow w;
    w.table.applyTexts();
    EXPECT_EQ(w.table.action("acFind").text(), lang::tr(u"rstrFind"));
    EXPECT_EQ(w.table.action("acFind").toolTip(), lang::tr(u"rstrFind")) << "no hint: the caption";
    EXPECT_EQ(w.table.action("acSort").toolTip(), lang::tr(u"rstrReport"));
    EXPECT_EQ(w.table.action("acSort").statusTip(), lang::tr(u"rstrReport"));
    EXPECT_EQ(w.table.action("pFirst").text(), QString::fromUtf8("На первую запись"));
    EXPECT_TRUE(w.table.action("EmptyAction").text().isEmpty());

    // A language switch: the catalogue's texts change and the window applies its table again.
    CatalogueText find(u"rstrFind", "Find");
    CatalogueText report(u"rstrReport", "Report");
    w.table.applyTexts();
    EXPECT_EQ(w.table.action("acFind").text(), "Find");
    EXPECT_EQ(w.table.action("acFind").toolTip(), "Find");
    EXPECT_EQ(w.table.action("acSort").toolTip(), "Report");
    EXPECT_EQ(w.table.action("pFirst").text(), QString::fromUtf8("На первую запись"));
}

TEST(ActionTable, MenusToolBarsAndPopUpsReadTheTable)
{
    TableWindow w;
    QMenu menu;
    QToolBar tools;
    QWidget grid;
    w.table.addTo(&menu, {"acFind", ActionTable::kSeparator, "acSort"});
    w.table.addTo(&tools, {"pFirst", ActionTable::kSeparator, "acFind"});
    w.table.addTo(&grid, {"acSort", "acFind"});
    EXPECT_EQ(namesOf(menu.actions()), QStringList({"acFind", "-", "acSort"}));
    EXPECT_EQ(namesOf(tools.actions()), QStringList({"pFirst", "-", "acFind"}));
    EXPECT_EQ(namesOf(grid.actions()), QStringList({"acSort", "acFind"}));
    EXPECT_EQ(menu.actions().first(), &w.table.action("acFind")) << "the table's own action, not a copy";
}

TEST(ActionTable, AMisspeltNameFailsLoudly)
{
    TableWindow w;
    EXPECT_TRUE(w.table.contains("acFind"));
    EXPECT_FALSE(w.table.contains("acFnd"));
    try {
        w.table.action("acFnd");
        FAIL() << "no exception";
    } catch (const std::out_of_range& e) {
        EXPECT_NE(std::string(e.what()).find("\"acFnd\""), std::string::npos) << e.what();
    }
    QMenu menu;
    EXPECT_THROW(w.table.addTo(&menu, {"acFind", "acSrot"}), std::out_of_range);

    // A name declared twice in one table is refused when the window is made.
    QWidget twice;
    ActionTable table;
    const QList<ActionRow<QWidget>> rows = {{"acFind", u"rstrFind", {}, nullptr, {}, {}},
                                            {"acFind", u"rstrSort", {}, nullptr, {}, {}}};
    EXPECT_THROW(table.create(&twice, rows), std::logic_error);
}
