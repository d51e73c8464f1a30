#include "TfrmPhraseTranslate.h"

#include "DBGrid.h"
#include "DatasetTableModel.h"
#include "ModalRunner.h"
#include "OraError.h"
#include "PgFixture.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "Session.h"
#include "TTntDBGridIntObj.h"
#include "TfmEditString.h"
#include "WeblangTestSupport.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Answers the modal dialogs in the order they come, instead of a person.
class ScriptedRunner : public framework::ModalRunner
{
public:
    using Step = std::function<int(QDialog&)>;
    explicit ScriptedRunner(QList<Step> steps)
        : mSteps(std::move(steps)), mPrevious(framework::setModalRunner(this))
    {
    }
    ~ScriptedRunner() override { framework::setModalRunner(mPrevious); }

    int exec(QDialog& dialog) override
    {
        ++mShown;
        if (mSteps.isEmpty()) {
            ADD_FAILURE() << "unexpected dialog " << dialog.metaObject()->className();
            return QDialog::Rejected;
        }
        return mSteps.takeFirst()(dialog);
    }
    int shown() const { return mShown; }
    bool finished() const { return mSteps.isEmpty(); }

private:
    QList<Step> mSteps;
    framework::ModalRunner* mPrevious;
    int mShown = 0;
};

// Drives the phrase window while it is "modal": shows it, runs `work`, closes it with Выход.
ScriptedRunner::Step phraseWindow(std::function<void(TfrmPhraseTranslate&)> work)
{
    return [work](QDialog& dialog) {
        auto* window = qobject_cast<TfrmPhraseTranslate*>(&dialog);
        EXPECT_NE(window, nullptr);
        if (!window)
            return int(QDialog::Rejected);
        window->show();
        QCoreApplication::processEvents();
        work(*window);
        window->OkBtn()->click();
        return window->result();
    };
}

// Answers the edit dialog: checks what it offers, types the text and presses OK (or cancels).
ScriptedRunner::Step editDialog(QString expectedText, QString typed, bool ok = true)
{
    return [expectedText, typed, ok](QDialog& dialog) {
        auto* edit = qobject_cast<TfmEditString*>(&dialog);
        EXPECT_NE(edit, nullptr);
        if (!edit)
            return int(QDialog::Rejected);
        EXPECT_EQ(edit->windowTitle(), "Перевод");
        EXPECT_EQ(edit->text(), expectedText);
        EXPECT_EQ(edit->edtText()->maxLength(), 100);
        if (!ok)
            return int(QDialog::Rejected);
        edit->setText(typed);
        edit->OkBtn()->click();
        return edit->result();
    };
}

QString storedPhrase(int type, int id, int lang)
{
    return PgFixture::instance().adminQuery(
        QStringLiteral("SELECT coalesce(phrase, '<none>') FROM (SELECT 1) one LEFT JOIN tev.tev_phrases "
                       "ON type_id = %1 AND id = %2 AND lang_id = %3")
            .arg(type)
            .arg(id)
            .arg(lang));
}

struct Row
{
    int lang;
    QString language;
    QString translation;
    bool translationNull;
};

QList<Row> rowsOf(const TfrmPhraseTranslate& window)
{
    db::Query* q = window.OraQuery1();
    QList<Row> rows;
    for (int r = 0; r < q->recordCount(); ++r)
        rows.append({q->value(r, q->fieldIndex("LNG_ID")).toInt(),
                     q->value(r, q->fieldIndex("LANG_NAME_ANSI")).toString(),
                     q->value(r, q->fieldIndex("PHRASE_ANSI")).toString(),
                     q->value(r, q->fieldIndex("PHRASE_ANSI")).isNull()});
    return rows;
}

class PhraseTranslateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!PgFixture::instance().available())
            GTEST_SKIP() << PgFixture::instance().skipReason().toStdString();
        weblangTestApp();
        session = PgFixture::instance().connect();
    }
    std::unique_ptr<db::Session> session;
};

} // namespace

// Transaction group 3 ("Бонусы") has an English name only.
TEST_F(PhraseTranslateTest, ListsEveryLanguageOnceWithItsTranslationOrNothing)
{
    ScriptedRunner runner({phraseWindow([](TfrmPhraseTranslate& w) {
        const QList<Row> rows = rowsOf(w);
        ASSERT_EQ(rows.size(), 3);
        EXPECT_EQ(rows[0].lang, 8);
        EXPECT_EQ(rows[0].language, "Ελληνικά");
        EXPECT_TRUE(rows[0].translationNull);
        EXPECT_EQ(rows[1].lang, 9);
        EXPECT_EQ(rows[1].language, "English");
        EXPECT_EQ(rows[1].translation, "Bonuses");
        EXPECT_EQ(rows[2].lang, 25);
        EXPECT_EQ(rows[2].language, "Русский");
        EXPECT_TRUE(rows[2].translationNull);

        // Two decoded columns in a Unicode grid; the stored ones are hidden.
        DBGrid* grid = w.dbgPhrases();
        EXPECT_EQ(grid->family(), DBGrid::Family::Unicode);
        EXPECT_NE(dynamic_cast<TTntDBGridIntObj*>(w.GridAdapter(grid)), nullptr);
        QAbstractItemModel* model = grid->model();
        ASSERT_EQ(model->columnCount(), 2);
        EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "Язык");
        EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Перевод");
        EXPECT_EQ(model->data(model->index(0, 0)).toString(), "Ελληνικά");
        EXPECT_EQ(w.OraQuery1()->fieldByName("LANG_NAME_ANSI").displayWidth(), 18);
        EXPECT_EQ(w.OraQuery1()->fieldByName("PHRASE_ANSI").displayWidth(), 33);

        // Captions from the catalogue.
        EXPECT_EQ(w.windowTitle(), "Перевод фразы для WEB-интерфейса");
        EXPECT_EQ(w.acEditPhrase()->text(), "Редактировать перевод");
        EXPECT_EQ(w.acEditPhrase()->toolTip(), "Редактировать перевод");
        EXPECT_EQ(w.OkBtn()->text(), "Выход");
        EXPECT_EQ(w.pPrev()->text(), "На предыдущую запись");
        EXPECT_EQ(w.pFind()->text(), "Искать");
        RecordNavigator* nav = w.DBNavigator1();
        EXPECT_EQ(nav->visibleButtons(),
                  (QList<RecordNavigator::Button>{RecordNavigator::nbFirst, RecordNavigator::nbPrior,
                                                  RecordNavigator::nbNext, RecordNavigator::nbLast,
                                                  RecordNavigator::nbRefresh}));
        EXPECT_EQ(nav->hints(),
                  (QStringList{"На первую запись", "На предыдущую запись", "На следующую запись",
                               "На последнюю запись", "", "", "", "", "", "Обновить данные"}));
    })});
    ShowPhraseTranslation(nullptr, session.get(), "TEV", 3, 3);
    EXPECT_EQ(runner.shown(), 1);
}

// Group 2 ("Платежи") has names in all three languages; each case edits one of them.
TEST_F(PhraseTranslateTest, EditStoresTheTranslationInThePortalsForm)
{
    struct Case
    {
        const char* name;
        int lang;
        const char* before; // as the dialog shows it
        const char* typed;
        const char* stored; // as the portal keeps it
    } cases[] = {
        {"Greek: escaped", 8, "Πληρωμές", "Πληρωμή", "\\u03A0\\u03BB\\u03B7\\u03C1\\u03C9\\u03BC\\u03AE"},
        {"Cyrillic and Latin: plain", 25, "Платежи", "Платежи (Payments)", "Платежи (Payments)"},
        {"accented Latin: escaped", 9, "Payments", "Paiements réglés", "Paiements r\\u00E9gl\\u00E9s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedRunner runner({phraseWindow([&](TfrmPhraseTranslate& w) {
                                   db::Query* q = w.OraQuery1();
                                   ASSERT_TRUE(q->locate("LNG_ID", c.lang));
                                   w.acEditPhrase()->trigger();
                                   EXPECT_EQ(q->asInteger("LNG_ID"), c.lang) << "back on the edited row";
                                   EXPECT_EQ(q->asString("PHRASE_ANSI"), QString::fromUtf8(c.typed));
                                   EXPECT_EQ(q->recordCount(), 3);
                                   // Committed: another connection sees it while the window is open.
                                   EXPECT_EQ(storedPhrase(3, 2, c.lang), QString::fromUtf8(c.stored));
                               }),
                               editDialog(QString::fromUtf8(c.before), QString::fromUtf8(c.typed))});
        ShowPhraseTranslation(nullptr, session.get(), "TEV", 3, 2);
        EXPECT_TRUE(runner.finished());
    }
}

// Feedback type 4 ("Жалоба") has no Greek name: the empty row is edited with the Greek id, by a
// double click on the row.
TEST_F(PhraseTranslateTest, DoubleClickOnAnEmptyTranslationAddsOne)
{
    ScriptedRunner runner({phraseWindow([](TfrmPhraseTranslate& w) {
                               db::Query* q = w.OraQuery1();
                               ASSERT_TRUE(q->locate("LNG_ID", 8));
                               DBGrid* grid = w.dbgPhrases();
                               const QModelIndex cell = grid->model()->index(q->currentRow(), 1);
                               const QPoint at = grid->visualRect(cell).center();
                               // What a person's double click delivers: a click, then the double click.
                               QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
                               QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
                               EXPECT_EQ(q->asInteger("LNG_ID"), 8);
                               EXPECT_EQ(q->asString("PHRASE_ANSI"), "Καταγγελία");
                           }),
                           editDialog(QString(), "Καταγγελία")});
    ShowPhraseTranslation(nullptr, session.get(), "TEV", 4, 4);
    EXPECT_TRUE(runner.finished());
    EXPECT_EQ(storedPhrase(4, 4, 8),
              "\\u039A\\u03B1\\u03C4\\u03B1\\u03B3\\u03B3\\u03B5\\u03BB\\u03AF\\u03B1");
    PgFixture::instance().adminQuery(
        "DELETE FROM tev.tev_phrases WHERE type_id = 4 AND id = 4 AND lang_id = 8");
}

TEST_F(PhraseTranslateTest, CancelledOrBlankEditWritesNothing)
{
    const QString before = storedPhrase(4, 1, 9);
    ScriptedRunner runner(
        {phraseWindow([](TfrmPhraseTranslate& w) {
             ASSERT_TRUE(w.OraQuery1()->locate("LNG_ID", 9));
             w.acEditPhrase()->trigger(); // cancelled
             w.acEditPhrase()->trigger(); // blank entry: OK stays disabled, so cancelled too
         }),
         editDialog("Cards", QString(), false), [](QDialog& dialog) {
             auto& edit = static_cast<TfmEditString&>(dialog);
             for (const char* blank : {"", "   "}) {
                 edit.setText(QString::fromLatin1(blank));
                 EXPECT_FALSE(edit.OkBtn()->isEnabled()) << '"' << blank << '"';
                 edit.OkBtn()->click();
                 EXPECT_EQ(edit.result(), 0);
             }
             // Longer text than the window allows cannot be typed.
             edit.setText(QString());
             QTest::keyClicks(edit.edtText(), QString(120, QLatin1Char('x')));
             EXPECT_EQ(edit.text().size(), 100);
             edit.setText("   ");
             return int(QDialog::Rejected);
         }});
    ShowPhraseTranslation(nullptr, session.get(), "TEV", 4, 1);
    EXPECT_TRUE(runner.finished());
    EXPECT_EQ(storedPhrase(4, 1, 9), before);
}

TEST_F(PhraseTranslateTest, RefusedTranslationIsNotCommittedAndTheListStays)
{
    PgFixture::instance().adminQuery(
        "ALTER TABLE tev.tev_phrases ADD CONSTRAINT no_forbidden_phrase CHECK (phrase <> 'Запрещено')");
    bool refused = false;
    ScriptedRunner runner({phraseWindow([&](TfrmPhraseTranslate& w) {
                               db::Query* q = w.OraQuery1();
                               ASSERT_TRUE(q->locate("LNG_ID", 25));
                               int reopened = 0;
                               QObject::connect(q, &db::Dataset::afterOpen, [&] { ++reopened; });
                               try {
                                   w.acEditPhrase()->trigger();
                               } catch (const db::OraError& e) {
                                   refused = e.message().contains("no_forbidden_phrase");
                               }
                               EXPECT_EQ(reopened, 0);
                               EXPECT_EQ(q->asString("PHRASE_ANSI"), "Покупки");
                           }),
                           editDialog("Покупки", "Запрещено")});
    ShowPhraseTranslation(nullptr, session.get(), "TEV", 3, 1);
    PgFixture::instance().adminQuery("ALTER TABLE tev.tev_phrases DROP CONSTRAINT no_forbidden_phrase");
    EXPECT_TRUE(refused);
    EXPECT_EQ(storedPhrase(3, 1, 25), "Покупки");
}
