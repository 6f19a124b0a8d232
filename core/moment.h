#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QtGlobal>

#include <compare>

namespace velmora {

/// A local civil date and time to the whole second, in the proleptic
/// Gregorian calendar, with no time zone of its own. The program's valid
/// range is 1 January 100 00:00:00 to 31 December 9999 23:59:59; a Moment
/// can hold a value outside it so that a step past the end can be detected.
class Moment
{
public:
    static constexpr int kSecondsPerDay = 86400;
    static constexpr int kFirstYear = 100;
    static constexpr int kLastYear = 9999;

    /// A null moment (isNull() is true).
    Moment() = default;
    Moment(QDate date, QTime time);
    Moment(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

    static Moment fromDateTime(const QDateTime &dt);

    bool isNull() const { return !m_valid; }
    /// True when the moment lies in the years 100 to 9999.
    bool inRange() const;

    QDate date() const;
    QTime time() const;
    QDateTime toDateTime() const;
    int year() const { return date().year(); }
    /// Seconds since midnight, 0..86399.
    int secondsOfDay() const { return m_seconds; }
    qint64 julianDay() const { return m_julianDay; }

    /// Days since 30 December 1899 with the time of day as the fraction: the
    /// count-of-days form the design's date arithmetic is written in.
    double serialDays() const;
    static Moment fromSerialDays(double days);

    Moment addSeconds(qint64 seconds) const;
    Moment addHours(qint64 hours) const { return addSeconds(hours * 3600); }
    Moment addDays(qint64 days) const;
    /// Keeps the day of the month, clipped to the last day of the target month.
    Moment addMonths(qint64 months) const;
    /// As addMonths(12 * years): 29 February steps to 28 February.
    Moment addYears(qint64 years) const { return addMonths(years * 12); }

    /// Same date at another time of day (seconds since midnight, 0..86399).
    Moment withSecondsOfDay(int seconds) const;
    Moment withDate(QDate date) const;

    friend bool operator==(const Moment &, const Moment &) = default;
    friend std::strong_ordering operator<=>(const Moment &a, const Moment &b)
    {
        if (auto c = a.m_valid <=> b.m_valid; c != 0)
            return c;
        if (auto c = a.m_julianDay <=> b.m_julianDay; c != 0)
            return c;
        return a.m_seconds <=> b.m_seconds;
    }

    static Moment first() { return Moment(kFirstYear, 1, 1); }
    static Moment last() { return Moment(kLastYear, 12, 31, 23, 59, 59); }

private:
    qint64 m_julianDay = 0;
    int m_seconds = 0;
    bool m_valid = false;
};

} // namespace velmora
