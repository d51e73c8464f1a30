#include "FilterDialog.h"

#include "Catalogue.h"
#include "Dataset.h"
#include "GridFields.h"
#include "GridToolsText.h"
#include "MessageDialogs.h"
#include "ui_FilterDialog.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>

namespace gridtools {

namespace {
enum Column
{
    FieldColumn = 0,
    OperatorColumn = 1,
    ValueColumn = 2
};
}

FilterDialog::FilterDialog(const db::Dataset& dataset, const QString& title, const FilterState& state,
                           int langId, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::FilterDialog>()), mDataset(dataset), mLangId(langId)
{
    ui->setupUi(this);
    setWindowTitle(title.trimmed().isEmpty() ? lang::tr(u"rstrFilter")
                                             : lang::tr(u"rstrFilter") + QStringLiteral(": ") + title);
    ui->tblConditions->setHorizontalHeaderLabels({gtText(langId, "Поле", "Field"),
                                                  gtText(langId, "Условие", "Condition"),
                                                  gtText(langId, "Значение", "Value")});
    ui->tblConditions->horizontalHeader()->setSectionResizeMode(FieldColumn, QHeaderView::ResizeToContents);
    ui->tblConditions->horizontalHeader()->setSectionResizeMode(OperatorColumn,
                                                                QHeaderView::ResizeToContents);
    ui->btnAdd->setText(gtText(langId, "Добавить", "Add"));
    ui->btnRemove->setText(gtText(langId, "Удалить", "Remove"));
    ui->btnClear->setText(gtText(langId, "Очистить", "Clear"));
    ui->rbAnd->setText(gtText(langId, "Все условия (И)", "All conditions (AND)"));
    ui->rbOr->setText(gtText(langId, "Любое условие (ИЛИ)", "Any condition (OR)"));
    ui->chkCaseSensitive->setText(gtText(langId, "С учетом регистра", "Match case"));
    ui->buttons->button(QDialogButtonBox::Ok)->setText(lang::tr(u"rstrOk"));
    ui->buttons->button(QDialogButtonBox::Cancel)->setText(lang::tr(u"rstrCancel"));
    connect(ui->buttons, &QDialogButtonBox::accepted, this, &FilterDialog::accept);
    connect(ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    mFields = serverFields(dataset);
    connect(ui->btnAdd, &QPushButton::clicked, this, [this] {
        if (mFields.isEmpty())
            return;
        const db::Field& f = mDataset.field(mFields.first());
        addRow(FilterCondition(f.name(), f.dataType(), filterOperatorsFor(f.dataType()).first()));
        ui->tblConditions->setCurrentCell(ui->tblConditions->rowCount() - 1, ValueColumn);
    });
    connect(ui->btnRemove, &QPushButton::clicked, this, [this] {
        const int row = ui->tblConditions->currentRow();
        if (row >= 0)
            ui->tblConditions->removeRow(row);
    });
    connect(ui->btnClear, &QPushButton::clicked, this, [this] { ui->tblConditions->setRowCount(0); });
    ui->btnAdd->setEnabled(!mFields.isEmpty());
    setState(state);
    if (ui->tblConditions->rowCount() == 0 && !mFields.isEmpty())
        ui->btnAdd->click();
}

FilterDialog::~FilterDialog() = default;

void FilterDialog::addRow(const FilterCondition& condition)
{
    const int row = ui->tblConditions->rowCount();
    ui->tblConditions->insertRow(row);
    auto* fields = new QComboBox;
    for (int i : mFields)
        fields->addItem(mDataset.field(i).displayLabel().trimmed(), mDataset.field(i).name());
    const int at = fields->findData(condition.fieldName, Qt::UserRole, Qt::MatchFixedString);
    fields->setCurrentIndex(at >= 0 ? at : 0);
    ui->tblConditions->setCellWidget(row, FieldColumn, fields);
    ui->tblConditions->setCellWidget(row, OperatorColumn, new QComboBox);
    auto* value = new QLineEdit(condition.value);
    ui->tblConditions->setCellWidget(row, ValueColumn, value);
    fillOperators(row);
    auto* ops = static_cast<QComboBox*>(ui->tblConditions->cellWidget(row, OperatorColumn));
    const int op = ops->findData(int(condition.op));
    if (op >= 0)
        ops->setCurrentIndex(op);
    connect(fields, &QComboBox::currentIndexChanged, this, [this, fields] {
        for (int r = 0; r < ui->tblConditions->rowCount(); ++r)
            if (ui->tblConditions->cellWidget(r, FieldColumn) == fields)
                fillOperators(r);
    });
    auto updateValue = [ops, value] {
        const auto o = FilterOperator(ops->currentData().toInt());
        value->setEnabled(o != FilterOperator::IsEmpty && o != FilterOperator::IsNotEmpty);
    };
    connect(ops, &QComboBox::currentIndexChanged, this, updateValue);
    updateValue();
}

void FilterDialog::fillOperators(int row)
{
    auto* fields = static_cast<QComboBox*>(ui->tblConditions->cellWidget(row, FieldColumn));
    auto* ops = static_cast<QComboBox*>(ui->tblConditions->cellWidget(row, OperatorColumn));
    const db::Field* f = mDataset.findField(fields->currentData().toString());
    const int previous = ops->currentData().isValid() ? ops->currentData().toInt() : -1;
    const QSignalBlocker block(ops);
    ops->clear();
    for (FilterOperator op : filterOperatorsFor(f ? f->dataType() : db::DataType::String))
        ops->addItem(filterOperatorText(op, mLangId), int(op));
    const int at = ops->findData(previous);
    ops->setCurrentIndex(at >= 0 ? at : 0);
}

FilterState FilterDialog::state() const
{
    FilterState s;
    s.useOr = ui->rbOr->isChecked();
    s.caseSensitive = ui->chkCaseSensitive->isChecked();
    for (int r = 0; r < ui->tblConditions->rowCount(); ++r) {
        auto* fields = static_cast<QComboBox*>(ui->tblConditions->cellWidget(r, FieldColumn));
        auto* ops = static_cast<QComboBox*>(ui->tblConditions->cellWidget(r, OperatorColumn));
        auto* value = static_cast<QLineEdit*>(ui->tblConditions->cellWidget(r, ValueColumn));
        const db::Field* f = mDataset.findField(fields->currentData().toString());
        if (!f)
            continue;
        s.conditions.append(FilterCondition(f->name(), f->dataType(),
                                            FilterOperator(ops->currentData().toInt()), value->text(),
                                            f->displayLabel()));
    }
    return s;
}

void FilterDialog::setState(const FilterState& state)
{
    ui->tblConditions->setRowCount(0);
    (state.useOr ? ui->rbOr : ui->rbAnd)->setChecked(true);
    ui->chkCaseSensitive->setChecked(state.caseSensitive);
    for (const FilterCondition& c : state.conditions) {
        const db::Field* f = mDataset.findField(c.fieldName);
        if (!f || !mFields.contains(f->index()))
            continue;
        FilterCondition typed = c;
        typed.fieldName = f->name();
        typed.type = f->dataType();
        addRow(typed);
    }
}

FilterSql FilterDialog::filterSql() const
{
    FilterState s = state();
    // A row left without a value is one the user did not fill in, not a condition.
    s.conditions.removeIf([](const FilterCondition& c) {
        return c.value.isEmpty() && c.op != FilterOperator::IsEmpty && c.op != FilterOperator::IsNotEmpty;
    });
    return buildFilterSql(s.conditions, s.useOr, s.caseSensitive, mLangId);
}

void FilterDialog::accept()
{
    const FilterSql sql = filterSql();
    if (!sql.ok()) {
        lang::ShowMsgBox(this, sql.error, 0);
        return;
    }
    QDialog::accept();
}

} // namespace gridtools
