#include "TfrmOrderDownload.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "EmitentTexts.h"
#include "EmitentTransaction.h"
#include "ErrorText.h"
#include "MemDataset.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "Package.h"
#include "PortalCodec.h"
#include "Query.h"
#include "SharedQueries.h"
#include "TdmMain.h"
#include "TfrmEmitentSelection.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QString name(const char* field)
{
    return QString::fromLatin1(field);
}

} // namespace

const QList<framework::ActionRow<TfrmOrderDownload>>& TfrmOrderDownload::ActionRows()
{
    static const QList<framework::ActionRow<TfrmOrderDownload>> rows = {
        {Cmd::actUp, u"rstrUpOrderUpdate", {}, "go-up", QKeySequence(Qt::CTRL | Qt::Key_Up),
         &TfrmOrderDownload::actUpExecute},
        {Cmd::actDown, u"rstrDownOrderUpdate", {}, "go-down", QKeySequence(Qt::CTRL | Qt::Key_Down),
         &TfrmOrderDownload::actDownExecute},
        {Cmd::actAddPriority, u"vrstrAddPriority", {}, "list-add", {}, &TfrmOrderDownload::actAddPriorityExecute},
        {Cmd::actDelPriority, u"vrstrDelPriority", {}, "list-remove", {}, &TfrmOrderDownload::actDelPriorityExecute},
        {Cmd::actAddEmitent, u"vrstrAddEmitent", {}, "contact-new", {}, &TfrmOrderDownload::actAddEmitentExecute},
        {Cmd::actDeleteEmitent, u"vrstrDeleteEmitent", {}, "edit-delete", {},
         &TfrmOrderDownload::actDeleteEmitentExecute},
    };
    return rows;
}

TfrmOrderDownload::TfrmOrderDownload(TdmMain& dm, QWidget* owner) : TTevBaseForm(owner), mDm(dm)
{
    setObjectName(QStringLiteral("frmOrderDownload"));
    mActions.create(this, ActionRows());
    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(tools, {Cmd::actUp, Cmd::actDown, framework::ActionTable::kSeparator, Cmd::actAddPriority,
                           Cmd::actDelPriority, framework::ActionTable::kSeparator, Cmd::actAddEmitent,
                           Cmd::actDeleteEmitent});

    mLevels = new db::MemDataset(this);
    mLevels->setObjectName(QStringLiteral("mdLevels"));
    mLevels->setColumns({{name(kGroupOrder), db::DataType::Integer}, {name(kOrderStr), db::DataType::String, 60}});
    mEmitents = new db::MemDataset(this);
    mEmitents->setObjectName(QStringLiteral("mdEmitents"));
    mEmitents->setColumns({{name(kNumber), db::DataType::Integer},
                           {name(kFilial), db::DataType::Integer},
                           {name(kName), db::DataType::String, 255},
                           {name(kId), db::DataType::Integer}});

    const GridOptions options = DBGrid::readOnlyOptions() | GridOption::RowSelect;
    mLevelGrid = new DBGrid(DBGrid::Family::Standard, this);
    mLevelGrid->setObjectName(QStringLiteral("grdLevels"));
    mLevelGrid->setOptions(options);
    mLevelGrid->setDataset(mLevels);
    mLevelGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    mActions.addTo(mLevelGrid, {Cmd::actUp, Cmd::actDown, framework::ActionTable::kSeparator,
                                Cmd::actAddPriority, Cmd::actDelPriority});
    mEmitentGrid = new DBGrid(DBGrid::Family::Standard, this);
    mEmitentGrid->setObjectName(QStringLiteral("grdEmitents"));
    mEmitentGrid->setOptions(options);
    mEmitentGrid->setDataset(mEmitents);
    mEmitentGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    mActions.addTo(mEmitentGrid, {Cmd::actAddEmitent, Cmd::actDeleteEmitent});
    auto* splitter = new QSplitter(this);
    splitter->addWidget(mLevelGrid);
    splitter->addWidget(mEmitentGrid);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 520});

    mApply = new QPushButton(this);
    mApply->setObjectName(QStringLiteral("btnApply"));
    mCancel = new QPushButton(this);
    mCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mApply);
    buttons->addWidget(mCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tools);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
    resize(820, 460);
    connect(mApply, &QPushButton::clicked, this, &TfrmOrderDownload::btnApplyClick);
    connect(mCancel, &QPushButton::clicked, this, &TfrmOrderDownload::reject);
    connect(mLevels, &db::Dataset::afterScroll, this, [this] {
        if (mFilling || !mLevels->isOpen() || mLevels->isEmpty())
            return;
        const int level = int(mLevels->asInteger(name(kGroupOrder)));
        if (level != mLevel) {
            mLevel = level;
            showEmitents();
        }
    });

    load();
    ensureCreated();
}

TfrmOrderDownload::~TfrmOrderDownload() = default;

void TfrmOrderDownload::SetupCaptions()
{
    setWindowTitle(lang::tr(u"rstrOrderDownload"));
    mActions.applyTexts();
    mLevelGrid->setHint(lang::tr(u"vrstrDownloadPriority"));
    mLevelGrid->setColumns({{name(kOrderStr), lang::tr(u"vrstrDownloadPriority"), 200, true}});
    mEmitentGrid->setHint(lang::tr(u"rstrEmitents"));
    mEmitentGrid->setColumns({{name(kNumber), lang::tr(u"rstrEmitentNumber"), 90, true},
                              {name(kFilial), lang::tr(u"rstrBranchNumber"), 90, true},
                              {name(kName), lang::tr(u"rstrName"), 300, true}});
    mApply->setText(lang::tr(u"rstrApply"));
    mCancel->setText(lang::tr(u"rstrCancel"));
    if (mLevels->isOpen())
        showLevels(); // the no-priority text follows the language
}

void TfrmOrderDownload::load()
{
    db::Query* q = mDm.queries().oqOrderDownload;
    q->close();
    q->open();
    QList<DownloadOrderModel::Emitent> rows;
    const int order = q->fieldIndex(QStringLiteral("ORDER_DOWNLOAD"));
    const int number = q->fieldIndex(QStringLiteral("EMITENT_NUMBER"));
    const int filial = q->fieldIndex(QStringLiteral("FILIAL_NUMBER"));
    const int emitentName = q->fieldIndex(QStringLiteral("EMITENT_NAME"));
    const int id = q->fieldIndex(QStringLiteral("EMITENT_ID_WEB"));
    const int hasOrder = q->fieldIndex(QStringLiteral("HAS_ORDER"));
    for (int row = 0; row < q->recordCount(); ++row) {
        DownloadOrderModel::Emitent e;
        e.emitentNumber = q->value(row, number);
        e.filialNumber = q->value(row, filial);
        e.name = DecodeUnicodeEscapes(q->value(row, emitentName).toString());
        e.emitentIdWeb = q->value(row, id).toInt();
        e.level = q->value(row, order).toInt();
        e.hasOrder = q->value(row, hasOrder).toInt() != 0;
        rows.append(e);
    }
    q->close();
    mModel.load(rows);
    mLevel = 1;
    showLevels();
}

void TfrmOrderDownload::showLevels()
{
    mFilling = true;
    mLevels->close();
    mLevels->clearRows();
    for (int level = 1; level <= mModel.levelCount(); ++level)
        mLevels->appendRow({level, mModel.levelText(level, lang::tr(u"vrstrNoPriority"))});
    mLevels->open();
    mLevel = qBound(1, mLevel, mModel.levelCount());
    mLevels->setCurrentRow(mLevel - 1);
    mFilling = false;
    showEmitents();
}

void TfrmOrderDownload::showEmitents()
{
    const int keep = mEmitents->isOpen() && !mEmitents->isEmpty() ? int(mEmitents->asInteger(name(kId))) : 0;
    mEmitents->close();
    mEmitents->clearRows();
    for (const DownloadOrderModel::Emitent& e : mModel.emitentsOf(mLevel))
        mEmitents->appendRow({e.emitentNumber, e.filialNumber, e.name, e.emitentIdWeb});
    mEmitents->open();
    if (keep)
        mEmitents->locate(name(kId), keep);
    requestActionsUpdate();
}

void TfrmOrderDownload::selectLevel(int level)
{
    if (level < 1 || level > mModel.levelCount())
        return;
    mLevel = level;
    showLevels();
}

void TfrmOrderDownload::ActionsUpdate()
{
    action(Cmd::actUp)->setEnabled(mModel.canUp(mLevel));
    action(Cmd::actDown)->setEnabled(mModel.canDown(mLevel));
    action(Cmd::actAddPriority)->setEnabled(true);
    action(Cmd::actDelPriority)->setEnabled(mModel.canDeletePriority(mLevel));
    action(Cmd::actAddEmitent)->setEnabled(mModel.canAddEmitent(mLevel));
    action(Cmd::actDeleteEmitent)->setEnabled(mModel.canDeleteEmitent(mLevel) && mEmitents->isOpen() &&
                                              !mEmitents->isEmpty());
}

void TfrmOrderDownload::actUpExecute()
{
    if (!mModel.canUp(mLevel))
        return;
    mLevel = mModel.up(mLevel);
    showLevels();
}

void TfrmOrderDownload::actDownExecute()
{
    if (!mModel.canDown(mLevel))
        return;
    mLevel = mModel.down(mLevel);
    showLevels();
}

void TfrmOrderDownload::actAddPriorityExecute()
{
    mLevel = mModel.addPriority();
    showLevels();
}

void TfrmOrderDownload::actDelPriorityExecute()
{
    if (!mModel.canDeletePriority(mLevel))
        return;
    mLevel = mModel.deletePriority(mLevel);
    showLevels();
}

void TfrmOrderDownload::actAddEmitentExecute()
{
    if (!mModel.canAddEmitent(mLevel))
        return;
    QList<TfrmEmitentSelection::Row> rows;
    for (const DownloadOrderModel::Emitent& e : mModel.emitentsOf(mModel.lastLevel()))
        rows.append({e.emitentIdWeb, e.emitentNumber, e.filialNumber, e.name});
    TfrmEmitentSelection picker(this);
    picker.setRows(rows);
    if (framework::execModal(picker) != QDialog::Accepted)
        return;
    mLevel = mModel.addEmitents(mLevel, picker.checkedIds());
    showLevels();
}

void TfrmOrderDownload::actDeleteEmitentExecute()
{
    if (!mModel.canDeleteEmitent(mLevel) || !mEmitents->isOpen() || mEmitents->isEmpty())
        return;
    mLevel = mModel.deleteEmitent(mLevel, int(mEmitents->asInteger(name(kId))));
    showLevels();
}

void TfrmOrderDownload::btnApplyClick()
{
    // Empty priority levels are dropped from what is written; the window keeps its levels until
    // the write has succeeded.
    DownloadOrderModel applied = mModel;
    applied.dropEmptyLevels();
    const QList<OrderWrite> calls = applied.writes();
    try {
        emitentsettings::inOneTransaction(*mDm.session(), [&] {
            for (const OrderWrite& call : calls)
                mDm.queries().TEV_UTILS->execProc(QStringLiteral("set_order_download"),
                                                  {call.emitentNumber, call.filialNumber, call.value});
        });
    } catch (const std::exception& e) {
        lang::ShowMsgBox(this, emitenttext::writeFailed(ErrorText(e)), 1);
        return;
    }
    mApplied = true;
    accept();
}

void TfrmOrderDownload::reject()
{
    if (!mApplied && mModel.changed() &&
        lang::MessageDlgLang(lang::tr(u"vrstrOdrDownloadConfMsg"), lang::MsgDlgType::Warning,
                             lang::mbYes | lang::mbNo) != lang::mrYes)
        return;
    TTevBaseForm::reject();
}
