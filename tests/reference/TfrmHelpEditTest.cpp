#include "TfrmHelpEdit.h"

#include "PortalCodec.h"
#include "RecordingPresenter.h"
#include "ReferenceQueries.h"
#include "ReferenceTestSupport.h"
#include "ScriptedModalRunner.h"
#include "TfrmHelpTypeEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using H = ReferenceQueries::Help;

namespace {

QString journalCount()
{
    return adminValue("SELECT count(*) FROM tev.tev_events_journal");
}

} // namespace

TEST(TfrmHelpTypeEditTest, ApplyOnlyWithANameAndAKind)
{
    referenceTestApp();
    struct Row
    {
        const char* name;
        QString text;
        QString type;
        int descLength;
        bool enabled;
    };
    const Row rows[] = {{"name and a kind", "Оплата", "100", 0, true},
                        {"empty name", "", "111", 0, false},
                        {"blank name", "   ", "111", 0, false},
                        {"no kind", "Оплата", "000", 0, false},
                        {"longest description", "Оплата", "001", 4000, true},
                        {"description too long", "Оплата", "001", 4001, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TfrmHelpTypeEdit d;
        d.setItem(r.text, QString(r.descLength, QLatin1Char('x')), r.type, false);
        EXPECT_EQ(d.btnApply()->isEnabled(), r.enabled);
    }
}

TEST(TfrmHelpEditTest, BuiltInItemsKeepNameAndKindsAndCannotBeDeleted)
{
    REQUIRE_PG();
    adminValue("INSERT INTO tev.tev_help VALUES (9999, 25, 'Встроенный пункт', 'Старое описание', '101') "
               "ON CONFLICT DO NOTHING");
    SignedInModule m;
    TfrmHelpEdit w(*m.dm);
    w.show();
    db::Query* q = w.list();
    EXPECT_EQ(w.webLanguageId(), 25);
    ASSERT_TRUE(q->locate(QString::fromLatin1(H::kId), 9999));
    EXPECT_EQ(q->asString(QString::fromLatin1(H::kTypeShown)), QStringLiteral("ОЦ/БК"));
    EXPECT_EQ(w.memDesc()->toPlainText(), QStringLiteral("Старое описание"));
    w.updateActionsNow();
    EXPECT_TRUE(w.action(TfrmHelpEdit::Cmd::acEditTrnType)->isEnabled());
    EXPECT_FALSE(w.action(TfrmHelpEdit::Cmd::acDelTrnType)->isEnabled());

    ScriptedModalRunner runner;
    runner.answer = answerDialog<TfrmHelpTypeEdit>([](TfrmHelpTypeEdit& d) {
        EXPECT_FALSE(d.edtName()->isEnabled());
        EXPECT_TRUE(d.kind(0)->isChecked());
        EXPECT_FALSE(d.kind(1)->isChecked());
        EXPECT_TRUE(d.kind(2)->isChecked());
        EXPECT_FALSE(d.kind(0)->isEnabled());
        d.memDesc()->setPlainText(QStringLiteral("Новое описание"));
        return int(QDialog::Accepted);
    });
    w.acEditTrnTypeExecute();
    EXPECT_EQ(
        adminValue("SELECT tev_help_name || '|' || tev_help_desc || '|' || tev_help_type FROM tev.tev_help "
                   "WHERE tev_help_id = 9999 AND tev_help_lang_id = 25"),
        QStringLiteral("Встроенный пункт|Новое описание|101"));
    EXPECT_EQ(w.memDesc()->toPlainText(), QStringLiteral("Новое описание"));

    RecordingPresenter presenter({lang::mrOk});
    w.acDelTrnTypeExecute();
    EXPECT_EQ(presenter.count(), 0);
    EXPECT_EQ(adminValue("SELECT count(*) FROM tev.tev_help WHERE tev_help_id = 9999"), QStringLiteral("1"));
    w.close();
}

TEST(TfrmHelpEditTest, OwnItemsAreAddedEditedAndDeletedAndAnUnchangedEditCallsNothing)
{
    REQUIRE_PG();
    SignedInModule m;
    TfrmHelpEdit w(*m.dm);
    w.show();
    db::Query* q = w.list();
    ScriptedModalRunner runner;

    // Added in the chosen web language with the longest Greek name and description.
    w.selectWebLanguage(9);
    const QString name = QString(100, QChar(0x03BB));
    const QString desc = QString(4000, QChar(0x03B4));
    runner.answer = answerDialog<TfrmHelpTypeEdit>([&](TfrmHelpTypeEdit& d) {
        d.edtName()->setText(name);
        d.memDesc()->setPlainText(desc);
        d.kind(1)->setChecked(true);
        return int(QDialog::Accepted);
    });
    w.acAddTrnTypeExecute();
    const QString id = q->asString(QString::fromLatin1(H::kId));
    EXPECT_GT(id.toInt(), 9999);
    EXPECT_EQ(
        adminValue("SELECT tev_help_name FROM tev.tev_help WHERE tev_help_lang_id = 9 AND tev_help_id = " +
                   id),
        EncodeUnicodeEscapes(name));
    EXPECT_EQ(
        adminValue("SELECT length(tev_help_desc) || tev_help_type FROM tev.tev_help WHERE tev_help_id = " +
                   id),
        QStringLiteral("24000010"));
    w.updateActionsNow();
    EXPECT_TRUE(w.action(TfrmHelpEdit::Cmd::acDelTrnType)->isEnabled());

    // Accepted without a change: no call at all.
    const QString journal = journalCount();
    runner.answer = answerDialog<TfrmHelpTypeEdit>([](TfrmHelpTypeEdit& d) {
        EXPECT_TRUE(d.edtName()->isEnabled());
        return int(QDialog::Accepted);
    });
    w.acEditTrnTypeExecute();
    EXPECT_EQ(journalCount(), journal);

    runner.answer = answerDialog<TfrmHelpTypeEdit>([](TfrmHelpTypeEdit& d) {
        d.edtName()->setText(QStringLiteral("Renamed"));
        d.kind(0)->setChecked(true);
        return int(QDialog::Accepted);
    });
    w.acEditTrnTypeExecute();
    EXPECT_EQ(adminValue("SELECT tev_help_name || tev_help_type FROM tev.tev_help WHERE tev_help_id = " + id),
              QStringLiteral("Renamed110"));
    EXPECT_EQ(q->asString(QString::fromLatin1(H::kId)), id);

    RecordingPresenter presenter({lang::mrOk});
    w.acDelTrnTypeExecute();
    EXPECT_EQ(presenter.last().text, QStringLiteral("Удалить тип операции \"Renamed\"?"));
    EXPECT_EQ(adminValue("SELECT count(*) FROM tev.tev_help WHERE tev_help_id = " + id), QStringLiteral("0"));
    w.close();
}
