#include "Catalogue.h"
#include "ClientsTestSupport.h"
#include "ClientsWorkArea.h"
#include "LoginValidator.h"
#include "PasswordSecurity.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"
#include "SharedQueries.h"
#include "TfmLoginAdd.h"
#include "TfmLoginPassEdit.h"
#include "TfmPassEdit.h"
#include "TfrmLoginEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString md5Of(const QString& loginId)
{
    return adminValue("select wbl_password_md5 from tev.tev_web_logins where wbl_id = " + loginId);
}
QString calcMd5(const QString& text)
{
    QString quoted = text;
    quoted.replace("'", "''");
    return adminValue("select tev.tev_utils__calc_md5('" + quoted + "')");
}
void setConfig(const char* key, const QString& value)
{
    adminValue(QStringLiteral("update tev.tev_configs set param_val = '%1' where param_name = '%2'")
                   .arg(value, QString::fromLatin1(key)));
}

class LoginWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_PG();
        setConfig("ADV_PASS_SECUR", "0");
        module = std::make_unique<SignedInModule>();
        ASSERT_TRUE(module->connected);
    }
    void TearDown() override { setConfig("ADV_PASS_SECUR", "0"); }
    TdmMain& dm() { return *module->dm; }
    static void type(TfmLoginAdd& d, const QString& login, const QString& pass, const QString& confirm)
    {
        d.edtLogin()->setText(login);
        d.edtPassword()->setText(pass);
        d.edtConfirm()->setText(confirm);
    }
    std::unique_ptr<SignedInModule> module;
    RecordingPresenter presenter;
};

} // namespace

TEST(PasswordSecurity, ResultCodesBecomeMessages)
{
    clientsTestApp();
    const struct
    {
        const char* name;
        const char* code;
        QString expected;
    } rows[] = {
        {"accepted", "0", QString()},
        {"too short", "1", QString::fromUtf8("Слишком короткий пароль")},
        {"lower case", "2", lang::tr(u"vrstrCharsMandatory")},
        {"capitals", "3", lang::tr(u"vrstrCapitalsMandatory")},
        {"digits", "4", QString::fromUtf8("Пароль должен содержать цифры")},
        {"symbols", "5", lang::tr(u"vrstrSymbolsMandatory")},
        {"unknown code", "7", QString::fromUtf8("Пароль содержит недопустимые символы: 7")},
        {"refused characters", "Щ ", QString::fromUtf8("Пароль содержит недопустимые символы: Щ ")},
    };
    for (const auto& r : rows)
        EXPECT_EQ(PasswordSecurity::MessageForCode(QString::fromUtf8(r.code)), r.expected) << r.name;
}

TEST(PasswordSecurity, OnlyExactlyOneSwitchesTheCheckOn)
{
    const struct
    {
        const char* value;
        bool on;
    } rows[] = {{"1", true}, {"1 ", false}, {" 1", false}, {"true", false}, {"", false}, {"0", false}};
    for (const auto& r : rows)
        EXPECT_EQ(PasswordSecurity::CheckEnabled(QString::fromLatin1(r.value)), r.on)
            << '"' << r.value << '"';
}

TEST(LoginValidator, DropsBlanksAndWhatIsNotAsciiTypedOrPasted)
{
    clientsTestApp();
    QLineEdit edit;
    edit.setValidator(new LoginValidator(&edit));
    edit.show();
    for (QChar c : QString::fromUtf8("ab cЖ-1")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&edit, &press);
    }
    EXPECT_EQ(edit.text(), "abc-1");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "abc-");
    QApplication::clipboard()->setText(QString::fromUtf8(" x\tЯy\u00e9z "));
    edit.paste();
    EXPECT_EQ(edit.text(), "abc-xyz");
}

TEST_F(LoginWindows, DataModuleChecksAndSetsPasswords)
{
    EXPECT_EQ(dm().CheckPasswordSecurity("short"), lang::tr(u"vrstrPasswordToSmall"));
    EXPECT_EQ(dm().CheckPasswordSecurity("Longenough1"), QString());
    EXPECT_EQ(dm().CheckPasswordSecurity("Longenough"), lang::tr(u"vrstrNumbersMandatory"));

    const QString login =
        adminValue("select min(wbl_id) from tev.tev_web_logins where wbl_web_client_id = 3");
    const QString password = QStringLiteral("  Blanks at both ends 1 ");
    dm().SetLoginPassword(login.toInt(), password, true);
    EXPECT_EQ(md5Of(login), calcMd5(password));
    EXPECT_EQ(adminValue("select wbl_temp_password from tev.tev_web_logins where wbl_id = " + login), "1");

    // A failed set leaves nothing open and passes the error on; the session works on.
    EXPECT_THROW(dm().SetLoginPassword(999999, "Whatever1", false), db::OraError);
    EXPECT_EQ(md5Of(login), calcMd5(password));
    EXPECT_EQ(dm().CheckPasswordSecurity("Longenough1"), QString());
}

TEST_F(LoginWindows, AddLoginRefusesInOrderAndKeepsWhatWasTyped)
{
    // Client 1 already has its client login and two holders without one.
    TfmLoginAdd d(dm(), 1);
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Добавить логин"));
    EXPECT_EQ(d.cbHolders()->count(), 2);
    EXPECT_EQ(d.cbHolders()->currentIndex(), -1);
    EXPECT_FALSE(d.cbHolders()->isEnabled());
    EXPECT_TRUE(d.chkActive()->isChecked());
    EXPECT_TRUE(d.chkJournalising()->isChecked());
    EXPECT_FALSE(d.btnOk()->isEnabled());
    const QString taken = adminValue("select wbl_login_md5 from tev.tev_web_logins order by wbl_id limit 1");

    struct Step
    {
        const char* name;
        TfmLoginAdd::Owner owner;
        int holder;
        QString login, password, confirm;
        QString message;
    };
    const Step steps[] = {
        {"confirmation differs by blanks", TfmLoginAdd::OwnerClient, -1, "newlogin1", "Secret123",
         "Secret123 ", QString::fromUtf8("Введенные пароли не совпадают.")},
        {"client login exists", TfmLoginAdd::OwnerClient, -1, "newlogin1", "Secret123", "Secret123",
         QString::fromUtf8("Логин для клиента уже создан.")},
        {"no holder chosen", TfmLoginAdd::OwnerHolder, -1, "newlogin1", "Secret123", "Secret123",
         QString::fromUtf8("Держатель не выбран.")},
        {"name taken", TfmLoginAdd::OwnerHolder, 0, taken, "Secret123", "Secret123",
         QString::fromUtf8("Такой логин уже задействован в системе.")},
    };
    for (const Step& s : steps) {
        presenter.clear();
        d.setOwnerKind(s.owner);
        d.cbHolders()->setCurrentIndex(s.holder);
        type(d, s.login, s.password, s.confirm);
        d.btnOkClick();
        ASSERT_EQ(presenter.count(), 1) << s.name;
        EXPECT_EQ(presenter.last().text, s.message) << s.name;
        EXPECT_EQ(presenter.last().icon, lang::MsgIcon::Error) << s.name;
        EXPECT_EQ(d.result(), 0) << s.name;
        EXPECT_EQ(d.edtPassword()->text(), s.password) << s.name;
        EXPECT_EQ(d.edtLogin()->text(), s.login) << s.name;
    }
    EXPECT_EQ(adminValue("select count(*) from tev.tev_web_logins where wbl_login_md5 = 'newlogin1'"), "0");

    // Back to the client: holder choice cleared, access back to the first level.
    d.setOwnerKind(TfmLoginAdd::OwnerHolder);
    d.cbHolders()->setCurrentIndex(1);
    d.cbAccess()->setCurrentIndex(2);
    d.setOwnerKind(TfmLoginAdd::OwnerClient);
    EXPECT_EQ(d.cbHolders()->currentIndex(), -1);
    EXPECT_EQ(d.cbAccess()->currentIndex(), 0);
}

TEST_F(LoginWindows, AddLoginCreatesClientAndHolderLogins)
{
    // Client 9 has no client login yet.
    TfmLoginAdd client(dm(), 9);
    const QString password = QStringLiteral(" Pass word 9 ");
    type(client, "client9login", password, password);
    client.chkJournalising()->setChecked(false);
    client.btnOkClick();
    ASSERT_EQ(client.result(), QDialog::Accepted);
    EXPECT_EQ(presenter.count(), 0);
    const QString id = QString::number(client.loginId());
    EXPECT_EQ(
        adminValue("select wbl_login_md5 || '|' || wbl_is_active || '|' || wbl_is_journalising || '|' || "
                   "coalesce(card_holder_id::text, 'none') from tev.tev_web_logins where wbl_id = " +
                   id),
        "client9login|1|0|none");
    EXPECT_EQ(md5Of(id), calcMd5(password));

    // A holder's login of a client that has its client login already.
    TfmLoginAdd holder(dm(), 13);
    holder.setOwnerKind(TfmLoginAdd::OwnerHolder);
    ASSERT_GE(holder.cbHolders()->count(), 1);
    holder.cbHolders()->setCurrentIndex(0);
    const QString holderId = holder.cbHolders()->currentData().toString();
    holder.cbAccess()->setCurrentIndex(2);
    holder.edtEmail()->setText("holder13@example.org");
    type(holder, "holder13login", "Secret123", "Secret123");
    holder.btnOkClick();
    ASSERT_EQ(holder.result(), QDialog::Accepted);
    EXPECT_EQ(adminValue(
                  "select l.card_holder_id || '|' || l.email || '|' || h.stateholder from tev.tev_web_logins "
                  "l join tev.tev_card_holder h using (card_holder_id) where wbl_id = " +
                  QString::number(holder.loginId())),
              holderId + "|holder13@example.org|2");
    // A client deleted meanwhile: the error is rolled back and passed on, the dialog stays open.
    TfmLoginAdd gone(dm(), 999999);
    type(gone, "ghostlogin", "Secret123", "Secret123");
    EXPECT_THROW(gone.btnOkClick(), db::OraError);
    EXPECT_EQ(gone.result(), 0);
    EXPECT_EQ(gone.edtLogin()->text(), "ghostlogin");
    EXPECT_EQ(dm().CheckPasswordSecurity("Longenough1"), QString());

    TfmLoginAdd again(dm(), 13);
    EXPECT_EQ(again.cbHolders()->count(), holder.cbHolders()->count() - 1);
}

TEST_F(LoginWindows, InsecurePasswordNeedsAYes)
{
    setConfig("ADV_PASS_SECUR", "1");
    TfmLoginAdd d(dm(), 19);
    type(d, "client19login", "short", "short");
    presenter.answer(lang::mrNo);
    d.btnOkClick();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().caption, QString::fromUtf8("Предупреждение"));
    EXPECT_EQ(presenter.last().icon, lang::MsgIcon::Warning);
    EXPECT_EQ(presenter.last().text,
              QString::fromUtf8("Указанный пароль не соответствует настройкам безопасности (Слишком короткий "
                                "пароль). Назначить логину небезопасный пароль?"));
    EXPECT_FALSE(presenter.last().text.contains("short"));
    EXPECT_EQ(d.result(), 0);
    EXPECT_EQ(d.edtPassword()->text(), "short");
    EXPECT_EQ(adminValue("select count(*) from tev.tev_web_logins where wbl_web_client_id = 19"), "0");

    presenter.answer(lang::mrYes);
    d.btnOkClick();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(md5Of(QString::number(d.loginId())), calcMd5("short"));

    // "1 " is not "1": no question at all.
    setConfig("ADV_PASS_SECUR", "1 ");
    SignedInModule other;
    TfmLoginPassEdit pass(*other.dm, d.loginId(), "client19login");
    presenter.clear();
    pass.edtPassword()->setText("tiny");
    pass.edtConfirm()->setText("tiny");
    pass.btnOkClick();
    EXPECT_EQ(presenter.count(), 0);
    EXPECT_EQ(pass.result(), QDialog::Accepted);
}

TEST_F(LoginWindows, ChangePasswordComparesExactlyAndShowsErrorsWithoutThePassword)
{
    const QString login =
        adminValue("select min(wbl_id) from tev.tev_web_logins where wbl_web_client_id = 15");
    const QString before = md5Of(login);
    TfmLoginPassEdit d(dm(), login.toInt(), "client15");
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Изменить пароль логина"));
    EXPECT_EQ(d.edtPassword()->echoMode(), QLineEdit::Password);
    d.edtPassword()->setText(" Secret15 ");
    d.edtConfirm()->setText("Secret15");
    d.btnOkClick();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, QString::fromUtf8("Введенные пароли не совпадают."));
    EXPECT_EQ(md5Of(login), before);

    d.edtConfirm()->setText(" Secret15 ");
    d.btnOkClick();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(md5Of(login), calcMd5(" Secret15 "));

    // The login deleted meanwhile: the error is shown with the window's prefix, the dialog stays.
    TfmLoginPassEdit gone(dm(), 999999, "nobody");
    gone.edtPassword()->setText("Topsecret9");
    gone.edtConfirm()->setText("Topsecret9");
    presenter.clear();
    gone.btnOkClick();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_TRUE(presenter.last().text.startsWith(QString::fromUtf8("Ошибка смены пароля логина: ")));
    EXPECT_FALSE(presenter.last().text.contains("Topsecret9"));
    EXPECT_EQ(presenter.last().caption, QString::fromUtf8("Ошибка"));
    EXPECT_EQ(gone.result(), 0);
}

TEST_F(LoginWindows, EditLoginKeepsItsOwnNameAndRefusesAnothers)
{
    const QString id =
        adminValue("select min(wbl_id) from tev.tev_web_logins where wbl_web_client_id = 2 and "
                   "card_holder_id is not null");
    ASSERT_FALSE(id.isEmpty());
    const QString name = adminValue("select wbl_login_md5 from tev.tev_web_logins where wbl_id = " + id);
    WebLoginRow row{id.toInt(), name, "old@example.org", true, true, 1, true};
    TfrmLoginEdit d(dm(), row);
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Изменить логин:") + name);
    EXPECT_TRUE(d.cbAccess()->isEnabled());
    EXPECT_EQ(d.cbAccess()->currentIndex(), 1);

    const QString other = adminValue("select wbl_login_md5 from tev.tev_web_logins where wbl_id <> " + id +
                                     " order by wbl_id limit 1");
    d.edtLogin()->setText(other);
    d.btnOkClick();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, QString::fromUtf8("Такой логин уже задействован в системе."));
    EXPECT_EQ(d.result(), 0);

    d.edtLogin()->setText(name);
    d.chkActive()->setChecked(false);
    d.cbAccess()->setCurrentIndex(0);
    d.edtEmail()->setText("new@example.org");
    d.btnOkClick();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(
        adminValue(
            "select l.wbl_is_active || '|' || l.email || '|' || h.stateholder from tev.tev_web_logins l "
            "join tev.tev_card_holder h using (card_holder_id) where wbl_id = " +
            id),
        "0|new@example.org|0");

    // A client login: access and e-mail are not its own.
    WebLoginRow clientRow{999999, "ghost", "c@example.org", true, true, 0, false};
    TfrmLoginEdit ghost(dm(), clientRow);
    EXPECT_FALSE(ghost.cbAccess()->isEnabled());
    EXPECT_FALSE(ghost.edtEmail()->isEnabled());
    presenter.clear();
    ghost.btnOkClick();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_TRUE(presenter.last().text.startsWith(QString::fromUtf8("Ошибка обновления логина: ")));
    EXPECT_EQ(ghost.result(), 0);
    // Rolled back: the session goes on.
    EXPECT_EQ(dm().CheckPasswordSecurity("Longenough1"), QString());
}

TEST(TfmPassEdit, EditsPasswordsOfFixedLoginsAndRefusesAnEmptyOne)
{
    clientsTestApp();
    RecordingPresenter presenter;
    TfmPassEdit d;
    d.setRows({{"alpha", "one1"}, {"beta", "two2"}, {"gamma", "three3"}});
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Задать измененные пароли"));
    EXPECT_EQ(d.btnApply()->text(), QString::fromUtf8("Применить"));
    EXPECT_EQ(d.btnExit()->text(), QString::fromUtf8("Выход"));
    QTableWidget* grid = d.grid();
    EXPECT_FALSE(grid->item(0, 0)->flags() & Qt::ItemIsEditable);
    d.show();

    auto editCell = [&](int row, const QString& text) {
        grid->setCurrentCell(row, 1);
        grid->editItem(grid->item(row, 1));
        QLineEdit* editor = nullptr;
        for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>())
            if (e->isVisible())
                editor = e;
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the delegate commits on a queued call
    };
    editCell(1, " new two ");
    EXPECT_EQ(presenter.count(), 0);
    editCell(2, "   ");
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, QString::fromUtf8("Пароль не может быть пустым. Задайте пароль."));
    EXPECT_EQ(grid->currentRow(), 2);
    const QList<LoginPassword> expected = {{"alpha", "one1"}, {"beta", " new two "}, {"gamma", "three3"}};
    EXPECT_EQ(d.rows(), expected);

    ScriptedModalRunner runner;
    runner.answer = [](QDialog&) { return int(QDialog::Rejected); };
    EXPECT_FALSE(TfmPassEdit::Edit(nullptr, expected).has_value());
    runner.answer = answerDialog<TfmPassEdit>([](TfmPassEdit& p) {
        p.grid()->item(0, 1)->setText("changed");
        p.btnApply()->click();
        return p.result();
    });
    const auto applied = TfmPassEdit::Edit(nullptr, expected);
    ASSERT_TRUE(applied.has_value());
    EXPECT_EQ(applied->at(0), (LoginPassword{"alpha", "changed"}));
    EXPECT_EQ(applied->size(), 3);
}

TEST_F(LoginWindows, WorkAreaOpensTheLoginWindowsOnTheCurrentRows)
{
    QWidget window;
    auto* area = new ClientsWorkArea(dm(), &window);
    module->bindWindow(&window);
    area->ChooseStartEmitent();
    area->OpenEmitentList(area->CurrentEmitentId());
    area->OpenEmitentData();
    ASSERT_TRUE(area->qryClients()->locate("WBC_ID", 29));
    area->actShowLogins()->trigger();
    area->UpdateActions(true);

    ScriptedModalRunner runner;
    runner.answer = answerDialog<TfmLoginAdd>([](TfmLoginAdd& d) {
        d.edtLogin()->setText("client29login");
        d.edtPassword()->setText("Secret29");
        d.edtConfirm()->setText("Secret29");
        d.btnOk()->click();
        return d.result();
    });
    area->acAddLogin()->trigger();
    db::Query* logins = dm().queries().qryLogins;
    EXPECT_EQ(logins->asString("WBL_LOGIN"), "client29login");

    WebLoginRow seen;
    runner.answer = answerDialog<TfrmLoginEdit>([&](TfrmLoginEdit& d) {
        seen.login = d.edtLogin()->text();
        seen.email = d.edtEmail()->text();
        seen.holderLogin = d.edtEmail()->isEnabled();
        return int(QDialog::Rejected);
    });
    area->UpdateActions(true);
    area->actEditLogin()->trigger();
    EXPECT_EQ(seen.login, "client29login");
    EXPECT_EQ(seen.email, "client29@client.example");
    EXPECT_FALSE(seen.holderLogin);

    runner.answer = answerDialog<TfmLoginPassEdit>([](TfmLoginPassEdit& d) {
        d.edtPassword()->setText("Other29x");
        d.edtConfirm()->setText("Other29x");
        d.btnOk()->click();
        return d.result();
    });
    area->actEditPassLogin()->trigger();
    EXPECT_EQ(md5Of(logins->asString("ID")), calcMd5("Other29x"));
    EXPECT_EQ(runner.dialogs, QStringList({"TfmLoginAdd", "TfrmLoginEdit", "TfmLoginPassEdit"}));
}
