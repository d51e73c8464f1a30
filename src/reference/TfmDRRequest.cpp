#include "TfmDRRequest.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "FormEnvironment.h"
#include "IDBGrid.h"
#include "JournalColumns.h"
#include "ModalRunner.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "ui_TfmDRRequest.h"

#include <QAction>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace {

using Q = DRRequestQuery;

QString name(const char* constant)
{
    return QString::fromLatin1(constant);
}

// A title over two lines: broken at the blank nearest its middle.
QString twoLines(const QString& title)
{
    if (title.contains(QLatin1Char('\n')))
        return title;
    int best = -1;
    for (int i = 0; i < title.size(); ++i)
        if (title[i] == QLatin1Char(' ') &&
            (best < 0 || qAbs(i - title.size() / 2) < qAbs(best - title.size() / 2)))
            best = i;
    if (best < 0)
        return title;
    QString broken = title;
    broken[best] = QLatin1Char('\n');
    return broken;
}

template <class E> E itemOf(const QList<QRadioButton*>& items)
{
    for (int i = 0; i < items.size(); ++i)
        if (items[i]->isChecked())
            return E(i);
    return E(items.size() - 1);
}

} // namespace

TfmDRRequest::TfmDRRequest(QWidget* owner, const QString& shema, db::Session* session, int emitentId)
    : TMainBaseForm(owner, shema, session), ui(std::make_unique<Ui::TfmDRRequest>()), mEmitentId(emitentId)
{
    setObjectName(QStringLiteral("fmDRRequest"));
    ui->setupUi(ClientPanel());
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(1100, 600);

    db::Query* query = OraQuery1();
    Q::Setup(*query);
    for (const char* hidden : {Q::kChangeType, Q::kPetrolType, Q::kStateId, Q::kSendOc})
        query->defineField(name(hidden)).setVisible(false);
    const std::pair<const char*, int> widths[] = {
        {Q::kChangeTypeStr, 3}, {Q::kRequestId, 5},  {Q::kDateOf, 18}, {Q::kCardNumber, 10},
        {Q::kAmount, 5},        {Q::kDateBegin, 10}, {Q::kDateEnd, 10}};
    for (const auto& [field, width] : widths)
        query->defineField(name(field)).setDisplayWidth(width);
    JournalColumns::addDecoded(*query, name(Q::kClientName), 40);
    JournalColumns::addDecoded(*query, name(Q::kServiceName), 15);
    JournalColumns::addDecoded(*query, name(Q::kStateName), 15);
    JournalColumns::addDecoded(*query, name(Q::kCancelCause), 30);
    query->defineField(name(Q::kDateBegin)).setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    query->defineField(name(Q::kDateEnd)).setDisplayFormat(QStringLiteral("dd.MM.yyyy"));

    DBGrid* grid = ui->dbgRequests;
    grid->setFamily(DBGrid::Family::Unicode);
    grid->setDataset(query);
    // Shown columns in their order, widths in characters.
    const QString ansi = QStringLiteral("_ANSI");
    const std::pair<QString, int> shown[] = {{name(Q::kChangeTypeStr), 3},
                                             {name(Q::kRequestId), 5},
                                             {name(Q::kDateOf), 18},
                                             {name(Q::kClientName) + ansi, 40},
                                             {name(Q::kCardNumber), 10},
                                             {name(Q::kServiceName) + ansi, 15},
                                             {name(Q::kAmount), 5},
                                             {name(Q::kDateBegin), 10},
                                             {name(Q::kDateEnd), 10},
                                             {name(Q::kStateName) + ansi, 15},
                                             {name(Q::kCancelCause) + ansi, 30}};
    const int charWidth = grid->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    QList<DBGrid::Column> columns;
    for (const auto& [field, chars] : shown)
        columns.append({field, {}, chars * charWidth + 12, true});
    grid->setColumns(columns);
    // Titles take two lines.
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->horizontalHeader()->setMinimumHeight(2 * grid->fontMetrics().height() + 8);
    // The window paints its rows in their kind's colour; this hook stays in charge of the grid.
    grid->setDrawCellHook([this](const DrawCellContext& cell) { return DrawRequestCell(cell); });

    ui->DBNavigator1->setDataset(query);

    const QColor legend[] = {*Q::KindColor(0), *Q::KindColor(1), *Q::KindColor(2), *Q::KindColor(3)};
    QLabel* squares[] = {ui->lblKindColor0, ui->lblKindColor1, ui->lblKindColor2, ui->lblKindColor3};
    for (int i = 0; i < 4; ++i) {
        QPalette p = squares[i]->palette();
        p.setColor(QPalette::Window, legend[i]);
        squares[i]->setPalette(p);
    }

    for (QWidget* box : {static_cast<QWidget*>(ui->rgRequestType), static_cast<QWidget*>(ui->rgClientsType),
                         static_cast<QWidget*>(ui->rgReqStatus), static_cast<QWidget*>(ui->gbLegend)})
        box->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    // Every group starts at "Все".
    for (const auto& items : {KindItems(), ClientTypeItems(), StateItems()}) {
        items.last()->setChecked(true);
        for (QRadioButton* item : items)
            connect(item, &QAbstractButton::clicked, this, &TfmDRRequest::ApplyFilter);
    }
}

TfmDRRequest::~TfmDRRequest() = default;

DBGrid* TfmDRRequest::dbgRequests() const
{
    return ui->dbgRequests;
}

RecordNavigator* TfmDRRequest::DBNavigator1() const
{
    return ui->DBNavigator1;
}

QList<QRadioButton*> TfmDRRequest::KindItems() const
{
    return {ui->rbRequestType4, ui->rbRequestType2, ui->rbRequestType5, ui->rbRequestType3};
}

QList<QRadioButton*> TfmDRRequest::ClientTypeItems() const
{
    return {ui->rbClientsType0, ui->rbClientsType1, ui->rbClientsType2};
}

QList<QRadioButton*> TfmDRRequest::StateItems() const
{
    return {ui->rbReqStatus0, ui->rbReqStatus1, ui->rbReqStatus2, ui->rbReqStatus3, ui->rbReqStatus4};
}

QString TfmDRRequest::CurrentFilter() const
{
    return Q::FilterText(itemOf<Q::Kind>(KindItems()), itemOf<Q::ClientType>(ClientTypeItems()),
                         itemOf<Q::State>(StateItems()));
}

void TfmDRRequest::FormShow()
{
    TMainBaseForm::FormShow();
    db::Query* query = OraQuery1();
    query->close();
    query->setParam(name(Q::kLangParam), framework::currentLanguageId());
    query->setParam(name(Q::kEmitentParam), mEmitentId);
    query->open();
    setColumnTitles();
}

void TfmDRRequest::ApplyFilter()
{
    db::Query* query = OraQuery1();
    query->setFilter(CurrentFilter());
    query->setFiltered(true);
}

void TfmDRRequest::setColumnTitles()
{
    db::Query* query = OraQuery1();
    const QString period = lang::tr(u"vrstrDRPeriodOfValidity");
    const std::pair<QString, QString> titles[] = {
        {name(Q::kRequestId), lang::tr(u"rstrNumber")},
        {name(Q::kChangeTypeStr), lang::tr(u"rstrType")},
        {name(Q::kClientName) + QStringLiteral("_ANSI"), lang::tr(u"vrstrClientName")},
        {name(Q::kCardNumber), lang::tr(u"vrstrCrdNumber")},
        {name(Q::kServiceName) + QStringLiteral("_ANSI"), lang::tr(u"vrstrNumberService")},
        {name(Q::kAmount), lang::tr(u"vrstrAmount")},
        {name(Q::kDateOf), lang::tr(u"vrstrDateOfCreateDR")},
        {name(Q::kStateName) + QStringLiteral("_ANSI"), lang::tr(u"rstrState")},
        {name(Q::kCancelCause) + QStringLiteral("_ANSI"), lang::tr(u"vrstrCanselCause")},
        // The common heading of the period stands above both of its columns.
        {name(Q::kDateBegin), period + QLatin1Char('\n') + lang::tr(u"vrstrDRFrom")},
        {name(Q::kDateEnd), period + QLatin1Char('\n') + lang::tr(u"vrstrDRTo")}};
    for (const auto& [field, title] : titles)
        query->defineField(field).setDisplayLabel(twoLines(title));
    // A column is at least as wide as the longer line of its title.
    DBGrid* grid = ui->dbgRequests;
    const QFontMetrics metrics = grid->horizontalHeader()->fontMetrics();
    for (int column = 0; column < grid->gridColumnCount(); ++column) {
        const db::Field* field = grid->columnField(column);
        if (!field)
            continue;
        int needed = 0;
        for (const QString& line : field->displayLabel().split(QLatin1Char('\n')))
            needed = qMax(needed, metrics.horizontalAdvance(line) + 16);
        if (grid->columnWidth(column) < needed)
            grid->setColumnWidth(column, needed);
    }
    grid->horizontalHeader()->viewport()->update();
}

void TfmDRRequest::SetupCaptions()
{
    TMainBaseForm::SetupCaptions();
    const QString caption = lang::tr(u"vrstrRequestsViewer");
    setWindowTitle(caption);
    ui->dbgRequests->setHint(caption);
    const std::pair<QAction*, const char16_t*> actions[] = {
        {pFirst(), u"rstrFirstRec"}, {pPrev(), u"rstrPriorRec"},       {pNext(), u"rstrNextRec"},
        {pLast(), u"rstrLastRec"},   {pRefresh(), u"rstrRefreshData"}, {pFind(), u"rstrFind"},
        {pSort(), u"rstrSort"},      {pFilter(), u"rstrFilter"},       {pReport(), u"rstrReport"}};
    for (const auto& [action, key] : actions) {
        action->setText(lang::tr(key));
        action->setToolTip(lang::tr(key));
    }
    const std::pair<QWidget*, const char16_t*> texts[] = {
        {ui->rgRequestType, u"vrstrrgRequestType"},   {ui->rbRequestType4, u"vrstrrgRequestType4"},
        {ui->rbRequestType2, u"vrstrrgRequestType2"}, {ui->rbRequestType5, u"vrstrrgRequestType5"},
        {ui->rbRequestType3, u"vrstrrgRequestType3"}, {ui->rgClientsType, u"vrstrrgClientsType"},
        {ui->rbClientsType0, u"vrstrrgClientsType0"}, {ui->rbClientsType1, u"vrstrrgClientsType1"},
        {ui->rbClientsType2, u"vrstrrgClientsType2"}, {ui->rgReqStatus, u"vrstrDRreqStatus"},
        {ui->rbReqStatus0, u"vrstrDRreqStatus0"},     {ui->rbReqStatus1, u"vrstrDRreqStatus1"},
        {ui->rbReqStatus2, u"vrstrDRreqStatus2"},     {ui->rbReqStatus3, u"vrstrDRreqStatus3"},
        {ui->rbReqStatus4, u"vrstrDRreqStatus4"},     {ui->gbLegend, u"rstrLegend"},
        {ui->lblKind0, u"vrstrrgRequestType0"},       {ui->lblKind1, u"vrstrrgRequestType1"},
        {ui->lblKind2, u"vrstrrgRequestType2"},       {ui->lblKind3, u"vrstrrgRequestType5"}};
    for (const auto& [widget, key] : texts) {
        if (auto* box = qobject_cast<QGroupBox*>(widget))
            box->setTitle(lang::tr(key).trimmed());
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(lang::tr(key));
        else if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(lang::tr(key));
    }
    OkBtn()->setText(lang::tr(u"rstrExitShort"));
    Q::SetTextMacros(*OraQuery1());
}

void TfmDRRequest::SetupNavigatorHints(RecordNavigator* navigator)
{
    navigator->setHints({lang::tr(u"rstrFirstRec"), lang::tr(u"rstrPriorRec"), lang::tr(u"rstrNextRec"),
                         lang::tr(u"rstrLastRec"), QString(), QString(), QString(), QString(), QString(),
                         lang::tr(u"rstrRefreshData")});
    navigator->setShowHints(true);
}

bool TfmDRRequest::DrawRequestCell(const DrawCellContext& cell)
{
    db::Query* query = OraQuery1();
    if (!query->isOpen() || cell.row < 0 || cell.row >= query->recordCount())
        return false;
    const int kindColumn = query->fieldIndex(name(Q::kChangeType));
    const std::optional<QColor> colour = Q::KindColor(query->value(cell.row, kindColumn));
    if (!colour)
        return false;
    QPainter* p = cell.painter;
    p->save();
    p->fillRect(cell.rect, *colour);
    const QModelIndex index = ui->dbgRequests->model()->index(cell.row, cell.column);
    p->setPen(ui->dbgRequests->palette().color(QPalette::WindowText));
    const QRect text = cell.rect.adjusted(3, 0, -3, 0);
    p->drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                p->fontMetrics().elidedText(index.data().toString(), Qt::ElideRight, text.width()));
    if (cell.state & QStyle::State_Selected) {
        // The current row keeps its colour; a frame shows where it is.
        p->setPen(QPen(ui->dbgRequests->palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p->drawRect(cell.rect.adjusted(0, 0, -1, -1));
    }
    p->restore();
    return true;
}

void ShowDRRequests(QWidget* owner, db::Session* session, const QString& shema, int emitentId)
{
    TfmDRRequest window(owner, shema, session, emitentId);
    window.ensureCreated();
    framework::execModal(window);
}
