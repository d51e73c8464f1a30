#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class SortDialog;
}
namespace db {
class Dataset;
}

namespace gridtools {

struct SortItem
{
    QString fieldName;
    bool descending = false;
    bool operator==(const SortItem&) const = default;
};

// Asks for a sort order over the dataset's marked fields that the server can sort by; the caller
// writes it into the query.
class SortDialog : public QDialog
{
    Q_OBJECT

public:
    // Starts with the order the `&FIELD` text gives (items naming no such field are left out).
    SortDialog(const db::Dataset& dataset, const QString& title, const QString& currentOrder, int langId,
               QWidget* parent = nullptr);
    ~SortDialog() override;

    // Dataset indexes of the fields offered.
    const QList<int>& fields() const { return mFields; }
    QList<SortItem> order() const;
    void setOrder(const QList<SortItem>& order);

    // "NAME DESC, ID" for the `&FIELD` macro.
    static QString formatOrder(const QList<SortItem>& order);
    // Items of a `&FIELD` text that name fields among `fields` (a table prefix is dropped).
    static QList<SortItem> parseOrder(const QString& text, const db::Dataset& dataset,
                                      const QList<int>& fields);

private:
    void refreshLists();
    QString itemText(const SortItem& item) const;

    std::unique_ptr<Ui::SortDialog> ui;
    const db::Dataset& mDataset;
    QList<int> mFields;
    QList<SortItem> mOrder;
    int mLangId;
};

} // namespace gridtools
