#include "TfrmEmitentSelect.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "EmitentTestSupport.h"
#include "EmitentTexts.h"
#include "LostConnection.h"
#include "PortalCodec.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"
#include "TfrmEditBillingSettings.h"
#include "TfrmEditEmitChangeParams.h"
#include "TfrmSelectEmitentPos.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using Cmd = TfrmEmitentSelect::Cmd;

namespace {

int gridColumn(DBGrid* grid, const char* field)
{
    const QList<DBGrid::Column> columns = grid->columns();
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].fieldName == QString::fromLatin1(field))
            return i;
    return -1;
}

// Answers the folder browser too.
class FolderRunner : public ScriptedModalRunner
{
public:
    QString existingDirectory(QWidget*, const QString& caption, const QString& start) override
    {
        browsed << caption + QLatin1Char('|') + start;
        return folder;
    }
    QString folder;
    QStringList browsed;
};

} // namespace

TEST(TfrmEmitentSelect, FlagCellsAndSpaceWriteAtOnceSpaceAlwaysTheExportFlag)
{
    REQUIRE_PG();
    EmitentModule m;
    TfrmEmitentSelect w(*m.dm);
    w.show();
    db::Query* q = w.list();
    DBGrid* g = w.grid();

    // Emitent 3 is not exported; Space on its name column changes the export flag, not the name's.
    m.go(3);
    g->setFocus();
    g->setCurrentIndex(g->model()->index(q->currentRow(), gridColumn(g, "EMITENT_NAME_ANSI")));
    QTest::keyClick(g, Qt::Key_Space);
    EXPECT_EQ(emitentColumns("unload, pos_visible, hide_discont", "3"), QStringLiteral("1|1|0"));
    EXPECT_EQ(q->asInteger("EMITENT_ID_WEB"), 3) << "back on the same row";
    EXPECT_EQ(q->asInteger("UNLOAD"), 1) << "the list is read again";

    m.go(5); // new service points not visible
    g->cellClickHook()(q->currentRow(), gridColumn(g, "ISVISIBLE"));
    m.go(4); // discount flag 1
    g->cellClickHook()(q->currentRow(), gridColumn(g, "HIDE_DISCONT"));
    g->cellClickHook()(q->currentRow(), gridColumn(g, "EMITENT_NUMBER")); // no flag: nothing
    EXPECT_EQ(emitentColumns("unload, pos_visible, hide_discont", "4,5"), QStringLiteral("1|1|0;1|1|0"));
    EXPECT_EQ(q->asInteger("EMITENT_ID_WEB"), 4);
    w.close();
}

TEST(TfrmEmitentSelect, AFailedFlagIsReportedAndTheListShowsWhatIsStored)
{
    REQUIRE_PG();
    EmitentModule m;
    TfrmEmitentSelect w(*m.dm);
    w.show();
    RecordingPresenter presenter;
    {
        RefusedEmitentUpdate refused(m.session(), QStringLiteral("OLD.emitent_id_web = 3"));
        m.go(3);
        w.SwapUnload();
    }
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_TRUE(presenter.last().text.contains(QStringLiteral("refused by the test")));
    EXPECT_EQ(w.list()->asInteger("UNLOAD"), 0);
    EXPECT_EQ(emitentColumns("unload", "3"), QStringLiteral("0"));
    w.close();
}

TEST(TfrmEmitentSelect, TheManagerHasNoOrderCommandsTheAdministratorOpensBothOrderWindows)
{
    REQUIRE_PG();
    {
        EmitentModule manager(QStringLiteral("tev_manager"));
        TfrmEmitentSelect w(*manager.dm);
        w.show();
        w.updateActionsNow();
        EXPECT_TRUE(w.managerMode());
        for (const char* name : {Cmd::actOrderUpdate, Cmd::acOrderDownload}) {
            EXPECT_FALSE(w.action(name)->isVisible()) << name;
            EXPECT_FALSE(w.action(name)->isEnabled()) << name;
        }
        EXPECT_TRUE(w.action(Cmd::acEmitentEditParams)->isEnabled());
        EXPECT_FALSE(w.acSort()->isVisible());
        EXPECT_FALSE(w.acFilter()->isEnabled());
        w.close();
    }
    EmitentModule m;
    TfrmEmitentSelect w(*m.dm);
    w.show();
    w.updateActionsNow();
    ScriptedModalRunner runner;
    m.go(1);
    for (const char* name : {Cmd::actOrderUpdate, Cmd::acOrderDownload, Cmd::actEditLimits})
        w.action(name)->trigger();
    EXPECT_EQ(runner.dialogs, (QStringList{"TfrmOrderUnload", "TfrmOrderDownload", "TfrmLimitsEdit"}));
    EXPECT_EQ(runner.titles.mid(0, 2), (QStringList{lang::tr(u"rstrOrderUpdate"), lang::tr(u"rstrOrderDownload")}));
    w.close();
}

TEST(TfrmEmitentSelect, ExchangeDialogUnchangedMakesNoCall)
{
    REQUIRE_PG();
    EmitentModule m;
    TfrmEmitentSelect w(*m.dm);
    w.show();
    RecordingPresenter presenter;
    RefusedEmitentUpdate refused(m.session(), QStringLiteral("true")); // any call would fail
    ScriptedModalRunner runner;
    runner.answer = answerDialog<TfrmEditEmitChangeParams>([](TfrmEditEmitChangeParams& d) {
        d.btnApply()->click();
        return d.result();
    });
    for (int id : {1, 4, 8}) {
        m.go(id);
        w.action(Cmd::acEmitentEditParams)->trigger();
    }
    EXPECT_EQ(runner.dialogs.size(), 3);
    EXPECT_EQ(presenter.count(), 0);
    w.close();
}

TEST(TfrmEmitentSelect, ExchangeDialogNeedsAnAddressForMailAndCarriesTheHttpValues)
{
    REQUIRE_PG();
    EmitentModule m;
    TfrmEmitentSelect w(*m.dm);
    w.show();
    RecordingPresenter presenter;
    FolderRunner runner;
    QStringList steps;
    // Emitent 4 exchanges by mail and has an HTTP channel: a new address, nothing else changes.
    runner.answer = answerDialog<TfrmEditEmitChangeParams>([&](TfrmEditEmitChangeParams& d) {
        EXPECT_EQ(d.header()->text(), lang::tr(u"rstrEmitent") + QStringLiteral(": Нефтьсервис"));
        EXPECT_FALSE(d.btnFolderSelect()->isEnabled());
        d.edEmail()->setText(QString());
        d.btnApply()->click();
        steps << QString::number(d.result()) + QLatin1Char(':') + presenter.last().text;
        d.edEmail()->setText(QStringLiteral("  new@neftservice.example "));
        d.btnApply()->click();
        return d.result();
    });
    m.go(4);
    w.action(Cmd::acEmitentEditParams)->trigger();
    EXPECT_EQ(steps, QStringList{QStringLiteral("0:") + lang::tr(u"rstrNeedEMailAddress")});
    EXPECT_EQ(emitentColumns("type_change, e_mail, use_http, http_server, http_port, use_http_proxy, "
                             "http_proxy_server, http_proxy_port, use_http_proxy_auth, http_proxy_user, "
                             "http_proxy_pswd",
                             "4"),
              QStringLiteral("1|new@neftservice.example|1|gw.neftservice.example|8443|1|proxy.neftservice."
                             "example|3128|1|tev|proxy-secret"));
    EXPECT_EQ(w.list()->asString("E_MAIL"), QStringLiteral("new@neftservice.example"));

    // Emitent 8 goes back to an exchange folder, chosen in the browser; the address stays.
    runner.folder = QStringLiteral("/srv/tev/exchange/0005_0");
    runner.answer = answerDialog<TfrmEditEmitChangeParams>([&](TfrmEditEmitChangeParams& d) {
        d.rbFolder()->setChecked(true);
        EXPECT_FALSE(d.edEmail()->isEnabled());
        d.btnFolderSelect()->click();
        d.btnApply()->click();
        return d.result();
    });
    m.go(8);
    w.action(Cmd::acEmitentEditParams)->trigger();
    EXPECT_EQ(runner.browsed, QStringList{lang::tr(u"rstrDirSelect") + QLatin1Char('|')});
    EXPECT_EQ(emitentColumns("type_change, sharing_folder, e_mail", "8"),
              QStringLiteral("0|/srv/tev/exchange/0005_0|fuel@athina.example"));

    // An address list with something that is no address is refused.
    runner.answer = answerDialog<TfrmEditEmitChangeParams>([&](TfrmEditEmitChangeParams& d) {
        d.rbEmail()->setChecked(true);
        d.edEmail()->setText(QStringLiteral("fuel@athina.example; athina"));
        d.btnApply()->click();
        return d.result();
    });
    w.action(Cmd::acEmitentEditParams)->trigger();
    EXPECT_EQ(presenter.last().text, emitenttext::badAddress(QStringLiteral("athina")));
    EXPECT_EQ(emitentColumns("type_change", "8"), QStringLiteral("0"));
    w.close();
}

TEST(TfrmEmitentSelect, AFailedWriteKeepsTheDialogOpenWithItsValues)
{
    REQUIRE_PG();
    EmitentModule m;
    TfrmEmitentSelect w(*m.dm);
    w.show();
    RecordingPresenter presenter;
    RefusedEmitentUpdate refused(m.session(), QStringLiteral("OLD.emitent_id_web = 1"));
    ScriptedModalRunner runner;
    QStringList kept;
    runner.answer = [&](QDialog& dialog) {
        if (auto* d = dynamic_cast<TfrmEditEmitChangeParams*>(&dialog)) {
            d->rbEmail()->setChecked(true);
            d->edEmail()->setText(QStringLiteral("tev@centre.example"));
            d->btnApply()->click();
            kept << d->edEmail()->text();
        } else if (auto* b = dynamic_cast<TfrmEditBillingSettings*>(&dialog)) {
            b->edVat()->setText(QStringLiteral("10"));
            b->btnApply()->click();
            kept << b->edVat()->text();
        }
        return dialog.result();
    };
    m.go(1);
    w.action(Cmd::acEmitentEditParams)->trigger();
    w.action(Cmd::actBillingSettingsEdit)->trigger();
    EXPECT_EQ(kept, (QStringList{"tev@centre.example", "10"}));
    ASSERT_EQ(presenter.count(), 2);
    for (const lang::MessageRequest& r : presenter.requests())
        EXPECT_TRUE(r.text.startsWith(emitenttext::writeFailed(QString()))) << r.text.toStdString();
    EXPECT_EQ(emitentColumns("type_change, e_mail, billing_vat", "1"), QStringLiteral("0|20.00"));
    w.close();
}

TEST(TfrmEmitentSelect, BillingRefusesWhatCannotBeStoredAndStoresTheRest)
{
    REQUIRE_PG();
    EmitentModule m;
    TfrmEmitentSelect w(*m.dm);
    w.show();
    RecordingPresenter presenter;
    ScriptedModalRunner runner;
    const QString name(100, QChar(0x2713)); // six times as long when stored
    QStringList refusals;
    runner.answer = answerDialog<TfrmEditBillingSettings>([&](TfrmEditBillingSettings& d) {
        EXPECT_FALSE(d.edPrefix()->isEnabled()) << "billing is off for emitent 2";
        d.cbUseBilling()->setChecked(true);
        EXPECT_TRUE(d.edVat()->isEnabled());
        d.edServiceName()->setText(name);
        const auto refusedWith = [&](const QString& prefix, const QString& vat) {
            d.edPrefix()->setText(prefix);
            d.edVat()->setText(vat);
            const int before = presenter.count();
            d.btnApply()->click();
            refusals << (d.result() == QDialog::Accepted ? QStringLiteral("accepted")
                         : presenter.count() > before ? presenter.last().text
                                                      : QStringLiteral("silent"));
        };
        refusedWith(QStringLiteral("A/B"), QStringLiteral("20"));
        refusedWith(QStringLiteral("ABCD"), QStringLiteral("20"));
        refusedWith(QStringLiteral("A1-"), QStringLiteral("150"));
        d.edVat()->clear();
        d.edVat()->setFocus();
        QTest::keyClicks(d.edVat(), QStringLiteral("1x2,5"));
        EXPECT_EQ(emitentrules::ParseVat(d.edVat()->text()), 12.5) << d.edVat()->text().toStdString();
        d.btnApply()->click();
        return d.result();
    });
    m.go(2);
    w.action(Cmd::actBillingSettingsEdit)->trigger();
    EXPECT_EQ(refusals, (QStringList{lang::tr(u"vrstrPrefixInvalidChar"),
                                     emitenttext::tooLong(lang::tr(u"vrstrPrefix"), 3), emitenttext::badVat()}));
    EXPECT_EQ(emitentColumns("use_billing, billing_prefix, billing_vat", "2"), QStringLiteral("1|A1-|12.50"));
    EXPECT_EQ(emitentColumns("billing_service_name", "2"), EncodeUnicodeEscapes(name));

    // Read back as stored: nothing changed, no call.
    RefusedEmitentUpdate refused(m.session(), QStringLiteral("true"));
    runner.answer = answerDialog<TfrmEditBillingSettings>([&](TfrmEditBillingSettings& d) {
        EXPECT_EQ(d.edServiceName()->text(), name);
        EXPECT_EQ(d.edVat()->text(), QStringLiteral("12.5"));
        d.btnApply()->click();
        return d.result();
    });
    presenter.clear();
    w.action(Cmd::actBillingSettingsEdit)->trigger();
    EXPECT_EQ(presenter.count(), 0);
    w.close();
}

TEST(TfrmEmitentSelect, AcquirerVisibilityIsSetInOneTransactionAndAnEmptyListOpensNothing)
{
    REQUIRE_PG();
    EmitentModule m;
    TfrmEmitentSelect w(*m.dm);
    w.show();
    RecordingPresenter presenter;
    ScriptedModalRunner runner;

    m.go(8); // lists only its own service points
    w.updateActionsNow();
    w.action(Cmd::actEmitentPosVisible)->trigger();
    EXPECT_TRUE(runner.dialogs.isEmpty());
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, lang::tr(u"vrstrNoDataToShow"));
    EXPECT_EQ(presenter.last().caption, lang::tr(u"rstrWarning"));

    // Emitent 1 lists points of 2, 3, 7 and 9; 7 does not show new points.
    QStringList seen;
    runner.answer = answerDialog<TfrmSelectEmitentPos>([&](TfrmSelectEmitentPos& d) {
        seen << QString::number(d.list()->recordCount());
        d.action(TfrmSelectEmitentPos::Cmd::acCheckAll)->trigger();
        seen << emitentColumns("pos_visible", "2,3,7,9");
        d.action(TfrmSelectEmitentPos::Cmd::acInvertCheck)->trigger();
        seen << emitentColumns("pos_visible", "2,3,7,9");
        {
            RefusedEmitentUpdate refused(m.session(), QStringLiteral("OLD.emitent_id_web = 7"));
            d.action(TfrmSelectEmitentPos::Cmd::acCheckAll)->trigger();
        }
        seen << emitentColumns("pos_visible", "2,3,7,9");
        d.list()->locate(QStringLiteral("EMITENT_ID_WEB"), 3);
        d.ToggleVisibility();
        seen << emitentColumns("pos_visible", "2,3,7,9");
        return int(QDialog::Accepted);
    });
    presenter.clear();
    m.go(1);
    w.updateActionsNow();
    ASSERT_TRUE(w.action(Cmd::actEmitentPosVisible)->isEnabled());
    w.action(Cmd::actEmitentPosVisible)->trigger();
    EXPECT_EQ(seen, (QStringList{"4", "1;1;1;1", "0;0;0;0", "0;0;0;0", "0;1;0;0"}));
    EXPECT_EQ(presenter.count(), 1) << "the failed walk says so";
    w.close();
}

// A lost connection: each flag says so once with the catalogue's text and writes nothing; the
// grid keeps its captions; after re-registration the window opened again writes the flag.
TEST(TfrmEmitentSelect, ALostConnectionIsNamedOnEveryActionAndTheFlagWorksAfterReRegistration)
{
    REQUIRE_PG();
    EmitentModule m;
    const QString stored = emitentColumns("unload, pos_visible", "3");
    const QString lost = lang::tr(u"rstrNotConnectByLan");
    {
        TfrmEmitentSelect w(*m.dm);
        w.show();
        m.go(3);
        const QStringList titles = gridTitles(w.grid());
        RecordingPresenter presenter;
        endConnection(m.session());
        userAction([&] { w.SwapUnload(); });
        // The list could not be read again, so the row commands have nothing to act on; the
        // order window still can be asked for.
        EXPECT_FALSE(w.list()->isOpen());
        ScriptedModalRunner runner;
        userAction([&] { w.actOrderUpdateExecute(); });
        ASSERT_EQ(presenter.count(), 2) << shownTexts(presenter.requests());
        for (const lang::MessageRequest& r : presenter.requests()) {
            EXPECT_TRUE(r.text.contains(lost)) << r.text.toStdString();
            EXPECT_FALSE(r.text.contains(QStringLiteral("ORA-03114"))) << r.text.toStdString();
        }
        EXPECT_EQ(gridTitles(w.grid()), titles);
        EXPECT_EQ(emitentColumns("unload, pos_visible", "3"), stored);
        w.close();
    }
    // Re-registration; the main window reopens the emitent list before the window opens.
    m.session().connectAttempt();
    m.emitents()->open();
    m.go(3);
    RecordingPresenter presenter;
    TfrmEmitentSelect w(*m.dm);
    w.show();
    w.SwapUnload();
    EXPECT_EQ(presenter.count(), 0) << shownTexts(presenter.requests());
    EXPECT_EQ(emitentColumns("unload", "3"), QStringLiteral("1"));
    w.close();
}
