#include "SortDialog.h"

#include "Catalogue.h"
#include "Dataset.h"
#include "GridFields.h"
#include "GridToolsText.h"
#include "ui_SortDialog.h"

#include <QPushButton>

namespace gridtools {

SortDialog::SortDialog(const db::Dataset& dataset, const QString& title, const QString& currentOrder,
                       int langId, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::SortDialog>()), mDataset(dataset), mLangId(langId)
{
    ui->setupUi(this);
    setWindowTitle(title.trimmed().isEmpty() ? lang::tr(u"rstrSort")
                                             : lang::tr(u"rstrSort") + QStringLiteral(": ") + title);
    ui->lblAvailable->setText(gtText(langId, "Поля:", "Fields:"));
    ui->lblOrder->setText(gtText(langId, "Сортировать по:", "Sort by:"));
    ui->btnAdd->setToolTip(gtText(langId, "Добавить поле", "Add the field"));
    ui->btnRemove->setToolTip(gtText(langId, "Убрать поле", "Remove the field"));
    ui->btnUp->setText(gtText(langId, "Выше", "Up"));
    ui->btnDown->setText(gtText(langId, "Ниже", "Down"));
    ui->chkDescending->setText(gtText(langId, "По убыванию", "Descending"));
    ui->buttons->button(QDialogButtonBox::Ok)->setText(lang::tr(u"rstrOk"));
    ui->buttons->button(QDialogButtonBox::Cancel)->setText(lang::tr(u"rstrCancel"));
    connect(ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    mFields = serverFields(dataset);
    mOrder = parseOrder(currentOrder, dataset, mFields);

    connect(ui->btnAdd, &QPushButton::clicked, this, [this] {
        const QListWidgetItem* item = ui->lstAvailable->currentItem();
        if (!item)
            return;
        mOrder.append(SortItem{item->data(Qt::UserRole).toString(), false});
        refreshLists();
        ui->lstOrder->setCurrentRow(int(mOrder.size()) - 1);
    });
    connect(ui->lstAvailable, &QListWidget::itemDoubleClicked, ui->btnAdd, &QPushButton::click);
    connect(ui->btnRemove, &QPushButton::clicked, this, [this] {
        const int row = ui->lstOrder->currentRow();
        if (row < 0 || row >= mOrder.size())
            return;
        mOrder.removeAt(row);
        refreshLists();
        ui->lstOrder->setCurrentRow(qMin(row, int(mOrder.size()) - 1));
    });
    connect(ui->lstOrder, &QListWidget::itemDoubleClicked, ui->btnRemove, &QPushButton::click);
    auto move = [this](int delta) {
        const int row = ui->lstOrder->currentRow();
        const int to = row + delta;
        if (row < 0 || to < 0 || to >= mOrder.size())
            return;
        mOrder.move(row, to);
        refreshLists();
        ui->lstOrder->setCurrentRow(to);
    };
    connect(ui->btnUp, &QPushButton::clicked, this, [move] { move(-1); });
    connect(ui->btnDown, &QPushButton::clicked, this, [move] { move(1); });
    connect(ui->lstOrder, &QListWidget::currentRowChanged, this, [this](int row) {
        const QSignalBlocker block(ui->chkDescending);
        ui->chkDescending->setEnabled(row >= 0);
        ui->chkDescending->setChecked(row >= 0 && row < mOrder.size() && mOrder[row].descending);
    });
    connect(ui->chkDescending, &QCheckBox::toggled, this, [this](bool on) {
        const int row = ui->lstOrder->currentRow();
        if (row < 0 || row >= mOrder.size())
            return;
        mOrder[row].descending = on;
        ui->lstOrder->item(row)->setText(itemText(mOrder[row]));
    });
    refreshLists();
}

SortDialog::~SortDialog() = default;

QList<SortItem> SortDialog::order() const
{
    return mOrder;
}

void SortDialog::setOrder(const QList<SortItem>& order)
{
    mOrder.clear();
    for (const SortItem& item : order) {
        const int i = mDataset.fieldIndex(item.fieldName);
        if (i >= 0 && mFields.contains(i))
            mOrder.append(SortItem{mDataset.field(i).name(), item.descending});
    }
    refreshLists();
}

QString SortDialog::itemText(const SortItem& item) const
{
    const int i = mDataset.fieldIndex(item.fieldName);
    const QString label = i >= 0 ? mDataset.field(i).displayLabel().trimmed() : item.fieldName;
    return label + (item.descending ? gtText(mLangId, " (по убыванию)", " (descending)") : QString());
}

void SortDialog::refreshLists()
{
    ui->lstAvailable->clear();
    ui->lstOrder->clear();
    for (int i : mFields) {
        const db::Field& f = mDataset.field(i);
        bool used = false;
        for (const SortItem& item : mOrder)
            used = used || item.fieldName.compare(f.name(), Qt::CaseInsensitive) == 0;
        if (used)
            continue;
        auto* item = new QListWidgetItem(f.displayLabel().trimmed(), ui->lstAvailable);
        item->setData(Qt::UserRole, f.name());
    }
    for (const SortItem& s : mOrder)
        new QListWidgetItem(itemText(s), ui->lstOrder);
    ui->chkDescending->setEnabled(false);
}

QString SortDialog::formatOrder(const QList<SortItem>& order)
{
    QStringList parts;
    for (const SortItem& item : order)
        parts << (item.descending ? sqlIdentifier(item.fieldName) + QStringLiteral(" DESC")
                                  : sqlIdentifier(item.fieldName));
    return parts.join(QStringLiteral(", "));
}

QList<SortItem> SortDialog::parseOrder(const QString& text, const db::Dataset& dataset,
                                       const QList<int>& fields)
{
    QList<SortItem> result;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList words = part.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        QString name = words.first();
        name = name.mid(name.lastIndexOf(QLatin1Char('.')) + 1);
        if (name.size() > 1 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
            name = name.mid(1, name.size() - 2).replace(QLatin1String("\"\""), QLatin1String("\""));
        const int i = dataset.fieldIndex(name);
        if (i < 0 || !fields.contains(i))
            continue;
        SortItem item{dataset.field(i).name(), false};
        if (words.size() > 1)
            item.descending = words[1].compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
        bool dup = false;
        for (const SortItem& s : result)
            dup = dup || s.fieldName == item.fieldName;
        if (!dup)
            result.append(item);
    }
    return result;
}

} // namespace gridtools
