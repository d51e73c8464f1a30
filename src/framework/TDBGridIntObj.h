#pragma once

#include "TGridInterfaced.h"

// Adapter of the standard data grid: columns from the grid's column list (title, width in
// pixels, visibility, field); check values by the console's check-field rules; the check field
// counts only when it is visible.
class TDBGridIntObj : public TGridInterfaced
{
public:
    explicit TDBGridIntObj(DBGrid* grid);

    int ColumnCount() const override;
    QString GetColumnTitle(int index) const override;
    int GetColumnWidth(int index) const override;
    db::Field* GetColumnField(int index) const override;
    bool GetColumnVisible(int index) const override;

    bool HasCheckField() const override;
    bool GetCheckValue() const override;
    void SetCheckValue(bool value) override;
    bool IsCheckedValue(const db::Field& field, const QVariant& value) const override;
    QVariant CheckValueFor(const db::Field& field, bool marked) const override;

protected:
    db::Field* checkField() const;
};
