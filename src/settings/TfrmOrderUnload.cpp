#include "TfrmOrderUnload.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "EmitentTexts.h"
#include "EmitentTransaction.h"
#include "ErrorText.h"
#include "MemDataset.h"
#include "MessageDialogs.h"
#include "Package.h"
#include "PortalCodec.h"
#include "Query.h"
#include "SharedQueries.h"
#include "TdmMain.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QString name(const char* field)
{
    return QString::fromLatin1(field);
}

} // namespace

const QList<framework::ActionRow<TfrmOrderUnload>>& TfrmOrderUnload::ActionRows()
{
    static const QList<framework::ActionRow<TfrmOrderUnload>> rows = {
        {Cmd::actUp, u"rstrUpOrderUpdate", {}, "go-up", QKeySequence(Qt::CTRL | Qt::Key_Up),
         &TfrmOrderUnload::actUpExecute},
        {Cmd::actDown, u"rstrDownOrderUpdate", {}, "go-down", QKeySequence(Qt::CTRL | Qt::Key_Down),
         &TfrmOrderUnload::actDownExecute},
    };
    return rows;
}

TfrmOrderUnload::TfrmOrderUnload(TdmMain& dm, QWidget* owner) : TTevBaseForm(owner), mDm(dm)
{
    setObjectName(QStringLiteral("frmOrderUnload"));
    mActions.create(this, ActionRows());
    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mActions.addTo(tools, {Cmd::actUp, Cmd::actDown});

    mList = new db::MemDataset(this);
    mList->setObjectName(QStringLiteral("mdOrderUnload"));
    mList->setColumns({{name(kName), db::DataType::String, 255},
                       {name(kNumber), db::DataType::Integer},
                       {name(kFilial), db::DataType::Integer},
                       {name(kId), db::DataType::Integer}});
    mGrid = new DBGrid(DBGrid::Family::Standard, this);
    mGrid->setObjectName(QStringLiteral("grdOrderUnload"));
    mGrid->setOptions(DBGrid::readOnlyOptions() | GridOption::RowSelect);
    mGrid->setDataset(mList);
    mGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    mActions.addTo(mGrid, {Cmd::actUp, Cmd::actDown});

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
    layout->addWidget(mGrid, 1);
    layout->addLayout(buttons);
    resize(620, 420);
    connect(mApply, &QPushButton::clicked, this, &TfrmOrderUnload::btnApplyClick);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);

    load();
    ensureCreated();
}

TfrmOrderUnload::~TfrmOrderUnload() = default;

void TfrmOrderUnload::SetupCaptions()
{
    setWindowTitle(lang::tr(u"rstrOrderUpdate"));
    mActions.applyTexts();
    mGrid->setHint(lang::tr(u"rstrOrderUpdate"));
    mGrid->setColumns({{name(kName), lang::tr(u"rstrName"), 330, true},
                       {name(kNumber), lang::tr(u"rstrEmitentNumber"), 100, true},
                       {name(kFilial), lang::tr(u"rstrBranchNumber"), 100, true}});
    mApply->setText(lang::tr(u"rstrApply"));
    mCancel->setText(lang::tr(u"rstrCancel"));
}

void TfrmOrderUnload::load()
{
    db::Query* q = mDm.queries().oqOrderUnload;
    q->close();
    q->open();
    QList<UnloadOrderModel::Row> rows;
    const int order = q->fieldIndex(QStringLiteral("ORDER_UNLOAD"));
    const int number = q->fieldIndex(name(kNumber));
    const int filial = q->fieldIndex(name(kFilial));
    const int emitentName = q->fieldIndex(name(kName));
    const int id = q->fieldIndex(name(kId));
    for (int row = 0; row < q->recordCount(); ++row)
        rows.append({q->value(row, number), q->value(row, filial),
                     DecodeUnicodeEscapes(q->value(row, emitentName).toString()), q->value(row, id).toInt(),
                     q->value(row, order).toInt()});
    q->close();
    mModel.load(rows);
    showRows(0);
}

void TfrmOrderUnload::showRows(int index)
{
    mList->close();
    mList->clearRows();
    for (int i = 0; i < mModel.count(); ++i) {
        const UnloadOrderModel::Row& r = mModel.at(i);
        mList->appendRow({r.name, r.emitentNumber, r.filialNumber, r.emitentIdWeb});
    }
    mList->open();
    if (index >= 0 && index < mModel.count())
        mList->setCurrentRow(index);
    requestActionsUpdate();
}

int TfrmOrderUnload::currentIndex() const
{
    if (!mList->isOpen() || mList->isEmpty())
        return -1;
    return mModel.indexOf(int(mList->asInteger(name(kId))));
}

void TfrmOrderUnload::ActionsUpdate()
{
    const int index = currentIndex();
    action(Cmd::actUp)->setEnabled(mModel.canUp(index));
    action(Cmd::actDown)->setEnabled(mModel.canDown(index));
}

void TfrmOrderUnload::actUpExecute()
{
    const int index = currentIndex();
    if (mModel.canUp(index))
        showRows(mModel.up(index));
}

void TfrmOrderUnload::actDownExecute()
{
    const int index = currentIndex();
    if (mModel.canDown(index))
        showRows(mModel.down(index));
}

void TfrmOrderUnload::btnApplyClick()
{
    const QList<OrderWrite> calls = mModel.writes();
    try {
        emitentsettings::inOneTransaction(*mDm.session(), [&] {
            for (const OrderWrite& call : calls)
                mDm.queries().TEV_UTILS->execProc(QStringLiteral("set_order_update"),
                                                  {call.emitentNumber, call.filialNumber, call.value});
        });
    } catch (const std::exception& e) {
        lang::ShowMsgBox(this, emitenttext::writeFailed(ErrorText(e)), 1);
        return;
    }
    accept();
}
