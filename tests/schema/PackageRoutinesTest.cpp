// The package tev_utils called the ways the console calls it: positional package calls, named
// stored-procedure calls, one-call blocks through a query, cursor outputs; the rows it leaves
// and the Oracle error numbers the console tells apart.
#include "SchemaTestSupport.h"

#include <QDateTime>

using namespace db;

namespace {

const char* kOqLogins =
    "SELECT wl.wbl_id, wl.wbl_login_md5 AS lgn, DECODE(wl.wbl_password_md5, "
    "&shema.tev_utils.calc_md5(wc.wbc_id || wl.wbl_login_md5), wc.wbc_id || wl.wbl_login_md5, "
    "&shema.tev_utils.calc_md5(wl.wbl_login_md5), wl.wbl_login_md5, wc.wbc_id || wl.wbl_login_md5) AS pwd, "
    "DECODE(wl.wbl_password_md5, &shema.tev_utils.calc_md5(wc.wbc_id || wl.wbl_login_md5), 0, "
    "&shema.tev_utils.calc_md5(wl.wbl_login_md5), 0, 1) AS flg, &shema.tev_utils.get_describe_date_end(wc.wbc_id) "
    "AS bdd, wc.wbc_name AS cln, wl.wbl_temp_password as is_temp FROM &shema.v_tev_web_clients wc, "
    "&shema.v_tev_web_logins wl WHERE wl.wbl_web_client_id = wc.wbc_id AND wc.wbc_id = :pid";

QDateTime at(const char* text)
{
    return QDateTime::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

TEST_F(SchemaTest, EmitentListsForAllEmitentsAndForOneManager)
{
    Query list(session.get());
    list.setSql("begin &shema.TEV_UTILS.GET_SELECTED_EMITENT(:P_ALL_EMITENT, :P_MANAGER_ID, :P_EMITENT_LIST); end;");
    list.setMacro("shema", "tev");
    list.paramByName("P_EMITENT_LIST").setDirection(ParamDirection::CursorOut);
    list.setParam("P_ALL_EMITENT", 1);
    list.paramByName("P_MANAGER_ID").setDataType(DataType::Integer);
    list.open();
    EXPECT_EQ(list.recordCount(), one("select count(*) from tev.v_tev_emitent").toInt());

    struct Row { int manager; QStringList ids; int checkFor; int checked; };
    const QList<Row> rows = {
        {1, {"1", "2", "3"}, 5, 1},  // an emitent of another manager gives the manager's first
        {2, {"4", "5"}, 5, 5},       // its own emitent stays
        {3, {}, 1, -1},              // a manager without emitents
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.manager);
        list.setParam("P_ALL_EMITENT", 0);
        list.setParam("P_MANAGER_ID", r.manager);
        list.open();
        QStringList ids;
        for (int i = 0; i < list.recordCount(); ++i)
            ids << list.value(i, list.fieldIndex("EMITENT_ID_WEB")).toString();
        EXPECT_EQ(ids, r.ids);
        EXPECT_EQ(pkg->execFunc("check_tev_manager_emitent", {r.checkFor, r.manager}).toInt(), r.checked);
        // The free list holds exactly the others.
        auto freeList = proc("GET_FREE_EMITENT");
        freeList->setParam("P_MANAGER_ID", r.manager);
        freeList->open();
        EXPECT_EQ(freeList->recordCount() + ids.size(), one("select count(*) from tev.v_tev_emitent").toInt());
        EXPECT_EQ(freeList->value(0, freeList->fieldIndex("ISVISIBLE")).toInt(), 0);
    }
    EXPECT_EQ(pkg->execFunc("get_first_emitent").toInt(), 1);
    // The columns the emitent list shows and carries.
    for (const char* c : {"UNLOAD", "ISVISIBLE", "HIDE_DISCONT", "EMITENT_NUMBER", "FILIAL_NUMBER", "EMITENT_NAME",
                          "TYPE_CHANGE", "SHARING_FOLDER", "E_MAIL", "ORDER_UNLOAD", "USE_HTTP", "HTTP_PROXY_PSWD",
                          "BILLING_PREFIX", "BILLING_SERVICE_NAME", "BILLING_VAT", "USE_BILLING"})
        EXPECT_NE(list.findField(c), nullptr) << c;
}

TEST_F(SchemaTest, LoginsKeepInitialPasswordsRecognisable)
{
    const int client = 9; // demo client without a client login, one holder without a login
    ASSERT_EQ(pkg->execFunc("CLIENT_LOGIN_EXISTS", {client}).toInt(), 0);
    EXPECT_EQ(pkg->execFunc("DUP_LOGIN", {0, "client1"}).toInt(), 1);
    EXPECT_EQ(pkg->execFunc("DUP_LOGIN", {0, "CLIENT1"}).toInt(), 1); // the portal signs in ignoring case
    const int own = one("select wbl_id from tev.v_tev_web_logins where wbl_login_md5 = 'client1'").toInt();
    EXPECT_EQ(pkg->execFunc("dup_login", {own, "client1"}).toInt(), 0);

    pkg->execProc("CREATELOGIN", {0, client, QVariant(), "newlogin9", "9newlogin9", 1, 1, 0, "", 0});
    const int login = pkg->paramByName("P_LOGIN_ID").asInteger();
    ASSERT_GT(login, 0);
    EXPECT_EQ(pkg->execFunc("CLIENT_LOGIN_EXISTS", {client}).toInt(), 1);
    // A second client login, or a holder of another client, is refused by the portal too.
    EXPECT_EQ(oraCode([&] { pkg->execProc("CREATELOGIN", {0, client, QVariant(), "other9", "x", 1, 1, 0, "", 0}); }), 1);
    const int strangeHolder = one("select min(card_holder_id) from tev.v_tev_card_holder where client_id_web <> 9").toInt();
    EXPECT_EQ(oraCode([&] {
                  pkg->execProc("CREATELOGIN", {0, client, strangeHolder, "h9", "x", 1, 1, 0, "", 0});
              }),
              2291);

    const int holder = one("select min(card_holder_id) from tev.v_tev_card_holder where client_id_web = 9").toInt();
    pkg->execProc("CREATELOGIN", {0, client, holder, "holder9", "holder9", 1, 0, 2, "driver@mail.example", 0});
    const int holderLogin = pkg->paramByName("P_LOGIN_ID").asInteger();

    Query logins(session.get());
    logins.setSql(kOqLogins);
    logins.setMacro("shema", "tev");
    logins.setParam("pid", client);
    logins.open();
    ASSERT_EQ(logins.recordCount(), 2);
    for (int row = 0; row < 2; ++row) {
        // client id followed by the login, and the login itself: both initial
        EXPECT_EQ(logins.value(row, logins.fieldIndex("FLG")).toInt(), 0);
        const QString lgn = logins.value(row, logins.fieldIndex("LGN")).toString();
        EXPECT_EQ(logins.value(row, logins.fieldIndex("PWD")).toString(), lgn == "holder9" ? "holder9" : "9newlogin9");
    }

    pkg->execProc("update_pass_login", {login, "Other#Pass1", 1});
    Query update(session.get());
    update.setSql("begin &shema.tev_utils.update_login(:pID, :pLogin, :pIsActive, :pIsJournalising, :pStateHolder, "
                  ":pEmail); end;");
    update.setMacro("shema", "tev");
    update.setParam("pID", holderLogin);
    update.setParam("pLogin", QString("driver9"));
    update.setParam("pIsActive", 0);
    update.setParam("pIsJournalising", 1);
    update.setParam("pStateHolder", 1);
    update.setParam("pEmail", QString("new@mail.example"));
    update.execSql();

    logins.open();
    QMap<QString, QPair<int, int>> flags; // login -> (flg, is_temp)
    for (int row = 0; row < logins.recordCount(); ++row)
        flags[logins.value(row, logins.fieldIndex("LGN")).toString()] = {
            logins.value(row, logins.fieldIndex("FLG")).toInt(), logins.value(row, logins.fieldIndex("IS_TEMP")).toInt()};
    EXPECT_EQ(flags.value("newlogin9"), qMakePair(1, 1));
    EXPECT_EQ(flags.value("driver9"), qMakePair(1, 0)); // renamed: the old password no longer matches
    EXPECT_EQ(one("select l.email || '/' || h.stateholder || '/' || l.wbl_is_active from tev.v_tev_web_logins l "
                  "join tev.v_tev_card_holder h on h.card_holder_id = l.card_holder_id where l.wbl_id = :id",
                  {{"id", holderLogin}})
                  .toString(),
              "new@mail.example/1/0");

    // A locked login is unlocked; an unknown one is no data.
    const int locked = one("select min(wbl_id) from tev.v_tev_web_logins where wbl_locked_until is not null").toInt();
    ASSERT_GT(locked, 0);
    pkg->execProc("unlock_login", {locked});
    EXPECT_EQ(one("select wbl_failed_attempts || '/' || coalesce(to_char(wbl_locked_until, 'YYYY'), '-') "
                  "from tev.v_tev_web_logins where wbl_id = :id",
                  {{"id", locked}})
                  .toString(),
              "0/-");
    EXPECT_EQ(oraCode([&] { pkg->execProc("unlock_login", {999999}); }), 1403);
}

TEST_F(SchemaTest, PasswordSecurityFollowsThePortalSettings)
{
    struct Case { const char* name; QList<QPair<QString, QString>> settings; QString password; QString code; };
    const QList<Case> cases = {
        {"too short", {}, "abc1", "1"},
        {"no lower-case letter", {}, "ABCDEFG1", "2"},
        {"no digit", {}, "abcdefgh", "4"},
        {"accepted", {}, "abcdefg1", "0"},
        {"capitals required", {{"PSW_CAPITALS_REQ", "1"}}, "abcdefg1", "3"},
        {"symbols required", {{"TEV_SYMBOLS_REQ", "1"}}, "abcdefG1", "5"},
        {"symbol given", {{"TEV_SYMBOLS_REQ", "1"}}, "abcdeG1!", "0"},
        {"the characters it may not hold", {}, QString::fromUtf8("пароль12"), QString::fromUtf8("пароль")},
        {"a blank is not allowed", {}, "pass word1", " "},
        {"minimum missing means 5", {{"PSW_MIN_LENGTH", ""}}, "abc1", "1"},
        {"minimum missing means 5, accepted", {{"PSW_MIN_LENGTH", ""}}, "abcde1", "0"},
        {"a minimum that is no number means 5", {{"PSW_MIN_LENGTH", "eight"}}, "abcde1", "0"},
        {"nothing required", {{"PSW_CHARS_REQ", "0"}, {"PSW_NUMBERS_REQ", "0"}}, "ABCDEFGH", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session->savepoint("c");
        for (const auto& s : c.settings)
            pkg->execProc("SET_TEV_CONFIGS", {s.first, s.second});
        EXPECT_EQ(pkg->execFunc("check_password_security", {c.password}).toString(), c.code);
        session->rollbackToSavepoint("c");
    }
    // Generated passwords pass the strictest settings.
    for (const char* key : {"PSW_CAPITALS_REQ", "TEV_SYMBOLS_REQ", "PSW_CHARS_REQ", "PSW_NUMBERS_REQ"})
        pkg->execProc("SET_TEV_CONFIGS", {key, "1"});
    pkg->execProc("SET_TEV_CONFIGS", {"PSW_MIN_LENGTH", "12"});
    for (int i = 0; i < 20; ++i) {
        const QString password = pkg->execFunc("generate_new_password").toString();
        EXPECT_EQ(password.size(), 12);
        EXPECT_EQ(pkg->execFunc("check_password_security", {password}).toString(), "0") << password.toStdString();
    }
}

TEST_F(SchemaTest, ClientPropertiesAndTheBulkEdit)
{
    const int client = 2;
    // Client 11 may not use the API; its other properties stay as they are.
    const QString props = "select wbc_client_state || '/' || wbc_description || '/' || allow_create_dr || '/' || "
                          "allow_use_api from tev.v_tev_web_clients where wbc_id = 11";
    const QString before = one(props).toString();
    ASSERT_TRUE(before.endsWith("/0"));
    ASSERT_NE(one("select wbc_description from tev.v_tev_web_clients where wbc_id = 11"), QVariant());

    // Bulk edit: every parameter null but one leaves the others as they are.
    auto group = proc("update_client_from_group");
    group->setParam("P_TEV_ID", 11);
    group->setParam("P_ALLOW_USE_API", 1);
    group->execProc();
    EXPECT_EQ(one(props).toString(), before.chopped(1) + "1");
    // "EmptyString" clears the description; a state outside 1..5 is refused.
    for (int i = 0; i < group->params().count(); ++i)
        group->params().at(i).clear();
    group->setParam("P_TEV_ID", 11);
    group->setParam("P_TEV_DESCRIPTION", QString("EmptyString"));
    group->execProc();
    EXPECT_TRUE(one("select wbc_description from tev.v_tev_web_clients where wbc_id = 11").isNull());
    group->setParam("P_TEV_DESCRIPTION", QVariant());
    group->setParam("P_TEV_STATE", 9);
    EXPECT_EQ(oraCode([&] { group->execProc(); }), 20001);

    // The properties dialog's block, with the schema written in front of the package.
    Query upd(session.get());
    upd.setSql("begin tev.tev_utils.update_client(:pID, :pEMail, :pState, :pDescription, :pAllowDR, :pAllowOIL, "
               ":pUpdEmail, :pAllowDD, :pAllowChHolder, :pAllowLostCrd, :pAllowUnblockCrd, :pAllowChOnlParams, "
               ":pAllowSMS, :pAllowUseAPI); end;");
    const QVariantMap values = {{"pID", client}, {"pEMail", QString("a@b.example;c@d.example")}, {"pState", 3},
                                {"pDescription", QString::fromUtf8("Первая строка\r\nВторая строка\r\n")},
                                {"pAllowDR", 1}, {"pAllowOIL", 0}, {"pUpdEmail", 1}, {"pAllowDD", 1},
                                {"pAllowChHolder", 0}, {"pAllowLostCrd", 1}, {"pAllowUnblockCrd", 0},
                                {"pAllowChOnlParams", 1}, {"pAllowSMS", 1}, {"pAllowUseAPI", 0}};
    for (auto it = values.begin(); it != values.end(); ++it)
        upd.setParam(it.key(), it.value());
    upd.execSql();
    EXPECT_EQ(one("select wbc_email || '|' || wbc_client_state || '|' || wbc_description || '|' || allow_create_dr "
                  "|| allow_create_oil || wbc_update_email || allow_create_dd || allow_change_holder || "
                  "allow_lost_card || allow_unblock_card || allow_ch_onl_params || allow_subscribe_on_sms || "
                  "allow_use_api from tev.v_tev_web_clients where wbc_id = :id",
                  {{"id", client}})
                  .toString(),
              QString::fromUtf8("a@b.example;c@d.example|3|Первая строка\r\nВторая строка|1011010110"));

    pkg->execProc("INS_WEB_TEST_CLIENTS", {client});
    EXPECT_EQ(one("select test_client from tev.v_tev_web_clients where wbc_id = 2").toInt(), 1);
    pkg->execProc("DEL_WEB_TEST_CLIENTS", {client});
    EXPECT_EQ(one("select test_client from tev.v_tev_web_clients where wbc_id = 2").toInt(), 0);

    // An invitation moves a created client on; later states stay.
    const int created = one("select min(wbc_id) from tev.v_tev_web_clients where wbc_client_state = 1").toInt();
    const int subscribed = one("select min(wbc_id) from tev.v_tev_web_clients where wbc_client_state = 4").toInt();
    pkg->execProc("UPD_STATUS", {created});
    pkg->execProc("UPD_STATUS", {subscribed});
    EXPECT_EQ(one("select wbc_client_state from tev.v_tev_web_clients where wbc_id = :id", {{"id", created}}).toInt(), 2);
    EXPECT_EQ(one("select wbc_client_state from tev.v_tev_web_clients where wbc_id = :id", {{"id", subscribed}}).toInt(), 4);
    EXPECT_EQ(oraCode([&] { pkg->execProc("UPD_STATUS", {999999}); }), 1403);
}

TEST_F(SchemaTest, SubscriptionsAndTheBlockingDate)
{
    const int client = 5; // subscribed, with a current subscription
    const QDateTime end = at("2031-03-31 18:30:00");
    pkg->execProc("create_describe", {client, end.addMSecs(456), QString::fromUtf8("Оплата за год")});
    EXPECT_EQ(pkg->paramByName("p_error").asInteger(), 0);
    const int count = one("select count(*) from tev.v_tev_web_describes where wbd_client_id = 5").toInt();
    pkg->execProc("create_describe", {client, end, QString("again")}); // the same date to the second
    EXPECT_EQ(pkg->paramByName("P_ERROR").asInteger(), 1);
    EXPECT_EQ(one("select count(*) from tev.v_tev_web_describes where wbd_client_id = 5").toInt(), count);
    EXPECT_EQ(pkg->execFunc("get_describe_date_end", {client}).toString(), "31.03.2031");

    const int id = one("select wbd_id from tev.v_tev_web_describes where wbd_client_id = 5 and "
                       "wbd_date_end = :d",
                       {{"d", end}})
                       .toInt();
    pkg->execProc("CHANGE_DESCRIBE", {id, at("2032-01-01 00:00:00"), QString("changed")});
    EXPECT_EQ(pkg->execFunc("get_describe_date_end", {client}).toString(), "01.01.2032");
    pkg->execProc("DELETE_DESCRIBE", {id});
    EXPECT_EQ(oraCode([&] { pkg->execProc("DELETE_DESCRIBE", {id}); }), 1403);

    // Blocked clients have no date; without subscriptions, or with blocking off, the far future.
    const int blocked = one("select min(wbc_id) from tev.v_tev_web_clients where wbc_client_state = 5").toInt();
    EXPECT_TRUE(pkg->execFunc("get_describe_date_end", {blocked}).isNull());
    const int bare = one("select min(wbc_id) from tev.v_tev_web_clients c where wbc_client_state < 5 and not exists "
                         "(select 1 from tev.v_tev_web_describes d where d.wbd_client_id = c.wbc_id)")
                         .toInt();
    EXPECT_EQ(pkg->execFunc("get_describe_date_end", {bare}).toString(), "31.12.3030");
    pkg->execProc("SET_TEV_CONFIGS", {"TYPE_BLOCK_DESCRIBE", "-1"});
    EXPECT_EQ(pkg->execFunc("get_describe_date_end", {client}).toString(), "31.12.3030");
    pkg->execProc("SET_TEV_CONFIGS", {"TYPE_BLOCK_DESCRIBE", "0"});

    // UpdateClients blocks a subscribed client whose subscriptions have all ended.
    for (const QString& d : column("select wbd_id from tev.v_tev_web_describes where wbd_client_id = 5"))
        pkg->execProc("DELETE_DESCRIBE", {d.toInt()});
    pkg->execProc("create_describe", {client, at("2024-06-30 23:59:59"), QString()});
    Query call(session.get());
    call.setSql("begin &shema.tev_utils.UpdateClients(); end;");
    call.setMacro("shema", "tev");
    call.execSql();
    EXPECT_EQ(one("select wbc_client_state from tev.v_tev_web_clients where wbc_id = 5").toInt(), 5);
    EXPECT_TRUE(pkg->execFunc("get_describe_date_end", {client}).isNull());
}

TEST_F(SchemaTest, RegionalManagers)
{
    EXPECT_EQ(oraCode([&] { pkg->execProc("AUTHENTICATION_MANAGER", {1, "manager1"}); }), 0);
    EXPECT_EQ(oraCode([&] { pkg->execProc("AUTHENTICATION_MANAGER", {1, "manager2"}); }), 1403);
    EXPECT_EQ(oraCode([&] { pkg->execProc("AUTHENTICATION_MANAGER", {1, ""}); }), 1403);

    auto create = proc("CREATE_MANAGER");
    create->setParam("P_MANAGER_NAME", QString::fromUtf8("Иванов Иван"));
    create->setParam("P_PASSWORD", QString("x"));
    EXPECT_EQ(oraCode([&] { create->execProc(); }), 1);
    create->setParam("P_MANAGER_NAME", QString());
    EXPECT_EQ(oraCode([&] { create->execProc(); }), 1400);
    create->setParam("P_MANAGER_NAME", QString("Nikos \\u039D"));
    create->setParam("P_PASSWORD", QString());
    EXPECT_EQ(oraCode([&] { create->execProc(); }), 1400);
    // 255 characters count decoded, however long their escapes; one more is too long.
    create->setParam("P_PASSWORD", QString("x"));
    create->setParam("P_MANAGER_NAME", QString("\\u03B2").repeated(256));
    EXPECT_EQ(oraCode([&] { create->execProc(); }), 12899);
    create->setParam("P_MANAGER_NAME", QString("\\u03B2").repeated(255));
    EXPECT_EQ(oraCode([&] { create->execProc(); }), 0);
    create->setParam("P_MANAGER_NAME", QString("Nikos \\u039D"));
    create->setParam("P_PASSWORD", QString(" secret "));
    create->execProc();
    const int id = create->paramByName("P_NEW_MANAGER_ID").asInteger();
    EXPECT_EQ(one("select manager_name from tev.v_tev_manager where manager_id = :id", {{"id", id}}).toString(),
              "Nikos \\u039D");
    EXPECT_EQ(oraCode([&] { pkg->execProc("AUTHENTICATION_MANAGER", {id, " secret "}); }), 0);
    pkg->execProc("UPDATE_PASS_MANAGER", {id, "other"});
    EXPECT_EQ(oraCode([&] { pkg->execProc("AUTHENTICATION_MANAGER", {id, " secret "}); }), 1403);

    pkg->execProc("ADD_EMITENT_FOR_MANAGER", {id, 7});
    pkg->execProc("ADD_EMITENT_FOR_MANAGER", {id, 8});
    EXPECT_EQ(oraCode([&] { pkg->execProc("ADD_EMITENT_FOR_MANAGER", {id, 7}); }), 1);
    EXPECT_EQ(column("select emitent_id_web from tev.v_emitent_tev_manager t where t.manager_id = :id order by 1",
                     {{"id", id}}),
              QStringList({"7", "8"}));
    pkg->execProc("DEL_EMITENT_FOR_MANAGER", {id, 7});
    EXPECT_EQ(oraCode([&] { pkg->execProc("DEL_EMITENT_FOR_MANAGER", {id, 7}); }), 1403);
    pkg->execProc("delete_manager", {id});
    EXPECT_EQ(one("select count(*) from tev.v_emitent_tev_manager where manager_id = :id", {{"id", id}}).toInt(), 0);
    // The managers view never shows the password hash.
    Query managers(session.get());
    managers.setSql("SELECT * FROM tev.v_tev_manager");
    managers.open();
    EXPECT_EQ(managers.fieldCount(), 2);
}

TEST_F(SchemaTest, FeedbackTypesAndLetterTemplates)
{
    pkg->execProc("ins_feedback_type", {QString::fromUtf8("Вопрос по счетам"), 25});
    const int type = pkg->paramByName("p_type_id").asInteger();
    ASSERT_GT(type, 0);
    pkg->execProc("upd_feedback_type", {type, "Invoices", 9});
    EXPECT_EQ(one("select type_name from tev.v_tev_type_feedback_msg where type_id = :t", {{"t", type}}).toString(),
              QString::fromUtf8("Вопрос по счетам")); // only the default language renames the type itself
    EXPECT_EQ(one("select phrase from tev.v_tev_phrases where type_id = 4 and id = :t and lang_id = 9",
                  {{"t", type}})
                  .toString(),
              "Invoices");
    pkg->execProc("upd_feedback_type", {type, QString::fromUtf8("Счета"), 25});
    EXPECT_EQ(one("select type_name from tev.v_tev_type_feedback_msg where type_id = :t", {{"t", type}}).toString(),
              QString::fromUtf8("Счета"));
    // A type that messages use cannot go; an unused one goes with its translations.
    const int used = one("select min(type_id) from tev.v_tev_feedback_msg").toInt();
    EXPECT_EQ(oraCode([&] { pkg->execProc("del_feedback_type", {used}); }), 2292);
    pkg->execProc("del_feedback_type", {type});
    EXPECT_EQ(one("select count(*) from tev.v_tev_phrases where type_id = 4 and id = :t", {{"t", type}}).toInt(), 0);

    // Letter templates are replaced or added per number and language; UTF-8 in, UTF-8 out.
    auto tmpl = proc("upd_message_template");
    tmpl->setParam("P_ID", 1);
    tmpl->setParam("P_LANG_ID", 8);
    tmpl->setParam("P_TEMPLATE_HEADER", QString::fromUtf8("Αίτημα %1$s").toUtf8());
    tmpl->setParam("P_TEMPLATE_MESSAGE", QString::fromUtf8("Πελάτης: %2$s").toUtf8());
    tmpl->execProc();
    EXPECT_EQ(QString::fromUtf8(one("select template_header from tev.v_tev_feedback_templates where id = 1 and "
                                    "lang_id = 8")
                                    .toByteArray()),
              QString::fromUtf8("Αίτημα %1$s"));
    tmpl->setParam("P_ID", 4);
    EXPECT_EQ(oraCode([&] { tmpl->execProc(); }), 20001);

    EXPECT_EQ(pkg->execFunc("get_current_type_sort").toInt(), 0);
    pkg->execProc("SET_CURRENT_TYPE_SORT", {1});
    EXPECT_EQ(pkg->execFunc("get_current_type_sort").toInt(), 1);
    EXPECT_EQ(oraCode([&] { pkg->execProc("SET_CURRENT_TYPE_SORT", {2}); }), 20001);
}

TEST_F(SchemaTest, SettingsStoreKeysAndValues)
{
    auto set = proc("SET_TEV_CONFIGS");
    const QList<QPair<QString, QString>> writes = {
        {"EMT_NAME", QString::fromUtf8("АО «Новый владелец»")},     // replaces
        {"FB_SMTP_LOGIN", "feedback"},                                // replaces
        {"NEW_KEY", "42"},                                            // adds
        {"SMTPUseAuthentication", "1"},                               // kept by its first 20 characters
        {"USE_BLOCK_WARNING", ""},                                    // empty is null
    };
    for (const auto& w : writes) {
        set->setParam("P_PARAM_NAME", w.first);
        set->setParam("P_PARAM_VAL", w.second);
        set->execProc();
        const QVariant v = one("select param_val from tev.v_tev_configs where param_name = :k",
                               {{"k", w.first.left(20)}});
        if (w.second.isEmpty())
            EXPECT_TRUE(v.isNull()) << w.first.toStdString();
        else
            EXPECT_EQ(v.toString(), w.second) << w.first.toStdString();
    }
    EXPECT_EQ(pkg->execFunc("GET_EMITENT_VALUE", {"EMT_NAME"}).toString(), QString::fromUtf8("АО «Новый владелец»"));
    EXPECT_TRUE(pkg->execFunc("GET_EMITENT_VALUE", {"NO_SUCH_KEY"}).isNull());
    set->setParam("P_PARAM_NAME", QString());
    EXPECT_EQ(oraCode([&] { set->execProc(); }), 1400);
    // A mail password is journaled without its value.
    set->setParam("P_PARAM_NAME", QString("PR_SMTP_PASSWORD"));
    set->setParam("P_PARAM_VAL", QString("n3w-secret"));
    set->execProc();
    EXPECT_EQ(one("select count(*) from tev.v_tev_events_journal where param_value_after like '%n3w-secret%' or "
                  "param_value_before like '%Smtp-Recovery%'")
                  .toInt(),
              0);
}

TEST_F(SchemaTest, BonusRangesAnswerWithResultCodes)
{
    auto list = proc("get_ad_ranges");
    list->setParam("p_bonus_type", 0);
    list->open();
    ASSERT_EQ(list->recordCount(), 5);
    EXPECT_EQ(list->value(1, list->fieldIndex("BONUS_RANGE")).toString(), "1 000 - 4 999");
    // A number of one row must not run on into the next row's value.
    EXPECT_DOUBLE_EQ(list->value(1, list->fieldIndex("PERCENT")).toDouble(), 1.5)
        << "fetched rows decode a number past its own end";
    for (const char* c : {"AD_RANGES_ID", "LEFT_RANGE_BORDER", "RIGHT_RANGE_BORDER"})
        EXPECT_NE(list->findField(c), nullptr) << c;

    struct Case { const char* name; QVariant left, right, percent; int type; int code; };
    const QList<Case> inserts = {
        {"after the last range", 1000000, 2000000, 6.5, 0, 0},
        {"borders the wrong way round", 20, 10, 1.0, 0, 1},
        {"negative border", -1, 10, 1.0, 0, 1},
        {"no percent", 3000000, 3000001, QVariant(), 0, 1},
        {"percent above 100", 3000000, 3000001, 150.0, 0, 1},
        {"overlaps by one", 999, 1000, 1.0, 0, 2},
        {"inside another", 6000, 7000, 1.0, 0, 2},
        {"free for the other kind", 100000, 200000, 2.0, 1, 0},
        {"unknown kind", 0, 10, 1.0, 7, 3},
    };
    auto ins = proc("ins_ad_range");
    for (const Case& c : inserts) {
        SCOPED_TRACE(c.name);
        ins->setParam("p_left_range_border", c.left);
        ins->setParam("p_right_range_border", c.right);
        ins->setParam("p_percent", c.percent);
        ins->setParam("p_bonus_type", c.type);
        ins->execProc();
        EXPECT_EQ(ins->paramByName("p_result").asInteger(), c.code);
    }
    list->open();
    EXPECT_EQ(list->recordCount(), 6);
    EXPECT_EQ(list->value(5, list->fieldIndex("BONUS_RANGE")).toString(), "1 000 000 - 2 000 000");

    const QString id = list->value(1, list->fieldIndex("AD_RANGES_ID")).toString();
    struct Upd { const char* name; QString id; QVariant left, right; int code; };
    const QList<Upd> updates = {
        {"itself may stay where it is", id, 1000, 4999, 0},
        {"into its neighbour", id, 900, 4999, 2},
        {"not a number", "abc", 1, 2, 3},
        {"no such range", "999999", 1, 2, 3},
        {"invalid", id, 5000, 4000, 1},
    };
    auto upd = proc("upd_ad_range");
    for (const Upd& u : updates) {
        SCOPED_TRACE(u.name);
        upd->setParam("p_AD_RANGES_ID", u.id);
        upd->setParam("p_left_range_border", u.left);
        upd->setParam("p_right_range_border", u.right);
        upd->setParam("p_percent", 1.75);
        upd->execProc();
        EXPECT_EQ(upd->paramByName("p_result").asInteger(), u.code);
    }
    EXPECT_DOUBLE_EQ(one("select percent from tev.v_tev_ad_ranges where ad_ranges_id = :id", {{"id", id.toInt()}})
                         .toDouble(),
                     1.75);
    auto del = proc("del_ad_range");
    del->setParam("p_AD_RANGES_ID", id);
    del->execProc();
    EXPECT_EQ(oraCode([&] { del->execProc(); }), 1403);
    list->open();
    EXPECT_EQ(list->recordCount(), 5);

    // The module is present in tev and absent from web2.
    pkg->execProc("get_ad_presence", {0});
    EXPECT_EQ(pkg->paramByName("p_result").asInteger(), 1);
    Package web2(session.get());
    web2.setPackageName("WEB2.TEV_UTILS");
    web2.execProc("get_ad_presence", {0});
    EXPECT_EQ(web2.paramByName("p_result").asInteger(), 0);
}

TEST_F(SchemaTest, CouponsArchiveRecordsItsSessions)
{
    const QString archive = "SELECT id, date_of, state, archive_date FROM tev.v_archive_data ORDER BY date_of";
    const QStringList sessions = column(archive);
    ASSERT_EQ(sessions.size(), 2);
    const int unfinished = sessions.last().toInt();
    ASSERT_NE(one("select state from tev.v_archive_data where id = :id", {{"id", unfinished}}).toInt(), 3);

    auto run = proc("ARCHIVE_COUPONS");
    const QDateTime firstOfMonth(QDate(QDate::currentDate().year(), QDate::currentDate().month(), 1), QTime(0, 0));
    run->setParam("P_DATE", firstOfMonth);
    run->setParam("P_CUR_ARCHIVE_ID", unfinished);
    run->execProc();
    EXPECT_EQ(one("select state from tev.v_archive_data where id = :id", {{"id", unfinished}}).toInt(), 3);
    // A finished session is not continued; a new one starts with 0.
    EXPECT_EQ(oraCode([&] { run->execProc(); }), 20001);
    run->setParam("P_CUR_ARCHIVE_ID", 0);
    run->setParam("P_DATE", QDateTime(QDate::currentDate(), QTime(15, 30)));
    run->execProc();
    EXPECT_EQ(column(archive).size(), 3);
    EXPECT_EQ(one("select state || ' ' || to_char(archive_date, 'YYYY-MM-DD HH24:MI') from tev.v_archive_data "
                  "order by id desc")
                  .toString(),
              "3 " + QDate::currentDate().toString("yyyy-MM-dd") + " 00:00");
    run->setParam("P_DATE", QDateTime(QDate::currentDate().addDays(1), QTime(0, 0)));
    EXPECT_EQ(oraCode([&] { run->execProc(); }), 20001);
}

TEST_F(SchemaTest, TranslationOfPortalTexts)
{
    struct Case { const char* name; QVariantList args; QVariant result; };
    const QList<Case> cases = {
        {"dictionary", {QString::fromUtf8("Русский"), 9, 1}, "Russian"},
        {"kept escaped", {QString::fromUtf8("Русский"), 8, 1}, "\\u03A1\\u03C9\\u03C3\\u03B9\\u03BA\\u03AC"},
        {"decoded", {QString::fromUtf8("Русский"), 8, 0, QVariant(), 0}, QString::fromUtf8("Ρωσικά")},
        {"no translation gives the text", {QString::fromUtf8("Нет такого"), 9, 1}, QString::fromUtf8("Нет такого")},
        {"or the default", {QString::fromUtf8("Нет такого"), 9, 1, "-", 0}, "-"},
        {"split parts", {QString::fromUtf8("АИ-92;ДТ"), 9, 1, QVariant(), 1}, "Petrol 92;Diesel"},
        {"null stays null", {QVariant(), 9, 1}, QVariant()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(pkg->execFunc("TRANS_TEXT", c.args).toString(), c.result.toString());
    }
    // TRANS_TEXT_DEFAULT falls back to the portal's default web language before the text itself.
    EXPECT_EQ(pkg->execFunc("TRANS_TEXT_DEFAULT", {QString::fromUtf8("ЛИМИТ"), 8, 0}).toString(),
              QString::fromUtf8("ΟΡΙΟ"));
    EXPECT_EQ(pkg->execFunc("TRANS_TEXT_DEFAULT", {QString::fromUtf8("КРЕДИТ"), 8, 1}).toString(),
              QString::fromUtf8("КРЕДИТ"));
    Query lang(session.get());
    lang.setSql("begin\r\n  tev.TEV_UTILS.change_current_lang(:P_ID_LANG);\r\nend;");
    lang.setParam("P_ID_LANG", 9);
    lang.execSql();
    EXPECT_EQ(one("select param_val from tev.v_tev_configs where param_name = 'LANG_ID'").toString(), "9");
    EXPECT_EQ(pkg->execFunc("TRANS_TEXT_DEFAULT", {QString::fromUtf8("КРЕДИТ"), 8, 1}).toString(), "CREDIT");
    lang.setParam("P_ID_LANG", 77);
    EXPECT_EQ(oraCode([&] { lang.execSql(); }), 2291);

    // Phrases: one translation of one phrase; an empty text removes it.
    pkg->execProc("upd_phrase_translation", {3, 8, 3, "\\u039C\\u03C0\\u03CC\\u03BD\\u03BF\\u03C5\\u03C2"});
    EXPECT_EQ(one("select phrase from tev.v_tev_phrases where id = 3 and type_id = 3 and lang_id = 8").toString(),
              "\\u039C\\u03C0\\u03CC\\u03BD\\u03BF\\u03C5\\u03C2");
    pkg->execProc("upd_phrase_translation", {3, 8, 3, ""});
    EXPECT_EQ(one("select count(*) from tev.v_tev_phrases where id = 3 and type_id = 3 and lang_id = 8").toInt(), 0);
}

TEST_F(SchemaTest, NewsGroupsAndTheirMembers)
{
    auto add = proc("create_news");
    add->setParam("P_HEADLINE", QString::fromUtf8("Новые тарифы"));
    add->setParam("P_NEWSDATE", at("2026-12-01 09:00:00"));
    add->setParam("P_BODY", QString());
    add->setParam("P_CARDHOLDER_VISIBILITY", 1);
    add->execProc();
    const int news = add->paramByName("P_NEWS_ID").asInteger();
    add->setParam("P_HEADLINE", QString());
    EXPECT_EQ(oraCode([&] { add->execProc(); }), 1400);
    pkg->execProc("upd_news", {news, "Tariffs", at("2026-12-02 10:00:00"), "Body", 0});
    EXPECT_EQ(one("select headline_news || '/' || body_news || '/' || cardholder_visibility from tev.v_news "
                  "where news_id = :n",
                  {{"n", news}})
                  .toString(),
              "Tariffs/Body/0");

    auto groups = proc("GET_GROUP_LIST_FOR_NEWS");
    auto bound = [&] {
        groups->setParam("P_NEWS_ID", news);
        groups->open();
        QStringList ids;
        for (int row = 0; row < groups->recordCount(); ++row)
            if (groups->value(row, groups->fieldIndex("ISVISIBLE")).toInt() == 1)
                ids << groups->value(row, groups->fieldIndex("GROUP_ID")).toString();
        return ids;
    };
    EXPECT_TRUE(bound().isEmpty());
    EXPECT_EQ(groups->recordCount(), 3);
    pkg->execProc("BIND_GROUP_TO_NEWS", {news, 2, 1});
    pkg->execProc("BIND_GROUP_TO_NEWS", {news, 2, 1}); // already bound: nothing happens
    pkg->execProc("BIND_GROUP_TO_NEWS", {news, 3, 0}); // not bound: nothing happens
    EXPECT_EQ(bound(), QStringList({"2"}));

    pkg->execProc("create_group_for_news", {QString::fromUtf8("Новая группа")});
    const int group = pkg->paramByName("P_GROUP_ID").asInteger();
    EXPECT_EQ(oraCode([&] { pkg->execProc("create_group_for_news", {QString::fromUtf8("Новая группа")}); }), 1);
    EXPECT_EQ(oraCode([&] { pkg->execProc("create_group_for_news", {""}); }), 1400);

    // Members: emitents and clients not yet in the group, moved in and out.
    auto freeEmitents = proc("GET_FREE_EMITENTS_FOR_GROUP");
    freeEmitents->setParam("P_GROUP_ID", 1);
    freeEmitents->open();
    EXPECT_EQ(freeEmitents->recordCount(), one("select count(*) from tev.v_tev_emitent").toInt() - 2);
    pkg->execProc("INS_EMITENT_IN_GROUP", {group, 2});
    EXPECT_EQ(oraCode([&] { pkg->execProc("INS_EMITENT_IN_GROUP", {group, 2}); }), 1);
    EXPECT_EQ(column("SELECT 0 isvisible, v.emitent_id_web FROM tev.V_SUBSCRIBED_EMITENTS v WHERE v.group_id = :g",
                     {{"g", group}})
                  .size(),
              1);

    auto freeClients = proc("GET_FREE_CLIENTS_FOR_GROUP");
    freeClients->setParam("P_GROUP_ID", 2);
    freeClients->setParam("P_EMITENT_ID", 1);
    freeClients->setParam("P_USE_NAME_FOR_REPORT", 0);
    freeClients->open();
    // The owner emitent [0001, 0] offers its filials' clients too, less the members 121..125.
    EXPECT_EQ(freeClients->recordCount(),
              one("select count(*) from tev.v_tev_web_clients where wbc_emitent_id in (1, 2, 3)").toInt() - 5);
    for (const char* c : {"ISVISIBLE", "WBC_NAME", "WBC_ID", "WBC_PETROL_TYPE_ID", "CLIENTISLNR", "CLIENTISBONUS"})
        EXPECT_NE(freeClients->findField(c), nullptr) << c;
    freeClients->setParam("P_EMITENT_ID", 2); // a filial offers its own clients only
    freeClients->open();
    EXPECT_EQ(freeClients->recordCount(),
              one("select count(*) from tev.v_tev_web_clients where wbc_emitent_id = 2").toInt() - 5);
    freeClients->setParam("P_USE_NAME_FOR_REPORT", 1);
    freeClients->setParam("P_EMITENT_ID", 1);
    freeClients->open();
    EXPECT_TRUE(freeClients->locate("WBC_ID", 2));
    EXPECT_TRUE(freeClients->value("WBC_NAME").toString().startsWith(
        QString::fromUtf8("Общество с ограниченной ответственностью")));

    pkg->execProc("INS_CLIENT_IN_GROUP", {group, 2});
    pkg->execProc("DEL_CLIENT_FROM_GROUP", {2, 121});
    EXPECT_EQ(oraCode([&] { pkg->execProc("DEL_CLIENT_FROM_GROUP", {2, 121}); }), 1403);
    EXPECT_EQ(oraCode([&] { pkg->execProc("INS_CLIENT_IN_GROUP", {group, 999999}); }), 2291);
    pkg->execProc("DEL_EMITENT_FROM_GROUP", {group, 2});

    // Deleting a group takes its bindings and members with it.
    pkg->execProc("BIND_GROUP_TO_NEWS", {news, group, 1});
    pkg->execProc("del_group_for_news", {group});
    EXPECT_EQ(one("select count(*) from tev.v_subscribed_clients where group_id = :g", {{"g", group}}).toInt(), 0);
    pkg->execProc("del_news", {news});
    EXPECT_EQ(oraCode([&] { pkg->execProc("del_news", {news}); }), 1403);
}

TEST_F(SchemaTest, TransactionGroupsAndTheirTypes)
{
    pkg->execProc("ins_trntype_group", {QString::fromUtf8("Возвраты"), 25});
    const int group = pkg->paramByName("p_group_id").asInteger();
    pkg->execProc("upd_trntype_group", {group, "Refunds", 9});
    EXPECT_EQ(one("select group_name from tev.v_tev_trntype_group where group_id = :g", {{"g", group}}).toString(),
              QString::fromUtf8("Возвраты"));
    EXPECT_EQ(one("select phrase from tev.v_tev_phrases where type_id = 3 and id = :g and lang_id = 9", {{"g", group}})
                  .toString(),
              "Refunds");
    EXPECT_EQ(oraCode([&] { pkg->execProc("upd_trntype_group", {group, " ", 9}); }), 1400);

    // Type 2 belongs to no group, type 1 to group 1.
    pkg->execProc("ins_trntype_in_group", {group, 2});
    EXPECT_EQ(oraCode([&] { pkg->execProc("ins_trntype_in_group", {group, 1}); }), 20001);
    EXPECT_EQ(oraCode([&] { pkg->execProc("ins_trntype_in_group", {group, 999}); }), 1403);
    EXPECT_EQ(one("select group_id from tev.v_tev_trntype where trntype_number = 2").toInt(), group);
    pkg->execProc("del_trntype_in_group", {1});
    EXPECT_EQ(one("select count(*) from tev.v_tev_trntype where group_id = 1").toInt(), 0);
    pkg->execProc("del_trntype_group", {group});
    EXPECT_TRUE(one("select group_id from tev.v_tev_trntype where trntype_number = 2").isNull());
    EXPECT_EQ(one("select count(*) from tev.v_tev_phrases where type_id = 3 and id = :g", {{"g", group}}).toInt(), 0);
    EXPECT_EQ(oraCode([&] { pkg->execProc("del_trntype_group", {group}); }), 1403);

    // Service points and transaction types of one emitent.
    pkg->execProc("UPDATE_TRNTYPE", {2, 0, 4}); // no row for the emitent yet
    EXPECT_EQ(one("select isvisible from tev.v_tev_trntype_emitent where trntype_number = 2 and emitent_id_web = 4")
                  .toInt(),
              0);
    const int mark = one("select mark from tev.v_tev_trntype where trntype_number = 3").toInt();
    pkg->execProc("change_mark_of_trntype", {3});
    EXPECT_EQ(one("select mark from tev.v_tev_trntype where trntype_number = 3").toInt(), -mark);
    const int pos = one("select min(pos_num_web) from tev.v_tev_pos").toInt();
    pkg->execProc("UPDATE_POS", {pos, "\\u00C9toile", QString::fromUtf8("г. Тверь"), 0, 1});
    EXPECT_EQ(one("select pos_name || '/' || isvisible || isupdate from tev.v_tev_pos where pos_num_web = :p",
                  {{"p", pos}})
                  .toString(),
              "\\u00C9toile/01");
    EXPECT_EQ(oraCode([&] { pkg->execProc("UPDATE_POS", {pos, "", "x", 0, 1}); }), 1400);
}

TEST_F(SchemaTest, WebNamesOfSchemesTermsAndHelp)
{
    auto scheme = proc("UPD_TEV_SCHEMA_FOR_WEB");
    struct Case { const char* name; int number, type; QString text; int lang; int code; };
    const QList<Case> cases = {
        {"a new language", 5, 0, "\\u038C\\u03C1\\u03B9\\u03BF", 8, 0},
        {"replaced", 1, 0, QString::fromUtf8("Предоплата"), 25, 0},
        {"empty", 1, 0, "", 25, 1400},
        {"longer than 50", 1, 0, QString(51, 'x'), 25, 12899},
        {"no such scheme", 9, 9, "x", 25, 1403},
        {"no such language", 1, 0, "x", 77, 2291},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scheme->setParam("P_SCHEMA_NUMBER", c.number);
        scheme->setParam("P_SCHEMA_TYPE", c.type);
        scheme->setParam("P_SCHEMA_NAME", c.text);
        scheme->setParam("P_LANG_ID", c.lang);
        EXPECT_EQ(oraCode([&] { scheme->execProc(); }), c.code);
    }
    EXPECT_EQ(one("select phrase from tev.v_tev_phrases where type_id = 2 and id = 5 and lang_id = 8").toString(),
              "\\u038C\\u03C1\\u03B9\\u03BF");
    auto term = proc("UPD_TEV_TERMS_FOR_WEB");
    term->setParam("P_TERM_ID", 6);
    term->setParam("P_TERM_NAME", QString("Limit"));
    term->setParam("P_LANG_ID", 8);
    term->execProc();
    EXPECT_EQ(one("select phrase from tev.v_tev_phrases where type_id = 1 and id = 6 and lang_id = 8").toString(),
              "Limit");

    // Help: own items from 10000 on; built-in ones keep name and type and cannot be deleted.
    const int item = pkg->execFunc("ins_help_type", {"Tariffs", "How prices are set", "101", 9}).toInt();
    EXPECT_GT(item, 10000);
    EXPECT_EQ(oraCode([&] { pkg->execFunc("ins_help_type", {"x", "y", "12", 9}); }), 20001);
    pkg->execProc("upd_help_type", {1, "New name", "New description", "000", 9});
    EXPECT_EQ(one("select tev_help_name || '/' || tev_help_desc || '/' || tev_help_type from tev.v_tev_help where "
                  "tev_help_id = 1 and tev_help_lang_id = 9")
                  .toString(),
              "Signing in/New description/110");
    pkg->execProc("upd_help_type", {item, "Prices", "", "011", 9});
    EXPECT_EQ(one("select tev_help_name || '/' || coalesce(tev_help_desc, '-') || '/' || tev_help_type from "
                  "tev.v_tev_help where tev_help_id = :i",
                  {{"i", item}})
                  .toString(),
              "Prices/-/011");
    EXPECT_EQ(oraCode([&] { pkg->execProc("del_help_type", {1}); }), 20001);
    pkg->execProc("del_help_type", {item});
    EXPECT_EQ(oraCode([&] { pkg->execProc("del_help_type", {item}); }), 1403);
}

TEST_F(SchemaTest, EmitentSettingsExchangeOrderAndKeys)
{
    pkg->execProc("change_emit_unload", {3, 1});
    pkg->execProc("SET_POS_VISIBLE", {3, 0});
    pkg->execProc("SET_EMITENT_HIDE_DISCONT", {3, 0}); // the value shown turns to the other one
    EXPECT_EQ(one("select unload || '/' || pos_visible || '/' || hide_discont from tev.v_tev_emitent where "
                  "emitent_id_web = 3")
                  .toString(),
              "1/0/1");
    pkg->execProc("SET_EMITENT_HIDE_DISCONT", {3, 1});
    EXPECT_EQ(one("select hide_discont from tev.v_tev_emitent where emitent_id_web = 3").toInt(), 0);
    EXPECT_EQ(oraCode([&] { pkg->execProc("change_emit_unload", {3, 2}); }), 20001);
    EXPECT_EQ(oraCode([&] { pkg->execProc("SET_POS_VISIBLE", {999, 1}); }), 1403);

    auto exchange = proc("set_emitent_change_param");
    const QVariantMap values = {{"P_EMITENT_ID", 3}, {"P_EMIT_TYPE_CHANGE", 1}, {"P_SHARING_FOLDER", QString()},
                                {"P_EMIT_EMAIL", QString()}, {"P_USE_HTTP", 1}, {"P_HTTP_SERVER", QString("gw")},
                                {"P_HTTP_PORT", 8080}, {"P_USE_HTTP_PROXY", 0}, {"P_HTTP_PROXY_SERVER", QString()},
                                {"P_HTTP_PROXY_PORT", QVariant()}, {"P_USE_HTTP_PROXY_AUTH", 0},
                                {"P_HTTP_PROXY_USER", QString()}, {"P_HTTP_PROXY_PSWD", QString("pw")}};
    for (auto it = values.begin(); it != values.end(); ++it)
        exchange->setParam(it.key(), it.value());
    EXPECT_EQ(oraCode([&] { exchange->execProc(); }), 20001); // e-mail exchange needs an address
    exchange->setParam("P_EMIT_EMAIL", QString("south@tev.example"));
    exchange->execProc();
    EXPECT_EQ(one("select type_change || '/' || e_mail || '/' || http_port from tev.v_tev_emitent where "
                  "emitent_id_web = 3")
                  .toString(),
              "1/south@tev.example/8080");

    auto billing = proc("set_billing_param");
    struct Case { const char* name; QString prefix; double vat; int code; };
    const QList<Case> cases = {
        {"accepted", "T-1", 20.0, 0}, {"prefix too long", "ABCD", 20.0, 12899},
        {"forbidden character", "A/B", 20.0, 20001}, {"VAT above 100", "AB", 150.0, 20001}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        billing->setParam("P_EMITENT_WEB_ID", 3);
        billing->setParam("P_USE_BILLING", 1);
        billing->setParam("P_PREFIX", c.prefix);
        billing->setParam("P_SERVICE_NAME", QString::fromUtf8("Топливо"));
        billing->setParam("P_VAT", c.vat);
        EXPECT_EQ(oraCode([&] { billing->execProc(); }), c.code);
    }
    EXPECT_EQ(one("select billing_prefix || '/' || billing_vat from tev.v_tev_emitent where emitent_id_web = 3")
                  .toString(),
              "T-1/20.00");
    // The service name counts its characters, not its escaped form: 100 signs stored as 600.
    billing->setParam("P_PREFIX", QString("T-1"));
    billing->setParam("P_VAT", 20.0);
    billing->setParam("P_SERVICE_NAME", QString("\\u2713").repeated(100));
    EXPECT_EQ(oraCode([&] { billing->execProc(); }), 0);
    billing->setParam("P_SERVICE_NAME", QString(101, QChar('x')));
    EXPECT_EQ(oraCode([&] { billing->execProc(); }), 12899);

    // The exchange order belongs to the owner emitents.
    pkg->execProc("set_order_update", {2, 0, 7});
    pkg->execProc("set_order_download", {2, 0, 0});
    EXPECT_EQ(one("select order_unload || '/' || order_download from tev.v_tev_emitent where emitent_id_web = 4")
                  .toString(),
              "7/0");
    EXPECT_EQ(oraCode([&] { pkg->execProc("set_order_update", {1, 1, 2}); }), 1403); // a filial
    EXPECT_EQ(oraCode([&] { pkg->execProc("set_order_download", {2, 0, -1}); }), 20001);

    // Encryption and the processing centre's key.
    auto crypt = proc("upd_emitent_param_crypt");
    crypt->setParam("P_EMITENT_ID", 7);
    crypt->setParam("P_USE_IMPORT_CRYPT", 0);
    crypt->setParam("P_USE_EXPORT_CRYPT", 1);
    crypt->execProc();
    auto key = proc("upd_emitent_export_key");
    key->setParam("P_EMITENT_ID", 7);
    key->setParam("P_EXPORT_KEY_DATA", QString("0602000000a40000"));
    key->execProc();
    EXPECT_EQ(one("select use_import_crypt || '/' || use_export_crypt || '/' || export_key_data from "
                  "tev.v_tev_emitent_params where emitent_id = 7")
                  .toString(),
              "0/1/0602000000A40000");
    key->setParam("P_EXPORT_KEY_DATA", QString("not hex"));
    EXPECT_EQ(oraCode([&] { key->execProc(); }), 20001);
}

TEST_F(SchemaTest, MaximumLimitsOfClientsAndEmitents)
{
    const int client = one("select min(c.wbc_id) from tev.v_tev_web_clients c where c.wbc_emitent_id = 1 and not "
                           "exists (select 1 from tev.v_tev_max_limits l where l.client_id_web = c.wbc_id)")
                           .toInt();
    const int service = one("select service_id_web from tev.v_tev_service where emitent_id_web = 1 and service_id = 2")
                            .toInt();
    pkg->execProc("upd_client_max_limit", {client, service, 120.5, QVariant(), 3000.0});
    EXPECT_EQ(one("select max_day_limit || '/' || coalesce(max_week_limit::text, '-') || '/' || max_month_limit "
                  "from tev.v_tev_max_limits where client_id_web = :c",
                  {{"c", client}})
                  .toString(),
              "120.500/-/3000.000");
    const int foreign = one("select min(service_id_web) from tev.v_tev_service where emitent_id_web = 4").toInt();
    EXPECT_EQ(oraCode([&] { pkg->execProc("upd_client_max_limit", {client, foreign, 1.0, 1.0, 1.0}); }), 2291);
    EXPECT_EQ(oraCode([&] { pkg->execProc("upd_client_max_limit", {client, service, -1.0, 1.0, 1.0}); }), 20001);
    pkg->execProc("load_max_limits_defaults", {client});
    EXPECT_EQ(one("select count(*) from tev.v_tev_max_limits where client_id_web = :c", {{"c", client}}).toInt(), 0);
    pkg->execProc("upd_emitent_max_limit", {service, 600.0, 3500.0, QVariant()});
    EXPECT_EQ(one("select max_day_limit || '/' || coalesce(max_month_limit::text, '-') from tev.v_tev_service where "
                  "service_id_web = :s",
                  {{"s", service}})
                  .toString(),
              "600.000/-");
}

TEST_F(SchemaTest, ReportProceduresCountVisitsInThePeriod)
{
    // The previous calendar month, as the report window starts.
    const QDate first = QDate::currentDate().addMonths(-1);
    const QDateTime begin(QDate(first.year(), first.month(), 1), QTime(0, 0));
    const QDateTime end(QDate(first.year(), first.month(), first.daysInMonth()), QTime(23, 59, 59));
    const int signIns = one("select count(*) from tev.v_tev_web_visit_journals where operation_type = 1 and "
                            "wbvj_visit_date between :b and :e",
                            {{"b", begin}, {"e", end}})
                            .toInt();
    ASSERT_GT(signIns, 0) << "demo data has no visits in the previous month";

    auto visits = proc("GET_COUNT_WEB_CLIENTS_VISITS");
    visits->setParam("P_DATE_OF_START", begin);
    visits->setParam("P_DATE_OF_END", end);
    visits->open();
    ASSERT_GT(visits->recordCount(), 0);
    int total = 0;
    for (int row = 0; row < visits->recordCount(); ++row) {
        total += visits->value(row, visits->fieldIndex("COUNT_VISITS_ON_PERIOD")).toInt();
        const QDateTime last = visits->value(row, visits->fieldIndex("LAST_VISIT_DATE")).toDateTime();
        EXPECT_TRUE(last >= begin && last <= end);
    }
    EXPECT_EQ(total, signIns);
    EXPECT_NE(visits->findField("EMITENT"), nullptr);
    EXPECT_NE(visits->findField("CLIENT_NAME"), nullptr);

    auto byEmitent = proc("GET_COUNT_VISITS_BY_EMITENT");
    byEmitent->setParam("P_DATE_OF_START", begin);
    byEmitent->setParam("P_DATE_OF_END", end);
    byEmitent->open();
    ASSERT_GT(byEmitent->recordCount(), 0);
    EXPECT_TRUE(byEmitent->value(0, byEmitent->fieldIndex("EMITENT")).toString().startsWith("[0001, 0] "));
    int clients = 0;
    for (int row = 0; row < byEmitent->recordCount(); ++row)
        clients += byEmitent->value(row, byEmitent->fieldIndex("CLIENTS_COUNT")).toInt();
    EXPECT_EQ(clients, visits->recordCount());

    // A period without visits gives no rows; a period without an end is refused.
    byEmitent->setParam("P_DATE_OF_START", at("2001-01-01 00:00:00"));
    byEmitent->setParam("P_DATE_OF_END", at("2001-01-31 23:59:59"));
    byEmitent->open();
    EXPECT_EQ(byEmitent->recordCount(), 0);
    byEmitent->setParam("P_DATE_OF_END", QVariant());
    EXPECT_EQ(oraCode([&] { byEmitent->open(); }), 1400);
}

TEST_F(SchemaTest, EventsJournalTellsWhoChangedWhat)
{
    const QString last = "select user_name || '|' || object_name || '|' || param_name || '|' || "
                         "coalesce(param_value_before, '-') || '|' || coalesce(param_value_after, '-') || '|' || "
                         "coalesce(emitent_id::text, '-') || '|' || coalesce(filial_id::text, '-') || '|' || "
                         "coalesce(cln_type::text, '-') from tev.v_tev_events_journal order by journal_id desc";
    pkg->execProc("change_emit_unload", {5, 0});
    EXPECT_EQ(one(last).toString(), "TEV_USER|EMITENT 5|UNLOAD|1|0|2|1|-");
    pkg->execProc("INS_WEB_TEST_CLIENTS", {3}); // a private person of [0001, 0]
    EXPECT_EQ(one(last).toString(), "TEV_USER|WEB_CLIENT 3|TEST_CLIENT|0|1|1|0|2");
    const int journaled = one("select count(*) from tev.v_tev_events_journal").toInt();
    pkg->execProc("INS_WEB_TEST_CLIENTS", {3}); // no change, no line
    EXPECT_EQ(one("select count(*) from tev.v_tev_events_journal").toInt(), journaled);
    EXPECT_EQ(one("select event_type_name from tev.v_tev_events_journal order by journal_id desc").toString(),
              QString::fromUtf8("Изменение клиента"));

    // Another account is named as itself; secrets are journaled as changed, never shown.
    auto operatorSession = PgFixture::instance().connect("tev_operator");
    Package op(operatorSession.get());
    op.setPackageName("TEV.TEV_UTILS");
    op.execProc("update_pass_login", {1, "Secret#77", 0});
    EXPECT_EQ(one(*operatorSession, last).toString(), "TEV_OPERATOR|WEB_LOGIN 1|WBL_PASSWORD|-|***|1|0|1");
    EXPECT_EQ(one(*operatorSession, "select count(*) from tev.v_tev_events_journal where param_value_after like "
                                    "'%Secret#77%' or param_value_after = tev.tev_utils__calc_md5('Secret#77')")
                  .toInt(),
              0);
}
