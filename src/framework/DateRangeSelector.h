#pragma once

#include "TextSources.h"

#include <QDateTime>
#include <QWidget>
#include <utility>

class QComboBox;
class QDateTimeEdit;
class QToolButton;

// A period (begin and end date-times, both inclusive) with buttons that step it back and forth by
// a day, a month, a quarter or a year. The step names come from the window's text-source table
// ("День", "Месяц", "Квартал", "Год").
class DateRangeSelector : public QWidget, public TextSourceClient
{
    Q_OBJECT

public:
    enum Step
    {
        Day,
        Month,
        Quarter,
        Year
    };

    explicit DateRangeSelector(QWidget* parent = nullptr);

    QDateTime begin() const { return mBegin; }
    QDateTime end() const { return mEnd; }
    void setPeriod(const QDateTime& begin, const QDateTime& end);

    Step step() const;
    void setStep(Step step);
    // Moves the period by `count` steps (negative: back).
    void stepBy(int count);

    // The period moved by `count` steps. A period of whole units (from the first moment of a day,
    // month, quarter or year to the last moment, to the millisecond or the second, of one) moves
    // to the same whole units, so a month ends at its own last day; any other period moves both
    // bounds by the same calendar amount.
    static std::pair<QDateTime, QDateTime> stepped(const QDateTime& begin, const QDateTime& end, Step step,
                                                   int count);
    // The whole unit holding the day: its first moment and its last (23:59:59.999 of its last day).
    static std::pair<QDateTime, QDateTime> wholeUnit(const QDate& date, Step step);
    // The first moment of the unit holding the moment.
    static QDateTime unitStart(const QDateTime& moment, Step step);

    QString stepText(Step step) const;
    void setTextSources(const TextSources* table) override;

    QDateTimeEdit* beginEdit() const { return mBeginEdit; }
    QDateTimeEdit* endEdit() const { return mEndEdit; }

signals:
    void periodChanged(const QDateTime& begin, const QDateTime& end);

private:
    void showPeriod();

    QComboBox* mStep = nullptr;
    QToolButton* mBack = nullptr;
    QToolButton* mForward = nullptr;
    QDateTimeEdit* mBeginEdit = nullptr;
    QDateTimeEdit* mEndEdit = nullptr;
    QDateTime mBegin;
    QDateTime mEnd;
    bool mShowing = false;
};
