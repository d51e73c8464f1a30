// The request viewer on the portal: the four views united, state and limit texts from the
// catalogue (also with apostrophes), the filter groups over the rows read.
#include "TfmDRRequest.h"

#include "JournalsTestSupport.h"
#include "TTranslator.h"

#include <QFile>
#include <QRadioButton>

namespace {

// Opens the viewer for an emitent, as the main window does.
std::unique_ptr<TfmDRRequest> openViewer(JournalsTest& t, db::Session* session, const QString& shema,
                                         int emitent)
{
    auto w = std::make_unique<TfmDRRequest>(nullptr, shema, session, emitent);
    w->ensureCreated();
    w->show();
    return w;
}

QString cell(db::Dataset& d, const QString& key, const QVariantList& values, const QString& field)
{
    if (!d.locate(key, values))
        return QStringLiteral("<no row>");
    return d.isNull(field) ? QStringLiteral("<null>") : d.asString(field);
}

bool visible(db::Dataset& d, int id, int kind)
{
    for (int row = 0; row < d.recordCount(); ++row)
        if (d.value(row, d.fieldIndex("DR_REQUEST_ID")).toInt() == id &&
            d.value(row, d.fieldIndex("CHANGE_TYPE")).toInt() == kind)
            return true;
    return false;
}

} // namespace

class TfmDRRequestTest : public JournalsTest
{
protected:
    // A request of one view by state; the emitent it belongs to comes with it.
    std::pair<int, int> request(const QString& view, const QString& idColumn, const QString& where)
    {
        const QString id = adminValue(
            QStringLiteral("select %1 from tev.%2 where %3 order by 1 limit 1").arg(idColumn, view, where));
        const QString emitent = adminValue(
            QStringLiteral("select wbc_emitent_id from tev.%1 where %2 = %3").arg(view, idColumn, id));
        return {id.toInt(), emitent.toInt()};
    }
};

TEST_F(TfmDRRequestTest, StatesAndLimitsAsTheViewsGiveThem)
{
    const auto [opState6, emitent] =
        request("v_tev_dr_request", "dr_request_id", "send_oc = 1 and request_state_id = 6");
    ASSERT_GT(opState6, 0);
    auto w = openViewer(*this, session(), shema(), emitent);
    db::Query& q = *w->OraQuery1();
    ASSERT_GT(q.recordCount(), 0);
    const QString key = "DR_REQUEST_ID;CHANGE_TYPE";
    const QString state = "REQUEST_STATE_NAME_ANSI";

    // The validity period shows days.
    ASSERT_TRUE(q.locate(key, {opState6, 0}));
    const QVariant begin = q.value("DATE_BEGIN");
    EXPECT_EQ(q.fieldByName("DATE_BEGIN").displayText(begin), begin.toDateTime().toString("dd.MM.yyyy"));

    // ОП in state 6 reads as sent, but the filter lists it under refused.
    EXPECT_EQ(cell(q, key, {opState6, 0}, state), QString::fromUtf8("Отправлена"));
    w->StateItems()[1]->click();
    EXPECT_FALSE(visible(q, opState6, 0));
    w->StateItems()[3]->click();
    EXPECT_TRUE(visible(q, opState6, 0));
    for (int row = 0; row < q.recordCount(); ++row)
        EXPECT_TRUE(q.value(row, q.fieldIndex("REQUEST_STATE_ID")).toInt() == 4 ||
                    q.value(row, q.fieldIndex("REQUEST_STATE_ID")).toInt() == 6);
    w->StateItems().last()->click();
    EXPECT_EQ(q.filter(), QString());

    // Every row of the emitent comes from one of the four views, and each kind is there.
    const int total =
        adminValue(QStringLiteral(
                       "select (select count(*) from tev.v_tev_dr_request where wbc_emitent_id = %1) + "
                       "(select count(*) from tev.v_tev_dd_request where wbc_emitent_id = %1) + "
                       "(select count(*) from tev.v_tev_oil_request where wbc_emitent_id = %1) + "
                       "(select count(*) from tev.v_tev_onl_limit_card_request where wbc_emitent_id = %1)")
                       .arg(emitent))
            .toInt();
    EXPECT_EQ(q.recordCount(), total);

    // A request not yet sent is "Создана" whatever its state; another view's state 6 is refused.
    for (int row = 0; row < q.recordCount(); ++row) {
        const int sent = q.value(row, q.fieldIndex("SEND_OC")).toInt();
        const int st = q.value(row, q.fieldIndex("REQUEST_STATE_ID")).toInt();
        const int kind = q.value(row, q.fieldIndex("CHANGE_TYPE")).toInt();
        const QString text = q.value(row, q.fieldIndex(state)).toString();
        SCOPED_TRACE(QString("kind %1 sent %2 state %3").arg(kind).arg(sent).arg(st).toStdString());
        if (sent == 0) {
            EXPECT_EQ(text, QString::fromUtf8("Создана"));
        } else if (st == 6) {
            EXPECT_EQ(text, QString::fromUtf8(kind == 0 ? "Отправлена" : "Отклонена"));
        } else if (st == 7) {
            EXPECT_EQ(text, QString::fromUtf8("Не определено"));
        }
    }
}

TEST_F(TfmDRRequestTest, OnlineLimitOfCountsShowsItsKindLimitsAndNoPeriod)
{
    const auto [id, emitent] =
        request("v_tev_onl_limit_card_request", "request_id", "limit_type_id = 1 and daily_limit is null");
    ASSERT_GT(id, 0);
    auto w = openViewer(*this, session(), shema(), emitent);
    db::Query& q = *w->OraQuery1();
    const QString key = "DR_REQUEST_ID;CHANGE_TYPE";
    EXPECT_EQ(cell(q, key, {id, 3}, "SERVICE_NAME_ANSI"), QString::fromUtf8("Количество обслуживаний"));
    const QString limits = adminValue(
        QStringLiteral("select coalesce(weekly_limit::text, '') || '/' || coalesce(monthly_limit::text, '') "
                       "from tev.v_tev_onl_limit_card_request where request_id = %1")
            .arg(id));
    EXPECT_EQ(cell(q, key, {id, 3}, "AMOUNT"), "/" + limits);
    EXPECT_EQ(cell(q, key, {id, 3}, "DATE_BEGIN"), "<null>");
    EXPECT_EQ(cell(q, key, {id, 3}, "DATE_END"), "<null>");
}

TEST_F(TfmDRRequestTest, EmitentWithoutRequestsStaysEmptyUnderEveryFilter)
{
    auto w = openViewer(*this, session(), shema(), 987654);
    db::Query& q = *w->OraQuery1();
    EXPECT_TRUE(q.isOpen());
    for (QRadioButton* kind : w->KindItems())
        for (QRadioButton* state : w->StateItems()) {
            kind->click();
            state->click();
            EXPECT_EQ(q.recordCount(), 0);
        }
}

TEST_F(TfmDRRequestTest, CatalogueTextsWithApostrophesReachTheQueryAsLiterals)
{
    QFile file(console->folder.path() + "/DEDAdize_eng.ini");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[TITLE]\r\nrstrLangName=English\r\nrstrLangId=9\r\n\r\n[WORDS]\r\n"
               "vrstrDRState0=Didn't go\r\nvrstrDRState1=Sent'\r\nvrstrDRState3=O'Accepted\r\n"
               "vrstrDRState4=Won''t do\r\nvrstrNotFound='\r\nvrstrOnlLimitType0=Count o' services\r\n"
               "vrstrOnlLimitType1=Sum\r\n");
    file.close();
    lang::TTranslator::instance().FindLanguages(QStringLiteral("DEDAdize"));
    lang::TTranslator::instance().SetLanguage(9);
    struct Back
    {
        ~Back() { lang::TTranslator::instance().SetLanguage(25); }
    } back;

    const auto [id, emitent] =
        request("v_tev_onl_limit_card_request", "request_id", "limit_type_id = 1 and send_oc = 0");
    auto w = openViewer(*this, session(), shema(), emitent);
    db::Query& q = *w->OraQuery1();
    int created = 0;
    for (int row = 0; row < q.recordCount(); ++row) {
        const int sent = q.value(row, q.fieldIndex("SEND_OC")).toInt();
        const int st = q.value(row, q.fieldIndex("REQUEST_STATE_ID")).toInt();
        const QString text = q.value(row, q.fieldIndex("REQUEST_STATE_NAME_ANSI")).toString();
        if (sent == 0) {
            ++created;
            EXPECT_EQ(text, "Didn't go");
        } else if (st <= 2) {
            EXPECT_EQ(text, "Sent'");
        } else if (st == 3 || st == 5) {
            EXPECT_EQ(text, "O'Accepted");
        } else if (st == 4) {
            // A pair already doubled stays one pair in the literal.
            EXPECT_EQ(text, "Won't do");
        } else if (st == 7) {
            EXPECT_EQ(text, "'");
        }
    }
    EXPECT_GT(created, 0);
    EXPECT_EQ(cell(q, "DR_REQUEST_ID;CHANGE_TYPE", {id, 3}, "SERVICE_NAME_ANSI"), "Count o' services");
    EXPECT_EQ(w->windowTitle(), lang::tr(u"vrstrRequestsViewer"));
}
