#pragma once

#include "TGridInterfaced.h"

// Adapter of the extended grid, which has its own column model: its columns are the fields it
// displays, titled by their display labels, as wide as their display widths (in characters) and
// visible as the fields are. The check field needs only to exist; a mark reads from "+", 1 or
// true.
class TwwDBGridIntObj : public TGridInterfaced
{
public:
    explicit TwwDBGridIntObj(DBGrid* grid);

    int ColumnCount() const override;
    QString GetColumnTitle(int index) const override;
    int GetColumnWidth(int index) const override;
    db::Field* GetColumnField(int index) const override;
    bool GetColumnVisible(int index) const override;

    // Throws std::logic_error when the grid has no dataset.
    bool HasCheckField() const override;
    bool GetCheckValue() const override;
    void SetCheckValue(bool value) override;
    bool IsCheckedValue(const db::Field& field, const QVariant& value) const override;
    // "+" / "-" for texts; numbers and booleans store their own 1 / 0 and true / false.
    QVariant CheckValueFor(const db::Field& field, bool marked) const override;

private:
    db::Field* checkField() const;
};
