#include "TfrmSelectEmitent.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "ModalRunner.h"
#include "ui_TfrmSelectEmitent.h"

#include <QAction>
#include <QPushButton>

TfrmSelectEmitent::TfrmSelectEmitent(QWidget* owner)
    : TfmMainTEV(owner), ui(std::make_unique<Ui::TfrmSelectEmitent>()), mList(new EmitentPickList(this))
{
    ui->setupUi(this);
    DBGrid* g = ui->grdEmitents;
    g->setOptions(DBGrid::readOnlyOptions() | GridOption::RowSelect);
    g->setColumns({{QStringLiteral("EMITENT"), QString(), 500, true}});
    g->horizontalHeader()->setStretchLastSection(true);
    g->setDataset(mList);
    g->setContextMenuPolicy(Qt::ActionsContextMenu);
    g->addActions({acFind(), acReport()});
    // Sorting and filtering would reorder a list that is already in its fixed order.
    for (QAction* a : {acSort(), acFilter()}) {
        a->setVisible(false);
        a->setEnabled(false);
    }
    connect(g, &QAbstractItemView::doubleClicked, this, [this] {
        if (selectedEmitentId())
            accept();
    });
    connect(ui->btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    ensureCreated();
}

TfrmSelectEmitent::~TfrmSelectEmitent() = default;

DBGrid* TfrmSelectEmitent::grid() const
{
    return ui->grdEmitents;
}

void TfrmSelectEmitent::setRows(const QList<EmitentPickList::Row>& rows, int currentId)
{
    mList->setRows(rows);
    mList->open();
    mList->locate(QStringLiteral("EMITENT_ID_WEB"), currentId);
}

std::optional<int> TfrmSelectEmitent::selectedEmitentId() const
{
    if (!mList->isOpen() || mList->isEmpty() || mList->currentRow() < 0)
        return std::nullopt;
    return mList->value(QStringLiteral("EMITENT_ID_WEB")).toInt();
}

void TfrmSelectEmitent::SetupCaptions()
{
    TfmMainTEV::SetupCaptions();
    setWindowTitle(lang::tr(u"rstrEmitentSelect"));
    mList->defineField(QStringLiteral("EMITENT")).setDisplayLabel(lang::tr(u"rstrEmitent"));
    ui->grdEmitents->setHint(lang::tr(u"rstrEmitentSelect"));
    ui->btnOk->setText(lang::tr(u"vrstrSelect"));
    ui->btnCancel->setText(lang::tr(u"rstrCancel"));
}

void TfrmSelectEmitent::ActionsUpdate()
{
    ui->btnOk->setEnabled(selectedEmitentId().has_value());
}

std::optional<int> TfrmSelectEmitent::Pick(QWidget* owner, const QList<EmitentPickList::Row>& rows, int currentId)
{
    TfrmSelectEmitent picker(owner);
    picker.setRows(rows, currentId);
    if (framework::execModal(picker) != QDialog::Accepted)
        return std::nullopt;
    return picker.selectedEmitentId();
}
