#include "TfmADBonusRanges.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "FormEnvironment.h"
#include "ModalRunner.h"
#include "RecordNavigator.h"
#include "StoredProc.h"
#include "TADBonusRanges.h"

#include <QAction>
#include <QHBoxLayout>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

namespace {

constexpr int kRangeWidth = 184;
constexpr int kPercentWidth = 117;

} // namespace

const QList<framework::ActionRow<TfmADBonusRanges>>& TfmADBonusRanges::ActionRows()
{
    using W = TfmADBonusRanges;
    static const QList<framework::ActionRow<W>> rows = {
        {Cmd::acAddRange, u"rstrAdd", {}, "list-add", {}, [](W& w) { w.mRanges.AddRange(&w); }},
        {Cmd::acEditRange, u"rstrChange", {}, "document-edit", {}, [](W& w) { w.mRanges.EditRange(&w); }},
        {Cmd::acDeleteRange, u"rstrDelete", {}, "list-remove", {}, [](W& w) { w.mRanges.DeleteRange(); }},
    };
    return rows;
}

TfmADBonusRanges::TfmADBonusRanges(TADBonusRanges& ranges, QWidget* parent) : QDialog(parent), mRanges(ranges)
{
    setObjectName(QStringLiteral("fmADBonusRanges"));
    mActions.create(this, ActionRows());
    mActions.applyTexts();

    db::StoredProc* list = ranges.List();
    list->defineField(QString::fromLatin1(TADBonusRanges::kRangeField))
        .setDisplayLabel(lang::tr(u"rstrRange"));
    list->defineField(QString::fromLatin1(TADBonusRanges::kPercentField))
        .setDisplayLabel(lang::tr(u"rstrPercent"));
    mGrid = new DBGrid(this);
    mGrid->setObjectName(QStringLiteral("dbgRanges"));
    mGrid->setDataset(list);
    mGrid->setColumns({{QString::fromLatin1(TADBonusRanges::kRangeField), {}, kRangeWidth, true},
                       {QString::fromLatin1(TADBonusRanges::kPercentField), {}, kPercentWidth, true}});
    mGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    mGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    mGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(mGrid, &QAbstractItemView::doubleClicked, action(Cmd::acEditRange), &QAction::trigger);

    mNavigator = new RecordNavigator(this);
    mNavigator->setObjectName(QStringLiteral("DBNavigator1"));
    mNavigator->setDataset(list);
    mNavigator->setHints({lang::tr(u"rstrFirstRec"), lang::tr(u"rstrPriorRec"), lang::tr(u"rstrNextRec"),
                          lang::tr(u"rstrLastRec"), QString(), QString(), QString(), QString(), QString(),
                          lang::tr(u"rstrRefreshData")});

    auto* buttons = new QHBoxLayout;
    for (const char* name : {Cmd::acAddRange, Cmd::acEditRange, Cmd::acDeleteRange}) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("btn") + QString::fromLatin1(name).mid(2));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setDefaultAction(action(name));
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(mGrid);
    layout->addWidget(mNavigator);

    setWindowTitle(lang::tr(u"rstrBonusRanges") + QStringLiteral(" (") + ranges.KindName() +
                   QLatin1Char(')'));
    setFixedSize(kRangeWidth + kPercentWidth + 120, 380);
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

TfmADBonusRanges::~TfmADBonusRanges() = default;

void ShowBonusRanges(QWidget* owner, db::Session* session, const QString& shema, int bonusType)
{
    std::unique_ptr<TADBonusRanges> ranges;
    if (bonusType == 0)
        ranges = std::make_unique<TPrMesBonusRanges>(session, shema);
    else
        ranges = std::make_unique<TPopravkaBonusRanges>(session, shema);
    TfmADBonusRanges window(*ranges, owner);
    framework::execModal(window);
}
