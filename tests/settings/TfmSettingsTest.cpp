#include "TfmSettings.h"

#include "DBGrid.h"
#include "OraError.h"
#include "PgFixture.h"
#include "PortalCodec.h"
#include "PortalModule.h"
#include "PortalSettingsTestValues.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"
#include "Session.h"
#include "TdmMain.h"
#include "TfmEditString.h"
#include "TfrmPhraseTranslate.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace PortalSettingsKeys;

namespace {

QString admin(const QString& sql)
{
    return PgFixture::instance().adminQuery(sql);
}

// Every stored setting as one text, to see that nothing changed.
QString configsDump()
{
    return admin(QStringLiteral("SELECT string_agg(param_name || '=' || coalesce(param_val, '<null>'), '|' "
                                "ORDER BY param_name) FROM tev.tev_configs"));
}

QString config(const char* key)
{
    return admin(QStringLiteral("SELECT coalesce((SELECT param_val FROM tev.tev_configs WHERE param_name = '%1'), "
                                "'<missing>')")
                     .arg(QString::fromLatin1(key)));
}

void storeConfig(const char* key, const QString& value)
{
    admin(QStringLiteral("INSERT INTO tev.tev_configs VALUES ('%1', $v$%2$v$) ON CONFLICT (param_name) DO UPDATE "
                         "SET param_val = excluded.param_val")
              .arg(QString::fromLatin1(key), value));
}

void dropConfig(const char* key)
{
    admin(QStringLiteral("DELETE FROM tev.tev_configs WHERE param_name = '%1'").arg(QString::fromLatin1(key)));
}

QString templateText(int id, int lang)
{
    return admin(QStringLiteral("SELECT coalesce((SELECT convert_from(template_header, 'UTF8') || '|' || "
                                "convert_from(template_message, 'UTF8') FROM tev.tev_feedback_templates WHERE id = %1 "
                                "AND lang_id = %2), '<missing>')")
                     .arg(id)
                     .arg(lang));
}

QString sortType()
{
    return admin(QStringLiteral("SELECT coalesce((SELECT pos_sort_type::text FROM tev.tev_web_settings), '0')"));
}

// The portal's settings, templates, sort choice and feedback types as a test found them, put back
// when it ends (the test program shares one database).
class SavedPortal
{
public:
    SavedPortal()
    {
        admin(QStringLiteral(
            "DROP TABLE IF EXISTS public.st_configs, public.st_templates, public.st_web; "
            "CREATE TABLE public.st_configs AS SELECT * FROM tev.tev_configs; "
            "CREATE TABLE public.st_templates AS SELECT * FROM tev.tev_feedback_templates; "
            "CREATE TABLE public.st_web AS SELECT * FROM tev.tev_web_settings"));
    }
    ~SavedPortal()
    {
        admin(QStringLiteral(
            "DELETE FROM tev.tev_configs; INSERT INTO tev.tev_configs SELECT * FROM public.st_configs; "
            "DELETE FROM tev.tev_feedback_templates; "
            "INSERT INTO tev.tev_feedback_templates SELECT * FROM public.st_templates; "
            "DELETE FROM tev.tev_web_settings; INSERT INTO tev.tev_web_settings SELECT * FROM public.st_web; "
            "DROP TABLE public.st_configs, public.st_templates, public.st_web"));
    }
};

// While it lives, writes into a table that match a condition fail with ORA-20001. The session
// commits before the trigger goes, so whatever a failure left uncommitted would become durable.
class RefusedWrite
{
public:
    RefusedWrite(db::Session& session, const QString& table, const QString& condition)
        : mSession(session), mTable(table)
    {
        admin(QStringLiteral("CREATE OR REPLACE FUNCTION tev.tev_test_refuse() RETURNS trigger LANGUAGE plpgsql "
                             "AS $$ BEGIN RAISE EXCEPTION 'ORA-20001: refused by the test'; END $$; "
                             "CREATE TRIGGER tev_test_refuse BEFORE INSERT OR UPDATE ON tev.%1 FOR EACH ROW WHEN "
                             "(%2) EXECUTE FUNCTION tev.tev_test_refuse()")
                  .arg(table, condition));
    }
    ~RefusedWrite()
    {
        mSession.commit();
        admin(QStringLiteral("DROP TRIGGER tev_test_refuse ON tev.%1").arg(mTable));
    }

private:
    db::Session& mSession;
    QString mTable;
};

class SettingsWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_PG();
        saved = std::make_unique<SavedPortal>();
        module = std::make_unique<PortalModule>();
    }
    void TearDown() override
    {
        window.reset();
        if (module)
            module->session().rollback();
        module.reset();
        saved.reset();
    }
    TfmSettings& open()
    {
        window = std::make_unique<TfmSettings>(nullptr, *module->dm);
        window->ensureCreated();
        window->show();
        return *window;
    }
    // Types text into a line edit as a person would (so the edit's own signals run).
    static void type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        // keyClicks takes Latin letters only; a key event carries any text.
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    // Sets every key to its value of the table.
    static void showTable(TfmSettings& w)
    {
        for (const PortalSettingValue& v : NonDefaultPortalSettings()) {
            const QString key = QString::fromLatin1(v.key);
            w.setState(key, FromStored(Key(key), v.stored));
        }
    }
    db::Session& session() { return module->session(); }

    std::unique_ptr<SavedPortal> saved;
    std::unique_ptr<PortalModule> module;
    std::unique_ptr<TfmSettings> window;
};

} // namespace

TEST_F(SettingsWindow, EveryKeyOfTheTableOpensAndIsSavedBackIdentically)
{
    for (const PortalSettingValue& v : NonDefaultPortalSettings())
        storeConfig(v.key, v.stored);
    const QString before = configsDump();
    RecordingPresenter presenter;
    TfmSettings& w = open();
    for (const PortalSettingValue& v : NonDefaultPortalSettings()) {
        SCOPED_TRACE(v.key);
        const QString key = QString::fromLatin1(v.key);
        EXPECT_EQ(w.state(key), FromStored(Key(key), v.stored));
        EXPECT_EQ(ToStored(Key(key), w.state(key)), std::optional<QString>(v.stored));
    }
    w.accept();
    EXPECT_EQ(presenter.count(), 0);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(configsDump(), before);
}

TEST_F(SettingsWindow, WithoutAnyKeyTheWindowShowsTheDefaultsAndEveryControlWritesItsKey)
{
    for (const KeyDef& def : Keys())
        dropConfig(def.key);
    RecordingPresenter presenter;
    TfmSettings& w = open();
    EXPECT_EQ(presenter.count(), 0);
    // A missing temporary password length does not keep the window from opening.
    EXPECT_EQ(w.state(QStringLiteral("PR_PASSWORD_LENGTH")).number, 8);
    EXPECT_EQ(w.state(QStringLiteral("PSW_MIN_LENGTH")).number, 5);
    EXPECT_EQ(w.state(QStringLiteral("BLOCK_WARNING_DAYS")).number, 30);
    EXPECT_EQ(w.state(QStringLiteral("AMOUNT_DECIMAL_COUNT")).choice, -1);
    EXPECT_EQ(w.state(QStringLiteral("USE_EMITENT_PATH")).choice, 1);
    EXPECT_FALSE(w.state(QStringLiteral("TYPE_BLOCK_DESCRIBE")).checked);
    EXPECT_EQ(w.state(QStringLiteral("EMT_NAME")).text, QString());
    // Accepted unchanged, it writes nothing: the portal keeps applying its own defaults.
    w.accept();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(config("PSW_MIN_LENGTH"), QStringLiteral("<missing>"));

    TfmSettings& again = open();
    showTable(again);
    again.accept();
    ASSERT_EQ(presenter.count(), 0) << presenter.last().text.toStdString();
    for (const PortalSettingValue& v : NonDefaultPortalSettings())
        EXPECT_EQ(config(v.key), v.stored) << v.key;
}

TEST_F(SettingsWindow, OddStoredValuesOpenAsDefaultsAndAreNotWrittenBack)
{
    storeConfig("USE_FEEDBACK", QStringLiteral("0"));
    storeConfig("CAN_SEND_OC_IMM", QStringLiteral("7"));
    storeConfig("AMOUNT_DECIMAL_COUNT", QStringLiteral("1"));
    storeConfig("PSW_MIN_LENGTH", QStringLiteral("99"));
    storeConfig("BLOCK_WARNING_DAYS", QStringLiteral("abc"));
    storeConfig("FB_SMTP_PORT", QStringLiteral("99999"));
    storeConfig("TYPE_BLOCK_DESCRIBE", QStringLiteral("1"));
    dropConfig("PR_PASSWORD_LENGTH");
    // The sort choice cannot be read, nor (the procedure asks it first) written.
    admin(QStringLiteral("ALTER FUNCTION tev.tev_utils__get_current_type_sort() RENAME TO tev_test_sort"));
    struct RestoreSort
    {
        ~RestoreSort()
        {
            admin(QStringLiteral("ALTER FUNCTION tev.tev_test_sort() RENAME TO tev_utils__get_current_type_sort"));
        }
    } restore;
    const QString before = configsDump();
    RecordingPresenter presenter;
    TfmSettings& w = open();
    EXPECT_EQ(presenter.count(), 0);
    EXPECT_FALSE(w.state(QStringLiteral("CAN_SEND_OC_IMM")).checked);
    EXPECT_FALSE(w.choiceButton(QStringLiteral("CAN_SEND_OC_IMM"), 0)->isEnabled());
    EXPECT_EQ(qobject_cast<QComboBox*>(w.control(QStringLiteral("AMOUNT_DECIMAL_COUNT")))->currentIndex(), -1);
    EXPECT_EQ(qobject_cast<QSpinBox*>(w.control(QStringLiteral("PSW_MIN_LENGTH")))->value(), 5);
    EXPECT_EQ(qobject_cast<QSpinBox*>(w.control(QStringLiteral("BLOCK_WARNING_DAYS")))->value(), 30);
    EXPECT_EQ(qobject_cast<QLineEdit*>(w.control(QStringLiteral("FB_SMTP_PORT")))->text(), QString());
    EXPECT_TRUE(w.state(QStringLiteral("TYPE_BLOCK_DESCRIBE")).checked);
    EXPECT_TRUE(w.choiceButton(QStringLiteral("TYPE_BLOCK_DESCRIBE"), 1)->isChecked());
    EXPECT_EQ(w.sortChoice(), 0);
    w.accept();
    ASSERT_EQ(presenter.count(), 0) << presenter.last().text.toStdString();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(configsDump(), before);

    // Only what the administrator changes is written; clearing blocking stores "-1".
    TfmSettings& again = open();
    qobject_cast<QCheckBox*>(again.control(QStringLiteral("CAN_SEND_OC_IMM")))->click();
    EXPECT_TRUE(again.choiceButton(QStringLiteral("CAN_SEND_OC_IMM"), 0)->isChecked());
    qobject_cast<QCheckBox*>(again.control(QStringLiteral("TYPE_BLOCK_DESCRIBE")))->click();
    EXPECT_EQ(again.state(QStringLiteral("TYPE_BLOCK_DESCRIBE")).choice, -1);
    again.accept();
    ASSERT_EQ(presenter.count(), 0) << presenter.last().text.toStdString();
    EXPECT_EQ(config("CAN_SEND_OC_IMM"), QStringLiteral("1"));
    EXPECT_EQ(config("TYPE_BLOCK_DESCRIBE"), QStringLiteral("-1"));
    EXPECT_EQ(config("AMOUNT_DECIMAL_COUNT"), QStringLiteral("1"));
    EXPECT_EQ(config("PSW_MIN_LENGTH"), QStringLiteral("99"));
    EXPECT_EQ(config("PR_PASSWORD_LENGTH"), QStringLiteral("<missing>"));
}

TEST_F(SettingsWindow, AWriteFailingPartWayStoresNothingAndKeepsTheWindowWithItsEdits)
{
    const QString before = configsDump();
    const QString templateBefore = templateText(1, 25);
    const QString sortBefore = sortType();
    RecordingPresenter presenter;
    TfmSettings& w = open();
    auto* name = qobject_cast<QLineEdit*>(w.control(QStringLiteral("EMT_NAME")));
    type(name, QStringLiteral("Новый владелец"));
    qobject_cast<QSpinBox*>(w.control(QStringLiteral("PSW_MIN_LENGTH")))->setValue(12);
    type(w.templateHeader(1), QStringLiteral("Новая тема"));
    ASSERT_TRUE(w.templatesChanged(TfmSettings::FeedbackTemplates));
    w.sortButton(1 - sortBefore.toInt())->click();
    {
        // The key written late in the order fails, after the owner's name went out.
        RefusedWrite refused(session(), QStringLiteral("tev_configs"), QStringLiteral("NEW.param_name = 'PSW_MIN_LENGTH'"));
        w.accept();
        ASSERT_EQ(presenter.count(), 1);
        EXPECT_TRUE(presenter.last().text.contains(QStringLiteral("refused by the test")));
        EXPECT_NE(w.result(), QDialog::Accepted);
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(name->text(), QStringLiteral("Новый владелец"));
        EXPECT_TRUE(w.templatesChanged(TfmSettings::FeedbackTemplates));
    }
    EXPECT_EQ(configsDump(), before);
    EXPECT_EQ(templateText(1, 25), templateBefore);
    EXPECT_EQ(sortType(), sortBefore);

    // The same window saves once the portal takes the writes.
    presenter.clear();
    w.accept();
    ASSERT_EQ(presenter.count(), 0) << presenter.last().text.toStdString();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(config("EMT_NAME"), QStringLiteral("Новый владелец"));
    EXPECT_EQ(config("PSW_MIN_LENGTH"), QStringLiteral("12"));
    EXPECT_TRUE(templateText(1, 25).startsWith(QStringLiteral("Новая тема|")));
    EXPECT_EQ(sortType(), QString::number(1 - sortBefore.toInt()));
}

TEST_F(SettingsWindow, ApplyChecksTheFieldsAndStopsAtTheFirstFailure)
{
    const QString mandatory = QStringLiteral("Не заполнено обязательное поле: ");
    struct Row
    {
        const char* name;
        std::function<void(TfmSettings&)> change;
        QString message; // empty: accepted
        int page;
        QString focus;
    };
    auto edit = [](TfmSettings& w, const char* key) {
        return qobject_cast<QLineEdit*>(w.control(QString::fromLatin1(key)));
    };
    auto box = [](TfmSettings& w, const char* key, bool on) {
        w.setState(QString::fromLatin1(key), {on});
    };
    const QList<Row> rows = {
        {"everything filled", [](TfmSettings&) {}, {}, 0, {}},
        {"feedback server empty",
         [&](TfmSettings& w) { edit(w, "FB_SMTP_SERVER")->setText(QStringLiteral("  ")); },
         mandatory + QStringLiteral("SMTP сервер"), 1, QStringLiteral("edtFB_SMTP_SERVER")},
        {"feedback sender before receiver",
         [&](TfmSettings& w) {
             edit(w, "FB_SENDER_EMAIL")->clear();
             edit(w, "FB_RECEIVER_EMAIL")->clear();
         },
         mandatory + QStringLiteral("Адрес отправителя"), 1, QStringLiteral("edtFB_SENDER_EMAIL")},
        {"feedback user with authentication",
         [&](TfmSettings& w) { edit(w, "FB_SMTP_LOGIN")->clear(); },
         mandatory + QStringLiteral("Пользователь"), 1, QStringLiteral("edtFB_SMTP_LOGIN")},
        {"feedback user without authentication",
         [&](TfmSettings& w) {
             edit(w, "FB_SMTP_LOGIN")->clear();
             box(w, "FB_USE_AUTH", false);
         },
         {}, 0, {}},
        {"feedback off: its fields may be empty",
         [&](TfmSettings& w) {
             box(w, "USE_FEEDBACK", false);
             for (const char* key : {"FB_SMTP_SERVER", "FB_SMTP_PORT", "FB_SENDER_EMAIL", "FB_RECEIVER_EMAIL",
                                     "FB_SMTP_LOGIN"})
                 edit(w, key)->clear();
         },
         {}, 0, {}},
        {"recovery port empty",
         [&](TfmSettings& w) { edit(w, "PR_SMTP_PORT")->clear(); },
         mandatory + QStringLiteral("Порт"), 2, QStringLiteral("edtPR_SMTP_PORT")},
        {"recovery user with authentication",
         [&](TfmSettings& w) { edit(w, "PR_SMTP_LOGIN")->clear(); },
         mandatory + QStringLiteral("Пользователь"), 2, QStringLiteral("edtPR_SMTP_LOGIN")},
        {"port out of range",
         [&](TfmSettings& w) { edit(w, "FB_SMTP_PORT")->setText(QStringLiteral("65536")); },
         QStringLiteral("Порт должен быть числом от 1 до 65535."), 1, QStringLiteral("edtFB_SMTP_PORT")},
        {"port out of range with the feature off",
         [&](TfmSettings& w) {
             box(w, "USE_PASS_RECOVERY", false);
             edit(w, "PR_SMTP_PORT")->setText(QStringLiteral("0"));
         },
         QStringLiteral("Порт должен быть числом от 1 до 65535."), 2, QStringLiteral("edtPR_SMTP_PORT")},
        {"one receiver of a list is no address",
         [&](TfmSettings& w) { edit(w, "FB_RECEIVER_EMAIL")->setText(QStringLiteral("a@b.ru; admin")); },
         QStringLiteral("Неверный адрес электронной почты: a@b.ru; admin"), 1, QStringLiteral("edtFB_RECEIVER_EMAIL")},
        {"sender is no address",
         [&](TfmSettings& w) { edit(w, "PR_SENDER_EMAIL")->setText(QStringLiteral("portal")); },
         QStringLiteral("Неверный адрес электронной почты: portal"), 2, QStringLiteral("edtPR_SENDER_EMAIL")},
        {"owner longer than the store keeps",
         [&](TfmSettings& w) { edit(w, "EMT_NAME")->setText(QString(256, QChar(u'Ж'))); },
         QStringLiteral("Значение длиннее 255 символов (переводы строк считаются за два): EMT_NAME"), 0,
         QStringLiteral("edtEMT_NAME")},
        {"owner as long as the store keeps",
         [&](TfmSettings& w) { edit(w, "EMT_NAME")->setText(QString(255, QChar(u'Ж'))); },
         {}, 0, {}},
        {"contacts whose line break makes them too long",
         [&](TfmSettings& w) {
             w.setState(QStringLiteral("EMT_CONTACTS"), {false, -1, 0, QString(250, QChar(u'x')) + "\nyyyy"});
         },
         QStringLiteral("Значение длиннее 255 символов (переводы строк считаются за два): EMT_CONTACTS"), 0,
         QStringLiteral("memEMT_CONTACTS")},
        {"recovery subject too long",
         [&](TfmSettings& w) { type(w.templateHeader(2), QString(256, QChar(u'т'))); },
         QStringLiteral("Заголовок шаблона длиннее 255 символов."), 2, QStringLiteral("edtTemplateHeader2")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        RecordingPresenter presenter;
        TfmSettings& w = open();
        showTable(w);
        r.change(w);
        const std::optional<TfmSettings::Failure> f = w.Validate();
        if (r.message.isEmpty()) {
            EXPECT_FALSE(f.has_value()) << (f ? f->message.toStdString() : std::string());
            continue;
        }
        ASSERT_TRUE(f.has_value());
        EXPECT_EQ(f->message, r.message);
        EXPECT_EQ(f->page, r.page);
        ASSERT_NE(f->focus, nullptr);
        EXPECT_EQ(f->focus->objectName(), r.focus);
        w.pages()->setCurrentIndex(3);
        w.accept();
        ASSERT_EQ(presenter.count(), 1);
        EXPECT_EQ(presenter.last().text, r.message);
        EXPECT_EQ(presenter.last().caption, QStringLiteral("Ошибка"));
        EXPECT_EQ(w.pages()->currentIndex(), r.page);
        EXPECT_NE(w.result(), QDialog::Accepted);
    }
}

TEST_F(SettingsWindow, FeedbackOnNeedsAtLeastOneType)
{
    admin(QStringLiteral("CREATE TABLE public.st_msg AS SELECT * FROM tev.tev_feedback_msg; "
                         "CREATE TABLE public.st_types AS SELECT * FROM tev.tev_type_feedback_msg; "
                         "DELETE FROM tev.tev_feedback_msg; DELETE FROM tev.tev_type_feedback_msg"));
    struct RestoreTypes
    {
        ~RestoreTypes()
        {
            admin(QStringLiteral("INSERT INTO tev.tev_type_feedback_msg OVERRIDING SYSTEM VALUE SELECT * FROM "
                                 "public.st_types; INSERT INTO tev.tev_feedback_msg OVERRIDING SYSTEM VALUE SELECT * "
                                 "FROM public.st_msg; DROP TABLE public.st_msg, public.st_types"));
        }
    } restore;
    RecordingPresenter presenter;
    TfmSettings& w = open();
    showTable(w);
    w.updateActionsNow();
    EXPECT_TRUE(w.action(TfmSettings::Cmd::acAddFeedbackType)->isEnabled());
    EXPECT_FALSE(w.action(TfmSettings::Cmd::acEditFeedbackType)->isEnabled());
    const std::optional<TfmSettings::Failure> f = w.Validate();
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->message, QStringLiteral("Не заполнено ни одного типа обращения"));
    EXPECT_EQ(f->page, 1);
    EXPECT_EQ(f->focus, w.grdFeedbackTypes());
    w.setState(QStringLiteral("USE_FEEDBACK"), {false});
    EXPECT_FALSE(w.Validate().has_value());
}

TEST_F(SettingsWindow, TemplatesFollowTheirLanguageAndAskBeforeDroppingEdits)
{
    const QString russian = templateText(1, 25);
    const QString english = templateText(1, 9);
    RecordingPresenter presenter;
    TfmSettings& w = open();
    QComboBox* languages = w.templateLanguages(TfmSettings::FeedbackTemplates);
    EXPECT_EQ(w.templateLanguage(TfmSettings::FeedbackTemplates), 25);
    EXPECT_EQ(w.templateLanguage(TfmSettings::RecoveryTemplates), 25);
    EXPECT_EQ(w.templateHeader(1)->text() + "|" + w.templateMessage(1)->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n")), russian);
    EXPECT_FALSE(w.templatesChanged(TfmSettings::FeedbackTemplates));
    const int englishRow = languages->findData(9);
    const int russianRow = languages->findData(25);
    ASSERT_GE(englishRow, 0);

    // No: the edit is dropped and the other language shows.
    type(w.templateHeader(1), QStringLiteral("Черновик"));
    EXPECT_TRUE(w.templatesChanged(TfmSettings::FeedbackTemplates));
    presenter.answer(lang::mrNo);
    languages->setCurrentIndex(englishRow);
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, QStringLiteral("Шаблон был изменен. Сохранить изменения?"));
    EXPECT_TRUE(english.startsWith(w.templateHeader(1)->text() + "|"));
    EXPECT_FALSE(w.templatesChanged(TfmSettings::FeedbackTemplates));
    EXPECT_EQ(templateText(1, 25), russian);

    // An unchanged group switches without asking.
    languages->setCurrentIndex(russianRow);
    EXPECT_EQ(presenter.count(), 1);

    // Yes, but the portal refuses: nothing stored, the edit and its language stay.
    type(w.templateHeader(1), QStringLiteral("Тема"));
    {
        RefusedWrite refused(session(), QStringLiteral("tev_feedback_templates"), QStringLiteral("true"));
        presenter.answer(lang::mrYes);
        languages->setCurrentIndex(englishRow);
        ASSERT_EQ(presenter.count(), 3);
        EXPECT_TRUE(presenter.last().text.contains(QStringLiteral("refused by the test")));
        EXPECT_EQ(languages->currentIndex(), russianRow);
        EXPECT_EQ(w.templateLanguage(TfmSettings::FeedbackTemplates), 25);
        EXPECT_EQ(w.templateHeader(1)->text(), QStringLiteral("Тема"));
        EXPECT_TRUE(w.templatesChanged(TfmSettings::FeedbackTemplates));
    }
    EXPECT_EQ(templateText(1, 25), russian);

    // Yes: stored under the language it was made for, then the new language shows.
    presenter.answer(lang::mrYes);
    languages->setCurrentIndex(englishRow);
    EXPECT_EQ(presenter.count(), 4);
    EXPECT_TRUE(templateText(1, 25).startsWith(QStringLiteral("Тема|")));
    EXPECT_EQ(templateText(1, 9), english);
    EXPECT_TRUE(english.startsWith(w.templateHeader(1)->text() + "|"));

    // Cancelling the window writes nothing more; what the question stored stays.
    type(w.templateHeader(1), QStringLiteral("Subject"));
    w.reject();
    EXPECT_EQ(templateText(1, 9), english);
    EXPECT_TRUE(templateText(1, 25).startsWith(QStringLiteral("Тема|")));
}

TEST_F(SettingsWindow, AnEditOfOneRecoveryTemplateSavesBothUnderTheChosenLanguage)
{
    admin(QStringLiteral("DELETE FROM tev.tev_feedback_templates WHERE id IN (2, 3) AND lang_id = 8"));
    RecordingPresenter presenter;
    TfmSettings& w = open();
    QComboBox* languages = w.templateLanguages(TfmSettings::RecoveryTemplates);
    const int greek = languages->findData(8);
    ASSERT_GE(greek, 0);
    languages->setCurrentIndex(greek);
    EXPECT_EQ(presenter.count(), 0);
    // No template yet in that language: empty fields.
    EXPECT_EQ(w.templateHeader(2)->text(), QString());
    EXPECT_EQ(w.templateMessage(3)->toPlainText(), QString());
    w.templateMessage(3)->setPlainText(QStringLiteral("Ακολουθήστε:\n%4$s"));
    EXPECT_TRUE(w.templatesChanged(TfmSettings::RecoveryTemplates));
    EXPECT_FALSE(w.templatesChanged(TfmSettings::FeedbackTemplates));
    w.accept();
    ASSERT_EQ(presenter.count(), 0) << presenter.last().text.toStdString();
    EXPECT_EQ(templateText(2, 8), QStringLiteral("|"));
    EXPECT_EQ(templateText(3, 8), QStringLiteral("|Ακολουθήστε:\r\n%4$s"));
}

TEST_F(SettingsWindow, FeedbackTypesAreAddedEditedAndDeletedAtOnce)
{
    RecordingPresenter presenter;
    ScriptedModalRunner runner;
    TfmSettings& w = open();
    db::Query* types = w.feedbackTypes();
    const int count = types->recordCount();
    ASSERT_GT(count, 0);
    EXPECT_EQ(w.grdFeedbackTypes()->dataset(), types);

    runner.answer = answerDialog<TfmEditString>([](TfmEditString& d) {
        d.setText(QStringLiteral("Вопрос по счетам"));
        return int(QDialog::Accepted);
    });
    w.action(TfmSettings::Cmd::acAddFeedbackType)->trigger();
    EXPECT_EQ(types->recordCount(), count + 1);
    EXPECT_EQ(types->asString(QStringLiteral("TYPE_NAME_ANSI")), QStringLiteral("Вопрос по счетам"));
    const int added = int(types->asInteger(QStringLiteral("TYPE_ID")));
    EXPECT_EQ(admin(QStringLiteral("SELECT type_name FROM tev.tev_type_feedback_msg WHERE type_id = %1").arg(added)),
              QStringLiteral("Вопрос по счетам"));

    // Editing renames the type and opens its translations.
    runner.answer = [](QDialog& d) {
        if (auto* edit = dynamic_cast<TfmEditString*>(&d)) {
            edit->setText(QStringLiteral("Вопрос по счетам и актам"));
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    };
    runner.dialogs.clear();
    w.action(TfmSettings::Cmd::acEditFeedbackType)->trigger();
    EXPECT_EQ(runner.dialogs, (QStringList{"TfmEditString", "TfrmPhraseTranslate"}));
    EXPECT_EQ(types->asInteger(QStringLiteral("TYPE_ID")), added);
    EXPECT_EQ(types->asString(QStringLiteral("TYPE_NAME_ANSI")), QStringLiteral("Вопрос по счетам и актам"));

    // A type that requests use stays, with the message.
    ASSERT_TRUE(types->locate(QStringLiteral("TYPE_ID"), 1));
    presenter.answer(lang::mrOk);
    w.action(TfmSettings::Cmd::acDeleteFeedbackType)->trigger();
    ASSERT_EQ(presenter.count(), 2);
    EXPECT_EQ(presenter.last().text,
              QStringLiteral("Не возможно удалить тип обращения, т.к. существует обращение с таким типом."));
    EXPECT_EQ(types->recordCount(), count + 1);
    EXPECT_EQ(types->asInteger(QStringLiteral("TYPE_ID")), 1);

    // Cancelled, the question deletes nothing; answered OK, the new type goes.
    ASSERT_TRUE(types->locate(QStringLiteral("TYPE_ID"), added));
    presenter.answer(lang::mrCancel);
    w.action(TfmSettings::Cmd::acDeleteFeedbackType)->trigger();
    EXPECT_EQ(types->recordCount(), count + 1);
    presenter.answer(lang::mrOk);
    w.action(TfmSettings::Cmd::acDeleteFeedbackType)->trigger();
    EXPECT_EQ(presenter.count(), 4);
    EXPECT_EQ(types->recordCount(), count);

    // Type changes are committed at once: cancelling the window keeps them.
    runner.answer = answerDialog<TfmEditString>([](TfmEditString& d) {
        d.setText(QStringLiteral("Жалоба на АЗС"));
        return int(QDialog::Accepted);
    });
    w.action(TfmSettings::Cmd::acAddFeedbackType)->trigger();
    w.reject();
    session().rollback();
    EXPECT_EQ(admin(QStringLiteral("SELECT count(*) FROM tev.tev_type_feedback_msg WHERE type_name = 'Жалоба на АЗС'")),
              QStringLiteral("1"));
    admin(QStringLiteral("DELETE FROM tev.tev_phrases WHERE type_id = 4 AND id IN (SELECT type_id FROM "
                         "tev.tev_type_feedback_msg WHERE type_name = 'Жалоба на АЗС'); DELETE FROM "
                         "tev.tev_type_feedback_msg WHERE type_name = 'Жалоба на АЗС'"));
}

TEST_F(SettingsWindow, SwitchesEnableWhatBelongsToThem)
{
    TfmSettings& w = open();
    auto enabled = [&](const char* key) { return w.control(QString::fromLatin1(key))->isEnabled(); };
    auto click = [&](const char* key) { qobject_cast<QAbstractButton*>(w.control(QString::fromLatin1(key)))->click(); };
    w.setState(QStringLiteral("USE_FEEDBACK"), {true});
    w.setState(QStringLiteral("FB_USE_AUTH"), {false});
    EXPECT_TRUE(enabled("FB_SMTP_SERVER"));
    EXPECT_FALSE(enabled("FB_SMTP_LOGIN"));
    EXPECT_FALSE(enabled("FB_SMTP_PASSWORD"));
    EXPECT_FALSE(enabled("FB_SMTP_USE_SSL"));
    click("FB_USE_AUTH");
    EXPECT_TRUE(enabled("FB_SMTP_LOGIN"));
    w.updateActionsNow();
    EXPECT_TRUE(w.action(TfmSettings::Cmd::acAddFeedbackType)->isEnabled());
    EXPECT_TRUE(w.action(TfmSettings::Cmd::acEditTranslations)->isEnabled());
    click("USE_FEEDBACK");
    EXPECT_FALSE(enabled("FB_SMTP_SERVER"));
    EXPECT_FALSE(w.grdFeedbackTypes()->isEnabled());
    EXPECT_FALSE(w.templateHeader(1)->isEnabled());
    w.updateActionsNow();
    for (const char* cmd : {TfmSettings::Cmd::acAddFeedbackType, TfmSettings::Cmd::acEditFeedbackType,
                            TfmSettings::Cmd::acDeleteFeedbackType, TfmSettings::Cmd::acEditTranslations})
        EXPECT_FALSE(w.action(cmd)->isEnabled()) << cmd;

    w.setState(QStringLiteral("USE_PASS_RECOVERY"), {false});
    EXPECT_FALSE(enabled("PR_SMTP_SERVER"));
    EXPECT_FALSE(w.templateMessage(3)->isEnabled());
    click("USE_PASS_RECOVERY");
    EXPECT_TRUE(enabled("PR_PASSWORD_LENGTH"));

    // Blocking: set, it chooses "from the beginning of the month"; clear, it drops the choice.
    w.setState(QStringLiteral("TYPE_BLOCK_DESCRIBE"), {false});
    EXPECT_FALSE(enabled("USE_BLOCK_WARNING"));
    EXPECT_FALSE(enabled("BLOCK_WARNING_DAYS"));
    click("TYPE_BLOCK_DESCRIBE");
    EXPECT_TRUE(enabled("BLOCK_WARNING_DAYS"));
    EXPECT_TRUE(w.choiceButton(QStringLiteral("TYPE_BLOCK_DESCRIBE"), 0)->isChecked());
    w.choiceButton(QStringLiteral("TYPE_BLOCK_DESCRIBE"), 1)->click();
    click("TYPE_BLOCK_DESCRIBE");
    EXPECT_FALSE(w.choiceButton(QStringLiteral("TYPE_BLOCK_DESCRIBE"), 1)->isChecked());
    EXPECT_EQ(ToStored(Key(QStringLiteral("TYPE_BLOCK_DESCRIBE")), w.state(QStringLiteral("TYPE_BLOCK_DESCRIBE"))),
              QStringLiteral("-1"));

    w.setState(QStringLiteral("ADV_PASS_SECUR"), {false});
    EXPECT_FALSE(enabled("PSW_MIN_LENGTH"));
    EXPECT_FALSE(enabled("TEV_SYMBOLS_REQ"));
    click("ADV_PASS_SECUR");
    EXPECT_TRUE(enabled("PSW_MIN_LENGTH"));
    EXPECT_TRUE(enabled("PSW_CHARS_REQ"));

    // The days change with the spin buttons only.
    click("TYPE_BLOCK_DESCRIBE");
    auto* days = qobject_cast<QSpinBox*>(w.control(QStringLiteral("BLOCK_WARNING_DAYS")));
    const int before = days->value();
    days->findChild<QLineEdit*>()->setFocus();
    QTest::keyClicks(days, QStringLiteral("7"));
    EXPECT_EQ(days->value(), before);
    days->stepUp();
    EXPECT_EQ(days->value(), before + 1);
}

TEST_F(SettingsWindow, ARefusedTypeNameComesBackInTheDialogAndLongEscapedNamesFit)
{
    RecordingPresenter presenter;
    ScriptedModalRunner runner;
    TfmSettings& w = open();
    const int count = w.feedbackTypes()->recordCount();
    QStringList shown;
    int round = 0;
    // Greek letters are stored escaped, six characters each: 255 of them fill 1530.
    const QString greek(255, QChar(u'λ'));
    runner.answer = answerDialog<TfmEditString>([&](TfmEditString& d) {
        shown << d.text();
        if (++round == 1)
            d.setText(greek);
        return int(round <= 2 ? QDialog::Accepted : QDialog::Rejected);
    });
    {
        RefusedWrite refused(session(), QStringLiteral("tev_type_feedback_msg"), QStringLiteral("true"));
        w.action(TfmSettings::Cmd::acAddFeedbackType)->trigger();
    }
    // The first try was refused, the second came back with the same name, the third was cancelled.
    ASSERT_EQ(presenter.count(), 2);
    EXPECT_TRUE(presenter.requests().first().text.contains(QStringLiteral("refused by the test")));
    EXPECT_EQ(shown, (QStringList{QString(), greek, greek}));
    EXPECT_EQ(w.feedbackTypes()->recordCount(), count);

    round = 1;
    runner.answer = answerDialog<TfmEditString>([&](TfmEditString& d) {
        d.setText(greek);
        return int(QDialog::Accepted);
    });
    w.action(TfmSettings::Cmd::acAddFeedbackType)->trigger();
    EXPECT_EQ(presenter.count(), 2);
    ASSERT_EQ(w.feedbackTypes()->recordCount(), count + 1);
    EXPECT_EQ(DecodeUnicodeEscapes(w.feedbackTypes()->asString(QStringLiteral("TYPE_NAME"))), greek);
    EXPECT_EQ(w.feedbackTypes()->asString(QStringLiteral("TYPE_NAME")).size(), 6 * 255);
    presenter.answer(lang::mrOk);
    w.action(TfmSettings::Cmd::acDeleteFeedbackType)->trigger();
    EXPECT_EQ(w.feedbackTypes()->recordCount(), count);
}
