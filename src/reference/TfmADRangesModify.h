#pragma once

#include <QDialog>
#include <QLocale>
#include <memory>
#include <optional>

class QLineEdit;

namespace Ui {
class TfmADRangesModify;
}

// The borders and the percent of one bonus range. The dialog only collects them: the caller writes
// them. "Применить" is refused while a field is empty or a border does not fit the 32-bit whole
// numbers the portal's parameters hold.
class TfmADRangesModify : public QDialog
{
    Q_OBJECT

public:
    explicit TfmADRangesModify(QWidget* parent = nullptr);
    ~TfmADRangesModify() override;

    void SetValues(int from, int to, double percent);
    // Valid after the dialog was accepted.
    int From() const { return mFrom; }
    int To() const { return mTo; }
    double Percent() const { return mPercent; }

    QLineEdit* FromEdit() const;
    QLineEdit* ToEdit() const;
    QLineEdit* PercentEdit() const;

    // A whole number as typed, thousands separators allowed and a fraction rounded; none when the
    // text is empty, no number or outside the 32-bit range.
    static std::optional<int> ParseWhole(const QString& text, const QLocale& locale = QLocale());
    // A number as typed; none when the text is empty or no number.
    static std::optional<double> ParseNumber(const QString& text, const QLocale& locale = QLocale());

public slots:
    void accept() override;

private:
    // Shows a field's value with thousands separators (two decimals for the percent).
    void reformat(QLineEdit* edit, bool whole);
    // Refuses with a message and puts the focus into the field.
    void refuse(QLineEdit* edit, const QString& text);

    std::unique_ptr<Ui::TfmADRangesModify> ui;
    int mFrom = 0;
    int mTo = 0;
    double mPercent = 0;
};
