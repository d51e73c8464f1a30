#include "Catalogue.h"
#include "ClientPermissions.h"
#include "ClientsTestSupport.h"
#include "ClientsWorkArea.h"
#include "Clock.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"
#include "SharedQueries.h"
#include "TfmEditClientGroup.h"
#include "TfmNewDescribe.h"
#include "TfrmClientEdit.h"
#include "TfrmLimitEdit.h"
#include "TfrmLimitsEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace ClientPermissions;

namespace {

// Every property column of a client, to see what a window changed.
QString clientRow(int id)
{
    return adminValue(
        QStringLiteral("select concat_ws('|', wbc_email, wbc_client_state, wbc_description, "
                       "allow_create_dr, allow_create_dd, allow_create_oil, allow_ch_onl_params, "
                       "allow_change_holder, allow_lost_card, allow_unblock_card, allow_use_api, "
                       "allow_subscribe_on_sms, wbc_update_email, test_client) from tev.tev_web_clients "
                       "where wbc_id = %1")
            .arg(id));
}

class ClientWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_PG();
        module = std::make_unique<SignedInModule>();
        ASSERT_TRUE(module->connected);
        window = std::make_unique<QWidget>();
        area = new ClientsWorkArea(*module->dm, window.get());
        module->bindWindow(window.get());
        area->ChooseStartEmitent();
        area->OpenEmitentList(area->CurrentEmitentId());
        area->OpenEmitentData();
        area->UpdateActions(true);
    }
    TdmMain& dm() { return *module->dm; }
    db::Query& clients() { return *area->qryClients(); }
    void locate(int id) { ASSERT_TRUE(clients().locate("WBC_ID", id)) << id; }
    void tick(int id)
    {
        const bool filtered = clients().isFiltered();
        clients().setFiltered(false);
        for (int r = 0; r < clients().recordCount(); ++r)
            if (clients().value(r, clients().fieldIndex("WBC_ID")).toInt() == id)
                area->SetTick(r, 1);
        clients().setFiltered(filtered);
    }

    std::unique_ptr<SignedInModule> module;
    std::unique_ptr<QWidget> window;
    ClientsWorkArea* area = nullptr;
    RecordingPresenter presenter;
    ScriptedModalRunner runner;
};

} // namespace

TEST(ClientPermissions, GroupParametersFollowKindSettingAndBox)
{
    Settings all;
    for (bool& on : all.enabled)
        on = true;
    Settings drOff = all;
    drOff.enabled[CreateDR] = false;
    const GroupClient plain{7, false, false, "a@b.c"};
    const GroupClient lnr{7, true, false, "a@b.c"};
    const GroupClient bonus{7, false, true, "a@b.c"};
    const GroupClient noMail{7, false, false, "  "};
    auto with = [](Permission p, Box b) {
        GroupChoice c;
        c.boxes[p] = b;
        return c;
    };
    GroupChoice emptyDescription;
    emptyDescription.descriptionOn = true;
    GroupChoice untickedDescription;
    untickedDescription.description = "kept";
    GroupChoice lines;
    lines.descriptionOn = true;
    lines.description = "one\ntwo";
    GroupChoice state;
    state.stateOn = true;
    state.statePosition = 4;

    // Argument positions of update_client_from_group.
    enum
    {
        Id,
        State,
        Description,
        DR,
        OIL,
        UpdEmail,
        DD,
        Holder,
        Lost,
        Unblock,
        ChOnl,
        Test,
        SMS,
        API
    };
    const struct
    {
        const char* name;
        GroupChoice choice;
        Settings settings;
        GroupClient client;
        int position;
        QVariant expected;
    } rows[] = {
        {"empty ticked description", emptyDescription, all, plain, Description, "EmptyString"},
        {"unticked description is left", untickedDescription, all, plain, Description, QVariant()},
        {"description lines end in CR LF", lines, all, plain, Description, "one\r\ntwo\r\n"},
        {"state position", state, all, plain, State, 5},
        {"grey box is left", GroupChoice(), all, plain, DR, QVariant()},
        {"ОП ticked", with(CreateDR, Box::Ticked), all, plain, DR, 1},
        {"ОП for a second-source client", with(CreateDR, Box::Ticked), all, lnr, DR, QVariant()},
        {"ОП for a bonus client", with(CreateDR, Box::Unticked), all, bonus, DR, 0},
        {"ОП switched off in the portal", with(CreateDR, Box::Ticked), drOff, plain, DR, QVariant()},
        {"ОС cleared", with(CreateDD, Box::Unticked), all, plain, DD, 0},
        {"ОС for a bonus client", with(CreateDD, Box::Unticked), all, bonus, DD, QVariant()},
        {"online limits for a second-source client", with(ChOnlParams, Box::Ticked), all, lnr, ChOnl,
         QVariant()},
        {"lost card for a second-source client", with(LostCard, Box::Ticked), all, lnr, Lost, 1},
        {"e-mail update without an address", with(UpdateEmail, Box::Ticked), all, noMail, UpdEmail,
         QVariant()},
        {"e-mail update with an address", with(UpdateEmail, Box::Unticked), all, plain, UpdEmail, 0},
        {"SMS without a setting", with(SubscribeSMS, Box::Ticked), drOff, plain, SMS, 1},
        {"test mark cleared", with(TestClient, Box::Unticked), all, lnr, Test, 0},
        {"API", with(UseAPI, Box::Ticked), all, bonus, API, 1},
    };
    for (const auto& r : rows) {
        const QVariantList params = groupParams(r.choice, r.settings, r.client);
        ASSERT_EQ(params.size(), 14) << r.name;
        EXPECT_EQ(params[Id], 7) << r.name;
        EXPECT_EQ(params[r.position], r.expected) << r.name;
        for (int i = 1; i < params.size(); ++i)
            if (i != r.position) {
                EXPECT_TRUE(params[i].isNull()) << r.name << ", argument " << i;
            }
    }
    EXPECT_FALSE(hasAnyChoice(GroupChoice()));
    EXPECT_TRUE(hasAnyChoice(with(TestClient, Box::Unticked)));
    EXPECT_EQ(storedLength(descriptionParam("a\nb")), 4);
}

TEST_F(ClientWindows, PropertiesFollowClientKindAndPortalSettings)
{
    struct Row
    {
        const char* name;
        int client;
        bool dr, dd, lost;
    } rows[] = {{"second source", 3, false, false, true},
                {"bonus", 5, true, false, true},
                {"plain", 1, true, true, true}};
    for (const Row& r : rows) {
        clients().setFiltered(false);
        locate(r.client);
        TfrmClientEdit d(dm(), clients());
        EXPECT_EQ(d.box(CreateDR)->isVisibleTo(&d), r.dr) << r.name;
        EXPECT_EQ(d.box(CreateDD)->isVisibleTo(&d), r.dd) << r.name;
        EXPECT_EQ(d.box(SubscribeSMS)->isVisibleTo(&d), r.dd) << r.name;
        EXPECT_EQ(d.box(LostCard)->isVisibleTo(&d), r.lost) << r.name;
        EXPECT_FALSE(d.box(UnblockCard)->isEnabled()) << "ALLOW_UNBLOCK_CARD is 0 in the demo";
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Клиент"));
    }
}

TEST_F(ClientWindows, EmailBoxRemembersItsStateWhileTheAddressIsBlank)
{
    clients().setFiltered(false);
    locate(6); // no e-mail
    TfrmClientEdit d(dm(), clients());
    QCheckBox* box = d.box(UpdateEmail);
    EXPECT_FALSE(box->isEnabled());
    const bool stored = box->isChecked();
    d.edtEmail()->setText("x@example.org");
    EXPECT_TRUE(box->isEnabled());
    EXPECT_EQ(box->isChecked(), stored);
    box->setChecked(!stored);
    d.edtEmail()->setText(" ");
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(box->isEnabled());
    d.edtEmail()->setText("y@example.org");
    EXPECT_EQ(box->isChecked(), !stored);
}

TEST_F(ClientWindows, PropertiesOkWithoutEditsKeepsEveryFlagAndSavesEdits)
{
    // A bonus client: hidden and disabled boxes are sent with their state.
    adminValue("update tev.tev_web_clients set allow_unblock_card = 1, allow_create_dd = 1 where wbc_id = 5");
    area->OpenEmitentData();
    clients().setFiltered(false);
    const QString before = clientRow(5);
    locate(5);
    runner.answer = answerDialog<TfrmClientEdit>([](TfrmClientEdit& d) {
        d.btnOk()->click();
        return d.result();
    });
    area->actEditClient()->trigger();
    EXPECT_EQ(clientRow(5), before);
    EXPECT_EQ(clients().value("WBC_ID").toInt(), 5);

    runner.answer = answerDialog<TfrmClientEdit>([](TfrmClientEdit& d) {
        d.cbState()->setCurrentIndex(4);
        d.edtDescription()->setPlainText("first\nsecond");
        d.box(TestClient)->setChecked(true);
        d.box(UseAPI)->setChecked(false);
        d.btnOk()->click();
        return d.result();
    });
    area->actEditClient()->trigger();
    EXPECT_EQ(adminValue("select concat_ws('|', wbc_client_state, replace(wbc_description, E'\\r\\n', '/'), "
                         "test_client, allow_use_api) from tev.tev_web_clients where wbc_id = 5"),
              "5|first/second|1|0");
    EXPECT_EQ(clients().value("WBC_ID").toInt(), 5);
    EXPECT_EQ(clients().value("TEST_CLIENT").toInt(), 1) << "the list is read again";

    // Too long once stored: refused, nothing written, the dialog stays.
    const QString now = clientRow(5);
    TfrmClientEdit d(dm(), clients());
    d.edtDescription()->setPlainText(QString(200, 'a') + "\n" + QString(54, 'b'));
    d.btnOkClick();
    EXPECT_EQ(d.result(), 0);
    EXPECT_EQ(presenter.count(), 1);
    EXPECT_EQ(clientRow(5), now);
}

TEST_F(ClientWindows, BulkEditTouchesOnlyTickedClientsTheFilterShows)
{
    clients().setFiltered(false);
    const QString hiddenBefore = clientRow(3); // second source: hidden under "ОЦ"
    for (int id : {3, 13, 14}) {
        locate(id);
        area->ToggleCurrentTick();
    }
    area->clickSource(0);
    EXPECT_EQ(area->SelectedCount(), 2);
    area->UpdateActions(true);
    const QString untickedBefore = clientRow(15);
    runner.answer = answerDialog<TfmEditClientGroup>([](TfmEditClientGroup& d) {
        d.btnOk()->click(); // nothing chosen
        EXPECT_EQ(d.result(), 0);
        d.chkDescription()->setChecked(true);
        d.box(LostCard)->setCheckState(Qt::Unchecked);
        d.btnOk()->click();
        return d.result();
    });
    area->acEditClientKind()->trigger();
    ASSERT_GE(presenter.count(), 1);
    EXPECT_EQ(presenter.requests().first().text, QString::fromUtf8("Не выбрано ни одного свойства"));
    EXPECT_EQ(
        adminValue(
            "select string_agg(concat_ws(':', wbc_id, coalesce(wbc_description, 'null'), allow_lost_card), "
            "' ' order by wbc_id) from tev.tev_web_clients where wbc_id in (13, 14)"),
        "13:null:0 14:null:0");
    EXPECT_EQ(clientRow(3), hiddenBefore);
    EXPECT_EQ(clientRow(15), untickedBefore);
    EXPECT_EQ(area->SelectedCount(), 0);
}

TEST_F(ClientWindows, BulkEditFailingPartWayLeavesEveryClientAsItWas)
{
    adminValue(
        "insert into tev.tev_web_clients select r.* from tev.tev_web_clients c, "
        "jsonb_populate_record(null::tev.tev_web_clients, to_jsonb(c) || jsonb_build_object('wbc_id', 99001, "
        "'wbc_petrol_id', 99001)) r where c.wbc_id = 23");
    area->OpenEmitentData();
    clients().setFiltered(false);
    tick(22);
    tick(99001);
    tick(28);
    const QString before = clientRow(22) + clientRow(28);
    adminValue("delete from tev.tev_web_clients where wbc_id = 99001"); // a second session
    GroupChoice choice;
    choice.boxes[TestClient] = Box::Ticked;
    choice.stateOn = true;
    choice.statePosition = 4;
    area->ApplyGroupEdit(choice);
    EXPECT_EQ(clientRow(22) + clientRow(28), before);
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_TRUE(presenter.last().text.contains("ORA-01403")) << presenter.last().text.toStdString();
    EXPECT_FALSE(clients().locate("WBC_ID", 99001)) << "the list is read again";
}

TEST_F(ClientWindows, LimitsOfAClientAndOfAnEmitent)
{
    TfrmLimitsEdit w(dm(), TfrmLimitsEdit::Mode::Client, 4);
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Максимальные лимиты для клиента*"));
    EXPECT_TRUE(w.actLoadDefaults()->isVisible());
    db::Query* q = w.query();
    ASSERT_EQ(q->recordCount(), 5);
    ASSERT_TRUE(q->locate("SERVICE_ID_WEB", 1));
    EXPECT_FALSE(w.isDefaultRow(q->currentRow())) << "client 4 has its own values for service 1";

    ScriptedModalRunner limits;
    limits.answer = answerDialog<TfrmLimitEdit>([](TfrmLimitEdit& d) {
        EXPECT_EQ(d.edtDay()->minimum(), 0);
        EXPECT_EQ(d.edtDay()->maximum(), TfrmLimitEdit::kCurrencyCap);
        EXPECT_EQ(d.edtDay()->decimals(), 2);
        d.edtDay()->setValue(3000000); // above the cap
        d.edtWeek()->setValue(-5);
        d.edtMonth()->setValue(1234.56);
        return int(QDialog::Accepted);
    });
    adminValue("update tev.tev_service set is_currency = 1 where service_id_web = 1");
    q->refresh();
    q->locate("SERVICE_ID_WEB", 1);
    w.actEditMaxLimit()->trigger();
    EXPECT_EQ(adminValue("select concat_ws('|', max_day_limit, max_week_limit, max_month_limit) from "
                         "tev.tev_max_limits where client_id_web = 4 and service_id_web = 1"),
              "2000000.000|0.000|1234.560");
    EXPECT_EQ(q->value("SERVICE_ID_WEB").toInt(), 1);

    w.actLoadDefaults()->trigger();
    EXPECT_EQ(adminValue("select count(*) from tev.tev_max_limits where client_id_web = 4"), "0");
    EXPECT_TRUE(w.isDefaultRow(q->currentRow()));
    w.reject();
    EXPECT_FALSE(q->isOpen());

    TfrmLimitsEdit e(dm(), TfrmLimitsEdit::Mode::Emitent, 1);
    EXPECT_FALSE(e.actLoadDefaults()->isVisible());
    EXPECT_FALSE(e.legend()->isVisibleTo(&e));
    limits.answer = answerDialog<TfrmLimitEdit>([](TfrmLimitEdit& d) {
        EXPECT_EQ(d.edtDay()->maximum(), TfrmLimitEdit::kAmountCap);
        d.edtDay()->setValue(15000000);
        return int(QDialog::Accepted);
    });
    e.query()->locate("SERVICE_ID_WEB", 2);
    e.actEditMaxLimit()->trigger();
    EXPECT_EQ(adminValue("select max_day_limit from tev.tev_service where service_id_web = 2"),
              "15000000.000");
}

TEST(TfmNewDescribe, DefaultDateIsAMonthOnToTheSecond)
{
    clientsTestApp();
    const struct
    {
        const char* name;
        QDateTime now;
        QDateTime expected;
    } rows[] = {
        {"31 January", QDateTime(QDate(2026, 1, 31), QTime(10, 0, 5, 700)),
         QDateTime(QDate(2026, 2, 28), QTime(10, 0, 5))},
        {"leap year", QDateTime(QDate(2028, 1, 30), QTime(23, 59, 59)),
         QDateTime(QDate(2028, 2, 29), QTime(23, 59, 59))},
        {"year end", QDateTime(QDate(2026, 12, 15), QTime(8, 0)), QDateTime(QDate(2027, 1, 15), QTime(8, 0))},
    };
    for (const auto& r : rows)
        EXPECT_EQ(TfmNewDescribe::DefaultDateEnd(r.now), r.expected) << r.name;
}

TEST_F(ClientWindows, SubscriptionsAreCreatedChangedAndDeleted)
{
    clients().setFiltered(false);
    locate(7);
    area->actShowDescribes()->trigger();
    area->UpdateActions(true);
    const QDateTime date(QDate(2027, 3, 1), QTime(12, 30, 15));
    auto create = [&](const QString& note) {
        runner.answer = answerDialog<TfmNewDescribe>([&](TfmNewDescribe& d) {
            EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Новая подписка"));
            d.edtDateEnd()->setDateTime(date.addMSecs(400));
            d.edtComment()->setPlainText(note);
            d.btnOk()->click();
            return d.result();
        });
        area->actAddDescribe()->trigger();
    };
    const QString count = "select count(*) from tev.tev_web_describes where wbd_client_id = 7";
    const QString before = adminValue(count);
    create("line one\nline two");
    db::Query* describes = dm().queries().oqDescribes;
    EXPECT_EQ(adminValue(count).toInt(), before.toInt() + 1);
    EXPECT_EQ(describes->value("WBD_DATE_END").toDateTime(), date);
    EXPECT_EQ(describes->value("WBD_COMMENT").toString(), "line one\r\nline two");

    create("again");
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text,
              QString::fromUtf8("Такая дата блокировки для этого клиента уже назначена"));
    EXPECT_EQ(adminValue(count).toInt(), before.toInt() + 1);
    EXPECT_EQ(describes->value("WBD_DATE_END").toDateTime(), date);

    // OK without edits calls nothing.
    const QString journal = adminValue("select count(*) from tev.tev_events_journal");
    runner.answer = answerDialog<TfmNewDescribe>([](TfmNewDescribe& d) {
        d.btnOk()->click();
        return d.result();
    });
    area->UpdateActions(true);
    area->actEditDescribe()->trigger();
    EXPECT_EQ(adminValue("select count(*) from tev.tev_events_journal"), journal);

    runner.answer = answerDialog<TfmNewDescribe>([&](TfmNewDescribe& d) {
        d.edtDateEnd()->setDateTime(date.addDays(1));
        d.btnOk()->click();
        return d.result();
    });
    area->actEditDescribe()->trigger();
    EXPECT_EQ(describes->value("WBD_DATE_END").toDateTime(), date.addDays(1));

    // A note longer than the column once its line ends are CR LF is refused.
    TfmNewDescribe tooLong;
    tooLong.edtComment()->setPlainText(QString(250, 'x') + QString(5, '\n'));
    tooLong.btnOkClick();
    EXPECT_EQ(tooLong.result(), 0);

    presenter.clear();
    presenter.answer(lang::mrOk);
    area->actDelDescribe()->trigger();
    EXPECT_EQ(presenter.last().text, QString::fromUtf8("Удалить выбранную подписку?"));
    EXPECT_EQ(adminValue(count), before);
}
