// The invitation composer against the real portal and a real SMTP server.
#include "TfmMailEdit.h"

#include "Catalogue.h"
#include "ClientsTestSupport.h"
#include "Clock.h"
#include "IniFile.h"
#include "LostConnection.h"
#include "MailTemplateFiles.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"
#include "SmtpServer.h"
#include "TfmMailPreview.h"
#include "TfmPassEdit.h"

#include <QCheckBox>
#include <QDir>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

TInvitationEntry entry(int clientId, const QString& name, const QString& email)
{
    TClientInfoObj info;
    info.WBC_NAME_ANSI = name;
    info.WBC_PETROL_ID = QString::number(1000 + clientId);
    info.WBC_EMAIL = email;
    return {QString::number(clientId), info};
}

QString state(int clientId)
{
    return adminValue(
        QStringLiteral("select wbc_client_state from tev.tev_web_clients where wbc_id = %1").arg(clientId));
}

// Every login's password hash of a client, in login order.
QString hashes(int clientId)
{
    return adminValue(
        QStringLiteral("select string_agg(wbl_password_md5 || '/' || wbl_temp_password, ',' order by "
                       "wbl_login_md5) from tev.tev_web_logins where wbl_web_client_id = %1")
            .arg(clientId));
}

QString md5Of(const QString& text)
{
    return adminValue("select tev.tev_utils__calc_md5('" + text + "')");
}

class TfmMailEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_PG();
        module = std::make_unique<SignedInModule>();
        ASSERT_TRUE(module->connected);
        lang::setMessagePresenter(&presenter);
    }
    void TearDown() override { lang::setMessagePresenter(nullptr); }

    std::unique_ptr<TfmMailEdit> open(const TInvitationList& clients)
    {
        auto window = std::make_unique<TfmMailEdit>(*module->dm, clients);
        module->bindWindow(window.get());
        return window;
    }

    std::unique_ptr<SignedInModule> module;
    RecordingPresenter presenter;
    ScriptedModalRunner runner;
};

// Clients 10 and 40 are "created" (state 1) and each has one login whose initial password was
// changed. Both get new passwords; the server refuses client 40's address.
TEST_F(TfmMailEditTest, OneOfTwoRefusedChangesOnlyTheSentClient)
{
    SmtpServer server("refuse-rcpt");
    ASSERT_EQ(state(10), "1");
    ASSERT_EQ(state(40), "1");
    const QString before40 = hashes(40);
    // The labels and the log's file name take the emitent selected in the main window.
    db::Query* emitents = module->dm->queries().oqEmitentSelect;
    emitents->setParam("P_ALL_EMITENT", 1);
    emitents->open();
    ASSERT_FALSE(emitents->isEmpty());
    const QString number = emitents->asString("EMITENT_NUMBER"), filial = emitents->asString("FILIAL_NUMBER");
    auto window = open(
        {entry(10, "Sent Ltd", "sent10@example.test"), entry(40, "Refused Ltd", "refused40@example.test")});
    ASSERT_FALSE(window->advancedSecurity());
    EXPECT_TRUE(window->btnChangePasswords()->isEnabled());

    QStringList offered;
    runner.answer = answerDialog<TfmPassEdit>([&](TfmPassEdit& d) {
        for (const LoginPassword& row : d.rows())
            offered << row.login;
        QList<LoginPassword> rows = d.rows();
        for (LoginPassword& row : rows)
            row.password = "New-" + row.login;
        d.setRows(rows);
        return int(QDialog::Accepted);
    });
    window->btnChangePasswordsClick();
    ASSERT_EQ(offered.size(), 2) << offered.join(',').toStdString();
    EXPECT_LT(offered[0], offered[1]);
    // Nothing is written before a letter is sent.
    EXPECT_EQ(hashes(40), before40);

    window->edHost()->setText("127.0.0.1");
    window->edPort()->setText(server.portText());
    window->edSender()->setText("Portal <noreply@portal.test>");
    window->edSubject()->setText("Invitation");
    int closed = 0;
    QObject::connect(window.get(), &QDialog::finished, [&] { ++closed; });
    window->btnSendClick();
    EXPECT_TRUE(window->isSending());
    EXPECT_FALSE(window->btnSend()->isEnabled());
    EXPECT_FALSE(window->btnExit()->isEnabled());
    EXPECT_EQ(window->pages()->currentIndex(), 1);
    window->reject(); // letters are out: the window stays
    EXPECT_EQ(closed, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isSending(); }, 30000));
    EXPECT_TRUE(window->btnSend()->isEnabled());
    EXPECT_TRUE(window->btnExit()->isEnabled());
    EXPECT_EQ(window->sentCount(), 1);
    EXPECT_EQ(window->failedCount(), 1);

    const QStringList& log = window->logLines();
    ASSERT_EQ(log.size(), 4) << log.join('\n').toStdString();
    EXPECT_EQ(log[0], "Начинаем отправку. Пожалуйста ждите.");
    QStringList outcomes = log.mid(1, 2);
    outcomes.sort();
    EXPECT_EQ(outcomes,
              (QStringList{"Error:  refused40@example.test [" + number + ", " + filial +
                               ",1040] Refused Ltd - 5.1.1 Recipient refused",
                           "ok: sent10@example.test [" + number + ", " + filial + ",1010] Sent Ltd"}));
    EXPECT_EQ(log[3], "Отправка завершена. Успешно отправлено: 1 Ошибок: 1");
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->memLog()->toPlainText() == log.join('\n'); }, 2000));

    EXPECT_EQ(state(10), "2");
    EXPECT_EQ(state(40), "1");
    EXPECT_EQ(hashes(40), before40);
    const QString newLogin10 = adminValue(
        "select wbl_login_md5 from tev.tev_web_logins where wbl_web_client_id = 10 and wbl_password_md5 "
        "<> tev.tev_utils__calc_md5(wbl_web_client_id || wbl_login_md5) and wbl_password_md5 <> "
        "tev.tev_utils__calc_md5(wbl_login_md5)");
    ASSERT_FALSE(newLogin10.isEmpty());
    EXPECT_EQ(adminValue("select wbl_password_md5 from tev.tev_web_logins where wbl_login_md5 = '" +
                         newLogin10 + "'"),
              md5Of("New-" + newLogin10));

    // The letter announced the very password that was applied.
    ASSERT_EQ(server.messages().size(), 1);
    const QString text = server.messages()[0]["text"].toString();
    EXPECT_TRUE(text.contains("Пароль: New-" + newLogin10)) << text.toStdString();
    EXPECT_EQ(server.messages()[0]["subject"].toString(), "Invitation");
    EXPECT_EQ(server.messages()[0]["from_addr"].toString(), "noreply@portal.test");

    framework::FixedClock clock(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
    const framework::Clock* previous = framework::setClock(&clock);
    window->btnSaveLogClick();
    framework::setClock(previous);
    const QString logFile = module->folder.path() + "/" +
                            QString("%1%2_sendlog_20260304050607.log")
                                .arg(number.toInt(), 4, 10, QChar('0'))
                                .arg(filial.toInt(), 2, 10, QChar('0'));
    QFile saved(logFile);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << logFile.toStdString();
    EXPECT_EQ(QString::fromUtf8(saved.readAll()), log.join('\n') + '\n');
    ASSERT_EQ(presenter.requests().size(), 1);
    EXPECT_EQ(presenter.requests()[0].text, "Лог сохранен в файл: " + logFile);

    window->reject();
    EXPECT_EQ(closed, 1);
}

// Advanced security: a temporary login's letter says the password will be generated; looking
// through the letters writes nothing anywhere.
TEST_F(TfmMailEditTest, PreviewWritesNothing)
{
    adminValue("insert into tev.tev_configs(param_name, param_val) values ('ADV_PASS_SECUR', '1') "
               "on conflict (param_name) do update set param_val = '1'");
    module->dm->queries().oqTEVConfigs->close();
    const QString before3 = hashes(3), before9 = hashes(9);
    const QString state3 = state(3);
    auto window =
        open({entry(3, "Temp Co", "client3@example.test"), entry(9, "No Logins Co", "client9@example.test"),
              entry(1, "First Co", "buh1@example.test")});
    ASSERT_TRUE(window->advancedSecurity());
    EXPECT_FALSE(window->btnChangePasswords()->isVisibleTo(window.get()));
    const QList<TLetterLogin> rowsBefore = window->logins(0);

    QList<QString> letters;
    QList<std::pair<bool, bool>> buttons;
    runner.answer = answerDialog<TfmMailPreview>([&](TfmMailPreview& d) {
        for (int step = 0; step < 3; ++step) {
            letters << d.letter()->toPlainText();
            buttons.append({d.btnPrev()->isEnabled(), d.btnNext()->isEnabled()});
            d.btnNext()->click();
        }
        d.btnPrev()->click();
        EXPECT_EQ(d.position(), 1);
        EXPECT_EQ(d.lblClient()->text(), "Письмо для клиента: No Logins Co");
        return int(QDialog::Accepted);
    });
    window->btnPreviewClick();
    ASSERT_EQ(letters.size(), 3);
    EXPECT_EQ(buttons, (QList<std::pair<bool, bool>>{{false, true}, {true, true}, {true, false}}));
    EXPECT_TRUE(letters[0].contains("Пароль: пароль будет сгенерирован автоматически"))
        << letters[0].toStdString();
    EXPECT_TRUE(letters[1].contains("Клиент: No Logins Co")) << letters[1].toStdString();
    EXPECT_TRUE(letters[1].contains("обратитесь к администратору.")) << letters[1].toStdString();

    EXPECT_EQ(hashes(3), before3);
    EXPECT_EQ(hashes(9), before9);
    EXPECT_EQ(state(3), state3);
    ASSERT_EQ(window->logins(0).size(), rowsBefore.size());
    for (int i = 0; i < rowsBefore.size(); ++i) {
        EXPECT_EQ(window->logins(0)[i].pwd, rowsBefore[i].pwd);
        EXPECT_EQ(window->logins(0)[i].pwd_res, rowsBefore[i].pwd_res);
    }
    EXPECT_TRUE(window->logLines().isEmpty());
    adminValue("update tev.tev_configs set param_val = '0' where param_name = 'ADV_PASS_SECUR'");
}

// With "save on exit" the templates and settings come back at the next opening; without it only
// the flag is written.
TEST_F(TfmMailEditTest, ClosingSavesTemplatesAndSettingsOnlyWhenAsked)
{
    const QDir folder(module->folder.path());
    {
        auto window = open({entry(1, "First Co", "buh1@example.test")});
        // Defaults: the catalogue texts cut at "##", the port 25, the subject text.
        EXPECT_EQ(
            window->memBody()->toPlainText(),
            "       Клиент: %CLIENT_NAME%\n       Логин: %LOGIN%\n       Пароль: %PASSWORD%\n       Дата "
            "блокировки: %BLOCK_DATE%");
        EXPECT_EQ(window->edPort()->text(), "25");
        EXPECT_EQ(window->edSubject()->text(), "Тема письма");
        EXPECT_FALSE(window->chkAuth()->isChecked());
        EXPECT_FALSE(window->edUser()->isEnabled());
        window->memFooter()->setPlainText("Не сохранится");
        window->reject();
        EXPECT_FALSE(folder.exists(MailTemplateFiles::kFooterFile));
    }
    {
        auto window = open({entry(1, "First Co", "buh1@example.test")});
        EXPECT_NE(window->memFooter()->toPlainText(), "Не сохранится");
        window->chkSaveOnExit()->setChecked(true);
        window->chkAuth()->setChecked(true);
        window->chkTls()->setChecked(true);
        window->edUser()->setText("mailer");
        window->edHost()->setText("smtp.example.test");
        window->edPort()->setText("2525");
        window->edSubject()->setText("Приглашение №1");
        window->memFooter()->setPlainText("С уважением ✓\nОператор");
        window->reject();
        EXPECT_TRUE(folder.exists(MailTemplateFiles::kFooterFile));
        EXPECT_FALSE(folder.entryList(QDir::Files).join(',').contains(".tmp"))
            << folder.entryList().join(',').toStdString();
    }
    {
        auto window = open({entry(1, "First Co", "buh1@example.test")});
        EXPECT_TRUE(window->chkSaveOnExit()->isChecked());
        EXPECT_TRUE(window->chkAuth()->isChecked());
        EXPECT_TRUE(window->edUser()->isEnabled());
        EXPECT_TRUE(window->chkTls()->isChecked());
        EXPECT_EQ(window->edUser()->text(), "mailer");
        EXPECT_EQ(window->edHost()->text(), "smtp.example.test");
        EXPECT_EQ(window->edPort()->text(), "2525");
        EXPECT_EQ(window->edSubject()->text(), "Приглашение №1");
        EXPECT_EQ(window->memFooter()->toPlainText(), "С уважением ✓\nОператор");
    }
    EXPECT_EQ(module->dm->iniFile().readString("Mail", "AuthRequired"), "YES");
    EXPECT_EQ(module->dm->iniFile().readString("Mail", "SaveOnExit"), "1");

    // A template that cannot be written: named in the error, the later files and settings stay as
    // they were, and the window stays open with its edits.
    {
        auto window = open({entry(1, "First Co", "buh1@example.test")});
        ASSERT_TRUE(QFile::remove(folder.filePath(MailTemplateFiles::kBodyFile)));
        ASSERT_TRUE(folder.mkdir(MailTemplateFiles::kBodyFile));
        window->memFooter()->setPlainText("Не дойдёт");
        window->edHost()->setText("other.example.test");
        int closed = 0;
        QObject::connect(window.get(), &QDialog::finished, [&] { ++closed; });
        presenter.clear();
        window->reject();
        EXPECT_EQ(closed, 0);
        ASSERT_EQ(presenter.requests().size(), 1);
        EXPECT_TRUE(presenter.requests()[0].text.startsWith("Error saving DEDAdizeMailBody.txt. "))
            << presenter.requests()[0].text.toStdString();
        EXPECT_EQ(MailTemplateFiles::load(folder.filePath(MailTemplateFiles::kFooterFile), {}),
                  "С уважением ✓\nОператор");
        EXPECT_EQ(module->dm->iniFile().readString("Mail", "SMTPHost"), "smtp.example.test");
        window->chkSaveOnExit()->setChecked(false);
        window->reject();
        EXPECT_EQ(closed, 1);
    }
}

// Advanced security: a temporary login gets one generated password per run; both letters of a
// client announce it, and only a sent letter applies it.
TEST_F(TfmMailEditTest, GeneratedPasswordsAreTheAnnouncedOnesAndOnlySentLettersApplyThem)
{
    SmtpServer server("refuse-rcpt");
    adminValue("insert into tev.tev_configs(param_name, param_val) values ('ADV_PASS_SECUR', '1') "
               "on conflict (param_name) do update set param_val = '1'");
    module->dm->queries().oqTEVConfigs->close();
    const QString login3 = adminValue(
        "select wbl_login_md5 from tev.tev_web_logins where wbl_web_client_id = 3 and wbl_temp_password = 1");
    ASSERT_FALSE(login3.isEmpty());
    const QString before13 = hashes(13);
    auto window = open({entry(3, "Two Addresses Co", "a3@example.test; b3@example.test"),
                        entry(13, "Refused Co", "refused13@example.test")});
    ASSERT_TRUE(window->advancedSecurity());
    window->edHost()->setText("127.0.0.1");
    window->edPort()->setText(server.portText());
    window->edSender()->setText("noreply@portal.test");
    window->btnSendClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isSending(); }, 30000));
    EXPECT_EQ(window->sentCount(), 2);
    EXPECT_EQ(window->failedCount(), 1);

    ASSERT_EQ(server.messages().size(), 2);
    QStringList announced;
    for (const QJsonObject& m : server.messages()) {
        const QString text = m["text"].toString();
        const int at = text.indexOf("Пароль: ");
        ASSERT_GE(at, 0) << text.toStdString();
        announced << text.mid(at + 8).section('\n', 0, 0);
    }
    EXPECT_EQ(announced[0], announced[1]);
    EXPECT_NE(announced[0], "пароль будет сгенерирован автоматически");
    EXPECT_EQ(adminValue("select wbl_password_md5 || '/' || wbl_temp_password from tev.tev_web_logins where "
                         "wbl_login_md5 = '" +
                         login3 + "'"),
              md5Of(announced[0]) + "/1");
    EXPECT_EQ(hashes(13), before13);
    adminValue("update tev.tev_configs set param_val = '0' where param_name = 'ADV_PASS_SECUR'");
}

TEST_F(TfmMailEditTest, UnreadableTemplateStopsTheWindowAndNamesTheFile)
{
    ASSERT_TRUE(QDir(module->folder.path()).mkdir(MailTemplateFiles::kBodyFile));
    TfmMailEdit::Execute(*module->dm, {entry(1, "First Co", "buh1@example.test")}, nullptr);
    EXPECT_TRUE(runner.dialogs.isEmpty());
    ASSERT_EQ(presenter.requests().size(), 1);
    EXPECT_TRUE(presenter.requests()[0].text.startsWith("Error proccessing DEDAdizeMailBody.txt. "))
        << presenter.requests()[0].text.toStdString();
}

} // namespace

namespace {

// A lost connection: Send says so with the catalogue's text before any letter goes out (their
// states and passwords could not be stored), as often as it is pressed; after re-registration the
// same Send works.
TEST_F(TfmMailEditTest, LostConnectionSendsNothingAndSendWorksAfterReRegistration)
{
    SmtpServer server("plain");
    adminValue("update tev.tev_web_clients set wbc_client_state = 1 where wbc_id = 10");
    const QString before = hashes(10);
    auto window = open({entry(10, "Sent Ltd", "sent10@example.test")});
    window->edHost()->setText("127.0.0.1");
    window->edPort()->setText(server.portText());
    window->edSender()->setText("noreply@portal.test");

    endConnection(*module->dm->session());
    for (int attempt = 0; attempt < 2; ++attempt) {
        userAction([&] { window->btnSendClick(); });
        EXPECT_FALSE(window->isSending());
        ASSERT_EQ(presenter.count(), attempt + 1);
        EXPECT_EQ(presenter.last().text, lang::tr(u"rstrNotConnectByLan"));
    }
    EXPECT_TRUE(window->btnSend()->isEnabled());
    EXPECT_TRUE(server.messages().isEmpty());
    EXPECT_EQ(state(10), "1");
    EXPECT_EQ(hashes(10), before);

    ASSERT_TRUE(module->dm->Connect());
    window->btnSendClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isSending(); }, 30000));
    EXPECT_EQ(window->sentCount(), 1);
    EXPECT_EQ(server.messages().size(), 1);
    EXPECT_EQ(state(10), "2");
    EXPECT_EQ(presenter.count(), 2);
}

} // namespace
