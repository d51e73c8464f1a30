#pragma once

#include "Dataset.h"
#include "TextSources.h"

#include <QPointer>
#include <QWidget>

class DBGrid;
class QComboBox;
class QLabel;
class QLineEdit;

// Quick-search panel: a field choice and a text box over a grid's dataset. Typing moves the
// dataset to the first row whose field's display text begins with the text (letter case ignored);
// Enter goes on to the next such row. Captions and messages come from the window's text-source
// table ("Поиск", "Не выбрано поле для поиска", "Поиск данных по полю \"%s\" невозможен").
class QuickSearch : public QWidget, public TextSourceClient
{
    Q_OBJECT

public:
    explicit QuickSearch(QWidget* parent = nullptr);
    ~QuickSearch() override;

    // The grid whose visible columns are offered and whose dataset is searched.
    void setGrid(DBGrid* grid);
    DBGrid* grid() const { return mGrid; }
    db::Dataset* dataset() const;

    // The field searched on; empty when none is chosen.
    QString fieldName() const;
    void setFieldName(const QString& name);
    QString searchText() const;
    // Sets the text and searches from the first row.
    void setSearchText(const QString& text);

    // Searches from the first row (next = false) or below the current one; returns whether a row
    // was found. A missing field or one that cannot be searched is reported in a box.
    bool search(bool next = false);

    void setTextSources(const TextSources* table) override;

    // Fills the field choice from the grid's visible columns again.
    void reloadFields();

signals:
    void found(int row);

private:
    QPointer<DBGrid> mGrid;
    QComboBox* mFields = nullptr;
    QLabel* mLabel = nullptr;
    QLineEdit* mText = nullptr;
    const TextSources* mTable = nullptr;
    QList<QMetaObject::Connection> mConnections;
};
