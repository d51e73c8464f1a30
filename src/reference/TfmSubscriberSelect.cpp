#include "TfmSubscriberSelect.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "DbHelpers.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "NewsQueries.h"
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

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using E = NewsQueries::Emitents;
using C = NewsQueries::Clients;
using Ch = NewsQueries::EmitentChooser;

namespace {

QString name(const char* field)
{
    return QString::fromLatin1(field);
}

bool isOne(const QVariant& v)
{
    return !v.isNull() && v.toInt() == 1;
}

constexpr const char* kTickNames[TfmSubscriberSelect::kListCount][3] = {
    {"acCheckAllFreeEmitents", "acUnCheckAllFreeEmitents", "acInvertCheckFreeEmitents"},
    {"acCheckAllMemberEmitents", "acUnCheckAllMemberEmitents", "acInvertCheckMemberEmitents"},
    {"acCheckAllFreeClients", "acUnCheckAllFreeClients", "acInvertCheckFreeClients"},
    {"acCheckAllMemberClients", "acUnCheckAllMemberClients", "acInvertCheckMemberClients"},
};

bool isClients(TfmSubscriberSelect::List list)
{
    return list == TfmSubscriberSelect::FreeClients || list == TfmSubscriberSelect::MemberClients;
}

TfmSubscriberSelect::List opposite(TfmSubscriberSelect::List list)
{
    return TfmSubscriberSelect::List(int(list) ^ 1);
}

// The portal call that moves one row out of the list.
QString moveProcedure(TfmSubscriberSelect::List from)
{
    switch (from) {
    case TfmSubscriberSelect::FreeEmitents:
        return QStringLiteral("INS_EMITENT_IN_GROUP");
    case TfmSubscriberSelect::MemberEmitents:
        return QStringLiteral("DEL_EMITENT_FROM_GROUP");
    case TfmSubscriberSelect::FreeClients:
        return QStringLiteral("INS_CLIENT_IN_GROUP");
    case TfmSubscriberSelect::MemberClients:
        break;
    }
    return QStringLiteral("DEL_CLIENT_FROM_GROUP");
}

// SHOW_REPORT_NAME as a number, 0 when empty or not one.
int reportNameSetting(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

template <class Tick> framework::ActionRow<TfmSubscriberSelect> tickRow(int list, Tick tick)
{
    static constexpr const char16_t* captions[3] = {u"rstrCheckAll", u"rstrUnCheckAll", u"rstrInvertCheck"};
    static constexpr const char* icons[3] = {"edit-select-all", "edit-clear", "edit-select-invert"};
    const int kind = int(tick);
    return {
        kTickNames[list][kind], captions[kind], {}, icons[kind], {}, [list, tick](TfmSubscriberSelect& w) {
            w.changeTicks(TfmSubscriberSelect::List(list), tick);
        }};
}

} // namespace

QString TfmSubscriberSelect::Cmd::tickCommand(List list, Tick tick)
{
    return QString::fromLatin1(kTickNames[list][int(tick)]);
}

const QList<framework::ActionRow<TfmSubscriberSelect>>& TfmSubscriberSelect::ActionRows()
{
    static const QList<framework::ActionRow<TfmSubscriberSelect>> rows = [] {
        QList<framework::ActionRow<TfmSubscriberSelect>> r = {
            {Cmd::acIncludeEmitents,
             u"vrstrIncludeInGroup",
             {},
             nullptr,
             {},
             [](TfmSubscriberSelect& w) { w.moveTicked(FreeEmitents); }},
            {Cmd::acExcludeEmitents,
             u"vrstrExcludeFromGroup",
             {},
             nullptr,
             {},
             [](TfmSubscriberSelect& w) { w.moveTicked(MemberEmitents); }},
            {Cmd::acIncludeClients,
             u"vrstrIncludeInGroup",
             {},
             nullptr,
             {},
             [](TfmSubscriberSelect& w) { w.moveTicked(FreeClients); }},
            {Cmd::acExcludeClients,
             u"vrstrExcludeFromGroup",
             {},
             nullptr,
             {},
             [](TfmSubscriberSelect& w) { w.moveTicked(MemberClients); }},
        };
        for (int list = 0; list < kListCount; ++list)
            for (Tick tick : {Tick::All, Tick::None, Tick::Invert})
                r << tickRow(list, tick);
        return r;
    }();
    return rows;
}

TfmSubscriberSelect::TfmSubscriberSelect(TdmMain& dm, int groupId, QWidget* owner)
    : TfmMainTEV(owner), mDm(dm), mGroupId(groupId)
{
    setObjectName(QStringLiteral("fmSubscriberSelect"));
    mActions.create(this, ActionRows());

    // The candidates come from portal cursors, the members from the views.
    mFreeEmitents = new db::StoredProc(this);
    mFreeEmitents->setObjectName(QStringLiteral("ospFreeEmitents"));
    mFreeEmitents->setStoredProcName(QStringLiteral("TEV.TEV_UTILS.") + name(E::kFreeProc));
    mMemberEmitents = new db::Query(this);
    mMemberEmitents->setObjectName(QStringLiteral("oqMemberEmitents"));
    mMemberEmitents->setSql(E::membersSql());
    mMemberEmitents->setMacro(QStringLiteral("ORDER"), QStringLiteral("ORDER BY"));
    mMemberEmitents->setMacro(QStringLiteral("FIELD"), QStringLiteral("emitent_id_web"));
    mMemberEmitents->paramByName(name(E::kMemberGroupParam)).setDataType(db::DataType::Integer);
    mFreeClients = new db::StoredProc(this);
    mFreeClients->setObjectName(QStringLiteral("ospFreeClients"));
    mFreeClients->setStoredProcName(QStringLiteral("TEV.TEV_UTILS.") + name(C::kFreeProc));
    mMemberClients = new db::Query(this);
    mMemberClients->setObjectName(QStringLiteral("oqMemberClients"));
    mMemberClients->setSql(C::membersSql());
    mMemberClients->setMacro(QStringLiteral("ORDER"), QStringLiteral("ORDER BY"));
    mMemberClients->setMacro(QStringLiteral("FIELD"), QStringLiteral("wbc_id"));
    mMemberClients->paramByName(name(C::kMemberGroupParam)).setDataType(db::DataType::Integer);
    mMemberClients->paramByName(name(C::kMemberReportNameParam)).setDataType(db::DataType::Integer);
    mChooser = new db::Query(this);
    mChooser->setObjectName(QStringLiteral("oqEmitentChooser"));
    mChooser->setSql(Ch::sql());
    mTevUtils = new db::Package(this);
    mTevUtils->setObjectName(QStringLiteral("TEV_UTILS"));
    mTevUtils->setPackageName(QStringLiteral("TEV.TEV_UTILS"));

    mPanes[FreeEmitents].dataset = mFreeEmitents;
    mPanes[MemberEmitents].dataset = mMemberEmitents;
    mPanes[FreeClients].dataset = mFreeClients;
    mPanes[MemberClients].dataset = mMemberClients;
    for (List which : {FreeEmitents, MemberEmitents}) {
        db::Dataset* ds = mPanes[which].dataset;
        ds->setTakesLocalEdits(true);
        ds->defineField(name(E::kCheck)).setDisplayWidth(8);
        ds->defineField(name(E::kId)).setVisible(false);
        ds->defineField(name(E::kName)).setVisible(false);
        ds->defineField(name(E::kNumber)).setDisplayWidth(8);
        ds->defineField(name(E::kFilial)).setDisplayWidth(8);
        reference::AddDecodedField(ds, name(E::kNameShown), name(E::kName), 40);
    }
    for (List which : {FreeClients, MemberClients}) {
        db::Dataset* ds = mPanes[which].dataset;
        ds->setTakesLocalEdits(true);
        ds->defineField(name(C::kCheck)).setDisplayWidth(8);
        for (const char* hidden : {C::kId, C::kName, C::kPetrolType, C::kLnr, C::kBonus})
            ds->defineField(name(hidden)).setVisible(false);
        reference::AddDecodedField(ds, name(C::kNameShown), name(C::kName), 50);
    }

    mTabs = new QTabWidget(this);
    mTabs->setObjectName(QStringLiteral("pcMembers"));
    auto* emitentsTab = new QWidget(mTabs);
    auto* clientsTab = new QWidget(mTabs);
    mTabs->addTab(emitentsTab, QString());
    mTabs->addTab(clientsTab, QString());

    mEmitentLabel = new QLabel(clientsTab);
    mEmitent = new QComboBox(clientsTab);
    mEmitent->setObjectName(QStringLiteral("cbEmitent"));
    mEmitent->setMinimumWidth(320);
    mEmitentLabel->setBuddy(mEmitent);
    connect(mEmitent, &QComboBox::activated, this, [this] { reopen(FreeClients); });

    const char* moveCommands[4] = {Cmd::acIncludeEmitents, Cmd::acExcludeEmitents, Cmd::acIncludeClients,
                                   Cmd::acExcludeClients};
    for (int i = 0; i < 4; ++i) {
        QWidget* tab = i < 2 ? emitentsTab : clientsTab;
        mMoveButtons[i] = new QToolButton(tab);
        mMoveButtons[i]->setDefaultAction(&mActions.action(moveCommands[i]));
        mMoveButtons[i]->setObjectName(QStringLiteral("btn") + QString::fromLatin1(moveCommands[i]).mid(2));
    }
    for (int tab = 0; tab < 2; ++tab) {
        QWidget* page = tab == 0 ? emitentsTab : clientsTab;
        auto* middle = new QVBoxLayout;
        middle->addStretch(1);
        middle->addWidget(mMoveButtons[tab * 2]);
        middle->addWidget(mMoveButtons[tab * 2 + 1]);
        middle->addStretch(1);
        auto* lists = new QHBoxLayout;
        // Both lists take half of what the middle column leaves.
        lists->addWidget(makePane(List(tab * 2), page), 1);
        lists->addLayout(middle);
        lists->addWidget(makePane(List(tab * 2 + 1), page), 1);
        auto* layout = new QVBoxLayout(page);
        if (tab == 1) {
            auto* chooser = new QHBoxLayout;
            chooser->addWidget(mEmitentLabel);
            chooser->addWidget(mEmitent, 1);
            chooser->addStretch(1);
            layout->addLayout(chooser);
        }
        layout->addLayout(lists, 1);
    }

    mClose = new QPushButton(this);
    mClose->setObjectName(QStringLiteral("btnClose"));
    connect(mClose, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(mClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mTabs, 1);
    layout->addLayout(bottom);
    resize(980, 600);

    fSetSession(this, mDm.session());
    fSetShema(this, mDm.ActiveScheme());
    ensureCreated();
}

TfmSubscriberSelect::~TfmSubscriberSelect() = default;

QWidget* TfmSubscriberSelect::makePane(List which, QWidget* parent)
{
    Pane& pane = mPanes[which];
    auto* box = new QWidget(parent);
    pane.bar = new QToolBar(box);
    pane.bar->setIconSize(QSize(16, 16));
    for (Tick tick : {Tick::All, Tick::None, Tick::Invert})
        pane.bar->addAction(&mActions.action(kTickNames[which][int(tick)]));

    pane.grid = new DBGrid(DBGrid::Family::Unicode, box);
    static constexpr const char* gridNames[kListCount] = {"grdFreeEmitents", "grdMemberEmitents",
                                                          "grdFreeClients", "grdMemberClients"};
    pane.grid->setObjectName(QString::fromLatin1(gridNames[which]));
    pane.grid->setOptions(DBGrid::readOnlyOptions());
    pane.grid->setDataset(pane.dataset);
    pane.grid->horizontalHeader()->setStretchLastSection(true);
    // Ticks, find and report also from the list's menu.
    pane.grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (Tick tick : {Tick::All, Tick::None, Tick::Invert})
        pane.grid->addAction(&mActions.action(kTickNames[which][int(tick)]));
    auto* separator = new QAction(pane.grid);
    separator->setSeparator(true);
    pane.grid->addAction(separator);
    gridActions().addTo(pane.grid, {TfmMainTEV::Cmd::acFind, TfmMainTEV::Cmd::acReport});
    pane.grid->setCellClickHook([this, which](int, int column) {
        const db::Field* f = mPanes[which].grid->columnField(column);
        if (f && f->name().compare(name(E::kCheck), Qt::CaseInsensitive) == 0)
            toggleCurrent(which);
    });
    pane.grid->setKeyDownHook([this, which](QKeyEvent* event) {
        if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier)
            return false;
        toggleCurrent(which);
        return true;
    });
    pane.navigator = new RecordNavigator(box);
    pane.navigator->setDataset(pane.dataset);

    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pane.bar);
    layout->addWidget(pane.grid, 1);
    layout->addWidget(pane.navigator);
    watchDataset(pane.dataset);
    return box;
}

void TfmSubscriberSelect::SetupCaptions()
{
    TfmMainTEV::SetupCaptions();
    mActions.applyTexts();
    for (const char* cmd : {Cmd::acIncludeEmitents, Cmd::acIncludeClients}) {
        mActions.action(cmd).setText(QStringLiteral(">"));
        mActions.action(cmd).setToolTip(lang::tr(u"vrstrIncludeInGroup"));
    }
    for (const char* cmd : {Cmd::acExcludeEmitents, Cmd::acExcludeClients}) {
        mActions.action(cmd).setText(QStringLiteral("<"));
        mActions.action(cmd).setToolTip(lang::tr(u"vrstrExcludeFromGroup"));
    }
    mTabs->setTabText(0, lang::tr(u"rstrEmitents"));
    mTabs->setTabText(1, lang::tr(u"rstrClients"));
    mEmitentLabel->setText(lang::tr(u"rstrEmitentSelect") + QLatin1Char(':'));
    mClose->setText(lang::tr(u"rstrClose"));
    for (List which : {FreeEmitents, MemberEmitents}) {
        db::Dataset* ds = mPanes[which].dataset;
        ds->defineField(name(E::kCheck)).setDisplayLabel(lang::tr(u"vrstrSelect"));
        ds->defineField(name(E::kNumber)).setDisplayLabel(lang::tr(u"rstrEmitent"));
        ds->defineField(name(E::kFilial)).setDisplayLabel(lang::tr(u"rstrBranch"));
        ds->defineField(name(E::kNameShown)).setDisplayLabel(lang::tr(u"rstrName"));
        mPanes[which].grid->setHint(lang::tr(u"rstrEmitents"));
    }
    for (List which : {FreeClients, MemberClients}) {
        db::Dataset* ds = mPanes[which].dataset;
        ds->defineField(name(C::kCheck)).setDisplayLabel(lang::tr(u"vrstrSelect"));
        ds->defineField(name(C::kNameShown)).setDisplayLabel(lang::tr(u"rstrName"));
        mPanes[which].grid->setHint(lang::tr(u"rstrClients"));
    }
}

void TfmSubscriberSelect::FormShow()
{
    if (mShownOnce)
        return;
    mShownOnce = true;
    mReportName = reportNameSetting(mDm.GetConfigValue(QStringLiteral("SHOW_REPORT_NAME")));

    // The chooser starts on the main window's emitent.
    QVariant start;
    db::Query* mainEmitents = mDm.queries().oqEmitentSelect;
    if (mainEmitents->isOpen() && !mainEmitents->isEmpty())
        start = mainEmitents->value(name(SharedQueries::EmitentSelect::kIdField));
    {
        const QSignalBlocker quiet(mEmitent);
        mEmitent->clear();
        mChooser->close();
        mChooser->open();
        const int idCol = mChooser->fieldIndex(name(Ch::kId));
        const int nameCol = mChooser->fieldIndex(name(Ch::kFullName));
        for (int row = 0; row < mChooser->recordCount(); ++row)
            mEmitent->addItem(DecodeUnicodeEscapes(mChooser->value(row, nameCol).toString()),
                              mChooser->value(row, idCol).toInt());
        const int index = start.isNull() ? -1 : mEmitent->findData(start.toInt());
        mEmitent->setCurrentIndex(index >= 0 ? index : (mEmitent->count() > 0 ? 0 : -1));
    }
    reopen(FreeClients);
    reopen(MemberClients);
    reopen(FreeEmitents);
    reopen(MemberEmitents);
    mTabs->setCurrentIndex(0);
}

int TfmSubscriberSelect::chosenEmitentId() const
{
    const QVariant id = mEmitent->currentData();
    return id.isValid() ? id.toInt() : -1;
}

void TfmSubscriberSelect::chooseEmitent(int emitentId)
{
    const int index = mEmitent->findData(emitentId);
    if (index < 0)
        return;
    mEmitent->setCurrentIndex(index);
    reopen(FreeClients);
}

void TfmSubscriberSelect::reopen(List which)
{
    switch (which) {
    case FreeEmitents:
        mFreeEmitents->close();
        mFreeEmitents->setParam(name(E::kFreeGroupParam), mGroupId);
        mFreeEmitents->open();
        break;
    case MemberEmitents:
        mMemberEmitents->close();
        mMemberEmitents->setParam(name(E::kMemberGroupParam), mGroupId);
        mMemberEmitents->open();
        break;
    case FreeClients:
        mFreeClients->close();
        mFreeClients->setParam(name(C::kFreeGroupParam), mGroupId);
        mFreeClients->setParam(name(C::kFreeEmitentParam), chosenEmitentId());
        mFreeClients->setParam(name(C::kFreeReportNameParam), mReportName);
        mFreeClients->open();
        break;
    case MemberClients:
        mMemberClients->close();
        mMemberClients->setParam(name(C::kMemberGroupParam), mGroupId);
        mMemberClients->setParam(name(C::kMemberReportNameParam), mReportName);
        mMemberClients->open();
        break;
    }
}

int TfmSubscriberSelect::tickColumn(List which) const
{
    const db::Dataset* ds = mPanes[which].dataset;
    return ds->isOpen() ? ds->fieldIndex(name(E::kCheck)) : -1;
}

void TfmSubscriberSelect::toggleCurrent(List which)
{
    db::Dataset* ds = mPanes[which].dataset;
    const int column = tickColumn(which);
    if (column < 0 || ds->isEmpty() || ds->currentRow() < 0)
        return;
    const int row = ds->currentRow();
    ds->setValueAt(row, column, isOne(ds->value(row, column)) ? 0 : 1);
}

void TfmSubscriberSelect::changeTicks(List which, Tick tick)
{
    db::Dataset* ds = mPanes[which].dataset;
    const int column = tickColumn(which);
    if (column < 0 || ds->isEmpty())
        return;
    DBGrid* grid = mPanes[which].grid;
    grid->setUpdatesEnabled(false);
    {
        const QSignalBlocker quiet(ds);
        if (ds->isEditing())
            ds->post();
        // Every row, whatever the list's filter shows; the current row stays where it is.
        const int current = ds->currentRow();
        const bool filtered = ds->isFiltered();
        ds->setFiltered(false);
        for (int row = 0; row < ds->recordCount(); ++row) {
            const bool on = isOne(ds->value(row, column));
            switch (tick) {
            case Tick::All:
                if (!on && ds->value(row, column).toInt() == 0)
                    ds->setValueAt(row, column, 1);
                break;
            case Tick::None:
                if (on)
                    ds->setValueAt(row, column, 0);
                break;
            case Tick::Invert:
                ds->setValueAt(row, column, on ? 0 : 1);
                break;
            }
        }
        ds->setFiltered(filtered);
        if (!ds->isEmpty())
            ds->setCurrentRow(qBound(0, current, ds->recordCount() - 1));
    }
    emit ds->rowsReset();
    emit ds->afterScroll();
    grid->setUpdatesEnabled(true);
}

void TfmSubscriberSelect::moveTicked(List from)
{
    db::Dataset* source = mPanes[from].dataset;
    if (!source->isOpen() || source->isEmpty())
        return;
    if (source->isEditing())
        source->post();
    const int column = tickColumn(from);
    const int idColumn = source->fieldIndex(name(isClients(from) ? C::kId : E::kId));
    std::vector<char> ticked(source->recordCount(), 0);
    QVariantList ids;
    for (int row = 0; row < source->recordCount(); ++row)
        if (isOne(source->value(row, column))) {
            ticked[row] = 1;
            ids << source->value(row, idColumn);
        }
    const QString procedure = moveProcedure(from);
    try {
        reference::InOneTransaction(*mDm.session(), [&] {
            for (const QVariant& id : ids)
                mTevUtils->execProc(procedure, {mGroupId, id});
        });
    } catch (const db::OraError& error) {
        // Nothing moved: both sides show what the portal holds.
        reopen(from);
        reopen(opposite(from));
        lang::ShowMsgBox(this, error.message(), 1);
        return;
    }
    if (ids.isEmpty())
        reopen(from);
    else
        source->removeRows([&ticked](int row) { return ticked[row] != 0; });
    reopen(opposite(from));
    source->first();
}

void ShowGroupMembership(QWidget* owner, TdmMain& dm, int groupId, const QString& caption)
{
    TfmSubscriberSelect window(dm, groupId, owner);
    window.setWindowTitle(caption);
    framework::execModal(window);
}
