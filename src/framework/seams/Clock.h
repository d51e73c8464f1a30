#pragma once

#include <QDate>
#include <QDateTime>

// "Now" for every window that proposes dates (periods, archive dates, report defaults); a test
// installs a fixed clock instead of waiting for the calendar.
namespace framework {

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const;
};

const Clock& clock();
// nullptr restores the system clock; returns the one that was installed.
const Clock* setClock(const Clock* clock);

QDateTime now();
QDate today();
// The first day of the current month.
QDate firstOfMonth();

// A clock that always tells the same time.
class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime at) : mAt(std::move(at)) {}
    QDateTime now() const override { return mAt; }
    void setNow(const QDateTime& at) { mAt = at; }

private:
    QDateTime mAt;
};

} // namespace framework
