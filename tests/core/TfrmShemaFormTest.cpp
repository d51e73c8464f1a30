#include "CoreTestSupport.h"
#include "IniFile.h"
#include "MessageDialogs.h"
#include "RecordingPresenter.h"
#include "TfrmShemaForm.h"

#include "ScriptedModalRunner.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

QTreeWidget* tree(TfrmShemaForm& f)
{
    return f.findChild<QTreeWidget*>("tvShemes");
}

QStringList children(TfrmShemaForm& f)
{
    QStringList names;
    QTreeWidgetItem* root = tree(f)->topLevelItem(0);
    for (int i = 0; i < root->childCount(); ++i)
        names << root->child(i)->text(0);
    return names;
}

void select(TfrmShemaForm& f, const QString& scheme)
{
    QTreeWidgetItem* root = tree(f)->topLevelItem(0);
    if (scheme.isEmpty()) {
        tree(f)->setCurrentItem(root);
        return;
    }
    for (int i = 0; i < root->childCount(); ++i)
        if (root->child(i)->text(0) == scheme)
            tree(f)->setCurrentItem(root->child(i));
}

QString shown(TfrmShemaForm& f)
{
    return f.findChild<QLineEdit*>("edtActiveSheme")->text();
}

} // namespace

class TfrmShemaFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        coreTestApp();
        folder.write({"[CONNECTION]", "user=tev_user", "[SCHEMES]", "TEV=1", "WEB2=0"});
    }
    void TearDown() override
    {
    }
    int flag(const QString& scheme) const { return lang::IniFile(folder.ini()).readInteger("SCHEMES", scheme, -1); }
    QStringList keys() const { return lang::IniFile(folder.ini()).readSection("SCHEMES"); }

    AppFolder folder;
};

TEST_F(TfrmShemaFormTest, ShowsSchemesUnderTheRoot)
{
    TfrmShemaForm f(folder.ini());
    EXPECT_EQ(f.windowTitle(), "Схемы БД");
    EXPECT_EQ(f.findChild<QLabel*>("lblActiveSheme")->text(), "Активная схема");
    EXPECT_EQ(f.findChild<QPushButton*>("btnNewSheme")->text(), "Новая схема");
    EXPECT_EQ(f.findChild<QPushButton*>("btnActivate")->text(), "Активизировать");
    EXPECT_EQ(f.findChild<QPushButton*>("btnDelete")->text(), "Удалить");
    EXPECT_EQ(f.findChild<QPushButton*>("btnExit")->text(), "Выход");
    EXPECT_EQ(shown(f), "TEV");
    ASSERT_EQ(tree(f)->topLevelItemCount(), 1);
    EXPECT_EQ(tree(f)->topLevelItem(0)->text(0), "Доступные схемы");
    EXPECT_TRUE(tree(f)->topLevelItem(0)->isExpanded());
    EXPECT_EQ(children(f), QStringList({"TEV", "WEB2"}));

    auto* activate = f.findChild<QPushButton*>("btnActivate");
    auto* remove = f.findChild<QPushButton*>("btnDelete");
    EXPECT_FALSE(activate->isEnabled());
    select(f, "WEB2");
    EXPECT_TRUE(activate->isEnabled());
    EXPECT_TRUE(remove->isEnabled());
    select(f, "");
    EXPECT_FALSE(activate->isEnabled());
    EXPECT_FALSE(remove->isEnabled());
}

TEST_F(TfrmShemaFormTest, NoActiveSchemeMakesTallymaxActive)
{
    struct Row
    {
        const char* name;
        QStringList lines;
        QStringList keys;
    } rows[] = {
        {"no section", {"[CONNECTION]", "user=x"}, {"TALLYMAX5"}},
        {"none flagged", {"[SCHEMES]", "TEV=0"}, {"TEV", "TALLYMAX5"}},
    };
    for (const Row& r : rows) {
        folder.write(r.lines);
        TfrmShemaForm f(folder.ini());
        EXPECT_EQ(shown(f), "TALLYMAX5") << r.name;
        EXPECT_EQ(children(f), r.keys) << r.name;
        EXPECT_EQ(flag("TALLYMAX5"), 1) << r.name;
    }
}

TEST_F(TfrmShemaFormTest, NewSchemeIsWrittenUnflagged)
{
    QStringList answers = {"WEB3", "  ", "", " web2 "};
    QString caption;
    ScriptedModalRunner runner;
    runner.answer = [&](QDialog& prompt) {
        EXPECT_EQ(prompt.objectName(), TfrmShemaForm::kNamePromptName);
        caption = prompt.windowTitle();
        prompt.findChild<QLineEdit*>("edtName")->setText(answers.takeFirst());
        return int(QDialog::Accepted);
    };
    RecordingPresenter presenter;
    TfrmShemaForm f(folder.ini());
    f.btnNewShemeClick();
    EXPECT_EQ(caption, "Новая схема");
    EXPECT_EQ(flag("WEB3"), 0);
    EXPECT_EQ(children(f), QStringList({"TEV", "WEB2", "WEB3"}));
    EXPECT_EQ(tree(f)->currentItem()->text(0), "WEB3");

    // Blank names are refused with an error; nothing is written.
    f.btnNewShemeClick();
    f.btnNewShemeClick();
    EXPECT_EQ(presenter.count(), 2);
    EXPECT_EQ(presenter.last().icon, lang::MsgIcon::Error);
    // A name that is there already is not added twice.
    f.btnNewShemeClick();
    EXPECT_EQ(keys(), QStringList({"TEV", "WEB2", "WEB3"}));
    EXPECT_EQ(children(f), QStringList({"TEV", "WEB2", "WEB3"}));
    EXPECT_EQ(flag("TEV"), 1);

    // Cancelled: nothing.
    runner.answer = [](QDialog& prompt) {
        prompt.findChild<QLineEdit*>("edtName")->setText("WEB4");
        return int(QDialog::Rejected);
    };
    f.btnNewShemeClick();
    EXPECT_EQ(keys(), QStringList({"TEV", "WEB2", "WEB3"}));
}

TEST_F(TfrmShemaFormTest, ActivateClosesWithTheNewScheme)
{
    TfrmShemaForm f(folder.ini());
    select(f, "WEB2");
    f.btnActivateClick();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(shown(f), "WEB2");
    EXPECT_EQ(flag("TEV"), 0);
    EXPECT_EQ(flag("WEB2"), 1);
    EXPECT_EQ(f.ActiveScheme(), "WEB2");

    // A double click on a scheme does the same; on the root nothing.
    TfrmShemaForm g(folder.ini());
    QTreeWidgetItem* root = tree(g)->topLevelItem(0);
    emit tree(g)->itemDoubleClicked(root, 0);
    EXPECT_EQ(flag("WEB2"), 1);
    emit tree(g)->itemDoubleClicked(root->child(0), 0);
    EXPECT_EQ(flag("TEV"), 1);
    EXPECT_EQ(flag("WEB2"), 0);
}

TEST_F(TfrmShemaFormTest, DeleteAsksFirst)
{
    RecordingPresenter presenter({lang::mrNo, lang::mrYes});
    TfrmShemaForm f(folder.ini());
    select(f, "WEB2");
    f.btnDeleteClick();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, "\"WEB2\"");
    EXPECT_EQ(presenter.last().caption, "Удалить");
    EXPECT_EQ(keys(), QStringList({"TEV", "WEB2"}));
    f.btnDeleteClick();
    EXPECT_EQ(keys(), QStringList({"TEV"}));
    EXPECT_EQ(children(f), QStringList({"TEV"}));
}

// Deleting the active scheme and leaving: the dialog's own default becomes active.
TEST_F(TfrmShemaFormTest, DeletingTheActiveSchemeLeavesTallymax)
{
    RecordingPresenter presenter({lang::mrYes});
    whenModal<TfrmShemaForm>([](TfrmShemaForm& f) {
        select(f, "TEV");
        f.btnDeleteClick();
        f.findChild<QPushButton*>("btnExit")->click();
    });
    EXPECT_EQ(TfrmShemaForm::Run(folder.ini()), "TALLYMAX5");
    EXPECT_EQ(keys(), QStringList({"WEB2", "TALLYMAX5"}));
    EXPECT_EQ(flag("TALLYMAX5"), 1);
}

TEST_F(TfrmShemaFormTest, RunnerAnswersForTheDialog)
{
    ScriptedModalRunner runner;
    runner.answer = answerDialog<TfrmShemaForm>([](TfrmShemaForm& f) {
        select(f, "WEB2");
        f.btnActivateClick();
        return f.result();
    });
    EXPECT_EQ(TfrmShemaForm::Run(folder.ini()), "WEB2");
    EXPECT_EQ(runner.dialogs, QStringList{"TfrmShemaForm"});
    EXPECT_EQ(flag("WEB2"), 1);
}
