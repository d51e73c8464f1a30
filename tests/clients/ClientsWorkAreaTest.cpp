#include "ClientsWorkArea.h"

#include "Catalogue.h"
#include "ClientTicks.h"
#include "ClientsFilter.h"
#include "ClientsQuery.h"
#include "ClientsTestSupport.h"
#include "ConnectionSettings.h"
#include "DBGrid.h"
#include "LaterWindowNotice.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"
#include "SharedQueries.h"
#include "TTranslator.h"
#include "TfrmSelectEmitent.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

using Pane = ClientsWorkArea::Pane;

class WorkArea : public WorkAreaTest
{
protected:
    // The start of the workspace for the emitent the settings name (the first one by default).
    void start()
    {
        area->ChooseStartEmitent();
        area->OpenEmitentList(area->CurrentEmitentId());
        area->OpenEmitentData();
    }
    db::Query& clients() { return *area->qryClients(); }
    SharedQueries& shared() { return module->dm->queries(); }
    QVariant clientValue(int wbcId, const char* field)
    {
        db::Query& q = clients();
        for (int r = 0; r < q.recordCount(); ++r)
            if (q.value(r, q.fieldIndex("WBC_ID")).toInt() == wbcId)
                return q.value(r, q.fieldIndex(field));
        return QVariant();
    }
    void locateClient(int wbcId) { ASSERT_TRUE(clients().locate("WBC_ID", wbcId)); }

};

// Ticks as a list of booleans over every fetched row (filter off for the look).
QList<bool> allTicks(db::Dataset& ds)
{
    const bool filtered = ds.isFiltered();
    ds.setFiltered(false);
    QList<bool> ticks;
    for (int r = 0; r < ds.recordCount(); ++r)
        ticks << (ds.value(r, ds.fieldIndex("ISVISIBLE")).toInt() == 1);
    ds.setFiltered(filtered);
    return ticks;
}

// Ticking all or none row by row: filter on the tick and work the first row
// until none is left.
void refilteringLoop(db::Dataset& ds, int value)
{
    const QString filter = ds.filter();
    const bool filtered = ds.isFiltered();
    ds.setFiltered(false);
    ds.setFilter(value == 1 ? "(ISVISIBLE = 0)" : "(ISVISIBLE = 1)");
    ds.setFiltered(true);
    while (!ds.isEmpty()) {
        ds.first();
        ds.edit();
        ds.setValue("ISVISIBLE", value);
        ds.post();
    }
    ds.setFiltered(false);
    ds.setFilter(filter);
    ds.setFiltered(filtered);
}

void flipInListOrder(db::Dataset& ds)
{
    const bool filtered = ds.isFiltered();
    ds.setFiltered(false);
    for (ds.first(); !ds.eof(); ds.next()) {
        ds.edit();
        ds.setValue("ISVISIBLE", ds.asInteger("ISVISIBLE") == 1 ? 0 : 1);
        ds.post();
    }
    ds.setFiltered(filtered);
}

} // namespace

TEST_F(WorkArea, ClientsOfTheFirstEmitentWithTheirColumnsAndTexts)
{
    start();
    EXPECT_EQ(area->CurrentEmitentId(), 1);
    EXPECT_EQ(area->emitentCaption(), QString::fromUtf8("   [1, 0] ТЭВ-Центр"));
    ASSERT_TRUE(clients().isOpen());
    EXPECT_EQ(clients().recordCount(),
              adminValue("select count(*) from tev.v_tev_web_clients where wbc_emitent_id = 1").toInt());
    EXPECT_FALSE(clients().isFiltered()) << "no filter before the first click";

    // Captions from the catalogue, in display order; the description is fetched, not shown.
    const QList<ClientsQuery::Column>& columns = ClientsQuery::Columns();
    DBGrid* grid = area->grdClients();
    ASSERT_EQ(grid->gridColumnCount(), columns.size());
    for (int i = 0; i < columns.size(); ++i) {
        SCOPED_TRACE(columns[i].field);
        ASSERT_NE(grid->columnField(i), nullptr);
        EXPECT_EQ(grid->columnField(i)->name(), QString::fromLatin1(columns[i].field));
        EXPECT_EQ(grid->columnField(i)->displayLabel(), ClientsQuery::Caption(columns[i]));
        EXPECT_EQ(grid->isColumnVisible(i),
                  QLatin1String(columns[i].field) != QLatin1String("WBC_DESCRIPTION"));
    }
    EXPECT_EQ(grid->columnField(0)->displayLabel(), QString::fromUtf8("Выбрать"));
    EXPECT_EQ(grid->columnField(16)->displayLabel(), QString::fromUtf8("Web ID"));
    for (const char* hidden : {"WBC_NAME", "CLIENTISLNR", "CLIENTISBONUS", "TEST_CLIENT", "ALLOW_USE_API"})
        EXPECT_FALSE(clients().fieldByName(hidden).isVisible()) << hidden;

    // Decoded names, state texts, the "-" of permissions that do not apply.
    EXPECT_EQ(clientValue(7, "WBC_NAME_ANSI").toString(), QString::fromUtf8("Café Αθήνα 7"));
    EXPECT_EQ(clientValue(1, "STATE").toString(), lang::tr(u"rstrCreated"));
    EXPECT_EQ(clientValue(2, "STATE").toString(), lang::tr(u"rstrInvited"));
    EXPECT_EQ(clientValue(4, "STATE").toString(), lang::tr(u"rstrNotSubsc"));
    EXPECT_EQ(clientValue(7, "STATE").toString(), lang::tr(u"rstrSubscribe"));
    EXPECT_EQ(clientValue(8, "STATE").toString(), lang::tr(u"rstrBlocked"));
    EXPECT_EQ(clientValue(17, "BLACK_LIST").toString(), lang::tr(u"rstrYes"));
    EXPECT_EQ(clientValue(1, "BLACK_LIST").toString(), lang::tr(u"rstrNo"));
    // client 3 belongs to the second data source, client 5 to the bonus programme
    for (const char* dash :
         {"ALLOW_USE_API_TXT", "ALLOW_UNBLOCK_CARD_TXT", "ALLOW_SUBSCRIBE_ON_SMS_TXT", "ALLOW_CREATE_DR_TXT",
          "ALLOW_CREATE_DD_TXT", "ALLOW_CREATE_OIL_TXT", "ALLOW_CH_ONL_PARAMS_TXT"})
        EXPECT_EQ(clientValue(3, dash).toString(), "-") << dash;
    for (const char* yesNo :
         {"ALLOW_CHANGE_HOLDER_TXT", "ALLOW_LOST_CARD_TXT", "UPDATE_EMAIL_TXT", "TEST_CLIENT_STR"})
        EXPECT_TRUE(QStringList({lang::tr(u"rstrYes"), lang::tr(u"rstrNo")})
                        .contains(clientValue(3, yesNo).toString()))
            << yesNo;
    EXPECT_EQ(clientValue(5, "ALLOW_CREATE_OIL_TXT").toString(), "-");
    EXPECT_EQ(clientValue(5, "ALLOW_CH_ONL_PARAMS_TXT").toString(), "-");
    EXPECT_NE(clientValue(5, "ALLOW_CREATE_DR_TXT").toString(), "-");

    // the logins of the first client are open, the pane is not
    EXPECT_TRUE(shared().qryLogins->isOpen());
    EXPECT_EQ(shared().qryLogins->paramByName("pID").value(), clients().value("WBC_ID"));
    EXPECT_FALSE(area->detailPane()->isVisibleTo(window.get()));
}

TEST_F(WorkArea, RadioGroupsFilterTheListAndItsColumns)
{
    start();
    struct Client
    {
        int type, lnr, bonus;
    };
    QList<Client> rows;
    for (int r = 0; r < clients().recordCount(); ++r)
        rows.append({clients().value(r, clients().fieldIndex("WBC_PETROL_TYPE_ID")).toInt(),
                     clients().value(r, clients().fieldIndex("CLIENTISLNR")).toInt(),
                     clients().value(r, clients().fieldIndex("CLIENTISBONUS")).toInt()});
    const int total = rows.size();
    DBGrid* grid = area->grdClients();
    auto columnVisible = [&](const char* field) {
        for (int c = 0; c < grid->gridColumnCount(); ++c)
            if (grid->columnField(c) && grid->columnField(c)->name() == QLatin1String(field))
                return grid->isColumnVisible(c);
        return false;
    };
    for (int source = 0; source < 3; ++source)
        for (int type = 0; type < 3; ++type) {
            SCOPED_TRACE(QStringLiteral("source %1, type %2").arg(source).arg(type).toStdString());
            area->clickSource(source);
            area->clickClientType(type);
            int expected = 0;
            for (const Client& c : rows)
                expected +=
                    c.bonus == 0 && (type == 2 || c.type == type + 1) && (source == 2 || c.lnr == source);
            EXPECT_EQ(clients().filter(), ClientsFilter::FilterText(source, type));
            EXPECT_TRUE(clients().isFiltered());
            EXPECT_EQ(clients().recordCount(), expected);
            EXPECT_LT(clients().recordCount(), total);
            EXPECT_EQ(columnVisible("ALLOW_CREATE_DR_TXT"), source != 1);
            EXPECT_EQ(columnVisible("ALLOW_CREATE_DD_TXT"), source != 1);
            EXPECT_EQ(columnVisible("ALLOW_CREATE_OIL_TXT"), source != 1);
        }
}

TEST_F(WorkArea, StartSwitchesToBothSourcesOnlyWithClientsOfTheSecond)
{
    start();
    area->ShowBothSourcesWhenLnr();
    EXPECT_EQ(area->sourceIndex(), ClientsFilter::SourceOCandLC);
    EXPECT_TRUE(clients().isFiltered());
    EXPECT_EQ(clients().filter(), "(clientisbonus = 0)");

    // emitent 9 has no clients at all
    module->dm->settings().setLastSelectedEmitent(9);
    auto other = std::make_unique<QWidget>();
    auto* fresh = new ClientsWorkArea(*module->dm, other.get());
    module->bindWindow(other.get());
    fresh->ChooseStartEmitent();
    fresh->OpenEmitentList(fresh->CurrentEmitentId());
    fresh->OpenEmitentData();
    fresh->ShowBothSourcesWhenLnr();
    EXPECT_EQ(fresh->CurrentEmitentId(), 9);
    EXPECT_EQ(fresh->sourceIndex(), ClientsFilter::SourceOC);
    EXPECT_FALSE(fresh->qryClients()->isFiltered());
}

TEST_F(WorkArea, BulkTicksGiveTheResultsOfTheRefilteringLoops)
{
    start();
    // The same rows in a second query, worked the old way.
    db::Query oracle(window.get());
    ClientsQuery::Setup(oracle);
    oracle.setObjectName("qryOracle");
    module->bindWindow(window.get());
    oracle.setParam("emitent_id", 1);
    oracle.setParam("rpt", 0);
    oracle.open();
    ASSERT_EQ(oracle.recordCount(), clients().recordCount());

    enum Op
    {
        All,
        None,
        Invert
    };
    struct Row
    {
        const char* name;
        int source, type; // -1: no filter
        int everyNth;     // seed: every n-th row ticked (0: none)
        Op op;
    } rows[] = {
        {"all, no filter, nothing ticked", -1, -1, 0, All},
        {"all under firms of OC", 0, 0, 3, All},
        {"all under private of both", 2, 1, 2, All},
        {"none under firms", 0, 0, 2, None},
        {"none, no filter", -1, -1, 1, None},
        {"invert under LC", 1, 2, 4, Invert},
        {"invert, no filter", -1, -1, 5, Invert},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        for (db::Dataset* ds : {static_cast<db::Dataset*>(&clients()), static_cast<db::Dataset*>(&oracle)}) {
            ds->setFiltered(false);
            ds->setFilter(QString());
            for (int row = 0; row < ds->recordCount(); ++row)
                ClientTicks::SetTick(*ds, row, r.everyNth > 0 && row % r.everyNth == 0 ? 1 : 0);
            if (r.source >= 0) {
                ds->setFilter(ClientsFilter::FilterText(r.source, r.type));
                ds->setFiltered(true);
            }
            ds->setCurrentRow(ds->recordCount() / 2);
        }
        const QVariant current = clients().value("WBC_ID");
        int count = 0;
        switch (r.op) {
        case All:
            count = ClientTicks::SelectAll(clients());
            refilteringLoop(oracle, 1);
            EXPECT_EQ(count, oracle.recordCount()) << "the rows the restored filter shows";
            break;
        case None:
            count = ClientTicks::SelectNone(clients());
            refilteringLoop(oracle, 0);
            EXPECT_EQ(count, 0);
            break;
        case Invert:
            count = ClientTicks::InvertSelection(clients());
            flipInListOrder(oracle);
            EXPECT_EQ(count, ClientTicks::CountTicked(oracle));
            break;
        }
        EXPECT_EQ(clients().value("WBC_ID"), current) << "the current client stays";
        EXPECT_EQ(clients().filter(), oracle.filter());
        EXPECT_EQ(clients().isFiltered(), oracle.isFiltered());
        EXPECT_EQ(allTicks(clients()), allTicks(oracle));
    }
}

TEST_F(WorkArea, SelectAllUnderAFilterTicksHiddenRowsButHandsOverOnlyTheShownOnes)
{
    start();
    area->clickClientType(ClientsFilter::TypeFirms);
    const int shown = clients().recordCount();
    locateClient(int(clients().value(3, clients().fieldIndex("WBC_ID")).toInt()));
    const QVariant current = clients().value("WBC_ID");

    area->acSelectAll()->trigger();
    EXPECT_EQ(area->SelectedCount(), shown);
    EXPECT_EQ(clients().value("WBC_ID"), current);
    const QList<bool> ticks = allTicks(clients());
    EXPECT_EQ(ticks.count(true), ticks.size()) << "rows the filter hides are ticked too";

    locateClient(current.toInt());
    const TInvitationList list = area->InvitationClients();
    EXPECT_EQ(clients().value("WBC_ID"), current);
    ASSERT_EQ(list.size(), shown);
    for (int i = 0; i < shown; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(list[i].key, clients().value(i, clients().fieldIndex("WBC_ID")).toString());
        EXPECT_EQ(list[i].client.WBC_NAME_ANSI,
                  clients().value(i, clients().fieldIndex("WBC_NAME_ANSI")).toString());
        EXPECT_EQ(list[i].client.WBC_PETROL_ID,
                  clients().value(i, clients().fieldIndex("WBC_PETROL_ID")).toString());
        EXPECT_EQ(list[i].client.WBC_EMAIL, clients().value(i, clients().fieldIndex("WBC_EMAIL")).toString());
    }
    EXPECT_EQ(clients().filter(),
              ClientsFilter::FilterText(ClientsFilter::SourceOC, ClientsFilter::TypeFirms));
    EXPECT_EQ(clients().recordCount(), shown);

    area->acInvertSelection()->trigger();
    EXPECT_EQ(area->SelectedCount(), 0);
    EXPECT_TRUE(area->InvitationClients().isEmpty());
    area->acSelectAll()->trigger();
    area->acSelectNone()->trigger();
    EXPECT_EQ(area->SelectedCount(), 0);
    EXPECT_EQ(allTicks(clients()).count(true), 0);

    // Reopening loses the ticks and the count.
    area->acSelectAll()->trigger();
    clients().refresh();
    EXPECT_EQ(area->SelectedCount(), 0);
    EXPECT_EQ(allTicks(clients()).count(true), 0);
}

TEST_F(WorkArea, SpaceAndAClickInTheTickColumnTickTheCurrentClient)
{
    start();
    window->resize(1000, 700);
    window->show();
    DBGrid* grid = area->grdClients();
    grid->setFocus();
    clients().setCurrentRow(2);
    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_EQ(area->SelectedCount(), 1);
    EXPECT_TRUE(ClientTicks::IsTicked(clients(), 2));
    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_EQ(area->SelectedCount(), 0);
    EXPECT_FALSE(ClientTicks::IsTicked(clients(), 2));

    const QRect tickCell = grid->visualRect(grid->model()->index(1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, tickCell.center());
    EXPECT_EQ(clients().currentRow(), 1);
    EXPECT_EQ(area->SelectedCount(), 1);
    EXPECT_TRUE(ClientTicks::IsTicked(clients(), 1));
    // a click elsewhere in the row only moves there
    const QRect nameCell = grid->visualRect(grid->model()->index(4, 2));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, nameCell.center());
    EXPECT_EQ(clients().currentRow(), 4);
    EXPECT_EQ(area->SelectedCount(), 1);
}

TEST_F(WorkArea, DetailPanesFollowTheCurrentClient)
{
    start();
    window->show();
    SharedQueries& q = shared();
    auto id = [&] { return clients().value("WBC_ID"); };

    area->actShowLogins()->trigger();
    EXPECT_EQ(area->shownPane(), Pane::Logins);
    EXPECT_TRUE(area->detailPane()->isVisible());
    EXPECT_TRUE(area->paneButton(Pane::Logins)->isChecked());
    EXPECT_TRUE(area->actShowLogins()->isChecked());
    EXPECT_EQ(area->grdDetail()->dataset(), q.qryLogins);
    EXPECT_EQ(area->grdDetail()->hint(), lang::tr(u"rstrLogins"));
    EXPECT_EQ(q.qryLogins->paramByName("pID").value(), id());
    EXPECT_EQ(area->grdDetail()->columnField(0)->name(), "ID");

    clients().setCurrentRow(5);
    EXPECT_EQ(q.qryLogins->paramByName("pID").value(), id()) << "reopened for the new client";
    EXPECT_EQ(
        q.qryLogins->recordCount(),
        adminValue("select count(*) from tev.v_tev_web_logins where wbl_web_client_id = " + id().toString())
            .toInt());

    area->actShowJournal()->trigger();
    EXPECT_EQ(area->shownPane(), Pane::Journal);
    EXPECT_FALSE(area->paneButton(Pane::Logins)->isChecked());
    EXPECT_TRUE(area->paneButton(Pane::Journal)->isChecked());
    EXPECT_EQ(area->grdDetail()->dataset(), q.qryJournal);
    EXPECT_EQ(q.qryJournal->paramByName("pID").value(), id());
    EXPECT_EQ(q.qryJournal->paramByName("pLangId").value().toInt(), 25);
    clients().setCurrentRow(6);
    EXPECT_EQ(q.qryJournal->paramByName("pID").value(), id());

    area->actShowDescribes()->trigger();
    EXPECT_EQ(area->grdDetail()->dataset(), q.oqDescribes);
    EXPECT_EQ(area->grdDetail()->hint(), lang::tr(u"rstrClientDescribes"));
    EXPECT_EQ(q.oqDescribes->paramByName("id").value(), id());

    // A click on the button that is down raises it and hides the pane.
    area->paneButton(Pane::Describes)->click();
    EXPECT_FALSE(area->detailPane()->isVisible());
    EXPECT_EQ(area->shownPane(), Pane::None);
    EXPECT_TRUE(area->actHideDetail()->isChecked());

    area->actShowLogins()->trigger();
    area->actHideDetail()->trigger();
    EXPECT_FALSE(area->detailPane()->isVisible());
    for (Pane p : {Pane::Logins, Pane::Journal, Pane::Describes})
        EXPECT_FALSE(area->paneButton(p)->isChecked());

    // The navigator reopens the logins even while no pane is shown.
    area->navClients()->click(RecordNavigator::nbNext);
    EXPECT_EQ(clients().currentRow(), 7);
    EXPECT_EQ(q.qryLogins->paramByName("pID").value(), id());
}

TEST_F(WorkArea, PickerChangesTheEmitentAndCommits)
{
    start();
    QStringList offered;
    int offeredCurrent = 0;
    std::optional<int> answer = 4;
    ScriptedModalRunner runner;
    runner.answer = answerDialog<TfrmSelectEmitent>([&](TfrmSelectEmitent& picker) {
        offeredCurrent = picker.selectedEmitentId().value_or(0);
        offered.clear();
        db::Dataset& list = *picker.list();
        for (list.first(); !list.eof(); list.next())
            offered << list.asString(QStringLiteral("EMITENT"));
        if (!answer)
            return int(QDialog::Rejected);
        list.locate(QStringLiteral("EMITENT_ID_WEB"), *answer);
        return int(QDialog::Accepted);
    });
    QSignalSpy changed(area, &ClientsWorkArea::emitentChanged);
    area->btnSelectEmitent()->click();

    ASSERT_EQ(offered.size(), adminValue("select count(*) from tev.v_tev_emitent").toInt());
    EXPECT_EQ(offeredCurrent, 1);
    EXPECT_EQ(offered[0], QString::fromUtf8("[1, 0] ТЭВ-Центр"));
    EXPECT_EQ(offered[5], QString::fromUtf8("[3, ] Café Petrol"));
    EXPECT_EQ(area->CurrentEmitentId(), 4);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(module->dm->settings().lastSelectedEmitent(), 4);
    EXPECT_EQ(clients().paramByName("emitent_id").value().toInt(), 4);
    EXPECT_EQ(clients().recordCount(),
              adminValue("select count(*) from tev.v_tev_web_clients where wbc_emitent_id = 4").toInt());
    EXPECT_EQ(shared().oqEmitentSelect->asInteger("EMITENT_ID_WEB"), 4);
    EXPECT_EQ(shared().oquPOSes->paramByName("emitent_id").value().toInt(), 4);
    EXPECT_EQ(shared().oquTrnTypes->paramByName("emitent_id").value().toInt(), 4);
    EXPECT_TRUE(area->emitentCaption().startsWith(QString::fromUtf8("   [2, 0] Нефтьсервис")));
    EXPECT_FALSE(module->dm->session()->inTransaction());

    // The same emitent again, and a cancelled picker, reload nothing.
    QSignalSpy reopened(&clients(), &db::Dataset::afterOpen);
    answer = 4;
    area->btnSelectEmitent()->click();
    answer = std::nullopt;
    area->btnSelectEmitent()->click();
    EXPECT_EQ(reopened.count(), 0);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(area->CurrentEmitentId(), 4);

    // No emitent list: an empty picker.
    shared().oqEmitentSelect->close();
    area->btnSelectEmitent()->click();
    EXPECT_TRUE(offered.isEmpty());
}

TEST_F(WorkArea, StartEmitentFromTheSettingsThePortalOrTheManager)
{
    struct Row
    {
        const char* name;
        int lastSelected; // 0: not in the file
        int managerId;    // -1: every emitent
        int expected;
    } rows[] = {
        {"nothing remembered: the portal's first", 0, -1, 1},
        {"remembered", 5, -1, 5},
        {"remembered below 1", -3, -1, 1},
        {"manager's own emitent", 5, 2, 5},
        {"emitent of another manager", 1, 2, 4},
        {"manager without emitents", 0, 3, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        lang::IniFile& ini = module->dm->iniFile();
        if (r.lastSelected == 0)
            ini.deleteKey("CLIENT_CONFIGS", "LAST_SELECTED_EM");
        else
            module->dm->settings().setLastSelectedEmitent(r.lastSelected);
        area->setAllEmitents(r.managerId < 0);
        module->dm->SetManagerId(r.managerId);
        area->ChooseStartEmitent();
        EXPECT_EQ(area->CurrentEmitentId(), r.expected);
    }
    area->setAllEmitents(false);
    module->dm->SetManagerId(2);
    area->OpenEmitentList(5);
    db::Query* list = shared().oqEmitentSelect;
    ASSERT_EQ(list->recordCount(), 2);
    EXPECT_EQ(list->asInteger("EMITENT_ID_WEB"), 5);
}

TEST_F(WorkArea, LanguageSwitchRewritesTheTextsAndKeepsTheClient)
{
    const QString english = QStringLiteral(TEV_SOURCE_DIR "/resources/lang/DEDAdize_eng.ini");
    ASSERT_TRUE(QFile::copy(english, module->folder.path() + "/DEDAdize_eng.ini"));
    start();
    area->actShowLogins()->trigger();
    locateClient(8);
    lang::TTranslator& translator = lang::TTranslator::instance();
    translator.FindLanguages("DEDAdize");
    translator.SetLanguage(9);
    struct Restore
    {
        ~Restore() { lang::TTranslator::instance().SetLanguage(25); }
    } restore;
    ASSERT_NE(lang::tr(u"rstrBlocked"), QString::fromUtf8("заблокирован"));

    area->ApplyLanguage();
    EXPECT_EQ(clients().value("WBC_ID").toInt(), 8);
    EXPECT_EQ(clients().value("STATE").toString(), lang::tr(u"rstrBlocked"));
    EXPECT_EQ(clients().value("BLACK_LIST").toString(), lang::tr(u"rstrNo"));
    EXPECT_EQ(clients().fieldByName("WBC_NAME_ANSI").displayLabel(), lang::tr(u"rstrName"));
    EXPECT_EQ(area->grdClients()->hint(), lang::tr(u"rstrClients"));
    EXPECT_EQ(area->acSelectAll()->text(), lang::tr(u"rstrCheckAll"));
    EXPECT_EQ(area->paneButton(Pane::Journal)->text(), lang::tr(u"rstrVisitedLogs"));
    EXPECT_EQ(area->grdDetail()->hint(), lang::tr(u"rstrLogins"));
    db::Query* logins = shared().qryLogins;
    EXPECT_TRUE(logins->isOpen());
    EXPECT_EQ(logins->paramByName("pID").value().toInt(), 8);
    EXPECT_EQ(logins->macroByName("vClientAccess").value(),
              ClientsQuery::SqlLiteral(lang::tr(u"rstrClientAccess")));
}

TEST_F(WorkArea, InvitationsWithoutAComposerSaySo)
{
    start();
    RecordingPresenter presenter;
    area->acSendInvitations()->trigger();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, LaterWindowNotice::Text(lang::tr(u"vrstrInvitationSending")));
    EXPECT_EQ(presenter.last().icon, lang::MsgIcon::Information);
    EXPECT_EQ(LaterWindowNotice::Text(QString::fromUtf8("&Настройка схем...")),
              LocaleText(QString::fromUtf8("Окно «Настройка схем» появится в следующей версии."),
                         "The window \"Настройка схем\" will be available in the next version."));
}

TEST_F(WorkArea, InvitationsGoToTheComposerAndTheListIsReadAgain)
{
    start();
    TInvitationList handed;
    area->setInvitationComposer([&](QWidget*, const TInvitationList& list) { handed = list; });
    locateClient(3);
    area->ToggleCurrentTick();
    locateClient(10);
    area->ToggleCurrentTick();
    ASSERT_EQ(area->SelectedCount(), 2);
    QSignalSpy reopened(&clients(), &db::Dataset::afterOpen);
    area->acSendInvitations()->trigger();
    ASSERT_EQ(handed.size(), 2);
    EXPECT_EQ(handed[0].key, "3");
    EXPECT_EQ(handed[1].key, "10");
    EXPECT_EQ(handed[0].client.WBC_PETROL_ID, clientValue(3, "WBC_PETROL_ID").toString());
    EXPECT_EQ(reopened.count(), 1);
    EXPECT_EQ(area->SelectedCount(), 0);
    EXPECT_EQ(clients().value("WBC_ID").toInt(), 10);
}

TEST_F(WorkArea, UnlockResetsTheFailedAttemptsAndCommits)
{
    start();
    const QString login =
        adminValue("select min(wbl_id) from tev.v_tev_web_logins where wbl_web_client_id = 1");
    ASSERT_FALSE(login.isEmpty());
    adminValue("update tev.tev_web_logins set wbl_failed_attempts = 4 where wbl_id = " + login +
               " returning 1");
    locateClient(1);
    area->actShowLogins()->trigger();
    ASSERT_TRUE(shared().qryLogins->locate("ID", login.toInt()));
    RecordingPresenter presenter;
    area->actResetLock()->trigger();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, lang::tr(u"vrstrLoginUnlocked"));
    EXPECT_EQ(adminValue("select wbl_failed_attempts from tev.tev_web_logins where wbl_id = " + login), "0");
}

TEST_F(WorkArea, CommandStateFollowsPanesListAndTicks)
{
    start();
    window->show();
    area->UpdateActions(false);
    EXPECT_FALSE(area->paneButton(Pane::Describes)->isVisible()) << "no subscriptions switch";
    EXPECT_TRUE(area->actEditClient()->isEnabled());
    EXPECT_TRUE(area->actEditMaxLimits()->isEnabled());
    EXPECT_FALSE(area->acSendInvitations()->isEnabled());
    EXPECT_FALSE(area->acEditClientKind()->isEnabled());
    for (QAction* a : {area->acAddLogin(), area->actEditLogin(), area->actAddDescribe()})
        EXPECT_FALSE(a->isVisible()) << a->objectName().toStdString();

    area->UpdateActions(true);
    EXPECT_TRUE(area->paneButton(Pane::Describes)->isVisible());
    area->actShowLogins()->trigger();
    locateClient(1);
    area->ToggleCurrentTick();
    area->UpdateActions(true);
    for (QAction* a :
         {area->acAddLogin(), area->actEditLogin(), area->actEditPassLogin(), area->actResetLock()}) {
        EXPECT_TRUE(a->isVisible()) << a->objectName().toStdString();
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    }
    EXPECT_FALSE(area->actAddDescribe()->isVisible());
    EXPECT_TRUE(area->acSendInvitations()->isEnabled());
    EXPECT_TRUE(area->acEditClientKind()->isEnabled());

    area->actShowDescribes()->trigger();
    area->UpdateActions(true);
    EXPECT_FALSE(area->acAddLogin()->isVisible());
    EXPECT_TRUE(area->actAddDescribe()->isVisible());
    EXPECT_TRUE(area->actAddDescribe()->isEnabled());
    const bool subscriptions = !shared().oqDescribes->isEmpty();
    EXPECT_EQ(area->actEditDescribe()->isEnabled(), subscriptions);

    // An empty list: nothing to edit.
    area->clickSource(ClientsFilter::SourceLC);
    area->clickClientType(ClientsFilter::TypeFirms);
    clients().setFilter("WBC_ID = -1");
    area->UpdateActions(true);
    EXPECT_FALSE(area->actEditClient()->isEnabled());
    EXPECT_FALSE(area->acAddLogin()->isEnabled());
    EXPECT_FALSE(area->actAddDescribe()->isEnabled());
}
