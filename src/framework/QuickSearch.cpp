#include "QuickSearch.h"

#include "Catalogue.h"
#include "DBGrid.h"
#include "MessageDialogs.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

QuickSearch::QuickSearch(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    mLabel = new QLabel(this);
    mFields = new QComboBox(this);
    mFields->setObjectName(QStringLiteral("cbFields"));
    mText = new QLineEdit(this);
    mText->setObjectName(QStringLiteral("edtSearch"));
    mText->setClearButtonEnabled(true);
    layout->addWidget(mLabel);
    layout->addWidget(mFields);
    layout->addWidget(mText, 1);
    connect(mText, &QLineEdit::textEdited, this, [this] { search(false); });
    connect(mText, &QLineEdit::returnPressed, this, [this] { search(true); });
    setTextSources(nullptr);
}

QuickSearch::~QuickSearch()
{
    for (const auto& c : mConnections)
        disconnect(c);
}

void QuickSearch::setTextSources(const TextSources* table)
{
    mTable = table;
    const TextSources& t = table ? *table : TextSources::defaults();
    mLabel->setText(t.text(TextSources::Search));
}

void QuickSearch::setGrid(DBGrid* grid)
{
    for (const auto& c : mConnections)
        disconnect(c);
    mConnections.clear();
    mGrid = grid;
    if (grid) {
        mConnections << connect(grid, &DBGrid::datasetChanged, this, &QuickSearch::reloadFields);
        if (db::Dataset* ds = grid->dataset())
            mConnections << connect(ds, &db::Dataset::afterOpen, this, &QuickSearch::reloadFields);
    }
    reloadFields();
}

db::Dataset* QuickSearch::dataset() const
{
    return mGrid ? mGrid->dataset() : nullptr;
}

void QuickSearch::reloadFields()
{
    const QString current = fieldName();
    mFields->clear();
    if (!mGrid)
        return;
    for (int c = 0; c < mGrid->gridColumnCount(); ++c) {
        if (!mGrid->isColumnVisible(c))
            continue;
        if (const db::Field* f = mGrid->columnField(c))
            mFields->addItem(f->displayLabel(), f->name());
    }
    if (!current.isEmpty())
        setFieldName(current);
}

QString QuickSearch::fieldName() const
{
    return mFields->currentIndex() < 0 ? QString() : mFields->currentData().toString();
}

void QuickSearch::setFieldName(const QString& name)
{
    mFields->setCurrentIndex(mFields->findData(name, Qt::UserRole, Qt::MatchFixedString));
}

QString QuickSearch::searchText() const
{
    return mText->text();
}

void QuickSearch::setSearchText(const QString& text)
{
    mText->setText(text);
    search(false);
}

bool QuickSearch::search(bool next)
{
    db::Dataset* ds = dataset();
    const QString text = mText->text();
    if (!ds || !ds->isOpen() || text.isEmpty())
        return false;
    const TextSources& t = mTable ? *mTable : TextSources::of(this);
    const db::Field* field = fieldName().isEmpty() ? nullptr : ds->findField(fieldName());
    if (!field) {
        lang::ShowMsgBox(window(), t.text(TextSources::NoSearchField), 0);
        return false;
    }
    if (field->dataType() == db::DataType::Blob || field->dataType() == db::DataType::Cursor) {
        lang::ShowMsgBox(window(),
                         lang::format(t.text(TextSources::FieldNotSearchable), {field->displayLabel()}), 0);
        return false;
    }
    const int column = field->index();
    for (int row = next ? ds->currentRow() + 1 : 0; row < ds->recordCount(); ++row)
        if (field->displayText(ds->value(row, column)).startsWith(text, Qt::CaseInsensitive)) {
            ds->setCurrentRow(row);
            emit found(row);
            return true;
        }
    return false;
}
