#include "ScriptedModalRunner.h"
#include "TfrmSelectEmitent.h"

#include "ClientsTestSupport.h"
#include "DBGrid.h"

#include <QAction>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

EmitentPickList::Row row(int id, QVariant number, QVariant filial, const char* name)
{
    return {id, EmitentPickList::caption(number, filial, QString::fromUtf8(name)), number, filial};
}

} // namespace

TEST(TfrmSelectEmitent, ListsEmitentsByNumberAndFilialWithTheChosenOneCurrent)
{
    clientsTestApp();
    TfrmSelectEmitent picker;
    picker.setRows({row(7, 4, 0, "Балтийская"), row(3, 1, 2, "Юг"), row(6, 3, QVariant(), "Café"),
                    row(1, 1, 0, "Центр"), row(2, 1, 1, "Север")},
                   6);
    EmitentPickList* list = picker.list();
    ASSERT_EQ(list->recordCount(), 5);
    QStringList captions;
    for (int r = 0; r < list->recordCount(); ++r)
        captions << list->value(r, list->fieldIndex("EMITENT")).toString();
    EXPECT_EQ(captions, QStringList({QString::fromUtf8("[1, 0] Центр"), QString::fromUtf8("[1, 1] Север"),
                                     QString::fromUtf8("[1, 2] Юг"), QString::fromUtf8("[3, ] Café"),
                                     QString::fromUtf8("[4, 0] Балтийская")}));
    EXPECT_EQ(picker.selectedEmitentId(), 6);
    EXPECT_EQ(picker.windowTitle(), QString::fromUtf8("Выбор эмитента"));
    EXPECT_EQ(list->fieldByName("EMITENT").displayLabel(), QString::fromUtf8("Эмитент"));
    EXPECT_FALSE(list->fieldByName("EMITENT_ID_WEB").isVisible());
    // find and report work on the list, sort and filter do not
    EXPECT_TRUE(picker.acFind()->isVisible());
    EXPECT_TRUE(picker.acReport()->isVisible());
    EXPECT_FALSE(picker.acSort()->isVisible());
    EXPECT_FALSE(picker.acFilter()->isEnabled());
}

TEST(TfrmSelectEmitent, DoubleClickChoosesAndAnEmptyListChoosesNothing)
{
    clientsTestApp();
    TfrmSelectEmitent picker;
    picker.setRows({row(1, 1, 0, "Центр"), row(4, 2, 0, "Нефтьсервис")}, 1);
    picker.show();
    DBGrid* grid = picker.grid();
    const QRect cell = grid->visualRect(grid->model()->index(1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(picker.selectedEmitentId(), 4);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_EQ(picker.selectedEmitentId(), 4);

    // Through the modal seam on an empty list: OK chooses nothing.
    ScriptedModalRunner runner;
    runner.answer = [](QDialog&) { return int(QDialog::Accepted); };
    EXPECT_FALSE(TfrmSelectEmitent::Pick(nullptr, {}, 1).has_value());
    EXPECT_EQ(runner.dialogs, QStringList{"TfrmSelectEmitent"});
}
