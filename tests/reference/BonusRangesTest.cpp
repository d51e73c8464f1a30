// Bonus ranges on the tev portal: writes committed only when the portal takes them, result codes
// shown as their messages, the range dialog refusing what the parameters cannot hold.
#include "BonusRangeResult.h"
#include "Catalogue.h"
#include "JournalsTestSupport.h"
#include "StoredProc.h"
#include "TADBonusRanges.h"
#include "TfmADBonusRanges.h"
#include "TfmADRangesModify.h"

#include <QLineEdit>
#include <limits>

TEST(BonusRangeResult, MessagesOfTheResultCodes)
{
    const struct
    {
        const char* name;
        int code;
        const char16_t* key;
    } cases[] = {{"done", 0, nullptr},
                 {"not valid", 1, u"rstrWrongRange"},
                 {"overlap", 2, u"rstrRangeCrossing"},
                 {"other error", 3, u"rstrError"},
                 {"unknown code", 4, nullptr},
                 {"negative code", -1, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BonusRangeResultMessage(c.code), c.key ? lang::tr(c.key) : QString());
    }
}

TEST(TfmADRangesModify, BordersFitThe32BitParameters)
{
    const QLocale ru(QLocale::Russian);
    const struct
    {
        const char* name;
        QString text;
        std::optional<int> value;
    } cases[] = {
        {"plain", "1000", 1000},
        {"thousands separated by blanks", "1 000 000", 1000000},
        {"Russian group separator", ru.toString(1234567), 1234567},
        {"fraction rounded", "2,6", 3},
        {"negative", "-5", -5},
        {"largest", "2147483647", std::numeric_limits<int>::max()},
        {"one past the largest", "2147483648", std::nullopt},
        {"smallest", "-2147483648", std::numeric_limits<int>::min()},
        {"far too large", "9999999999", std::nullopt},
        {"empty", "", std::nullopt},
        {"blanks only", "   ", std::nullopt},
        {"no number", "-", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TfmADRangesModify::ParseWhole(c.text, ru), c.value);
    }
}

TEST(TfmADRangesModify, ApplyRefusesEmptyAndOversizedFields)
{
    RecordingPresenter presenter;
    TfmADRangesModify d;
    d.FromEdit()->setText("10");
    d.ToEdit()->setText("");
    d.PercentEdit()->setText("1.5");
    d.accept();
    EXPECT_EQ(d.result(), 0);
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_TRUE(presenter.last().text.startsWith(lang::tr(u"vrstrMandatoryFieldNotFilled")));
    d.ToEdit()->setText("3000000000");
    d.accept();
    EXPECT_EQ(d.result(), 0);
    EXPECT_EQ(presenter.last().text, lang::tr(u"rstrWrongRange"));
    d.ToEdit()->setText("2 000");
    d.accept();
    EXPECT_EQ(d.result(), int(QDialog::Accepted));
    EXPECT_EQ(d.From(), 10);
    EXPECT_EQ(d.To(), 2000);
    EXPECT_DOUBLE_EQ(d.Percent(), 1.5);
}

class BonusRangesTest : public JournalsTest
{
protected:
    int rangesOf(int type) const
    {
        return adminValue(QString("select count(*) from tev.tev_ad_ranges where bonus_type = %1").arg(type))
            .toInt();
    }
};

TEST_F(BonusRangesTest, AddOverlapEditDeleteThroughTheWindow)
{
    adminValue("delete from tev.tev_ad_ranges where bonus_type = 1");
    RecordingPresenter presenter;
    ScriptedModalRunner runner;
    TPopravkaBonusRanges ranges(session(), shema());
    TfmADBonusRanges w(ranges);
    EXPECT_EQ(w.windowTitle(), lang::tr(u"rstrBonusRanges") + " (" + lang::tr(u"rstrPopravka") + ")");
    db::StoredProc& list = *ranges.List();
    EXPECT_EQ(list.recordCount(), 0);

    // Edit and delete on an empty list do nothing.
    w.action(TfmADBonusRanges::Cmd::acEditRange)->trigger();
    w.action(TfmADBonusRanges::Cmd::acDeleteRange)->trigger();
    EXPECT_TRUE(runner.dialogs.isEmpty());

    auto fill = [&](const QString& from, const QString& to, const QString& percent) {
        runner.answer = answerDialog<TfmADRangesModify>([=](TfmADRangesModify& d) {
            d.FromEdit()->setText(from);
            d.ToEdit()->setText(to);
            d.PercentEdit()->setText(percent);
            d.accept();
            return d.result();
        });
    };
    fill("100", "199", "2.5");
    w.action(TfmADBonusRanges::Cmd::acAddRange)->trigger();
    EXPECT_EQ(runner.titles.last(), lang::tr(u"rstrAddRange"));
    EXPECT_EQ(presenter.count(), 0);
    EXPECT_EQ(list.recordCount(), 1);
    // Committed: another connection sees it.
    auto other = PgFixture::instance().connect("tev_operator");
    db::Query seen(other.get());
    seen.setSql("select count(*) from tev.v_tev_ad_ranges where bonus_type = 1 and left_range_border = 100");
    seen.open();
    EXPECT_EQ(seen.value(0, 0).toInt(), 1);

    // An overlapping range: "Пересечение диапазонов" and no row.
    fill("150", "300", "1");
    w.action(TfmADBonusRanges::Cmd::acAddRange)->trigger();
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, lang::tr(u"rstrRangeCrossing"));
    EXPECT_EQ(rangesOf(1), 1);
    // Editing fills the dialog from the row and writes the new borders.
    runner.answer = answerDialog<TfmADRangesModify>([](TfmADRangesModify& d) {
        EXPECT_EQ(TfmADRangesModify::ParseWhole(d.FromEdit()->text()), 100);
        d.ToEdit()->setText("250");
        d.accept();
        return d.result();
    });
    w.action(TfmADBonusRanges::Cmd::acEditRange)->trigger();
    EXPECT_EQ(runner.titles.last(), lang::tr(u"rstrEditRange"));
    seen.close();
    seen.setSql("select right_range_border from tev.v_tev_ad_ranges where bonus_type = 1");
    seen.open();
    EXPECT_EQ(seen.value(0, 0).toInt(), 250);

    // An unknown range: code 3, "Ошибка", the list re-read.
    const QString id = list.asString(TADBonusRanges::kIdField);
    EXPECT_EQ(ranges.UpdateRange("999999", 1, 2, 0), 3);
    EXPECT_EQ(ranges.UpdateRange(id, 5, 1, 0), 1);

    // Delete at once, without a question.
    const int before = presenter.count();
    w.action(TfmADBonusRanges::Cmd::acDeleteRange)->trigger();
    EXPECT_EQ(presenter.count(), before);
    EXPECT_EQ(list.recordCount(), 0);
    EXPECT_EQ(rangesOf(1), 0);
}

TEST_F(BonusRangesTest, KindsShareTheWindowAndDifferInTheirType)
{
    TPrMesBonusRanges prmes(session(), shema());
    TPopravkaBonusRanges popravka(session(), shema());
    EXPECT_EQ(prmes.BonusType(), 0);
    EXPECT_EQ(popravka.BonusType(), 1);
    EXPECT_EQ(prmes.List()->recordCount(), rangesOf(0));
    const int code = prmes.InsertRange(2000000000, 2100000000, 7.25);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(rangesOf(0), adminValue("select count(*) from tev.tev_ad_ranges where bonus_type = 0").toInt());
    EXPECT_EQ(adminValue("select percent from tev.tev_ad_ranges where left_range_border = 2000000000"),
              "7.25");
    EXPECT_TRUE(prmes.List()->locate(TADBonusRanges::kLeftField, 2000000000));
}
