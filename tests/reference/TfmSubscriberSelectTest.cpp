#include "TfmSubscriberSelect.h"

#include "DBGrid.h"
#include "NewsQueries.h"
#include "PortalCodec.h"
#include "RecordingPresenter.h"
#include "ReferenceTestSupport.h"
#include "ScriptedModalRunner.h"

#include <QAction>
#include <QComboBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using S = TfmSubscriberSelect;

namespace {

// A group of its own for each test: the test program shares one database.
int newGroup(const QString& name)
{
    return adminValue(
               QStringLiteral("INSERT INTO tev.tev_news_group (name_group) VALUES ('%1') RETURNING group_id")
                   .arg(name))
        .toInt();
}

QString ids(db::Dataset* ds, const char* field)
{
    QStringList out;
    const int column = ds->fieldIndex(QString::fromLatin1(field));
    for (int row = 0; row < ds->recordCount(); ++row)
        out << ds->value(row, column).toString();
    return out.join(QLatin1Char(','));
}

QString memberClients(int group)
{
    return adminValue(
        QStringLiteral("SELECT coalesce(string_agg(client_id_web::text, ',' ORDER BY client_id_web), "
                       "'') FROM tev.tev_group_client WHERE group_id = %1")
            .arg(group));
}

QString memberEmitents(int group)
{
    return adminValue(QStringLiteral("SELECT coalesce(string_agg(emitent_id_web::text, ',' ORDER BY "
                                     "emitent_id_web), '') FROM tev.tev_group_emitent WHERE group_id = %1")
                          .arg(group));
}

// Clients of emitent 1 and the emitents it owns that are in no row of the group.
QString freeClientsOfEmitentOne(int group)
{
    return adminValue(
        QStringLiteral(
            "SELECT string_agg(c.wbc_id::text, ',' ORDER BY c.wbc_id) FROM tev.tev_web_clients c "
            "JOIN tev.tev_emitent e ON e.emitent_id_web = c.wbc_emitent_id "
            "WHERE e.emitent_num_owner = 1 AND e.filial_num_owner = 0 AND NOT EXISTS "
            "(SELECT 1 FROM tev.tev_group_client m WHERE m.group_id = %1 AND m.client_id_web = c.wbc_id)")
            .arg(group));
}

void tick(db::Dataset* ds, int row)
{
    ds->setValueAt(row, ds->fieldIndex(QStringLiteral("ISVISIBLE")), 1);
}

int ticked(db::Dataset* ds)
{
    int n = 0;
    const int column = ds->fieldIndex(QStringLiteral("ISVISIBLE"));
    for (int row = 0; row < ds->recordCount(); ++row)
        n += ds->value(row, column).toInt() == 1;
    return n;
}

// While it lives, adding the given client to any group fails with ORA-20001. Removing the trigger
// waits for the console's transaction, so the session commits first: whatever a failure left
// uncommitted would become durable, which the tests then check is nothing.
class RefusedMember
{
public:
    RefusedMember(db::Session& session, int client) : mSession(session)
    {
        adminValue(
            QStringLiteral(
                "CREATE OR REPLACE FUNCTION tev.tev_test_refuse() RETURNS trigger LANGUAGE plpgsql "
                "AS $$ BEGIN RAISE EXCEPTION 'ORA-20001: refused by the test'; END $$; "
                "CREATE TRIGGER tev_test_refuse_member BEFORE INSERT ON tev.tev_group_client FOR EACH ROW "
                "WHEN (NEW.client_id_web = %1) EXECUTE FUNCTION tev.tev_test_refuse()")
                .arg(client));
    }
    ~RefusedMember()
    {
        mSession.commit();
        adminValue(QStringLiteral("DROP TRIGGER tev_test_refuse_member ON tev.tev_group_client"));
    }

private:
    db::Session& mSession;
};

} // namespace

TEST(TfmSubscriberSelectTest, OpensOnTheMainEmitentWithTheGroupsMembersAndItsNameAsCaption)
{
    REQUIRE_PG();
    SignedInModule m;
    const int group = newGroup(QStringLiteral("Caf\\u00E9 \\u0391\\u03B8\\u03AE\\u03BD\\u03B1"));
    adminValue(QStringLiteral("INSERT INTO tev.tev_group_emitent VALUES (%1, 7); "
                              "INSERT INTO tev.tev_group_client VALUES (%1, 5), (%1, 182)")
                   .arg(group));
    ASSERT_TRUE(m.dm->queries().oqEmitentSelect->locate(QStringLiteral("EMITENT_ID_WEB"), 1));

    ScriptedModalRunner runner;
    runner.answer = answerDialog<S>([&](S& w) {
        w.show(); // opens its lists
        EXPECT_EQ(w.tabs()->currentIndex(), 0);
        EXPECT_EQ(w.chosenEmitentId(), 1);
        EXPECT_EQ(ids(w.list(S::MemberEmitents), "EMITENT_ID_WEB"), QStringLiteral("7"));
        EXPECT_FALSE(ids(w.list(S::FreeEmitents), "EMITENT_ID_WEB").split(',').contains(QStringLiteral("7")));
        EXPECT_EQ(ids(w.list(S::MemberClients), "WBC_ID"), QStringLiteral("5,182"));
        EXPECT_EQ(ids(w.list(S::FreeClients), "WBC_ID"), freeClientsOfEmitentOne(group));
        // Names are shown decoded, in the emitent chooser too.
        EXPECT_EQ(w.grid(S::FreeEmitents)->columnField(3)->name(), QStringLiteral("EMITENT_NAME_ANSI"));
        EXPECT_FALSE(w.cbEmitent()->currentText().contains(QStringLiteral("\\u")));
        EXPECT_EQ(w.action(S::Cmd::acIncludeClients)->toolTip(), QStringLiteral("Включить в группу"));
        EXPECT_EQ(w.includeButton(true)->text(), QStringLiteral(">"));
        EXPECT_EQ(w.excludeButton(false)->text(), QStringLiteral("<"));

        // Another emitent fetches only the candidates: a tick in the members stays.
        tick(w.list(S::MemberClients), 1);
        w.chooseEmitent(4);
        EXPECT_EQ(w.chosenEmitentId(), 4);
        EXPECT_EQ(ticked(w.list(S::MemberClients)), 1);
        EXPECT_EQ(
            ids(w.list(S::FreeClients), "WBC_ID"),
            adminValue(QStringLiteral(
                "SELECT string_agg(c.wbc_id::text, ',' ORDER BY c.wbc_id) FROM tev.tev_web_clients c "
                "JOIN tev.tev_emitent e ON e.emitent_id_web = c.wbc_emitent_id "
                "WHERE e.emitent_num_owner = 2 AND e.filial_num_owner = 0 AND c.wbc_id NOT IN (5, 182)")));
        return int(QDialog::Accepted);
    });
    ShowGroupMembership(
        nullptr, *m.dm, group,
        DecodeUnicodeEscapes(QStringLiteral("Caf\\u00E9 \\u0391\\u03B8\\u03AE\\u03BD\\u03B1")));
    EXPECT_EQ(runner.titles, QStringList({QString::fromUtf8("Café Αθήνα")}));
}

TEST(TfmSubscriberSelectTest, TickingFlipsOneRowOrEveryRowWhateverTheFilterShows)
{
    REQUIRE_PG();
    SignedInModule m;
    const int group = newGroup(QStringLiteral("ticks"));
    S w(*m.dm, group);
    w.show();
    db::Dataset* free = w.list(S::FreeEmitents);
    const int all = free->recordCount();
    ASSERT_GT(all, 3);

    free->setCurrentRow(1);
    w.grid(S::FreeEmitents)->setFocus();
    QTest::keyClick(w.grid(S::FreeEmitents), Qt::Key_Space);
    EXPECT_EQ(ticked(free), 1);
    QTest::keyClick(w.grid(S::FreeEmitents), Qt::Key_Space);
    EXPECT_EQ(ticked(free), 0);

    free->setFilter(QStringLiteral("EMITENT_ID_WEB = 1"));
    free->setFiltered(true);
    w.action(S::Cmd::tickCommand(S::FreeEmitents, S::Tick::All))->trigger();
    free->setFiltered(false);
    EXPECT_EQ(ticked(free), all);
    free->setFiltered(true);
    w.action(S::Cmd::tickCommand(S::FreeEmitents, S::Tick::None))->trigger();
    EXPECT_TRUE(free->isFiltered());
    free->setFiltered(false);
    EXPECT_EQ(ticked(free), 0);
    tick(free, 0);
    w.action(S::Cmd::tickCommand(S::FreeEmitents, S::Tick::Invert))->trigger();
    EXPECT_EQ(ticked(free), all - 1);
    // The other lists keep their own ticks.
    EXPECT_EQ(ticked(w.list(S::MemberEmitents)), 0);
    w.close();
}

TEST(TfmSubscriberSelectTest, IncludeAndExcludeMoveTheTickedRowsOnly)
{
    REQUIRE_PG();
    SignedInModule m;
    const int group = newGroup(QStringLiteral("moves"));
    S w(*m.dm, group);
    w.show();
    db::Dataset* free = w.list(S::FreeClients);
    db::Dataset* members = w.list(S::MemberClients);
    const int before = free->recordCount();
    ASSERT_GT(before, 4);
    const QString first = free->value(1, free->fieldIndex(QStringLiteral("WBC_ID"))).toString();
    const QString second = free->value(2, free->fieldIndex(QStringLiteral("WBC_ID"))).toString();
    // Two adjacent rows, with an unticked one left between them and the end.
    tick(free, 1);
    tick(free, 2);
    free->setCurrentRow(3);
    w.action(S::Cmd::acIncludeClients)->trigger();
    EXPECT_EQ(memberClients(group), first + QLatin1Char(',') + second);
    EXPECT_EQ(free->recordCount(), before - 2);
    EXPECT_EQ(ids(free, "WBC_ID"), freeClientsOfEmitentOne(group));
    EXPECT_EQ(ids(members, "WBC_ID"), memberClients(group));
    EXPECT_EQ(free->currentRow(), 0);

    // Emitents: in and out again.
    db::Dataset* freeEmitents = w.list(S::FreeEmitents);
    const QString emitent =
        freeEmitents->value(0, freeEmitents->fieldIndex(QStringLiteral("EMITENT_ID_WEB"))).toString();
    tick(freeEmitents, 0);
    w.action(S::Cmd::acIncludeEmitents)->trigger();
    EXPECT_EQ(memberEmitents(group), emitent);
    EXPECT_EQ(ids(w.list(S::MemberEmitents), "EMITENT_ID_WEB"), emitent);
    w.action(S::Cmd::tickCommand(S::MemberEmitents, S::Tick::All))->trigger();
    w.action(S::Cmd::acExcludeEmitents)->trigger();
    EXPECT_EQ(memberEmitents(group), QString());
    EXPECT_TRUE(w.list(S::MemberEmitents)->isEmpty());
    EXPECT_TRUE(ids(freeEmitents, "EMITENT_ID_WEB").split(',').contains(emitent));

    // An empty source list does nothing at all.
    RecordingPresenter presenter;
    w.action(S::Cmd::acExcludeEmitents)->trigger();
    EXPECT_EQ(presenter.count(), 0);
    w.close();
}

TEST(TfmSubscriberSelectTest, IncludingWithNothingTickedChangesNothingAndRereadsBothLists)
{
    REQUIRE_PG();
    SignedInModule m;
    const int group = newGroup(QStringLiteral("nothing ticked"));
    S w(*m.dm, group);
    w.show();
    db::Dataset* free = w.list(S::FreeClients);
    const QString other = free->value(0, free->fieldIndex(QStringLiteral("WBC_ID"))).toString();
    // Someone else adds a member meanwhile.
    adminValue(QStringLiteral("INSERT INTO tev.tev_group_client VALUES (%1, %2)").arg(group).arg(other));
    w.action(S::Cmd::acIncludeClients)->trigger();
    EXPECT_EQ(memberClients(group), other);
    EXPECT_EQ(ids(w.list(S::MemberClients), "WBC_ID"), other);
    EXPECT_EQ(ids(free, "WBC_ID"), freeClientsOfEmitentOne(group));
    w.close();
}

TEST(TfmSubscriberSelectTest, AFailureMidIncludeMovesNothingShowsTheErrorAndListsMatchTheDatabase)
{
    REQUIRE_PG();
    SignedInModule m;
    const int group = newGroup(QStringLiteral("refused"));
    {
        S w(*m.dm, group);
        w.show();
        db::Dataset* free = w.list(S::FreeClients);
        const int idColumn = free->fieldIndex(QStringLiteral("WBC_ID"));
        const int refused = free->value(2, idColumn).toInt();
        for (int row : {0, 1, 2, 3})
            tick(free, row);
        RecordingPresenter presenter;
        RefusedMember refuse(m.session(), refused);
        w.action(S::Cmd::acIncludeClients)->trigger();
        ASSERT_EQ(presenter.count(), 1);
        EXPECT_TRUE(presenter.last().text.contains(QStringLiteral("refused by the test")));
        EXPECT_EQ(ids(free, "WBC_ID"), freeClientsOfEmitentOne(group));
        EXPECT_EQ(ticked(free), 0);
        EXPECT_TRUE(w.list(S::MemberClients)->isEmpty());
        w.close();
    }
    EXPECT_EQ(memberClients(group), QString());
}

TEST(TfmSubscriberSelectTest, NamesForReportsAreShownWhenThePortalSaysSo)
{
    REQUIRE_PG();
    const int group = newGroup(QStringLiteral("report names"));
    const QString member = adminValue("SELECT min(wbc_id) FROM tev.tev_web_clients WHERE wbc_emitent_id = 1 "
                                      "AND name_for_report IS NOT NULL");
    const QString candidate = adminValue(QStringLiteral("SELECT min(wbc_id) FROM tev.tev_web_clients WHERE "
                                                        "wbc_emitent_id = 1 AND name_for_report IS NOT NULL "
                                                        "AND wbc_id > %1")
                                             .arg(member));
    ASSERT_FALSE(candidate.isEmpty());
    adminValue(QStringLiteral("INSERT INTO tev.tev_group_client VALUES (%1, %2)").arg(group).arg(member));
    // The data module reads the portal settings when it signs in.
    adminValue("UPDATE tev.tev_configs SET param_val = '1' WHERE param_name = 'SHOW_REPORT_NAME'");
    SignedInModule m;
    ASSERT_TRUE(m.dm->queries().oqEmitentSelect->locate(QStringLiteral("EMITENT_ID_WEB"), 1));
    S w(*m.dm, group);
    w.show();
    adminValue("UPDATE tev.tev_configs SET param_val = '0' WHERE param_name = 'SHOW_REPORT_NAME'");
    EXPECT_EQ(w.reportNameSwitch(), 1);
    for (const auto& [list, id] :
         {std::pair{S::MemberClients, member}, std::pair{S::FreeClients, candidate}}) {
        db::Dataset* ds = w.list(list);
        ASSERT_TRUE(ds->locate(QStringLiteral("WBC_ID"), id.toInt()));
        EXPECT_EQ(ds->asString(QStringLiteral("WBC_NAME_ANSI")),
                  DecodeUnicodeEscapes(adminValue(
                      "SELECT btrim(name_for_report) FROM tev.tev_web_clients WHERE wbc_id = " + id)));
    }
    w.close();
}
