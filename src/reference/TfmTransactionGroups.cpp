#include "TfmTransactionGroups.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "MasterDetailLink.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "Package.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "ReferenceQueries.h"
#include "ReferenceSupport.h"
#include "Session.h"
#include "TfmEditString.h"
#include "TfmUpdTrnTypeInGroup.h"
#include "TfrmPhraseTranslate.h"
#include "WebLanguages.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

using G = ReferenceQueries::Groups;
using M = ReferenceQueries::Members;

namespace {

QString name(const char* field)
{
    return QString::fromLatin1(field);
}

} // namespace

const QList<framework::ActionRow<TfmTransactionGroups>>& TfmTransactionGroups::ActionRows()
{
    static const QList<framework::ActionRow<TfmTransactionGroups>> rows = {
        {Cmd::acInsTrnTypeGroup,
         u"rstrAdd",
         {},
         "list-add",
         {},
         &TfmTransactionGroups::acInsTrnTypeGroupExecute},
        {Cmd::acUpdTrnTypeGroup,
         u"rstrChange",
         {},
         "document-edit",
         {},
         &TfmTransactionGroups::acUpdTrnTypeGroupExecute},
        {Cmd::acDelTrnTypeGroup,
         u"rstrDelete",
         {},
         "list-remove",
         {},
         &TfmTransactionGroups::acDelTrnTypeGroupExecute},
        // The key has two entries; this caption is the second (SetupCaptions).
        {Cmd::acEditTranslations,
         {},
         {},
         "preferences-desktop-locale",
         {},
         &TfmTransactionGroups::acEditTranslationsExecute},
        {Cmd::acUpdTrnTypeInGroup,
         u"rstrChange",
         {},
         "document-edit",
         {},
         &TfmTransactionGroups::acUpdTrnTypeInGroupExecute},
    };
    return rows;
}

TfmTransactionGroups::TfmTransactionGroups(QWidget* owner, const QString& shema, db::Session* session,
                                           int languageId)
    : TMainBaseForm(owner, shema, session), mLanguageId(languageId)
{
    setObjectName(QStringLiteral("fmTransactionGroups"));
    mActions.create(this, ActionRows());

    db::Query* groupsQuery = OraQuery1();
    groupsQuery->setSql(G::sql());
    groupsQuery->paramByName(name(G::kLangParam)).setDataType(db::DataType::Integer);
    groupsQuery->defineField(name(G::kId)).setVisible(false);
    groupsQuery->defineField(name(G::kName)).setVisible(false);
    reference::AddDecodedField(groupsQuery, name(G::kNameShown), name(G::kName), 60);

    mMembers = new db::Query(this);
    mMembers->setObjectName(QStringLiteral("oqMembers"));
    mMembers->setSql(M::sql());
    mMembers->paramByName(name(M::kLangParam)).setDataType(db::DataType::Integer);
    mMembers->paramByName(name(M::kGroupParam)).setDataType(db::DataType::Integer);
    mMembers->defineField(name(M::kNumber)).setVisible(false);
    mMembers->defineField(name(M::kName)).setVisible(false);
    reference::AddDecodedField(mMembers, name(M::kNameShown), name(M::kName), 60);

    mFreeQuery = new db::Query(this);
    mFreeQuery->setObjectName(QStringLiteral("oqFreeTypes"));
    mFreeQuery->setSql(ReferenceQueries::FreeTypes::sql());

    mTevUtils = new db::Package(this);
    mTevUtils->setObjectName(QStringLiteral("TEV_UTILS"));
    mTevUtils->setPackageName(QStringLiteral("tev.TEV_UTILS"));

    mUseInWeb = new QCheckBox(ClientPanel());
    mUseInWeb->setObjectName(QStringLiteral("chkUseInWeb"));

    auto* groupBar = new QToolBar(ClientPanel());
    groupBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(groupBar, {Cmd::acInsTrnTypeGroup, Cmd::acUpdTrnTypeGroup, Cmd::acDelTrnTypeGroup,
                              Cmd::acEditTranslations});
    mNavigator = new RecordNavigator(ClientPanel());
    mNavigator->setObjectName(QStringLiteral("DBNavigator1"));
    mNavigator->setDataset(groupsQuery);
    groupBar->addWidget(mNavigator);

    mGroupsGrid = new DBGrid(DBGrid::Family::Standard, ClientPanel());
    mGroupsGrid->setObjectName(QStringLiteral("grdGroups"));
    mGroupsGrid->setOptions(DBGrid::readOnlyOptions() | GridOption::RowSelect);
    mGroupsGrid->setDataset(groupsQuery);
    mGroupsGrid->horizontalHeader()->setStretchLastSection(true);

    auto* memberBar = new QToolBar(ClientPanel());
    memberBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(memberBar, {Cmd::acUpdTrnTypeInGroup});
    mMembersGrid = new DBGrid(DBGrid::Family::Standard, ClientPanel());
    mMembersGrid->setObjectName(QStringLiteral("grdMembers"));
    mMembersGrid->setOptions(DBGrid::readOnlyOptions() | GridOption::RowSelect);
    mMembersGrid->setDataset(mMembers);
    mMembersGrid->horizontalHeader()->setStretchLastSection(true);

    mFreeTypes = new QLabel(ClientPanel());
    mFreeTypes->setObjectName(QStringLiteral("lblFreeTypes"));
    mFreeTypes->setTextFormat(Qt::PlainText);

    auto* top = new QWidget(ClientPanel());
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(groupBar);
    topLayout->addWidget(mGroupsGrid, 1);
    auto* bottom = new QWidget(ClientPanel());
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->addWidget(memberBar);
    bottomLayout->addWidget(mMembersGrid, 1);
    auto* splitter = new QSplitter(Qt::Vertical, ClientPanel());
    splitter->addWidget(top);
    splitter->addWidget(bottom);

    auto* layout = new QVBoxLayout(ClientPanel());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mUseInWeb);
    layout->addWidget(splitter, 1);
    layout->addWidget(mFreeTypes);
    resize(640, 560);

    mLink = new MasterDetailLink(
        groupsQuery, name(G::kId), [this](const QVariant& id) { followGroup(id); }, this);
    connect(mGroupsGrid, &QAbstractItemView::doubleClicked, this,
            [this] { action(Cmd::acUpdTrnTypeGroup)->trigger(); });
    connect(mMembersGrid, &QAbstractItemView::doubleClicked, this,
            [this] { action(Cmd::acUpdTrnTypeInGroup)->trigger(); });
}

TfmTransactionGroups::~TfmTransactionGroups() = default;

bool TfmTransactionGroups::useInWeb() const
{
    return mUseInWeb->isChecked();
}

void TfmTransactionGroups::setUseInWeb(bool on)
{
    mUseInWeb->setChecked(on);
}

QString TfmTransactionGroups::freeTypesText(int count)
{
    if (count > 0)
        return lang::format(lang::tr(u"vrstrTrGrNotLinkedTrn"), {count});
    return lang::tr(u"vrstrTrGrAllTrnLinked");
}

QColor TfmTransactionGroups::freeTypesColour(int count)
{
    return count > 0 ? QColor(Qt::darkRed) : QColor(Qt::darkGreen);
}

void TfmTransactionGroups::FormShow()
{
    TMainBaseForm::FormShow();
    reopenGroups({});
}

void TfmTransactionGroups::SetupCaptions()
{
    TMainBaseForm::SetupCaptions();
    setWindowTitle(lang::tr(u"vrstrTransactionGroups"));
    mActions.applyTexts();
    const QString translations = lang::catalogueText(u"vrstrEditTranslation", 1);
    action(Cmd::acEditTranslations)->setText(translations);
    action(Cmd::acEditTranslations)->setToolTip(translations);
    OkBtn()->setText(lang::tr(u"rstrExitShort"));
    mUseInWeb->setText(lang::tr(u"vrstrTrGrUseInWeb"));
    OraQuery1()->defineField(name(G::kNameShown)).setDisplayLabel(lang::tr(u"vrstrTrGrName"));
    mMembers->defineField(name(M::kNameShown)).setDisplayLabel(lang::tr(u"vrstrTrGrTrnType"));
    mGroupsGrid->setHint(lang::tr(u"vrstrTransactionGroups"));
    mMembersGrid->setHint(lang::tr(u"vrstrTrGrTrnType"));
    mFreeTypes->setText(freeTypesText(mFreeCount));
}

void TfmTransactionGroups::ActionsUpdate()
{
    TMainBaseForm::ActionsUpdate();
    const bool rows = hasGroups();
    for (const char* cmd :
         {Cmd::acUpdTrnTypeGroup, Cmd::acDelTrnTypeGroup, Cmd::acEditTranslations, Cmd::acUpdTrnTypeInGroup})
        action(cmd)->setEnabled(rows);
}

bool TfmTransactionGroups::hasGroups() const
{
    return OraQuery1()->isOpen() && !OraQuery1()->isEmpty() && OraQuery1()->currentRow() >= 0;
}

int TfmTransactionGroups::currentGroupId() const
{
    return int(OraQuery1()->asInteger(name(G::kId)));
}

void TfmTransactionGroups::followGroup(const QVariant& groupId)
{
    mMembers->close();
    if (!groupId.isNull()) {
        mMembers->setParam(name(M::kLangParam), mLanguageId);
        mMembers->setParam(name(M::kGroupParam), groupId);
        mMembers->open();
    }
    if (!GetSession() || !GetSession()->connected())
        return;
    mFreeQuery->close();
    mFreeQuery->open();
    mFreeCount = int(mFreeQuery->asInteger(name(ReferenceQueries::FreeTypes::kCount)));
    mFreeQuery->close();
    mFreeTypes->setText(freeTypesText(mFreeCount));
    QPalette palette = mFreeTypes->palette();
    palette.setColor(QPalette::WindowText, freeTypesColour(mFreeCount));
    mFreeTypes->setPalette(palette);
}

void TfmTransactionGroups::reopenGroups(const QVariant& groupId)
{
    db::Query* q = OraQuery1();
    q->close();
    q->setParam(name(G::kLangParam), mLanguageId);
    q->open();
    if (!groupId.isNull())
        q->locate(name(G::kId), groupId);
}

void TfmTransactionGroups::acInsTrnTypeGroupExecute()
{
    QString text;
    if (EditStringDialog(lang::tr(u"vrstrTrGrName"), kMaxNameLength, text, this) != lang::mrOk)
        return;
    QVariant id;
    reference::InOneTransaction(*GetSession(), [&] {
        mTevUtils->execProc(QStringLiteral("ins_trntype_group"), {text, mLanguageId, QVariant()});
        id = mTevUtils->paramByName(QStringLiteral("p_group_id")).value();
    });
    reopenGroups(id);
}

void TfmTransactionGroups::acUpdTrnTypeGroupExecute()
{
    if (!hasGroups())
        return;
    const int id = currentGroupId();
    QString text = OraQuery1()->asString(name(G::kName));
    if (EditStringDialog(lang::tr(u"vrstrTrGrName"), kMaxNameLength, text, this) != lang::mrOk)
        return;
    reference::InOneTransaction(*GetSession(), [&] {
        mTevUtils->execProc(QStringLiteral("upd_trntype_group"), {id, text, mLanguageId});
    });
    reopenGroups(id);
    acEditTranslationsExecute();
}

void TfmTransactionGroups::acDelTrnTypeGroupExecute()
{
    if (!hasGroups())
        return;
    if (lang::MessageDlgLang(lang::tr(u"vrstrTRGrConfirmDel"), lang::MsgDlgType::Confirmation,
                             lang::mbOK | lang::mbCancel) != lang::mrOk)
        return;
    const int id = currentGroupId();
    reference::InOneTransaction(*GetSession(),
                                [&] { mTevUtils->execProc(QStringLiteral("del_trntype_group"), {id}); });
    reopenGroups({});
}

void TfmTransactionGroups::acEditTranslationsExecute()
{
    if (!hasGroups())
        return;
    const int id = currentGroupId();
    ShowPhraseTranslation(this, GetSession(), GetShema(), ptTransactionGroup, id);
    reopenGroups(id);
}

void TfmTransactionGroups::acUpdTrnTypeInGroupExecute()
{
    if (!hasGroups())
        return;
    const int id = currentGroupId();
    TfmUpdTrnTypeInGroup dialog(this, GetShema(), GetSession(), id, mLanguageId);
    dialog.ensureCreated();
    if (framework::execModal(dialog) != QDialog::Accepted)
        return;
    const QList<int> chosen = dialog.chosenTypes();
    // Detaching and attaching again is one change: a failure in the middle leaves the group as it was.
    reference::InOneTransaction(*GetSession(), [&] {
        mTevUtils->execProc(QStringLiteral("del_trntype_in_group"), {id});
        for (int type : chosen)
            mTevUtils->execProc(QStringLiteral("ins_trntype_in_group"), {id, type});
    });
    mLink->refollow();
}
