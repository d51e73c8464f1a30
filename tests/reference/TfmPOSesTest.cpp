#include "TfmPOSes.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "LostConnection.h"
#include "OraError.h"
#include "PortalCodec.h"
#include "RecordingPresenter.h"
#include "ReferenceQueries.h"
#include "ReferenceTestSupport.h"
#include "ScriptedModalRunner.h"
#include "TfmPOSUpd.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using P = ReferenceQueries::POSes;

namespace {

QString flags(const char* column, const QString& ids)
{
    return adminValue(QStringLiteral("SELECT string_agg(%1::text, ',' ORDER BY pos_num_web) FROM tev.tev_pos "
                                     "WHERE pos_num_web IN (%2)")
                          .arg(QString::fromLatin1(column), ids));
}

QString listFlags(db::Query* q, const char* column)
{
    QStringList values;
    for (int row = 0; row < q->recordCount(); ++row)
        values << q->value(row, q->fieldIndex(QString::fromLatin1(column))).toString();
    return values.join(QLatin1Char(','));
}

int gridColumn(DBGrid* grid, const char* field)
{
    const QList<DBGrid::Column> columns = grid->columns();
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].fieldName == QString::fromLatin1(field))
            return i;
    return -1;
}

} // namespace

TEST(TfmPOSesTest, BulkButtonsWalkEveryRowInOneTransactionAndKeepTheRow)
{
    REQUIRE_PG();
    SignedInModule m;
    m.setEmitent(8); // service points 39, 40, 41: visible 1, 0, 1
    TfmPOSes w(*m.dm);
    w.show();
    db::Query* q = w.list();
    ASSERT_EQ(q->recordCount(), 3);
    ASSERT_TRUE(q->locate(QString::fromLatin1(P::kId), 40));

    w.action(TfmPOSes::Cmd::acInvertCheck)->trigger();
    EXPECT_EQ(flags(P::kVisible, "39,40,41"), QStringLiteral("0,1,0"));
    EXPECT_EQ(listFlags(q, P::kVisible), QStringLiteral("0,1,0"));
    EXPECT_EQ(q->asInteger(QString::fromLatin1(P::kId)), 40);

    w.action(TfmPOSes::Cmd::actUnSelectAllUpdate)->trigger();
    EXPECT_EQ(flags(P::kUpdate, "39,40,41"), QStringLiteral("0,0,0"));
    w.action(TfmPOSes::Cmd::actSelectAllUpdate)->trigger();
    EXPECT_EQ(flags(P::kUpdate, "39,40,41"), QStringLiteral("1,1,1"));
    w.action(TfmPOSes::Cmd::acCheckAll)->trigger();
    EXPECT_EQ(flags(P::kVisible, "39,40,41"), QStringLiteral("1,1,1"));
    w.close();
}

TEST(TfmPOSesTest, FailureInTheMiddleOfAWalkLeavesTheDatabaseAsItWas)
{
    REQUIRE_PG();
    SignedInModule m;
    m.setEmitent(2); // 18, 19, 20: visible 1, 1, 0
    {
        TfmPOSes w(*m.dm);
        w.show();
        RefusedUpdate refused(m.session(), QStringLiteral("tev_pos"), QStringLiteral("NEW.pos_num_web = 19"));
        EXPECT_THROW(w.SetAllFlags(QString::fromLatin1(P::kVisible), reference::BulkFlag::UncheckAll),
                     db::OraError);
        // The list shows what is stored, not the half-done walk.
        EXPECT_EQ(listFlags(w.list(), P::kVisible), QStringLiteral("1,1,0"));
        w.close(); // closing commits whatever the connection holds
    }
    EXPECT_EQ(flags(P::kVisible, "18,19,20"), QStringLiteral("1,1,0"));
}

TEST(TfmPOSesTest, SpaceSwapsVisibilityAndAClickOnRefreshingSwapsIsUpdate)
{
    REQUIRE_PG();
    SignedInModule m;
    m.setEmitent(6); // 31 (1, 1), 32 (1, 0)
    TfmPOSes w(*m.dm);
    w.show();
    db::Query* q = w.list();
    ASSERT_TRUE(q->locate(QString::fromLatin1(P::kId), 32));
    w.grid()->setFocus();
    // Space in the "Обновлять" column still swaps visibility.
    w.grid()->setCurrentIndex(w.grid()->model()->index(q->currentRow(), gridColumn(w.grid(), P::kUpdate)));
    QTest::keyClick(w.grid(), Qt::Key_Space);
    EXPECT_EQ(flags(P::kVisible, "31,32"), QStringLiteral("1,0"));
    EXPECT_EQ(flags(P::kUpdate, "31,32"), QStringLiteral("1,0"));

    w.grid()->cellClickHook()(q->currentRow(), gridColumn(w.grid(), P::kUpdate));
    EXPECT_EQ(flags(P::kUpdate, "31,32"), QStringLiteral("1,1"));
    w.grid()->cellClickHook()(q->currentRow(), gridColumn(w.grid(), P::kCaption));
    EXPECT_EQ(flags(P::kVisible, "31,32") + flags(P::kUpdate, "31,32"), QStringLiteral("1,01,1"));
    EXPECT_EQ(q->asInteger(QString::fromLatin1(P::kId)), 32);
    w.close();
}

TEST(TfmPOSesTest, AToggleKeepsWhatTheExchangeStoredAndAFailedOneShowsTheStoredFlag)
{
    REQUIRE_PG();
    SignedInModule m;
    m.setEmitent(7);
    TfmPOSes w(*m.dm);
    w.show();
    db::Query* q = w.list();
    const int id = int(q->asInteger(QString::fromLatin1(P::kId)));
    const QString ids = QString::number(id);
    // The exchange renames the point after the list was read.
    adminValue(
        QStringLiteral("UPDATE tev.tev_pos SET pos_name = 'Renamed by the exchange', pos_address = 'New "
                       "address' WHERE pos_num_web = %1")
            .arg(id));
    const QString before = flags(P::kVisible, ids);
    w.SwapVisibility();
    EXPECT_NE(flags(P::kVisible, ids), before);
    EXPECT_EQ(adminValue(QStringLiteral(
                             "SELECT pos_name || '|' || pos_address FROM tev.tev_pos WHERE pos_num_web = %1")
                             .arg(id)),
              QStringLiteral("Renamed by the exchange|New address"));

    const QString update = flags(P::kUpdate, ids);
    {
        RefusedUpdate refused(m.session(), QStringLiteral("tev_pos"),
                              QStringLiteral("NEW.pos_num_web = %1").arg(id));
        EXPECT_THROW(w.SwapUpdate(), db::OraError);
    }
    EXPECT_EQ(q->asInteger(QString::fromLatin1(P::kId)), id);
    EXPECT_EQ(q->value(QString::fromLatin1(P::kUpdate)).toString(), update);
    EXPECT_EQ(flags(P::kUpdate, ids), update);
    w.close();
}

TEST(TfmPOSesTest, WithoutAnEmitentListTheWindowIsEmptyAndDoesNothing)
{
    REQUIRE_PG();
    SignedInModule m;
    m.setEmitent(8);
    m.dm->queries().oqEmitentSelect->close();
    const QString before = flags(P::kVisible, "39,40,41");
    TfmPOSes w(*m.dm);
    w.show();
    EXPECT_FALSE(w.list()->isOpen());
    w.updateActionsNow();
    EXPECT_FALSE(w.action(TfmPOSes::Cmd::acUpdPOS)->isEnabled());
    w.SetAllFlags(QString::fromLatin1(P::kVisible), reference::BulkFlag::Invert);
    w.SwapVisibility();
    EXPECT_EQ(flags(P::kVisible, "39,40,41"), before);
    w.close();
}

TEST(TfmPOSesTest, TheEditDialogStoresFullLengthGreekNameAndAddress)
{
    REQUIRE_PG();
    SignedInModule m;
    m.setEmitent(4);
    TfmPOSes w(*m.dm);
    w.show();
    db::Query* q = w.list();
    q->next();
    const int id = int(q->asInteger(QString::fromLatin1(P::kId)));
    const QString greekName = QString(300, QChar(0x03A9)); // more than the dialog takes
    const QString greekAddress = QString(255, QChar(0x03B1));
    ScriptedModalRunner runner;
    runner.answer = answerDialog<TfmPOSUpd>([&](TfmPOSUpd& d) {
        EXPECT_TRUE(d.edtEmitent()->isReadOnly());
        d.edtName()->setText(greekName);
        d.edtAddress()->setText(greekAddress);
        d.chkVisible()->setChecked(false);
        return int(QDialog::Accepted);
    });
    w.acUpdPOSExecute();
    const QString stored = adminValue(QStringLiteral("SELECT pos_name || '|' || pos_address || '|' || "
                                                     "isvisible FROM tev.tev_pos WHERE pos_num_web = %1")
                                          .arg(id));
    EXPECT_EQ(stored, EncodeUnicodeEscapes(greekName.left(255)) + QLatin1Char('|') +
                          EncodeUnicodeEscapes(greekAddress) + QStringLiteral("|0"));
    EXPECT_EQ(stored.size(), 1530 * 2 + 3);
    EXPECT_EQ(q->asInteger(QString::fromLatin1(P::kId)), id);
    EXPECT_TRUE(q->asString(QString::fromLatin1(P::kCaption)).endsWith(greekName.left(255)));

    // Cancelled: nothing written.
    runner.answer = answerDialog<TfmPOSUpd>([](TfmPOSUpd& d) {
        d.edtName()->setText(QStringLiteral("not stored"));
        return int(QDialog::Rejected);
    });
    w.acUpdPOSExecute();
    EXPECT_EQ(adminValue(QStringLiteral("SELECT pos_name FROM tev.tev_pos WHERE pos_num_web = %1").arg(id)),
              EncodeUnicodeEscapes(greekName.left(255)));
    w.close();
}

TEST(TfmPOSesTest, ALostConnectionIsNamedOnEveryActionAndTheWindowWorksAfterReRegistration)
{
    REQUIRE_PG();
    SignedInModule m;
    m.setEmitent(8); // service points 39, 40, 41: visible 1, 0, 1
    TfmPOSes w(*m.dm);
    w.show();
    DBGrid* grid = w.findChild<DBGrid*>();
    ASSERT_NE(grid, nullptr);
    const QStringList titles = gridTitles(grid);
    const QString stored = flags(P::kVisible, "39,40,41");
    RecordingPresenter presenter;
    endConnection(m.session());
    userAction([&] { w.SwapVisibility(); });
    userAction([&] { w.action(TfmPOSes::Cmd::acCheckAll)->trigger(); });
    ASSERT_EQ(presenter.count(), 2) << shownTexts(presenter.requests());
    for (const lang::MessageRequest& r : presenter.requests())
        EXPECT_EQ(r.text, lang::tr(u"rstrNotConnectByLan"));
    EXPECT_EQ(flags(P::kVisible, "39,40,41"), stored);
    EXPECT_EQ(gridTitles(grid), titles);

    w.close();

    // Re-registration from the main window, and the window opened again.
    m.session().connectAttempt();
    TfmPOSes again(*m.dm);
    again.show();
    again.action(TfmPOSes::Cmd::acCheckAll)->trigger();
    EXPECT_EQ(presenter.count(), 2);
    EXPECT_EQ(flags(P::kVisible, "39,40,41"), QStringLiteral("1,1,1"));
    EXPECT_EQ(listFlags(again.list(), P::kVisible), QStringLiteral("1,1,1"));
    again.close();
}
