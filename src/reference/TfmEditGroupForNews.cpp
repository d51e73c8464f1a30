#include "TfmEditGroupForNews.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "NewsQueries.h"
#include "OraError.h"
#include "Package.h"
#include "PortalCodec.h"
#include "ReferenceSupport.h"
#include "SharedQueries.h"
#include "StoredProc.h"
#include "TdmMain.h"
#include "TfmGroupForNewsEdit.h"
#include "TfmSubscriberSelect.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolBar>

using GL = NewsQueries::GroupList;

namespace {

QString name(const char* field)
{
    return QString::fromLatin1(field);
}

} // namespace

const QList<framework::ActionRow<TfmEditGroupForNews>>& TfmEditGroupForNews::ActionRows()
{
    static const QList<framework::ActionRow<TfmEditGroupForNews>> rows = {
        {Cmd::acAddGroup, u"vrstrAddGroup", {}, "list-add", {}, &TfmEditGroupForNews::acAddGroupExecute},
        {Cmd::acUpdGroup, u"vrstrUpdGroup", {}, "document-edit", {}, &TfmEditGroupForNews::acUpdGroupExecute},
        {Cmd::acDeleteGroup,
         u"vrstrDeleteGroup",
         {},
         "list-remove",
         {},
         &TfmEditGroupForNews::acDeleteGroupExecute},
        {Cmd::acSelectSubscriber,
         u"vrstrSelectSubscriber",
         {},
         "system-users",
         {},
         &TfmEditGroupForNews::acSelectSubscriberExecute},
    };
    return rows;
}

TfmEditGroupForNews::TfmEditGroupForNews(TdmMain& dm, QWidget* owner) : TfrmMainTevBaseSelect(owner), mDm(dm)
{
    setObjectName(QStringLiteral("fmEditGroupForNews"));
    mActions.create(this, ActionRows());
    // No ticks here: the tick commands and the apply button go.
    for (QAction* a : {acCheckAll(), acUnCheckAll(), acInvertCheck()}) {
        a->setVisible(false);
        a->setEnabled(false);
    }
    btnOk()->hide();
    // The group commands come first, then the list tools; the separator of the ticks goes too.
    const QList<QAction*> tools = ToolBar()->actions();
    for (QAction* a : tools)
        if (a->isSeparator()) {
            a->setVisible(false);
            break;
        }
    QAction* firstTool = tools.value(4);
    for (const char* cmd : {Cmd::acAddGroup, Cmd::acUpdGroup, Cmd::acDeleteGroup})
        ToolBar()->insertAction(firstTool, action(cmd));
    ToolBar()->insertSeparator(firstTool);
    ToolBar()->insertAction(firstTool, action(Cmd::acSelectSubscriber));
    ToolBar()->insertSeparator(firstTool);
    SetListDataset(mDm.queries().ospGetGroupList);
    grdList()->horizontalHeader()->setStretchLastSection(true);
    grdList()->setCellClickHook({});
    grdList()->setKeyDownHook({});
    grdList()->setContextMenuPolicy(Qt::ActionsContextMenu);
    mActions.addTo(grdList(),
                   {Cmd::acAddGroup, Cmd::acUpdGroup, Cmd::acDeleteGroup, framework::ActionTable::kSeparator,
                    Cmd::acSelectSubscriber, framework::ActionTable::kSeparator});
    gridActions().addTo(grdList(), {TfmMainTEV::Cmd::acFind, TfmMainTEV::Cmd::acSort,
                                    TfmMainTEV::Cmd::acFilter, TfmMainTEV::Cmd::acReport});
    connect(grdList(), &QAbstractItemView::doubleClicked, this,
            [this] { action(Cmd::acUpdGroup)->trigger(); });
    resize(960, 460);
    ensureCreated();
}

TfmEditGroupForNews::~TfmEditGroupForNews() = default;

void TfmEditGroupForNews::SetupCaptions()
{
    TfrmMainTevBaseSelect::SetupCaptions();
    setWindowTitle(lang::tr(u"vrstrEditGroupCaption"));
    mActions.applyTexts();
    btnCancel()->setText(lang::tr(u"rstrClose"));
    grdList()->setColumns({{name(GL::kNameShown), lang::tr(u"rstrName"), 0, true}});
    grdList()->setHint(lang::tr(u"vrstrEditGroupCaption"));
}

void TfmEditGroupForNews::FormShow()
{
    // Fetched again for the news item of the last binding (none before the first one).
    refetch({});
}

void TfmEditGroupForNews::ActionsUpdate()
{
    const bool rows = hasGroups();
    for (const char* cmd : {Cmd::acUpdGroup, Cmd::acDeleteGroup, Cmd::acSelectSubscriber})
        action(cmd)->setEnabled(rows);
    action(Cmd::acAddGroup)->setEnabled(true);
}

bool TfmEditGroupForNews::hasGroups() const
{
    const db::Dataset* ds = ListDataset();
    return ds && ds->isOpen() && !ds->isEmpty() && ds->currentRow() >= 0;
}

void TfmEditGroupForNews::refetch(const QVariant& groupId)
{
    db::StoredProc* list = mDm.queries().ospGetGroupList;
    list->close();
    list->open();
    if (!groupId.isNull())
        list->locate(name(GL::kGroupId), groupId);
}

void TfmEditGroupForNews::acAddGroupExecute()
{
    TfmGroupForNewsEdit dialog(true, this);
    if (framework::execModal(dialog) != QDialog::Accepted)
        return;
    QVariant id;
    try {
        reference::InOneTransaction(*mDm.session(), [&] {
            db::Package* utils = mDm.queries().TEV_UTILS;
            utils->execProc(QStringLiteral("create_group_for_news"),
                            {EncodeUnicodeEscapes(dialog.groupName()), QVariant()});
            id = utils->paramByName(QStringLiteral("P_GROUP_ID")).value();
        });
    } catch (const db::OraError& error) {
        lang::MessageDlgLang(lang::tr(u"vrstrAddGroupError") + QStringLiteral("\n\n") + error.message(),
                             lang::MsgDlgType::Error, lang::mbOK);
    }
    refetch(id);
}

void TfmEditGroupForNews::acUpdGroupExecute()
{
    if (!hasGroups())
        return;
    db::Dataset* ds = ListDataset();
    const QVariant id = ds->value(name(GL::kGroupId));
    TfmGroupForNewsEdit dialog(false, this);
    dialog.setGroupName(DecodeUnicodeEscapes(ds->asString(name(GL::kName))));
    if (framework::execModal(dialog) != QDialog::Accepted)
        return;
    try {
        reference::InOneTransaction(*mDm.session(), [&] {
            mDm.queries().TEV_UTILS->execProc(QStringLiteral("upd_group_for_news"),
                                              {id, EncodeUnicodeEscapes(dialog.groupName())});
        });
    } catch (const db::OraError& error) {
        lang::MessageDlgLang(lang::tr(u"vrstrUpdGroupError") + QStringLiteral("\n\n") + error.message(),
                             lang::MsgDlgType::Error, lang::mbOK);
    }
    refetch(id);
}

void TfmEditGroupForNews::acDeleteGroupExecute()
{
    if (!hasGroups())
        return;
    db::Dataset* ds = ListDataset();
    const QString groupName = DecodeUnicodeEscapes(ds->asString(name(GL::kName)));
    if (lang::MessageDlgLang(lang::tr(u"vrstrDeleteGroupQuestion") + QStringLiteral("\n\n") + groupName,
                             lang::MsgDlgType::Warning, lang::mbOK | lang::mbCancel) != lang::mrOk)
        return;
    const QVariant id = ds->value(name(GL::kGroupId));
    // Afterwards the row that followed, or the one before when this was the last.
    const int row = ds->currentRow();
    const int idColumn = ds->fieldIndex(name(GL::kGroupId));
    QVariant next;
    if (row + 1 < ds->recordCount())
        next = ds->value(row + 1, idColumn);
    else if (row > 0)
        next = ds->value(row - 1, idColumn);
    try {
        reference::InOneTransaction(*mDm.session(), [&] {
            mDm.queries().TEV_UTILS->execProc(QStringLiteral("del_group_for_news"), {id});
        });
    } catch (const db::OraError&) {
        // Rolled back; the list shows the group still there.
        next = id;
    }
    refetch(next);
}

void TfmEditGroupForNews::acSelectSubscriberExecute()
{
    if (!hasGroups())
        return;
    db::Dataset* ds = ListDataset();
    ShowGroupMembership(this, mDm, int(ds->asInteger(name(GL::kGroupId))),
                        DecodeUnicodeEscapes(ds->asString(name(GL::kName))));
}
