#include "TfmTEVWebReports.h"

#include "Catalogue.h"
#include "Clock.h"
#include "DateRangeSelector.h"
#include "FileOpener.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "ReportCatalogue.h"
#include "ReportRules.h"
#include "TEXLTEVBaseReport.h"
#include "TfmTEVReportWithoutData.h"
#include "ui_TfmTEVWebReports.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

const std::vector<TfmTEVWebReports::ActionRow>& TfmTEVWebReports::actionRows()
{
    static const std::vector<ActionRow> rows = {
        {"actShowReport", u"rstrViewReport", "Ctrl+V", &TfmTEVWebReports::actShowReportExecute},
        {"actCheckAll", u"rstrCheckAll", "Ctrl+C", &TfmTEVWebReports::checkAll},
        {"actUncheckAll", u"rstrUnCheckAll", "Ctrl+U", &TfmTEVWebReports::uncheckAll},
        {"actRevertAll", u"rstrInvertCheck", "Ctrl+I", &TfmTEVWebReports::revertAll},
        {"actClose", u"rstrClose", "Alt+F4", &TfmTEVWebReports::closeWindow},
    };
    return rows;
}

TfmTEVWebReports::TfmTEVWebReports(QWidget* owner, const QString& shema, db::Session* session)
    : TComBaseForm(owner), ui(std::make_unique<Ui::TfmTEVWebReports>()), mShema(shema), mSession(session)
{
    setObjectName(QStringLiteral("TfmTEVWebReports"));
    mToolBar = new QToolBar(ClientPanel());
    mBody = new QWidget(ClientPanel());
    mToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const ActionRow& row : actionRows()) {
        auto* a = new QAction(this);
        a->setObjectName(QString::fromLatin1(row.name));
        a->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, row.handler);
        addAction(a);
        mToolBar->addAction(a);
    }

    ui->setupUi(mBody);
    mList = ui->lbReports;
    mPages = ui->pcParams;
    mPageBoxes = {ui->gbCountVisits, ui->gbCountClients, ui->gbLogins};
    mStates = {ui->rbAll, ui->rbSubscribe, ui->rbInvited};
    mStateBox = ui->rgState;
    mGroup = ui->cbGroupByClient;
    mPeriodGroup = ui->gbPeriod;
    mPeriod = ui->frPeriod;
    mList->viewport()->installEventFilter(this);
    for (int n = 0; n < reports::kReportCount; ++n) {
        auto* item = new QListWidgetItem(mList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    const auto [begin, end] = reports::defaultPeriod(framework::today());
    mPeriod->setPeriod(begin, end);

    auto* layout = new QVBoxLayout(ClientPanel());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mToolBar);
    layout->addWidget(mBody);

    connect(mList, &QListWidget::currentRowChanged, this, &TfmTEVWebReports::selectReport);
    mList->setCurrentRow(0);
    resize(720, 360);
}

TfmTEVWebReports::~TfmTEVWebReports() = default;

void TfmTEVWebReports::Execute(QWidget* owner, const QString& shema, db::Session* session)
{
    TfmTEVWebReports window(owner, shema, session);
    framework::execModal(window);
}

QAction* TfmTEVWebReports::action(const QString& name) const
{
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

void TfmTEVWebReports::FormCreate()
{
    selectReport(mList->currentRow());
}

void TfmTEVWebReports::SetupCaptions()
{
    setWindowTitle(lang::tr(u"rstrReports"));
    for (const ActionRow& row : actionRows()) {
        QAction* a = action(QString::fromLatin1(row.name));
        a->setText(lang::tr(row.captionKey));
        a->setToolTip(a->text());
        a->setStatusTip(a->text());
    }
    for (int n = 0; n < reports::kReportCount; ++n) {
        mList->item(n)->setText(reports::reportTitle(n));
        mPageBoxes[n]->setTitle(QLatin1Char(' ') + reports::reportTitle(n) + QLatin1Char(' '));
    }
    ui->lblNoParams0->setText(lang::tr(u"rstrNoParams"));
    ui->lblNoParams1->setText(lang::tr(u"rstrNoParams"));
    mStateBox->setTitle(lang::tr(u"rstrState"));
    mStates[0]->setText(lang::tr(u"rstrAll"));
    mStates[1]->setText(lang::tr(u"rstrSubscribe"));
    mStates[2]->setText(lang::tr(u"rstrInvited"));
    mGroup->setText(lang::tr(u"vrstrGroupByClient"));
    mPeriodGroup->setTitle(lang::tr(u"rstrPeriod"));
    textSources().setText(TextSources::Day, lang::tr(u"vrstrDay"));
    textSources().setText(TextSources::Month, lang::tr(u"vrstrMonth"));
    textSources().setText(TextSources::Quarter, lang::tr(u"vrstrQuarter"));
    textSources().setText(TextSources::Year, lang::tr(u"vrstrYear"));
    TComBaseForm::SetupCaptions();
}

bool TfmTEVWebReports::eventFilter(QObject* watched, QEvent* event)
{
    // The wheel moves the selection one entry per notch and stops at the ends.
    if (watched == mList->viewport() && event->type() == QEvent::Wheel) {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        const int steps = delta / 120;
        if (steps != 0)
            mList->setCurrentRow(qBound(0, mList->currentRow() - steps, mList->count() - 1));
        return true;
    }
    return TComBaseForm::eventFilter(watched, event);
}

bool TfmTEVWebReports::isChecked(int number) const
{
    return mList->item(number)->checkState() == Qt::Checked;
}

void TfmTEVWebReports::setChecked(int number, bool on)
{
    mList->item(number)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

void TfmTEVWebReports::selectReport(int number)
{
    if (number < 0)
        return;
    mPages->setCurrentIndex(number);
    mPeriodGroup->setVisible(reports::reportEntry(number).hasPeriod);
}

void TfmTEVWebReports::checkAll()
{
    for (int n = 0; n < mList->count(); ++n)
        setChecked(n, true);
}

void TfmTEVWebReports::uncheckAll()
{
    for (int n = 0; n < mList->count(); ++n)
        setChecked(n, false);
}

void TfmTEVWebReports::revertAll()
{
    for (int n = 0; n < mList->count(); ++n)
        setChecked(n, !isChecked(n));
}

void TfmTEVWebReports::closeWindow()
{
    reject();
}

void TfmTEVWebReports::actShowReportExecute()
{
    const QDateTime begin = mPeriod->begin();
    const QDateTime end = mPeriod->end();
    if (begin > end) {
        lang::ShowMsgBox(this, lang::tr(u"rstrBeginGreaterThanEnd"), 2);
        return;
    }
    bool any = false;
    for (int n = 0; n < mList->count(); ++n)
        any = any || isChecked(n);
    if (!any) {
        lang::ShowMsgBox(this, lang::tr(u"rstrNoCheckedReports"), 2);
        return;
    }

    mWithoutData.clear();
    mFiles.clear();
    for (int n = 0; n < mList->count(); ++n) {
        if (!isChecked(n))
            continue;
        reports::ReportRequest request;
        request.number = n;
        if (reports::reportEntry(n).hasPeriod) {
            request.begin = begin;
            request.end = end;
        }
        for (int c = 0; c < mStates.size(); ++c)
            if (mStates[c]->isChecked())
                request.clientState = reports::loginStateFilter(c);
        request.groupByClient = mGroup->isChecked();
        // Errors pass on to the application's error display and stop the run at this report.
        std::unique_ptr<TEXLTEVBaseReport> report = reports::createReport(request, mShema, mSession);
        if (!report->build()) {
            mWithoutData.append(report->caption());
            continue;
        }
        mFiles.append(report->outputFile());
        if (!framework::openWithDesktop(report->outputFile()))
            lang::ShowMsgBox(this, reports::notOpenedText(report->outputFile()), 2);
    }
    showWithoutData();
}

void TfmTEVWebReports::showWithoutData()
{
    if (mWithoutData.isEmpty())
        return;
    TfmTEVReportWithoutData list(reports::noDataText(mWithoutData), this);
    framework::execModal(list);
}
