#include "WebLanguages.h"

#include "OraError.h"
#include "PgFixture.h"
#include "Query.h"
#include "SharedQueries.h"
#include "WebLanguageMenu.h"
#include "WeblangTestSupport.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

struct MenuItem
{
    int id;
    QString caption;
    bool checked;
    bool image;
};

QList<MenuItem> itemsOf(const QMenu& menu)
{
    QList<MenuItem> items;
    for (QAction* a : menu.actions())
        items.append({WebLanguageIdOf(a), a->text(), a->isChecked(), !a->icon().isNull()});
    return items;
}

QAction* itemFor(const QMenu& menu, int id)
{
    for (QAction* a : menu.actions())
        if (WebLanguageIdOf(a) == id)
            return a;
    return nullptr;
}

// Ids of the items that show the "current" mark (check and image together).
QList<int> markedIds(const QMenu& menu)
{
    QList<int> ids;
    for (const MenuItem& item : itemsOf(menu)) {
        EXPECT_EQ(item.checked, item.image) << item.caption.toStdString();
        if (item.checked)
            ids.append(item.id);
    }
    return ids;
}

QString nameOf(const QList<WebLanguage>& list, int id)
{
    for (const WebLanguage& l : list)
        if (l.id == id)
            return l.name;
    return QStringLiteral("<missing>");
}

class WebLanguagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!PgFixture::instance().available())
            GTEST_SKIP() << PgFixture::instance().skipReason().toStdString();
        resetWebLanguage();
        module = std::make_unique<SignedInModule>();
    }
    void TearDown() override
    {
        module.reset();
        if (PgFixture::instance().available())
            resetWebLanguage();
    }
    TdmMain& dm() { return *module->dm; }

    std::unique_ptr<SignedInModule> module;
};

} // namespace

TEST_F(WebLanguagesTest, ListNamesFollowTheInterfaceLanguage)
{
    struct Case
    {
        const char* name;
        int interfaceLang;
        const char* russian;
        const char* english;
        const char* greek;
    } cases[] = {
        {"Russian interface", 25, "Русский", "Английский", "Греческий"},
        {"English interface", 9, "Russian", "English", "Greek"},
        {"Greek interface: decoded from the escapes", 8, "Ρωσικά", "Αγγλικά", "Ελληνικά"},
        {"language without a dictionary: the stored names", 7, "Русский", "Английский", "Греческий"},
    };
    for (const Case& c : cases) {
        const QList<WebLanguage> list =
            ReadWebLanguages(module->session(), dm().ActiveScheme(), c.interfaceLang);
        ASSERT_EQ(list.size(), 3) << c.name;
        EXPECT_EQ(nameOf(list, 25), QString::fromUtf8(c.russian)) << c.name;
        EXPECT_EQ(nameOf(list, 9), QString::fromUtf8(c.english)) << c.name;
        EXPECT_EQ(nameOf(list, 8), QString::fromUtf8(c.greek)) << c.name;
        for (const WebLanguage& l : list)
            EXPECT_EQ(l.current, l.id == 25) << c.name << " id " << l.id;
    }
}

TEST_F(WebLanguagesTest, ListMarksTheCurrentLanguageOrNoneWhenTheSettingMatchesNothing)
{
    struct Case
    {
        const char* name;
        const char* setting; // SQL value of LANG_ID
        int current;         // 0: none
    } cases[] = {
        {"Greek current", "'8'", 8},
        {"id of no language", "'77'", 0},
        {"setting empty", "NULL", 0},
    };
    for (const Case& c : cases) {
        PgFixture::instance().adminQuery(
            QStringLiteral("UPDATE tev.tev_configs SET param_val = %1 WHERE param_name = 'LANG_ID'")
                .arg(c.setting));
        const QList<WebLanguage> list = ReadWebLanguages(module->session(), dm().ActiveScheme(), 25);
        ASSERT_EQ(list.size(), 3) << c.name;
        for (const WebLanguage& l : list)
            EXPECT_EQ(l.current, l.id == c.current) << c.name << " id " << l.id;
        module->session().commit(); // the next read sees the next setting
    }
}

TEST_F(WebLanguagesTest, MenuHasOneRadioItemPerLanguageCarryingItsId)
{
    QMenu menu;
    menu.addAction(QStringLiteral("left over from before"));
    FillWebLanguagesMenu(&menu, dm());
    const QList<MenuItem> items = itemsOf(menu);
    ASSERT_EQ(items.size(), 3);
    for (const MenuItem& item : items) {
        EXPECT_EQ(item.checked, item.id == 25) << item.id;
        EXPECT_EQ(item.image, item.id == 25) << item.id;
    }
    EXPECT_EQ(itemFor(menu, 9)->text(), "Английский");
    QAction* greek = itemFor(menu, 8);
    ASSERT_NE(greek, nullptr);
    EXPECT_EQ(greek->text(), "Греческий");
    ASSERT_NE(greek->actionGroup(), nullptr);
    EXPECT_TRUE(greek->actionGroup()->isExclusive());

    // After a switch of the interface language to English the names are asked for in English.
    dm().SetLanguageId(9);
    FillWebLanguagesMenu(&menu, dm());
    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_EQ(itemFor(menu, 25)->text(), "Russian");
    EXPECT_EQ(itemFor(menu, 8)->text(), "Greek");
    EXPECT_EQ(markedIds(menu), QList<int>{25});
    EXPECT_EQ(menu.findChildren<QActionGroup*>().size(), 1);
}

TEST_F(WebLanguagesTest, MenuStaysEmptyWhileDisconnected)
{
    QMenu menu;
    FillWebLanguagesMenu(&menu, dm());
    ASSERT_EQ(menu.actions().size(), 3);
    dm().session()->disconnect();
    FillWebLanguagesMenu(&menu, dm());
    EXPECT_TRUE(menu.actions().isEmpty());
}

TEST_F(WebLanguagesTest, ChoosingAnItemMakesItThePortalsLanguage)
{
    QMenu menu;
    FillWebLanguagesMenu(&menu, dm());
    // The settings store has read LANG_ID before the switch; it must not keep the old value.
    EXPECT_EQ(dm().GetConfigValue("LANG_ID"), "25");

    itemFor(menu, 9)->trigger();
    EXPECT_EQ(committedWebLanguage(), "9");
    EXPECT_EQ(markedIds(menu), QList<int>{9});
    EXPECT_EQ(dm().GetConfigValue("LANG_ID"), "9");

    // Choosing the marked item again calls the portal again and keeps it marked.
    itemFor(menu, 9)->trigger();
    EXPECT_EQ(committedWebLanguage(), "9");
    EXPECT_EQ(markedIds(menu), QList<int>{9});

    // A rebuilt menu reads the mark from the portal.
    FillWebLanguagesMenu(&menu, dm());
    EXPECT_EQ(markedIds(menu), QList<int>{9});
}

TEST_F(WebLanguagesTest, RefusedSwitchRollsBackAndLeavesNoItemMarked)
{
    QMenu menu;
    FillWebLanguagesMenu(&menu, dm());
    module->session().commit(); // the reading transaction would block the change of the table
    // The portal refuses Greek as its language.
    PgFixture::instance().adminQuery("ALTER TABLE tev.tev_configs ADD CONSTRAINT no_greek_web "
                                     "CHECK (param_name <> 'LANG_ID' OR param_val <> '8')");
    // An uncommitted change made before the switch must not survive it either.
    dm().session()->execute("CALL tev.tev_utils__set_tev_configs('WEBLANG_PENDING', '1')");
    bool refused = false;
    try {
        itemFor(menu, 8)->trigger();
    } catch (const db::OraError& e) {
        refused = true;
        EXPECT_TRUE(e.message().contains("no_greek_web")) << e.message().toStdString();
    }
    PgFixture::instance().adminQuery("ALTER TABLE tev.tev_configs DROP CONSTRAINT no_greek_web");
    EXPECT_TRUE(refused);
    EXPECT_FALSE(module->session().inTransaction());
    EXPECT_EQ(committedWebLanguage(), "25");
    EXPECT_TRUE(markedIds(menu).isEmpty());
    EXPECT_EQ(PgFixture::instance().adminQuery(
                  "SELECT count(*) FROM tev.tev_configs WHERE param_name = 'WEBLANG_PENDING'"),
              "0");

    // The session goes on working, and so does the menu; the rolled-back write stays undone.
    itemFor(menu, 9)->trigger();
    EXPECT_EQ(committedWebLanguage(), "9");
    EXPECT_EQ(markedIds(menu), QList<int>{9});
    EXPECT_EQ(PgFixture::instance().adminQuery(
                  "SELECT count(*) FROM tev.tev_configs WHERE param_name = 'WEBLANG_PENDING'"),
              "0");
}

TEST_F(WebLanguagesTest, ItemWithIdZeroDoesNothing)
{
    PgFixture::instance().adminQuery(
        "INSERT INTO tev.tev_langs (lng_id, lng_lang_name, lng_lang_name_trans, lng_code) "
        "VALUES (0, 'Пустой', 'Пустой', 'zz')");
    QMenu menu;
    FillWebLanguagesMenu(&menu, dm());
    PgFixture::instance().adminQuery("DELETE FROM tev.tev_langs WHERE lng_id = 0");
    ASSERT_EQ(menu.actions().size(), 4);
    QAction* empty = itemFor(menu, 0);
    ASSERT_NE(empty, nullptr);
    empty->trigger();
    EXPECT_EQ(markedIds(menu), QList<int>{25});
    EXPECT_FALSE(empty->isChecked());
    EXPECT_EQ(committedWebLanguage(), "25");
}

TEST_F(WebLanguagesTest, TransTextTranslatesByThePortalsDictionary)
{
    struct Case
    {
        const char* text;
        int lang;
        const char* expected;
    } cases[] = {
        {"Фирма", 9, "Firm"},
        {"Фирма", 8, "Εταιρεία"},
        {"Фирма", 25, "Фирма"},
        {"Нет такого текста", 9, "Нет такого текста"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TransText(module->session(), dm().ActiveScheme(), QString::fromUtf8(c.text), c.lang),
                  QString::fromUtf8(c.expected))
            << c.text << " " << c.lang;
}
