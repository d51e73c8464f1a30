// The feedback messages on the portal: "Все" and the types (phrase or own name), the whole of the
// last day, the text of the current message.
#include "TfrmFeedbackMessages.h"

#include "Clock.h"
#include "DateRangeSelector.h"
#include "JournalsTestSupport.h"

#include <QComboBox>
#include <QPlainTextEdit>

TEST_F(JournalsTest, FeedbackMessagesByTypeOverTheWholeLastDay)
{
    // A type without any phrase, messages on the period's bounds.
    const int type =
        adminValue("insert into tev.tev_type_feedback_msg (type_name) values ('Type w/o phrase') "
                   "returning type_id")
            .toInt();
    const int other = adminValue("select min(type_id) from tev.tev_type_feedback_msg").toInt();
    adminValue(
        QString("insert into tev.tev_feedback_msg (message_date, type_id, login_name, name_client, text_msg) "
                "values ('2018-05-10 23:59:59', %1, 'late', 'Caf\\u00E9', 'line 1\r\nline 2'), "
                "('2018-04-10 00:00:00', %2, 'early', 'x', 'first'), "
                "('2018-05-11 00:00:00', %1, 'tomorrow', 'x', 'later')")
            .arg(type)
            .arg(other));
    framework::FixedClock clock(QDateTime(QDate(2018, 5, 10), QTime(9, 30)));
    const framework::Clock* previous = framework::setClock(&clock);

    TfrmFeedbackMessages w(nullptr, shema(), session());
    w.ensureCreated();
    w.show();
    EXPECT_EQ(w.Period()->end(), QDateTime(QDate(2018, 5, 10), QTime(23, 59, 59, 999)));
    EXPECT_EQ(w.Period()->begin(), QDateTime(QDate(2018, 4, 10), QTime(23, 59, 59, 999)));
    // "Все" first, then every type; a type without a phrase under its own name.
    QComboBox* types = w.TypeChoice();
    EXPECT_EQ(types->currentIndex(), 0);
    EXPECT_EQ(types->itemText(0), lang::tr(u"rstrAll"));
    EXPECT_EQ(types->itemData(0).toInt(), -1);
    const int typeIndex = types->findData(type);
    ASSERT_GT(typeIndex, 0);
    EXPECT_EQ(types->itemText(typeIndex), "Type w/o phrase");

    db::Query& q = *w.OraQuery1();
    EXPECT_EQ(columnOf(q, "LOGIN_NAME"), QStringList({"late"}));
    EXPECT_EQ(q.asString("NAME_CLIENT_ANSI"), QString::fromUtf8("Café"));
    EXPECT_TRUE(w.MessageText()->toPlainText().startsWith("line 1"));
    EXPECT_TRUE(w.MessageText()->toPlainText().endsWith("line 2"));

    // Choosing a type reads at once; the period as it stands is read on "Задать фильтр".
    w.Period()->setPeriod(QDateTime(QDate(2018, 4, 10), QTime(0, 0)),
                          QDateTime(QDate(2018, 5, 11), QTime(0, 0)));
    types->setCurrentIndex(types->findData(other));
    emit types->activated(types->currentIndex());
    EXPECT_EQ(columnOf(q, "LOGIN_NAME"), QStringList({"early"}));
    types->setCurrentIndex(0);
    w.acSetFilter()->trigger();
    EXPECT_EQ(columnOf(q, "LOGIN_NAME"), QStringList({"late", "early", "tomorrow"}));
    framework::setClock(previous);
}
