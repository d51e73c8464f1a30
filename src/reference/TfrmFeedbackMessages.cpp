#include "TfrmFeedbackMessages.h"

#include "Catalogue.h"
#include "Clock.h"
#include "DBGrid.h"
#include "DateRangeSelector.h"
#include "DbHelpers.h"
#include "FormEnvironment.h"
#include "JournalColumns.h"
#include "ModalRunner.h"
#include "PeriodTexts.h"
#include "PortalCodec.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "ui_TfrmFeedbackMessages.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QString name(const char* constant)
{
    return QString::fromLatin1(constant);
}

QString join(std::initializer_list<const char*> lines)
{
    QString text;
    for (const char* line : lines)
        text += QString::fromUtf8(line) + QLatin1String("\r\n");
    return text;
}

constexpr int kDefaultDays = 30;
constexpr int kAllTypes = -1;

} // namespace

const QList<framework::ActionRow<TfrmFeedbackMessages>>& TfrmFeedbackMessages::ActionRows()
{
    static const QList<framework::ActionRow<TfrmFeedbackMessages>> rows = {
        {Cmd::acSetFilter,
         u"vrstrEvJrnSetFilter",
         {},
         "view-filter",
         {},
         &TfrmFeedbackMessages::acSetFilterExecute},
    };
    return rows;
}

QString TfrmFeedbackMessages::MessagesSql()
{
    return join({"SELECT v.MESSAGE_NUM,", "       v.MESSAGE_DATE,",
                 "       DECODE(p.PHRASE, NULL, v.type_name, p.PHRASE) AS TYPE_NAME,", "       v.LOGIN_NAME,",
                 "       v.NAME_CLIENT,", "       v.EMAIL_CLIENT,", "       v.EMAIL_ADMIN,",
                 "       v.IP_CLIENT,", "       v.TEXT_MSG", "FROM   &Shema.v_tev_feedback_msg v,",
                 "       &Shema.v_tev_phrases p", "WHERE  p.id(+) = v.type_id",
                 "AND    p.lang_id(+) = :pLangID", "AND    p.type_id(+) = 4",
                 "AND    v.MESSAGE_DATE between :pDateStart and :pDateEnd",
                 "AND    (v.TYPE_ID = :pTypeID or :pTypeID = -1)", "&ORDER &FIELD"});
}

QString TfrmFeedbackMessages::TypesSql()
{
    return join({"SELECT -1 AS type_id, &resAll AS type_name FROM DUAL", "UNION ALL",
                 "SELECT V.type_id, DECODE(p.PHRASE, NULL, v.TYPE_NAME, p.PHRASE)",
                 "FROM   &shema.V_TEV_TYPE_FEEDBACK_MSG V,", "       &shema.V_TEV_PHRASES P",
                 "WHERE  v.TYPE_ID = p.id(+)", "AND    p.TYPE_ID(+) = 4", "AND    p.LANG_ID(+) = :pLang",
                 "&ORDER &FIELD"});
}

TfrmFeedbackMessages::TfrmFeedbackMessages(QWidget* owner, const QString& shema, db::Session* session)
    : TMainBaseForm(owner, shema, session), ui(std::make_unique<Ui::TfrmFeedbackMessages>())
{
    setObjectName(QStringLiteral("frmFeedbackMessages"));
    ui->setupUi(ClientPanel());
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(1000, 620);
    mActions.create(this, ActionRows());
    ui->btnSetFilter->setDefaultAction(acSetFilter());

    db::Query* query = OraQuery1();
    query->setSql(MessagesSql());
    query->setMacro(QStringLiteral("ORDER"), QStringLiteral("ORDER BY"));
    query->setMacro(QStringLiteral("FIELD"), QStringLiteral("message_num"));
    query->paramByName(QStringLiteral("pLangID")).setDataType(db::DataType::Integer);
    query->paramByName(QStringLiteral("pTypeID")).setDataType(db::DataType::Integer);
    query->paramByName(QStringLiteral("pDateStart")).setDataType(db::DataType::DateTime);
    query->paramByName(QStringLiteral("pDateEnd")).setDataType(db::DataType::DateTime);
    query->defineField(name(kTextMsg)).setVisible(false);
    const QString typeName = JournalColumns::addDecoded(*query, name(kTypeName), 33);
    const QString client = JournalColumns::addDecoded(*query, QStringLiteral("NAME_CLIENT"), 37);
    const std::pair<const char*, int> widths[] = {{kMessageNum, 19},   {"MESSAGE_DATE", 25},
                                                  {"LOGIN_NAME", 33},  {"EMAIL_CLIENT", 36},
                                                  {"EMAIL_ADMIN", 40}, {"IP_CLIENT", 27}};
    for (const auto& [field, width] : widths)
        query->defineField(name(field)).setDisplayWidth(width);

    // The type choice: created here, so the base binds it to the session and schema with the list.
    mTypes = new db::Query(this);
    mTypes->setObjectName(QStringLiteral("qryTypes"));
    mTypes->setSql(TypesSql());
    mTypes->setMacro(QStringLiteral("ORDER"), QStringLiteral("ORDER BY"));
    mTypes->setMacro(QStringLiteral("FIELD"), QStringLiteral("type_id"));
    mTypes->paramByName(QStringLiteral("pLang")).setDataType(db::DataType::Integer);

    DBGrid* grid = ui->dbgMessages;
    grid->setFamily(DBGrid::Family::Unicode);
    grid->setDataset(query);
    grid->setColumns({{name(kMessageNum), {}, 0, true},
                      {QStringLiteral("MESSAGE_DATE"), {}, 0, true},
                      {typeName, {}, 0, true},
                      {QStringLiteral("LOGIN_NAME"), {}, 0, true},
                      {client, {}, 0, true},
                      {QStringLiteral("EMAIL_CLIENT"), {}, 0, true},
                      {QStringLiteral("EMAIL_ADMIN"), {}, 0, true},
                      {QStringLiteral("IP_CLIENT"), {}, 0, true}});
    ui->DBNavigator1->setDataset(query);
    for (auto signal : {&db::Dataset::afterScroll, &db::Dataset::afterOpen, &db::Dataset::afterClose,
                        &db::Dataset::rowsReset})
        connect(query, signal, this, &TfrmFeedbackMessages::showText);
    // Choosing another type reads the list at once.
    connect(ui->cbType, &QComboBox::activated, this, &TfrmFeedbackMessages::acSetFilterExecute);
}

TfrmFeedbackMessages::~TfrmFeedbackMessages() = default;

DateRangeSelector* TfrmFeedbackMessages::Period() const
{
    return ui->drsPeriod;
}

QComboBox* TfrmFeedbackMessages::TypeChoice() const
{
    return ui->cbType;
}

DBGrid* TfrmFeedbackMessages::dbgMessages() const
{
    return ui->dbgMessages;
}

RecordNavigator* TfrmFeedbackMessages::DBNavigator1() const
{
    return ui->DBNavigator1;
}

QPlainTextEdit* TfrmFeedbackMessages::MessageText() const
{
    return ui->edText;
}

void TfrmFeedbackMessages::FormShow()
{
    TMainBaseForm::FormShow();
    if (mShown)
        return;
    mShown = true;
    ApplyPeriodTexts(*this);
    setColumnTitles();
    mTypes->setMacro(QStringLiteral("resAll"),
                     QLatin1Char('\'') + QuoteSqlText(lang::tr(u"rstrAll")) + QLatin1Char('\''));
    fillTypes();
    // The whole of the current day, back 30 days from its end.
    const QDateTime end(framework::today(), QTime(23, 59, 59, 999));
    ui->drsPeriod->setPeriod(end.addDays(-kDefaultDays), end);
    acSetFilterExecute();
}

void TfrmFeedbackMessages::fillTypes()
{
    mTypes->close();
    mTypes->setParam(QStringLiteral("pLang"), framework::currentLanguageId());
    mTypes->open();
    ui->cbType->clear();
    for (int row = 0; row < mTypes->recordCount(); ++row)
        ui->cbType->addItem(DecodeUnicodeEscapes(mTypes->value(row, 1).toString()), mTypes->value(row, 0));
    mTypes->close();
    ui->cbType->setCurrentIndex(0);
}

void TfrmFeedbackMessages::acSetFilterExecute()
{
    db::Query* query = OraQuery1();
    ui->dbgMessages->setUpdatesEnabled(false);
    struct Resume
    {
        QWidget* grid;
        ~Resume() { grid->setUpdatesEnabled(true); }
    } resume{ui->dbgMessages};
    const QVariant type = ui->cbType->currentData();
    query->close();
    query->setParam(QStringLiteral("pDateStart"), ui->drsPeriod->begin());
    query->setParam(QStringLiteral("pDateEnd"), ui->drsPeriod->end());
    query->setParam(QStringLiteral("pTypeID"), type.isValid() ? type.toInt() : kAllTypes);
    query->setParam(QStringLiteral("pLangID"), framework::currentLanguageId());
    query->open();
}

void TfrmFeedbackMessages::showText()
{
    db::Query* query = OraQuery1();
    const bool row = query->isOpen() && !query->isEmpty();
    ui->edText->setPlainText(row ? query->asString(name(kTextMsg)) : QString());
}

void TfrmFeedbackMessages::setColumnTitles()
{
    db::Query* query = OraQuery1();
    const std::pair<const char*, const char16_t*> titles[] = {
        {kMessageNum, u"vrstrFeedbackNumber"},     {"MESSAGE_DATE", u"vrstrFeedbackDate"},
        {"TYPE_NAME_ANSI", u"vrstrFeedbackType"},  {"LOGIN_NAME", u"rstrLogin"},
        {"NAME_CLIENT_ANSI", u"rstrNameOfClient"}, {"EMAIL_CLIENT", u"vrstrClientEmail"},
        {"EMAIL_ADMIN", u"vrstrAdmninEmail"},      {"IP_CLIENT", u"vrstrSenderIP"}};
    for (const auto& [field, key] : titles)
        query->defineField(name(field)).setDisplayLabel(lang::tr(key));
    ui->dbgMessages->horizontalHeader()->viewport()->update();
}

void TfrmFeedbackMessages::SetupCaptions()
{
    TMainBaseForm::SetupCaptions();
    const QString caption = lang::tr(u"vrstrUserMessages");
    setWindowTitle(caption);
    ui->dbgMessages->setHint(caption);
    const std::pair<QAction*, const char16_t*> actions[] = {
        {pFirst(), u"rstrFirstRec"}, {pPrev(), u"rstrPriorRec"},       {pNext(), u"rstrNextRec"},
        {pLast(), u"rstrLastRec"},   {pRefresh(), u"rstrRefreshData"}, {pFind(), u"rstrFind"},
        {pSort(), u"rstrSort"},      {pFilter(), u"rstrFilter"},       {pReport(), u"rstrReport"}};
    for (const auto& [action, key] : actions) {
        action->setText(lang::tr(key));
        action->setToolTip(lang::tr(key));
    }
    mActions.applyTexts();
    ui->lblType->setText(lang::tr(u"vrstrFeedbackType") + QLatin1Char(':'));
    ui->gbText->setTitle(lang::tr(u"vrstrFeedbackText"));
    OkBtn()->setText(lang::tr(u"rstrExitShort"));
}

void TfrmFeedbackMessages::SetupNavigatorHints(RecordNavigator* navigator)
{
    navigator->setHints({lang::tr(u"rstrFirstRec"), lang::tr(u"rstrPriorRec"), lang::tr(u"rstrNextRec"),
                         lang::tr(u"rstrLastRec"), QString(), QString(), QString(), QString(), QString(),
                         lang::tr(u"rstrRefreshData")});
    navigator->setShowHints(true);
}

void ShowFeedbackMessages(QWidget* owner, db::Session* session, const QString& shema)
{
    TfrmFeedbackMessages window(owner, shema, session);
    window.ensureCreated();
    framework::execModal(window);
}
