#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class FindDialog;
}
namespace db {
class Dataset;
}

namespace gridtools {

struct FindCriteria
{
    QString text;
    int fieldIndex = -1; // dataset field index
    bool backward = false;
    bool wholeField = false;
    bool caseSensitive = false;
    bool fromStart = false; // from the first row (the last one searching backward), not the current
};

// Asks what to find and in which of the dataset's marked fields; the caller searches.
class FindDialog : public QDialog
{
    Q_OBJECT

public:
    // Starts at the given field when it is one of the marked fields, else at the first of them.
    FindDialog(const db::Dataset& dataset, const QString& title, int fieldIndex, int langId,
               QWidget* parent = nullptr);
    ~FindDialog() override;

    // Dataset indexes of the fields offered, in the order shown.
    const QList<int>& fields() const { return mFields; }

    FindCriteria criteria() const;
    void setCriteria(const FindCriteria& criteria);
    void setSearchText(const QString& text);
    void setFieldIndex(int fieldIndex);

    // The row the search lands on, or -1: the field's display text equals the search text
    // (whole field) or contains it, searching from the row after (before) the current one.
    static int findRow(const db::Dataset& dataset, const FindCriteria& criteria);

private:
    std::unique_ptr<Ui::FindDialog> ui;
    QList<int> mFields;
};

} // namespace gridtools
