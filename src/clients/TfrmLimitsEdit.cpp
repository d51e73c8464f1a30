#include "TfrmLimitsEdit.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "ErrorText.h"
#include "IDBGrid.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "Package.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "Session.h"
#include "SharedQueries.h"
#include "TdmMain.h"
#include "TfrmLimitEdit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>
#include <stdexcept>

namespace {
const QColor kDefaultValueColour(221, 221, 221);
constexpr char kServiceIdWeb[] = "SERVICE_ID_WEB";
} // namespace

const QList<framework::ActionRow<TfrmLimitsEdit>>& TfrmLimitsEdit::ActionRows()
{
    static const QList<framework::ActionRow<TfrmLimitsEdit>> rows = {
        {Cmd::actEditMaxLimit,
         u"vrstrEditMaxLimits",
         {},
         "document-edit",
         {},
         &TfrmLimitsEdit::actEditMaxLimitExecute},
        {Cmd::actLoadDefaults,
         u"vrstrLoadEmitentSettings",
         {},
         "document-revert",
         {},
         &TfrmLimitsEdit::actLoadDefaultsExecute},
    };
    return rows;
}

TfrmLimitsEdit::TfrmLimitsEdit(TdmMain& dm, Mode mode, int id, QWidget* owner)
    : TTevBaseForm(owner), mDm(dm), mMode(mode), mId(id)
{
    setObjectName(QStringLiteral("TfrmLimitsEdit"));
    SharedQueries& q = mDm.queries();
    mQuery = mMode == Mode::Client ? q.oqMaxLimitsClient : q.oqMaxLimitsEmitent;
    mActions.create(this, ActionRows());
    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(tools, {Cmd::actEditMaxLimit, Cmd::actLoadDefaults});
    mNavigator = new RecordNavigator(this);
    mGrid = new DBGrid(this);
    mGrid->setObjectName(QStringLiteral("grdLimits"));
    mGrid->setOptions(DBGrid::readOnlyOptions() | GridOption::RowSelect);
    QList<DBGrid::Column> columns;
    for (const QString& field : SharedQueries::displayColumns(mQuery->objectName()))
        columns.append({field, QString(), field == QLatin1String("SERVICE_NAME_ANSI") ? 260 : 130, true});
    mGrid->setColumns(columns);
    mNote = new QLabel(this);
    mSwatch = new QLabel(this);
    mSwatch->setFixedSize(24, 14);
    mSwatch->setAutoFillBackground(true);
    QPalette swatch = mSwatch->palette();
    swatch.setColor(QPalette::Window, kDefaultValueColour);
    mSwatch->setPalette(swatch);
    mSwatch->setFrameShape(QFrame::Box);
    mLegend = new QLabel(this);
    mClose = new QPushButton(this);

    auto* top = new QHBoxLayout;
    top->addWidget(tools);
    top->addStretch();
    top->addWidget(mNavigator);
    auto* legend = new QHBoxLayout;
    legend->addWidget(mSwatch);
    legend->addWidget(mLegend);
    legend->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(mNote);
    bottom->addStretch();
    bottom->addWidget(mClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(mGrid);
    layout->addLayout(legend);
    layout->addLayout(bottom);
    connect(mClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(mGrid, &QAbstractItemView::doubleClicked, this, [this] { actEditMaxLimit()->trigger(); });

    const bool client = mMode == Mode::Client;
    actLoadDefaults()->setVisible(client);
    mSwatch->setVisible(client);
    mLegend->setVisible(client);

    mQuery->close();
    mQuery->setParam(QString::fromLatin1(client ? "pClientIDWeb" : "pEmitentIDWeb"), mId);
    mQuery->open();
    mGrid->setDataset(mQuery);
    mNavigator->setDataset(mQuery);
    resize(820, 420);
    ensureCreated();
}

TfrmLimitsEdit::~TfrmLimitsEdit() = default;

void TfrmLimitsEdit::SetupCaptions()
{
    setWindowTitle(lang::tr(mMode == Mode::Client ? u"vrstrClientMaxLimits" : u"vrstrEmitentMaxLimits"));
    mNote->setText(lang::tr(u"vrstrNullValueMeans"));
    mLegend->setText(QStringLiteral("- ") + lang::tr(u"vrtsrEmitentsValues"));
    mClose->setText(lang::tr(u"rstrClose"));
    mActions.applyTexts();
}

void TfrmLimitsEdit::done(int result)
{
    mGrid->setDataset(nullptr);
    mNavigator->setDataset(nullptr);
    mQuery->close();
    TTevBaseForm::done(result);
}

bool TfrmLimitsEdit::isDefaultRow(int row) const
{
    if (mMode != Mode::Client || !mQuery->isOpen() || row < 0 || row >= mQuery->recordCount())
        return false;
    for (const char* f : {"IS_DAY_DEF_VAL", "IS_WEEK_DEF_VAL", "IS_MONTH_DEF_VAL"})
        if (mQuery->value(row, mQuery->fieldIndex(QString::fromLatin1(f))).toInt() == 1)
            return true;
    return false;
}

bool TfrmLimitsEdit::DrawGridCell(DBGrid& grid, const DrawCellContext& cell)
{
    if (&grid == mGrid && cell.painter && isDefaultRow(cell.row) &&
        !cell.state.testFlag(QStyle::State_Selected)) {
        cell.painter->fillRect(cell.rect, kDefaultValueColour);
        return false;
    }
    return TTevBaseForm::DrawGridCell(grid, cell);
}

void TfrmLimitsEdit::refreshAt(const QVariant& serviceId)
{
    mQuery->refresh();
    mQuery->locate(QString::fromLatin1(kServiceIdWeb), serviceId);
}

void TfrmLimitsEdit::actEditMaxLimitExecute()
{
    if (!mQuery->isOpen() || mQuery->isEmpty())
        return;
    const char* key = mQuery->value(QStringLiteral("SERVICE_ID")).toInt() == 1 ? "COST_DECIMAL_COUNT"
                                                                               : "AMOUNT_DECIMAL_COUNT";
    bool ok = false;
    const int decimals = mDm.GetConfigValue(QString::fromLatin1(key)).trimmed().toInt(&ok);
    if (!ok)
        throw std::runtime_error(QStringLiteral("'%1' is not a valid integer value")
                                     .arg(mDm.GetConfigValue(QString::fromLatin1(key)))
                                     .toStdString());
    const QVariant service = mQuery->value(QString::fromLatin1(kServiceIdWeb));
    const LimitValues current{mQuery->value(QStringLiteral("MAX_DAY_LIMIT")).toDouble(),
                              mQuery->value(QStringLiteral("MAX_WEEK_LIMIT")).toDouble(),
                              mQuery->value(QStringLiteral("MAX_MONTH_LIMIT")).toDouble()};
    const std::optional<LimitValues> values =
        EditLimitValues(this, decimals, mQuery->value(QStringLiteral("SERVICE_NAME_ANSI")).toString(),
                        current, mQuery->value(QStringLiteral("IS_CURRENCY")).toInt() == 1);
    if (values) {
        db::Session* session = mDm.session();
        db::Package* pkg = mDm.queries().TEV_UTILS;
        try {
            session->startTransaction();
            if (mMode == Mode::Emitent)
                pkg->execProc(QStringLiteral("upd_emitent_max_limit"),
                              {service, values->day, values->week, values->month});
            else
                pkg->execProc(QStringLiteral("upd_client_max_limit"),
                              {mId, service, values->day, values->week, values->month});
            session->commit();
        } catch (const std::exception& e) {
            if (session->connected())
                session->rollback();
            lang::ShowMsgBox(this, lang::tr(u"vrstrLimitsEditError") + QStringLiteral(":  ") + ErrorText(e),
                             1);
        }
    }
    refreshAt(service);
}

void TfrmLimitsEdit::actLoadDefaultsExecute()
{
    const QVariant service = mQuery->isOpen() && !mQuery->isEmpty()
                                 ? mQuery->value(QString::fromLatin1(kServiceIdWeb))
                                 : QVariant();
    db::Session* session = mDm.session();
    try {
        session->startTransaction();
        mDm.queries().TEV_UTILS->execProc(QStringLiteral("load_max_limits_defaults"), {mId});
        session->commit();
    } catch (...) {
        if (session->connected())
            session->rollback();
        throw;
    }
    refreshAt(service);
}

void TfrmLimitsEdit::ShowClientLimits(TdmMain& dm, int clientId, QWidget* owner)
{
    TfrmLimitsEdit window(dm, Mode::Client, clientId, owner);
    framework::execModal(window);
}

void TfrmLimitsEdit::ShowEmitentLimits(TdmMain& dm, int emitentId, QWidget* owner)
{
    TfrmLimitsEdit window(dm, Mode::Emitent, emitentId, owner);
    framework::execModal(window);
}
