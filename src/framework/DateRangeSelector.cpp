#include "DateRangeSelector.h"

#include "Clock.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QToolButton>

namespace {

QDateTime add(const QDateTime& moment, DateRangeSelector::Step step, int count)
{
    switch (step) {
    case DateRangeSelector::Day:
        return moment.addDays(count);
    case DateRangeSelector::Month:
        return moment.addMonths(count);
    case DateRangeSelector::Quarter:
        return moment.addMonths(3 * count);
    case DateRangeSelector::Year:
        return moment.addYears(count);
    }
    return moment;
}

constexpr int kStepTextIds[] = {TextSources::Day, TextSources::Month, TextSources::Quarter,
                                TextSources::Year};

} // namespace

DateRangeSelector::DateRangeSelector(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    mStep = new QComboBox(this);
    mStep->setObjectName(QStringLiteral("cbStep"));
    for (int i = 0; i < 4; ++i)
        mStep->addItem(QString(), i);
    mBack = new QToolButton(this);
    mBack->setObjectName(QStringLiteral("btnBack"));
    mBack->setArrowType(Qt::LeftArrow);
    mBeginEdit = new QDateTimeEdit(this);
    mBeginEdit->setObjectName(QStringLiteral("edtBegin"));
    mBeginEdit->setCalendarPopup(true);
    mEndEdit = new QDateTimeEdit(this);
    mEndEdit->setObjectName(QStringLiteral("edtEnd"));
    mEndEdit->setCalendarPopup(true);
    mForward = new QToolButton(this);
    mForward->setObjectName(QStringLiteral("btnForward"));
    mForward->setArrowType(Qt::RightArrow);
    layout->addWidget(mStep);
    layout->addWidget(mBack);
    layout->addWidget(mBeginEdit);
    layout->addWidget(mEndEdit);
    layout->addWidget(mForward);
    layout->addStretch();

    connect(mBack, &QToolButton::clicked, this, [this] { stepBy(-1); });
    connect(mForward, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(mBeginEdit, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& value) {
        if (mShowing)
            return;
        mBegin = value;
        emit periodChanged(mBegin, mEnd);
    });
    connect(mEndEdit, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& value) {
        if (mShowing)
            return;
        mEnd = value;
        emit periodChanged(mBegin, mEnd);
    });

    setTextSources(nullptr);
    const QDate today = framework::today();
    const auto [b, e] = wholeUnit(today, Day);
    setPeriod(b, e);
    setStep(Month);
}

void DateRangeSelector::setTextSources(const TextSources* table)
{
    const TextSources& t = table ? *table : TextSources::defaults();
    for (int i = 0; i < 4; ++i)
        mStep->setItemText(i, t.text(kStepTextIds[i]));
}

QString DateRangeSelector::stepText(Step step) const
{
    return mStep->itemText(int(step));
}

DateRangeSelector::Step DateRangeSelector::step() const
{
    return Step(qMax(0, mStep->currentIndex()));
}

void DateRangeSelector::setStep(Step step)
{
    mStep->setCurrentIndex(int(step));
}

void DateRangeSelector::setPeriod(const QDateTime& begin, const QDateTime& end)
{
    mBegin = begin;
    mEnd = end;
    showPeriod();
    emit periodChanged(mBegin, mEnd);
}

void DateRangeSelector::showPeriod()
{
    mShowing = true;
    mBeginEdit->setDateTime(mBegin);
    mEndEdit->setDateTime(mEnd);
    mShowing = false;
}

void DateRangeSelector::stepBy(int count)
{
    const auto [b, e] = stepped(mBegin, mEnd, step(), count);
    setPeriod(b, e);
}

QDateTime DateRangeSelector::unitStart(const QDateTime& moment, Step step)
{
    const QDate d = moment.date();
    QDate first = d;
    switch (step) {
    case Day:
        break;
    case Month:
        first = QDate(d.year(), d.month(), 1);
        break;
    case Quarter:
        first = QDate(d.year(), (d.month() - 1) / 3 * 3 + 1, 1);
        break;
    case Year:
        first = QDate(d.year(), 1, 1);
        break;
    }
    return QDateTime(first, QTime(0, 0), moment.timeSpec());
}

std::pair<QDateTime, QDateTime> DateRangeSelector::wholeUnit(const QDate& date, Step step)
{
    const QDateTime first = unitStart(QDateTime(date, QTime(0, 0)), step);
    return {first, add(first, step, 1).addMSecs(-1)};
}

std::pair<QDateTime, QDateTime> DateRangeSelector::stepped(const QDateTime& begin, const QDateTime& end,
                                                           Step step, int count)
{
    const QDateTime newBegin = add(begin, step, count);
    if (begin == unitStart(begin, step))
        for (const qint64 tail : {qint64(1), qint64(1000)}) {
            const QDateTime after = end.addMSecs(tail);
            if (after == unitStart(after, step))
                return {newBegin, add(after, step, count).addMSecs(-tail)};
        }
    return {newBegin, add(end, step, count)};
}
