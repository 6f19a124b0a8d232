#include "core/moment.h"

#include <cmath>

namespace velmora {

namespace {
// Julian day number of 30 December 1899, day zero of the serial-day count.
constexpr qint64 kSerialEpochJd = 2415019;

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}
} // namespace

Moment::Moment(QDate date, QTime time)
{
    if (!date.isValid())
        return;
    m_julianDay = date.toJulianDay();
    m_seconds = time.isValid() ? time.msecsSinceStartOfDay() / 1000 : 0;
    m_valid = true;
}

Moment::Moment(int year, int month, int day, int hour, int minute, int second)
    : Moment(QDate(year, month, day), QTime(hour, minute, second))
{
    if (!QTime::isValid(hour, minute, second))
        m_valid = false;
}

Moment Moment::fromDateTime(const QDateTime &dt)
{
    return Moment(dt.date(), dt.time());
}

bool Moment::inRange() const
{
    if (!m_valid)
        return false;
    const int y = date().year();
    return y >= kFirstYear && y <= kLastYear;
}

QDate Moment::date() const
{
    return m_valid ? QDate::fromJulianDay(m_julianDay) : QDate();
}

QTime Moment::time() const
{
    return m_valid ? QTime::fromMSecsSinceStartOfDay(m_seconds * 1000) : QTime();
}

QDateTime Moment::toDateTime() const
{
    return QDateTime(date(), time());
}

double Moment::serialDays() const
{
    return static_cast<double>(m_julianDay - kSerialEpochJd) +
           static_cast<double>(m_seconds) / kSecondsPerDay;
}

Moment Moment::fromSerialDays(double days)
{
    if (!std::isfinite(days))
        return {};
    const double whole = std::floor(days);
    double secs = std::round((days - whole) * kSecondsPerDay);
    qint64 jd = static_cast<qint64>(whole) + kSerialEpochJd;
    if (secs >= kSecondsPerDay) {
        secs -= kSecondsPerDay;
        ++jd;
    }
    Moment m;
    m.m_julianDay = jd;
    m.m_seconds = static_cast<int>(secs);
    m.m_valid = true;
    return m;
}

Moment Moment::addSeconds(qint64 seconds) const
{
    if (!m_valid)
        return {};
    const qint64 total = static_cast<qint64>(m_seconds) + seconds;
    Moment m = *this;
    m.m_julianDay += floorDiv(total, kSecondsPerDay);
    m.m_seconds = static_cast<int>(total - floorDiv(total, kSecondsPerDay) * kSecondsPerDay);
    return m;
}

Moment Moment::addDays(qint64 days) const
{
    if (!m_valid)
        return {};
    Moment m = *this;
    m.m_julianDay += days;
    return m;
}

Moment Moment::addMonths(qint64 months) const
{
    if (!m_valid)
        return {};
    const QDate d = date();
    const qint64 index = static_cast<qint64>(d.year()) * 12 + (d.month() - 1) + months;
    const qint64 year = floorDiv(index, 12);
    const int month = static_cast<int>(index - year * 12) + 1;
    if (year < -1000000 || year > 1000000)
        return {};
    const int y = static_cast<int>(year);
    // QDate has no year 0 in its proleptic Gregorian calendar.
    const QDate first(y == 0 ? -1 : y, month, 1);
    if (!first.isValid())
        return {};
    const int day = qMin(d.day(), first.daysInMonth());
    return withDate(QDate(first.year(), month, day));
}

Moment Moment::withSecondsOfDay(int seconds) const
{
    if (!m_valid)
        return {};
    Moment m = *this;
    m.m_seconds = qBound(0, seconds, kSecondsPerDay - 1);
    return m;
}

Moment Moment::withDate(QDate date) const
{
    if (!m_valid || !date.isValid())
        return {};
    Moment m = *this;
    m.m_julianDay = date.toJulianDay();
    return m;
}

} // namespace velmora
