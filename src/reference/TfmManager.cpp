#include "TfmManager.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "FormEnvironment.h"
#include "GridToolsText.h"
#include "ManagerQueries.h"
#include "MasterDetailLink.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "OraError.h"
#include "Package.h"
#include "PortalCodec.h"
#include "Query.h"
#include "RecordNavigator.h"
#include "ReferenceSupport.h"
#include "Session.h"
#include "SharedQueries.h"
#include "StoredProc.h"
#include "TdmMain.h"
#include "TfmManagerEdit.h"
#include "TfmSelectEmForManager.h"

#include <QAction>
#include <QHeaderView>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

using M = ManagerQueries::Managers;
using E = ManagerQueries::Emitents;
using F = ManagerQueries::FreeEmitents;

namespace {

QString name(const char* constant)
{
    return QString::fromLatin1(constant);
}

constexpr int kUniqueKey = 1;
constexpr int kMandatoryMissing = 1400;

} // namespace

const QList<framework::ActionRow<TfmManager>>& TfmManager::ActionRows()
{
    static const QList<framework::ActionRow<TfmManager>> rows = {
        {Cmd::acAddManager,
         u"vrstrAddAdmin",
         u"vrstrAddAdmin",
         "list-add",
         {},
         &TfmManager::acAddManagerExecute},
        {Cmd::acDelManager,
         u"vrstrDeleteAdmin",
         u"vrstrDeleteAdmin",
         "list-remove",
         {},
         &TfmManager::acDelManagerExecute},
        {Cmd::acEditPassword,
         u"vrstrEditPassword",
         u"vrstrEditPassword",
         "dialog-password",
         {},
         &TfmManager::acEditPasswordExecute},
        {Cmd::acAddEmitent,
         u"vrstrAddEmitent",
         u"vrstrAddEmitent",
         "list-add",
         {},
         &TfmManager::acAddEmitentExecute},
        {Cmd::acDelEmitent,
         u"vrstrDeleteEmitent",
         u"vrstrDeleteEmitent",
         "list-remove",
         {},
         &TfmManager::acDelEmitentExecute},
    };
    return rows;
}

TfmManager::TfmManager(TdmMain& dm, QWidget* owner)
    : TMainBaseForm(owner, dm.ActiveScheme(), dm.session()), mDm(dm)
{
    setObjectName(QStringLiteral("fmManager"));
    mActions.create(this, ActionRows());

    db::Query* managersQuery = OraQuery1();
    managersQuery->setSql(M::sql());
    managersQuery->setMacro(QStringLiteral("ORDER"), QStringLiteral("ORDER BY"));
    managersQuery->setMacro(QStringLiteral("FIELD"), name(M::kDefaultOrder));
    managersQuery->defineField(name(M::kId)).setVisible(false);
    managersQuery->defineField(name(M::kName)).setVisible(false);
    reference::AddDecodedField(managersQuery, name(M::kNameShown), name(M::kName), 40);

    mEmitents = new db::Query(this);
    mEmitents->setObjectName(QStringLiteral("oqEmitents"));
    mEmitents->setSql(E::sql());
    mEmitents->setMacro(QStringLiteral("order"), QStringLiteral("order by"));
    mEmitents->setMacro(QStringLiteral("field"), name(E::kDefaultOrder));
    mEmitents->paramByName(name(E::kManagerParam)).setDataType(db::DataType::Integer);
    for (const char* hidden : {E::kManagerParam, E::kId, E::kName})
        mEmitents->defineField(name(hidden)).setVisible(false);
    mEmitents->defineField(name(E::kNumber)).setDisplayWidth(10);
    mEmitents->defineField(name(E::kFilial)).setDisplayWidth(10);
    reference::AddDecodedField(mEmitents, name(E::kNameShown), name(E::kName), 30);

    mTevUtils = new db::Package(this);
    mTevUtils->setObjectName(QStringLiteral("TEV_UTILS"));
    mTevUtils->setPackageName(QStringLiteral("tev.TEV_UTILS"));

    auto makeGrid = [this](const char* objectName, db::Dataset* dataset) {
        auto* grid = new DBGrid(DBGrid::Family::Standard, ClientPanel());
        grid->setObjectName(QString::fromLatin1(objectName));
        grid->setOptions(DBGrid::readOnlyOptions() | GridOption::RowSelect);
        grid->setDataset(dataset);
        grid->horizontalHeader()->setStretchLastSection(true);
        return grid;
    };
    // The action buttons above the list and its navigator right under them; plain buttons, not a
    // tool bar, so that no caption ever hides behind an overflow arrow.
    auto makePanel = [this](DBGrid* grid, RecordNavigator*& navigator, const char* navigatorName,
                            std::initializer_list<const char*> commands) {
        auto* widget = new QWidget(ClientPanel());
        auto* buttons = new QHBoxLayout;
        buttons->setContentsMargins(0, 0, 0, 0);
        for (const char* command : commands) {
            auto* button = new QToolButton(widget);
            button->setObjectName(QStringLiteral("btn") + QString::fromLatin1(command).mid(2));
            button->setDefaultAction(action(command));
            button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            button->setAutoRaise(true);
            buttons->addWidget(button);
        }
        buttons->addStretch(1);
        navigator = new RecordNavigator(widget);
        navigator->setObjectName(QString::fromLatin1(navigatorName));
        navigator->setDataset(grid->dataset());
        auto* layout = new QVBoxLayout(widget);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addLayout(buttons);
        layout->addWidget(navigator, 0, Qt::AlignLeft);
        layout->addWidget(grid, 1);
        return widget;
    };
    mManagersGrid = makeGrid("grdManagers", managersQuery);
    mEmitentsGrid = makeGrid("grdEmitents", mEmitents);
    QWidget* managersPanel = makePanel(mManagersGrid, mManagersNavigator, "navManagers",
                                       {Cmd::acAddManager, Cmd::acDelManager, Cmd::acEditPassword});
    QWidget* emitentsPanel =
        makePanel(mEmitentsGrid, mEmitentsNavigator, "navEmitents", {Cmd::acAddEmitent, Cmd::acDelEmitent});

    auto* splitter = new QSplitter(Qt::Horizontal, ClientPanel());
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->addWidget(managersPanel);
    splitter->addWidget(emitentsPanel);
    splitter->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(ClientPanel());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter, 1);
    resize(1040, 520);

    SetMasterDataset(mEmitents, managersQuery);
    mLink =
        MasterDetailLink::reopenQuery(managersQuery, name(M::kId), mEmitents, name(E::kManagerParam), this);
}

TfmManager::~TfmManager() = default;

void TfmManager::FormShow()
{
    TMainBaseForm::FormShow();
    reopenManagers({});
}

void TfmManager::SetupCaptions()
{
    TMainBaseForm::SetupCaptions();
    setWindowTitle(lang::tr(u"vrstrManager"));
    const std::pair<QAction*, const char16_t*> records[] = {
        {pFirst(), u"rstrFirstRec"}, {pPrev(), u"rstrPriorRec"},       {pNext(), u"rstrNextRec"},
        {pLast(), u"rstrLastRec"},   {pRefresh(), u"rstrRefreshData"}, {pFind(), u"rstrFind"},
        {pSort(), u"rstrSort"},      {pFilter(), u"rstrFilter"},       {pReport(), u"rstrReport"}};
    for (const auto& [action, key] : records) {
        action->setText(lang::tr(key));
        action->setToolTip(lang::tr(key));
    }
    mActions.applyTexts();
    OkBtn()->setText(lang::tr(u"rstrExitShort"));
    OraQuery1()->defineField(name(M::kNameShown)).setDisplayLabel(lang::tr(u"rstrLogin"));
    mEmitents->defineField(name(E::kNumber)).setDisplayLabel(lang::tr(u"rstrEmitent"));
    mEmitents->defineField(name(E::kFilial)).setDisplayLabel(lang::tr(u"rstrBranch"));
    mEmitents->defineField(name(E::kNameShown)).setDisplayLabel(lang::tr(u"rstrName"));
    mManagersGrid->setHint(lang::tr(u"vrstrManager"));
    mEmitentsGrid->setHint(lang::tr(u"rstrEmitent"));
    for (DBGrid* grid : {mManagersGrid, mEmitentsGrid})
        grid->horizontalHeader()->viewport()->update();
}

void TfmManager::SetupNavigatorHints(RecordNavigator* navigator)
{
    navigator->setHints({lang::tr(u"rstrFirstRec"), lang::tr(u"rstrPriorRec"), lang::tr(u"rstrNextRec"),
                         lang::tr(u"rstrLastRec"), QString(), QString(), QString(), QString(), QString(),
                         lang::tr(u"rstrRefreshData")});
    navigator->setShowHints(true);
}

void TfmManager::ActionsUpdate()
{
    TMainBaseForm::ActionsUpdate();
    const bool manager = hasManager();
    action(Cmd::acAddManager)->setEnabled(true);
    for (const char* cmd : {Cmd::acDelManager, Cmd::acEditPassword, Cmd::acAddEmitent})
        action(cmd)->setEnabled(manager);
    action(Cmd::acDelEmitent)->setEnabled(manager && hasEmitent());
}

bool TfmManager::hasManager() const
{
    return !currentManagerId().isNull();
}

bool TfmManager::hasEmitent() const
{
    return mEmitents->isOpen() && !mEmitents->isEmpty() && mEmitents->currentRow() >= 0 &&
           !mEmitents->value(name(E::kId)).isNull();
}

QVariant TfmManager::currentManagerId() const
{
    db::Query* q = OraQuery1();
    if (!q->isOpen() || q->isEmpty() || q->currentRow() < 0)
        return {};
    return q->value(name(M::kId));
}

QVariant TfmManager::neighbourKey(db::Dataset* dataset, const QString& keyField)
{
    const int row = dataset->currentRow();
    const int column = dataset->fieldIndex(keyField);
    if (row < 0 || column < 0)
        return {};
    if (row + 1 < dataset->recordCount())
        return dataset->value(row + 1, column);
    if (row > 0)
        return dataset->value(row - 1, column);
    return {};
}

void TfmManager::reopenManagers(const QVariant& managerId)
{
    db::Query* q = OraQuery1();
    q->close();
    q->open();
    if (!managerId.isNull())
        q->locate(name(M::kId), managerId);
}

void TfmManager::reopenEmitents(const QVariant& emitentId)
{
    mLink->refollow();
    if (!emitentId.isNull() && mEmitents->isOpen())
        mEmitents->locate(name(E::kId), emitentId);
}

void TfmManager::acAddManagerExecute()
{
    TfmManagerEdit dialog(this, GetShema(), GetSession());
    dialog.ensureCreated();
    dialog.setWindowTitle(lang::tr(u"vrstrAddAdmin"));
    dialog.setChangePasswordMode(false);
    if (framework::execModal(dialog) != QDialog::Accepted)
        return;
    const QString typed = dialog.managerName();
    const QString password = dialog.password();
    QVariant newId;
    try {
        reference::InOneTransaction(*GetSession(), [&] {
            mTevUtils->execProc(name(ManagerQueries::kCreateManager),
                                {EncodeUnicodeEscapes(typed).trimmed(), password, QVariant()});
            newId = mTevUtils->paramByName(name(ManagerQueries::kNewIdParam)).value();
        });
    } catch (const db::OraError& e) {
        reopenManagers(currentManagerId());
        if (e.code() == kUniqueKey)
            lang::MessageDlgLang(lang::format(lang::tr(u"vrstrLoginExists"), {typed}),
                                 lang::MsgDlgType::Error, lang::mbOK);
        else if (e.code() == kMandatoryMissing)
            lang::MessageDlgLang(lang::tr(u"vrstrLoginIsEmpty"), lang::MsgDlgType::Error, lang::mbOK);
        return;
    }
    reopenManagers(newId);
}

void TfmManager::acEditPasswordExecute()
{
    if (!hasManager())
        return;
    const QVariant id = currentManagerId();
    TfmManagerEdit dialog(this, GetShema(), GetSession());
    dialog.ensureCreated();
    dialog.setWindowTitle(lang::tr(u"vrstrEditPassword"));
    dialog.setChangePasswordMode(true);
    dialog.setManagerName(OraQuery1()->asString(name(M::kNameShown)));
    if (framework::execModal(dialog) != QDialog::Accepted)
        return;
    const QString password = dialog.password();
    try {
        reference::InOneTransaction(*GetSession(), [&] {
            mTevUtils->execProc(name(ManagerQueries::kUpdatePassword), {id, password});
        });
    } catch (const db::OraError&) {
        lang::MessageDlgLang(lang::tr(u"vrstrChangePasswordError"), lang::MsgDlgType::Error, lang::mbOK);
    }
}

void TfmManager::acDelManagerExecute()
{
    if (!hasManager())
        return;
    // The name as the list shows it, not its stored escapes.
    const QString shown = OraQuery1()->asString(name(M::kNameShown));
    if (lang::MessageDlgLang(lang::format(lang::tr(u"vrstrDeleteLogin"), {shown}), lang::MsgDlgType::Warning,
                             lang::mbOK | lang::mbCancel) != lang::mrOk)
        return;
    const QVariant id = currentManagerId();
    const QVariant back = neighbourKey(OraQuery1(), name(M::kId));
    try {
        reference::InOneTransaction(*GetSession(),
                                    [&] { mTevUtils->execProc(name(ManagerQueries::kDeleteManager), {id}); });
    } catch (const db::OraError&) {
        // Silent: the list below shows what the portal holds.
    }
    reopenManagers(back);
}

QString TfmManager::AddEmitentsErrorText(const QString& reason)
{
    // A fixed text of this window, not in the message catalogue.
    QString text =
        gridtools::gtText(framework::currentLanguageId(), "Ошибка при добавлении", "Error while adding");
    if (!reason.isEmpty())
        text += QLatin1Char('\n') + reason;
    return text;
}

void TfmManager::acAddEmitentExecute()
{
    if (!hasManager())
        return;
    const QVariant managerId = currentManagerId();
    db::StoredProc* freeList = mDm.queries().ospGetFreeEmitent;
    bool failed = false;
    QString reason;
    {
        // However this ends, the free list is closed and the manager's emitents are read again.
        struct Finish
        {
            TfmManager* window;
            db::StoredProc* list;
            ~Finish()
            {
                list->close();
                window->reopenEmitents({});
            }
        } finish{this, freeList};

        freeList->close();
        freeList->setParam(name(F::kManagerParam), managerId);
        freeList->open();
        QList<QVariant> chosen;
        {
            TfmSelectEmForManager choice(freeList, this);
            choice.ensureCreated();
            if (framework::execModal(choice) != QDialog::Accepted)
                return;
            const int tick = freeList->fieldIndex(name(F::kChoice));
            const int key = freeList->fieldIndex(name(F::kId));
            for (int row = 0; row < freeList->recordCount(); ++row) {
                const QVariant mark = freeList->value(row, tick);
                if (!mark.isNull() && mark.toInt() == 1)
                    chosen << freeList->value(row, key);
            }
        }
        db::StoredProc* give = mDm.queries().ospAddEmForManager;
        try {
            // All of them or none: a refusal in the middle takes back those given before it.
            reference::InOneTransaction(*GetSession(), [&] {
                for (const QVariant& emitentId : chosen) {
                    give->setParam(name(F::kManagerParam), managerId);
                    give->setParam(name(F::kEmitentParam), emitentId);
                    give->execProc();
                }
            });
        } catch (const db::OraError& e) {
            failed = true;
            reason = e.message();
        }
    }
    if (!failed)
        return;
    lang::MessageRequest box;
    box.text = AddEmitentsErrorText(reason);
    box.owner = this;
    box.buttons = {{lang::mrOk, lang::tr(u"rstrOk")}};
    lang::messagePresenter().show(box);
}

void TfmManager::acDelEmitentExecute()
{
    if (!hasManager() || !hasEmitent())
        return;
    const QVariant managerId = currentManagerId();
    const QVariant id = mEmitents->value(name(E::kId));
    const QVariant back = neighbourKey(mEmitents, name(E::kId));
    try {
        reference::InOneTransaction(*GetSession(), [&] {
            mTevUtils->execProc(name(ManagerQueries::kDeleteEmitent), {managerId, id});
        });
    } catch (const db::OraError&) {
        // Silent: the list below shows what the portal holds.
    }
    reopenEmitents(back);
}

namespace reference {

void ShowManagers(QWidget* owner, TdmMain& dm)
{
    TfmManager window(dm, owner);
    window.ensureCreated();
    framework::execModal(window);
}

} // namespace reference
