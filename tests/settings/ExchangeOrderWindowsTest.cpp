#include "TfrmOrderDownload.h"
#include "TfrmOrderUnload.h"

#include "Catalogue.h"
#include "EmitentTestSupport.h"
#include "EmitentTexts.h"
#include "MemDataset.h"
#include "MessageDialogs.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"
#include "TfrmEmitentSelection.h"

#include <QAction>
#include <QPushButton>
#include <gtest/gtest.h>

// The owner emitents of the demo portal: web ids 1, 4, 7, 8 and 9 (emitent numbers 1, 2, 4, 5, 6);
// unload order 1..5; download levels 1, 0, 2, 1, 0.
namespace {

const QString kOwners = QStringLiteral("1,4,7,8,9");

QString stored(const char* column)
{
    return emitentColumns(QString::fromLatin1(column), kOwners);
}

// The emitent numbers of the local list in the order shown.
QString shown(db::Dataset* list, const char* field)
{
    QStringList values;
    for (int row = 0; row < list->recordCount(); ++row)
        values << list->value(row, list->fieldIndex(QString::fromLatin1(field))).toString();
    return values.join(QLatin1Char(','));
}

} // namespace

TEST(TfrmOrderUnload, StoredPositionsWithGapsAreWrittenAsOneToN)
{
    REQUIRE_PG();
    EmitentModule m;
    adminValue(QStringLiteral("UPDATE tev.tev_emitent SET order_unload = order_unload * 10 WHERE emitent_id_web "
                              "IN (1,4,7,8,9)"));
    TfrmOrderUnload w(*m.dm);
    EXPECT_EQ(shown(w.list(), TfrmOrderUnload::kNumber), QStringLiteral("1,2,4,5,6"));
    EXPECT_EQ(w.model().writes().size(), 5) << "every row is sent";
    w.btnApplyClick();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(stored("order_unload"), QStringLiteral("1;2;3;4;5"));
}

TEST(TfrmOrderUnload, UnchangedMakesNoCallMovesAreWrittenTogetherOrNotAtAll)
{
    REQUIRE_PG();
    EmitentModule m;
    RecordingPresenter presenter;
    {
        RefusedEmitentUpdate refused(m.session(), QStringLiteral("true"));
        TfrmOrderUnload w(*m.dm);
        w.btnApplyClick();
        EXPECT_EQ(w.result(), QDialog::Accepted);
        EXPECT_EQ(presenter.count(), 0);
    }

    TfrmOrderUnload w(*m.dm);
    w.show();
    ASSERT_TRUE(w.list()->locate(QString::fromLatin1(TfrmOrderUnload::kId), 7));
    w.updateActionsNow();
    EXPECT_TRUE(w.action(TfrmOrderUnload::Cmd::actUp)->isEnabled());
    w.action(TfrmOrderUnload::Cmd::actUp)->trigger();
    EXPECT_EQ(shown(w.list(), TfrmOrderUnload::kNumber), QStringLiteral("1,4,2,5,6"));
    EXPECT_EQ(w.list()->asInteger(QString::fromLatin1(TfrmOrderUnload::kId)), 7) << "the cursor moves along";
    w.list()->first();
    w.updateActionsNow();
    EXPECT_FALSE(w.action(TfrmOrderUnload::Cmd::actUp)->isEnabled());

    {
        // The second of the two calls fails: the first is undone too, the window keeps the order.
        RefusedEmitentUpdate refused(m.session(), QStringLiteral("OLD.emitent_id_web = 4"));
        w.btnApplyClick();
    }
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_TRUE(presenter.last().text.startsWith(emitenttext::writeFailed(QString())));
    EXPECT_EQ(stored("order_unload"), QStringLiteral("1;2;3;4;5"));
    EXPECT_EQ(shown(w.list(), TfrmOrderUnload::kNumber), QStringLiteral("1,4,2,5,6"));

    w.btnApplyClick();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(stored("order_unload"), QStringLiteral("1;3;2;4;5"));
}

TEST(TfrmOrderDownload, LevelsWithGapsOpenRenumberedAndTheLastEmitentOfALevelTakesTheLevelAlong)
{
    REQUIRE_PG();
    EmitentModule m;
    // Levels 1 and 5 stored; 4 and 9 without priority.
    adminValue(QStringLiteral("UPDATE tev.tev_emitent SET order_download = CASE emitent_id_web WHEN 1 THEN 1 "
                              "WHEN 7 THEN 5 WHEN 8 THEN 5 ELSE 0 END WHERE emitent_id_web IN (1,4,7,8,9)"));
    TfrmOrderDownload w(*m.dm);
    w.show();
    const QString noPriority = lang::tr(u"vrstrNoPriority");
    EXPECT_EQ(shown(w.levels(), TfrmOrderDownload::kOrderStr), QStringLiteral("1,2,3 ( ") + noPriority + ")");
    EXPECT_EQ(shown(w.emitents(), TfrmOrderDownload::kNumber), QStringLiteral("1"));
    w.selectLevel(2);
    EXPECT_EQ(shown(w.emitents(), TfrmOrderDownload::kNumber), QStringLiteral("4,5"));
    w.selectLevel(3);
    EXPECT_EQ(shown(w.emitents(), TfrmOrderDownload::kNumber), QStringLiteral("2,6"));
    w.updateActionsNow();
    for (const char* name : {TfrmOrderDownload::Cmd::actUp, TfrmOrderDownload::Cmd::actDelPriority,
                             TfrmOrderDownload::Cmd::actAddEmitent, TfrmOrderDownload::Cmd::actDeleteEmitent})
        EXPECT_FALSE(w.action(name)->isEnabled()) << name << " on the no-priority level";

    // The only emitent of level 1 leaves it: level 1 goes, the label follows the new last level.
    w.selectLevel(1);
    w.updateActionsNow();
    w.action(TfrmOrderDownload::Cmd::actDeleteEmitent)->trigger();
    EXPECT_EQ(shown(w.levels(), TfrmOrderDownload::kOrderStr), QStringLiteral("1,2 ( ") + noPriority + ")");
    EXPECT_EQ(shown(w.emitents(), TfrmOrderDownload::kNumber), QStringLiteral("4,5"));
    w.btnApplyClick();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(stored("order_download"), QStringLiteral("0;0;1;1;0"));
}

TEST(TfrmOrderDownload, EmitentsAreAddedFromThePickerAndAnEmptyNewLevelIsNotWritten)
{
    REQUIRE_PG();
    EmitentModule m;
    TfrmOrderDownload w(*m.dm); // 1: 1, 8 | 2: 7 | 3: 4, 9
    w.show();
    ScriptedModalRunner runner;
    QStringList offered;
    runner.answer = answerDialog<TfrmEmitentSelection>([&](TfrmEmitentSelection& d) {
        offered << shown(d.list(), TfrmEmitentSelection::kNumber);
        d.action(TfrmEmitentSelection::Cmd::acCheckAll)->trigger();
        d.list()->locate(QString::fromLatin1(TfrmEmitentSelection::kId), 4);
        d.ToggleCurrent(); // only 9 stays ticked
        return int(QDialog::Accepted);
    });
    w.selectLevel(2);
    w.updateActionsNow();
    w.action(TfrmOrderDownload::Cmd::actAddEmitent)->trigger();
    EXPECT_EQ(offered, QStringList{"2,6"});
    EXPECT_EQ(shown(w.emitents(), TfrmOrderDownload::kNumber), QStringLiteral("4,6"));

    w.action(TfrmOrderDownload::Cmd::actAddPriority)->trigger();
    EXPECT_EQ(w.selectedLevel(), 3);
    EXPECT_EQ(w.levels()->recordCount(), 4);
    w.btnApplyClick();
    EXPECT_EQ(stored("order_download"), QStringLiteral("1;0;2;1;2"));
}

TEST(TfrmOrderDownload, CancelAfterAChangeAsksAndAFailurePartWayChangesNothing)
{
    REQUIRE_PG();
    EmitentModule m;
    RecordingPresenter presenter({lang::mrNo, lang::mrYes});
    {
        TfrmOrderDownload w(*m.dm);
        w.show();
        w.btnCancel()->click();
        EXPECT_FALSE(w.isVisible()) << "no change: closes at once";
        EXPECT_EQ(presenter.count(), 0);
    }
    TfrmOrderDownload w(*m.dm);
    w.show();
    w.updateActionsNow();
    w.action(TfrmOrderDownload::Cmd::actDown)->trigger(); // levels 1 and 2 change places
    w.btnCancel()->click();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, lang::tr(u"vrstrOdrDownloadConfMsg"));
    EXPECT_TRUE(w.isVisible()) << "No keeps the edits";
    EXPECT_EQ(w.selectedLevel(), 2);

    {
        RefusedEmitentUpdate refused(m.session(), QStringLiteral("OLD.emitent_id_web = 8"));
        w.btnApplyClick();
    }
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(presenter.count(), 2);
    EXPECT_EQ(stored("order_download"), QStringLiteral("1;0;2;1;0"));
    w.selectLevel(1);
    EXPECT_EQ(shown(w.emitents(), TfrmOrderDownload::kNumber), QStringLiteral("4")) << "edits kept";
    w.btnApplyClick();
    EXPECT_EQ(stored("order_download"), QStringLiteral("2;0;1;2;0"));
}
