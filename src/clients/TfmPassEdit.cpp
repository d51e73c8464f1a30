#include "TfmPassEdit.h"

#include "Catalogue.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// A password that trims to nothing is refused; the cell keeps its value and stays current.
class PasswordDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        auto* editor = qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
        if (editor)
            editor->setMaxLength(255);
        return editor;
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line && line->text().trimmed().isEmpty()) {
            lang::MessageDlgLang(lang::tr(u"vrstrPasswordCannotBeEmpty"), lang::MsgDlgType::Error,
                                 lang::mbOK);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }
};

} // namespace

TfmPassEdit::TfmPassEdit(QWidget* owner)
    : TTevBaseForm(owner), mGrid(new QTableWidget(0, 2, this)), mApply(new QPushButton(this)),
      mExit(new QPushButton(this))
{
    setObjectName(QStringLiteral("TfmPassEdit"));
    mGrid->setObjectName(QStringLiteral("grdPasswords"));
    mGrid->setItemDelegateForColumn(1, new PasswordDelegate(mGrid));
    mGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    mGrid->verticalHeader()->hide();
    mGrid->horizontalHeader()->setStretchLastSection(true);
    mGrid->setColumnWidth(0, 220);
    mGrid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mApply);
    buttons->addWidget(mExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mGrid);
    layout->addLayout(buttons);
    mApply->setDefault(true);
    connect(mApply, &QPushButton::clicked, this, &QDialog::accept);
    connect(mExit, &QPushButton::clicked, this, &QDialog::reject);
    resize(520, 360);
    ensureCreated();
}

TfmPassEdit::~TfmPassEdit() = default;

void TfmPassEdit::SetupCaptions()
{
    setWindowTitle(lang::tr(u"rstrSetPassword"));
    mGrid->setHorizontalHeaderLabels({lang::tr(u"rstrLogin"), lang::tr(u"rstrPass")});
    mApply->setText(lang::tr(u"rstrApply"));
    mExit->setText(lang::tr(u"rstrExitShort"));
}

void TfmPassEdit::setRows(const QList<LoginPassword>& rows)
{
    mGrid->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        auto* login = new QTableWidgetItem(rows[r].login);
        login->setFlags(login->flags() & ~Qt::ItemIsEditable);
        mGrid->setItem(r, 0, login);
        mGrid->setItem(r, 1, new QTableWidgetItem(rows[r].password));
    }
    if (!rows.isEmpty())
        mGrid->setCurrentCell(0, 1);
}

QList<LoginPassword> TfmPassEdit::rows() const
{
    QList<LoginPassword> out;
    for (int r = 0; r < mGrid->rowCount(); ++r)
        out.append({mGrid->item(r, 0)->text(), mGrid->item(r, 1)->text()});
    return out;
}

std::optional<QList<LoginPassword>> TfmPassEdit::Edit(QWidget* owner, const QList<LoginPassword>& rows)
{
    TfmPassEdit dialog(owner);
    dialog.setRows(rows);
    if (framework::execModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.rows();
}
