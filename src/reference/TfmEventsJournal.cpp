#include "TfmEventsJournal.h"

#include "Catalogue.h"
#include "Clock.h"
#include "DBGrid.h"
#include "DateRangeSelector.h"
#include "FormEnvironment.h"
#include "JournalColumns.h"
#include "ModalRunner.h"
#include "PeriodTexts.h"
#include "PortalCodec.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "ui_TfmEventsJournal.h"

#include <QAction>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QString name(const char* constant)
{
    return QString::fromLatin1(constant);
}

// The period is moved with the selector; the list is read only on "Задать фильтр".
constexpr int kDefaultDays = 30;

} // namespace

const QList<framework::ActionRow<TfmEventsJournal>>& TfmEventsJournal::ActionRows()
{
    static const QList<framework::ActionRow<TfmEventsJournal>> rows = {
        {Cmd::acSetFilter,
         u"vrstrEvJrnSetFilter",
         {},
         "view-filter",
         {},
         &TfmEventsJournal::acSetFilterExecute},
    };
    return rows;
}

QString TfmEventsJournal::JournalSql()
{
    static const char* const lines[] = {
        "SELECT EJ.JOURNAL_ID,",
        "       EJ.EVENT_TYPE_ID,",
        "       &SHEMA.TEV_UTILS.TRANS_TEXT(EJ.EVENT_TYPE_NAME, :pLangId, 1) AS EVENT_TYPE_NAME,",
        "       EJ.JOURNAL_DATE,",
        "       EJ.USER_NAME,",
        "       &SHEMA.TEV_UTILS.TRANS_TEXT(EJ.PARAM_NAME, :pLangId, 1) AS PARAM_NAME,",
        "       &SHEMA.TEV_UTILS.TRANS_TEXT(EJ.PARAM_VALUE_BEFORE, :pLangId, 1, null, 0) AS "
        "PARAM_VALUE_BEFORE,",
        "       &SHEMA.TEV_UTILS.TRANS_TEXT(EJ.PARAM_VALUE_AFTER, :pLangId, 1, null, 0) AS "
        "PARAM_VALUE_AFTER,",
        "       EJ.OBJECT_NAME,",
        "       EJ.EMITENT_ID,",
        "       EJ.FILIAL_ID,",
        "       EJ.CLN_TYPE,",
        "       DECODE(EJ.CLN_TYPE, 1, &SHEMA.TEV_UTILS.TRANS_TEXT('Фирма', :pLangId, 1),",
        "                           2, &SHEMA.TEV_UTILS.TRANS_TEXT('ЧЛ', :pLangId, 1), NULL) AS "
        "CLN_TYPE_STR,",
        "       &SHEMA.TEV_UTILS.TRANS_TEXT(EJ.OWNER_NAME, :pLangId, 1, null, 0) AS OWNER_NAME",
        "FROM   &SHEMA.V_TEV_EVENTS_JOURNAL EJ",
        "WHERE  EJ.JOURNAL_DATE BETWEEN :pDateBegin AND :pDateEnd",
        "&ORDER &FIELD"};
    QString text;
    for (const char* line : lines)
        text += QString::fromUtf8(line) + QLatin1String("\r\n");
    return text;
}

TfmEventsJournal::TfmEventsJournal(QWidget* owner, const QString& shema, db::Session* session)
    : TMainBaseForm(owner, shema, session), ui(std::make_unique<Ui::TfmEventsJournal>())
{
    setObjectName(QStringLiteral("fmEventsJournal"));
    ui->setupUi(ClientPanel());
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(1000, 620);
    mActions.create(this, ActionRows());
    ui->btnSetFilter->setDefaultAction(acSetFilter());

    db::Query* query = OraQuery1();
    query->setSql(JournalSql());
    query->setMacro(QStringLiteral("ORDER"), QStringLiteral("ORDER BY"));
    query->setMacro(QStringLiteral("FIELD"), QStringLiteral("journal_date"));
    query->paramByName(QStringLiteral("pLangId")).setDataType(db::DataType::Integer);
    query->paramByName(QStringLiteral("pDateBegin")).setDataType(db::DataType::DateTime);
    query->paramByName(QStringLiteral("pDateEnd")).setDataType(db::DataType::DateTime);
    for (const char* hidden :
         {"JOURNAL_ID", "EVENT_TYPE_ID", "CLN_TYPE", "CLN_TYPE_STR", kValueBefore, kValueAfter})
        query->defineField(name(hidden)).setVisible(false);
    const QString eventType = JournalColumns::addDecoded(*query, QStringLiteral("EVENT_TYPE_NAME"), 40);
    const QString param = JournalColumns::addDecoded(*query, QStringLiteral("PARAM_NAME"), 40);
    const QString ownerName = JournalColumns::addDecoded(*query, QStringLiteral("OWNER_NAME"), 40);
    const std::pair<const char*, int> widths[] = {
        {kJournalDate, 18}, {"USER_NAME", 10}, {"OBJECT_NAME", 10}, {"EMITENT_ID", 10}, {"FILIAL_ID", 10}};
    for (const auto& [field, width] : widths)
        query->defineField(name(field)).setDisplayWidth(width);

    DBGrid* grid = ui->dbgJournal;
    grid->setFamily(DBGrid::Family::Unicode);
    grid->setDataset(query);
    grid->setColumns({{eventType, {}, 0, true},
                      {name(kJournalDate), {}, 0, true},
                      {QStringLiteral("USER_NAME"), {}, 0, true},
                      {QStringLiteral("EMITENT_ID"), {}, 0, true},
                      {QStringLiteral("FILIAL_ID"), {}, 0, true},
                      {ownerName, {}, 0, true},
                      {QStringLiteral("OBJECT_NAME"), {}, 0, true},
                      {param, {}, 0, true}});
    ui->DBNavigator1->setDataset(query);
    connect(query, &db::Dataset::afterScroll, this, &TfmEventsJournal::showDetail);
    connect(query, &db::Dataset::afterOpen, this, &TfmEventsJournal::showDetail);
    connect(query, &db::Dataset::afterClose, this, &TfmEventsJournal::showDetail);
    connect(query, &db::Dataset::rowsReset, this, &TfmEventsJournal::showDetail);

    const QDateTime now = framework::now();
    ui->drsPeriod->setPeriod(now.addDays(-kDefaultDays), now);
}

TfmEventsJournal::~TfmEventsJournal() = default;

DateRangeSelector* TfmEventsJournal::Period() const
{
    return ui->drsPeriod;
}

DBGrid* TfmEventsJournal::dbgJournal() const
{
    return ui->dbgJournal;
}

RecordNavigator* TfmEventsJournal::DBNavigator1() const
{
    return ui->DBNavigator1;
}

QPlainTextEdit* TfmEventsJournal::BeforeValue() const
{
    return ui->edBefore;
}

QPlainTextEdit* TfmEventsJournal::AfterValue() const
{
    return ui->edAfter;
}

void TfmEventsJournal::FormShow()
{
    TMainBaseForm::FormShow();
    if (mShown)
        return;
    mShown = true;
    acSetFilterExecute();
    setColumnTitles();
    ApplyPeriodTexts(*this);
}

void TfmEventsJournal::acSetFilterExecute()
{
    db::Query* query = OraQuery1();
    ui->dbgJournal->setUpdatesEnabled(false);
    struct Resume
    {
        QWidget* grid;
        ~Resume() { grid->setUpdatesEnabled(true); }
    } resume{ui->dbgJournal};
    query->close();
    query->setParam(QStringLiteral("pLangId"), framework::currentLanguageId());
    query->setParam(QStringLiteral("pDateBegin"), ui->drsPeriod->begin());
    query->setParam(QStringLiteral("pDateEnd"), ui->drsPeriod->end());
    query->open();
}

void TfmEventsJournal::showDetail()
{
    db::Query* query = OraQuery1();
    const bool row = query->isOpen() && !query->isEmpty();
    ui->edBefore->setPlainText(row ? DecodeUnicodeEscapes(query->asString(name(kValueBefore))) : QString());
    ui->edAfter->setPlainText(row ? DecodeUnicodeEscapes(query->asString(name(kValueAfter))) : QString());
}

void TfmEventsJournal::setColumnTitles()
{
    db::Query* query = OraQuery1();
    const std::pair<const char*, QString> titles[] = {{"EVENT_TYPE_NAME_ANSI", lang::tr(u"vrstrEvJrnType")},
                                                      {kJournalDate, lang::tr(u"rstrDateTime")},
                                                      {"USER_NAME", lang::tr(u"vrstrEvJrnUser")},
                                                      {"PARAM_NAME_ANSI", lang::tr(u"vrstrEvJrnParam")},
                                                      {"OBJECT_NAME", lang::tr(u"vrstrEvJrnObject")},
                                                      {"EMITENT_ID", lang::tr(u"rstrEmitent")},
                                                      {"FILIAL_ID", lang::tr(u"rstrBranch")},
                                                      {"OWNER_NAME_ANSI", lang::tr(u"vrstrEvJrnOwner")}};
    for (const auto& [field, title] : titles)
        query->defineField(name(field)).setDisplayLabel(title);
    ui->dbgJournal->horizontalHeader()->viewport()->update();
}

void TfmEventsJournal::SetupCaptions()
{
    TMainBaseForm::SetupCaptions();
    const QString caption = lang::tr(u"vrstrEventsJrn");
    setWindowTitle(caption);
    ui->dbgJournal->setHint(caption);
    const std::pair<QAction*, const char16_t*> actions[] = {
        {pFirst(), u"rstrFirstRec"}, {pPrev(), u"rstrPriorRec"},       {pNext(), u"rstrNextRec"},
        {pLast(), u"rstrLastRec"},   {pRefresh(), u"rstrRefreshData"}, {pFind(), u"rstrFind"},
        {pSort(), u"rstrSort"},      {pFilter(), u"rstrFilter"},       {pReport(), u"rstrReport"}};
    for (const auto& [action, key] : actions) {
        action->setText(lang::tr(key));
        action->setToolTip(lang::tr(key));
    }
    mActions.applyTexts();
    ui->gbDetail->setTitle(lang::tr(u"vrstrEvJrnDetail"));
    ui->lblBefore->setText(lang::tr(u"vrstrEvJrnBeforeVal"));
    ui->lblAfter->setText(lang::tr(u"vrstrEvJrnAfterVal"));
    OkBtn()->setText(lang::tr(u"rstrExitShort"));
}

void TfmEventsJournal::SetupNavigatorHints(RecordNavigator* navigator)
{
    navigator->setHints({lang::tr(u"rstrFirstRec"), lang::tr(u"rstrPriorRec"), lang::tr(u"rstrNextRec"),
                         lang::tr(u"rstrLastRec"), QString(), QString(), QString(), QString(), QString(),
                         lang::tr(u"rstrRefreshData")});
    navigator->setShowHints(true);
}

void ShowEventsJournal(QWidget* owner, db::Session* session, const QString& shema)
{
    TfmEventsJournal window(owner, shema, session);
    window.ensureCreated();
    framework::execModal(window);
}
