#include "TfmTrnTypes.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "Package.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "ReferenceQueries.h"
#include "ReferenceRules.h"
#include "ReferenceSupport.h"
#include "Session.h"
#include "SharedQueries.h"
#include "TdmMain.h"

#include <QToolBar>
#include <QVBoxLayout>

using T = ReferenceQueries::TrnTypes;

namespace {

QString name(const char* field)
{
    return QString::fromLatin1(field);
}

} // namespace

const QList<framework::ActionRow<TfmTrnTypes>>& TfmTrnTypes::ActionRows()
{
    static const QList<framework::ActionRow<TfmTrnTypes>> rows = {
        {Cmd::acChangeMark, u"rstrChangeMark", {}, "view-refresh", {}, &TfmTrnTypes::acChangeMarkExecute},
    };
    return rows;
}

TfmTrnTypes::TfmTrnTypes(TdmMain& dm, QWidget* owner) : TfmMainTEV(owner), mDm(dm)
{
    setObjectName(QStringLiteral("fmTrnTypes"));
    mActions.create(this, ActionRows());
    auto* toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(toolBar, {Cmd::acChangeMark});

    mGrid = new DBGrid(DBGrid::Family::Standard, this);
    mGrid->setObjectName(QStringLiteral("grdTrnTypes"));
    mGrid->setOptions(DBGrid::readOnlyOptions());
    mGrid->setDataset(list());
    mGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    mActions.addTo(mGrid, {Cmd::acChangeMark, framework::ActionTable::kSeparator});
    gridActions().addTo(mGrid, {TfmMainTEV::Cmd::acFind, TfmMainTEV::Cmd::acSort, TfmMainTEV::Cmd::acFilter});

    mNavigator = new RecordNavigator(this);
    mNavigator->setObjectName(QStringLiteral("DBNavigator1"));
    mNavigator->setDataset(list());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(toolBar);
    layout->addWidget(mNavigator);
    layout->addWidget(mGrid, 1);
    resize(640, 520);

    ensureCreated();
    mGrid->setCellClickHook([this](int, int column) {
        const db::Field* field = mGrid->columnField(column);
        if (field && field->name().compare(name(T::kVisible), Qt::CaseInsensitive) == 0)
            SwapVisibility();
    });
}

TfmTrnTypes::~TfmTrnTypes() = default;

db::Query* TfmTrnTypes::list() const
{
    return mDm.queries().oquTrnTypes;
}

void TfmTrnTypes::SetupCaptions()
{
    TfmMainTEV::SetupCaptions();
    setWindowTitle(lang::tr(u"rstrTrnTypes"));
    mActions.applyTexts();
    mGrid->setHint(lang::tr(u"rstrTrnTypes"));
    mGrid->setColumns({{name(T::kNameShown), lang::tr(u"rstrName"), 380, true},
                       {name(T::kVisible), lang::tr(u"rstrVisibility"), 80, true},
                       {name(T::kMark), lang::tr(u"rstrMark"), 60, true}});
}

void TfmTrnTypes::FormShow()
{
    db::Query* q = list();
    q->setRefreshSql(name(T::kRefreshSql));
    q->close();
    q->open();
    mGrid->setFocus();
}

void TfmTrnTypes::done(int result)
{
    list()->close();
    TfmMainTEV::done(result);
}

void TfmTrnTypes::ActionsUpdate()
{
    acChangeMark()->setEnabled(list()->isOpen() && !list()->isEmpty());
}

void TfmTrnTypes::SwapVisibility()
{
    db::Query* q = list();
    if (!q->isOpen() || q->isEmpty() || !q->takesLocalEdits() || q->currentRow() < 0)
        return;
    const QVariant number = q->value(name(T::kNumber));
    const QVariant emitent =
        q->paramByName(QString::fromLatin1(SharedQueries::EmitentData::kEmitentParam)).value();
    try {
        q->refreshRecord();
        if (q->isEmpty() || !q->locate(name(T::kNumber), number))
            return;
        const int value = reference::SwapFlag(int(q->asInteger(name(T::kVisible))));
        q->edit();
        q->setValue(name(T::kVisible), value);
        q->post();
        reference::InOneTransaction(*mDm.session(), [&] {
            mDm.queries().TEV_UTILS->execProc(QStringLiteral("UPDATE_TRNTYPE"), {number, value, emitent});
        });
    } catch (...) {
        try {
            if (q->isOpen() && q->locate(name(T::kNumber), number))
                q->refreshRecord();
        } catch (...) {
        }
        throw;
    }
}

void TfmTrnTypes::acChangeMarkExecute()
{
    db::Query* q = list();
    if (!q->isOpen() || q->isEmpty())
        return;
    const QVariant number = q->value(name(T::kNumber));
    reference::InOneTransaction(*mDm.session(), [&] {
        mDm.queries().TEV_UTILS->execProc(QStringLiteral("change_mark_of_trntype"), {number});
    });
    q->refresh();
    q->locate(name(T::kNumber), number);
}
