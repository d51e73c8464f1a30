#include "Clock.h"

namespace framework {

QDateTime Clock::now() const
{
    return QDateTime::currentDateTime();
}

namespace {

const Clock*& installedClock()
{
    static const Clock* installed = nullptr;
    return installed;
}

} // namespace

const Clock& clock()
{
    static const Clock system;
    const Clock* installed = installedClock();
    return installed ? *installed : system;
}

const Clock* setClock(const Clock* c)
{
    const Clock* previous = installedClock();
    installedClock() = c;
    return previous;
}

QDateTime now()
{
    return clock().now();
}

QDate today()
{
    return now().date();
}

QDate firstOfMonth()
{
    const QDate d = today();
    return QDate(d.year(), d.month(), 1);
}

} // namespace framework
