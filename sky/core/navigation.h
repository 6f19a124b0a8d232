#pragma once

#include "core/moment.h"
#include "sky/core/zonetime.h"

#include <QLocale>
#include <QString>

#include <optional>
#include <span>

namespace velmora {

/// The unit of a time jump; the value is the index of its option button.
enum class JumpUnit
{
    Hour = 0,
    Day,
    Week,
    Month,
    Year,
    Decade
};

/// The unit the option buttons choose: the first checked of Hour..Year decides, and with none
/// of them checked the jump is by decades. `checked` holds the buttons' states in index order.
JumpUnit jumpUnitFromOptions(std::span<const bool> checked);

/// The moment moved by `count` units (negative goes back). Month, year and decade steps keep
/// the day of the month and the clock time, with a day the target month lacks becoming its
/// last day. Nothing when the result would leave the years 100..9999.
std::optional<Moment> jumpMoment(const Moment &from, JumpUnit unit, qint64 count);

/// Where a failed update puts the moment: 1 January 100 for a moment before the year 1000,
/// otherwise 1 January 3000, both at midnight.
Moment recoveryMoment(const Moment &current);

/// A place entry read from its box: the value in the box's own sign convention and the text
/// the box is rewritten with.
struct PlaceEntry
{
    float value = 0;
    QString text;
};

/// Limits of the place boxes: the poles, the date line, and the widest offsets real zones use.
inline constexpr double kLatitudeLimit = 90;
inline constexpr double kLongitudeLimit = 180;
inline constexpr double kTimeZoneLimit = kMaxTimeZoneHours;

/// Latitude from a text such as "45.5N", "12S", "-12": north positive, clamped to -90..90,
/// written back as "45.5N" or "33.9S". Any text gives a place; a number of any size clamps.
PlaceEntry readLatitude(const QString &text);
/// Longitude from a text such as "75.7W", "2.3E", "-2.3": WEST positive as the box shows it
/// (the ephemeris wants the negation), clamped to -180..180, written back as "75.7W" or "2.3E".
PlaceEntry readLongitude(const QString &text);
/// Time zone in hours, west of Greenwich positive, clamped to -14..14 (real zones reach
/// UTC+14). The text is kept as typed (the chart writes the clamped value back).
PlaceEntry readTimeZone(const QString &text);

/// True for a place box text that starts, after blanks, with two letters: a city's name typed
/// where a number belongs, which the navigation looks up instead of reading it as 0.
bool startsWithPlaceName(const QString &text);

/// The shortest decimal text that reads back as the same single-precision value, never with an
/// exponent (an "E" in a longitude box would read as east): 45.5, 180, 0.00001.
QString singleText(float value);

/// The date box text: two-digit day, abbreviated month name, four-digit year (05/Dec/2026).
QString dateText(const Moment &moment, const QLocale &locale = QLocale());
/// The time box text on the 24-hour clock (08:05:09).
QString timeText(const Moment &moment);

/// Reads a typed date: the box's own form (05/Dec/2026), ISO (2026-12-05), day month year
/// (5 Dec 2026, 5 December 2026), month day year (Dec 5, 2026), all-number dates in the
/// locale's order (05/12/2026, 05.12.26), optionally followed by a time (10:30, 10:30:15,
/// 2:30 pm, or ISO's T10:30). A date without a time is at 00:00:00. Two-digit years fall in
/// 1930..2029. Nothing for text that is not a date in the years 100..9999.
std::optional<Moment> readDateText(const QString &text, const QLocale &locale = QLocale());

/// Reads a typed time of day: 10:30:15, 10:30, 10.30, 2:30 pm, 2 pm. Seconds since midnight,
/// or nothing for text that is not a time of day.
std::optional<int> readTimeText(const QString &text);

} // namespace velmora
