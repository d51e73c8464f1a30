#include "TfmSelectGroupForNews.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "NewsQueries.h"
#include "PortalCodec.h"
#include "SharedQueries.h"
#include "StoredProc.h"
#include "TdmMain.h"
#include "TfmSubscriberSelect.h"

#include <QAction>
#include <QHeaderView>
#include <QPushButton>
#include <QToolBar>

using GL = NewsQueries::GroupList;

namespace {

QString name(const char* field)
{
    return QString::fromLatin1(field);
}

} // namespace

const QList<framework::ActionRow<TfmSelectGroupForNews>>& TfmSelectGroupForNews::ActionRows()
{
    static const QList<framework::ActionRow<TfmSelectGroupForNews>> rows = {
        {Cmd::acSelectSubscriber,
         u"vrstrSelectSubscriber",
         {},
         "system-users",
         {},
         &TfmSelectGroupForNews::acSelectSubscriberExecute},
    };
    return rows;
}

TfmSelectGroupForNews::TfmSelectGroupForNews(TdmMain& dm, QWidget* owner)
    : TfrmMainTevBaseSelect(owner), mDm(dm)
{
    setObjectName(QStringLiteral("fmSelectGroupForNews"));
    mActions.create(this, ActionRows());
    // After the tick commands, before the list tools.
    QAction* firstTool = ToolBar()->actions().value(4);
    ToolBar()->insertAction(firstTool, action(Cmd::acSelectSubscriber));
    ToolBar()->insertSeparator(firstTool);
    SetListDataset(mDm.queries().ospGetGroupList);
    grdList()->horizontalHeader()->setStretchLastSection(true);
    disconnect(btnOk(), &QPushButton::clicked, this, &QDialog::accept);
    connect(btnOk(), &QPushButton::clicked, this, &TfmSelectGroupForNews::ApplyClick);
    resize(960, 460);
    ensureCreated();
}

TfmSelectGroupForNews::~TfmSelectGroupForNews() = default;

void TfmSelectGroupForNews::SetupCaptions()
{
    TfrmMainTevBaseSelect::SetupCaptions();
    setWindowTitle(lang::tr(u"vrstrSelectGroupCaption"));
    mActions.applyTexts();
    btnOk()->setText(lang::tr(u"rstrApply"));
    btnCancel()->setText(lang::tr(u"rstrCancel"));
    grdList()->setColumns({{name(GL::kCheck), lang::tr(u"vrstrSelect"), 0, true},
                           {name(GL::kNameShown), lang::tr(u"rstrName"), 0, true}});
    grdList()->setHint(lang::tr(u"vrstrSelectGroupCaption"));
}

void TfmSelectGroupForNews::ActionsUpdate()
{
    db::Dataset* ds = ListDataset();
    action(Cmd::acSelectSubscriber)->setEnabled(ds && ds->isOpen() && !ds->isEmpty());
}

void TfmSelectGroupForNews::ApplyClick()
{
    if (!mApply || mApply())
        accept();
}

void TfmSelectGroupForNews::acSelectSubscriberExecute()
{
    db::Dataset* ds = ListDataset();
    if (!ds || !ds->isOpen() || ds->isEmpty())
        return;
    ShowGroupMembership(this, mDm, int(ds->asInteger(name(GL::kGroupId))),
                        DecodeUnicodeEscapes(ds->asString(name(GL::kName))));
}
