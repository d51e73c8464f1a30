#include "TfmTransactionGroups.h"

#include "DBGrid.h"
#include "MasterDetailLink.h"
#include "OraError.h"
#include "PortalCodec.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "ReferenceQueries.h"
#include "ReferenceTestSupport.h"
#include "ScriptedModalRunner.h"
#include "TfmEditString.h"
#include "TfmUpdTrnTypeInGroup.h"
#include "TfrmPhraseTranslate.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

using G = ReferenceQueries::Groups;
using C = ReferenceQueries::MemberChoice;

namespace {

QString members(int group)
{
    return adminValue(
        QStringLiteral("SELECT coalesce(string_agg(trntype_number::text, ',' ORDER BY trntype_number), "
                       "'') FROM tev.tev_trntype WHERE group_id = %1")
            .arg(group));
}

// Answers the member dialog by marking exactly the given types.
std::function<int(QDialog&)> chooseMembers(QList<int> types, int result = QDialog::Accepted)
{
    return answerDialog<TfmUpdTrnTypeInGroup>([types, result](TfmUpdTrnTypeInGroup& d) {
        d.show(); // opens its list
        db::Query* q = d.OraQuery1();
        for (int row = 0; row < q->recordCount(); ++row) {
            const int number = q->value(row, q->fieldIndex(QString::fromLatin1(C::kNumber))).toInt();
            q->setValueAt(row, q->fieldIndex(QString::fromLatin1(C::kChoice)),
                          types.contains(number) ? QStringLiteral("+") : QStringLiteral("-"));
        }
        return result;
    });
}

struct GroupsWindow
{
    GroupsWindow() : w(nullptr, m.dm->ActiveScheme(), m.dm->session(), 25)
    {
        w.ensureCreated();
        w.show();
    }
    ~GroupsWindow() { w.close(); }
    bool toGroup(int id) { return w.groups()->locate(QString::fromLatin1(G::kId), id); }
    SignedInModule m;
    TfmTransactionGroups w;
};

} // namespace

TEST(TfmTransactionGroupsTest, MembersAndTheFreeCountFollowTheCurrentGroup)
{
    REQUIRE_PG();
    GroupsWindow g;
    ASSERT_TRUE(g.toGroup(2));
    EXPECT_EQ(g.w.members()->recordCount(), members(2).split(',').size());
    const int free = adminValue("SELECT count(*) FROM tev.tev_trntype WHERE group_id IS NULL").toInt();
    EXPECT_EQ(g.w.freeTypeCount(), free);
    EXPECT_EQ(g.w.lblFreeTypes()->text(), TfmTransactionGroups::freeTypesText(free));
    EXPECT_EQ(TfmTransactionGroups::freeTypesText(3),
              QStringLiteral("Количество незакрепленных за группами типов транзакций: 3"));
    EXPECT_EQ(TfmTransactionGroups::freeTypesText(0),
              QStringLiteral("Все типы транзакций закреплены за группами"));
    EXPECT_EQ(TfmTransactionGroups::freeTypesColour(3), QColor(Qt::darkRed));
    EXPECT_EQ(TfmTransactionGroups::freeTypesColour(0), QColor(Qt::darkGreen));
}

TEST(TfmTransactionGroupsTest, AFailedMemberSaveLeavesTheGroupAsItWas)
{
    REQUIRE_PG();
    const QString before = members(1);
    {
        GroupsWindow g;
        ASSERT_TRUE(g.toGroup(1));
        ScriptedModalRunner runner;
        runner.answer = chooseMembers({1, 2, 8});
        RefusedUpdate refused(g.m.session(), QStringLiteral("tev_trntype"),
                              QStringLiteral("NEW.trntype_number = 2 AND NEW.group_id IS NOT NULL"));
        EXPECT_THROW(g.w.acUpdTrnTypeInGroupExecute(), db::OraError);
    } // the window closes and commits
    EXPECT_EQ(members(1), before);
}

TEST(TfmTransactionGroupsTest, MemberDialogCancelKeepsAcceptStoresAndEmptyDetachesAll)
{
    REQUIRE_PG();
    GroupsWindow g;
    ASSERT_TRUE(g.toGroup(3));
    const QString before = members(3);
    ScriptedModalRunner runner;
    runner.answer = chooseMembers({}, QDialog::Rejected);
    g.w.acUpdTrnTypeInGroupExecute();
    EXPECT_EQ(members(3), before);

    runner.answer = chooseMembers({});
    g.w.acUpdTrnTypeInGroupExecute();
    EXPECT_EQ(members(3), QString());
    EXPECT_EQ(g.w.members()->recordCount(), 0);
    EXPECT_EQ(g.w.freeTypeCount(),
              adminValue("SELECT count(*) FROM tev.tev_trntype WHERE group_id IS NULL").toInt());

    runner.answer = chooseMembers({6, 7});
    g.w.acUpdTrnTypeInGroupExecute();
    EXPECT_EQ(members(3), QStringLiteral("6,7"));
    EXPECT_EQ(g.w.members()->recordCount(), 2);
}

TEST(TfmTransactionGroupsTest, AddRenameWithTranslationsAndDelete)
{
    REQUIRE_PG();
    GroupsWindow g;
    ScriptedModalRunner runner;
    runner.answer = answerDialog<TfmEditString>([](TfmEditString& d) {
        d.edtText()->setText(QStringLiteral("Новая группа"));
        return int(QDialog::Accepted);
    });
    g.w.acInsTrnTypeGroupExecute();
    const QString id = adminValue("SELECT max(group_id) FROM tev.tev_trntype_group");
    EXPECT_EQ(g.w.groups()->asString(QString::fromLatin1(G::kId)), id);
    EXPECT_EQ(g.w.groups()->asString(QString::fromLatin1(G::kNameShown)), QStringLiteral("Новая группа"));

    // A full-length Greek name is stored escaped, and the translations open right after.
    const QString greek = QString(120, QChar(0x03B2));
    runner.answer = [&](QDialog& d) {
        if (auto* edit = dynamic_cast<TfmEditString*>(&d)) {
            edit->edtText()->setText(greek);
            return int(QDialog::Accepted);
        }
        EXPECT_TRUE(dynamic_cast<TfrmPhraseTranslate*>(&d));
        return int(QDialog::Rejected);
    };
    runner.dialogs.clear();
    g.w.acUpdTrnTypeGroupExecute();
    EXPECT_EQ(runner.dialogs, QStringList({"TfmEditString", "TfrmPhraseTranslate"}));
    EXPECT_EQ(adminValue("SELECT group_name FROM tev.tev_trntype_group WHERE group_id = " + id),
              EncodeUnicodeEscapes(greek.left(TfmTransactionGroups::kMaxNameLength)));
    EXPECT_EQ(g.w.groups()->asString(QString::fromLatin1(G::kId)), id);

    RecordingPresenter presenter({lang::mrCancel, lang::mrOk});
    g.w.acDelTrnTypeGroupExecute();
    EXPECT_EQ(adminValue("SELECT count(*) FROM tev.tev_trntype_group WHERE group_id = " + id),
              QStringLiteral("1"));
    g.w.acDelTrnTypeGroupExecute();
    EXPECT_EQ(adminValue("SELECT count(*) FROM tev.tev_trntype_group WHERE group_id = " + id),
              QStringLiteral("0"));
    EXPECT_EQ(presenter.last().text, QStringLiteral("Удалить запись?"));
}
