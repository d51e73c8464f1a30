#include "TfmManager.h"

#include "DBGrid.h"
#include "ManagerQueries.h"
#include "OraError.h"
#include "PortalCodec.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "RecordingPresenter.h"
#include "ReferenceTestSupport.h"
#include "ScriptedModalRunner.h"
#include "StoredProc.h"
#include "TfmManagerEdit.h"
#include "TfmSelectEmForManager.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

using M = ManagerQueries::Managers;
using E = ManagerQueries::Emitents;
using F = ManagerQueries::FreeEmitents;

namespace {

QString given(int manager)
{
    return adminValue(
        QStringLiteral("SELECT coalesce(string_agg(emitent_id_web::text, ',' ORDER BY "
                       "emitent_id_web), '') FROM tev.tev_manager_emitent WHERE manager_id = %1")
            .arg(manager));
}

QString column(db::Dataset* ds, const char* field)
{
    QStringList values;
    if (ds->isOpen())
        for (int row = 0; row < ds->recordCount(); ++row)
            values << ds->value(row, ds->fieldIndex(QString::fromLatin1(field))).toString();
    return values.join(QLatin1Char(','));
}

// The emitent ids of a list in ascending order, as given() writes them.
QString sortedIds(db::Dataset* ds)
{
    QList<int> ids;
    for (const QString& id : column(ds, E::kId).split(',', Qt::SkipEmptyParts))
        ids << id.toInt();
    std::sort(ids.begin(), ids.end());
    QStringList text;
    for (int id : ids)
        text << QString::number(id);
    return text.join(',');
}

QStringList texts(const RecordingPresenter& presenter)
{
    QStringList all;
    for (const lang::MessageRequest& r : presenter.requests())
        all << r.text;
    return all;
}

// Fills the manager dialog and presses OK the way a person does: the dialog decides whether it
// closes.
std::function<int(QDialog&)> fillManager(const QString& name, const QString& password)
{
    return answerDialog<TfmManagerEdit>([name, password](TfmManagerEdit& d) {
        if (!d.changePasswordMode())
            d.edtLogin()->setText(name);
        d.edtPassword()->setText(password);
        d.OkBtn()->click();
        return d.result();
    });
}

// Ticks exactly the given emitents in the free-emitent choice.
std::function<int(QDialog&)> chooseEmitents(QList<int> ids, int result = QDialog::Accepted)
{
    return answerDialog<TfmSelectEmForManager>([ids, result](TfmSelectEmForManager& d) {
        db::Dataset* list = d.ListDataset();
        for (int row = 0; row < list->recordCount(); ++row) {
            const int id = list->value(row, list->fieldIndex(QString::fromLatin1(F::kId))).toInt();
            list->setValueAt(row, list->fieldIndex(QString::fromLatin1(F::kChoice)),
                             ids.contains(id) ? 1 : 0);
        }
        return result;
    });
}

// While it lives, giving the emitent `emitentId` to any manager fails with ORA-20001. Removing the
// trigger waits for the console's open transaction, so the session commits first.
class RefusedGift
{
public:
    RefusedGift(db::Session& session, int emitentId) : mSession(session)
    {
        adminValue(QStringLiteral(
                       "CREATE OR REPLACE FUNCTION tev.tev_test_refuse() RETURNS trigger LANGUAGE plpgsql "
                       "AS $$ BEGIN RAISE EXCEPTION 'ORA-20001: refused by the test'; END $$; "
                       "CREATE TRIGGER tev_test_refuse BEFORE INSERT ON tev.tev_manager_emitent FOR EACH ROW "
                       "WHEN (NEW.emitent_id_web = %1) EXECUTE FUNCTION tev.tev_test_refuse()")
                       .arg(emitentId));
    }
    ~RefusedGift()
    {
        mSession.commit();
        adminValue(QStringLiteral("DROP TRIGGER tev_test_refuse ON tev.tev_manager_emitent"));
    }

private:
    db::Session& mSession;
};

// The managers and their emitents as the test found them, put back when it ends: the tests of
// this program share one database.
class KeepManagers
{
public:
    KeepManagers()
    {
        adminValue("SET client_min_messages = warning; "
                   "DROP TABLE IF EXISTS public.keep_manager, public.keep_manager_emitent; "
                   "CREATE TABLE public.keep_manager AS SELECT * FROM tev.tev_manager; "
                   "CREATE TABLE public.keep_manager_emitent AS SELECT * FROM tev.tev_manager_emitent");
    }
    ~KeepManagers()
    {
        adminValue("DELETE FROM tev.tev_manager_emitent; DELETE FROM tev.tev_manager; "
                   "INSERT INTO tev.tev_manager SELECT * FROM public.keep_manager; "
                   "INSERT INTO tev.tev_manager_emitent SELECT * FROM public.keep_manager_emitent; "
                   "DROP TABLE public.keep_manager, public.keep_manager_emitent");
    }
};

struct ManagersWindow
{
    ManagersWindow() : w(*m.dm)
    {
        w.ensureCreated();
        w.show();
    }
    ~ManagersWindow()
    {
        w.close();
        m.session().rollback();
    }
    bool toManager(int id) { return w.managers()->locate(QString::fromLatin1(M::kId), id); }
    int currentManager() const { return int(w.managers()->asInteger(QString::fromLatin1(M::kId))); }
    bool enabled(const char* cmd)
    {
        w.updateActionsNow();
        return w.action(cmd)->isEnabled();
    }
    KeepManagers keep;
    SignedInModule m;
    TfmManager w;
};

} // namespace

TEST(TfmManagerTest, ManagersShowDecodedWithTheEmitentsOfTheCurrentOne)
{
    REQUIRE_PG();
    ManagersWindow g;
    EXPECT_EQ(g.w.windowTitle(), QStringLiteral("Региональные администраторы"));
    EXPECT_EQ(g.w.OkBtn()->text(), QStringLiteral("Выход"));
    // Only the decoded name is a column.
    QStringList shown;
    for (int c = 0; c < g.w.grdManagers()->gridColumnCount(); ++c)
        shown << g.w.grdManagers()->columnField(c)->displayLabel();
    EXPECT_EQ(shown, QStringList({"Логин"}));
    EXPECT_TRUE(column(g.w.managers(), M::kNameShown).split(',').contains(QStringLiteral("Manager Émilie")));
    shown.clear();
    for (int c = 0; c < g.w.grdEmitents()->gridColumnCount(); ++c)
        shown << g.w.grdEmitents()->columnField(c)->displayLabel();
    EXPECT_EQ(shown, QStringList({"Эмитент", "Филиал", "Название"}));
    for (RecordNavigator* nav : {g.w.navManagers(), g.w.navEmitents()}) {
        EXPECT_EQ(nav->hints(),
                  QStringList({"На первую запись", "На предыдущую запись", "На следующую запись",
                               "На последнюю запись", "", "", "", "", "", "Обновить данные"}));
        EXPECT_TRUE(nav->showHints());
    }
    EXPECT_EQ(g.w.action(TfmManager::Cmd::acAddManager)->toolTip(),
              QStringLiteral("Добавить администратора"));
    EXPECT_EQ(g.w.action(TfmManager::Cmd::acDelEmitent)->toolTip(), QStringLiteral("Удалить эмитента"));

    ASSERT_TRUE(g.toManager(1));
    EXPECT_EQ(column(g.w.emitents(), E::kId), QStringLiteral("1,2,3"));
    EXPECT_TRUE(g.enabled(TfmManager::Cmd::acDelEmitent));
    ASSERT_TRUE(g.toManager(3));
    EXPECT_EQ(g.w.emitents()->recordCount(), 0);
    EXPECT_TRUE(g.enabled(TfmManager::Cmd::acAddEmitent));
    EXPECT_FALSE(g.enabled(TfmManager::Cmd::acDelEmitent));

    // With no manager at all only adding one is possible.
    adminValue("DELETE FROM tev.tev_manager_emitent; DELETE FROM tev.tev_manager");
    g.w.pRefresh()->trigger();
    EXPECT_EQ(g.w.managers()->recordCount(), 0);
    EXPECT_FALSE(g.w.emitents()->isOpen());
    EXPECT_TRUE(g.enabled(TfmManager::Cmd::acAddManager));
    for (const char* cmd : {TfmManager::Cmd::acDelManager, TfmManager::Cmd::acEditPassword,
                            TfmManager::Cmd::acAddEmitent, TfmManager::Cmd::acDelEmitent})
        EXPECT_FALSE(g.enabled(cmd)) << cmd;
}

TEST(TfmManagerTest, AddingStoresTheNameEscapedAtFullLengthAndThePasswordAsTyped)
{
    REQUIRE_PG();
    ManagersWindow g;
    ScriptedModalRunner runner;
    RecordingPresenter presenter;
    const QString name = QString(TfmManagerEdit::kMaxNameLength, QChar(0x4E2D)); // 中 × 255
    const QString password = QStringLiteral(" Пароль №1 ");
    runner.answer = fillManager(name, password);
    g.w.acAddManagerExecute();
    EXPECT_EQ(runner.titles, QStringList({"Добавить администратора"}));
    EXPECT_EQ(presenter.count(), 0) << texts(presenter).join('|').toStdString();
    const QString id = adminValue("SELECT max(manager_id) FROM tev.tev_manager");
    EXPECT_EQ(adminValue("SELECT manager_name FROM tev.tev_manager WHERE manager_id = " + id),
              EncodeUnicodeEscapes(name));
    EXPECT_EQ(QString::number(g.currentManager()), id);
    EXPECT_EQ(g.w.managers()->asString(QString::fromLatin1(M::kNameShown)), name);
    // Not trimmed: the blanks are part of the password.
    EXPECT_EQ(adminValue("SELECT manager_password_md5 = tev.tev_utils__calc_md5(' Пароль №1 ') FROM "
                         "tev.tev_manager WHERE manager_id = " +
                         id),
              QStringLiteral("t"));
}

TEST(TfmManagerTest, RefusedNamesAndPasswords)
{
    REQUIRE_PG();
    ManagersWindow g;
    ScriptedModalRunner runner;
    const QString before = adminValue("SELECT count(*) FROM tev.tev_manager");
    struct Case
    {
        const char* what;
        QString name;
        QStringList messages;
    };
    const Case cases[] = {
        {"a name in use, shown as typed",
         QStringLiteral("  Иванов Иван "),
         {"Логин   Иванов Иван  уже существует"}},
        {"blanks", QStringLiteral("   "), {"Логин не может быть пустым"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingPresenter presenter;
        runner.answer = fillManager(c.name, QStringLiteral("secret"));
        g.w.acAddManagerExecute();
        EXPECT_EQ(texts(presenter), c.messages);
        EXPECT_EQ(adminValue("SELECT count(*) FROM tev.tev_manager"), before);
        EXPECT_TRUE(g.w.managers()->isOpen());
    }

    // The dialog keeps what it cannot store, and says why.
    struct Refusal
    {
        const char* what;
        QString password;
        QString message;
    };
    const Refusal refusals[] = {
        {"empty", QString(), QStringLiteral("Пароль не может быть пустым. Задайте пароль.")},
        {"outside code page 1251", QStringLiteral("pass\u03B2"),
         QStringLiteral("Пароль содержит недопустимые символы")},
    };
    for (bool changeMode : {false, true}) {
        for (const Refusal& r : refusals) {
            SCOPED_TRACE(std::string(r.what) + (changeMode ? " when changing" : " when adding"));
            TfmManagerEdit d(nullptr, g.m.dm->ActiveScheme(), g.m.dm->session());
            d.ensureCreated();
            d.setChangePasswordMode(changeMode);
            d.edtLogin()->setText(QStringLiteral("Новый"));
            d.edtPassword()->setText(r.password);
            RecordingPresenter presenter;
            d.OkBtn()->click();
            EXPECT_NE(d.result(), QDialog::Accepted);
            EXPECT_EQ(texts(presenter), QStringList({r.message}));
            EXPECT_EQ(d.password(), r.password);
        }
    }
}

TEST(TfmManagerTest, ChangingThePasswordAsksAndCancelKeepsTheDialog)
{
    REQUIRE_PG();
    ManagersWindow g;
    ASSERT_TRUE(g.toManager(3));
    ScriptedModalRunner runner;
    RecordingPresenter presenter({lang::mrCancel, lang::mrOk});
    bool checked = false;
    runner.answer = answerDialog<TfmManagerEdit>([&](TfmManagerEdit& d) {
        EXPECT_TRUE(d.changePasswordMode());
        EXPECT_FALSE(d.edtLogin()->isEnabled());
        EXPECT_EQ(d.edtLogin()->text(), QStringLiteral("Manager Émilie"));
        EXPECT_EQ(d.edtPassword()->text(), QString());
        EXPECT_EQ(d.edtPassword()->echoMode(), QLineEdit::Password);
        EXPECT_EQ(d.chbShowPassword()->text(), QStringLiteral("Показать пароль"));
        d.chbShowPassword()->click();
        EXPECT_EQ(d.edtPassword()->echoMode(), QLineEdit::Normal);
        d.chbShowPassword()->click();
        EXPECT_EQ(d.edtPassword()->echoMode(), QLineEdit::Password);
        d.edtPassword()->setText(QStringLiteral("новый пароль"));
        d.OkBtn()->click(); // Cancel in the question
        EXPECT_NE(d.result(), QDialog::Accepted);
        EXPECT_EQ(d.edtPassword()->text(), QStringLiteral("новый пароль"));
        d.OkBtn()->click(); // OK
        checked = true;
        return d.result();
    });
    g.w.acEditPasswordExecute();
    ASSERT_TRUE(checked);
    EXPECT_EQ(runner.titles, QStringList({"Изменить пароль"}));
    EXPECT_EQ(texts(presenter), QStringList({"Изменить пароль администратору: Manager Émilie?",
                                             "Изменить пароль администратору: Manager Émilie?"}));
    EXPECT_EQ(presenter.last().buttons.size(), 2);
    EXPECT_EQ(adminValue("SELECT manager_password_md5 = tev.tev_utils__calc_md5('новый пароль') FROM "
                         "tev.tev_manager WHERE manager_id = 3"),
              QStringLiteral("t"));

    // A refusal of the portal is reported and changes nothing.
    presenter.clear();
    {
        RefusedUpdate refused(g.m.session(), QStringLiteral("tev_manager"), QStringLiteral("true"));
        runner.answer = fillManager({}, QStringLiteral("другой"));
        g.w.acEditPasswordExecute();
    }
    EXPECT_EQ(texts(presenter), QStringList({"Изменить пароль администратору: Manager Émilie?",
                                             "Ошибка при изменении пароля"}));
    EXPECT_EQ(adminValue("SELECT manager_password_md5 = tev.tev_utils__calc_md5('новый пароль') FROM "
                         "tev.tev_manager WHERE manager_id = 3"),
              QStringLiteral("t"));
}

TEST(TfmManagerTest, DeletingAsksWithTheDecodedNameAndTakesTheEmitentLinksAlong)
{
    REQUIRE_PG();
    ManagersWindow g;
    ASSERT_TRUE(g.toManager(3));
    RecordingPresenter presenter({lang::mrCancel});
    g.w.acDelManagerExecute();
    EXPECT_EQ(texts(presenter), QStringList({"Удалить логин: Manager Émilie?"}));
    EXPECT_EQ(adminValue("SELECT count(*) FROM tev.tev_manager"), QStringLiteral("3"));

    // The last manager of the list goes with its emitents; the one before it becomes current.
    db::Query* list = g.w.managers();
    list->last();
    const int last = g.currentManager();
    list->prior();
    const int before = g.currentManager();
    list->last();
    ASSERT_NE(given(last), QString());
    presenter.answer(lang::mrOk);
    g.w.acDelManagerExecute();
    EXPECT_EQ(
        adminValue(QStringLiteral("SELECT count(*) FROM tev.tev_manager WHERE manager_id = %1").arg(last)),
        QStringLiteral("0"));
    EXPECT_EQ(given(last), QString());
    EXPECT_EQ(g.currentManager(), before);
    EXPECT_EQ(list->recordCount(), 2);
}

TEST(TfmManagerTest, GivingEmitentsIsOneTransaction)
{
    REQUIRE_PG();
    ManagersWindow g;
    ASSERT_TRUE(g.toManager(3));
    ScriptedModalRunner runner;
    RecordingPresenter presenter;
    db::StoredProc* freeList = g.m.dm->queries().ospGetFreeEmitent;

    // The choice lists every emitent the manager has not got, labelled for this window.
    runner.answer = answerDialog<TfmSelectEmForManager>([&](TfmSelectEmForManager& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Добавить эмитента"));
        EXPECT_EQ(d.btnOk()->text(), QStringLiteral("Добавить"));
        EXPECT_EQ(d.btnCancel()->text(), QStringLiteral("Отмена"));
        EXPECT_FALSE(d.acSort()->isVisible());
        QStringList labels;
        for (int c = 0; c < d.grdList()->gridColumnCount(); ++c)
            labels << d.grdList()->columnField(c)->displayLabel();
        EXPECT_EQ(labels, QStringList({"Выбрать", "Эмитент", "Филиал", "Название"}));
        EXPECT_EQ(column(d.ListDataset(), F::kId),
                  adminValue("SELECT string_agg(emitent_id_web::text, ',' ORDER BY emitent_number, "
                             "filial_number, emitent_id_web) FROM tev.tev_emitent"));
        return int(QDialog::Rejected);
    });
    g.w.acAddEmitentExecute();
    EXPECT_FALSE(freeList->isOpen());
    EXPECT_EQ(given(3), QString());

    // Nothing ticked: nothing given, the list read again all the same.
    runner.answer = chooseEmitents({});
    adminValue("INSERT INTO tev.tev_manager_emitent VALUES (3, 8)"); // by another console
    g.w.acAddEmitentExecute();
    EXPECT_EQ(column(g.w.emitents(), E::kId), QStringLiteral("8"));

    runner.answer = chooseEmitents({2, 5});
    g.w.acAddEmitentExecute();
    EXPECT_EQ(given(3), QStringLiteral("2,5,8"));
    EXPECT_EQ(sortedIds(g.w.emitents()), given(3));

    // A refusal in the middle takes back what came before it, and says so.
    ASSERT_EQ(presenter.count(), 0);
    {
        RefusedGift refused(g.m.session(), 6);
        runner.answer = chooseEmitents({1, 6, 7});
        g.w.acAddEmitentExecute();
    }
    EXPECT_EQ(given(3), QStringLiteral("2,5,8"));
    EXPECT_EQ(sortedIds(g.w.emitents()), given(3));
    EXPECT_FALSE(freeList->isOpen());
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_TRUE(presenter.last().text.startsWith(QStringLiteral("Ошибка при добавлении\n")));
    EXPECT_TRUE(presenter.last().text.contains(QStringLiteral("refused by the test")));
}

TEST(TfmManagerTest, TakingEmitentsAwayMovesOnAndEmptiesTheList)
{
    REQUIRE_PG();
    ManagersWindow g;
    ASSERT_TRUE(g.toManager(1));
    db::Query* emitents = g.w.emitents();
    ASSERT_TRUE(emitents->locate(QString::fromLatin1(E::kId), 2));
    g.w.acDelEmitentExecute();
    EXPECT_EQ(given(1), QStringLiteral("1,3"));
    EXPECT_EQ(emitents->asInteger(QString::fromLatin1(E::kId)), 3);
    g.w.acDelEmitentExecute(); // the last row: back to the one before
    EXPECT_EQ(emitents->asInteger(QString::fromLatin1(E::kId)), 1);
    g.w.acDelEmitentExecute();
    EXPECT_EQ(given(1), QString());
    EXPECT_EQ(emitents->recordCount(), 0);
    EXPECT_FALSE(g.enabled(TfmManager::Cmd::acDelEmitent));
}

TEST(TfmManagerTest, CtrlDeleteDeletesNothingInAnyGrid)
{
    REQUIRE_PG();
    ManagersWindow g;
    ASSERT_TRUE(g.toManager(1));
    const QString managers = adminValue("SELECT count(*) FROM tev.tev_manager");
    RecordingPresenter presenter;
    for (DBGrid* grid : {g.w.grdManagers(), g.w.grdEmitents()}) {
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    }
    ScriptedModalRunner runner;
    runner.answer = answerDialog<TfmSelectEmForManager>([](TfmSelectEmForManager& d) {
        const int rows = d.ListDataset()->recordCount();
        QTest::keyClick(d.grdList(), Qt::Key_Delete, Qt::ControlModifier);
        EXPECT_EQ(d.ListDataset()->recordCount(), rows);
        return int(QDialog::Rejected);
    });
    g.w.acAddEmitentExecute();
    EXPECT_EQ(presenter.count(), 0);
    EXPECT_EQ(adminValue("SELECT count(*) FROM tev.tev_manager"), managers);
    EXPECT_EQ(given(1), QStringLiteral("1,2,3"));
    EXPECT_EQ(g.w.managers()->recordCount(), managers.toInt());
    EXPECT_EQ(g.w.emitents()->recordCount(), 3);
}
