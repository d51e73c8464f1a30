#include "TfrmNews.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "DbHelpers.h"
#include "MasterDetailLink.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "NewsQueries.h"
#include "OraError.h"
#include "Package.h"
#include "PortalCodec.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "ReferenceSupport.h"
#include "SharedQueries.h"
#include "StoredProc.h"
#include "TdmMain.h"
#include "TfmEditGroupForNews.h"
#include "TfmNewsEdit.h"
#include "TfmSelectGroupForNews.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

using N = NewsQueries::News;
using NG = NewsQueries::NewsGroups;
using GL = NewsQueries::GroupList;

namespace {

QString name(const char* field)
{
    return QString::fromLatin1(field);
}

QString sqlText(const char16_t* key)
{
    return QLatin1Char('\'') + QuoteSqlText(lang::tr(key)) + QLatin1Char('\'');
}

} // namespace

const QList<framework::ActionRow<TfrmNews>>& TfrmNews::ActionRows()
{
    static const QList<framework::ActionRow<TfrmNews>> rows = {
        {Cmd::acAddNews, u"vrstrAddNews", {}, "list-add", {}, &TfrmNews::acAddNewsExecute},
        {Cmd::acEditNews, u"vrstrEditNews", {}, "document-edit", {}, &TfrmNews::acEditNewsExecute},
        {Cmd::acDeleteNews, u"vrstrDeleteNews", {}, "list-remove", {}, &TfrmNews::acDeleteNewsExecute},
        {Cmd::acSelectGroup, u"vrstrSelectGroup", {}, "system-users", {}, &TfrmNews::acSelectGroupExecute},
    };
    return rows;
}

TfrmNews::TfrmNews(TdmMain& dm, QWidget* owner) : TfmMainTEV(owner), mDm(dm)
{
    setObjectName(QStringLiteral("frmNews"));
    mActions.create(this, ActionRows());

    mNews = new db::Query(this);
    mNews->setObjectName(QStringLiteral("oqNews"));
    mNews->setSql(N::sql());
    mNews->setMacro(QStringLiteral("ORDER"), QStringLiteral("ORDER BY"));
    mNews->setMacro(QStringLiteral("FIELD"), QStringLiteral("date_news, news_id"));
    for (const char* hidden : {N::kId, N::kHeadline, N::kBody, N::kVisibility})
        mNews->defineField(name(hidden)).setVisible(false);
    mNews->defineField(name(N::kDate)).setDisplayFormat(QStringLiteral("dd.MM.yyyy HH:mm"));
    reference::AddDecodedField(mNews, name(N::kHeadlineShown), name(N::kHeadline), 34);
    mNews->defineField(name(N::kDate)).setDisplayWidth(16);
    mNews->defineField(name(N::kVisibilityText)).setDisplayWidth(12);
    reference::AddDecodedField(mNews, name(N::kBodyShown), name(N::kBody));
    mNews->defineField(name(N::kBodyShown)).setVisible(false);

    mGroups = new db::Query(this);
    mGroups->setObjectName(QStringLiteral("oqNewsGroups"));
    mGroups->setSql(NG::sql());
    mGroups->setMacro(QStringLiteral("ORDER"), QStringLiteral("ORDER BY"));
    mGroups->setMacro(QStringLiteral("FIELD"), QStringLiteral("group_id"));
    mGroups->paramByName(name(NG::kNewsParam)).setDataType(db::DataType::Integer);
    for (const char* hidden : {NG::kNewsId, NG::kGroupId, NG::kName})
        mGroups->defineField(name(hidden)).setVisible(false);
    reference::AddDecodedField(mGroups, name(NG::kNameShown), name(NG::kName), 40);

    mTevUtils = new db::Package(this);
    mTevUtils->setObjectName(QStringLiteral("TEV_UTILS"));
    mTevUtils->setPackageName(QStringLiteral("TEV.TEV_UTILS"));

    auto* newsBar = new QToolBar(this);
    newsBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(newsBar, {Cmd::acAddNews, Cmd::acEditNews, Cmd::acDeleteNews});
    mNavigator = new RecordNavigator(this);
    mNavigator->setObjectName(QStringLiteral("DBNavigator1"));
    mNavigator->setDataset(mNews);
    mNewsGrid = new DBGrid(DBGrid::Family::Unicode, this);
    mNewsGrid->setObjectName(QStringLiteral("grdNews"));
    mNewsGrid->setOptions(DBGrid::readOnlyOptions() | GridOption::RowSelect);
    mNewsGrid->setDataset(mNews);
    mNewsGrid->horizontalHeader()->setStretchLastSection(true);
    mNewsGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    mActions.addTo(mNewsGrid,
                   {Cmd::acAddNews, Cmd::acEditNews, Cmd::acDeleteNews, framework::ActionTable::kSeparator});
    gridActions().addTo(mNewsGrid, {TfmMainTEV::Cmd::acFind, TfmMainTEV::Cmd::acSort,
                                    TfmMainTEV::Cmd::acFilter, TfmMainTEV::Cmd::acReport});

    auto* groupBar = new QToolBar(this);
    groupBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(groupBar, {Cmd::acSelectGroup});
    mGroupsGrid = new DBGrid(DBGrid::Family::Unicode, this);
    mGroupsGrid->setObjectName(QStringLiteral("grdGroups"));
    mGroupsGrid->setOptions(DBGrid::readOnlyOptions() | GridOption::RowSelect);
    mGroupsGrid->setDataset(mGroups);
    mGroupsGrid->horizontalHeader()->setStretchLastSection(true);
    mGroupsGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    mActions.addTo(mGroupsGrid, {Cmd::acSelectGroup});

    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(newsBar);
    leftLayout->addWidget(mNewsGrid, 1);
    leftLayout->addWidget(mNavigator);
    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(groupBar);
    rightLayout->addWidget(mGroupsGrid, 1);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({640, 340});

    mClose = new QPushButton(this);
    mClose->setObjectName(QStringLiteral("btnClose"));
    connect(mClose, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(mClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(bottom);
    resize(1000, 540);

    fSetSession(this, mDm.session());
    fSetShema(this, mDm.ActiveScheme());
    mLink = MasterDetailLink::reopenQuery(mNews, name(N::kId), mGroups, name(NG::kNewsParam), this);
    connect(mNewsGrid, &QAbstractItemView::doubleClicked, this,
            [this] { action(Cmd::acEditNews)->trigger(); });
    connect(mGroupsGrid, &QAbstractItemView::doubleClicked, this,
            [this] { action(Cmd::acSelectGroup)->trigger(); });
    ensureCreated();
}

TfrmNews::~TfrmNews() = default;

void TfrmNews::SetupCaptions()
{
    TfmMainTEV::SetupCaptions();
    setWindowTitle(lang::tr(u"vrstrNews"));
    mActions.applyTexts();
    mClose->setText(lang::tr(u"rstrClose"));
    mNews->setMacro(name(N::kYesMacro), sqlText(u"rstrYes"));
    mNews->setMacro(name(N::kNoMacro), sqlText(u"rstrNo"));
    mNews->defineField(name(N::kDate)).setDisplayLabel(lang::tr(u"vrstrDate"));
    mNews->defineField(name(N::kHeadlineShown)).setDisplayLabel(lang::tr(u"vrstrHeadline"));
    mNews->defineField(name(N::kVisibilityText)).setDisplayLabel(lang::tr(u"vrstrCardholderVisibility"));
    mGroups->defineField(name(NG::kNameShown)).setDisplayLabel(lang::tr(u"vrstrGroupName"));
    mNewsGrid->setColumns({{name(N::kDate), {}, 0, true},
                           {name(N::kHeadlineShown), {}, 0, true},
                           {name(N::kVisibilityText), {}, 0, true}});
    mNewsGrid->setHint(lang::tr(u"vrstrNews"));
    mGroupsGrid->setHint(lang::tr(u"vrstrGroupName"));
}

void TfrmNews::FormShow()
{
    reopenNews(mNews->isOpen() && !mNews->isEmpty() ? mNews->value(name(N::kId)) : QVariant());
    mNewsGrid->setFocus();
}

void TfrmNews::ActionsUpdate()
{
    const bool rows = hasNews();
    for (const char* cmd : {Cmd::acEditNews, Cmd::acDeleteNews, Cmd::acSelectGroup})
        action(cmd)->setEnabled(rows);
}

bool TfrmNews::hasNews() const
{
    return mNews->isOpen() && !mNews->isEmpty() && mNews->currentRow() >= 0;
}

void TfrmNews::reopenNews(const QVariant& newsId)
{
    mNews->close();
    mNews->open();
    if (!newsId.isNull())
        mNews->locate(name(N::kId), newsId);
}

void TfrmNews::acAddNewsExecute()
{
    TfmNewsEdit dialog(true, this);
    if (framework::execModal(dialog) != QDialog::Accepted)
        return;
    QVariant id;
    try {
        reference::InOneTransaction(*mDm.session(), [&] {
            mTevUtils->execProc(QStringLiteral("create_news"),
                                {EncodeUnicodeEscapes(dialog.headline()), dialog.newsDate(),
                                 EncodeUnicodeEscapes(dialog.body()), dialog.cardholderVisibility() ? 1 : 0,
                                 QVariant()});
            id = mTevUtils->paramByName(QStringLiteral("P_NEWS_ID")).value();
        });
    } catch (const db::OraError& error) {
        lang::MessageDlgLang(lang::tr(u"vrstrErrorAddNews") + QStringLiteral("\n\n") + error.message(),
                             lang::MsgDlgType::Error, lang::mbOK);
    }
    reopenNews(id);
}

void TfrmNews::acEditNewsExecute()
{
    if (!hasNews())
        return;
    const QVariant id = mNews->value(name(N::kId));
    TfmNewsEdit dialog(false, this);
    dialog.setNews(
        DecodeUnicodeEscapes(mNews->asString(name(N::kHeadline))), mNews->value(name(N::kDate)).toDateTime(),
        DecodeUnicodeEscapes(mNews->asString(name(N::kBody))), mNews->asInteger(name(N::kVisibility)) != 0);
    if (framework::execModal(dialog) != QDialog::Accepted)
        return;
    try {
        reference::InOneTransaction(*mDm.session(), [&] {
            mTevUtils->execProc(QStringLiteral("upd_news"),
                                {id, EncodeUnicodeEscapes(dialog.headline()), dialog.newsDate(),
                                 EncodeUnicodeEscapes(dialog.body()), dialog.cardholderVisibility() ? 1 : 0});
        });
    } catch (const db::OraError& error) {
        lang::MessageDlgLang(lang::tr(u"vrstrErrorEditNews") + QStringLiteral("\n\n") + error.message(),
                             lang::MsgDlgType::Error, lang::mbOK);
    }
    reopenNews(id);
}

void TfrmNews::acDeleteNewsExecute()
{
    if (!hasNews())
        return;
    const QString headline = DecodeUnicodeEscapes(mNews->asString(name(N::kHeadline)));
    if (lang::MessageDlgLang(lang::tr(u"vrstrDeleteNewsQuestion") + QStringLiteral("\n\n") + headline,
                             lang::MsgDlgType::Warning, lang::mbOK | lang::mbCancel) != lang::mrOk)
        return;
    const QVariant id = mNews->value(name(N::kId));
    // Afterwards the item that followed, or the one before when this was the last.
    const int row = mNews->currentRow();
    const int idColumn = mNews->fieldIndex(name(N::kId));
    QVariant next;
    if (row + 1 < mNews->recordCount())
        next = mNews->value(row + 1, idColumn);
    else if (row > 0)
        next = mNews->value(row - 1, idColumn);
    try {
        reference::InOneTransaction(*mDm.session(),
                                    [&] { mTevUtils->execProc(QStringLiteral("del_news"), {id}); });
    } catch (const db::OraError&) {
        // Rolled back; the list shows the item still there.
        next = id;
    }
    reopenNews(next);
}

bool TfrmNews::applyBinding(int newsId)
{
    db::StoredProc* list = mDm.queries().ospGetGroupList;
    if (list->isEditing())
        list->post();
    const int groupColumn = list->fieldIndex(name(GL::kGroupId));
    const int checkColumn = list->fieldIndex(name(GL::kCheck));
    try {
        // Every group with its state, bound or not: one change as a whole.
        reference::InOneTransaction(*mDm.session(), [&] {
            const bool filtered = list->isFiltered();
            list->setFiltered(false);
            try {
                for (int row = 0; row < list->recordCount(); ++row)
                    mTevUtils->execProc(QStringLiteral("BIND_GROUP_TO_NEWS"),
                                        {newsId, list->value(row, groupColumn),
                                         list->value(row, checkColumn).toInt() == 1 ? 1 : 0});
            } catch (...) {
                list->setFiltered(filtered);
                throw;
            }
            list->setFiltered(filtered);
        });
    } catch (const db::OraError& error) {
        mLink->refollow();
        lang::ShowMsgBox(this, error.message(), 1);
        return false;
    }
    return true;
}

void TfrmNews::acSelectGroupExecute()
{
    if (!hasNews())
        return;
    const QVariant id = mNews->value(name(N::kId));
    db::StoredProc* list = mDm.queries().ospGetGroupList;
    list->close();
    list->setParam(name(GL::kNewsParam), id);
    list->open();
    TfmSelectGroupForNews dialog(mDm, this);
    dialog.setApply([this, &id] { return applyBinding(id.toInt()); });
    framework::execModal(dialog);
    mLink->refollow();
}

namespace reference {

void ShowNews(QWidget* owner, TdmMain& dm)
{
    TfrmNews window(dm, owner);
    framework::execModal(window);
}

void ShowEditGroupForNews(QWidget* owner, TdmMain& dm)
{
    TfmEditGroupForNews window(dm, owner);
    framework::execModal(window);
}

} // namespace reference
