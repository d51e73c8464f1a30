#include "FindDialog.h"

#include "Catalogue.h"
#include "Dataset.h"
#include "GridFields.h"
#include "GridToolsText.h"
#include "ui_FindDialog.h"

#include <QPushButton>

namespace gridtools {

FindDialog::FindDialog(const db::Dataset& dataset, const QString& title, int fieldIndex, int langId,
                       QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::FindDialog>())
{
    ui->setupUi(this);
    setWindowTitle(title.trimmed().isEmpty() ? lang::tr(u"rstrFind")
                                             : lang::tr(u"rstrFind") + QStringLiteral(": ") + title);
    ui->lblText->setText(gtText(langId, "Искать:", "Find:"));
    ui->lblField->setText(gtText(langId, "Поле:", "Field:"));
    ui->grpDirection->setTitle(gtText(langId, "Направление", "Direction"));
    ui->rbForward->setText(gtText(langId, "Вниз", "Down"));
    ui->rbBackward->setText(gtText(langId, "Вверх", "Up"));
    ui->chkWholeField->setText(gtText(langId, "Поле целиком", "Whole field"));
    ui->chkCaseSensitive->setText(gtText(langId, "С учетом регистра", "Match case"));
    ui->chkFromStart->setText(gtText(langId, "С начала", "From the beginning"));
    ui->buttons->button(QDialogButtonBox::Ok)->setText(lang::tr(u"rstrFind"));
    ui->buttons->button(QDialogButtonBox::Cancel)->setText(lang::tr(u"rstrCancel"));
    connect(ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    mFields = markedFields(dataset);
    for (int i : mFields)
        ui->cbField->addItem(dataset.field(i).displayLabel().trimmed(), i);
    setFieldIndex(fieldIndex);
    auto updateOk = [this] {
        ui->buttons->button(QDialogButtonBox::Ok)
            ->setEnabled(!ui->edText->text().isEmpty() && !mFields.isEmpty());
    };
    connect(ui->edText, &QLineEdit::textChanged, this, updateOk);
    updateOk();
}

FindDialog::~FindDialog() = default;

FindCriteria FindDialog::criteria() const
{
    FindCriteria c;
    c.text = ui->edText->text();
    c.fieldIndex = ui->cbField->currentData().isValid() ? ui->cbField->currentData().toInt() : -1;
    c.backward = ui->rbBackward->isChecked();
    c.wholeField = ui->chkWholeField->isChecked();
    c.caseSensitive = ui->chkCaseSensitive->isChecked();
    c.fromStart = ui->chkFromStart->isChecked();
    return c;
}

void FindDialog::setCriteria(const FindCriteria& c)
{
    setSearchText(c.text);
    setFieldIndex(c.fieldIndex);
    (c.backward ? ui->rbBackward : ui->rbForward)->setChecked(true);
    ui->chkWholeField->setChecked(c.wholeField);
    ui->chkCaseSensitive->setChecked(c.caseSensitive);
    ui->chkFromStart->setChecked(c.fromStart);
}

void FindDialog::setSearchText(const QString& text)
{
    ui->edText->setText(text);
    ui->edText->selectAll();
}

void FindDialog::setFieldIndex(int fieldIndex)
{
    const int at = ui->cbField->findData(fieldIndex);
    ui->cbField->setCurrentIndex(at >= 0 ? at : (ui->cbField->count() > 0 ? 0 : -1));
}

int FindDialog::findRow(const db::Dataset& dataset, const FindCriteria& c)
{
    if (!dataset.isOpen() || c.fieldIndex < 0 || c.fieldIndex >= dataset.fieldCount() || c.text.isEmpty())
        return -1;
    const int count = dataset.recordCount();
    const db::Field& field = dataset.field(c.fieldIndex);
    const Qt::CaseSensitivity cs = c.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int current = dataset.currentRow();
    const int step = c.backward ? -1 : 1;
    int row = c.fromStart ? (c.backward ? count - 1 : 0) : current + step;
    for (; row >= 0 && row < count; row += step) {
        const QString text = field.displayText(dataset.value(row, c.fieldIndex));
        if (c.wholeField ? text.compare(c.text, cs) == 0 : text.contains(c.text, cs))
            return row;
    }
    return -1;
}

} // namespace gridtools
