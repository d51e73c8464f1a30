#include "TfrmNews.h"

#include "DBGrid.h"
#include "DatasetTableModel.h"
#include "NewsQueries.h"
#include "PortalCodec.h"
#include "RecordingPresenter.h"
#include "ReferenceTestSupport.h"
#include "ScriptedModalRunner.h"
#include "StoredProc.h"
#include "TfmEditGroupForNews.h"
#include "TfmGroupForNewsEdit.h"
#include "TfmNewsEdit.h"
#include "TfmSelectGroupForNews.h"
#include "TfmSubscriberSelect.h"

#include <QAction>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using N = NewsQueries::News;
using GL = NewsQueries::GroupList;

namespace {

QString field(const char* name)
{
    return QString::fromLatin1(name);
}

// A news item of its own, dated after every other one the tests make (they share one database).
int newNews(const QString& headline, int daysAhead)
{
    return adminValue(
               QStringLiteral("INSERT INTO tev.tev_news (headline_news, date_news, cardholder_visibility) "
                              "VALUES ('%1', timestamp '2099-01-01' + %2 * interval '1 day', 0) "
                              "RETURNING news_id")
                   .arg(headline)
                   .arg(daysAhead))
        .toInt();
}

int newGroup(const QString& name)
{
    return adminValue(
               QStringLiteral("INSERT INTO tev.tev_news_group (name_group) VALUES ('%1') RETURNING group_id")
                   .arg(name))
        .toInt();
}

QString boundGroups(int news)
{
    return adminValue(QStringLiteral("SELECT coalesce(string_agg(group_id::text, ',' ORDER BY group_id), '') "
                                     "FROM tev.tev_news_group_link WHERE news_id = %1")
                          .arg(news));
}

QString shown(DBGrid* grid, int column)
{
    return grid->model()->data(grid->model()->index(grid->dataset()->currentRow(), column)).toString();
}

bool tickGroup(db::Dataset* list, int group, int value)
{
    if (!list->locate(field(GL::kGroupId), group))
        return false;
    list->setValueAt(list->currentRow(), list->fieldIndex(field(GL::kCheck)), value);
    return true;
}

} // namespace

TEST(TfmNewsEditTest, ABlankHeadlineIsRefusedAndTextsAreTrimmed)
{
    referenceTestApp();
    TfmNewsEdit d(true);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Добавление новости"));
    RecordingPresenter presenter;
    d.edtHeadline()->setText(QStringLiteral("   "));
    d.OkClick();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, QStringLiteral("Заголовок новости не может быть пустым"));
    EXPECT_NE(d.result(), int(QDialog::Accepted));

    d.edtHeadline()->setText(QStringLiteral("  Заголовок "));
    d.memBody()->setPlainText(QString(4001, QLatin1Char('x')));
    EXPECT_FALSE(d.btnOk()->isEnabled());
    d.memBody()->setPlainText(QStringLiteral(" \n "));
    EXPECT_TRUE(d.btnOk()->isEnabled());
    d.OkClick();
    EXPECT_EQ(d.result(), int(QDialog::Accepted));
    EXPECT_EQ(d.headline(), QStringLiteral("Заголовок"));
    EXPECT_EQ(d.body(), QString());
    EXPECT_EQ(d.edtHeadline()->maxLength(), 255);

    TfmGroupForNewsEdit g(false);
    EXPECT_EQ(g.windowTitle(), QStringLiteral("Редактирование группы"));
    g.edtName()->setText(QStringLiteral(" \t"));
    g.OkClick();
    EXPECT_EQ(presenter.last().text, QStringLiteral("Название группы не может быть пустым"));
    EXPECT_NE(g.result(), int(QDialog::Accepted));
}

TEST(TfrmNewsTest, NewsIsStoredAsTypedAndShownAsPlainText)
{
    REQUIRE_PG();
    SignedInModule m;
    TfrmNews w(*m.dm);
    w.show();
    ScriptedModalRunner runner;

    // The longest Greek headline and a body of markup.
    const QString headline = QString(255, QChar(0x03BB));
    const QString markup = QStringLiteral("<b>x</b><img src=file:///etc/passwd>");
    runner.answer = answerDialog<TfmNewsEdit>([&](TfmNewsEdit& d) {
        d.edtHeadline()->setText(headline);
        d.edtDate()->setDateTime(QDateTime(QDate(2091, 5, 6), QTime(7, 8)));
        d.memBody()->setPlainText(markup);
        d.chkCardholders()->setChecked(true);
        d.OkClick();
        return d.result();
    });
    w.acAddNewsExecute();
    const QString id = w.news()->asString(field(N::kId));
    EXPECT_EQ(adminValue("SELECT headline_news FROM tev.tev_news WHERE news_id = " + id),
              EncodeUnicodeEscapes(headline));
    EXPECT_EQ(
        adminValue("SELECT body_news || '|' || cardholder_visibility || '|' || date_news FROM tev.tev_news "
                   "WHERE news_id = " +
                   id),
        markup + QStringLiteral("|1|2091-05-06 07:08:00"));
    EXPECT_EQ(shown(w.grdNews(), 1), headline);
    EXPECT_EQ(shown(w.grdNews(), 2), QStringLiteral("Да"));

    // A headline of markup is a headline like any other.
    runner.answer = answerDialog<TfmNewsEdit>([&](TfmNewsEdit& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Редактирование новости"));
        EXPECT_EQ(d.edtHeadline()->text(), headline);
        EXPECT_EQ(d.memBody()->toPlainText(), markup);
        d.edtHeadline()->setText(markup);
        d.memBody()->setPlainText(QStringLiteral("   "));
        d.OkClick();
        return d.result();
    });
    w.acEditNewsExecute();
    EXPECT_EQ(w.news()->asString(field(N::kId)), id);
    EXPECT_EQ(adminValue("SELECT headline_news || '|' || coalesce(body_news, 'null') FROM tev.tev_news WHERE "
                         "news_id = " +
                         id),
              markup + QStringLiteral("|null"));
    EXPECT_EQ(shown(w.grdNews(), 1), markup);

    // The longest body of characters outside the code page fits too.
    const QString body = QString(4000, QChar(0x03B4));
    runner.answer = answerDialog<TfmNewsEdit>([&](TfmNewsEdit& d) {
        d.memBody()->setPlainText(body);
        d.OkClick();
        return d.result();
    });
    w.acEditNewsExecute();
    EXPECT_EQ(adminValue("SELECT body_news FROM tev.tev_news WHERE news_id = " + id),
              EncodeUnicodeEscapes(body));
    EXPECT_EQ(w.news()->asString(field(N::kBodyShown)), body);

    // The delete question names the item as it reads; Cancel keeps it.
    RecordingPresenter presenter({lang::mrCancel});
    w.acDeleteNewsExecute();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, QStringLiteral("Удалить новость?\n\n") + markup);
    EXPECT_EQ(adminValue("SELECT count(*) FROM tev.tev_news WHERE news_id = " + id), QStringLiteral("1"));
    w.close();
}

TEST(TfrmNewsTest, DeletingTheLastItemLandsOnThePreviousOne)
{
    REQUIRE_PG();
    SignedInModule m;
    const int previous = newNews(QStringLiteral("Предпоследняя"), 300);
    const int last = newNews(QStringLiteral("Caf\\u00E9"), 301);
    TfrmNews w(*m.dm);
    w.show();
    w.news()->last();
    ASSERT_EQ(w.news()->asInteger(field(N::kId)), last);
    RecordingPresenter presenter({lang::mrOk});
    w.acDeleteNewsExecute();
    EXPECT_EQ(presenter.last().text, QString::fromUtf8("Удалить новость?\n\nCafé"));
    EXPECT_EQ(adminValue(QStringLiteral("SELECT count(*) FROM tev.tev_news WHERE news_id = %1").arg(last)),
              QStringLiteral("0"));
    EXPECT_EQ(w.news()->asInteger(field(N::kId)), previous);
    w.close();
}

TEST(TfrmNewsTest, BindingIsOneTransactionAndAFailureKeepsTheWindowWithItsTicks)
{
    REQUIRE_PG();
    SignedInModule m;
    const int news = newNews(QStringLiteral("Привязка"), 0);
    const int kept = newGroup(QStringLiteral("bound before"));
    const int added = newGroup(QStringLiteral("bound now"));
    adminValue(QStringLiteral("INSERT INTO tev.tev_news_group_link VALUES (%1, %2)").arg(news).arg(kept));
    TfrmNews w(*m.dm);
    w.show();
    ASSERT_TRUE(w.news()->locate(field(N::kId), news));
    EXPECT_EQ(w.groups()->recordCount(), 1);

    ScriptedModalRunner runner;
    RecordingPresenter presenter;
    // The first attempt fails on the second change; the window stays with the ticks as they were.
    runner.answer = answerDialog<TfmSelectGroupForNews>([&](TfmSelectGroupForNews& d) {
        db::Dataset* list = d.ListDataset();
        EXPECT_EQ(d.grdList()->gridColumnCount(), 2);
        EXPECT_TRUE(tickGroup(list, kept, 0));
        EXPECT_TRUE(tickGroup(list, added, 1));
        adminValue(
            QStringLiteral(
                "CREATE OR REPLACE FUNCTION tev.tev_test_refuse() RETURNS trigger LANGUAGE plpgsql "
                "AS $$ BEGIN RAISE EXCEPTION 'ORA-20001: refused by the test'; END $$; "
                "CREATE TRIGGER tev_test_refuse_link BEFORE INSERT ON tev.tev_news_group_link FOR EACH "
                "ROW WHEN (NEW.group_id = %1) EXECUTE FUNCTION tev.tev_test_refuse()")
                .arg(added));
        d.ApplyClick();
        // The trigger goes once the console's transaction is over (a commit makes anything left durable).
        m.session().commit();
        adminValue(QStringLiteral("DROP TRIGGER tev_test_refuse_link ON tev.tev_news_group_link"));
        EXPECT_NE(d.result(), int(QDialog::Accepted));
        EXPECT_EQ(presenter.count(), 1);
        EXPECT_EQ(boundGroups(news), QString::number(kept));
        EXPECT_TRUE(list->locate(field(GL::kGroupId), added));
        EXPECT_EQ(list->asInteger(field(GL::kCheck)), 1);
        // Then it goes through.
        d.ApplyClick();
        return d.result();
    });
    w.acSelectGroupExecute();
    EXPECT_EQ(boundGroups(news), QString::number(added));
    ASSERT_EQ(w.groups()->recordCount(), 1);
    EXPECT_EQ(w.groups()->asInteger(QStringLiteral("GROUP_ID")), added);
    w.close();
}

TEST(TfmEditGroupForNewsTest, GroupsAreAddedRenamedAndDeletedWithTheirNamesDecoded)
{
    REQUIRE_PG();
    SignedInModule m;
    TfmEditGroupForNews w(*m.dm);
    w.show();
    db::StoredProc* list = m.dm->queries().ospGetGroupList;
    ASSERT_TRUE(list->isOpen());
    // No ticks in this window: one column, no tick commands, no apply button.
    EXPECT_EQ(w.grdList()->gridColumnCount(), 1);
    EXPECT_FALSE(w.acCheckAll()->isVisible());
    EXPECT_FALSE(w.btnOk()->isVisibleTo(&w));
    EXPECT_EQ(w.btnCancel()->text(), QStringLiteral("Закрыть"));

    ScriptedModalRunner runner;
    const QString name = QString(255, QChar(0x03A9));
    runner.answer = answerDialog<TfmGroupForNewsEdit>([&](TfmGroupForNewsEdit& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Добавление группы"));
        d.edtName()->setText(name);
        d.OkClick();
        return d.result();
    });
    w.acAddGroupExecute();
    const QString id = list->asString(field(GL::kGroupId));
    EXPECT_EQ(adminValue("SELECT name_group FROM tev.tev_news_group WHERE group_id = " + id),
              EncodeUnicodeEscapes(name));
    EXPECT_EQ(list->asString(field(GL::kNameShown)), name);

    // A name the portal already has is refused with the operation's message; nothing changes.
    RecordingPresenter presenter;
    runner.answer = answerDialog<TfmGroupForNewsEdit>([&](TfmGroupForNewsEdit& d) {
        EXPECT_EQ(d.edtName()->text(), name);
        d.edtName()->setText(QString::fromUtf8("VIP Élite"));
        d.OkClick();
        return d.result();
    });
    w.acUpdGroupExecute();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_TRUE(presenter.last().text.startsWith(QStringLiteral("Ошибка при редактировании группы")));
    EXPECT_EQ(list->asString(field(GL::kGroupId)), id);
    EXPECT_EQ(adminValue("SELECT name_group FROM tev.tev_news_group WHERE group_id = " + id),
              EncodeUnicodeEscapes(name));

    // The membership window carries the decoded name.
    runner.answer = [](QDialog&) { return int(QDialog::Rejected); };
    ASSERT_TRUE(list->locate(field(GL::kGroupId), 3));
    w.acSelectSubscriberExecute();
    EXPECT_EQ(runner.dialogs.last(), QStringLiteral("TfmSubscriberSelect"));
    EXPECT_EQ(runner.titles.last(), QString::fromUtf8("VIP Élite"));

    ASSERT_TRUE(list->locate(field(GL::kGroupId), id));
    presenter.answer(lang::mrOk);
    w.acDeleteGroupExecute();
    EXPECT_EQ(presenter.last().text, QStringLiteral("Удалить Группу?\n\n") + name);
    EXPECT_EQ(adminValue("SELECT count(*) FROM tev.tev_news_group WHERE group_id = " + id),
              QStringLiteral("0"));
    EXPECT_FALSE(list->locate(field(GL::kGroupId), id));
    w.close();
}

TEST(TfrmNewsTest, CtrlDeleteDeletesNothingInAnyGrid)
{
    REQUIRE_PG();
    SignedInModule m;
    TfrmNews news(*m.dm);
    news.show();
    TfmEditGroupForNews groups(*m.dm);
    groups.show();
    const int group = newGroup(QStringLiteral("ctrl delete"));
    adminValue(QStringLiteral("INSERT INTO tev.tev_group_client VALUES (%1, 1); "
                              "INSERT INTO tev.tev_group_emitent VALUES (%1, 1)")
                   .arg(group));
    TfmSubscriberSelect members(*m.dm, group);
    members.show();
    QList<DBGrid*> grids = {news.grdNews(), news.grdGroups(), groups.grdList()};
    for (int list = 0; list < TfmSubscriberSelect::kListCount; ++list)
        grids << members.grid(TfmSubscriberSelect::List(list));
    const QString counts = adminValue("SELECT (SELECT count(*) FROM tev.tev_news) || '/' || "
                                      "(SELECT count(*) FROM tev.tev_news_group) || '/' || "
                                      "(SELECT count(*) FROM tev.tev_group_client) || '/' || "
                                      "(SELECT count(*) FROM tev.tev_group_emitent)");
    RecordingPresenter presenter;
    ScriptedModalRunner runner;
    for (DBGrid* grid : grids) {
        SCOPED_TRACE(grid->objectName().toStdString());
        ASSERT_FALSE(grid->dataset()->isEmpty());
        const int rows = grid->dataset()->recordCount();
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        EXPECT_EQ(grid->dataset()->recordCount(), rows);
    }
    EXPECT_EQ(presenter.count(), 0);
    EXPECT_TRUE(runner.dialogs.isEmpty());
    EXPECT_EQ(adminValue("SELECT (SELECT count(*) FROM tev.tev_news) || '/' || "
                         "(SELECT count(*) FROM tev.tev_news_group) || '/' || "
                         "(SELECT count(*) FROM tev.tev_group_client) || '/' || "
                         "(SELECT count(*) FROM tev.tev_group_emitent)"),
              counts);
}
